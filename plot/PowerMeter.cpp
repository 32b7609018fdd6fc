#include "plot/PowerMeter.h"

#include "engine/ScalingOpts.h"
#include "engine/SpectralData.h"

#include <algorithm>
#include <cmath>

std::optional<int> PowerMeterHeight(float power, std::uint16_t ampScale, float top, float range, int paneHeight)
{
    const double H = paneHeight;
    const double p = power;
    double h = 0.0;
    if (ampScale == 0) {
        const double t = top > 0.0f ? top : 1.0f;
        h = H * p / t;
    } else if (ampScale == 1) {
        if (range == 0.0f)
            return std::nullopt;
        h = H * (p - top + range) / range;
    } else {
        const double t = top > 0.0f ? top : 10.0f;
        const double b = (range > 0.0f && range < t) ? range : 1e-6;
        const double logTop = 10.0 * std::log10(t);
        const double logBottom = 10.0 * std::log10(b);
        if (logTop - logBottom <= 0.0)
            return std::nullopt;
        h = p > 0.0 ? H * (10.0 * std::log10(p) - logBottom) / (logTop - logBottom) : 1.0;
    }
    if (paneHeight < 3 || std::isnan(h))
        return std::nullopt;
    return std::clamp(static_cast<int>(std::trunc(std::clamp(h, -1e6, 1e6))), 1, paneHeight - 2);
}

float PowerMeterHold::Update(float power, std::uint16_t ampScale, std::uint16_t peakHold, double now)
{
    const bool inDb = ampScale == 1;
    // A linear power of 0 or less has no dB: it holds nothing new.
    const double liveDb = inDb ? double{power} : power > 0.0f ? 20.0 * std::log10(double{power}) : -1e9;
    const SpectralData::HoldRate rate = SpectralData::PeakHoldRate(peakHold);
    if (peakHold == 0 || !m_Held || liveDb >= m_HeldDb) {
        m_Held = true;
        m_HeldDb = liveDb;
        m_Expiry = now + rate.Time;
    } else if (m_Expiry < now) {
        m_HeldDb = std::max(m_HeldDb - rate.Decay, liveDb);
    }
    return inDb ? static_cast<float>(m_HeldDb) : static_cast<float>(std::pow(10.0, m_HeldDb / 20.0));
}

PlotRect PowerMeterBar(const PlotRect& pane, bool printing, int dotsPerInchX)
{
    PlotRect bar{pane.right + power_meter::kScreenLeft, pane.top, pane.right + power_meter::kScreenRight,
                 pane.bottom};
    if (printing) {
        bar.left += dotsPerInchX / 8;
        bar.right += dotsPerInchX / 4;
    }
    return bar;
}

BinRange PowerMeterBins(const SpectralData& data, const ScalingOpts& scaling, float startFreq, float stopFreq)
{
    switch (scaling.UtilityFreqSpanType) {
    case 1:
        return {data.GetBinIndex(startFreq), data.GetBinIndex(stopFreq)};
    case 2:
        return {data.GetBinIndex(scaling.UtilityFreqCustomStart), data.GetBinIndex(scaling.UtilityFreqCustomStop)};
    default:
        return {data.GetStartBin(), data.GetEndBin()};
    }
}
