#include "audio/TInputRing.h"

#include "engine/SampleKernels.h"
#include "format/SampleCodes.h"
#include "platform/Clock.h"

#include <algorithm>
#include <cstring>

std::atomic<std::uint32_t> TInputRing::LastArrival{0};

namespace {

// Ten seconds of samples, and never fewer than this many reads.
constexpr std::uint32_t kRingSeconds = 10;
constexpr std::int32_t kMinimumReads = 20;

} // namespace

std::uint64_t TInputRing::Pack(Position position)
{
    return (std::uint64_t{static_cast<std::uint32_t>(position.Fill)} << 32)
        | static_cast<std::uint32_t>(position.Write);
}

TInputRing::Position TInputRing::Unpack(std::uint64_t packed)
{
    return {static_cast<std::int32_t>(packed & 0xFFFFFFFFu), static_cast<std::int32_t>(packed >> 32)};
}

std::int32_t TInputRing::BlockFor(std::uint32_t rate, std::int32_t requested, std::int32_t ratio)
{
    if (ratio > 1)
        return std::max<std::int32_t>(1, static_cast<std::int32_t>(rate / 4));
    // Later bounds are tighter, so the smallest bound the rate meets wins.
    static constexpr struct {
        std::uint32_t Rate;
        std::int32_t Block;
    } kBounds[] = {{200000, 32768}, {160000, 16384}, {80000, 8192}, {40000, 4096}, {20000, 2048},
                   {12000, 1024},   {8000, 512},     {4000, 256},   {1000, 128},   {500, 64}};
    std::int32_t block = requested;
    for (const auto& bound : kBounds) {
        if (rate <= bound.Rate)
            block = bound.Block;
    }
    return block;
}

bool TInputRing::Prepare(std::int32_t requested, const TWaveFormat& format, std::int32_t ratio)
{
    Format = format;
    Block = std::max<std::int32_t>(1, BlockFor(format.SamplingRate, requested, ratio));
    const std::uint32_t blocks =
        std::max<std::uint32_t>(2, format.SamplingRate * kRingSeconds * static_cast<std::uint32_t>(ratio)
                                       / static_cast<std::uint32_t>(Block));
    const std::int64_t size = std::max<std::int64_t>(std::int64_t{Block} * blocks,
                                                     std::int64_t{kMinimumReads} * std::max(requested, 0));
    RingSize = static_cast<std::int32_t>(std::min<std::int64_t>(size, 0x7FFFFFFF));

    Samples.reset();
    Published.store(0, std::memory_order_release);
    Delivered.store(0, std::memory_order_release);
    auto ring = std::make_unique<TWaveData>(static_cast<std::uint64_t>(RingSize), format);
    if (ring->Failed != 0 || ring->GetNumFrames() == 0)
        return false;
    ring->Clear();
    Samples = std::move(ring);
    return true;
}

void TInputRing::StampArrival()
{
    // 0 means "no buffer yet", so a clock that reads 0 stamps 1.
    LastArrival.store(std::max<std::uint32_t>(1, platform::Milliseconds()), std::memory_order_release);
}

void TInputRing::CopyIn(const TWaveData& block, std::int32_t first, std::int32_t at, std::int32_t count)
{
    const TWaveFormat& from = block.GetFormat();
    const std::uint8_t* source = block.GetBuffer() + block.FramesToBytes(static_cast<std::uint64_t>(first));
    std::uint8_t* target = Samples->GetBuffer() + Samples->FramesToBytes(static_cast<std::uint64_t>(at));
    if (from.NumChannels == Format.NumChannels && from.BytesPerSample == Format.BytesPerSample) {
        std::memcpy(target, source, Samples->FramesToBytes(static_cast<std::uint64_t>(count)));
        return;
    }
    // A format changed after the ring was made (another port's Open): keep
    // the ring's own width, so readers get codes of the width they expect.
    const int channels = std::min(from.NumChannels, Format.NumChannels);
    const int shift = 8 * (Format.BytesPerSample - from.BytesPerSample);
    for (std::int32_t f = 0; f < count; ++f) {
        for (int c = 0; c < channels; ++c) {
            const std::int32_t code = from.ReadSample(source + (f * from.NumChannels + c) * from.BytesPerSample);
            const std::int32_t aligned = shift >= 0 ? static_cast<std::int32_t>(static_cast<std::uint32_t>(code) << shift)
                                                    : code >> -shift;
            Format.WriteSample(target + (f * Format.NumChannels + c) * Format.BytesPerSample, aligned);
        }
    }
}

void TInputRing::Store(const TWaveData& block, std::int32_t count)
{
    if (count <= 0 || static_cast<std::uint64_t>(count) > block.GetNumFrames() || RingSize <= 0)
        return;
    // Only this thread writes the position, so its own last store is current.
    Position position = Unpack(Published.load(std::memory_order_relaxed));
    if (Samples != nullptr) {
        std::int32_t done = 0;
        while (done < count) {
            const std::int32_t run = std::min(count - done, RingSize - position.Write);
            CopyIn(block, done, position.Write, run);
            done += run;
            position.Write = (position.Write + run) % RingSize;
        }
    } else {
        position.Write = static_cast<std::int32_t>((std::int64_t{position.Write} + count) % RingSize);
    }
    position.Fill = static_cast<std::int32_t>(std::min<std::int64_t>(std::int64_t{position.Fill} + count, RingSize));
    Published.store(Pack(position), std::memory_order_release);
    Delivered.fetch_add(static_cast<std::uint64_t>(count), std::memory_order_release);
}

bool TInputRing::ReadLatest(std::int32_t n, std::int32_t* left, std::int32_t* right) const
{
    const Position position = Unpack(Published.load(std::memory_order_acquire));
    const std::uint32_t arrival = LastArrivalTime();
    if (arrival == 0 || Samples == nullptr || n <= 0 || n > position.Fill)
        return false;

    const std::uint32_t elapsed = platform::Milliseconds() - arrival;
    const auto shift = static_cast<std::int64_t>(Format.SamplingRate * static_cast<double>(elapsed) / 1000.0);
    const std::int64_t back = Block - shift;
    // At least one frame behind the write index: the frame at the index is
    // the oldest of a full ring, or the next one the driver writes.
    if (back < 1)
        return false;

    const bool full = position.Fill == RingSize;
    std::int64_t end = position.Write - back;
    if (end < 0) {
        if (!full)
            return false;
        end += RingSize;
    }
    end = std::min<std::int64_t>(end, position.Fill - 1);
    if (!full && end - n < 0)
        return false;

    // The block ends at `end` and runs back n frames, round the end of a
    // full ring to its top: at most two runs of consecutive frames.
    std::int64_t start = end - (n - 1);
    if (start < 0)
        start += position.Fill;
    const std::int64_t firstRun = start <= end ? n : position.Fill - start;
    CopyFrames(start, firstRun, left, right);
    if (firstRun < n)
        CopyFrames(0, n - firstRun, left != nullptr ? left + firstRun : nullptr,
                   right != nullptr ? right + firstRun : nullptr);
    return true;
}

namespace {

template <unsigned Bytes>
void DecodeFrames(const std::uint8_t* frames, std::size_t stride, std::size_t rightOffset, std::int64_t count,
                  std::int32_t* left, std::int32_t* right)
{
    if constexpr (Bytes == 3) {
        if (stride == 6 && rightOffset == 3 && count > 0) {
            const auto done = static_cast<std::int64_t>(
                sample_kernels::SplitFrames24(frames, left, right, static_cast<std::size_t>(count)));
            frames += static_cast<std::size_t>(done) * stride;
            count -= done;
            left = left != nullptr ? left + done : nullptr;
            right = right != nullptr ? right + done : nullptr;
        }
    }
    if (left != nullptr)
        for (std::int64_t i = 0; i < count; ++i)
            left[i] = sample_codes::Load<Bytes>(frames + static_cast<std::size_t>(i) * stride);
    if (right != nullptr)
        for (std::int64_t i = 0; i < count; ++i)
            right[i] = sample_codes::Load<Bytes>(frames + static_cast<std::size_t>(i) * stride + rightOffset);
}

} // namespace

void TInputRing::CopyFrames(std::int64_t first, std::int64_t count, std::int32_t* left, std::int32_t* right) const
{
    const std::size_t stride = std::size_t{Format.NumChannels} * Format.BytesPerSample;
    // A mono ring answers its one channel on both sides, as a wave-data read does.
    const std::size_t rightOffset = Format.NumChannels == 2 ? Format.BytesPerSample : 0;
    const std::uint8_t* frames = Samples->GetBuffer() + static_cast<std::size_t>(first) * stride;
    switch (Format.BytesPerSample) {
    case 1: DecodeFrames<1>(frames, stride, rightOffset, count, left, right); break;
    case 2: DecodeFrames<2>(frames, stride, rightOffset, count, left, right); break;
    case 3: DecodeFrames<3>(frames, stride, rightOffset, count, left, right); break;
    default: DecodeFrames<4>(frames, stride, rightOffset, count, left, right); break;
    }
}
