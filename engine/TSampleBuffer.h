#pragma once
// One channel's block of raw PCM codes on its way from the input ring buffer
// to the spectral-data objects: optionally decimated (through a windowed-sinc
// low-pass when asked), read back as code minus zero offset, and measured for
// its peak level in logarithmic percent of full scale.
//
// Samples stay packed in the analysis format rather than widened to int or
// float, because playback and the calibration measurement copy whole wave
// blocks straight into the memory GetSamplePtr hands out.

#include "format/TChannelCalibration.h"
#include "format/TWaveFormat.h"
#include "platform/ZeroFilledArray.h"

#include <cstdint>

class TSampleBuffer {
public:
    // count is the FFT size times the ratio; the low-pass filter's taps are
    // added to it when ratio ≥ 2 and lowPass is 1, so the filter sees a full
    // window behind every output sample. A count of 0 or memory that cannot
    // be had leaves HasFailed() true (no message) and every operation idle.
    TSampleBuffer(std::uint32_t count, const TWaveFormat& format, std::uint32_t ratio, std::uint8_t lowPass);

    // Copies the record, or sets the uncalibrated defaults when there is
    // none; either way CalRatio then becomes a factor per sample code.
    void SetCalibration(const TChannelCalibration* record);

    // 1- and 2-byte formats keep the value's low bytes as they are (callers
    // pass either signed values or raw codes); wider formats encode it first.
    void PutSample(std::uint32_t index, std::uint32_t value);
    // PutSample of values[0 … count−1] into indices 0 … count−1 (count cut
    // to the buffer's): the per-block path from the input ring. A buffer
    // that does not decimate also writes what CopySamples(copy, count)
    // would then give into `copy` (when given) in the same pass, so the
    // block reaches the transform's buffer without a second pass.
    void PutSamples(const std::int32_t* values, std::uint32_t count, float* copy = nullptr);
    bool Decimates() const { return Ratio >= 2; }
    // Code minus zero offset, times the converted CalRatio when calibrated.
    // Answers the zero-offset code without memory or past the count.
    float GetSample(std::uint32_t index, bool calibrated) const;
    // GetSample(i, false) into out[i] for i < count: the zero-offset code
    // past the buffer's count or without memory.
    void CopySamples(float* out, std::uint32_t count) const;
    // nullptr without memory or past the count.
    std::uint8_t* GetSamplePtr(std::uint32_t index);

    // Silence: the zero-offset code everywhere.
    void Fill();
    // In place; the first GetDecimatedLength() samples then hold the result.
    void Decimate();
    std::uint32_t GetDecimatedLength() const;
    // 0 … 100; 100 from one code below full scale.
    std::int32_t GetPeakValue() const;

    bool HasFailed() const { return ErrorFlag != 0; }
    std::uint32_t GetCount() const { return Count; }
    const TWaveFormat& GetFormat() const { return Format; }
    const TChannelCalibration& GetCalibration() const { return Calibration; }

private:
    bool HasFilter() const { return !Taps.empty(); }
    bool DesignFilter();
    void DecimateByCopy();
    void DecimateFiltered();
    std::int32_t ReadCode(std::uint32_t index) const;
    std::int32_t MeasurePeak() const;
    // A code's largest distance from the zero offset as the meter's level.
    std::int32_t PeakLevel(std::int64_t peak) const;
    void StoreLowBytes(std::uint32_t index, std::uint32_t word);

    std::uint8_t ErrorFlag = 0;
    TWaveFormat Format;
    platform::ZeroFilledArray<std::uint8_t> Samples;
    std::uint32_t Count;
    TChannelCalibration Calibration;
    std::uint32_t Ratio;
    std::uint8_t LowPass;
    std::uint32_t TapCount = 99;
    platform::ZeroFilledArray<float> Taps;
    // The status bar asks for the peak on every timer tick, the block
    // changes once per step: the peak is kept until the samples change.
    mutable std::int32_t PeakValue = 0;
    mutable bool PeakKnown = false;
};
