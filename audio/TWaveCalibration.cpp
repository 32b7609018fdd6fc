#include "audio/TWaveCalibration.h"

#include <bit>
#include <charconv>
#include <cstring>
#include <string>

namespace {

std::uint32_t GetU32(const std::uint8_t* p)
{
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[3]} << 24;
}

float GetF32(const std::uint8_t* p) { return std::bit_cast<float>(GetU32(p)); }

// Copies a text of at most N - 1 characters, so the field always ends.
template <std::size_t N>
void CopyText(char (&field)[N], const std::uint8_t* source)
{
    std::memset(field, 0, N);
    const auto* text = reinterpret_cast<const char*>(source);
    std::memcpy(field, text, ::strnlen(text, N - 1));
}

// Offsets inside the older 1024-byte chunk.
constexpr std::size_t kOldEnabled = 0;
constexpr std::size_t kOldText = 4;
constexpr std::size_t kOldRefLevel = 264;
constexpr std::size_t kOldRefType = 268;
constexpr std::size_t kOldRefUnits = 272;
constexpr std::size_t kOldLabelLinear = 276;
constexpr std::size_t kOldLabelLog = 336;
constexpr std::size_t kOldLabelType = 396;
constexpr std::size_t kOldPctLeft = 400;
constexpr std::size_t kOldPctRight = 404;
constexpr std::size_t kOldRatioLeft = 408;
constexpr std::size_t kOldRatioRight = 412;
constexpr std::size_t kOldConversion = 416;
constexpr std::size_t kOldIntegration = 420;
constexpr std::size_t kOldNameLeft = 424;
constexpr std::size_t kOldNameRight = 464;

// The decimal number in `width` characters at `offset`, as the accelerometer
// tools wrote it (leading blanks allowed); 0 when there is none.
long NumberAt(std::string_view text, std::size_t offset, std::size_t width)
{
    std::string_view field = text.substr(offset, width);
    while (!field.empty() && field.front() == ' ')
        field.remove_prefix(1);
    long value = 0;
    std::from_chars(field.data(), field.data() + field.size(), value);
    return value;
}

}  // namespace

TWaveCalibration::TWaveCalibration(const TChannelCalibration& left, const TChannelCalibration& right)
{
    SetChannel(0, left);
    SetChannel(1, right);
}

TChannelCalibration TWaveCalibration::GetChannel(int channel) const
{
    return TChannelCalibration::Unpack(Bytes.data() + (channel == 1 ? kRightOffset : kLeftOffset));
}

void TWaveCalibration::SetChannel(int channel, const TChannelCalibration& record)
{
    record.Pack(Bytes.data() + (channel == 1 ? kRightOffset : kLeftOffset));
}

void TWaveCalibration::TerminateTexts()
{
    if (std::memchr(Bytes.data(), '\0', kTextSize) == nullptr)
        Bytes[kTextSize - 1] = 0;
    // Unpack terminates an unterminated field and keeps every other byte.
    SetChannel(0, GetChannel(0));
    SetChannel(1, GetChannel(1));
}

TWaveCalibration TWaveCalibration::FromOldChunk(const std::uint8_t* chunk)
{
    TWaveCalibration block;
    const auto* text = reinterpret_cast<const char*>(chunk + kOldText);
    std::memcpy(block.Bytes.data(), text, ::strnlen(text, kTextSize - 1));

    TChannelCalibration left;
    left.IsEnabled = GetU32(chunk + kOldEnabled);
    left.RefLevel = GetF32(chunk + kOldRefLevel);
    left.RefType = GetU32(chunk + kOldRefType);
    left.RefUnits = GetU32(chunk + kOldRefUnits);
    CopyText(left.LabelLinear, chunk + kOldLabelLinear);
    CopyText(left.LabelLog, chunk + kOldLabelLog);
    left.LabelType = GetU32(chunk + kOldLabelType);
    left.PctFullScale = GetF32(chunk + kOldPctLeft);
    left.CalRatio = GetF32(chunk + kOldRatioLeft);
    left.ConversionType = GetU32(chunk + kOldConversion);
    left.IntegrationType = GetU32(chunk + kOldIntegration);
    CopyText(left.ChannelName, chunk + kOldNameLeft);

    TChannelCalibration right = left;
    right.PctFullScale = GetF32(chunk + kOldPctRight);
    right.CalRatio = GetF32(chunk + kOldRatioRight);
    CopyText(right.ChannelName, chunk + kOldNameRight);

    block.SetChannel(0, left);
    block.SetChannel(1, right);
    return block;
}

bool TWaveCalibration::ApplyForeignSensitivity(std::string_view text)
{
    // Later markers in this list take precedence over earlier ones.
    static constexpr std::string_view kMarkers[] = {"333D01 ", "333D02 ", "MB63   "};
    std::size_t match = std::string_view::npos;
    for (std::string_view marker : kMarkers) {
        const std::size_t at = text.find(marker);
        if (at != std::string_view::npos)
            match = at;
    }
    if (match == std::string_view::npos || text.size() - match < 36)
        return false;

    const long sensitivity[2] = {NumberAt(text, match + 25, 5), NumberAt(text, match + 30, 5)};
    if (sensitivity[0] < 1000 || sensitivity[1] < 1000)
        return false;

    for (int channel = 0; channel < 2; ++channel) {
        TChannelCalibration record = GetChannel(channel);
        record.IsEnabled = 1;
        TChannelCalibration::SetText(record.LabelLinear, "Acceleration (G) rms");
        TChannelCalibration::SetText(record.LabelLog, "Acceleration (G dB) rms");
        record.ConversionType = 0;
        record.IntegrationType = 0;
        record.RefUnits = 3;
        record.RefType = 1;
        record.RefLevel = 1.0f;
        // The sensitivity counts per m/s²: a 1 g rms reference peaks at this
        // fraction of the 24-bit full scale.
        record.PctFullScale = static_cast<float>(1.4142135 / ((8388608.0 / sensitivity[channel]) / 9.80665));
        SetChannel(channel, record);
    }
    return true;
}

void TWaveCalibration::NameUnnamedChannels()
{
    for (int channel = 0; channel < 2; ++channel) {
        TChannelCalibration record = GetChannel(channel);
        if (record.ChannelName[0] == '\0') {
            TChannelCalibration::SetText(record.ChannelName, channel == 0 ? "Left" : "Right");
            SetChannel(channel, record);
        }
    }
}
