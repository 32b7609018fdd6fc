#include "engine/SpectralData.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include "engine/DbConversions.h"
#include "engine/HoldKernels.h"
#include "engine/LineKernels.h"
#include "engine/TSmoothing.h"

namespace {

constexpr int kMaxPeakIndex = 10;
using line_kernels::kPeakNeighbours;
constexpr float kEmptyMax = -999999.0f;
constexpr float kEmptyMin = 1e14f;
constexpr double kDegreesPerRadian = 57.2957795056;
// Half-width, in lines, of the search around a tone or a product: a tone
// between lines still has its highest line within it.
constexpr std::uint32_t kToneReach = 3;
constexpr std::uint32_t kMaxHarmonics = 40;

// The strongest candidates seen so far (as many as a peak list holds),
// strongest first. Lines arrive in ascending order, so an equal later line
// ranks behind an earlier one.
struct TopPeaks {
    std::array<std::uint32_t, 11> lines{};
    std::array<float, 11> powers{};
    std::size_t count = 0;

    void Offer(std::uint32_t line, float power)
    {
        if (count == lines.size() && !(power > powers.back()))
            return;
        std::size_t pos = std::min(count, lines.size() - 1);
        count = std::min(count + 1, lines.size());
        for (; pos > 0 && power > powers[pos - 1]; --pos) {
            lines[pos] = lines[pos - 1];
            powers[pos] = powers[pos - 1];
        }
        lines[pos] = line;
        powers[pos] = power;
    }
};

// The largest power over line ± kToneReach, clipped to the spectrum.
double MaxPowerNear(const float* power, std::uint32_t lines, std::uint32_t line)
{
    const std::uint32_t first = line > kToneReach ? line - kToneReach : 0;
    const std::uint32_t last = std::min(line + kToneReach, lines - 1);
    double best = 0.0;
    for (std::uint32_t i = first; i <= last; ++i)
        best = std::max(best, double{power[i]});
    return best;
}

// The strongest line between first and last that is not part of the tone
// on `peak`; `peak` itself when there is none.
std::uint32_t SecondToneLine(const float* power, std::uint32_t first, std::uint32_t last,
                             std::uint32_t peak)
{
    // The lines below and above the tone, each searched for its highest
    // line; the first such line from the bottom wins, as in one ascending
    // scan for a strictly higher line.
    const std::uint32_t belowEnd = std::min(last, peak > kToneReach ? peak - kToneReach : 0);
    const std::uint32_t aboveStart = std::max(first, peak + kToneReach + 1);
    std::uint32_t found = peak;
    float best = -9999.0f;
    for (auto [from, to] : {std::pair{first, belowEnd}, std::pair{aboveStart, last}}) {
        if (from >= to)
            continue;
        const float highest = line_kernels::HighestValue(power + from, to - from);
        if (highest > best) {
            best = highest;
            found = static_cast<std::uint32_t>(std::find(power + from, power + to, highest) - power);
        }
    }
    return found;
}

float PowerResult(double sum, int scale)
{
    if (!(sum > 0.0))
        return SpectralData::kNoBandPower;
    return scale == 1 ? db::PowerToDb(sum) : static_cast<float>(std::sqrt(sum));
}

// A display value as a linear amplitude. A line without a level adds
// nothing, whatever unit offset it carries.
double DisplayAmplitude(const SpectralData& data, std::uint32_t index, bool latest)
{
    const float v = data.GetValue(index, latest);
    if (data.GetAmpScaleType() != ScalingOpts::kLogarithmic || data.IsCoherence())
        return std::max(double{v}, 0.0);
    if (v <= SpectralData::kNoValue + data.GetUnitOffsetDb())
        return 0.0;
    return db::DbToAmplitude(v);
}

// Band power from what the plot shows, so it follows every display option.
// The meter asks for it on every frame, so the per-line work is one display
// value and, in dB scaling, one exp2 (10^(v/10) is the squared amplitude).
float DisplayBandPower(const SpectralData& data, std::uint32_t first, std::uint32_t last,
                       int scale, bool latest)
{
    const bool inDb = data.GetAmpScaleType() == ScalingOpts::kLogarithmic && !data.IsCoherence();
    // A value at or below the no-value mark (plus any unit offset) has no level.
    const double noLevel = double{SpectralData::kNoValue} + data.GetUnitOffsetDb();
    constexpr double kLog2TenOverTen = 0.33219280948873623;
    auto squaredAmplitude = [&](std::uint32_t index) {
        const double v = data.GetValue(index, latest);
        if (inDb)
            return v <= noLevel ? 0.0 : std::exp2(v * kLog2TenOverTen);
        return v > 0.0 ? v * v : 0.0;
    };

    double sum = 0.0;
    if (data.IsOctaveMode()) {
        const std::uint32_t bands = data.GetBandCount();
        if (bands == 0)
            return 0.0f;
        last = std::min(last, bands - 1);
        for (std::uint32_t b = std::min(first, bands - 1); b <= last; ++b)
            sum += squaredAmplitude(b);
    } else {
        const std::uint32_t lines = data.GetLines();
        if (lines == 0)
            return 0.0f;
        first = std::min(std::max(first, data.FrequencyToBin(data.GetLowerLimit())), lines - 1);
        last = std::min(last, lines - 1);
        // Lines in dB without density show their dB arrays as they stand.
        const float* dB = latest && data.GetLatestDbBuffer() != nullptr ? data.GetLatestDbBuffer()
                                                                        : data.GetAveragedDbBuffer();
        if (inDb && !data.IsDensity() && dB != nullptr && data.HasDbLines()) {
            const bool ownUnits = data.IsCalibrated() && !data.IsFunctionObject();
            sum = line_kernels::SumDbAsPower(dB, first, last, ownUnits, data.GetUnitOffsetDb(), noLevel);
        } else {
            for (std::uint32_t i = first; i <= last; ++i)
                sum += squaredAmplitude(i);
        }
        sum *= data.GetWindowBandwidthFactor();
    }
    // Silence has no level: in dB that is the no-power mark, not 0 dB (which
    // the meter drew as a full bar and the viewer showed as a reading).
    if (!(sum > 0.0))
        return scale == 1 ? SpectralData::kNoBandPower : 0.0f;
    return PowerResult(sum, scale);
}

double AverageOf(const double* values, std::int64_t first, std::int64_t last)
{
    double sum = 0.0;
    for (std::int64_t i = first; i <= last; ++i)
        sum += values[i];
    return sum / double(last - first + 1);
}

} // namespace

// ---- Peak search -----------------------------------------------------------

bool SpectralData::PeakSearchRange(std::uint32_t& first, std::uint32_t& last) const
{
    const std::uint32_t L = m_Lines;
    // Too few lines for a peak with five neighbours on each side.
    const bool searchable = !m_AvgPower.empty() && L > 2 * kPeakNeighbours;
    if (searchable) {
        first = std::max({first, FrequencyToBin(m_LowerLimit), kPeakNeighbours});
        first = std::min(first, L - kPeakNeighbours - 1);
        last = std::min(last, L - kPeakNeighbours - 1);
    }
    return searchable;
}

const SpectralData::TPeakList& SpectralData::PeakList(std::uint32_t first, std::uint32_t last) const
{
    const std::uint32_t L = m_Lines;
    const bool searchable = PeakSearchRange(first, last);
    if (m_PeakList.Valid && m_PeakList.Pass == m_AveragePass && m_PeakList.First == first &&
        m_PeakList.Last == last)
        return m_PeakList;

    // One scan finds what repeated searches for the next-highest peak would:
    // local maxima by falling power, ties to the lower line.
    TopPeaks top;
    if (searchable) {
        const float* power = m_AvgPower.data();
        if (FindLocalMaxima()) {
            const std::uint32_t* maxima = m_LocalMaxima.Lines.data();
            const std::uint32_t* end = maxima + m_LocalMaxima.Count;
            for (const std::uint32_t* m = std::lower_bound(maxima, end, first); m != end && *m <= last; ++m)
                top.Offer(*m, power[*m]);
        } else {
            for (std::uint32_t i = first; i <= last; ++i)
                if (line_kernels::IsLocalMaximum(power, L, i))
                    top.Offer(i, power[i]);
        }
    }
    m_PeakList = TPeakList{};
    std::copy_n(top.lines.begin(), top.count, m_PeakList.Lines.begin());
    m_PeakList.Pass = m_AveragePass;
    m_PeakList.First = first;
    m_PeakList.Last = last;
    m_PeakList.Valid = true;
    return m_PeakList;
}

bool SpectralData::FindLocalMaxima() const
{
    if (m_LocalMaxima.Valid && m_LocalMaxima.Pass == m_AveragePass)
        return true;
    // Callers have checked that the lines leave room for the neighbours.
    const std::uint32_t first = kPeakNeighbours;
    const std::uint32_t last = m_Lines - kPeakNeighbours - 1;
    const std::size_t room = (last - first) / 2 + 1;
    if (m_LocalMaxima.Lines.size() < room && !m_LocalMaxima.Lines.Allocate(room))
        return false;
    m_LocalMaxima.Count = line_kernels::LocalMaxima(m_AvgPower.data(), m_Lines, first, last, m_LocalMaxima.Lines.data());
    m_LocalMaxima.Pass = m_AveragePass;
    m_LocalMaxima.Valid = true;
    return true;
}

std::uint32_t SpectralData::FindPeakLine(std::uint32_t first, std::uint32_t last, int k) const
{
    // The strongest peak without the list: the range's highest line, the
    // lowest of equals, is that peak whenever it is a local maximum at all
    // (no peak is higher, and an equal one lies above it). The viewers ask
    // for it at every step; the list scans every line of the spectrum.
    std::uint32_t from = first, to = last;
    const bool listed = m_PeakList.Valid && m_PeakList.Pass == m_AveragePass;
    if (k <= 0 && !listed && PeakSearchRange(from, to) && from <= to) {
        const float* power = m_AvgPower.data();
        const float highest = line_kernels::HighestValue(power + from, std::size_t{to} - from + 1);
        const auto line = static_cast<std::uint32_t>(std::find(power + from, power + to + 1, highest) - power);
        if (line <= to && line_kernels::IsLocalMaximum(power, m_Lines, line))
            return line;
    }
    return PeakList(first, last).Lines[std::size_t(std::clamp(k, 0, kMaxPeakIndex))];
}

std::uint32_t SpectralData::FindPeakBand(std::uint32_t first, std::uint32_t last, int k) const
{
    if (m_BandLevels.empty())
        return 0;
    first = std::max(first, GetFirstBand());
    last = std::min(last, m_BandCount);
    // Unfilled entries hold band 0, which therefore never counts as a peak.
    std::array<std::uint32_t, kPeakListSize> found{};
    for (int pass = 0; pass <= k; ++pass) {
        float best = kNoValue;
        std::uint32_t candidate = 0;
        for (std::uint32_t b = first; b < last; ++b) {
            if (m_BandLevels[b] > best && std::find(found.begin(), found.end(), b) == found.end()) {
                best = m_BandLevels[b];
                candidate = b;
            }
        }
        found[std::size_t(pass)] = candidate;
    }
    return found[std::size_t(k)];
}

// The centre of a Gaussian through lines `line` and `line + 1`: the lobe of
// the Gaussian window is itself Gaussian (power about e^(−x²/2.5) at x lines
// from the tone), so the difference of two log powers places the tone.
float SpectralData::GaussianPeakFrequencyAt(std::uint32_t line) const
{
    if (line + 1 >= m_Lines)
        return BinToFrequency(line);
    const auto logPower = [this](std::uint32_t i) {
        return m_AvgPower[i] > 0.0f ? 2.5 * std::log(double{m_AvgPower[i]}) : 0.0;
    };
    const double half = m_LineSpacing / 2.0;
    const double a = logPower(line), b = logPower(line + 1);
    return static_cast<float>(line * double{m_LineSpacing} + half + half * (b - a));
}

float SpectralData::GetGaussianPeakFrequency(std::uint32_t first, std::uint32_t last) const
{
    if (m_AvgPower.empty())
        return kEmptyMax;
    first = std::min(std::max(first, 4u), m_Lines - 1);
    last = std::min(last, m_Lines - 1);
    float best = kEmptyMax;
    std::uint32_t found = 0;
    bool any = false;
    for (std::uint32_t i = first; i <= last; ++i) {
        const float v = GetValue(i);
        if (v > best) {
            best = v;
            found = i;
            any = true;
        }
    }
    return any ? GaussianPeakFrequencyAt(found) : kEmptyMax;
}

void SpectralData::FindPeak(std::uint32_t first, std::uint32_t last, float* frequency,
                            float* level, int k) const
{
    if (k < 0 || k > kMaxPeakIndex)
        return;
    float f = 0.0f, v = 0.0f;
    if (IsOctaveMode()) {
        if (m_BandLevels.empty())
            return;
        const std::uint32_t band = first == last ? first : FindPeakBand(first, last, k);
        f = GetBandCenter(band);
        v = GetValue(band);
    } else {
        if (m_AvgPower.empty())
            return;
        const std::uint32_t line = FindPeakLine(first, last, k);
        f = BinToFrequency(line);
        if (m_WindowType == smoothing::Gaussian) {
            // Line 0 (no peak) has nothing to refine; keep its own frequency.
            const float refined = GetGaussianPeakFrequency(line > 0 ? line - 1 : 0, line + 1);
            if (refined != kEmptyMax)
                f = refined;
        }
        v = GetValue(line);
    }
    if (frequency)
        *frequency = f;
    if (level)
        *level = v;
}

void SpectralData::FindMinimum(std::uint32_t first, std::uint32_t last, float* frequency,
                               float* level) const
{
    float lowest = kEmptyMin;
    float f = 0.0f;
    if (IsOctaveMode()) {
        if (m_BandCount == 0)
            return;
        std::uint32_t found = 0;
        for (std::uint32_t b = first; b < std::min(last, m_BandCount); ++b) {
            const float v = GetValue(b);
            if (v < lowest) {
                lowest = v;
                found = b;
            }
        }
        f = GetBandCenter(found);
    } else {
        if (m_Lines == 0)
            return;
        first = std::min(std::max(first, FrequencyToBin(m_LowerLimit)), m_Lines - 1);
        last = std::min(last, m_Lines - 1);
        f = BinToFrequency(first);
        for (std::uint32_t i = first; i <= last; ++i) {
            const float v = GetValue(i);
            if (v < lowest) {
                lowest = v;
                f = BinToFrequency(i);
            }
        }
    }
    if (frequency)
        *frequency = f;
    if (level)
        *level = lowest < kEmptyMin ? lowest : kNoValue;
}

// ---- Held values -------------------------------------------------------------

float SpectralData::GetHoldValue(std::uint32_t index) const
{
    if (m_Hold.empty())
        return kNoValue;
    // Held values are display values already, coherence included, so they
    // are returned on the scale the trace shows.
    return m_Hold[std::min<std::size_t>(index, m_Hold.size() - 1)].Value;
}

float SpectralData::GetHoldMax(int first, int last) const
{
    if (m_Hold.empty())
        return kNoValue;
    if (first == last - 1 || first < 0)
        return GetHoldValue(std::uint32_t(std::max(last, 0)));
    last = std::min(last, int(m_Hold.size()) - 1);
    if (first > last)
        return kNoValue;
    return std::max(kEmptyMax, line_kernels::HighestHeld(m_Hold.data() + first, std::size_t(last - first + 1)));
}

float SpectralData::GetHoldPeakFrequency(int first, int last) const
{
    if (m_Hold.empty())
        return kNoValue;
    const int top = int(m_Hold.size()) - 1;
    if (first == last - 1 || first < 0)
        return GetBinFrequency(std::uint32_t(std::clamp(last, 0, top)));
    last = std::min(last, top);
    // The first line holding the highest value, as an ascending scan for a
    // strictly higher one finds it.
    int found = std::min(first, top);
    const THoldEntry* held = m_Hold.data();
    if (first <= last) {
        const float best = line_kernels::HighestHeld(held + first, std::size_t(last - first + 1));
        if (best > kEmptyMax)
            found = int(std::find_if(held + first, held + last + 1, [best](const THoldEntry& e) { return e.Value == best; }) -
                        held);
    }
    return GetBinFrequency(std::uint32_t(found));
}

// ---- Levels and band power ---------------------------------------------------

float SpectralData::GetBandPower(std::uint32_t first, std::uint32_t last, int scale, int weighting,
                                 bool latest)
{
    if (weighting == -1)
        return DisplayBandPower(*this, first, last, scale, latest);

    const int slot = weighting >= 1 && weighting <= 3 ? weighting : 0;
    if (slot != 0 && WeightingCurve(slot) == nullptr)
        return kNoBandPower;

    double sum = 0.0;
    if (m_Lines > 0 && !m_AvgPower.empty() && (!IsOctaveMode() || m_BandCount > 0)) {
        if (IsOctaveMode()) {
            first = FrequencyToBin(GetBandLowerEdge(std::min(first, m_BandCount - 1)));
            last = FrequencyToBin(GetBandUpperEdge(std::min(last, m_BandCount - 1)));
        }
        first = std::min(std::max(first, FrequencyToBin(m_LowerLimit)), m_Lines - 1);
        last = std::min(last, m_Lines - 1);
        const bool useLatest = latest && m_HoldMode != 0 && !m_LatestPower.empty();
        sum = WeightedPowerSum(first, last, useLatest, slot);
        if (!IsOctaveMode())
            sum *= GetWindowBandwidthFactor();
    }
    const float result = PowerResult(sum, scale);
    return scale == 1 ? result + GetUnitOffsetDb() : result;
}

float SpectralData::GetLevelAtFrequency(float frequency) const
{
    if (m_AvgPower.empty())
        return 0.0f;
    const std::uint32_t line = FrequencyToBin(frequency);
    if (line < 3 || line + 3 > m_Lines)
        return 0.0f;
    return m_AvgPower[line];
}

float SpectralData::GetMaxValue(int first, int last) const
{
    const int count = int(IsOctaveMode() ? m_BandCount : m_Lines);
    if (count == 0)
        return kNoValue;
    // Past the end GetValue reads 0.0, which would beat every dB level.
    const int top = count - 1;
    if (first == last - 1 || first < 0)
        return GetValue(std::uint32_t(std::clamp(last, 0, top)));
    last = std::min(last, top);
    if (first > last)
        return kNoValue;
    const TValueKeys keys = ValueKeys();
    if (keys.Averaged != nullptr) {
        // The first line of the largest key holds the largest value.
        int found = first;
        for (int i = first + 1; i <= last; ++i)
            if (keys.Averaged[i] > keys.Averaged[found])
                found = i;
        return GetValue(std::uint32_t(found));
    }
    float best = kEmptyMax;
    for (int i = first; i <= last; ++i)
        best = std::max(best, GetValue(std::uint32_t(i)));
    return best;
}

// ---- Distortion and noise ------------------------------------------------------

float SpectralData::GetTHD() const
{
    if (m_AvgPower.empty() || m_PeakLine >= m_Lines)
        return 0.0f;
    const std::int64_t L0 = m_PeakLine;
    const double p1 = m_AvgPower[m_PeakLine];
    const double f0 = BinToFrequency(m_PeakLine);
    if (!(p1 > 0.0) || !(f0 > 1.0))
        return 0.0f;
    const auto harmonics =
        std::min<std::uint32_t>(static_cast<std::uint32_t>(m_UpperLimit / f0) + 1, kMaxHarmonics);
    double sum = 0.0;
    for (std::int64_t h = 1; h < std::int64_t(harmonics); ++h) {
        // The search widens with the order, as the harmonics of a tone
        // between lines drift away from multiples of its line.
        const std::int64_t centre = (h + 1) * L0, reach = 2 * h + 2;
        double best = 0.0;
        for (std::int64_t i = std::max<std::int64_t>(centre - reach, 1);
             i <= std::min<std::int64_t>(centre + reach, m_Lines - 1); ++i)
            best = std::max(best, double{m_AvgPower[std::size_t(i)]});
        sum += best;
    }
    return sum > 0.0 ? static_cast<float>(100.0 * std::sqrt(sum) / std::sqrt(p1)) : 0.0f;
}

// The strongest peak, and the sum of the next ten: the tone and what stands
// beside it (harmonics, spurs and the highest noise peaks).
bool SpectralData::PeakPowers(double& signal, double& rest) const
{
    if (m_AvgPower.empty())
        return false;
    const auto levelOf = [this](std::uint32_t line) {
        return line < 3 || line + 3 > m_Lines ? 0.0 : double{m_AvgPower[line]};
    };
    const TPeakList& peaks = PeakList(FrequencyToBin(m_LowerLimit), m_Lines - 1);
    signal = levelOf(peaks.Lines[0]);
    rest = 0.0;
    for (int k = 1; k <= kMaxPeakIndex; ++k)
        rest += levelOf(peaks.Lines[std::size_t(k)]);
    return true;
}

float SpectralData::GetTHDN() const
{
    double signal = 0.0, rest = 0.0;
    if (!PeakPowers(signal, rest) || !(signal > 0.0))
        return 0.0f;
    return static_cast<float>(100.0 * std::sqrt(rest) / std::sqrt(signal));
}

float SpectralData::GetSNR() const
{
    double signal = 0.0, rest = 0.0;
    if (!PeakPowers(signal, rest))
        return 0.0f;
    // Without a signal or without anything beside it there is no ratio.
    if (!(signal > 0.0) || !(rest > 0.0))
        return kNoValue;
    return db::PowerToDb(signal) - db::PowerToDb(rest);
}

float SpectralData::GetSINAD() const
{
    double signal = 0.0, rest = 0.0;
    if (!PeakPowers(signal, rest))
        return 0.0f;
    if (!(rest > 0.0))
        return kNoValue;
    return db::PowerToDb(signal + rest) - db::PowerToDb(rest);
}

float SpectralData::GetIMD() const
{
    if (m_AvgPower.empty() || m_Lines <= kToneReach)
        return 0.0f;
    // Powers, not display values: the figure must not depend on the scaling.
    const float* power = m_AvgPower.data();
    const std::uint32_t line1 = std::min(m_PeakLine, m_Lines - 1);
    const std::uint32_t line2 = SecondToneLine(power, FrequencyToBin(m_LowerLimit),
                                               FrequencyToBin(m_UpperLimit), line1);
    const double a1 = MaxPowerNear(power, m_Lines, line1);
    const double a2 = MaxPowerNear(power, m_Lines, line2);
    if (!(a1 > 0.0) || !(a2 > 0.0))
        return 0.0f;

    // Second- and third-order products. Differences are taken as magnitudes
    // so that the result does not depend on which tone is the stronger.
    const double f1 = BinToFrequency(line1), f2 = BinToFrequency(line2);
    const double products[] = {f2 + f1,     std::fabs(f2 - f1),     f2 + 2 * f1,
                               std::fabs(f2 - 2 * f1), 2 * f2 + f1, std::fabs(2 * f2 - f1),
                               2 * f2 + 2 * f1, std::fabs(2 * f2 - 2 * f1)};
    double sum = 0.0;
    for (double f : products) {
        const std::uint32_t b = FrequencyToBin(static_cast<float>(f));
        if (b > 0 && b + kToneReach < m_Lines)
            sum += MaxPowerNear(power, m_Lines, b);
    }
    return static_cast<float>(100.0 * std::sqrt(sum) / std::sqrt(a1 + a2));
}

// ---- Phase and complex value ---------------------------------------------------

float SpectralData::GetPhase(std::uint32_t index) const
{
    if (m_AvgComplex.empty())
        return 0.0f;
    std::uint32_t line = index;
    if (IsOctaveMode()) {
        if (index >= m_BandCount)
            return 0.0f;
        line = FrequencyToBin(GetBandCenter(index));
    }
    if (line >= m_Lines)
        return 0.0f;
    const float re = m_AvgComplex[2 * line], im = m_AvgComplex[2 * line + 1];
    if (re == 0.0f && im == 0.0f)
        return 0.0f;
    return static_cast<float>(std::atan2(double{im}, double{re}) * kDegreesPerRadian);
}

void SpectralData::GetComplexValue(std::uint32_t index, float* re, float* im) const
{
    const std::uint32_t count = IsOctaveMode() ? m_BandCount : m_Lines;
    double x = 0.0, y = 0.0;
    if (!m_AvgComplex.empty() && index < count) {
        const double v = DisplayAmplitude(*this, index, false);
        const double phi = GetPhase(index) / kDegreesPerRadian;
        x = v * std::cos(phi);
        y = v * std::sin(phi);
    }
    if (re)
        *re = static_cast<float>(x);
    if (im)
        *im = static_cast<float>(y);
}

// ---- Smoothing -------------------------------------------------------------------

void SpectralData::SmoothAcrossBins(int width)
{
    // Bands are levels of their own; only the narrowband lines are smoothed.
    if (width <= 0 || IsOctaveMode() || m_AvgPower.empty() || m_AvgDb.empty())
        return;
    const std::int64_t L = m_Lines;
    // Scratch copies: every line averages the unsmoothed values of its
    // neighbours, never ones this pass has already rewritten.
    platform::ZeroFilledArray<double> amplitude, held;
    const bool withHold = !m_Hold.empty();
    if (!amplitude.Allocate(std::size_t(L)) || (withHold && !held.Allocate(std::size_t(L))))
        return;
    for (std::int64_t i = 0; i < L; ++i) {
        amplitude[std::size_t(i)] = std::sqrt(std::max(double{m_AvgPower[std::size_t(i)]}, 0.0));
        if (withHold)
            held[std::size_t(i)] = db::DbToAmplitude(m_Hold[std::size_t(i)].Value);
    }
    const std::int64_t before = (width - 1) / 2, after = -((1 - width) / 2);
    for (std::int64_t i = 0; i < L; ++i) {
        const std::int64_t first = std::max<std::int64_t>(i - before, 0);
        const std::int64_t last = std::min<std::int64_t>(i + after, L - 1);
        m_AvgDb[std::size_t(i)] = db::AmplitudeToDb(AverageOf(amplitude.data(), first, last));
        if (withHold)
            m_Hold[std::size_t(i)].Value = db::AmplitudeToDb(AverageOf(held.data(), first, last));
    }
    ++m_AveragePass;
}
