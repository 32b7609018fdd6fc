#pragma once
// The status bar's format menu: the sample rates, widths and channel counts
// the input port accepts, the current ones checked, and what choosing one
// does to the analyzer.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class StatusbarFrame;
class TWaveFormat;

struct FormatMenuItem {
    std::string text;
    std::uint32_t command;
    bool checked;
};

namespace FormatMenuModel {

inline constexpr std::array<std::uint32_t, 20> kSampleRates{
    4000, 5512, 6000, 8000, 11025, 12000, 16000, 22050, 24000, 32000,
    44100, 48000, 50000, 64000, 88200, 96000, 100000, 176400, 192000, 200000};

// Rate i is command kRateCommandBase + i.
inline constexpr std::uint32_t kRateCommandBase = 200;
inline constexpr std::uint32_t kCommand16Bit = 401;
inline constexpr std::uint32_t kCommand24Bit = 402;
inline constexpr std::uint32_t kCommandMono = 450;
inline constexpr std::uint32_t kCommandStereo = 451;

// Each list holds only what the input port accepts with the other two parts
// of the current format kept; all are empty without an input port.
std::vector<FormatMenuItem> RateItems(const StatusbarFrame& frame);
std::vector<FormatMenuItem> WidthItems(const StatusbarFrame& frame);
std::vector<FormatMenuItem> ChannelItems(const StatusbarFrame& frame);

// The format a command asks for, from the current one; false for a command
// that names no rate, width or channel count.
bool FormatFor(std::uint32_t command, const TWaveFormat& current, TWaveFormat& result);

// Stops the analyzer, sets the chosen format (and both-channel processing
// when going from mono to stereo), re-initialises the input and starts the
// analyzer again when it was running.
void Execute(std::uint32_t command, StatusbarFrame& frame);

} // namespace FormatMenuModel
