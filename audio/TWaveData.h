#pragma once
// An in-memory buffer of interleaved PCM frames: the ports' blocks and ring,
// the recorder's recordings and the generator's waveforms all live in one.
//
// Counts are 64-bit: an hour at 192 kHz in stereo 24-bit is over 4 GB.
// The cursor, the counts, the flags and the write gate are atomics because
// the driver's thread appends recordings while the GUI thread shows their
// length and position; nothing else is guarded.
//
// PutSample refuses a value its width cannot hold rather than store a
// wrapped one; the filter's writes saturate, so an overdriven value stays at
// full scale rather than flipping sign.

#include <atomic>
#include <cstdint>

#include "format/TWaveFormat.h"
#include "platform/ZeroFilledArray.h"

class TWaveData {
public:
    // Channel argument of GetFrames/PutFrames that means whole frames.
    static constexpr int kAllChannels = 2;

    TWaveData();
    // The format is taken as given, without Set's corrections.
    TWaveData(std::uint64_t frames, const TWaveFormat& format);
    virtual ~TWaveData() = default;
    TWaveData(const TWaveData&) = delete;
    TWaveData& operator=(const TWaveData&) = delete;

    // 1 after an allocation or file failure; the object stays usable but empty.
    std::atomic<std::uint8_t> Failed{0};
    // 1 when the contents differ from what a file last held.
    std::atomic<std::uint8_t> Modified{1};
    // 0 open, 1 closed: a closed gate makes WriteData drop its data.
    std::atomic<std::uint8_t> WriteGate{0};

    void GetFormat(TWaveFormat& out) const { out = Format; }
    const TWaveFormat& GetFormat() const { return Format; }
    // Reinterprets the same bytes; counts and scale stay, and the unit
    // factors follow the new sample range.
    void SetFormat(const TWaveFormat& format);
    std::uint16_t GetChannels() const { return Format.NumChannels; }
    std::uint32_t GetSampleRate() const { return Format.SamplingRate; }
    std::uint16_t GetBytesPerSample() const { return Format.BytesPerSample; }

    // Physical units per full-scale sample, per channel; 0.0 stands for 2.0.
    void SetScale(float left, float right);
    float GetScale(int channel) const { return Scale[channel == 1 ? 1 : 0]; }
    float GetUnitFactor(int channel) const { return UnitFactor[channel == 1 ? 1 : 0]; }

    std::uint64_t GetNumFrames() const { return NumFrames; }
    std::uint64_t GetSizeBytes() const { return SizeBytes; }
    std::uint64_t GetPosition() const { return Position; }
    std::uint64_t GetDataFrames() const { return DataFrames; }
    std::uint8_t* GetBuffer() { return Samples.data(); }
    const std::uint8_t* GetBuffer() const { return Samples.data(); }

    std::uint64_t FramesToBytes(std::uint64_t frames) const;
    std::uint64_t BytesToFrames(std::uint64_t bytes) const;
    double FramesToSeconds(std::uint64_t frames) const;
    // Truncated toward zero; negative times are frame 0.
    std::uint64_t SecondsToFrames(double seconds) const;
    float GetLengthSeconds() const { return static_cast<float>(FramesToSeconds(NumFrames)); }
    float GetPositionSeconds() const { return static_cast<float>(FramesToSeconds(Position)); }
    float GetDataSeconds() const { return static_cast<float>(FramesToSeconds(DataFrames)); }
    // Where recording or playback stands: the cursor, never past the data.
    float GetCursorSeconds() const;

    // Each moves the cursor (clamped to 0 … NumFrames), places it through
    // PlaceCursor and returns it. SetPosition ignores a frame past the end.
    std::uint64_t SetPosition(std::uint64_t frame);
    std::uint64_t Rewind();
    std::uint64_t SeekEnd();
    std::uint64_t SeekDataEnd();
    std::uint64_t Advance(std::uint64_t frames);
    float SetPositionSeconds(double seconds);

    // Keeps the leading frames; added frames hold silence. A growing resize
    // that cannot get its memory returns false with everything unchanged.
    // Within a reserved capacity the samples stay where they are, so the
    // driver's thread may go on appending while the GUI thread grows them.
    bool Resize(std::uint64_t frames);
    // Moves the samples into room for `capacity` frames that Resize then
    // fills in place, memory being taken only as the frames are added.
    // False, with everything unchanged, when the room cannot be had.
    bool ReserveFrames(std::uint64_t capacity);
    std::uint64_t GetReservedFrames() const { return BytesToFrames(Samples.capacity()); }

    // Raw bytes of `count` frames from `first`: channel 0 or 1 of a stereo
    // buffer packed sample after sample, or whole frames (kAllChannels, and
    // always for mono). False when the range leaves the buffer.
    bool GetFrames(void* dest, std::uint64_t first, std::uint64_t count, int channel) const;
    bool PutFrames(const void* src, std::uint64_t first, std::uint64_t count, int channel);
    // GetFrames of whatever holds the frames: a streamed file reads its
    // working file, leaving the cursor where it was.
    virtual bool ReadSamples(void* dest, std::uint64_t first, std::uint64_t count, int channel);
    // One channel's codes of `count` frames from `first`, about the zero
    // offset (an 8-bit 127 reads 0); mono reads channel 1 as 0. False when
    // the range leaves the buffer or cannot be read. Allocates nothing
    // beyond what ReadSamples does.
    bool GetSamples(std::int32_t* dest, std::uint64_t first, std::uint64_t count, int channel);

    // Sequential bytes at the cursor, which then moves past the whole frames
    // moved. ReadData zero-fills what lies beyond the end; WriteData drops it.
    virtual bool ReadData(void* dest, std::uint64_t bytes);
    virtual bool WriteData(const void* src, std::uint64_t bytes);

    // One sample as its code (scaled: minus the zero offset, times the unit
    // factor); ZeroOffset when there is none. Mono reads channel 1 as 0.
    virtual double GetSample(std::uint64_t frame, int channel, bool scaled) const;
    // Stores the value's low bytes (3 and 4 bytes through EncodeSample);
    // writing channel 0 (mono: any) moves the cursor on by one, up to the
    // end. A value the width cannot hold stores nothing and gives false:
    // 8-bit takes −255 … 255 (−5 is stored as 251), 16-bit −32768 … 32767,
    // 24-bit −8388608 … 8388607.
    bool PutSample(std::int32_t value, std::uint64_t frame, int channel);
    // Silence throughout (127 for 8-bit, 0 otherwise).
    void Clear();

    // Hanning-windowed sinc low-pass cutting at the Nyquist frequency of the
    // decimated rate; ratios below 2 keep the filter as it was.
    void DesignDecimationFilter(std::uint32_t ratio);
    // Filters each channel and packs every ratio-th output at the buffer's
    // start; returns the number of frames produced. Needs a designed filter
    // and more than FilterTaps + 1 frames.
    std::uint64_t FilterAndDecimate(std::uint32_t ratio);
    std::int32_t GetFilterTaps() const { return FilterTaps; }
    const float* GetFilterCoefficients() const { return FilterCoefficients.data(); }

protected:
    // Moves the cursor to `frame`; a file-backed buffer moves its file too.
    virtual void PlaceCursor(std::uint64_t frame) { Position = frame; }

    // Drops the samples and the counts (a failed file read).
    void ReleaseSamples();
    // Byte offset of a sample inside the buffer.
    std::uint64_t SampleOffset(std::uint64_t frame, int channel) const;
    // The stored channel a request reads or writes: 1 only in stereo.
    int StoredChannel(int channel) const { return channel == 1 && Format.NumChannels == 2 ? 1 : 0; }
    // What GetSample answers for the stored bytes of one sample.
    double SampleValue(const std::uint8_t* stored, int channel, bool scaled) const;

    platform::ZeroFilledArray<std::uint8_t> Samples;
    TWaveFormat Format;
    std::atomic<std::uint64_t> SizeBytes{0};
    std::atomic<std::uint64_t> NumFrames{0};
    std::atomic<std::uint64_t> Position{0};
    std::atomic<std::uint64_t> DataFrames{0};
    float Scale[2] = {1.0f, 1.0f};
    float UnitFactor[2] = {};
    std::int32_t FilterTaps = 0;
    platform::ZeroFilledArray<float> FilterCoefficients;
};
