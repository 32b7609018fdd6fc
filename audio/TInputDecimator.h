#pragma once
// Decimates the input stream block by block through the wave-data low-pass
// (the coefficients of TWaveData::DesignDecimationFilter, summed in the same
// order): each block is filtered behind the last filter-length frames of the
// stream before it, so the output equals decimating the whole stream at once
// (as long as the blocks hold a whole multiple of the ratio). Only the new
// outputs are computed, from samples decoded once as they arrive.
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

    // Filters the first `count` frames of block and leaves count / ratio
    // decimated frames at its start; returns that number.
    std::int32_t Process(TWaveData& block, std::int32_t count);

private:
    platform::ZeroFilledArray<double> Coefficients;
    // Per channel: the last Taps frames of the stream, then the new block.
    platform::ZeroFilledArray<double> Stream[2];
    std::int32_t Ratio = 0;
    std::int32_t Taps = 0;
    std::int32_t BlockFrames = 0;
    TWaveFormat Format;
};
