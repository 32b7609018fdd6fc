#pragma once
// The input ring buffer: about ten seconds of samples in the analysis format,
// filled block by block on the driver's thread and read on the GUI thread,
// which takes the latest block rather than the oldest unread one.
//
// The only hand-over between the two threads. The driver's thread writes a
// block's samples first and then publishes the write index and fill count
// together with one release store; a reader's acquire load of that pair makes
// every sample behind the write index visible. The reader never touches the
// frames the driver is writing: it stays at least one frame behind the
// published write index, and the ring is at least twenty reads long.

#include "audio/TWaveData.h"

#include <atomic>
#include <cstdint>
#include <memory>

class TInputRing {
public:
    // Sizes the ring for reads of `requested` frames at the format's rate
    // with decimation ratio `ratio`, allocates it silent and empties it.
    // False when the memory could not be had: the ring is then absent,
    // stores only count frames and every read is refused.
    bool Prepare(std::int32_t requested, const TWaveFormat& format, std::int32_t ratio);

    // Driver's thread: appends `count` frames of `block`, aligning them to
    // the ring's format when the block's differs, and publishes them.
    void Store(const TWaveData& block, std::int32_t count);

    // GUI thread: the latest n frames of each channel whose array is given,
    // oldest first, as sign-extended codes. The read ends one block behind
    // the write index, moved on by the time since the last buffer arrived.
    // Refused before any buffer ever arrived, without a ring, with fewer than
    // n frames held, and when more than one block's time has passed without
    // a buffer.
    bool ReadLatest(std::int32_t n, std::int32_t* left, std::int32_t* right) const;

    // Frames held, 0 up to the ring size.
    std::int32_t GetSamplesAvailable() const { return Unpack(Published.load(std::memory_order_acquire)).Fill; }
    // Frames stored since Prepare, counting on past a full ring: a reader
    // that saw the same count before has nothing new to read.
    std::uint64_t GetFramesDelivered() const { return Delivered.load(std::memory_order_acquire); }
    std::int32_t GetWriteIndex() const { return Unpack(Published.load(std::memory_order_acquire)).Write; }
    std::int32_t GetRingSize() const { return RingSize; }
    // The read distance in frames (m_NumInputDataBufferSamples).
    std::int32_t GetBlock() const { return Block; }
    bool HasSamples() const { return Samples != nullptr; }
    const TWaveFormat& GetFormat() const { return Format; }

    // The block length for a request at a rate and ratio.
    static std::int32_t BlockFor(std::uint32_t rate, std::int32_t requested, std::int32_t ratio);

    // Process-wide millisecond time of the last buffer that arrived; 0 until
    // the first one ever. Stamped on the driver's thread before its block is
    // stored.
    static void StampArrival();
    static std::uint32_t LastArrivalTime() { return LastArrival.load(std::memory_order_acquire); }

private:
    struct Position {
        std::int32_t Write = 0;
        std::int32_t Fill = 0;
    };
    static std::uint64_t Pack(Position position);
    static Position Unpack(std::uint64_t packed);

    void CopyIn(const TWaveData& block, std::int32_t first, std::int32_t at, std::int32_t count);
    // Frames first … first+count−1 of the ring (no wrap) into the arrays given.
    void CopyFrames(std::int64_t first, std::int64_t count, std::int32_t* left, std::int32_t* right) const;

    std::unique_ptr<TWaveData> Samples;
    TWaveFormat Format;
    std::int32_t RingSize = 0;
    std::int32_t Block = 0;
    // Write index (low half) and fill count (high half), published as one.
    std::atomic<std::uint64_t> Published{0};
    std::atomic<std::uint64_t> Delivered{0};

    static std::atomic<std::uint32_t> LastArrival;
};
