#include "app/core/DataLogText.h"

#include <charconv>
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

void AppendGeneral(std::string& out, double value)
{
    AppendChars(out, value, std::chars_format::general, 6);
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
    const long whole = std::isfinite(seconds) && seconds > 0.0f ? static_cast<long>(seconds) : 0;
    char text[32];
    std::snprintf(text, sizeof text, "%02ld:%02ld:%02ld", whole / 3600, whole / 60 % 60, whole % 60);
    return text;
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
