#include "platform/NumberText.h"

#include <algorithm>
#include <charconv>
#include <clocale>
#include <cstdlib>
#include <limits>
#include <locale.h>

namespace platform {

std::string FormatInteger(std::int64_t value)
{
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string FormatFixed(double value, int decimals)
{
    // A float of 3.4e38 has 39 integer digits; a double can have up to 309.
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (result.ec != std::errc())
        return "0";
    return std::string(buffer, result.ptr);
}

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The "C" locale as an object, so that conversions can name it explicitly
// instead of switching the process's (or thread's) current locale.
locale_t CLocale()
{
    static const locale_t c = ::newlocale(LC_ALL_MASK, "C", locale_t{});
    return c;
}

} // namespace

std::int32_t ParseIntegerPrefix(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (magnitude <= kLimit)
            magnitude = magnitude * 10 + (text[i] - '0');
    }
    if (negative)
        return static_cast<std::int32_t>(-std::min(magnitude, kLimit));
    return static_cast<std::int32_t>(std::min(magnitude, kLimit - 1));
}

double ParseFloatPrefix(std::string_view text)
{
    // strtod wants a terminated string; the values the program reads are
    // short, so a local copy costs nothing.
    const std::string terminated(text.substr(0, text.find('\0')));
    if (CLocale() == locale_t{})
        return 0.0;
    return ::strtod_l(terminated.c_str(), nullptr, CLocale());
}

} // namespace platform
