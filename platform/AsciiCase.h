#pragma once
// Case folding for names in settings, registry and help text. ASCII only and
// independent of the C locale, so a name matches the same on every desktop.

#include <algorithm>
#include <string>
#include <string_view>

namespace platform {

inline char ToLowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

inline std::string ToLowerAscii(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](char c) { return ToLowerAscii(c); });
    return out;
}

inline bool EqualNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(),
                      [](char x, char y) { return ToLowerAscii(x) == ToLowerAscii(y); });
}

inline bool LessNoCase(std::string_view a, std::string_view b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return ToLowerAscii(x) < ToLowerAscii(y); });
}

} // namespace platform
