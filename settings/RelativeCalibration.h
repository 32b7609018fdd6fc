#pragma once
// Making the level under a plot's cursor the 0 dB reference of its channel
// ("Relative Level").

#include <optional>
#include <string>

#include "audio/format/TChannelCalibration.h"

namespace calibration {

struct RelativeResult {
    // Set when the level cannot be a reference; nothing was changed.
    std::optional<std::string> refusal;
    // The dB shift of the channel's held data.
    float offsetDb = 0.0f;
};

// value: the plot's level at the bin, in display units of `ampScale`.
// independent: each channel keeps its own calibration; otherwise the
// other channel takes the same reference. daqRange as for
// RecomputeCalibration.
RelativeResult ApplyRelativeCalibration(TChannelCalibration (&records)[2], int channel, bool independent, float value,
                                        std::uint16_t ampScale, std::optional<float> daqRange);

} // namespace calibration
