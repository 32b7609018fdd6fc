#pragma once
// The texts of a data-log file: dates, times of day, the span line, number
// forms and file names. Written the same under every desktop locale, so a
// log reads back anywhere.

#include <ctime>
#include <string>
#include <string_view>
#include <utility>

namespace data_log_text {

// "%f": six decimals, '.' as the decimal point.
void AppendFixed(std::string& out, double value);
// "%g": six significant digits, trailing zeros dropped.
void AppendGeneral(std::string& out, double value);

// "December 05 2026 18:30:13" (the local time of a calendar time).
std::string FormatDate(std::time_t time);
// "18:30:14": the whole seconds of a time of day, truncated.
std::string FormatTimeOfDay(float seconds);
void AppendTimeOfDay(std::string& out, float seconds);
// "Frequency Span:  900.0 Hz to 95000.0 Hz".
std::string FormatSpanLine(float startHz, float stopHz);
// "2026_12_05_183012" from the local time.
std::string FormatFileStamp(std::time_t time);

// A stem as it goes into a file name: '/' becomes 'v' and '*' becomes 'x'
// (nothing else changes), so a stem never reaches outside the log folder.
std::string CleanStem(std::string_view stem);
// The two channels' file-name stems as they go into file names: '/' becomes
// 'v' and '*' becomes 'x' (nothing else changes), and stems equal but for
// the case of A to Z get "_L" and "_R".
std::pair<std::string, std::string> FileStems(std::string_view left, std::string_view right);
// folder + '/' + stem + '_' + stamp + ".csv".
std::string FilePath(std::string_view folder, std::string_view stem, std::string_view stamp);

} // namespace data_log_text
