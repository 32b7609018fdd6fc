// The older 1024-byte calibration chunk, built by hand byte by byte: every
// field lands in its channel's record, and the accelerometer's reference
// type stays the one the chunk states (2, half the level) on both channels,
// not the type of a new record or of another field.

#include "audio/TWaveCalibration.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <tuple>

namespace {

using Chunk = std::array<std::uint8_t, TWaveCalibration::kOldChunkSize>;

void PutU32(Chunk& chunk, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        chunk[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

void PutF32(Chunk& chunk, std::size_t at, float value)
{
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, 4);
    PutU32(chunk, at, bits);
}

void PutText(Chunk& chunk, std::size_t at, const char* text)
{
    std::memcpy(chunk.data() + at, text, std::strlen(text));
}

// The reference type as the packed record stores it: bytes 8 … 11.
std::uint32_t PackedRefType(const TWaveCalibration& block, std::size_t recordOffset)
{
    const std::uint8_t* p = block.Bytes.data() + recordOffset + 8;
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[3]} << 24;
}

} // namespace

TEST(WaveOldCalibrationChunk, AnAccelerometersRecordKeepsItsReferenceTypeAndEveryFieldOnBothChannels)
{
    // Every number differs from every other, from the defaults and from
    // what the foreign sensitivity chunk sets, so a field read from the
    // wrong place shows.
    Chunk chunk{};
    PutU32(chunk, 0, 1);
    PutText(chunk, 4, "shaker table");
    PutF32(chunk, 264, 9.5f);  // level
    PutU32(chunk, 268, 2);     // peak to peak
    PutU32(chunk, 272, 3);     // g
    PutText(chunk, 276, "Acceleration G rms");
    PutText(chunk, 336, "Acceleration (dB re 1G) rms");
    PutU32(chunk, 396, 7);
    PutF32(chunk, 400, 0.125f);
    PutF32(chunk, 404, 0.375f);
    PutF32(chunk, 408, 8.0f);
    PutF32(chunk, 412, 2.5f);
    PutU32(chunk, 416, 5);
    PutU32(chunk, 420, 6);
    PutText(chunk, 424, "Accel X");
    PutText(chunk, 464, "Accel Y");

    const TWaveCalibration block = TWaveCalibration::FromOldChunk(chunk.data());
    EXPECT_STREQ(reinterpret_cast<const char*>(block.Bytes.data()), "shaker table");
    EXPECT_EQ(std::tuple(PackedRefType(block, TWaveCalibration::kLeftOffset),
                         PackedRefType(block, TWaveCalibration::kRightOffset)),
              std::tuple(2u, 2u));

    // Channel, then what it must hold: fraction of full scale, ratio, name.
    for (const auto& [channel, fraction, ratio, name] :
         {std::tuple(0, 0.125f, 8.0f, "Accel X"), std::tuple(1, 0.375f, 2.5f, "Accel Y")}) {
        SCOPED_TRACE(channel);
        const TChannelCalibration r = block.GetChannel(channel);
        EXPECT_EQ(std::tuple(r.IsEnabled, r.RefLevel, r.RefType, r.RefUnits, r.LabelType, r.ConversionType,
                             r.IntegrationType),
                  std::tuple(1u, 9.5f, 2u, 3u, 7u, 5u, 6u));
        EXPECT_EQ(std::tuple(r.PctFullScale, r.CalRatio, std::string(r.ChannelName)),
                  std::tuple(fraction, ratio, std::string(name)));
        EXPECT_EQ(std::string(r.LabelLinear) + "|" + r.LabelLog, "Acceleration G rms|Acceleration (dB re 1G) rms");
    }
}
