#pragma once
// The visible part of a spectrum as tab-separated text: the clipboard's
// text (four decimals of frequency) and the text file (a channel line, six
// decimals), one row per visible bin with one or two traces' values, every
// line ending in CR LF. Numbers are written the same under every desktop
// locale, and names and unit labels are copied as they stand.

#include <array>
#include <cstdint>
#include <string>

class SpectralData;

namespace spectrum_export {

// The private "Link" clipboard data: application, topic and item names
// separated by NULs, zero-filled to this size.
constexpr std::size_t kLinkBlockSize = 128;

struct ExportRows {
    const SpectralData* Trace1 = nullptr;
    // Set when the plot shows a second trace: a third column.
    const SpectralData* Trace2 = nullptr;
    // Visible bins, both inclusive.
    std::uint32_t First = 0;
    std::uint32_t Last = 0;
};

// Averaged values, or held ones when fromHold.
std::string ClipboardText(const ExportRows& rows, bool fromHold);
// Averaged values; channel is the plot's, 0 or 1.
std::string FileText(const ExportRows& rows, int channel);
std::array<char, kLinkBlockSize> LinkBlock();

} // namespace spectrum_export
