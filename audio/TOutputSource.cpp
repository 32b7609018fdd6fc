#include "audio/TOutputSource.h"

#include <algorithm>

bool TOutputSource::Prepare(TWaveData* wave, bool loop, std::int64_t first, std::int64_t end)
{
    if (wave == nullptr)
        return false;
    const auto frames = static_cast<std::int64_t>(wave->GetNumFrames());
    const std::int64_t start = first == -1 ? static_cast<std::int64_t>(wave->GetPosition()) : first;
    const std::int64_t stop = end == -1 ? frames : end;
    if (start < 0 || stop > frames || start > stop || (loop && start == stop))
        return false;
    Wave = wave;
    Loop = loop;
    LoopStart = start;
    End = stop;
    PlayPosition = start;
    return true;
}

void TOutputSource::Clear()
{
    Wave = nullptr;
    Loop = false;
    LoopStart = End = PlayPosition = -1;
}

bool TOutputSource::Reserve(std::int32_t frames)
{
    if (frames <= Capacity)
        return true;
    Capacity = 0;
    if (frames <= 0 || !Codes[0].Allocate(static_cast<std::size_t>(frames))
        || !Codes[1].Allocate(static_cast<std::size_t>(frames)))
        return false;
    Capacity = frames;
    return true;
}

void TOutputSource::ReadRun(std::int64_t first, std::int32_t count, int channel, std::int32_t at,
                            std::uint16_t analysisBytes)
{
    const TWaveFormat& format = Wave->GetFormat();
    // A wave with fewer channels than the stream plays its last one on the
    // outputs beyond it: a one-channel signal is heard on both.
    const int source = std::clamp(channel, 0, std::max(0, static_cast<int>(format.NumChannels) - 1));
    std::int32_t* codes = Codes[channel].data() + at;
    // A streamed file reads its working file, a buffer its memory.
    if (!Wave->GetSamples(codes, static_cast<std::uint64_t>(first), static_cast<std::uint64_t>(count), source)) {
        std::fill(codes, codes + count, 0);
        return;
    }
    // Codes of the wave's width are aligned to the analysis width.
    const int shift = 8 * (analysisBytes - format.BytesPerSample);
    for (std::int32_t i = 0; i < count; ++i) {
        const std::int32_t code = codes[i];
        codes[i] = shift >= 0 ? static_cast<std::int32_t>(static_cast<std::uint32_t>(code) << shift) : code >> -shift;
    }
}

std::int32_t TOutputSource::Fill(std::uint8_t* const* slots, int channels, std::int32_t frames,
                                 TAsioSampleCodec::SampleSize size, std::uint16_t analysisBytes)
{
    if (Wave == nullptr || frames <= 0 || frames > Capacity || size.Bytes == 0)
        return 0;
    channels = std::clamp(channels, 0, 2);
    for (int c = 0; c < channels; ++c)
        std::fill(Codes[c].data(), Codes[c].data() + frames, 0);

    std::int64_t position = PlayPosition;
    std::int32_t written = 0;
    while (written < frames) {
        if (position >= End || position < LoopStart) {
            if (!Loop)
                break;
            position = LoopStart;
        }
        const auto run = static_cast<std::int32_t>(std::min<std::int64_t>(frames - written, End - position));
        for (int c = 0; c < channels; ++c)
            ReadRun(position, run, c, written, analysisBytes);
        written += run;
        position += run;
    }
    if (Loop && position >= End)
        position = LoopStart;
    // Past the end of a single play the position runs on over silence.
    if (!Loop)
        position += frames - written;
    PlayPosition = position;

    for (int c = 0; c < channels; ++c) {
        std::uint8_t* slot = slots[c];
        if (slot == nullptr)
            continue;
        for (std::int32_t i = 0; i < frames; ++i, slot += size.Bytes)
            TAsioSampleCodec::ScaleOut(Codes[c][i], slot, size, analysisBytes);
    }
    return frames;
}
