#include "engine/SpectralData.h"

#include <algorithm>
#include <cmath>

#include "engine/DbConversions.h"
#include "engine/HoldKernels.h"
#include "engine/LineKernels.h"
#include "engine/RunningMeanKernel.h"
#include "platform/Clock.h"

namespace {

constexpr const char* kRingMessage =
    "Insufficient memory for linear averaging - try using exponential average";

// Slot 999 is never allocated, so no window can be longer than 999 blocks.
constexpr int kLongestWindow = SpectralData::kRingSlots - 1;
// Longer moving windows fall back to the running mean.
constexpr float kLongestMovingCount = 1000.0f;
// Interval assumed when two blocks carry the same (or a falling) time.
constexpr double kShortestInterval = 0.001;
// Lines summed together from the ring, sized to stay in the first-level cache.
constexpr std::size_t kRingTile = 256;
// Lines averaged, searched and converted to dB together, sized so that what
// one step writes is still in the cache for the next.
constexpr std::size_t kLineTile = 1024;

// A count of exactly 1000, the longest moving window there is, averages
// 998 blocks.
constexpr float kLongestCountWindow = 998.0f;

// Window length for count N: the number of slots the ring holds for it.
int RingWindow(float count)
{
    if (count == kLongestMovingCount)
        count = kLongestCountWindow;
    const double n = std::trunc(double(count));
    return static_cast<int>(std::clamp(n, 1.0, double(kLongestWindow)));
}

float LinePower(const float* line, bool cross)
{
    const double p = double(line[0]) * line[0] + double(line[1]) * line[1];
    return static_cast<float>(cross && p > 0.0 ? std::sqrt(p) : p);
}

// k grows to N, then every block carries weight 1/N.
void CountRunningMean(std::int32_t& k, float count)
{
    ++k;
    if (double(k) > double(count))
        k = static_cast<std::int32_t>(std::trunc(double(count)));
    k = std::max(k, 1);
}

// k grows to the window length; after that the oldest slot is overwritten.
void CountMovingWindow(std::int32_t& k, std::int32_t& slot, int window)
{
    if (k < window) {
        ++k;
        slot = k - 1;
        return;
    }
    k = window;
    slot = slot + 1 >= window ? 0 : slot + 1;
}

} // namespace

void SpectralData::SetBlockTime(double t)
{
    if (m_AverageMode == 0)
        return;
    double dt = t - m_LastBlockTime;
    if (!(dt > 0.0))
        dt = kShortestInterval;
    m_LastBlockTime = t;
    AverageCountFromSpeed(dt);
}

void SpectralData::AverageCountFromSpeed(double dt)
{
    const double r = 0.1 / dt;
    switch (m_AverageSpeed) {
    case 0: m_AverageCount = (m_IsCoherence || m_IsTransfer || m_IsCross) ? 1.1f : 1.0f; break;
    case 1: m_AverageCount = static_cast<float>(1.8 * r); break;
    case 2: m_AverageCount = static_cast<float>(2.7097 * r); break;
    case 3: m_AverageCount = static_cast<float>(11.365 * r); break;
    case 4: m_AverageCount = 100000.0f; break;
    default: m_AverageCount = 1.0f; break;
    }
}

void SpectralData::SetAveraging(std::uint16_t speed, std::uint32_t count)
{
    m_AverageSpeed = speed;
    m_AverageCount = static_cast<float>(count);
    ResetAveraging();
}

void SpectralData::ResetAveraging()
{
    m_RingIndex = 0;
    // A count that follows the block interval cannot size a ring.
    if (m_AverageMode != 0 && m_AverageType == 1)
        m_AverageType = 0;
    for (auto& slot : m_RingPower)
        slot.Free();
    for (auto& slot : m_RingComplex)
        slot.Free();
    if (m_AverageType != 1 || m_AverageCount > kLongestMovingCount || m_Lines == 0)
        return;

    const int window = RingWindow(m_AverageCount);
    for (int s = 0; s < window; ++s) {
        if (!m_RingPower[s].Allocate(m_Lines) || !m_RingComplex[s].Allocate(2 * std::size_t(m_Lines))) {
            Fail(kRingMessage);
            return;
        }
    }
    // The blocks that were in the window went with the old ring.
    m_BlocksAveraged = 0;
}

void SpectralData::Average(bool bandMeans)
{
    if (m_Error || m_Block.empty() || m_AvgPower.empty() || m_AvgComplex.empty())
        return;
    if (m_AverageMode != 0 && m_AverageType == 1)
        m_AverageType = 0;

    const bool cross = m_IsCross != 0;
    const std::size_t lines = m_Lines - 1; // the last line keeps its value
    const int window = RingWindow(m_AverageCount);
    const bool moving = m_AverageType == 1 && m_AverageCount <= kLongestMovingCount &&
                        !m_RingPower[window - 1].empty();
    if (moving) {
        CountMovingWindow(m_BlocksAveraged, m_RingIndex, window);
        float* slotPower = m_RingPower[m_RingIndex].data();
        float* slotComplex = m_RingComplex[m_RingIndex].data();
        for (std::size_t i = 0; i < lines; ++i) {
            slotComplex[2 * i] = m_Block[2 * i];
            slotComplex[2 * i + 1] = m_Block[2 * i + 1];
            slotPower[i] = LinePower(&m_Block[2 * i], cross);
        }
        SumRing(window, lines);
        FinishAveragedLines(0, lines, cross, 0);
    } else {
        CountRunningMean(m_BlocksAveraged, m_AverageCount);
        // Tile by tile, so that the dB conversion and the peak search find
        // the new lines still in the cache.
        for (std::size_t first = 0; first < lines; first += kLineTile) {
            const std::size_t end = std::min(lines, first + kLineTile);
            FinishAveragedLines(first, end, cross, RunningMean(first, end, cross));
        }
    }

    if (IsOctaveMode())
        ComputeBandLevels(bandMeans, false);
    // Readouts below may cache what they derive from the new spectrum.
    ++m_AveragePass;

    const int scale = static_cast<int>(m_AmpScaleType);
    m_TotalPower = GetBandPower(GetStartBin(), GetEndBin(), scale, m_TotalPowerWeighting, false);
    if (!KeepsLatest())
        return;
    if (IsOctaveMode())
        ComputeBandLevels(bandMeans, true);
    m_LatestTotalPower = GetBandPower(GetStartBin(), GetEndBin(), scale, m_TotalPowerWeighting, true);
    if (m_LatestTotalPower < m_TotalPower)
        m_LatestTotalPower = m_TotalPower;
}

std::size_t SpectralData::RunningMean(std::size_t first, std::size_t end, bool cross)
{
    const double k = m_BlocksAveraged;
    const bool vector = m_AverageType == 2;
    const bool complex = m_KeepAveragedComplex || vector;
    float* latest = KeepsLatest() && !m_LatestPower.empty() ? m_LatestPower.data() + first : nullptr;
    const std::size_t done = first + averaging_detail::RunningPowerMean(
                                         complex ? m_AvgComplex.data() + 2 * first : nullptr,
                                         m_AvgPower.data() + first, latest, m_Block.data() + 2 * first,
                                         end - first, k, cross, vector);
    for (std::size_t i = done; i < end; ++i) {
        float* avg = &m_AvgComplex[2 * i];
        if (complex) {
            avg[0] = static_cast<float>(((k - 1.0) * avg[0] + m_Block[2 * i]) / k);
            avg[1] = static_cast<float>(((k - 1.0) * avg[1] + m_Block[2 * i + 1]) / k);
        }
        if (vector)
            m_AvgPower[i] = LinePower(avg, cross);
        else
            m_AvgPower[i] = static_cast<float>(((k - 1.0) * m_AvgPower[i] +
                                                LinePower(&m_Block[2 * i], cross)) / k);
    }
    return latest != nullptr ? done : first;
}

void SpectralData::SumRing(int window, std::size_t lines)
{
    // Slots not yet written are zero, so the sum over the window divided by
    // k is the mean of the blocks it holds. Tiles of lines keep the
    // accumulators in double without a heap buffer.
    const double k = m_BlocksAveraged;
    for (std::size_t first = 0; first < lines; first += kRingTile) {
        const std::size_t count = std::min(kRingTile, lines - first);
        double power[kRingTile] = {};
        double reIm[2 * kRingTile] = {};
        for (int s = 0; s < window; ++s) {
            const float* slotPower = m_RingPower[s].data() + first;
            const float* slotComplex = m_RingComplex[s].data() + 2 * first;
            for (std::size_t j = 0; j < count; ++j) {
                power[j] += slotPower[j];
                reIm[2 * j] += slotComplex[2 * j];
                reIm[2 * j + 1] += slotComplex[2 * j + 1];
            }
        }
        for (std::size_t j = 0; j < count; ++j) {
            m_AvgPower[first + j] = static_cast<float>(power[j] / k);
            m_AvgComplex[2 * (first + j)] = static_cast<float>(reIm[2 * j] / k);
            m_AvgComplex[2 * (first + j) + 1] = static_cast<float>(reIm[2 * j + 1] / k);
        }
    }
}

void SpectralData::FinishAveragedLines(std::size_t first, std::size_t end, bool cross, std::size_t latestDone)
{
    const bool hold = KeepsLatest() && !m_LatestPower.empty();
    const bool dB = !m_AvgDb.empty();
    if (hold)
        for (std::size_t i = latestDone; i < end; ++i)
            m_LatestPower[i] = LinePower(&m_Block[2 * i], cross);
    // The peak is the first line with the highest power above 0 from the
    // lowest line shown on; it carries over from tile to tile.
    if (first == 0)
        m_PeakSearchHighest = 0.0f;
    const std::size_t from = std::max<std::size_t>(first, FrequencyToBin(m_LowerLimit) + 1);
    if (from < end) {
        const float* power = m_AvgPower.data();
        const float highest = line_kernels::HighestValue(power + from, end - from);
        if (highest > m_PeakSearchHighest) {
            m_PeakSearchHighest = highest;
            m_PeakLine = static_cast<std::uint32_t>(std::find(power + from, power + end, highest) - power);
        }
    }
    if (dB) {
        db::LinePowersToDb(m_AvgPower.data() + first, m_AvgDb.data() + first, end - first);
        if (hold && !m_LatestDb.empty())
            db::LinePowersToDb(m_LatestPower.data() + first, m_LatestDb.data() + first, end - first);
    }
}

void SpectralData::UpdatePeakHold()
{
    if (m_Error || m_Hold.empty() || m_HoldSuspended)
        return;
    const double now = platform::SteadySeconds();
    const float holdTime = HoldTime();
    const float decay = HoldDecay() * m_HoldDecayScale;

    if (m_HoldMode != 0) {
        const TValueKeys keys = ValueKeys();
        const bool dbArrays = keys.Averaged == m_AvgDb.data() && !m_AvgDb.empty();
        const bool ownUnits = IsCalibrated() && !IsFunctionObject();
        const float offset = GetUnitOffsetDb();
        // Linear scales, as GetValue has them: the power itself (power
        // density) or its root, in percent of full scale when uncalibrated.
        const bool linear = m_AmpScaleType != ScalingOpts::kLogarithmic;
        const bool powerValues = m_DensityFlag && !m_DensityAmplitude;
        const bool percent = !IsCalibrated() && !IsCoherence();
        THoldEntry* const hold = m_Hold.data();
        const std::size_t count = m_Hold.size();
        const std::size_t keyed = keys.Averaged != nullptr ? std::min<std::size_t>(count, m_Lines) : 0;
        const float* const averaged = keys.Averaged;
        const float* const latest = keys.Latest;
        // As selections rather than branches: on a noisy spectrum which way
        // each line goes is a coin toss.
        const double riseExpiry = now + holdTime;
        auto hold1 = [hold, now, riseExpiry, decay](std::size_t i, float v) {
            THoldEntry& held = hold[i];
            const bool rises = held.Value <= v;
            const bool decays = held.Expiry < now;
            const float decayed = std::max(held.Value - decay, v);
            held.Expiry = rises ? riseExpiry : held.Expiry;
            held.Value = rises ? v : decays ? decayed : held.Value;
        };
        if (dbArrays) {
            // GetValue of the dB arrays, inline: the larger level plus the
            // unit's offset where it has one.
            line_kernels::LineLevel level;
            level.addOffset = ownUnits;
            level.offset = offset;
            const std::size_t done = line_kernels::HoldLevels(hold, averaged, latest, keyed, level, now, riseExpiry, decay);
            for (std::size_t i = done; i < keyed; ++i) {
                float v = std::max(averaged[i], latest[i]);
                if (ownUnits && v > kNoValue)
                    v += offset;
                hold1(i, v);
            }
        } else if (linear) {
            line_kernels::LineLevel level;
            level.kind = powerValues ? line_kernels::LineLevel::Power : line_kernels::LineLevel::Amplitude;
            level.percent = percent;
            const std::size_t done = line_kernels::HoldLevels(hold, averaged, latest, keyed, level, now, riseExpiry, decay);
            for (std::size_t i = done; i < keyed; ++i) {
                const double p = std::max(averaged[i], latest[i]);
                const float value = powerValues ? static_cast<float>(p)
                                  : p > 0.0     ? static_cast<float>(std::sqrt(p))
                                                : 0.0f;
                hold1(i, percent ? value * 100.0f : value);
            }
        } else {
            for (std::size_t i = 0; i < keyed; ++i)
                hold1(i, GetValue(static_cast<std::uint32_t>(i), latest[i] > averaged[i]));
        }
        for (std::size_t i = keyed; i < count; ++i) {
            const auto index = static_cast<std::uint32_t>(i);
            hold1(i, std::max(GetValue(index, false), GetValue(index, true)));
        }
    }

    if (m_LatestTotalPower > m_HeldTotalPower) {
        m_HeldTotalPower = m_LatestTotalPower;
        m_HeldTotalPowerExpiry = now + holdTime;
    } else if (m_HeldTotalPowerExpiry < now) {
        m_HeldTotalPower -= decay;
        if (m_HeldTotalPower < m_TotalPower)
            m_HeldTotalPower = m_LatestTotalPower;
    }
}

SpectralData::HoldRate SpectralData::PeakHoldRate(std::uint16_t mode)
{
    switch (mode) {
    case 1: return {1.0f, 1.0f};
    case 2: return {5.0f, 0.5f};
    case 3: return {10.0f, 0.1f};
    case 4: return {100000.0f, 2.0f};
    default: return {0.0f, 0.0f};
    }
}

float SpectralData::HoldTime() const { return PeakHoldRate(m_HoldMode).Time; }

float SpectralData::HoldDecay() const { return PeakHoldRate(m_HoldMode).Decay; }

void SpectralData::SetPeakHoldMode(std::uint16_t mode)
{
    m_HoldMode = mode <= 4 ? mode : 0;
    ClearHold();
}

void SpectralData::SuspendHold(bool suspended)
{
    if (suspended == m_HoldSuspended)
        return;
    m_HoldSuspended = suspended;
    if (!suspended)
        ClearHold();
}

void SpectralData::ClearHold()
{
    if (IsOctaveMode())
        FillNoValue(m_LatestBandLevels);
    else
        FillNoValue(m_LatestPower);
    std::fill(m_Hold.data(), m_Hold.data() + m_Hold.size(), THoldEntry{kNoValue, 0.0});
    m_LatestTotalPower = m_HeldTotalPower = kNoValue;
    m_HeldTotalPowerExpiry = 0.0;
}
