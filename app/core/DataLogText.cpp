#include "app/core/DataLogText.h"

#include <array>
#include <charconv>
#include <cstdlib>
#include <cmath>
#include <cstdio>

#include "platform/AsciiCase.h"
#include "platform/Clock.h"

namespace data_log_text {

namespace {

constexpr const char* kMonths[12] = {"January", "February", "March",     "April",   "May",      "June",
                                     "July",    "August",   "September", "October", "November", "December"};

void AppendChars(std::string& out, double value, std::chars_format format, int precision)
{
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, format, precision);
    out.append(buffer, result.ec == std::errc() ? result.ptr : buffer);
}

void AppendTwoDigits(std::string& out, unsigned value)
{
    out.push_back(static_cast<char>('0' + value / 10 % 10));
    out.push_back(static_cast<char>('0' + value % 10));
}

TLocalTimeFields LocalFields(std::time_t time)
{
    TLocalTimeFields fields;
    GetLocalTimeFields(time, fields);
    return fields;
}

std::string Padded(double value, std::size_t width)
{
    std::string text;
    AppendChars(text, value, std::chars_format::fixed, 1);
    if (text.size() < width)
        text.insert(0, width - text.size(), ' ');
    return text;
}

} // namespace

void AppendFixed(std::string& out, double value)
{
    AppendChars(out, value, std::chars_format::fixed, 6);
}

namespace {

using Wide = unsigned __int128;

// 10^n for n = 0 … 38 (10^38 < 2^127).
Wide PowerOfTen(int n)
{
    static const auto table = [] {
        std::array<Wide, 39> t{};
        t[0] = 1;
        for (std::size_t i = 1; i < t.size(); ++i)
            t[i] = t[i - 1] * 10;
        return t;
    }();
    return table[static_cast<std::size_t>(n)];
}

int BitWidth(Wide v)
{
    const auto high = static_cast<std::uint64_t>(v >> 64);
    const auto low = static_cast<std::uint64_t>(v);
    if (high != 0)
        return 128 - __builtin_clzll(high);
    return low != 0 ? 64 - __builtin_clzll(low) : 0;
}

template <typename T>
std::uint64_t RoundedQuotient(T numerator, T denominator)
{
    T quotient = numerator / denominator;
    const T twiceRest = (numerator - quotient * denominator) * 2;
    if (twiceRest > denominator || (twiceRest == denominator && (quotient & 1) != 0))
        ++quotient;
    return quotient > T{4294967295u} ? ~std::uint64_t{0} : static_cast<std::uint64_t>(quotient);
}

// The six significant digits of |value| · 10^(5 − exponent10), rounded half
// to even on the exact binary value as printf rounds; false when the
// numbers would not fit in 128 bits (the caller then takes the slow road).
bool SixDigits(std::uint64_t mantissa, int exponent2, int exponent10, std::uint32_t& digits)
{
    const int scale10 = 5 - exponent10;
    if (std::abs(scale10) > 38 || exponent2 > 120 || exponent2 < -120)
        return false;
    Wide numerator = mantissa;
    Wide denominator = 1;
    if (exponent2 >= 0) {
        if (BitWidth(numerator) + exponent2 > 126)
            return false;
        numerator <<= exponent2;
    } else {
        denominator <<= -exponent2;
    }
    const Wide power = PowerOfTen(std::abs(scale10));
    Wide& scaled = scale10 >= 0 ? numerator : denominator;
    if (BitWidth(scaled) + BitWidth(power) > 127)
        return false;
    scaled *= power;
    // Most values a log holds fit in 64 bits, where division is cheap.
    const std::uint64_t q = (numerator >> 62) == 0 && (denominator >> 62) == 0
                                ? RoundedQuotient<std::uint64_t>(static_cast<std::uint64_t>(numerator),
                                                                 static_cast<std::uint64_t>(denominator))
                                : RoundedQuotient<Wide>(numerator, denominator);
    if (q > 4294967295u)
        return false;
    digits = static_cast<std::uint32_t>(q);
    return true;
}

} // namespace

// Written out by hand: the C library's "%g" road through std::to_chars
// costs several times more, and a record can hold every line of a spectrum.
void AppendGeneral(std::string& out, double value)
{
    if (!std::isfinite(value) || value == 0.0) {
        if (value == 0.0)
            out += std::signbit(value) ? "-0" : "0";
        else
            AppendChars(out, value, std::chars_format::general, 6);
        return;
    }
    int exponent2 = 0;
    const double fraction = std::frexp(std::fabs(value), &exponent2);  // [0.5, 1) · 2^exponent2
    auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
    // A float's mantissa has 24 bits: without its trailing zeros the
    // numbers mostly stay within 64 bits.
    const int zeros = __builtin_ctzll(mantissa);
    mantissa >>= zeros;
    exponent2 += zeros - 53;
    // The value lies in [2^(e−1), 2^e): log10 from the binary exponent, then
    // one step up when the estimate was low or rounding carried to 10^6.
    const int binaryExponent = exponent2 + 53 - zeros;
    const double log2Value = binaryExponent - 1 + (2.0 * fraction - 1.0);
    int exponent10 = static_cast<int>(std::floor(log2Value * 0.30102999566398120));
    std::uint32_t digits = 0;
    bool ok = SixDigits(mantissa, exponent2, exponent10, digits);
    for (int tries = 0; ok && tries < 3 && (digits < 100000u || digits > 999999u); ++tries) {
        exponent10 += digits > 999999u ? 1 : -1;
        ok = SixDigits(mantissa, exponent2, exponent10, digits);
    }
    if (!ok || digits < 100000u || digits > 999999u) {
        AppendChars(out, value, std::chars_format::general, 6);
        return;
    }

    char text[6];
    for (int i = 5; i >= 0; --i, digits /= 10)
        text[i] = static_cast<char>('0' + digits % 10);
    int last = 5;  // the last digit to keep: trailing zeros go
    while (last > 0 && text[last] == '0')
        --last;
    // Built in place and appended once: a list record appends this a
    // hundred thousand times.
    char buffer[24];
    char* p = buffer;
    if (value < 0.0)
        *p++ = '-';
    if (exponent10 < -4 || exponent10 >= 6) {
        *p++ = text[0];
        if (last > 0) {
            *p++ = '.';
            for (int i = 1; i <= last; ++i)
                *p++ = text[i];
        }
        *p++ = 'e';
        *p++ = exponent10 < 0 ? '-' : '+';
        const int e = std::abs(exponent10);
        if (e >= 100)
            *p++ = static_cast<char>('0' + e / 100);
        *p++ = static_cast<char>('0' + e / 10 % 10);
        *p++ = static_cast<char>('0' + e % 10);
    } else if (exponent10 >= 0) {
        const int whole = exponent10 + 1;
        for (int i = 0; i < whole; ++i)
            *p++ = text[i];
        if (last >= whole) {
            *p++ = '.';
            for (int i = whole; i <= last; ++i)
                *p++ = text[i];
        }
    } else {
        *p++ = '0';
        *p++ = '.';
        for (int i = 0; i < -exponent10 - 1; ++i)
            *p++ = '0';
        for (int i = 0; i <= last; ++i)
            *p++ = text[i];
    }
    out.append(buffer, static_cast<std::size_t>(p - buffer));
}

std::string FormatDate(std::time_t time)
{
    const TLocalTimeFields f = LocalFields(time);
    std::string text = f.Month >= 1 && f.Month <= 12 ? kMonths[f.Month - 1] : "";
    text += ' ';
    AppendTwoDigits(text, f.Day);
    text += ' ' + std::to_string(f.Year) + ' ';
    AppendTwoDigits(text, f.Hour);
    text += ':';
    AppendTwoDigits(text, f.Minute);
    text += ':';
    AppendTwoDigits(text, f.Second);
    return text;
}

std::string FormatTimeOfDay(float seconds)
{
    std::string text;
    AppendTimeOfDay(text, seconds);
    return text;
}

void AppendTimeOfDay(std::string& out, float seconds)
{
    const long whole = std::isfinite(seconds) && seconds > 0.0f ? static_cast<long>(seconds) : 0;
    const long hours = whole / 3600;
    if (hours < 100) {
        AppendTwoDigits(out, static_cast<unsigned>(hours));
    } else {
        char digits[24];
        out.append(digits, std::to_chars(digits, digits + sizeof digits, hours).ptr);
    }
    out += ':';
    AppendTwoDigits(out, static_cast<unsigned>(whole / 60 % 60));
    out += ':';
    AppendTwoDigits(out, static_cast<unsigned>(whole % 60));
}

std::string FormatSpanLine(float startHz, float stopHz)
{
    return "Frequency Span: " + Padded(startHz, 6) + " Hz to " + Padded(stopHz, 6) + " Hz";
}

std::string FormatFileStamp(std::time_t time)
{
    const TLocalTimeFields f = LocalFields(time);
    char text[40];
    std::snprintf(text, sizeof text, "%04u_%02u_%02u_%02u%02u%02u", unsigned{f.Year}, unsigned{f.Month},
                  unsigned{f.Day}, unsigned{f.Hour}, unsigned{f.Minute}, unsigned{f.Second});
    return text;
}

std::string CleanStem(std::string_view stem)
{
    std::string out(stem);
    for (char& c : out) {
        if (c == '/')
            c = 'v';
        else if (c == '*')
            c = 'x';
    }
    return out;
}

std::pair<std::string, std::string> FileStems(std::string_view left, std::string_view right)
{
    std::pair<std::string, std::string> stems{CleanStem(left), CleanStem(right)};
    if (platform::EqualNoCase(stems.first, stems.second)) {
        stems.first += "_L";
        stems.second += "_R";
    }
    return stems;
}

std::string FilePath(std::string_view folder, std::string_view stem, std::string_view stamp)
{
    std::string path(folder);
    if (!path.empty() && path.back() != '/')
        path += '/';
    path.append(stem);
    path += '_';
    path.append(stamp);
    path += ".csv";
    return path;
}

} // namespace data_log_text
