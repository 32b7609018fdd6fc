#include "plot/FrequencyTicks.h"

#include "platform/NumberText.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kLinearSteps[] = {10000.0f, 5000.0f, 1000.0f, 500.0f, 200.0f, 100.0f,
                                  50.0f,    20.0f,   10.0f,   5.0f,   2.0f,   1.0f};

// A narrow log span gets at least this many ticks, or it is redone linearly.
constexpr int kFewestLogTicks = 4;
// Space between two kept labels when their widths are known.
constexpr int kLabelSpace = 6;

// The kHz decimals that show multiples of a whole-hertz step exactly.
int StepKiloHertzDecimals(float step)
{
    const double hertz = std::round(double(step));
    if (!(hertz >= 1.0) || std::fmod(hertz, 10.0) != 0.0)
        return 3;
    if (std::fmod(hertz, 100.0) != 0.0)
        return 2;
    return std::fmod(hertz, 1000.0) != 0.0 ? 1 : 0;
}

} // namespace

std::string FrequencyTickLabel(float frequency, float span, float step)
{
    if (frequency == 0.0f)
        return "0.0";
    int decimals = 1;
    if (span < 10.0f)
        decimals = 3;
    else if (span < 100.0f)
        decimals = 2;
    if (frequency < 1000.0f)
        return platform::FormatFixed(frequency, decimals == 1 ? 0 : decimals);
    if (step > 0.0f)
        decimals = std::max(decimals, StepKiloHertzDecimals(step));
    return platform::FormatFixed(frequency / 1000.0, decimals) + "k";
}

float LinearFrequencyStep(float span)
{
    for (float step : kLinearSteps)
        if (span / step >= 4.0f)
            return step;
    return 1.0f;
}

float DecadeFrequencyStep(float frequency)
{
    if (frequency < 10.0f)
        return 1.0f;
    if (frequency < 100.0f)
        return 10.0f;
    if (frequency < 1000.0f)
        return 100.0f;
    if (frequency < 10000.0f)
        return 1000.0f;
    if (frequency < 100000.0f)
        return 10000.0f;
    if (frequency < 1000000.0f)
        return 100000.0f;
    return 10000.0f;
}

PlotTicks BuildFrequencyTicks(float start, float stop, bool linearScale, int capacity, int labelGap,
                              const ColumnBinTable& columns, const LabelWidthFn& labelWidth)
{
    PlotTicks ticks;
    if (capacity <= 0 || !(stop >= start))
        return ticks;
    const float span = stop - start;
    bool linear = linearScale;
    float f = 0.0f;
    for (;;) {
        const float step = linear ? LinearFrequencyStep(span) : DecadeFrequencyStep(f);
        if (f >= start) {
            const int x = columns.FrequencyToColumn(f);
            if (x != ColumnBinTable::kNoColumn && static_cast<int>(ticks.size()) < capacity - 1)
                ticks.push_back({x, FrequencyTickLabel(f, span, step)});
        }
        const float next = f + step;
        // A step lost in the float's precision would never reach the end.
        if (next == f)
            break;
        f = next;
        if (f > stop) {
            if (linear || static_cast<int>(ticks.size()) >= kFewestLogTicks)
                break;
            linear = true;
            f = 0.0f;
            ticks.clear();
        }
    }
    ThinFrequencyLabels(ticks, labelGap, labelWidth);
    return ticks;
}

void ThinFrequencyLabels(PlotTicks& ticks, int gap, const LabelWidthFn& labelWidth)
{
    int lastKept = 9999;
    int lastWidth = 0;
    for (auto tick = ticks.rbegin(); tick != ticks.rend(); ++tick) {
        const int width = labelWidth ? labelWidth(tick->Label) : 0;
        int distance = gap;
        if (labelWidth && lastKept != 9999)
            distance = std::max(gap, (width + lastWidth + 1) / 2 + kLabelSpace);
        if (tick->Pos <= lastKept - distance) {
            lastKept = tick->Pos;
            lastWidth = width;
        } else {
            tick->Label.clear();
        }
    }
}
