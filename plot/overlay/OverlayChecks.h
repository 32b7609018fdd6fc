#pragma once
// What the overlay dialogs check on OK, in the order they check it; each
// answer is the message to show, or empty when the value is allowed.

#include "plot/overlay/TOverlayData.h"

#include <optional>
#include <string>
#include <string_view>

namespace overlay_checks {

inline constexpr int kMinLegendSize = 4;
inline constexpr int kMaxLegendSize = 24;
inline constexpr float kOffsetLimit = 100.0f;

// The number at the start of a field as atoi / atof read it ("C" format).
int LegendSizeOf(std::string_view text);
float OffsetOf(std::string_view text);

// "Overlay Legend size must be between 4 and 24" unless 4 … 24.
std::string CheckLegendSize(int size);
// "Overlay Offset must be between -100 and +100 dB" unless in −100 … +100.
std::string CheckOffset(float offset);
// Difference of an overlay with itself, or an average of fewer than two.
std::string CheckComposite(const CompositeSetup& setup);

// The offset a field gives, limited to ±100 dB (an export's reading).
float LimitedOffset(std::string_view text);

} // namespace overlay_checks
