#include "engine/SpectralData.h"

#include <cstring>

#include <algorithm>
#include <atomic>
#include <cmath>

#include "engine/LineKernels.h"
#include "engine/TFFT.h"
#include "engine/TSmoothing.h"
#include "platform/MessageBox.h"

namespace {
constexpr const char* kWorkingMemoryMessage =
    "SpectralData - Insufficient memory available for working memory";
}

SpectralData::SpectralData(const TProcessingSettings& settings, const ScalingOpts& scaling,
                           int channel, bool loadCompensation)
{
    m_HalfRange = static_cast<float>(settings.Format.HalfRange());
    m_FFTSize = settings.FFTsize;
    // A size the transform cannot take leaves an inert object rather than
    // a transform that never finishes.
    if (!TFFT::IsValidSize(m_FFTSize)) {
        m_Error = 1;
        return;
    }

    m_Lines = m_FFTSize / 2;
    const double decimation = std::max<std::uint16_t>(settings.DecimationRatio, 1);
    m_Span = static_cast<float>(settings.Format.SamplingRate * double(settings.SpanFraction) / 2.0 /
                                decimation);
    m_LineSpacing = m_Span / static_cast<float>(m_Lines);
    m_LowerLimit = 3.0f * m_LineSpacing;
    m_UpperLimit = 0.99f * m_Span;

    SetCalibration(nullptr);

    const int c = TProcessingSettings::ClampChannel(channel);
    m_AverageType = settings.AverageType[c];
    m_AverageSpeed = settings.AverageSpeed[c];
    m_AverageMode = settings.AverageMode[c];
    m_AverageCount = static_cast<float>(settings.AverageBlocks[c]);
    m_BlocksAveraged = 0;
    ResetAveraging();
    m_LastBlockTime = 0.0;

    m_WindowType = settings.SmoothingWindow;
    if (m_WindowType == smoothing::Parzen) {
        const TSmoothing parzen(m_FFTSize, smoothing::Parzen, smoothing::None);
        m_ParzenBandwidthFactor = static_cast<float>(1.0 / parzen.NoiseBandwidthLines());
    }
    m_PeakLine = 0;
    m_HoldMode = 0;
    m_TotalPower = m_LatestTotalPower = m_HeldTotalPower = kNoValue;
    m_HeldTotalPowerExpiry = 0.0;

    SetScaling(scaling, loadCompensation);
    AllocateArrays();
    UpdateCorrection();
}

void SpectralData::Fail(const char* message)
{
    platform::ShowMessageBox(message, platform::MessageIcon::Error);
    m_Error = 1;
}

bool SpectralData::Allocate(platform::ZeroFilledArray<float>& array, std::size_t count)
{
    if (array.Allocate(count))
        return true;
    Fail(kWorkingMemoryMessage);
    return false;
}

void SpectralData::FillNoValue(platform::ZeroFilledArray<float>& array)
{
    std::fill(array.data(), array.data() + array.size(), kNoValue);
}

void SpectralData::AllocateArrays()
{
    const std::size_t L = m_Lines;
    RenewCorrectionStamp();
    if (!Allocate(m_Block, m_FFTSize) || !Allocate(m_AvgComplex, 2 * L) ||
        !Allocate(m_AvgPower, L) || !Allocate(m_LatestPower, L) || !Allocate(m_Correction, L))
        return;
    if (m_AmpScaleType == ScalingOpts::kLogarithmic) {
        if (!Allocate(m_AvgDb, L) || !Allocate(m_LatestDb, L))
            return;
        FillNoValue(m_AvgDb);
        FillNoValue(m_LatestDb);
    }

    if (!IsOctaveMode()) {
        if (!m_Hold.Allocate(L)) {
            Fail(kWorkingMemoryMessage);
            return;
        }
        std::fill(m_Hold.data(), m_Hold.data() + L, THoldEntry{kNoValue, 0.0});
        return;
    }

    BuildOctaveBands();
    BuildBandLineMap();
    if (m_Error || m_BandCount == 0)
        return;
    if (!Allocate(m_BandLevels, m_BandCount) || !Allocate(m_LatestBandLevels, m_BandCount))
        return;
    FillNoValue(m_BandLevels);
    FillNoValue(m_LatestBandLevels);
    if (!m_Hold.Allocate(m_BandCount)) {
        Fail(kWorkingMemoryMessage);
        return;
    }
    std::fill(m_Hold.data(), m_Hold.data() + m_BandCount, THoldEntry{kNoValue, 0.0});
}

void SpectralData::SetScaling(const ScalingOpts& scaling, bool loadCompensation)
{
    m_AmpScaleType = scaling.AmpScaleType;
    m_FreqScaleType = scaling.FreqScaleType;
    m_OctaveNumber = scaling.OctaveNumber;
    m_StandardWeighting = scaling.StandardWeighting;
    m_TotalPowerWeighting = scaling.TotalPowerWeighting;

    if (loadCompensation)
        LoadCompensation(scaling.MicCompFilename, scaling.MicCompEnable != 0);
    BuildWeightingCurve(m_Weighting, m_StandardWeighting);
    // Sums taken with the old display weighting no longer hold.
    m_PowerSums[0] = m_PowerSums[1] = TPowerSums{};

    m_DensityFlag = scaling.SpectralDensityFlag;
    m_DensityAmplitude = scaling.SpectralDensityType != 0 ? 1 : 0;
    m_DensityDivisor = (m_DensityFlag && !IsOctaveMode()) ? std::sqrt(m_LineSpacing) : 1.0f;
    UpdateCorrection();
}

void SpectralData::SetName(const char* name)
{
    if (name == nullptr || *name == '\0') {
        m_Name = "Spectrum";
        return;
    }
    m_Name.assign(name, std::min(std::char_traits<char>::length(name), kNameLength - 1));
}

void SpectralData::SetValue(std::uint32_t index, float value)
{
    if (index < m_Block.size())
        m_Block[index] = value;
}

void SpectralData::ComputeSpectrum()
{
    if (m_Block.empty())
        return;
    TFFT(m_FFTSize).Forward(m_Block.data());
    if (m_Correction.empty())
        return;
    line_kernels::ScalePairsInPlace(m_Block.data(), m_Correction.data(), m_Lines);
}

bool SpectralData::TransformsLike(const SpectralData& other) const
{
    if (m_Error || other.m_Error || m_Block.empty() || m_FFTSize != other.m_FFTSize
        || m_Block.size() != other.m_Block.size() || m_Correction.size() != other.m_Correction.size())
        return false;
    if (m_Correction.empty())
        return true;
    // The run loop asks every step; the corrections change only with the settings.
    if (m_CorrectionStamp != 0 && other.m_CorrectionStamp != 0 && m_LikeStamps[0] == m_CorrectionStamp
        && m_LikeStamps[1] == other.m_CorrectionStamp)
        return m_LikeResult;
    m_LikeResult =
        std::memcmp(m_Correction.data(), other.m_Correction.data(), m_Correction.size() * sizeof(float)) == 0;
    m_LikeStamps[0] = m_CorrectionStamp;
    m_LikeStamps[1] = other.m_CorrectionStamp;
    return m_LikeResult;
}

void SpectralData::RenewCorrectionStamp()
{
    static std::atomic<std::uint64_t> issued{0};
    m_CorrectionStamp = issued.fetch_add(1, std::memory_order_relaxed) + 1;
}

void SpectralData::CopyTransformFrom(const SpectralData& other)
{
    if (&other == this || m_Block.empty() || other.m_Block.size() != m_Block.size())
        return;
    std::memcpy(m_Block.data(), other.m_Block.data(), m_Block.size() * sizeof(float));
}

std::uint32_t SpectralData::FrequencyToBin(float frequency) const
{
    if (m_Lines == 0 || !(frequency >= 0.0f) || !(m_LineSpacing > 0.0f))
        return 0;
    if (frequency > m_Span)
        return m_Lines - 1;
    const double line = std::trunc(double(frequency) / m_LineSpacing + 0.5);
    return static_cast<std::uint32_t>(std::min(line, double(m_Lines - 1)));
}

float SpectralData::BinToFrequency(std::uint32_t line) const
{
    return line < m_Lines ? static_cast<float>(line) * m_LineSpacing : m_Span;
}

float SpectralData::GetBinFrequency(std::uint32_t index) const
{
    return IsOctaveMode() ? GetBandCenter(index) : BinToFrequency(index);
}

std::uint32_t SpectralData::GetBinIndex(float frequency) const
{
    return IsOctaveMode() ? FrequencyToBand(frequency) : FrequencyToBin(frequency);
}

float SpectralData::GetStartFrequency() const
{
    return IsOctaveMode() ? GetBandLowerEdge(GetFirstBand()) : m_LowerLimit;
}

float SpectralData::GetEndFrequency() const
{
    return IsOctaveMode() ? GetBandUpperEdge(GetLastBand()) : m_UpperLimit;
}

std::uint32_t SpectralData::GetStartBin() const
{
    return IsOctaveMode() ? GetFirstBand() : FrequencyToBin(m_LowerLimit);
}

std::uint32_t SpectralData::GetEndBin() const
{
    return IsOctaveMode() ? GetLastBand() : FrequencyToBin(m_UpperLimit);
}

void SpectralData::ClearSpectrum()
{
    m_BlocksAveraged = 0;
    m_Block.Clear();
    m_AvgComplex.Clear();
    m_AvgPower.Clear();
    FillNoValue(m_AvgDb);
    FillNoValue(m_BandLevels);
    for (auto& slot : m_RingPower)
        slot.Clear();
    for (auto& slot : m_RingComplex)
        slot.Clear();
    m_TotalPower = kNoValue;
    ++m_AveragePass;
}

void SpectralData::Reset()
{
    ClearSpectrum();
    ClearHold();
}
