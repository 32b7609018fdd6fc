#pragma once
// What the output plays: a range of a wave-data buffer (not owned), once or
// looped, read at a play position that the driver's thread moves on by one
// driver buffer at each buffer switch.
//
// Prepared on the GUI thread while the stream is stopped; Fill runs on the
// driver's thread and allocates nothing for in-memory buffers.

#include "audio/TAsioSampleCodec.h"
#include "audio/TWaveData.h"
#include "platform/ZeroFilledArray.h"

#include <cstdint>

class TOutputSource {
public:
    // first −1: the wave's cursor; end −1: its frame count. Refused for a
    // null wave and for a range outside the wave or running backwards; a
    // loop must hold at least one frame.
    bool Prepare(TWaveData* wave, bool loop, std::int64_t first, std::int64_t end);
    void Clear();
    bool IsPrepared() const { return Wave != nullptr; }

    // Scratch for buffers of up to `frames` frames; GUI thread, before the start.
    bool Reserve(std::int32_t frames);

    // Fills one buffer half of each output channel (slots[0] left, slots[1]
    // right; a one-channel wave fills both) with `frames` frames: the range
    // from the play position, wrapping to the loop start as often as needed
    // when looping, silence past the end otherwise. Returns the frames written.
    std::int32_t Fill(std::uint8_t* const* slots, int channels, std::int32_t frames, TAsioSampleCodec::SampleSize size,
                      std::uint16_t analysisBytes);

    std::int64_t GetLoopStart() const { return LoopStart; }
    std::int64_t GetEnd() const { return End; }
    std::int64_t GetPlayPosition() const { return PlayPosition; }
    bool IsLooping() const { return Loop; }

private:
    // Reads `count` frames of a channel from the wave into Codes at `at`,
    // aligned to the analysis width.
    void ReadRun(std::int64_t first, std::int32_t count, int channel, std::int32_t at, std::uint16_t analysisBytes);

    TWaveData* Wave = nullptr;
    bool Loop = false;
    std::int64_t LoopStart = -1;
    std::int64_t End = -1;
    std::int64_t PlayPosition = -1;
    std::int32_t Capacity = 0;
    platform::ZeroFilledArray<std::int32_t> Codes[2];
};
