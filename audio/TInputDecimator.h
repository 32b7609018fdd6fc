#pragma once
// Decimates the input stream block by block through the wave-data low-pass
// (the coefficients of TWaveData::DesignDecimationFilter, summed in the same
// order): each block is filtered behind the last filter-length frames of the
// stream before it, so the output equals decimating the whole stream at once,
// whatever the blocks' length: a block that is not a whole multiple of the
// ratio leaves its last few frames to the next block's first output (a
// driver buffer of 512 frames at a ratio of 6, for one). Only the new outputs
// are computed, from samples decoded once as they arrive.
//
// Built on the GUI thread before the stream starts; Process runs on the
// driver's thread and allocates nothing.

#include "audio/TWaveData.h"
#include "platform/ZeroFilledArray.h"

#include <cstdint>

class TInputDecimator {
public:
    // Makes the filter and the history for blocks of up to blockFrames
    // frames, unless they already suit the same ratio, taps, block and
    // format (then the history carries on). False when memory or the filter
    // could not be had.
    bool Build(std::int32_t ratio, std::int32_t taps, std::int32_t blockFrames, const TWaveFormat& format);
    bool IsBuilt() const { return !Coefficients.empty(); }

    // Filters the first `count` frames of block and leaves the decimated
    // frames that are due at its start: count / ratio, or one more when the
    // frames carried over from earlier blocks complete one; returns that number.
    std::int32_t Process(TWaveData& block, std::int32_t count);

private:
    platform::ZeroFilledArray<double> Coefficients;
    // Per channel: the last Taps frames of the stream, then the new block.
    platform::ZeroFilledArray<double> Stream[2];
    std::int32_t Ratio = 0;
    std::int32_t Taps = 0;
    std::int32_t BlockFrames = 0;
    // Where the next output's filter window starts in Stream, 0 … Ratio − 1:
    // the frames of the stream not yet consumed by an output.
    std::int32_t Phase = 0;
    TWaveFormat Format;
};
