#include "engine/SpectralData.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "engine/CompensationFile.h"
#include "engine/TCubicSpline.h"
#include "engine/TSmoothing.h"
#include "engine/WeightingTables.h"
#include "platform/MessageBox.h"

namespace {

constexpr const char* kWorkingMemoryMessage =
    "SpectralData - Insufficient memory available for working memory";
constexpr double kPi = 3.141592654;
constexpr double kPeakToRms = 0.70710677;
constexpr float kCurveLimitDb = 240.0f;
// Standard gravity in ft/s²: accelerometers calibrated in g read in ft/s²,
// in/s², mm/s², mil/s² or µin/s².
constexpr double kGravityFeet = 32.174;

double ConversionFactor(std::uint32_t conversionType)
{
    switch (conversionType) {
    case 1: case 4: return kGravityFeet;
    case 2: case 5: return 12.0 * kGravityFeet;
    case 3: case 6: return 304.8 * kGravityFeet;
    case 7: case 8: return 1000.0 * 12.0 * kGravityFeet;
    case 9: case 10: return 1.0e6 * 12.0 * kGravityFeet;
    default: return 1.0;
    }
}

// The factor common to every line. A zero scale (no sample range, no line
// spacing under density) gives 0 rather than inf: the lines then read as no
// value instead of poisoning averages with inf and NaN.
double CorrectionBase(double gain, double scale, std::uint32_t labelType)
{
    if (!(scale > 0.0))
        return 0.0;
    double base = gain / scale;
    if (labelType == 1)
        base *= kPeakToRms;
    else if (labelType == 2)
        base *= 2.0;
    return std::isfinite(base) ? base : 0.0;
}

// dB to amplitude factors; a factor of exactly 0 would zero the line (or be
// divided by), so it counts as 1.
void DbToFactors(const float* dB, float* factors, std::uint32_t count)
{
    for (std::uint32_t i = 0; i < count; ++i) {
        const float f = static_cast<float>(std::pow(10.0, dB[i] / 20.0));
        factors[i] = f == 0.0f ? 1.0f : f;
    }
}

} // namespace

void SpectralData::SetCalibration(const TChannelCalibration* record)
{
    if (record != nullptr && record->IsEnabled != 0) {
        m_Calibration = *record;
        // Records from files need not end their labels; readers of ours rely on it.
        m_Calibration.LabelLinear[kLabelLength - 1] = '\0';
        m_Calibration.LabelLog[kLabelLength - 1] = '\0';
        m_Gain = static_cast<float>(record->CalRatio * ConversionFactor(record->ConversionType));
    } else {
        m_Calibration.LoadUncalibratedDefaults();
        m_Gain = 1.0f;
    }
    UpdateCorrection();
}

void SpectralData::UpdateCorrection()
{
    RenewCorrectionStamp();
    if (m_Correction.empty())
        return;
    const double scale = double(m_FFTSize) * m_HalfRange * m_DensityDivisor;
    const double base = CorrectionBase(m_Gain, scale, m_Calibration.LabelType);
    const std::uint32_t integration = m_Calibration.IntegrationType;
    const std::size_t lines = std::min<std::size_t>(m_Lines, m_Correction.size());
    const float* weighting = m_Weighting.size() >= lines ? m_Weighting.data() : nullptr;
    const float* compensation = m_Compensation.size() >= lines ? m_Compensation.data() : nullptr;

    for (std::size_t i = 0; i < lines; ++i) {
        double c = base;
        if (weighting != nullptr)
            c *= weighting[i];
        if (compensation != nullptr && compensation[i] != 0.0f)
            c /= compensation[i];
        const double f = double(i) * m_LineSpacing;
        // Line 0 (DC) has nothing to integrate.
        if (f > 0.0001 && (integration == 1 || integration == 2)) {
            const double w = 2.0 * kPi * f;
            c /= integration == 1 ? w : w * w;
        }
        m_Correction[i] = static_cast<float>(c);
    }
}

bool SpectralData::BuildWeightingCurve(platform::ZeroFilledArray<float>& curve, int code)
{
    curve.Free();
    const weighting::Table table = weighting::ForCode(code);
    if (table.Count == 0)
        return true;
    if (m_Lines == 0)
        return false;
    platform::ZeroFilledArray<float> work;
    if (!curve.Allocate(m_Lines) || !work.Allocate(m_Lines)) {
        curve.Free();
        Fail(kWorkingMemoryMessage);
        return false;
    }
    InterpolateTable(table.Points, table.Count, work.data(), false);
    DbToFactors(work.data(), curve.data(), m_Lines);
    return true;
}

bool SpectralData::LoadCompensation(const char* path, bool enable)
{
    m_Compensation.Free();
    bool loaded = false;
    if (enable && path != nullptr && *path != '\0' && m_Lines > 0) {
        platform::ZeroFilledArray<float> work;
        if (!m_Compensation.Allocate(m_Lines) || !work.Allocate(m_Lines)) {
            m_Compensation.Free();
            Fail(kWorkingMemoryMessage);
            return false;
        }
        loaded = ReadCompensationFile(path, work.data());
        if (loaded)
            DbToFactors(work.data(), m_Compensation.data(), m_Lines);
        else
            m_Compensation.Free();
    }
    // Also when the curve was dropped, so no stale compensation stays in the lines.
    UpdateCorrection();
    return loaded;
}

bool SpectralData::ReadCompensationFile(const char* path, float* dbPerLine)
{
    CompensationFile file;
    if (!file.Read(path)) {
        platform::ShowMessageBox(file.Message(), platform::MessageIcon::Error);
        return false;
    }
    InterpolateTable(file.Points(), file.Count(), dbPerLine, file.Linear());
    return true;
}

void SpectralData::InterpolateTable(const float* table, std::uint32_t count, float* out,
                                    bool linear) const
{
    if (count == 0 || table == nullptr || out == nullptr || m_Lines == 0)
        return;
    const float firstValue = table[1];
    const float lastValue = table[2 * count - 1];
    // Without a line spacing every line sits at 0 Hz, below the table.
    if (!(m_LineSpacing > 0.0f)) {
        std::fill(out, out + m_Lines, firstValue);
        return;
    }
    const std::uint32_t first = FrequencyToBin(table[0]);
    const std::uint32_t last = FrequencyToBin(table[2 * (count - 1)]);
    std::fill(out, out + first + 1, firstValue);
    std::fill(out + last, out + m_Lines, lastValue);
    if (last <= first + 1)
        return;
    const TCubicSpline spline(table, count, linear ? TCubicSpline::kStraightLines : TCubicSpline::kCubic);
    for (std::uint32_t i = first + 1; i < last; ++i)
        out[i] = std::clamp(spline.Evaluate(BinToFrequency(i)), -kCurveLimitDb, kCurveLimitDb);
}

float SpectralData::GetWindowBandwidthFactor() const
{
    // Spectral density is already per hertz: no bandwidth to take out.
    if (m_DensityFlag)
        return 1.0f;
    // Parzen's is measured on its table, as its scaling factors are.
    if (m_WindowType == smoothing::Parzen)
        return m_ParzenBandwidthFactor;
    // log10 of each window's equivalent noise bandwidth in lines, by window
    // type (Parzen's entry is not used).
    constexpr double kLogBandwidth[] = {0.125, 0.23804, 0.534, 0.1335, 0.1755, 0.36,
                                        0.0,   0.125,   0.0,   0.45,   0.0,    0.3};
    if (m_WindowType >= std::size(kLogBandwidth))
        return 1.0f;
    return static_cast<float>(std::pow(10.0, -kLogBandwidth[m_WindowType]));
}
