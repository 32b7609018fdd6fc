#pragma once
// The input half of the shared port: each driver buffer is converted into
// the analysis format, decimated when the analysis rate is below 48000 Hz,
// appended to the ring and, while recording, to the recording file.
//
// Prepare and Build run on the GUI thread while the stream is stopped;
// Process runs on the driver's thread and allocates nothing; the ring's
// readers run on the GUI thread at any time.

#include "audio/TAsioSampleCodec.h"
#include "audio/TInputDecimator.h"
#include "audio/TInputRing.h"
#include "audio/TWaveData.h"

#include <cstdint>
#include <memory>

class TWaveFile;
struct TriggerOpts;

class TInputStream {
public:
    // Keeps the recording file (or null) and the trigger record, and makes
    // the ring anew for reads of n frames. False when the ring's memory
    // could not be had (the input still runs, without readers).
    bool Prepare(TWaveFile* recording, std::int32_t n, TriggerOpts* trigger, const TWaveFormat& format,
                 std::int32_t ratio);
    // The input block for driver buffers of bufferFrames frames and, when
    // decimating, the filter's buffers sized from the same real buffer.
    bool Build(std::int32_t bufferFrames, const TWaveFormat& format, std::int32_t ratio, std::int32_t taps);
    // Forgets the recording file, which its owner may free after a stop.
    void Release();

    // One buffer half per channel (slots[0] left, slots[1] right, null for
    // none) of the driver's sample size; returns the frames stored.
    std::int32_t Process(const std::uint8_t* const* slots, int channels, TAsioSampleCodec::SampleSize size);

    const TInputRing& GetRing() const { return Ring; }

private:
    void RecordInput(std::int32_t count);

    std::unique_ptr<TWaveData> Block;
    std::int32_t BufferFrames = 0;
    TWaveFormat Format;
    std::int32_t Ratio = 1;
    TInputDecimator Decimator;
    TInputRing Ring;
    TWaveFile* Recording = nullptr;
    TriggerOpts* Trigger = nullptr;
};
