#include "plot/PlotOptionsForm.h"

#include "platform/NumberText.h"
#include "settings/FloatFieldBounds.h"
#include "settings/PlotAmplitudeLimits.h"
#include "settings/SpectrumOpts.h"

#include <algorithm>

namespace plot_options {

namespace {

// The edits are read as buffers of this size hold them.
constexpr std::size_t kFieldBuffer = 40;
constexpr float kLongestInterval = 3600.0f;

float Read(const std::string& text)
{
    return ToFloatField(platform::ParseFloatPrefix(std::string_view(text).substr(0, kFieldBuffer - 1)));
}

// printf("%<width>.<decimals>f").
std::string Fixed(double value, int width, int decimals)
{
    std::string text = platform::FormatFixed(value, decimals);
    if (static_cast<int>(text.size()) < width)
        text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
    return text;
}

} // namespace

PlotOptionsAmplitudeFields AmplitudeFields(std::uint16_t ampScale)
{
    const PlotAmplitudeLimits l = AmplitudeLimitsFor(ampScale);
    PlotOptionsAmplitudeFields f;
    switch (ampScale) {
    case 1:
        f.TopDecimals = 2;
        f.TopSpin = {l.TopMaximum, l.TopMinimum, 5.0f, false, 2};
        f.RangeEnabled = true;
        f.RangeDecimals = 1;
        // The spin reaches down as far as the top does; OK refuses a span
        // that is not above 0.
        f.RangeSpin = {300.0f, -300.0f, 5.0f, false, 2};
        f.RangeLabel = "Plot Range";
        break;
    case 2:
        f.TopDecimals = 5;
        f.TopSpin = {l.TopMaximum, l.TopMinimum, 2.0f, true, 5};
        f.RangeEnabled = true;
        f.RangeDecimals = 6;
        f.RangeSpin = {l.RangeMaximum, l.RangeMinimum, 2.0f, true, 6};
        f.RangeLabel = "Plot Bottom";
        break;
    default:
        f.TopDecimals = 3;
        f.TopSpin = {l.TopMaximum, l.TopMinimum, 1.0f, false, 3};
        f.RangeLabel = "Plot Range";
        break;
    }
    return f;
}

PlotOptionsForm Fill(const SpectrumOpts& o, std::uint16_t ampScale)
{
    const PlotOptionsAmplitudeFields fields = AmplitudeFields(ampScale);
    PlotOptionsForm f;
    f.PlotType = std::min(o.PlotType, SpectrumOpts::kLastPlotType);
    f.GridX = o.GridXEnabled != 0;
    f.GridY = o.GridYEnabled != 0;
    f.ShowToolbar = o.ShowToolbar != 0;
    f.ShowOverlayControls = o.ShowOverlayControls != 0;
    f.GrabCursor = o.GrabCursorFlag != 0;
    f.PowerMeter = o.ShowPowerMeter != 0;
    f.Thick[0] = o.DrawThickSpectrum != 0;
    f.Thick[1] = o.DrawThickPeakHold != 0;
    f.Thick[2] = o.DrawThickOverlays != 0;
    f.Thick[3] = o.DrawThickMarkers != 0;
    f.Top = Fixed(o.PlotTop, 3, fields.TopDecimals);
    f.Range = fields.RangeEnabled ? Fixed(o.PlotRange, 3, fields.RangeDecimals) : "N/A";
    // Four decimals, unless that would round what an OK stores.
    f.Start = FloatFieldText(o.StartFreq, 4);
    f.Stop = FloatFieldText(o.StopFreq, 4);
    f.SpecificInterval = o.IntervalFlag != 0;
    f.Interval = Fixed(o.IntervalSecs, 6, 3);
    f.PeakHold = std::min(o.PeakHold, SpectrumOpts::kPeakHoldForever);
    return f;
}

void ApplyDefaults(PlotOptionsForm& f, SpectrumOpts& o, int channel)
{
    const bool second = channel == 1;
    f.PlotType = 0;
    f.GridX = f.GridY = f.ShowToolbar = f.ShowOverlayControls = true;
    o.BackgroundColor = 0x000000;
    o.LineColor = 0x00FF00;
    o.PeakColor = 0x0000FF;
    o.MarkerColor = 0xFFFFFF;
    o.GridColor = 0x808080;
    f.Top = second ? "1.0" : "100.0";
    f.Range = second ? "0.0001" : "100.0";
    f.Start = second ? "1.0" : "900";
    f.Stop = second ? "500.0" : "95000.0";
    std::fill(std::begin(f.Thick), std::end(f.Thick), second);
    f.SpecificInterval = true;
    f.Interval = "0.020";
    f.GrabCursor = true;
    f.PowerMeter = true;
    f.PeakHold = 2;
}

std::string Validate(const PlotOptionsForm& f, std::uint16_t ampScale, SpectrumOpts& o)
{
    const bool rangeUsed = AmplitudeLimitsFor(ampScale).RangeUsed;
    const float top = Read(f.Top);
    // Linear scaling shows "N/A": the stored range stays as it was.
    const float range = rangeUsed ? Read(f.Range) : o.PlotRange;
    std::string message = CheckPlotAmplitude(ampScale, top, range);
    if (!message.empty())
        return message;
    const float start = Read(f.Start);
    const float stop = Read(f.Stop);
    if (!(start > 0.0f))
        return "Start Frequency must be greater than zero";
    if (!(stop > 0.0f))
        return "Stop Frequency must be greater than zero";
    const std::string highest = std::to_string(static_cast<long>(field_ranges::kHighestFrequencyHz));
    if (!field_ranges::kFrequencyHz.Contains(start))
        return "Start Frequency must be at most " + highest + " Hz";
    if (!field_ranges::kFrequencyHz.Contains(stop))
        return "Stop Frequency must be at most " + highest + " Hz";
    if (!(start < stop))
        return "Stop Frequency must be greater than Start Frequency";
    const float interval = Read(f.Interval);
    if (f.SpecificInterval && !(interval > 0.0f && interval < kLongestInterval))
        return "Update Interval must be greater than zero and less than 3600 seconds.";

    o.PlotType = std::min(f.PlotType, SpectrumOpts::kLastPlotType);
    o.GridXEnabled = f.GridX ? 1 : 0;
    o.GridYEnabled = f.GridY ? 1 : 0;
    o.ShowToolbar = f.ShowToolbar ? 1 : 0;
    o.ShowOverlayControls = f.ShowOverlayControls ? 1 : 0;
    o.GrabCursorFlag = f.GrabCursor ? 1 : 0;
    o.PlotTop = top;
    o.PlotRange = range;
    o.StartFreq = start;
    o.StopFreq = stop;
    o.IntervalFlag = f.SpecificInterval ? 1 : 0;
    if (f.SpecificInterval)
        o.IntervalSecs = interval;
    o.ShowPowerMeter = f.PowerMeter ? 1 : 0;
    o.ShowRMSLevel = 0;
    o.PeakHold = std::min(f.PeakHold, SpectrumOpts::kPeakHoldForever);
    o.DrawThickSpectrum = f.Thick[0] ? 1 : 0;
    o.DrawThickPeakHold = f.Thick[1] ? 1 : 0;
    o.DrawThickOverlays = f.Thick[2] ? 1 : 0;
    o.DrawThickMarkers = f.Thick[3] ? 1 : 0;
    return {};
}

} // namespace plot_options
