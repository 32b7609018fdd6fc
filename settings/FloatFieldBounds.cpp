#include "settings/FloatFieldBounds.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "platform/NumberText.h"

#include "settings/Calibration.h"

namespace {

// Shared ranges.
// Hz, far above any rate's Nyquist; a disabled tone or marker may keep a
// negative one.
constexpr FloatRange kFrequency{-field_ranges::kHighestFrequencyHz, field_ranges::kHighestFrequencyHz};
// A relative level or offset.
constexpr FloatRange kDecibels{-1000.0f, 1000.0f};
constexpr FloatRange kSeconds{-1.0e6f, 1.0e6f};
// Readings and ratios in display units.
constexpr FloatRange kAnyLevel = field_ranges::kReadingLevel;
// Physical units per full scale: the least sensitive transducer the
// calibration page takes (-240 dB re 1 V/µPa, 1 µV per unit) on the 10 V
// range gives 1e7.
constexpr FloatRange kCalibrationRatio{1.0e-12f, 1.0e7f};
// A plot's top or range on any amplitude scale (a linear top reaches 1e7).
constexpr FloatRange kPlotAmplitude{-1.0e7f, 1.0e7f};

void Bound(float& value, float fallback, FloatRange range)
{
    if (!range.Contains(value))
        value = fallback;
}

} // namespace

float ToFloatField(double value)
{
    if (std::isnan(value))
        return std::numeric_limits<float>::quiet_NaN();
    if (std::fabs(value) > static_cast<double>(std::numeric_limits<float>::max()))
        return value > 0.0 ? std::numeric_limits<float>::infinity() : -std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}

std::string FloatFieldText(float value, int decimals)
{
    const std::string fixed = platform::FormatFixed(value, decimals);
    if (ToFloatField(platform::ParseFloatPrefix(fixed)) == value || !std::isfinite(value))
        return fixed;
    char text[64];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    return std::string(text, end);
}

void BoundPrintFloats(PrintOpts& o, const PrintOpts& d)
{
    using field_ranges::kMarginInches;
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

namespace {

// Each float field of a calibration record, with whether it lies in its
// range; the ranges follow the record's method. The .cfg reader and the
// adoption of a wave file's records walk the same list.
template <typename Visit>
void VisitCalibrationFloats(const TChannelCalibration& c, Visit&& visit)
{
    using namespace calibration;
    const bool calibrator = c.CalCreateMode == kModeCalibrator && c.RefUnits == kUnitPascals;
    visit("RefLevel", &TChannelCalibration::RefLevel,
          (calibrator ? field_ranges::kCalibratorLevelDb : kAnyLevel).Contains(c.RefLevel));
    // Negative until the channel is calibrated.
    visit("PctFullScale", &TChannelCalibration::PctFullScale, FloatRange{-1.0f, 1.0e6f}.Contains(c.PctFullScale));
    visit("CalRatio", &TChannelCalibration::CalRatio, kCalibrationRatio.Contains(c.CalRatio));
    // The sensitivity means what the method says: volts per unit for a
    // microphone or an accelerometer, a negative dB value for a hydrophone.
    // Under another method it is what a sensitivity method left there.
    const float s = c.TransducerSensitivityVolts;
    const bool sensitivity = c.CalCreateMode == kModeSensitivity;
    bool inRange = field_ranges::kHydrophoneDb.Contains(s) || field_ranges::kSensitivityVolts.Contains(s);
    if (sensitivity && c.RefUnits == kUnitHydrophonePascals)
        inRange = field_ranges::kHydrophoneDb.Contains(s);
    else if (sensitivity && (c.RefUnits == kUnitPascals || c.RefUnits == kUnitG))
        inRange = field_ranges::kSensitivityVolts.Contains(s);
    visit("TransducerSensitivityVolts", &TChannelCalibration::TransducerSensitivityVolts, inRange);
    visit("DAQVoltageRange", &TChannelCalibration::DAQVoltageRange,
          FloatRange{0.0f, 1000.0f}.Contains(c.DAQVoltageRange));
}

} // namespace

void BoundCalibrationFloats(TChannelCalibration& c, const TChannelCalibration& d)
{
    VisitCalibrationFloats(c, [&](const char*, float TChannelCalibration::*field, bool inRange) {
        if (!inRange)
            c.*field = d.*field;
    });
}

std::string CalibrationFieldOutOfRange(const TChannelCalibration& c, float* value, CalibrationStage stage)
{
    using namespace calibration;
    // Records before version 5100 and those an accelerometer's sensitivity
    // chunk fills leave a field their method never reads at zero: unset,
    // not out of range. The method derives the ratio, and only a
    // sensitivity method reads the sensitivity.
    const bool derivesRatio =
        c.CalCreateMode == kModeCalibrator || c.CalCreateMode == kModeVolts || c.CalCreateMode == kModeSensitivity;
    const bool readsSensitivity = c.CalCreateMode == kModeSensitivity;
    // The volts and sensitivity methods scale the range into the ratio: a
    // zero range would make every reading the no-power mark.
    const bool readsRange = c.CalCreateMode == kModeVolts || c.CalCreateMode == kModeSensitivity;
    std::string name;
    VisitCalibrationFloats(c, [&](const char* field, float TChannelCalibration::*member, bool inRange) {
        const bool zero = c.*member == 0.0f;
        const bool unset = zero && ((member == &TChannelCalibration::CalRatio && derivesRatio &&
                                     stage == CalibrationStage::AsRead) ||
                                    (member == &TChannelCalibration::TransducerSensitivityVolts && !readsSensitivity));
        const bool neededAboveZero = zero && member == &TChannelCalibration::DAQVoltageRange && readsRange;
        if ((inRange && !neededAboveZero) || unset || !name.empty())
            return;
        name = field;
        if (value != nullptr)
            *value = c.*member;
    });
    return name;
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
    Bound(o.ThresholdLevel, d.ThresholdLevel, field_ranges::kReadingLevel);
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
    Bound(o.FSVoltage, d.FSVoltage, field_ranges::kFullScaleVolts);
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
