#pragma once
// Reader of microphone-compensation files: plain text, one row per line of
// frequency (Hz) and level (dB) separated by whitespace, ascending in
// frequency. Lines starting with ';' are comments; ";SPLINE OFF" asks for
// straight lines between the points instead of a spline. Reading stops at
// the first line that does not give two numbers.
//
// Files are shared between desktops, so numbers are always read in the "C"
// format ('.' as decimal point) whatever the process locale, and LF and
// CRLF line ends read alike.
//
// A line longer than kMaxLineLength characters (line end not counted) is
// read as its first kMaxLineLength characters; the rest of it is dropped,
// never taken as a line of its own.

#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/ZeroFilledArray.h"

class CompensationFile {
public:
    static constexpr std::uint32_t kMaxPoints = 524288;
    static constexpr std::size_t kMaxLineLength = 127;
    static constexpr float kLevelLimitDb = 240.0f;

    enum class Error { None, OpenFailed, NotRegularFile, ReadFailed, NoMemory, TooFewPoints, NotAscending };

    // True when the file gave a usable table; otherwise Message() says why
    // and no points are held.
    bool Read(const char* path);

    // Count() (Hz, dB) pairs.
    const float* Points() const { return m_Points.data(); }
    std::uint32_t Count() const { return m_Count; }
    bool Linear() const { return m_Linear; }
    Error GetError() const { return m_Error; }
    // The text shown to the user for the last failure; empty after success.
    std::string Message() const;

private:
    bool ReadRows(std::FILE* file);
    bool Append(float frequency, float level);
    bool Ascending() const;
    bool Fail(Error error);

    platform::ZeroFilledArray<float> m_Points;
    std::uint32_t m_Count = 0;
    bool m_Linear = false;
    Error m_Error = Error::None;
    std::string m_Path;
};
