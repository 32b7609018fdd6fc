#include "audio/TInputStream.h"

#include "audio/TWaveFile.h"
#include "format/SampleCodes.h"

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

namespace {

// TAsioSampleCodec::ScaleIn and TWaveFormat::WriteSample for 3-byte codes,
// inline, as the driver's thread runs them for every sample: the slot's
// significant bytes at the top of a word, shifted down to 24 bits (always
// in range, so the write's clamp has nothing to do).
template <int Significant>
void ScaleInto24(const std::uint8_t* slot, int slotBytes, std::uint8_t* sample, int stride, std::int32_t frames)
{
    const int first = slotBytes - Significant;
    for (std::int32_t f = 0; f < frames; ++f, slot += slotBytes, sample += stride) {
        std::uint32_t word = 0;
        for (int i = 0; i < Significant; ++i)
            word |= std::uint32_t{slot[first + i]} << (8 * (4 - Significant + i));
        sample_codes::Store<3>(sample, sample_codes::WordOf<3>(static_cast<std::int32_t>(word) >> 8));
    }
}

bool ScaleInto24(const std::uint8_t* slot, TAsioSampleCodec::SampleSize size, std::uint8_t* sample, int stride,
                 std::int32_t frames)
{
    switch (size.Significant) {
    case 2: ScaleInto24<2>(slot, size.Bytes, sample, stride, frames); return true;
    case 3: ScaleInto24<3>(slot, size.Bytes, sample, stride, frames); return true;
    case 4: ScaleInto24<4>(slot, size.Bytes, sample, stride, frames); return true;
    default: return false;
    }
}

} // namespace

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
        if (bytes == 3 && ScaleInto24(slot, size, sample, stride, BufferFrames))
            continue;
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
