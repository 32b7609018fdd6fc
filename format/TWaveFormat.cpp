#include "format/TWaveFormat.h"

#include <algorithm>
#include <limits>

namespace {

constexpr std::int32_t k24BitSpan = 16777216;  // 2^24
constexpr std::int32_t k24BitSign = 0x800000;

// What a stored sample of each width can physically hold; the format's
// Min/MaxValue are narrower (symmetric) and are not the storage limits.
struct StorageLimits {
    std::int32_t lowest;
    std::int32_t highest;
};

StorageLimits LimitsOf(std::uint16_t bytes)
{
    switch (bytes) {
    case 1: return {0, 255};
    case 2: return {-32768, 32767};
    case 3: return {-8388608, 8388607};
    default: return {std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()};
    }
}

}  // namespace

TWaveFormat::TWaveFormat(std::uint32_t rate, std::uint16_t channels, std::uint16_t bytes)
{
    Set(rate, channels, bytes);
}

void TWaveFormat::Set(std::uint32_t rate, std::uint16_t channels, std::uint16_t bytes)
{
    SamplingRate = rate == 0 ? 48000 : rate;
    NumChannels = (channels == 0 || channels >= 3) ? 1 : channels;
    BytesPerSample = (bytes == 0 || bytes >= 5) ? 2 : bytes;
    BitsPerSample = static_cast<std::uint16_t>(BytesPerSample * 8);

    switch (BytesPerSample) {
    case 1:
        MaxValue = 255;
        MinValue = 0;
        ZeroOffset = 127;
        break;
    case 2:
        MaxValue = 32767;
        MinValue = -32767;
        ZeroOffset = 0;
        break;
    case 3:
        MaxValue = 8388607;
        MinValue = -8388607;
        ZeroOffset = 0;
        break;
    default:
        MaxValue = 2147483647;
        MinValue = -2147483647;
        ZeroOffset = 0;
        break;
    }
}

std::int32_t TWaveFormat::DecodeSample(std::int32_t raw) const
{
    if (BytesPerSample == 3 && (raw & k24BitSign) != 0)
        return raw - k24BitSpan;
    return raw;
}

std::int32_t TWaveFormat::EncodeSample(std::int32_t value) const
{
    if (BytesPerSample == 3 && value < 0)
        return (value + k24BitSpan) | k24BitSign;
    return value;
}

std::int32_t TWaveFormat::ReadSample(const std::uint8_t* bytes) const
{
    std::uint32_t word = 0;
    for (unsigned i = 0; i < BytesPerSample; ++i)
        word |= std::uint32_t{bytes[i]} << (8 * i);

    if (BytesPerSample == 2)
        return static_cast<std::int16_t>(word);
    return DecodeSample(static_cast<std::int32_t>(word));
}

void TWaveFormat::WriteSample(std::uint8_t* bytes, std::int32_t value) const
{
    const StorageLimits limits = LimitsOf(BytesPerSample);
    const std::int32_t clamped = std::clamp(value, limits.lowest, limits.highest);
    const auto word = static_cast<std::uint32_t>(EncodeSample(clamped));
    for (unsigned i = 0; i < BytesPerSample; ++i)
        bytes[i] = static_cast<std::uint8_t>(word >> (8 * i));
}
