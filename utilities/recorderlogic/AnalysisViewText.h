#pragma once
// What the Peak Frequency, Peak Amplitude and Total Power viewers show: the
// readout of each analysed channel as a grid row, the caption with the
// spans the readouts cover, and the text they copy to the clipboard.
// Numbers are written with '.' whatever the desktop's locale.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "utilities/recorderlogic/DataGridCells.h"

struct ScalingOpts;
struct SpectrumOpts;
class SpectralData;

namespace analysis_view {

inline constexpr int kPeakFrequency = 7;
inline constexpr int kPeakAmplitude = 8;
inline constexpr int kTotalPower = 9;
// A readout below this is shown as the viewers' own no-value mark.
inline constexpr float kNoValueBelow = -500.0f;
inline constexpr float kNoValue = -999.0f;

// "Peak Frequency", "Peak Amplitude", "Total Power"; null for other kinds.
const char* Name(int kind);

// "%6.1f Hz".
std::string PeakFrequencyText(float frequency);
// What a readout shows while its channel has no analysed block yet.
inline constexpr const char* kNoDataText = "no data yet";

// "%6.2f %s", a level below -500 shown as -999.00. A linear level (not
// logarithmic) shows at least four significant digits: 0.0150 g, not 0.00 g.
std::string LevelText(float level, const char* unit, bool logarithmic = true);
// Two decimals in dB (ampScale 1), otherwise six or as many as four
// significant digits need; then the weighting's letter (1 A, 2 B, 3 C)
// after the unit; empty for an unknown weighting.
std::string PowerText(float power, std::uint16_t ampScale, std::uint16_t weighting, const char* unit);
// The longest reading a kind's readout shows in the unit (empty for an
// unknown kind or weighting): with kNoDataText, what the viewer must be
// wide enough for.
std::string WidestText(int kind, const char* unit, std::uint16_t weighting);
// "(L: %dHz to %dHz)" for index 0, "(R: ...)" for 1, frequencies truncated.
std::string SpanText(int index, float start, float stop);
// The kind's caption prefix filled with both span texts.
std::string Caption(int kind, const std::string& leftSpan, const std::string& rightSpan);

// What one refresh reads: per index the analysed object (null when that
// index shows nothing), its scaling record and its plot's display record.
struct Sources {
    std::array<SpectralData*, 2> processors{};
    const ScalingOpts* scaling[2] = {};
    const SpectrumOpts* spectrum[2] = {};
};

// Number of indexes with an object (0, 1 or 2).
int CountChannels(const Sources& sources);

// Writes one row per shown index into column 0 of the grid, from row 0 on;
// returns the new caption, none when no row was shown.
std::optional<std::string> UpdateResults(int kind, const Sources& sources, DataGridCells& grid);

// Rows 0..lines-1 of column 0, each followed by CR LF.
std::string ClipboardText(const DataGridCells& grid, int lines);

} // namespace analysis_view
