#include "audio/TInputStream.h"

#include "audio/TWaveFile.h"

bool TInputStream::Prepare(TWaveFile* recording, std::int32_t n, TriggerOpts* trigger, const TWaveFormat& format,
                           std::int32_t ratio)
{
    Recording = recording;
    Trigger = trigger;
    return Ring.Prepare(n, format, ratio);
}

bool TInputStream::Build(std::int32_t bufferFrames, const TWaveFormat& format, std::int32_t ratio,
                         std::int32_t taps)
{
    BufferFrames = 0;
    Block = std::make_unique<TWaveData>(static_cast<std::uint64_t>(bufferFrames), format);
    if (bufferFrames <= 0 || Block->Failed != 0)
        return false;
    if (ratio > 1 && !Decimator.Build(ratio, taps, bufferFrames, format))
        return false;
    BufferFrames = bufferFrames;
    Format = format;
    Ratio = ratio;
    return true;
}

void TInputStream::Release()
{
    Recording = nullptr;
    Trigger = nullptr;
}

std::int32_t TInputStream::Process(const std::uint8_t* const* slots, int channels, TAsioSampleCodec::SampleSize size)
{
    if (BufferFrames <= 0 || size.Bytes == 0)
        return 0;
    const std::uint16_t bytes = Format.BytesPerSample;
    const int stride = Format.NumChannels * bytes;
    std::uint8_t* block = Block->GetBuffer();
    for (int c = 0; c < channels && c < Format.NumChannels; ++c) {
        const std::uint8_t* slot = slots[c];
        if (slot == nullptr)
            continue;
        std::uint8_t* sample = block + c * bytes;
        for (std::int32_t f = 0; f < BufferFrames; ++f, slot += size.Bytes, sample += stride)
            Format.WriteSample(sample, TAsioSampleCodec::ScaleIn(slot, size, bytes));
    }
    std::int32_t count = BufferFrames;
    if (Ratio > 1)
        count = Decimator.Process(*Block, count);

    TInputRing::StampArrival();
    Ring.Store(*Block, count);
    RecordInput(count);
    return count;
}

void TInputStream::RecordInput(std::int32_t count)
{
    if (Recording == nullptr || count <= 0)
        return;
    if (Trigger != nullptr)
        Recording->WriteGate = 0;
    Recording->WriteData(Block->GetBuffer(), Block->FramesToBytes(static_cast<std::uint64_t>(count)));
}
