#include "plot/DataViewTable.h"

#include "platform/NumberText.h"

#include <algorithm>

namespace data_view {

namespace {

constexpr std::uint16_t kDecibels = 1;
constexpr std::uint16_t kCoherenceMode = 10;

// printf("%3.<decimals>f").
std::string Fixed3(double value, int decimals)
{
    std::string text = platform::FormatFixed(value, decimals);
    if (text.size() < 3)
        text.insert(0, 3 - text.size(), ' ');
    return text;
}

} // namespace

int ValueRows(int clientHeight)
{
    return std::max(0, clientHeight / kRowHeight - 1);
}

int ScrollMaximum(std::uint32_t startBin, std::uint32_t endBin, int clientHeight)
{
    const std::int64_t rows = std::int64_t{endBin} + 2 - std::int64_t{startBin};
    const std::int64_t visible = std::max(0, clientHeight) / kRowHeight;
    return static_cast<int>(std::clamp<std::int64_t>(rows - visible, 0, 0x7FFFFFFF));
}

std::string ValueHeader(std::uint16_t ampScale, std::uint16_t channelMode, bool second)
{
    const bool coherence = second ? (channelMode == 11 || channelMode == 12) : channelMode == kCoherenceMode;
    if (coherence)
        return "coherence";
    return ampScale == kDecibels ? "dB" : "level";
}

std::string FrequencyText(float hz)
{
    return Fixed3(hz, 4);
}

std::string ValueText(float value, std::uint16_t ampScale)
{
    return Fixed3(value, ampScale == kDecibels ? 2 : 6);
}

} // namespace data_view
