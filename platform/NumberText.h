#pragma once
// Numbers in the program's text files, written and read the same way under
// every desktop locale: a German desktop must still write "0.500000", and a
// file written anywhere must read back anywhere.

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// "%d" / "%ld".
std::string FormatInteger(std::int64_t value);

// "%.<decimals>f" ("%f" is six decimals), with '.' as the decimal point.
std::string FormatFixed(double value, int decimals = 6);

// Reads a decimal integer the way the C library's atoi does: leading blanks
// skipped, an optional sign, then digits up to the first character that is
// not one. No digits gives 0; a number too large for 32 bits saturates to the
// 32-bit limits before the caller narrows it.
std::int32_t ParseIntegerPrefix(std::string_view text);

// Reads a floating-point number the way atof does (leading blanks, sign,
// decimal or exponent notation, "inf", "nan"), always with '.' as the decimal
// point; no number gives 0.0.
double ParseFloatPrefix(std::string_view text);

} // namespace platform
