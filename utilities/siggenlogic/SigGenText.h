#pragma once
// Numbers as the generator's dialogs show them and read them back: printf's
// "%6.2f" and "%d" shapes with '.' as the decimal point whatever the
// desktop's locale, and edit texts cut to the dialogs' buffer sizes.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace siggen_text {

// printf("%<width>.<decimals>f"): padded on the left with blanks.
std::string FormatFixedWidth(double value, int width, int decimals);
// printf("%6.2f"), the dialogs' usual real-number shape.
inline std::string Format62(double value) { return FormatFixedWidth(value, 6, 2); }

// The first bufferSize − 1 characters, as a buffer of that size holds them.
std::string_view CutToBuffer(std::string_view text, std::size_t bufferSize);

// atoi / atof on the text a buffer of bufferSize holds: no number reads as 0.
std::int32_t ReadInteger(std::string_view text, std::size_t bufferSize);
float ReadReal(std::string_view text, std::size_t bufferSize);

} // namespace siggen_text
