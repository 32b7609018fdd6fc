#include "plot/overlay/OverlayText.h"

#include "platform/NumberText.h"
#include "platform/RegularFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <memory>

namespace overlay_text {

namespace {

// A table fills long before a file this large ends; the rest is ignored.
constexpr std::size_t kMaxFileBytes = 64u << 20;
// Titles stand in the first lines; far less than this.
constexpr std::size_t kHeadBytes = 64u << 10;

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

bool StartsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

// Editors on some desktops start UTF-8 files with a byte-order mark.
std::string_view WithoutByteOrderMark(std::string_view bytes)
{
    return StartsWith(bytes, "\xEF\xBB\xBF") ? bytes.substr(3) : bytes;
}

// A number as "%f" reads it: blanks skipped, an optional sign. Null when
// there is none or it is not a finite single-precision value.
const char* ParseNumber(const char* p, const char* end, float& value)
{
    while (p < end && IsSpace(*p))
        ++p;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    double number = 0.0;
    const auto [next, error] = std::from_chars(p, end, number);
    if (error != std::errc() || !std::isfinite(number) || std::fabs(number) > FLT_MAX)
        return nullptr;
    value = static_cast<float>(negative ? -number : number);
    return next;
}

struct LineSpan {
    // Where the line's text ends and where the next line starts.
    std::size_t End;
    std::size_t Next;
};

// The line that starts at pos. A text written twice in text mode ends its
// lines in CR CR LF: one line end, as the LF alone would be.
LineSpan LineAt(std::string_view bytes, std::size_t pos)
{
    const std::size_t end = bytes.find_first_of("\r\n", pos);
    if (end == std::string_view::npos)
        return {bytes.size(), bytes.size()};
    if (bytes[end] == '\r') {
        const std::size_t after = bytes.find_first_not_of('\r', end);
        if (after != std::string_view::npos && bytes[after] == '\n')
            return {end, after + 1};
    }
    return {end, end + 1};
}

// Whether the text holds anything but blanks and line ends.
bool HoldsText(std::string_view text)
{
    return std::any_of(text.begin(), text.end(), [](char c) { return !IsSpace(c); });
}

} // namespace

void ForEachLine(std::string_view bytes, const std::function<bool(std::string_view)>& line)
{
    for (std::size_t pos = 0; pos < bytes.size();) {
        const LineSpan span = LineAt(bytes, pos);
        if (!line(bytes.substr(pos, span.End - pos)))
            return;
        pos = span.Next;
    }
}

namespace {

bool ReadFileStart(const std::string& path, std::size_t limit, std::string& bytes, FileFailure* failure)
{
    bytes.clear();
    const platform::RegularFileOpen open = platform::OpenRegularFile(path);
    if (open.File == nullptr) {
        if (failure != nullptr) {
            failure->Missing = open.Missing();
            failure->Reason = open.Reason();
        }
        return false;
    }
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(open.File, &std::fclose);
    char block[65536];
    while (bytes.size() < limit) {
        const std::size_t got = std::fread(block, 1, std::min(sizeof block, limit - bytes.size()), file.get());
        bytes.append(block, got);
        if (got == 0)
            break;
    }
    if (std::ferror(file.get()) != 0) {
        if (failure != nullptr)
            failure->Reason = std::strerror(errno);
        return false;
    }
    return true;
}

} // namespace

bool ReadOverlayFileText(const std::string& path, std::string& bytes, FileFailure* failure)
{
    return ReadFileStart(path, kMaxFileBytes, bytes, failure);
}

bool ReadOverlayFileHead(const std::string& path, std::string& bytes, FileFailure* failure)
{
    if (!ReadFileStart(path, kHeadBytes, bytes, failure))
        return false;
    // A line cut by the limit is no line: it could end a title early.
    if (bytes.size() == kHeadBytes) {
        const std::size_t end = bytes.find_last_of("\r\n");
        bytes.resize(end == std::string::npos ? 0 : end + 1);
    }
    return true;
}

std::string TitleOfLine(std::string_view line)
{
    std::string_view text = line.substr(1, kTitleMax);
    const std::size_t cut = text.find_first_of(std::string_view("\0\t\r\n", 4));
    return std::string(text.substr(0, cut));
}

bool ParseRow(std::string_view line, float& frequency, float& value)
{
    const char* end = line.data() + line.size();
    const char* p = ParseNumber(line.data(), end, frequency);
    return p != nullptr && ParseNumber(p, end, value) != nullptr;
}

namespace {

// The line (from 1) of the table's row-th data row (from 0); 0 when there is none.
std::uint32_t LineOfRow(std::string_view bytes, std::uint32_t row)
{
    std::uint32_t line = 0;
    std::uint32_t rows = 0;
    std::uint32_t found = 0;
    ForEachLine(bytes, [&](std::string_view text) {
        ++line;
        if (StartsWith(text, ";"))
            return true;
        float f = 0.0f;
        float v = 0.0f;
        if (!ParseRow(text, f, v))
            return false;
        if (rows++ == row) {
            found = line;
            return false;
        }
        return true;
    });
    return found;
}

} // namespace

ReadResult ReadPoints(std::string_view bytes, bool stepped, float* table, std::uint32_t capacity, std::string& title,
                      bool& splineOff)
{
    ReadResult result;
    const std::string_view text = WithoutByteOrderMark(bytes);
    const std::uint32_t perRow = stepped ? 3 : 1;
    const auto put = [&](float f, float v) {
        table[2 * result.Count] = f;
        table[2 * result.Count + 1] = v;
        ++result.Count;
    };
    std::uint32_t lineNumber = 0;
    // Only text still to come makes a stop worth telling: blank lines at the
    // end lose nothing.
    const auto stopAt = [&](std::string_view line, Stop cause) {
        if (!HoldsText(text.substr(static_cast<std::size_t>(line.data() - text.data()))))
            return;
        result.StopLine = lineNumber;
        result.StopCause = cause;
    };
    ForEachLine(text, [&](std::string_view line) {
        ++lineNumber;
        if (table == nullptr)
            return false;
        if (result.Count + perRow > capacity) {
            stopAt(line, Stop::Full);
            return false;
        }
        if (StartsWith(line, kSplineOff)) {
            splineOff = true;
            return true;
        }
        if (StartsWith(line, ";")) {
            title = TitleOfLine(line);
            return true;
        }
        float f = 0.0f;
        float v = 0.0f;
        if (!ParseRow(line, f, v)) {
            stopAt(line, Stop::NotARow);
            return false;
        }
        ++result.Rows;
        if (stepped) {
            put(kStepBelow * f, v);
            put(f, v);
            put(kStepAbove * f, v);
        } else {
            put(f, v);
        }
        return true;
    });

    if (result.Count < kMinPoints) {
        result.State = Status::TooFewPoints;
        return result;
    }
    float previous = 0.0f;
    for (std::uint32_t i = 0; i < result.Count; ++i) {
        const float f = table[2 * i];
        if (f >= 0.0f && f >= previous) {
            previous = f;
            continue;
        }
        if (result.Count < kOrderingThreshold) {
            result.State = Status::NotAscending;
            return result;
        }
        // Long tables keep what stands before the fault, but never so little
        // that no curve can be drawn through it.
        result.Count = i;
        if (result.Count < kMinPoints) {
            result.State = Status::TooFewPoints;
            return result;
        }
        result.StopLine = LineOfRow(text, i / perRow);
        result.StopCause = Stop::OutOfOrder;
        return result;
    }
    return result;
}

bool HoldsMoreThanTitles(std::string_view bytes)
{
    bool more = false;
    ForEachLine(WithoutByteOrderMark(bytes), [&more](std::string_view line) {
        if (StartsWith(line, ";"))
            return true;
        more = HoldsText(line);
        return !more;
    });
    return more;
}

std::string ReadTitle(std::string_view bytes)
{
    std::string title;
    ForEachLine(WithoutByteOrderMark(bytes), [&title](std::string_view line) {
        if (StartsWith(line, ";SPLINE"))
            return true;
        if (!StartsWith(line, ";"))
            return false;
        title = TitleOfLine(line);
        return true;
    });
    return title;
}

std::string FormatHeader(std::string_view title, bool splineOff)
{
    // Cut as a reader would cut it, so no typed line end can split the file.
    std::string text = ";" + TitleOfLine(";" + std::string(title)) + "\r\n";
    if (splineOff)
        text += std::string(kSplineOff) + "\r\n";
    return text;
}

std::string WithTitle(std::string_view bytes, std::string_view title)
{
    const std::string line = ";" + TitleOfLine(";" + std::string(title));
    const std::size_t start = bytes.size() - WithoutByteOrderMark(bytes).size();
    // The title line's text (without its line end) as ReadTitle finds it.
    std::size_t titleStart = std::string_view::npos;
    std::size_t titleEnd = 0;
    for (std::size_t pos = start; pos < bytes.size();) {
        const LineSpan span = LineAt(bytes, pos);
        const std::string_view text = bytes.substr(pos, span.End - pos);
        if (!StartsWith(text, ";"))
            break;
        if (!StartsWith(text, ";SPLINE")) {
            titleStart = pos;
            titleEnd = span.End;
        }
        pos = span.Next;
    }
    std::string result;
    result.reserve(bytes.size() + line.size() + 2);
    if (titleStart != std::string_view::npos) {
        result.append(bytes.substr(0, titleStart));
        result += line;
        result.append(bytes.substr(titleEnd));
        return result;
    }
    // The new line ends as the first line does: LF, CR, or CR LF.
    const LineSpan first = LineAt(bytes, start);
    const char* lineEnd = "\r\n";
    if (first.Next != first.End && bytes[first.End] == '\n')
        lineEnd = "\n";
    else if (first.Next != first.End && bytes[first.Next - 1] == '\r')
        lineEnd = "\r";
    result.append(bytes.substr(0, start));
    result += line;
    result += lineEnd;
    result.append(bytes.substr(start));
    return result;
}

namespace {

// Six decimals, as the files have always been written. A frequency they
// cannot give back (only below 16 Hz can that happen) gets the decimals it
// needs: two close low frequencies must not merge, which would make a saved
// fractional-octave table fall between its steps and refuse to load.
std::string FrequencyText(float frequency)
{
    for (int decimals = 6;; ++decimals) {
        std::string text = platform::FormatFixed(frequency, decimals);
        const char* end = text.data() + text.size();
        float back = 0.0f;
        if (decimals >= 60 || (ParseNumber(text.data(), end, back) == end && back == frequency))
            return text;
    }
}

} // namespace

void AppendRow(std::string& text, float frequency, float value)
{
    text += FrequencyText(frequency);
    text += '\t';
    text += platform::FormatFixed(value);
    text += "\r\n";
}

} // namespace overlay_text
