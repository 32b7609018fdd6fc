#include "settings/RelativeCalibration.h"

#include <cmath>
#include <cstring>

#include "settings/Calibration.h"

namespace calibration {

RelativeResult ApplyRelativeCalibration(TChannelCalibration (&records)[2], int channel, bool independent, float value,
                                        std::uint16_t ampScale, std::optional<float> daqRange)
{
    RelativeResult result;
    const int c = channel == 1 ? 1 : 0;
    const int source = independent ? c : 0;
    // A line without a level, or a linear level of zero or less, has no
    // logarithm: it would make every level infinitely far from it.
    const bool dB = ampScale == 1;
    if (value <= kNoValue + 0.05f || !std::isfinite(value) || (!dB && value <= 0.0f)) {
        result.refusal = "There is no level at this frequency to use as the 0 dB reference.  "
                         "Place the cursor on a line that shows a level.";
        return result;
    }
    const float fraction = LevelToFullScaleFraction(records[source], value, ampScale, &result.offsetDb);
    if (!(fraction > 0.0f) || !std::isfinite(fraction) || !std::isfinite(result.offsetDb)) {
        result.refusal = "There is no level at this frequency to use as the 0 dB reference.  "
                         "Place the cursor on a line that shows a level.";
        result.offsetDb = 0.0f;
        return result;
    }

    TChannelCalibration& r = records[c];
    r.IsEnabled = 1;
    r.ConversionType = 0;
    r.IntegrationType = 0;
    r.RefUnits = kUnitRelative;
    TChannelCalibration::SetText(r.LabelLog, "dBr");
    TChannelCalibration::SetText(r.LabelLinear, "Relative Level");
    r.RefType = 1;
    r.RefLevel = 1.0f;
    r.PctFullScale = fraction;
    // The fraction is the reference itself, measured at the present range:
    // a sensitivity would ignore it and a stale range would rescale it.
    r.CalCreateMode = kModeCalibrator;
    if (daqRange)
        r.DAQVoltageRange = *daqRange;
    if (!independent) {
        TChannelCalibration& other = records[1 - c];
        other.IsEnabled = r.IsEnabled;
        other.RefLevel = r.RefLevel;
        other.RefType = r.RefType;
        other.RefUnits = r.RefUnits;
        std::memcpy(other.LabelLinear, r.LabelLinear, sizeof other.LabelLinear);
        std::memcpy(other.LabelLog, r.LabelLog, sizeof other.LabelLog);
        other.LabelType = r.LabelType;
        other.ConversionType = r.ConversionType;
        other.IntegrationType = r.IntegrationType;
        RecomputeCalibration(records[0], daqRange);
        RecomputeCalibration(records[1], daqRange);
    } else {
        RecomputeCalibration(r, daqRange);
    }
    return result;
}

} // namespace calibration
