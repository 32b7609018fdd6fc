#include "audio/TWaveData.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

std::uint8_t SilenceByte(const TWaveFormat& format)
{
    return format.BytesPerSample == 1 ? 127 : 0;
}

// Whether PutSample can store a value in a sample of `bytes` bytes.
bool WidthHolds(std::uint16_t bytes, std::int32_t value)
{
    switch (bytes) {
    case 1: return value >= -255 && value <= 255;
    case 2: return value >= -32768 && value <= 32767;
    case 3: return value >= -8388608 && value <= 8388607;
    default: return true;
    }
}

}  // namespace

TWaveData::TWaveData()
{
    SetScale(1.0f, 1.0f);
}

TWaveData::TWaveData(std::uint64_t frames, const TWaveFormat& format) : Format(format)
{
    SetScale(1.0f, 1.0f);
    if (frames == 0)
        return;
    const std::uint64_t bytes = FramesToBytes(frames);
    if (bytes == 0 || !Samples.Allocate(bytes)) {
        Failed = 1;
        return;
    }
    NumFrames = frames;
    SizeBytes = bytes;
}

void TWaveData::SetFormat(const TWaveFormat& format)
{
    Format = format;
    SetScale(Scale[0], Scale[1]);
}

void TWaveData::SetScale(float left, float right)
{
    Scale[0] = left;
    Scale[1] = right;
    const double half = Format.HalfRange();
    for (int c = 0; c < 2; ++c) {
        const double scale = Scale[c] == 0.0f ? 2.0 : Scale[c];
        UnitFactor[c] = half > 0 ? static_cast<float>(scale / half) : 0.0f;
    }
}

std::uint64_t TWaveData::FramesToBytes(std::uint64_t frames) const
{
    return std::uint64_t{Format.NumChannels} * frames * Format.BytesPerSample;
}

std::uint64_t TWaveData::BytesToFrames(std::uint64_t bytes) const
{
    const std::uint64_t frameBytes = std::uint64_t{Format.NumChannels} * Format.BytesPerSample;
    return frameBytes == 0 ? 0 : bytes / frameBytes;
}

double TWaveData::FramesToSeconds(std::uint64_t frames) const
{
    return Format.SamplingRate == 0 ? 0.0 : static_cast<double>(frames) / Format.SamplingRate;
}

float TWaveData::GetCursorSeconds() const
{
    // A memory recording keeps room ahead of its data, and a cursor placed
    // in that room has nothing there to play.
    return static_cast<float>(FramesToSeconds(std::min<std::uint64_t>(Position, DataFrames)));
}

std::uint64_t TWaveData::SecondsToFrames(double seconds) const
{
    const double frames = Format.SamplingRate * seconds;
    return frames > 0 ? static_cast<std::uint64_t>(frames) : 0;
}

std::uint64_t TWaveData::SetPosition(std::uint64_t frame)
{
    if (frame <= NumFrames)
        Position = frame;
    PlaceCursor(Position);
    return Position;
}

std::uint64_t TWaveData::Rewind()
{
    PlaceCursor(0);
    return Position;
}

std::uint64_t TWaveData::SeekEnd()
{
    PlaceCursor(NumFrames);
    return Position;
}

std::uint64_t TWaveData::SeekDataEnd()
{
    return SetPosition(DataFrames);
}

std::uint64_t TWaveData::Advance(std::uint64_t frames)
{
    const std::uint64_t room = NumFrames - std::min<std::uint64_t>(Position, NumFrames);
    PlaceCursor(Position + std::min(frames, room));
    return Position;
}

float TWaveData::SetPositionSeconds(double seconds)
{
    SetPosition(SecondsToFrames(seconds));
    return GetPositionSeconds();
}

bool TWaveData::Resize(std::uint64_t frames)
{
    const std::uint64_t bytes = FramesToBytes(frames);
    const std::uint64_t oldBytes = Samples.empty() ? 0 : SizeBytes.load();
    if (!Samples.empty() && bytes == oldBytes)
        return true;

    if (bytes > Samples.size() && bytes <= Samples.capacity()) {
        if (!Samples.GrowInPlace(bytes))
            return false;
    } else if (bytes > Samples.size()) {
        platform::ZeroFilledArray<std::uint8_t> grown;
        if (!grown.Allocate(bytes)) {
            // A first allocation leaves nothing to keep; a growing one keeps all.
            if (Samples.empty())
                Failed = 1;
            return false;
        }
        if (oldBytes > 0)
            std::memcpy(grown.data(), Samples.data(), oldBytes);
        Samples = std::move(grown);
    }
    if (bytes > oldBytes)
        std::memset(Samples.data() + oldBytes, SilenceByte(Format), bytes - oldBytes);

    SizeBytes = bytes;
    NumFrames = frames;
    if (Position > frames)
        Position = frames;
    if (DataFrames > frames)
        DataFrames = frames;
    return true;
}

bool TWaveData::ReserveFrames(std::uint64_t capacity)
{
    const std::uint64_t bytes = FramesToBytes(capacity);
    const std::uint64_t kept = Samples.empty() ? 0 : SizeBytes.load();
    if (bytes < kept || bytes == 0)
        return false;
    if (Samples.capacity() >= bytes)
        return true;
    platform::ZeroFilledArray<std::uint8_t> room;
    if (!room.Reserve(bytes, kept))
        return false;
    if (kept > 0)
        std::memcpy(room.data(), Samples.data(), kept);
    Samples = std::move(room);
    return true;
}

void TWaveData::ReleaseSamples()
{
    Samples.Free();
    SizeBytes = 0;
    NumFrames = 0;
    Position = 0;
    DataFrames = 0;
}

std::uint64_t TWaveData::SampleOffset(std::uint64_t frame, int channel) const
{
    return (frame * Format.NumChannels + static_cast<std::uint64_t>(channel)) * Format.BytesPerSample;
}

bool TWaveData::GetFrames(void* dest, std::uint64_t first, std::uint64_t count, int channel) const
{
    const std::uint64_t frames = NumFrames;
    if (Samples.empty() || dest == nullptr || first > frames || count > frames - first)
        return false;
    auto* out = static_cast<std::uint8_t*>(dest);
    if (Format.NumChannels == 1 || (channel != 0 && channel != 1)) {
        std::memcpy(out, Samples.data() + FramesToBytes(first), FramesToBytes(count));
        return true;
    }
    const std::uint16_t width = Format.BytesPerSample;
    for (std::uint64_t f = 0; f < count; ++f)
        std::memcpy(out + f * width, Samples.data() + SampleOffset(first + f, channel), width);
    return true;
}

bool TWaveData::PutFrames(const void* src, std::uint64_t first, std::uint64_t count, int channel)
{
    const std::uint64_t frames = NumFrames;
    if (Samples.empty() || src == nullptr || first > frames || count > frames - first)
        return false;
    const auto* in = static_cast<const std::uint8_t*>(src);
    if (Format.NumChannels == 1 || (channel != 0 && channel != 1)) {
        std::memcpy(Samples.data() + FramesToBytes(first), in, FramesToBytes(count));
    } else {
        const std::uint16_t width = Format.BytesPerSample;
        for (std::uint64_t f = 0; f < count; ++f)
            std::memcpy(Samples.data() + SampleOffset(first + f, channel), in + f * width, width);
    }
    Modified = 1;
    return true;
}

bool TWaveData::ReadSamples(void* dest, std::uint64_t first, std::uint64_t count, int channel)
{
    return GetFrames(dest, first, count, channel);
}

bool TWaveData::GetSamples(std::int32_t* dest, std::uint64_t first, std::uint64_t count, int channel)
{
    if (dest == nullptr || !ReadSamples(dest, first, count, StoredChannel(channel)))
        return false;
    // The raw samples lie packed at the start of dest, at most four bytes
    // each: decoded from the last, each code lands at or beyond its own raw
    // bytes and past every sample still to be read.
    const auto* raw = reinterpret_cast<const std::uint8_t*>(dest);
    const std::uint16_t width = Format.BytesPerSample;
    for (std::uint64_t f = count; f-- > 0;)
        dest[f] = Format.ReadSample(raw + f * width) - Format.ZeroOffset;
    return true;
}

bool TWaveData::ReadData(void* dest, std::uint64_t bytes)
{
    const std::uint64_t position = Position;
    if (dest == nullptr || Samples.empty() || position >= NumFrames)
        return false;
    const std::uint64_t start = FramesToBytes(position);
    const std::uint64_t copied = std::min(bytes, SizeBytes - start);
    auto* out = static_cast<std::uint8_t*>(dest);
    std::memcpy(out, Samples.data() + start, copied);
    std::memset(out + copied, 0, bytes - copied);
    PlaceCursor(position + BytesToFrames(copied));
    return true;
}

bool TWaveData::WriteData(const void* src, std::uint64_t bytes)
{
    if (src == nullptr || Samples.empty() || WriteGate != 0)
        return false;
    const std::uint64_t position = Position;
    const std::uint64_t frames = std::min(BytesToFrames(bytes), NumFrames - position);
    std::memcpy(Samples.data() + FramesToBytes(position), src, FramesToBytes(frames));
    PlaceCursor(position + frames);
    Modified = 1;
    if (DataFrames < Position)
        DataFrames = Position.load();
    return true;
}

double TWaveData::GetSample(std::uint64_t frame, int channel, bool scaled) const
{
    if (Samples.empty() || frame >= NumFrames)
        return Format.ZeroOffset;
    return SampleValue(Samples.data() + SampleOffset(frame, StoredChannel(channel)), channel, scaled);
}

double TWaveData::SampleValue(const std::uint8_t* stored, int channel, bool scaled) const
{
    const std::int32_t value = Format.ReadSample(stored);
    if (scaled)
        return static_cast<float>((static_cast<double>(value) - Format.ZeroOffset) * GetUnitFactor(channel));
    return Format.BytesPerSample <= 2 ? value : static_cast<double>(value) - Format.ZeroOffset;
}

bool TWaveData::PutSample(std::int32_t value, std::uint64_t frame, int channel)
{
    if (Samples.empty() || frame >= NumFrames)
        return false;
    if (!WidthHolds(Format.BytesPerSample, value))
        return false;
    const int stored = StoredChannel(channel);
    const auto word = static_cast<std::uint32_t>(Format.EncodeSample(value));
    std::uint8_t* bytes = Samples.data() + SampleOffset(frame, stored);
    for (unsigned i = 0; i < Format.BytesPerSample; ++i)
        bytes[i] = static_cast<std::uint8_t>(word >> (8 * i));
    if (stored == 0 && Position < NumFrames)
        ++Position;
    if (DataFrames < Position)
        DataFrames = Position.load();
    Modified = 1;
    return true;
}

void TWaveData::Clear()
{
    if (!Samples.empty())
        std::memset(Samples.data(), SilenceByte(Format), Samples.size());
}
