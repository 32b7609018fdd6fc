#pragma once
// The text format of overlay, microphone-compensation and filter files
// (.ovl, .mic, .flt): an optional ';' title line, an optional ";SPLINE OFF"
// line, then rows of frequency (Hz) and value (dB), whitespace between,
// frequencies never decreasing. The first line that is neither ends the
// table. Files are shared between desktops: numbers are always read and
// written with '.' as the decimal point, and LF, CRLF and a lone CR (old
// Mac editors) all end a line.
//
// The reader takes whole lines, however long, so a long title never spills
// into a fake row. Everything here is free of file handles except
// ReadOverlayFileText, so the parser can be fed any bytes.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace overlay_text {

inline constexpr std::size_t kTitleSize = 24;
inline constexpr std::size_t kTitleMax = kTitleSize - 1;
// Points in a table read from a file (4 MiB of float pairs).
inline constexpr std::uint32_t kMaxPoints = 524288;
// Out-of-order tables of at least this many points are cut rather than refused.
inline constexpr std::uint32_t kOrderingThreshold = 100;
inline constexpr std::uint32_t kMinPoints = 3;
// A fractional-octave row becomes three points around its centre.
inline constexpr float kStepBelow = 0.99999f;
inline constexpr float kStepAbove = 1.00001f;
inline constexpr const char kSplineOff[] = ";SPLINE OFF";
inline constexpr const char kOrderingMessage[] =
    "Overlay data error - values must be in ascending order by frequency!";

// Calls line(text) for each line of bytes, without its line end (LF, CRLF,
// CR; CRs before an LF are part of its line end); stops early when line
// returns false. A last line without a line end counts.
void ForEachLine(std::string_view bytes, const std::function<bool(std::string_view)>& line);

// Why a file gave no text: nothing by that name (an empty slot, no message
// due), or a reason for a message (not a regular file, a read error).
struct FileFailure {
    bool Missing = false;
    std::string Reason;
};

// The file's text, up to the first 64 MiB (a table fills long before); false
// when it cannot be opened or read. Only regular files are opened: a named
// pipe would block the program.
bool ReadOverlayFileText(const std::string& path, std::string& bytes, FileFailure* failure = nullptr);
// Only its first lines: enough for the title, whatever size the file is.
bool ReadOverlayFileHead(const std::string& path, std::string& bytes, FileFailure* failure = nullptr);

// The title of a ';' line (the first 23 characters after the ';', cut at
// the first tab, CR, LF or NUL).
std::string TitleOfLine(std::string_view line);

// Frequency and value at the start of a row; false when the line does not
// begin with two finite numbers.
bool ParseRow(std::string_view line, float& frequency, float& value);

enum class Status {
    Ok,
    // Fewer than three points (also a file of titles only).
    TooFewPoints,
    // Out of order in a table too small to cut.
    NotAscending,
};

// Why a table ended before the text did.
enum class Stop {
    None,
    // A line that is neither a title nor a row (a blank line, a NaN).
    NotARow,
    // The table is full.
    Full,
    // A long table is cut before a row below the one before it.
    OutOfOrder,
};

// Reads rows into table (capacity points of two floats each). Stepped
// tables store three points per row. Fills title and splineOff from their
// lines (splineOff is only ever set). Returns the points stored, the
// number of data rows met, and where reading stopped while text was still
// to come: the line (from 1, a byte-order mark aside) and why. Blank lines
// at the end are no text: their stop is none.
struct ReadResult {
    std::uint32_t Count = 0;
    std::uint32_t Rows = 0;
    Status State = Status::Ok;
    std::uint32_t StopLine = 0;
    Stop StopCause = Stop::None;
};
ReadResult ReadPoints(std::string_view bytes, bool stepped, float* table, std::uint32_t capacity, std::string& title,
                      bool& splineOff);

// Whether the text holds any line besides ';' lines and blank ones: a file
// that cannot be read as a table may still hold rows nobody should lose.
bool HoldsMoreThanTitles(std::string_view bytes);

// The title-only reading: ";SPLINE" lines are skipped, other ';' lines are
// titles, the first other line ends it.
std::string ReadTitle(std::string_view bytes);

// The file's text: ";title", ";SPLINE OFF" when asked, then the rows, each
// line ending CR LF; numbers "%f" in the "C" format, except a frequency that
// six decimals would not give back exactly, which gets more.
std::string FormatHeader(std::string_view title, bool splineOff);
// The same text with another title and every other byte as it was: the
// last title line of the leading ';' lines gets the title (cut as a reader
// cuts it), or a title line is put first, ending as the first line ends.
std::string WithTitle(std::string_view bytes, std::string_view title);
void AppendRow(std::string& text, float frequency, float value);

} // namespace overlay_text
