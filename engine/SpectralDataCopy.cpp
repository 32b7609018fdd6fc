#include "engine/SpectralData.h"

#include <cstdint>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <emmintrin.h>
#endif

namespace {

// A copy that another thread reads later: large arrays bypass this core's
// caches (no read of the old destination lines, no eviction of the
// acquisition step's own arrays).
void CopyBytes(void* to, const void* from, std::size_t bytes)
{
#if defined(__x86_64__) || defined(__i386__)
    constexpr std::size_t kStreamFrom = 64 * 1024;
    if (bytes >= kStreamFrom) {
        auto* out = static_cast<unsigned char*>(to);
        const auto* in = static_cast<const unsigned char*>(from);
        const std::size_t head = (16 - reinterpret_cast<std::uintptr_t>(out) % 16) % 16;
        std::memcpy(out, in, head);
        std::size_t i = head;
        for (; i + 64 <= bytes; i += 64) {
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
            const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i + 16));
            const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i + 32));
            const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i + 48));
            _mm_stream_si128(reinterpret_cast<__m128i*>(out + i), a);
            _mm_stream_si128(reinterpret_cast<__m128i*>(out + i + 16), b);
            _mm_stream_si128(reinterpret_cast<__m128i*>(out + i + 32), c);
            _mm_stream_si128(reinterpret_cast<__m128i*>(out + i + 48), d);
        }
        std::memcpy(out + i, in + i, bytes - i);
        _mm_sfence();  // the writer thread reads the copy once the record is handed over
        return;
    }
#endif
    std::memcpy(to, from, bytes);
}

// Same size: copied in place; otherwise a new array of the source's size.
template <typename T>
bool CopyArray(platform::ZeroFilledArray<T>& to, const platform::ZeroFilledArray<T>& from)
{
    if (from.empty()) {
        to.Free();
        return true;
    }
    if ((to.size() != from.size() || to.capacity() != 0) && !to.Allocate(from.size()))
        return false;
    CopyBytes(static_cast<void*>(to.data()), from.data(), from.size() * sizeof(T));
    return true;
}

} // namespace

std::unique_ptr<SpectralData> SpectralData::NewCopyTarget()
{
    return std::unique_ptr<SpectralData>(new SpectralData());
}

// Every member but m_Block, the two rings and the transform's line
// correction: a member added to the class belongs here too when a readout
// or display value reads it.
bool SpectralData::CopyResultsTo(SpectralData& into)
{
    // Built here, on the owner's thread, so the copy never builds (or
    // fails to build, with a message) one of its own. A curve depends on the
    // lines alone and never changes once built: a copy over the same lines
    // keeps the one it has.
    for (int slot = 1; slot <= 3; ++slot)
        WeightingCurve(slot);
    const bool sameLines = into.m_Lines == m_Lines && into.m_LineSpacing == m_LineSpacing &&
                           into.m_FreqScaleType == m_FreqScaleType;
    const auto copyCurve = [sameLines](platform::ZeroFilledArray<float>& to,
                                       const platform::ZeroFilledArray<float>& from) {
        return (sameLines && to.size() == from.size() && to.empty() == from.empty()) || CopyArray(to, from);
    };

    into.m_Error = m_Error;
    into.m_Name = m_Name;
    into.m_AverageType = m_AverageType;
    into.m_AverageSpeed = m_AverageSpeed;
    into.m_AverageMode = m_AverageMode;
    into.m_AverageCount = m_AverageCount;
    into.m_LastBlockTime = m_LastBlockTime;
    into.m_BlocksAveraged = m_BlocksAveraged;
    into.m_RingIndex = m_RingIndex;
    into.m_FFTSize = m_FFTSize;
    into.m_HalfRange = m_HalfRange;
    into.m_Lines = m_Lines;
    into.m_BandCount = m_BandCount;
    into.m_Span = m_Span;
    into.m_LowerLimit = m_LowerLimit;
    into.m_UpperLimit = m_UpperLimit;
    into.m_LineSpacing = m_LineSpacing;
    into.m_AmpScaleType = m_AmpScaleType;
    into.m_FreqScaleType = m_FreqScaleType;
    into.m_OctaveNumber = m_OctaveNumber;
    into.m_StandardWeighting = m_StandardWeighting;
    into.m_TotalPowerWeighting = m_TotalPowerWeighting;
    into.m_WindowType = m_WindowType;
    into.m_ParzenBandwidthFactor = m_ParzenBandwidthFactor;
    into.m_DensityDivisor = m_DensityDivisor;
    into.m_DensityFlag = m_DensityFlag;
    into.m_DensityAmplitude = m_DensityAmplitude;
    into.m_Gain = m_Gain;
    into.m_Calibration = m_Calibration;
    into.m_PeakLine = m_PeakLine;
    into.m_HoldMode = m_HoldMode;
    into.m_TotalPower = m_TotalPower;
    into.m_LatestTotalPower = m_LatestTotalPower;
    into.m_HeldTotalPower = m_HeldTotalPower;
    into.m_HeldTotalPowerExpiry = m_HeldTotalPowerExpiry;
    into.m_IsRatio = m_IsRatio;
    into.m_IsTransfer = m_IsTransfer;
    into.m_IsCross = m_IsCross;
    into.m_IsCoherence = m_IsCoherence;
    into.m_AveragePass = m_AveragePass;
    into.m_PeakList = m_PeakList;
    into.m_PowerSums[0] = m_PowerSums[0];
    into.m_PowerSums[1] = m_PowerSums[1];

    const bool copied = CopyArray(into.m_AvgComplex, m_AvgComplex) && CopyArray(into.m_AvgPower, m_AvgPower) &&
                        CopyArray(into.m_AvgDb, m_AvgDb) && CopyArray(into.m_Bands, m_Bands) &&
                        CopyArray(into.m_BandLevels, m_BandLevels) &&
                        CopyArray(into.m_BandLineMap, m_BandLineMap) && CopyArray(into.m_Weighting, m_Weighting) &&
                        CopyArray(into.m_Compensation, m_Compensation) &&
                        CopyArray(into.m_LatestPower, m_LatestPower) && CopyArray(into.m_LatestDb, m_LatestDb) &&
                        CopyArray(into.m_LatestBandLevels, m_LatestBandLevels) && CopyArray(into.m_Hold, m_Hold) &&
                        copyCurve(into.m_CurveA, m_CurveA) && copyCurve(into.m_CurveB, m_CurveB) &&
                        copyCurve(into.m_CurveC, m_CurveC);
    if (!copied)
        into.m_Error = 1;
    return copied;
}
