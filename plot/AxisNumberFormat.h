#pragma once
// The number texts of a plot: the cursor readouts, chosen by a format code,
// and the axis tick labels, chosen by the value's magnitude. Both read and
// write the way the C library's printf does under the "C" locale, whatever
// the desktop's locale, including the two-digit exponents ("1.5e-05").

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace axis_format {

// Format codes of FormatAxisNumber.
inline constexpr std::uint32_t kWhole = 0;          // "%ld%s", truncated toward zero
inline constexpr std::uint32_t kFixed1 = 1;         // "%4.1f%s" … kFixed6 "%4.6f%s"
inline constexpr std::uint32_t kFixed6 = 6;
inline constexpr std::uint32_t kExponent = 100;     // "%4.1e%s"
inline constexpr std::uint32_t kByMagnitude = 101;  // decimals by the value's size
inline constexpr std::uint32_t kDuration = 201;     // seconds as a time span, no unit

// A readout label holds this many characters.
inline constexpr std::size_t kReadoutTextMax = 19;

} // namespace axis_format

// The value followed by the unit text, by format code:
//   0        the value truncated toward zero, "%ld%s"
//   1 … 6    "%4.<code>f%s"
//   100      "%4.1e%s"
//   101      below 1 "%4.3f%s", below 10 "%4.2f%s", below 100 "%4.1f%s",
//            else "%4.0f%s" (by magnitude)
//   201      FormatTime with milliseconds and without forced hours, no unit
//   other    as 3, "%4.3f%s"
// A text longer than a readout label holds is written in the "%4.1e%s" form
// instead, and cut to the label's length when even that does not fit (a
// long unit). Infinities and NaN are written as printf writes them.
std::string FormatAxisNumber(float value, std::uint32_t code, std::string_view unit);

// A tick label: "0.0" below 1e-7 in magnitude, "%3.1e" below 0.001, "%1.3f"
// below 0.01, "%1.2f" below 0.1, "%3.2f" below 100, "%3.1f" below 1000,
// "%3.0f" below 10000 and "%3.1e" above; exponents lose their leading zeros
// (2.0e+4, 1.5e-5). Writes nothing when out is missing or capacity is below
// 10; otherwise cuts the text to capacity - 1 characters and terminates it.
void FormatReadout(float value, char* out, std::size_t capacity);

// The same text as a string.
std::string FormatReadout(float value);
