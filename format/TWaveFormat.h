#pragma once
// Linear PCM format shared by every buffer, file and port of the program.
//
// The sample range is symmetric about zero for the signed widths (−32767 …
// 32767, not −32768), and 8-bit silence is 127: files written by earlier
// versions and the level arithmetic of every caller depend on both.

#include <cstdint>

class TWaveFormat {
public:
    // Fields in the order the rest of the program copies them.
    std::uint16_t NumChannels = 1;
    std::uint32_t SamplingRate = 48000;
    std::uint16_t BytesPerSample = 2;
    std::uint16_t BitsPerSample = 16;
    std::int32_t MaxValue = 32767;
    std::int32_t MinValue = -32767;
    std::int32_t ZeroOffset = 0;

    TWaveFormat(std::uint32_t rate = 48000, std::uint16_t channels = 1, std::uint16_t bytes = 2);

    // Unusable values are replaced (rate 0 → 48000, channels other than 1 or
    // 2 → 1, bytes other than 1 … 4 → 2); the derived fields always follow.
    void Set(std::uint32_t rate, std::uint16_t channels, std::uint16_t bytes);

    std::uint16_t GetChannels() const { return NumChannels; }
    std::uint32_t GetSampleRate() const { return SamplingRate; }
    std::uint16_t GetBytesPerSample() const { return BytesPerSample; }
    std::uint16_t GetBitsPerSample() const { return BitsPerSample; }

    // MaxValue − MinValue. A 4-byte format spans 4294967294, which does not
    // fit 32 bits, so range arithmetic goes through here.
    std::int64_t Range() const { return std::int64_t{MaxValue} - std::int64_t{MinValue}; }
    double HalfRange() const { return static_cast<double>(Range()) / 2.0; }

    // 24-bit sign extension of a raw word holding the stored bytes in its low
    // bits; a no-op for the other widths, whose readers extend by their own types.
    std::int32_t DecodeSample(std::int32_t raw) const;
    // The reverse: a negative 24-bit value becomes its three-byte two's
    // complement form. A no-op for the other widths.
    std::int32_t EncodeSample(std::int32_t value) const;

    // One stored sample (BytesPerSample bytes, little-endian) to its value:
    // 0 … 255 for one byte, signed for the wider formats.
    std::int32_t ReadSample(const std::uint8_t* bytes) const;
    // Stores the low BytesPerSample bytes, little-endian. A value beyond what
    // the width can hold is saturated rather than wrapped, so an overdriven
    // sample stays at full scale instead of flipping sign.
    void WriteSample(std::uint8_t* bytes, std::int32_t value) const;

    bool operator==(const TWaveFormat&) const = default;
};
