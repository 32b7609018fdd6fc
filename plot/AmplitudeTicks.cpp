#include "plot/AmplitudeTicks.h"

#include "plot/AxisNumberFormat.h"

#include "platform/NumberText.h"

#include <cmath>

namespace {

struct StepLimit {
    float UpTo;
    float Step;
};

constexpr StepLimit kDbSteps[] = {{0.11f, 0.01f}, {1.01f, 0.1f},  {2.01f, 0.2f},  {5.01f, 0.5f},
                                  {10.01f, 1.0f}, {20.01f, 2.0f}, {50.01f, 5.0f}};
constexpr float kDbWidestStep = 10.0f;

constexpr StepLimit kLinearSteps[] = {
    {1.1e-7f, 1e-8f},  {1.1e-6f, 1e-7f},  {1.1e-5f, 1e-6f},    {1.1e-4f, 1e-5f},     {0.0011f, 1e-4f},
    {0.011f, 0.001f},  {0.11f, 0.01f},    {1.01f, 0.1f},       {10.01f, 1.0f},       {100.01f, 10.0f},
    {1000.01f, 100.0f}, {10000.01f, 1000.0f}, {100000.01f, 10000.0f}, {1000000.01f, 100000.0f}};
constexpr float kLinearWidestStep = 1000000.0f;

// No axis shows more ticks than this, whatever top and range it is handed:
// a range of 1e9 dB would otherwise ask for a hundred million of them.
constexpr long kMostTicks = 1000;

float StepFor(const StepLimit* limits, std::size_t count, float widest, float range)
{
    for (std::size_t i = 0; i < count; ++i)
        if (range <= limits[i].UpTo)
            return limits[i].Step;
    return widest;
}

// Labels kept from the first tick on, each at least gap below the last kept.
void ThinDownward(PlotTicks& ticks, int gap)
{
    int lastKept = -999;
    for (PlotTick& tick : ticks) {
        if (tick.Pos >= lastKept + gap)
            lastKept = tick.Pos;
        else
            tick.Label.clear();
    }
}

// The step of a log axis at v: the decade below v (with a little room for
// rounding), 1e-7 below 1e-6 up to 1e5 below 1e6, else 1e4.
double LogStep(double v)
{
    constexpr double kLimits[] = {1e-6, 1e-5, 1e-4, 1e-3, 1e-2, 1e-1, 1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6};
    const double probe = v * 1.00001;
    for (double limit : kLimits)
        if (probe < limit)
            return limit / 10.0;
    return 10000.0;
}

} // namespace

float DbTickStep(float range)
{
    return StepFor(kDbSteps, std::size(kDbSteps), kDbWidestStep, range);
}

float LinearTickStep(float range)
{
    return StepFor(kLinearSteps, std::size(kLinearSteps), kLinearWidestStep, range);
}

PlotTicks BuildLinearDbTicks(float top, float range, bool dB, int height, int labelGap)
{
    PlotTicks ticks;
    if (!(range > 0.0f) || !std::isfinite(range) || !std::isfinite(top))
        return ticks;
    double step = dB ? DbTickStep(range) : LinearTickStep(range);
    // Beyond the step tables' widest step, wider steps by decades.
    while (range / step + 1.0 > kMostTicks)
        step *= 10.0;
    // A range of whole steps counts its bottom tick despite float rounding.
    const auto capacity = static_cast<long>(std::trunc(range / step + 1.0 + 1e-4));
    // Counted in whole steps from the top, so that a long walk down does not
    // drift past the bottom tick.
    const double bottom = static_cast<double>(top) - range - step * 1e-4;
    for (long k = 0; k < capacity; ++k) {
        const double v = top - k * step;
        if (v < bottom)
            break;
        const auto y = static_cast<int>(std::trunc((top - v) * height / range));
        ticks.push_back({y, FormatReadout(static_cast<float>(v))});
    }
    ThinDownward(ticks, labelGap);
    return ticks;
}

PlotTicks BuildLogTicks(float top, float bottom, int height, int labelGap)
{
    PlotTicks ticks;
    if (!(top > 0.0f) || !std::isfinite(top))
        top = 10.0f;
    if (!(bottom > 0.0f) || bottom >= top)
        bottom = 1e-6f;
    const double t = 10.0 * std::log10(static_cast<double>(top));
    const double b = 10.0 * std::log10(static_cast<double>(bottom));
    if (t - b <= 0.0 || height <= 0)
        return ticks;

    // Above 1e6 the step stays 1e4: a huge top would walk for ever.
    double v = bottom;
    long walked = 0;
    for (bool last = false; walked < kMostTicks * 100; ++walked) {
        const auto y = static_cast<int>(std::trunc(height - height * (10.0 * std::log10(v) - b) / (t - b)));
        if (y >= 0 && static_cast<int>(ticks.size()) < height)
            ticks.push_back({y, FormatReadout(static_cast<float>(v))});
        if (last)
            break;
        v += LogStep(v);
        // Reaching the top within rounding counts as passing it: the top is
        // the last tick, and only once.
        if (v >= top * (1.0 - 1e-5)) {
            v = top;
            last = true;
        }
    }

    int lastKept = -9999;
    for (auto tick = ticks.rbegin(); tick != ticks.rend(); ++tick) {
        if (tick->Pos >= lastKept + labelGap)
            lastKept = tick->Pos;
        else
            tick->Label.clear();
    }
    return ticks;
}

PlotTicks BuildCoherenceTicks(int height)
{
    PlotTicks ticks;
    constexpr int kTenths = 12;
    for (int k = kTenths; k >= 0; --k) {
        const double v = k / 10.0;
        const auto y = static_cast<int>(std::trunc((amplitude_ticks::kCoherenceTop - v) * height /
                                                   amplitude_ticks::kCoherenceTop));
        ticks.push_back({y, platform::FormatFixed(v, 2)});
    }
    ThinDownward(ticks, amplitude_ticks::kCoherenceLabelGap);
    return ticks;
}
