#pragma once
// The power meter beside each pane: a bar whose height shows the band power
// on the pane's amplitude scale, with the span it measures over chosen by
// the channel's scaling record.

#include "plot/PlotRect.h"

#include <cstdint>
#include <optional>

struct ScalingOpts;
class SpectralData;

namespace power_meter {

// The bar's left and right edge beside the pane on screen.
inline constexpr int kScreenLeft = 10;
inline constexpr int kScreenRight = 30;

} // namespace power_meter

// The live bar's height for power P in a pane H pixels high, truncated and
// kept to 1 … H − 2: linear H·P/top, dB H·(P − top + range)/range, log on
// 10·log10 between bottom (range) and top. No height for a log scale
// without room or a pane too low for a bar.
std::optional<int> PowerMeterHeight(float power, std::uint16_t ampScale, float top, float range, int paneHeight);

// The hold bar's power: the meter's own power, held and let fall as the
// plot's Peak Hold choice holds and lets fall the trace (Fast, Medium, Slow,
// Forever; Off holds nothing). A peak stands for the mode's hold time, then
// falls by its decay (dB) on each update until it meets the live power.
// Linear scales hold their amplitude through its dB.
class PowerMeterHold {
public:
    // The held power, in the same units as `power`; `now` in seconds.
    float Update(float power, std::uint16_t ampScale, std::uint16_t peakHold, double now);
    void Reset() { m_Held = false; }

private:
    bool m_Held = false;
    double m_HeldDb = 0.0;
    double m_Expiry = 0.0;
};

// The bar beside a pane; on paper both edges move right by a fraction of an
// inch.
PlotRect PowerMeterBar(const PlotRect& pane, bool printing, int dotsPerInchX);

// The first and last bin the meter sums: the data's whole range (span type
// 0), the plot's span (1), or the record's custom span (2).
struct BinRange {
    std::uint32_t First = 0;
    std::uint32_t Last = 0;
};
BinRange PowerMeterBins(const SpectralData& data, const ScalingOpts& scaling, float startFreq, float stopFreq);
