#include "settings/FloatFieldBounds.h"

namespace {

// Shared ranges.
// Hz, far above any rate's Nyquist; a disabled tone or marker may keep a
// negative one.
constexpr FloatRange kFrequency{-1.0e6f, 1.0e6f};
// A relative level or offset.
constexpr FloatRange kDecibels{-1000.0f, 1000.0f};
constexpr FloatRange kSeconds{-1.0e6f, 1.0e6f};
// Readings and ratios in display units.
constexpr FloatRange kAnyLevel{-1.0e6f, 1.0e6f};
constexpr FloatRange kPositiveRatio{1.0e-12f, 1.0e6f};
// A plot's top or range on any amplitude scale (a linear top reaches 1e7).
constexpr FloatRange kPlotAmplitude{-1.0e7f, 1.0e7f};

void Bound(float& value, float fallback, FloatRange range)
{
    if (!range.Contains(value))
        value = fallback;
}

} // namespace

void BoundPrintFloats(PrintOpts& o, const PrintOpts& d)
{
    constexpr FloatRange kMarginInches{0.0f, 20.0f};
    Bound(o.MarginLeft, d.MarginLeft, kMarginInches);
    Bound(o.MarginRight, d.MarginRight, kMarginInches);
    Bound(o.MarginTop, d.MarginTop, kMarginInches);
    Bound(o.MarginBottom, d.MarginBottom, kMarginInches);
}

void BoundProcessingFloats(TProcessingSettings& p, const TProcessingSettings& d)
{
    Bound(p.DelayTimeMsec, d.DelayTimeMsec, {-60000.0f, 60000.0f});
}

void BoundScalingFloats(ScalingOpts& o, const ScalingOpts& d)
{
    Bound(o.UtilityFreqCustomStart, d.UtilityFreqCustomStart, kFrequency);
    Bound(o.UtilityFreqCustomStop, d.UtilityFreqCustomStop, kFrequency);
}

void BoundCalibrationFloats(TChannelCalibration& c, const TChannelCalibration& d)
{
    Bound(c.RefLevel, d.RefLevel, kAnyLevel);
    // Negative until the channel is calibrated.
    Bound(c.PctFullScale, d.PctFullScale, {-1.0f, 1.0e6f});
    Bound(c.CalRatio, d.CalRatio, kPositiveRatio);
    Bound(c.TransducerSensitivityVolts, d.TransducerSensitivityVolts, kPositiveRatio);
    Bound(c.DAQVoltageRange, d.DAQVoltageRange, {0.0f, 1000.0f});
}

void BoundTriggerFloats(TriggerOpts& t, const TriggerOpts& d)
{
    Bound(t.Threshold, d.Threshold, {0.0f, 100.0f});
    Bound(t.DelayMsec, d.DelayMsec, {-60000.0f, 60000.0f});
}

void BoundRunControlFloats(RunControlOpts& r, const RunControlOpts& d)
{
    Bound(r.LimitSeconds, d.LimitSeconds, kSeconds);
    Bound(r.RunDelaySeconds, d.RunDelaySeconds, kSeconds);
}

void BoundMarkerFloats(MarkerOpts& m, const MarkerOpts& d)
{
    for (std::size_t n = 0; n < MarkerOpts::kMarkerCount; ++n)
        Bound(m.MarkerFreq[n], d.MarkerFreq[n], kFrequency);
}

void BoundSeriesFloats(SeriesOpts& o, const SeriesOpts& d)
{
    Bound(o.PlotTop, d.PlotTop, kPlotAmplitude);
    Bound(o.PlotRange, d.PlotRange, kPlotAmplitude);
    Bound(o.PlotCenter, d.PlotCenter, {-1.0e7f, 1.0e7f});
    Bound(o.StartTime, d.StartTime, kSeconds);
    Bound(o.StopTime, d.StopTime, kSeconds);
    Bound(o.IntervalSecs, d.IntervalSecs, kSeconds);
}

void BoundSpectrumFloats(SpectrumOpts& o, const SpectrumOpts& d)
{
    Bound(o.PlotTop, d.PlotTop, kPlotAmplitude);
    Bound(o.PlotRange, d.PlotRange, kPlotAmplitude);
    Bound(o.StartFreq, d.StartFreq, kFrequency);
    Bound(o.StopFreq, d.StopFreq, kFrequency);
    Bound(o.IntervalSecs, d.IntervalSecs, kSeconds);
    for (std::size_t e = 0; e < SpectrumOpts::kOverlayCount; ++e) {
        Bound(o.Overlay[e].Offset1, d.Overlay[e].Offset1, kDecibels);
        Bound(o.Overlay[e].Offset2, d.Overlay[e].Offset2, kDecibels);
    }
}

void BoundLoggingFloats(LoggingOpts& o, const LoggingOpts& d)
{
    Bound(o.IntervalSecs, d.IntervalSecs, kSeconds);
    Bound(o.ThresholdLevel, d.ThresholdLevel, kAnyLevel);
    Bound(o.StartFreq, d.StartFreq, kFrequency);
    Bound(o.StopFreq, d.StopFreq, kFrequency);
}

void BoundSigGenChannelFloats(SigGenChannelSettings& g, const SigGenChannelSettings& d)
{
    Bound(g.FreqSweep.FStartHz, d.FreqSweep.FStartHz, kFrequency);
    Bound(g.FreqSweep.FStopHz, d.FreqSweep.FStopHz, kFrequency);
    Bound(g.FreqStep.FStartHz, d.FreqStep.FStartHz, kFrequency);
    Bound(g.FreqStep.FStopHz, d.FreqStep.FStopHz, kFrequency);
    Bound(g.FreqStep.StepSize, d.FreqStep.StepSize, kFrequency);
    Bound(g.LevelSweep.StartDB, d.LevelSweep.StartDB, kDecibels);
    Bound(g.LevelSweep.StopDB, d.LevelSweep.StopDB, kDecibels);
    Bound(g.LevelSweep.FreqHz, d.LevelSweep.FreqHz, kFrequency);
    for (std::size_t n = 0; n < SigGenChannelSettings::kToneCount; ++n) {
        Bound(g.Tones[n].FreqHz, d.Tones[n].FreqHz, kFrequency);
        Bound(g.Tones[n].PwrDB, d.Tones[n].PwrDB, kDecibels);
    }
    Bound(g.IMD.LoFreqHz, d.IMD.LoFreqHz, kFrequency);
    Bound(g.IMD.HiFreqHz, d.IMD.HiFreqHz, kFrequency);
    Bound(g.IMD.PwrRatio, d.IMD.PwrRatio, kAnyLevel);
    Bound(g.Sawtooth.FreqHz, d.Sawtooth.FreqHz, kFrequency);
    Bound(g.Triangular.FreqHz, d.Triangular.FreqHz, kFrequency);
    Bound(g.Square.FreqHz, d.Square.FreqHz, kFrequency);
    Bound(g.DTMF.TwistDB, d.DTMF.TwistDB, kDecibels);
}

void BoundSigGenOutputFloats(SigGenOutputSettings& o, const SigGenOutputSettings& d)
{
    // Levels in volts, millivolts, percent or dB; the unit's own limits
    // follow in the settings limits.
    Bound(o.OutputLevel, d.OutputLevel, {-1.0e6f, 1.0e6f});
    Bound(o.OutputLevelR, d.OutputLevelR, {-1.0e6f, 1.0e6f});
    Bound(o.FSVoltage, d.FSVoltage, {1.0e-6f, 1.0e6f});
}

void BoundFloatFields(FrameSettings& s, const FrameSettings& d)
{
    BoundPrintFloats(s.Print, d.Print);
    BoundProcessingFloats(s.Processing, d.Processing);
    for (int c = 0; c < 2; ++c) {
        BoundScalingFloats(s.Scaling[c], d.Scaling[c]);
        BoundCalibrationFloats(s.Calibration[c], d.Calibration[c]);
        BoundMarkerFloats(s.Markers[c], d.Markers[c]);
        BoundSpectrumFloats(s.Spectrum[c], d.Spectrum[c]);
        BoundLoggingFloats(s.DataLog.Channel[c], d.DataLog.Channel[c]);
        BoundSigGenChannelFloats(s.SigGenChannel[c], d.SigGenChannel[c]);
    }
    BoundTriggerFloats(s.Trigger, d.Trigger);
    BoundRunControlFloats(s.RunControl, d.RunControl);
    BoundSeriesFloats(s.Series, d.Series);
    BoundSigGenOutputFloats(s.SigGenOutput, d.SigGenOutput);
}
