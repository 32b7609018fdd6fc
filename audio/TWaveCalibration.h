#pragma once
// The 2048-byte calibration block a wave file carries after its RIFF form,
// so that a recording can be analysed later with the calibration it was
// made with: a 260-character text field, then the packed records of the
// left and the right channel, then zeros.
//
// Also the two older sources of calibration a file may hold instead: the
// 1024-byte chunk of earlier versions (id 101) and the sensitivity text
// that some digital accelerometers store in a "CAL1" chunk.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "format/TChannelCalibration.h"

class TWaveCalibration {
public:
    static constexpr std::size_t kSize = 2048;
    static constexpr std::size_t kTextSize = 260;
    static constexpr std::size_t kLeftOffset = 260;
    static constexpr std::size_t kRightOffset = 894;
    // Chunk ids are numbers, not letters: bytes 66 00 00 00 and 65 00 00 00.
    static constexpr std::uint32_t kChunkId = 102;
    static constexpr std::uint32_t kOldChunkId = 101;
    static constexpr std::size_t kOldChunkSize = 1024;
    // The shortest "CAL1" chunk that can hold a sensitivity record.
    static constexpr std::size_t kForeignMinSize = 44;

    std::array<std::uint8_t, kSize> Bytes{};

    TWaveCalibration() = default;
    TWaveCalibration(const TChannelCalibration& left, const TChannelCalibration& right);

    // Channel 0 (left) or 1 (right); other values give channel 0.
    TChannelCalibration GetChannel(int channel) const;
    void SetChannel(int channel, const TChannelCalibration& record);

    // A block read from a file: every text field ends within its bytes, so
    // no later reader runs into the next field. Well-formed blocks stay as
    // they are, byte for byte.
    void TerminateTexts();

    // Converts an id-101 chunk (kOldChunkSize bytes). Both channels get the
    // left channel's fields except the level, the ratio and the name, which
    // the old chunk kept per channel.
    static TWaveCalibration FromOldChunk(const std::uint8_t* chunk);

    // Looks for an accelerometer's sensitivity record in a "CAL1" text and,
    // when it holds two plausible sensitivities, calibrates both channels in
    // g from them. False, with nothing changed, otherwise.
    bool ApplyForeignSensitivity(std::string_view text);

    // Empty channel names become "Left" and "Right".
    void NameUnnamedChannels();

    bool operator==(const TWaveCalibration&) const = default;
};
