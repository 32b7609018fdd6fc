#include "engine/CompensationFile.h"

#include "platform/RegularFile.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

constexpr std::uint32_t kFirstCapacity = 1024;
constexpr const char kSplineOff[] = ";SPLINE OFF";

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// Reads a file line by line. A line ends at LF, a lone CR (old Mac editors)
// or a run of CRs before an LF (a text written twice in text mode ends its
// lines in CR CR LF), as in overlay files.
class LineReader {
public:
    explicit LineReader(std::FILE* file) : m_File(file) {}

    // One line without its line end, cut to kMaxLineLength characters. False
    // at the end of the file when nothing was left to read.
    bool Next(char* line, std::size_t& length)
    {
        length = 0;
        line[0] = '\0';
        if (m_BlankLines > 0) {
            // The CRs after the first of a run that no LF ends.
            --m_BlankLines;
            return true;
        }
        int c = std::getc(m_File);
        if (c == EOF)
            return false;
        for (; c != EOF && c != '\n' && c != '\r'; c = std::getc(m_File)) {
            if (length < CompensationFile::kMaxLineLength)
                line[length++] = static_cast<char>(c);
        }
        line[length] = '\0';
        if (c == '\r') {
            int more = 0;
            while ((c = std::getc(m_File)) == '\r')
                ++more;
            if (c != '\n') {
                m_BlankLines = more;
                if (c != EOF)
                    std::ungetc(c, m_File);
            }
        }
        return true;
    }

private:
    std::FILE* m_File;
    int m_BlankLines = 0;
};

// A number as "%f" takes it (leading whitespace, optional sign), in the "C"
// format. Null when there is none, or it is not a finite number.
const char* ParseNumber(const char* p, const char* end, double& value)
{
    while (p < end && IsSpace(*p))
        ++p;
    // from_chars takes a '-' but no '+'.
    if (p < end && *p == '+') {
        ++p;
        if (p < end && *p == '-')
            return nullptr;
    }
    const auto [next, error] = std::from_chars(p, end, value);
    if (error != std::errc() || !std::isfinite(value))
        return nullptr;
    return next;
}

bool ParseRow(const char* line, std::size_t length, float& frequency, float& level)
{
    const char* end = line + length;
    double f = 0.0;
    double dB = 0.0;
    const char* p = ParseNumber(line, end, f);
    if (p == nullptr || ParseNumber(p, end, dB) == nullptr || std::fabs(f) > FLT_MAX)
        return false;
    frequency = static_cast<float>(f);
    const double limit = CompensationFile::kLevelLimitDb;
    level = static_cast<float>(std::clamp(dB, -limit, limit));
    return true;
}

// Editors on some desktops start UTF-8 files with a byte-order mark.
void SkipByteOrderMark(char* line, std::size_t& length)
{
    if (length >= 3 && std::memcmp(line, "\xEF\xBB\xBF", 3) == 0) {
        std::memmove(line, line + 3, length - 2);
        length -= 3;
    }
}

} // namespace

bool CompensationFile::Read(const char* path)
{
    m_Points.Free();
    m_Count = 0;
    m_Linear = false;
    m_Error = Error::None;
    m_Path = path != nullptr ? path : "";

    // Only a regular file: opening a named pipe would wait for a writer and
    // hold the program at its start.
    const platform::RegularFileOpen open = platform::OpenRegularFile(m_Path);
    if (open.NotRegular)
        return Fail(Error::NotRegularFile);
    std::FILE* file = open.File;
    if (file == nullptr)
        return Fail(Error::OpenFailed);
    const bool read = ReadRows(file);
    // A read that fails part-way must not pass for a shorter table.
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed)
        return Fail(Error::ReadFailed);
    if (!read)
        return Fail(Error::NoMemory);
    if (m_Count < 3)
        return Fail(Error::TooFewPoints);
    if (!Ascending())
        return Fail(Error::NotAscending);
    return true;
}

bool CompensationFile::ReadRows(std::FILE* file)
{
    char line[kMaxLineLength + 1];
    std::size_t length = 0;
    bool firstLine = true;
    LineReader reader(file);
    while (m_Count < kMaxPoints && reader.Next(line, length)) {
        if (firstLine)
            SkipByteOrderMark(line, length);
        firstLine = false;
        if (line[0] == ';') {
            if (std::strncmp(line, kSplineOff, sizeof kSplineOff - 1) == 0)
                m_Linear = true;
            continue;
        }
        float frequency = 0.0f;
        float level = 0.0f;
        if (!ParseRow(line, length, frequency, level))
            break;
        if (!Append(frequency, level))
            return false;
    }
    return true;
}

bool CompensationFile::Append(float frequency, float level)
{
    const std::size_t capacity = m_Points.size() / 2;
    if (m_Count == capacity) {
        // Doubling keeps ordinary files small while allowing the full table.
        const std::size_t grown =
            capacity == 0 ? kFirstCapacity : std::min<std::size_t>(2 * capacity, kMaxPoints);
        platform::ZeroFilledArray<float> larger;
        if (!larger.Allocate(2 * grown))
            return false;
        if (m_Count > 0)
            std::memcpy(larger.data(), m_Points.data(), 2 * m_Count * sizeof(float));
        m_Points = std::move(larger);
    }
    m_Points[2 * m_Count] = frequency;
    m_Points[2 * m_Count + 1] = level;
    ++m_Count;
    return true;
}

bool CompensationFile::Ascending() const
{
    for (std::uint32_t i = 0; i < m_Count; ++i) {
        const float f = m_Points[2 * i];
        if (f < 0.0f || (i > 0 && f < m_Points[2 * (i - 1)]))
            return false;
    }
    return true;
}

bool CompensationFile::Fail(Error error)
{
    m_Points.Free();
    m_Count = 0;
    m_Error = error;
    return false;
}

std::string CompensationFile::Message() const
{
    switch (m_Error) {
    case Error::None: return {};
    case Error::OpenFailed: return "Failure opening mic compensation file: " + m_Path;
    case Error::ReadFailed: return "Failure reading mic compensation file: " + m_Path;
    case Error::NotRegularFile:
        return "Failure opening mic compensation file: " + m_Path + " (it is not a regular file; it was not opened)";
    case Error::NoMemory:
        return "SpectralData - Insufficient memory available for compensation data table";
    case Error::TooFewPoints: return "INSUFFICIENT_TABLE_ENTRIES";
    case Error::NotAscending: return "TABLE_NOT_ASCENDING";
    }
    return {};
}
