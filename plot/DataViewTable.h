#pragma once
// The arithmetic of the data-values window: rows of 18 pixels and columns of
// 100, one row per FFT line from the data's first line to its last, the
// scroll range, and the texts of the header and of each cell.

#include <cstdint>
#include <string>

namespace data_view {

inline constexpr int kRowHeight = 18;
inline constexpr int kColumnWidth = 100;
inline constexpr int kScrollBarWidth = 12;
// A page of the scroll bar.
inline constexpr int kPageRows = 12;

// Rows that hold values (the first row is the header).
int ValueRows(int clientHeight);

// 0 … rows − visible rows, where rows = endBin + 2 − startBin; never below
// 0, however tall the window.
int ScrollMaximum(std::uint32_t startBin, std::uint32_t endBin, int clientHeight);

// Header of column 2 (column 3 with second = true): "dB" on a dB scale,
// "level" otherwise, "coherence" where the channel mode shows coherence.
std::string ValueHeader(std::uint16_t ampScale, std::uint16_t channelMode, bool second);

std::string FrequencyText(float hz);
std::string ValueText(float value, std::uint16_t ampScale);

} // namespace data_view
