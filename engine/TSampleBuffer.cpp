#include "engine/TSampleBuffer.h"

#include "format/SampleCodes.h"
#include "engine/SampleKernels.h"
#include "engine/TSmoothing.h"
#include "platform/SmallMaths.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

namespace {

// The rounded pi the filter has always been designed with, kept so the taps
// do not move by a rounding step between versions.
constexpr double kPiFilter = 3.141592654;

// DecimationFilterTaps stops growing at 10; clamping first keeps a huge
// unsigned ratio from turning negative in its signed parameter.
constexpr std::uint32_t kLongestFilterRatio = 10;

TChannelCalibration UncalibratedRecord()
{
    TChannelCalibration c;
    c.LoadUncalibratedDefaults();
    return c;
}

// The filter's Gibbs overshoot on a full-scale signal goes past what the
// format can hold; the sum is pinned to 32 bits here and to the format's own
// width by WriteSample, so such a peak flattens instead of wrapping to the
// opposite sign.
std::int32_t SaturateToInt32(double sum)
{
    constexpr double lowest = std::numeric_limits<std::int32_t>::min();
    constexpr double highest = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::clamp(std::trunc(sum), lowest, highest));
}

// Returns the largest distance of a stored code from the zero offset, so
// that the level meter needs no pass of its own; `copy`, when given, gets
// each stored sample as CopyAll reads it back, in the same pass.
template <unsigned Bytes>
std::int64_t PutAll(std::uint8_t* samples, const std::int32_t* values, std::uint32_t count, std::int32_t zeroOffset,
                    float* copy)
{
    std::int64_t peak = 0;
    std::uint32_t i = 0;
    if constexpr (Bytes == 3) {
        if (zeroOffset == 0)
            i = static_cast<std::uint32_t>(sample_kernels::PackCodes24(samples, values, count, peak, copy));
    }
    for (; i < count; ++i) {
        const std::uint32_t word = sample_codes::WordOf<Bytes>(values[i]);
        sample_codes::Store<Bytes>(samples + std::size_t{i} * Bytes, word);
        const std::int64_t difference = std::int64_t{sample_codes::CodeOfWord<Bytes>(word)} - zeroOffset;
        peak = std::max(peak, difference < 0 ? -difference : difference);
        if (copy != nullptr)
            copy[i] = static_cast<float>(static_cast<double>(difference));
    }
    return peak;
}

template <unsigned Bytes>
void CopyAll(const std::uint8_t* samples, std::int32_t zeroOffset, float* out, std::uint32_t count)
{
    std::uint32_t i = 0;
    if constexpr (Bytes == 3) {
        if (zeroOffset == 0)
            i = static_cast<std::uint32_t>(sample_kernels::UnpackCodes24(samples, out, count));
    }
    for (; i < count; ++i)
        out[i] = static_cast<float>(
            static_cast<double>(std::int64_t{sample_codes::Load<Bytes>(samples + std::size_t{i} * Bytes)} - zeroOffset));
}

template <unsigned Bytes>
std::int64_t PeakOf(const std::uint8_t* samples, std::int32_t zeroOffset, std::uint32_t count)
{
    std::int64_t peak = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::int64_t difference = std::int64_t{sample_codes::Load<Bytes>(samples + std::size_t{i} * Bytes)} - zeroOffset;
        peak = std::max(peak, difference < 0 ? -difference : difference);
    }
    return peak;
}

} // namespace

TSampleBuffer::TSampleBuffer(std::uint32_t count, const TWaveFormat& format, std::uint32_t ratio,
                             std::uint8_t lowPass)
    : Format(format), Count(count), Ratio(ratio), LowPass(lowPass)
{
    // A width the packing code cannot address gets the format's own fallback.
    if (Format.BytesPerSample < 1 || Format.BytesPerSample > 4)
        Format.Set(Format.SamplingRate, Format.NumChannels, Format.BytesPerSample);

    if (Ratio >= 2 && LowPass == 1 && !DesignFilter())
        ErrorFlag = 1;
    SetCalibration(nullptr);

    if (ErrorFlag == 0 && Count != 0 && Samples.Allocate(std::size_t{Count} * Format.BytesPerSample))
        Fill();
    else
        ErrorFlag = 1;
}

// Windowed-sinc low-pass with its cut-off at the decimated Nyquist frequency.
bool TSampleBuffer::DesignFilter()
{
    TapCount = static_cast<std::uint32_t>(
        DecimationFilterTaps(static_cast<std::int32_t>(std::min(Ratio, kLongestFilterRatio))));
    if (std::uint64_t{Count} + TapCount > std::numeric_limits<std::uint32_t>::max())
        return false;
    if (!Taps.Allocate(TapCount))
        return false;

    // The cut-off fc = (rate / 2) / ratio as an angle; the rate cancels, so a
    // format with no rate still gets a usable filter.
    const double wc = kPiFilter / Ratio;
    const std::uint32_t m = (TapCount - 1) / 2;
    Taps[m] = static_cast<float>(wc / kPiFilter);
    for (std::uint32_t i = m + 1; i < TapCount; ++i) {
        const double k = i - m;
        Taps[i] = static_cast<float>(std::sin(k * wc) / (k * kPiFilter));
        Taps[TapCount - 1 - i] = Taps[i];
    }

    const TSmoothing window(TapCount, smoothing::Hanning, smoothing::None);
    if (window.Failed()) {
        Taps.Free();
        return false;
    }
    window.ApplyWindow(Taps.data());
    Count += TapCount;
    return true;
}

void TSampleBuffer::SetCalibration(const TChannelCalibration* record)
{
    Calibration = record != nullptr ? *record : UncalibratedRecord();
    // HalfRange is 64-bit: a 4-byte format's span does not fit 32 bits.
    const double half = Format.HalfRange();
    if (half > 0)
        Calibration.CalRatio = static_cast<float>(Calibration.CalRatio / half);
}

void TSampleBuffer::PutSample(std::uint32_t index, std::uint32_t value)
{
    PeakKnown = false;
    if (ErrorFlag != 0 || index >= Count)
        return;
    if (Format.BytesPerSample >= 3)
        value = static_cast<std::uint32_t>(Format.EncodeSample(static_cast<std::int32_t>(value)));
    StoreLowBytes(index, value);
}

void TSampleBuffer::StoreLowBytes(std::uint32_t index, std::uint32_t word)
{
    std::uint8_t* bytes = GetSamplePtr(index);
    for (unsigned i = 0; i < Format.BytesPerSample; ++i)
        bytes[i] = static_cast<std::uint8_t>(word >> (8 * i));
}

std::int32_t TSampleBuffer::ReadCode(std::uint32_t index) const
{
    return Format.ReadSample(Samples.data() + std::size_t{index} * Format.BytesPerSample);
}

float TSampleBuffer::GetSample(std::uint32_t index, bool calibrated) const
{
    if (ErrorFlag != 0 || index >= Count)
        return static_cast<float>(Format.ZeroOffset);
    const auto difference = static_cast<double>(std::int64_t{ReadCode(index)} - Format.ZeroOffset);
    return static_cast<float>(calibrated ? difference * Calibration.CalRatio : difference);
}

std::uint8_t* TSampleBuffer::GetSamplePtr(std::uint32_t index)
{
    PeakKnown = false;
    if (ErrorFlag != 0 || index >= Count)
        return nullptr;
    return Samples.data() + std::size_t{index} * Format.BytesPerSample;
}

void TSampleBuffer::Fill()
{
    PeakKnown = false;
    if (Samples.empty())
        return;
    for (std::uint32_t i = 0; i < Count; ++i)
        Format.WriteSample(Samples.data() + std::size_t{i} * Format.BytesPerSample, Format.ZeroOffset);
}

void TSampleBuffer::PutSamples(const std::int32_t* values, std::uint32_t count, float* copy)
{
    PeakKnown = false;
    if (ErrorFlag != 0 || values == nullptr)
        return;
    count = std::min(count, Count);
    if (Ratio >= 2)
        copy = nullptr;
    const std::int32_t zero = Format.ZeroOffset;
    std::int64_t peak = 0;
    switch (Format.BytesPerSample) {
    case 1: peak = PutAll<1>(Samples.data(), values, count, zero, copy); break;
    case 2: peak = PutAll<2>(Samples.data(), values, count, zero, copy); break;
    case 3: peak = PutAll<3>(Samples.data(), values, count, zero, copy); break;
    default: peak = PutAll<4>(Samples.data(), values, count, zero, copy); break;
    }
    // A whole undecimated block: the meter's peak is known already.
    if (count == Count && Ratio < 2) {
        PeakValue = PeakLevel(peak);
        PeakKnown = true;
    }
}

void TSampleBuffer::CopySamples(float* out, std::uint32_t count) const
{
    if (out == nullptr)
        return;
    const std::uint32_t held = ErrorFlag != 0 ? 0 : std::min(count, Count);
    switch (Format.BytesPerSample) {
    case 1: CopyAll<1>(Samples.data(), Format.ZeroOffset, out, held); break;
    case 2: CopyAll<2>(Samples.data(), Format.ZeroOffset, out, held); break;
    case 3: CopyAll<3>(Samples.data(), Format.ZeroOffset, out, held); break;
    default: CopyAll<4>(Samples.data(), Format.ZeroOffset, out, held); break;
    }
    std::fill(out + held, out + count, static_cast<float>(Format.ZeroOffset));
}

void TSampleBuffer::Decimate()
{
    if (ErrorFlag != 0 || Ratio < 2)
        return;
    PeakKnown = false;
    if (HasFilter())
        DecimateFiltered();
    else
        DecimateByCopy();
}

// Output j only ever lands below the inputs still to be read, so the block
// can be decimated in place.
void TSampleBuffer::DecimateByCopy()
{
    const std::uint32_t outputs = Count / Ratio;
    for (std::uint32_t j = 1; j < outputs; ++j)
        std::memcpy(GetSamplePtr(j), GetSamplePtr(j * Ratio), Format.BytesPerSample);
}

// Codes are filtered as stored: the zero offset is a constant, which the
// filter's unit DC gain passes through unchanged.
void TSampleBuffer::DecimateFiltered()
{
    // The taps were added to the count, so the FFT-size outputs each have a
    // full window; the 64-bit bound also copes with a block of taps alone.
    const std::uint64_t end = std::uint64_t{Count} - TapCount;
    std::uint32_t j = 0;
    for (std::uint64_t p = 0; p + 1 < end; p += Ratio, ++j) {
        double sum = 0;
        for (std::uint32_t t = 0; t < TapCount; ++t)
            sum += ReadCode(static_cast<std::uint32_t>(p + t)) * static_cast<double>(Taps[t]);
        Format.WriteSample(GetSamplePtr(j), SaturateToInt32(sum));
    }
}

std::uint32_t TSampleBuffer::GetDecimatedLength() const
{
    if (Ratio < 2)
        return Count;
    return (HasFilter() ? Count - TapCount : Count) / Ratio;
}

std::int32_t TSampleBuffer::GetPeakValue() const
{
    if (ErrorFlag != 0)
        return 0;
    if (!PeakKnown) {
        PeakValue = MeasurePeak();
        PeakKnown = true;
    }
    return PeakValue;
}

std::int32_t TSampleBuffer::MeasurePeak() const
{
    // 64 bits: the most negative 16- or 32-bit code has no positive
    // counterpart in its own width.
    std::int64_t peak = 0;
    const std::uint32_t length = std::min(GetDecimatedLength(), Count);
    switch (Format.BytesPerSample) {
    case 1: peak = PeakOf<1>(Samples.data(), Format.ZeroOffset, length); break;
    case 2: peak = PeakOf<2>(Samples.data(), Format.ZeroOffset, length); break;
    case 3: peak = PeakOf<3>(Samples.data(), Format.ZeroOffset, length); break;
    default: peak = PeakOf<4>(Samples.data(), Format.ZeroOffset, length); break;
    }
    return PeakLevel(peak);
}

std::int32_t TSampleBuffer::PeakLevel(std::int64_t peak) const
{
    const std::int64_t range = std::int64_t{Format.MaxValue} - Format.ZeroOffset;
    peak = std::max<std::int64_t>(peak, 1);
    if (peak >= range - 1)
        return 100;
    return static_cast<std::int32_t>(std::log10(static_cast<double>(peak)) * 100.0 /
                                     std::log10(static_cast<double>(range)));
}
