#include "engine/SpectralData.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "engine/DbConversions.h"

namespace {

using Label = char[TChannelCalibration::kLabelSize];

// dB of one calibrated unit: Pa re 20 µPa, Pa re 1 µPa, the hydrophone
// reference, V in dBu; other units are plain dB re 1.
double UnitOffsetDb(std::uint32_t refUnits)
{
    switch (refUnits) {
    case 2: case 8: return 93.9794;
    case 10: case 11: return 120.0;
    case 9: return 170.752;
    case 7: return 2.213966;
    default: return 0.0;
    }
}

// Back from the unit's dB to the unit: the inverse of UnitOffsetDb.
double DbToUnit(double dB, std::uint32_t refUnits)
{
    const double a = db::DbToAmplitude(dB);
    switch (refUnits) {
    case 2: case 8: return 20.0e-6 * a;
    case 10: case 11: return a / 1.0e6;
    case 9: return 2.9 * a / 1.0e9;
    case 7: return 0.775 * a;
    default: return a;
    }
}

bool IsSoundPressure(std::uint32_t refUnits)
{
    return refUnits == 2 || refUnits == 8 || refUnits == 10 || refUnits == 11;
}

// −999.9 marks a value that does not exist; offsets must not turn it into
// one that seems to.
bool HasValue(float dB) { return dB > SpectralData::kNoValue; }

float RootOrZero(double power) { return power > 0.0 ? static_cast<float>(std::sqrt(power)) : 0.0f; }

const platform::ZeroFilledArray<float>& Pick(const platform::ZeroFilledArray<float>& latest,
                                             const platform::ZeroFilledArray<float>& averaged,
                                             bool wantLatest)
{
    return wantLatest && !latest.empty() ? latest : averaged;
}

void AddDb(float& value, float dB)
{
    if (HasValue(value))
        value += dB;
}

void AddDb(platform::ZeroFilledArray<float>& values, std::size_t first, std::size_t last, float dB)
{
    for (std::size_t i = first; i <= last && i < values.size(); ++i)
        AddDb(values[i], dB);
}

void AddDb(platform::ZeroFilledArray<THoldEntry>& hold, std::size_t first, std::size_t last, float dB)
{
    for (std::size_t i = first; i <= last && i < hold.size(); ++i)
        AddDb(hold[i].Value, dB);
}

void Scale(platform::ZeroFilledArray<float>& values, float factor)
{
    std::for_each(values.data(), values.data() + values.size(), [factor](float& v) { v *= factor; });
}

// Cut to fit with its terminator; a source with none in its 60 characters
// (records from files) is cut there too. A missing label leaves the old one.
void CopyLabel(Label& to, const char* from)
{
    if (from != nullptr)
        TChannelCalibration::SetText(to, from);
}

} // namespace

float SpectralData::GetUnitOffsetDb() const
{
    return IsCalibrated() && !IsFunctionObject()
               ? static_cast<float>(UnitOffsetDb(m_Calibration.RefUnits))
               : 0.0f;
}

float SpectralData::GetValue(std::uint32_t index, bool latest) const
{
    const bool dB = m_AmpScaleType == ScalingOpts::kLogarithmic;
    const bool ownUnits = IsCalibrated() && !IsFunctionObject();
    const bool percent = !IsCalibrated() && !IsCoherence();

    if (IsOctaveMode()) {
        const auto& levels = Pick(m_LatestBandLevels, m_BandLevels, latest);
        if (index >= m_BandCount || index >= levels.size())
            return 0.0f;
        float v = levels[index];
        if (ownUnits)
            AddDb(v, GetUnitOffsetDb());
        if (dB && !IsCoherence())
            return v;
        if (ownUnits)
            return static_cast<float>(DbToUnit(v, m_Calibration.RefUnits));
        return static_cast<float>(db::DbToAmplitude(v) * (percent ? 100.0 : 1.0));
    }

    const auto& power = Pick(m_LatestPower, m_AvgPower, latest);
    if (index >= m_Lines || index >= power.size())
        return 0.0f;
    const double p = power[index];

    if (!dB) {
        const float v = (m_DensityFlag && !m_DensityAmplitude) ? static_cast<float>(p) : RootOrZero(p);
        return percent ? v * 100.0f : v;
    }

    float v = 0.0f;
    if (m_DensityFlag) {
        v = db::PowerToDb(p);
    } else {
        const auto& levels = Pick(m_LatestDb, m_AvgDb, latest);
        if (index >= levels.size())
            return 0.0f;
        v = levels[index];
    }
    if (ownUnits)
        AddDb(v, GetUnitOffsetDb());
    if (IsCoherence() && p > 0.0)
        v = static_cast<float>(std::sqrt(p));
    return v;
}

// dB without density reads the dB arrays (which offsets and smoothing
// change alike for every line); every other line scale is a rising function
// of the power.
SpectralData::TValueKeys SpectralData::ValueKeys() const
{
    if (IsOctaveMode() || IsCoherence() || m_AvgPower.size() < m_Lines)
        return {};
    const bool dbArrays = m_AmpScaleType == ScalingOpts::kLogarithmic && !m_DensityFlag;
    const auto& averaged = dbArrays ? m_AvgDb : m_AvgPower;
    const auto& latest = Pick(dbArrays ? m_LatestDb : m_LatestPower, averaged, true);
    if (averaged.size() < m_Lines || latest.size() < m_Lines)
        return {};
    return {averaged.data(), latest.data()};
}

const char* SpectralData::GetUnitLabel(bool shortForm) const
{
    const bool linear = m_AmpScaleType != ScalingOpts::kLogarithmic;
    const char* longLabel = linear ? m_Calibration.LabelLinear : m_Calibration.LabelLog;
    if (!shortForm)
        return longLabel;
    if (!IsCalibrated())
        return linear ? "Pct FS" : "dBr";
    if (IsSoundPressure(m_Calibration.RefUnits))
        return linear ? "PA" : "SPL";
    return longLabel;
}

void SpectralData::SetUnitLabels(const char* linear, const char* log)
{
    CopyLabel(m_Calibration.LabelLinear, linear);
    CopyLabel(m_Calibration.LabelLog, log);
}

void SpectralData::AddOffset(float dB, const TChannelCalibration& record)
{
    if (IsOctaveMode()) {
        const std::size_t first = GetFirstBand();
        const std::size_t last = GetLastBand();
        AddDb(m_BandLevels, first, last, dB);
        AddDb(m_LatestBandLevels, first, last, dB);
        AddDb(m_Hold, first, last, dB);
    } else {
        const auto factor = static_cast<float>(db::DbToPower(dB));
        Scale(m_AvgPower, factor);
        Scale(m_LatestPower, factor);
        AddDb(m_AvgDb, 0, m_AvgDb.size(), dB);
        AddDb(m_LatestDb, 0, m_LatestDb.size(), dB);
        AddDb(m_Hold, 0, m_Hold.size(), dB);
    }
    AddDb(m_TotalPower, dB);
    AddDb(m_LatestTotalPower, dB);
    AddDb(m_HeldTotalPower, dB);
    CopyLabel(m_Calibration.LabelLinear, record.LabelLinear);
    CopyLabel(m_Calibration.LabelLog, record.LabelLog);
    ++m_AveragePass;
}
