#include "settings/SettingsLimits.h"

#include "settings/PlotAmplitudeLimits.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace {

constexpr std::int32_t kLongestTimeMsec = 600000;
constexpr float kLowestRelativeDB = -96.0f;

// (0, nyquist]; `fallback` when not above 0 (or not a number).
float PositiveUpTo(float value, float fallback, std::int32_t nyquist)
{
    const float top = static_cast<float>(nyquist);
    if (!(value > 0.0f))
        return std::min(fallback, top);
    return std::min(value, top);
}

// [low, high]; `fallback` when not a number.
float Within(float value, float low, float high, float fallback)
{
    if (std::isnan(value))
        return fallback;
    return std::clamp(value, low, high);
}

template <typename T>
bool OneOf(T value, std::initializer_list<T> choices)
{
    return std::find(choices.begin(), choices.end(), value) != choices.end();
}

void LimitTones(SigGenChannelSettings& g, std::int32_t nyquist)
{
    bool anyEnabled = false;
    for (std::size_t n = 0; n < SigGenChannelSettings::kToneCount; ++n) {
        ToneSettings& tone = g.Tones[n];
        if (tone.ToneEnable == 0)
            continue;
        anyEnabled = true;
        tone.FreqHz = PositiveUpTo(tone.FreqHz, 1000.0f * static_cast<float>(n + 1), nyquist);
        tone.PwrDB = Within(tone.PwrDB, kLowestRelativeDB, 0.0f, 0.0f);
    }
    if (!anyEnabled) {
        ToneSettings& first = g.Tones[0];
        first.ToneEnable = 1;
        first.FreqHz = PositiveUpTo(first.FreqHz, 1000.0f, nyquist);
        first.PwrDB = Within(first.PwrDB, kLowestRelativeDB, 0.0f, 0.0f);
    }
}

void LimitPulse(PulseSettings& p, std::int32_t nyquist)
{
    // One sample period in whole microseconds is the shortest pulse.
    const std::int64_t shortest = std::max<std::int64_t>(1, 1000000 / (2 * std::int64_t{nyquist}));
    const std::int64_t longestWidth = shortest * 100000;
    const std::int64_t longestInterval = longestWidth * 100;
    auto width = std::clamp<std::int64_t>(p.WidthNSec, shortest, longestWidth);
    auto interval = std::clamp<std::int64_t>(p.RepIntervalNSec, shortest, longestInterval);
    if (width >= interval) {
        const PulseSettings defaults;
        width = std::clamp<std::int64_t>(defaults.WidthNSec, shortest, longestWidth);
        interval = std::clamp<std::int64_t>(defaults.RepIntervalNSec, width + 1, longestInterval);
    }
    p.WidthNSec = static_cast<std::int32_t>(width);
    p.RepIntervalNSec = static_cast<std::int32_t>(interval);
}

// Start and stop of a frequency span: both above 0, start below stop and
// both finite, or both take their defaults.
void LimitSpan(float& start, float& stop, float defaultStart, float defaultStop)
{
    if (!(start > 0.0f) || !(stop > start) || !std::isfinite(stop)) {
        start = defaultStart;
        stop = defaultStop;
    }
}

// Level limits of each output unit; levels at or below an exclusive bottom
// go to 6 dB below full scale, the generator's default level.
void LimitOutputLevel(float& level, std::int32_t units, float fullScaleVolts)
{
    switch (units) {
    case 0:
        level = Within(level, kLowestRelativeDB, 0.0f, -6.0f);
        return;
    case 1:
    case 2:
    case 3: {
        const float top = units == 1 ? 100.0f : units == 2 ? fullScaleVolts : 1000.0f * fullScaleVolts;
        level = level > 0.0f ? std::min(level, top) : top / 2.0f;
        return;
    }
    default: {
        float top = 20.0f * std::log10(fullScaleVolts);
        if (units == 5)
            top += 60.0f;
        else if (units == 6)
            top += 2.21395f;
        level = level > top - 96.0f ? std::min(level, top) : top - 6.0f;
        return;
    }
    }
}

} // namespace

std::int32_t GeneratorNyquist(const TProcessingSettings& processing)
{
    const std::uint32_t rate = std::max<std::uint32_t>(processing.Format.SamplingRate, 48000);
    return static_cast<std::int32_t>(std::min<std::uint32_t>(rate / 2, 0x7FFFFFFF));
}

void LimitSigGenChannel(SigGenChannelSettings& g, std::int32_t nyquist)
{
    const SigGenChannelSettings d;
    if (g.SigType < 0 || g.SigType >= kSigTypeCount)
        g.SigType = d.SigType;

    NoiseBurstSettings& noise = g.NoiseBurst;
    noise.Type = noise.Type != 0 ? 1 : 0;
    // No buffer plays longer than the longest sweep; a longer cycle plays as that.
    noise.CycleTimeMsec = std::min(noise.CycleTimeMsec, kLongestTimeMsec);
    if (noise.BurstTimeMsec < 1 || noise.CycleTimeMsec < 1 || noise.BurstTimeMsec >= noise.CycleTimeMsec) {
        noise.BurstTimeMsec = d.NoiseBurst.BurstTimeMsec;
        noise.CycleTimeMsec = d.NoiseBurst.CycleTimeMsec;
    }

    FreqSweepSettings& sweep = g.FreqSweep;
    const float top = static_cast<float>(nyquist);
    sweep.FStartHz = Within(sweep.FStartHz, 0.0f, top, std::min(d.FreqSweep.FStartHz, top));
    sweep.FStopHz = Within(sweep.FStopHz, 0.0f, top, std::min(d.FreqSweep.FStopHz, top));
    sweep.TimeMSec = std::clamp(sweep.TimeMSec, 1, kLongestTimeMsec);
    if (!OneOf(sweep.SweepType, {1, 2}))
        sweep.SweepType = d.FreqSweep.SweepType;

    FreqStepSettings& step = g.FreqStep;
    step.FStartHz = Within(step.FStartHz, 0.0f, top, std::min(d.FreqStep.FStartHz, top));
    step.FStopHz = Within(step.FStopHz, 0.0f, top, std::min(d.FreqStep.FStopHz, top));
    if (!(step.StepSize > 0.0f) || std::isinf(step.StepSize))
        step.StepSize = d.FreqStep.StepSize;
    step.DwellTimeMSec = std::clamp(step.DwellTimeMSec, 1, kLongestTimeMsec);
    if (!OneOf(step.OctaveNumber, {1, 3, 6, 9, 12, 24, 48, 96}))
        step.OctaveNumber = d.FreqStep.OctaveNumber;
    if (!OneOf(step.StepType, {1, 2}))
        step.StepType = d.FreqStep.StepType;

    LevelSweepSettings& level = g.LevelSweep;
    level.StartDB = Within(level.StartDB, kLowestRelativeDB, 0.0f, d.LevelSweep.StartDB);
    level.StopDB = Within(level.StopDB, kLowestRelativeDB, 0.0f, d.LevelSweep.StopDB);
    level.FreqHz = PositiveUpTo(level.FreqHz, d.LevelSweep.FreqHz, nyquist);
    level.TimeMSec = std::clamp(level.TimeMSec, 1, kLongestTimeMsec);

    LimitTones(g, nyquist);

    ToneBurstSettings& burst = g.ToneBurst;
    burst.FreqHz = burst.FreqHz < 1 ? std::min(d.ToneBurst.FreqHz, nyquist) : std::min(burst.FreqHz, nyquist);
    burst.CycleTimeMsec = std::min(burst.CycleTimeMsec, kLongestTimeMsec);
    if (burst.CycleTimeMsec < 1 || burst.BurstTimeMsec < 0 || burst.BurstTimeMsec >= burst.CycleTimeMsec) {
        burst.BurstTimeMsec = d.ToneBurst.BurstTimeMsec;
        burst.CycleTimeMsec = d.ToneBurst.CycleTimeMsec;
    }

    IMDSettings& imd = g.IMD;
    if (imd.IMDtype > 2)
        imd.IMDtype = d.IMD.IMDtype;
    if (imd.IMDtype == 2) {
        // Both bounds exclusive, as the dialog has them.
        if (!(imd.LoFreqHz > 0.0f && imd.LoFreqHz < top && imd.HiFreqHz > 1000.0f && imd.HiFreqHz < top
              && imd.LoFreqHz < imd.HiFreqHz)) {
            imd.LoFreqHz = d.IMD.LoFreqHz;
            imd.HiFreqHz = d.IMD.HiFreqHz;
        }
        imd.PwrRatio = Within(imd.PwrRatio, 1.0f, 10.0f, d.IMD.PwrRatio);
    }

    LimitPulse(g.Pulse, nyquist);

    DTMFSettings& dtmf = g.DTMF;
    for (auto [time, fallback] : {std::pair{&dtmf.PulseWidthMsec, d.DTMF.PulseWidthMsec},
                                  std::pair{&dtmf.PulseSpacingMsec, d.DTMF.PulseSpacingMsec}}) {
        if (*time < 1 || *time > kLongestTimeMsec)
            *time = fallback;
    }

    g.Sawtooth.Slope = g.Sawtooth.Slope == 1 ? 1 : -1;
    g.Sawtooth.FreqHz = PositiveUpTo(g.Sawtooth.FreqHz, d.Sawtooth.FreqHz, nyquist);
    g.Triangular.FreqHz = PositiveUpTo(g.Triangular.FreqHz, d.Triangular.FreqHz, nyquist);
    g.Square.FreqHz = PositiveUpTo(g.Square.FreqHz, d.Square.FreqHz, nyquist);
    g.Square.DutyCyclePct = std::clamp(g.Square.DutyCyclePct, 1, 99);
}

void LimitSigGenOutput(SigGenOutputSettings& o)
{
    const SigGenOutputSettings d;
    if (o.OutputUnits < 0 || o.OutputUnits > SigGenOutputSettings::kLastUnit)
        o.OutputUnits = d.OutputUnits;
    o.FSOption = o.FSOption != 0 ? 1 : 0;
    if (!(o.FSVoltage > 0.0f) || std::isinf(o.FSVoltage))
        o.FSVoltage = d.FSVoltage;
    LimitOutputLevel(o.OutputLevel, o.OutputUnits, o.FSVoltage);
    LimitOutputLevel(o.OutputLevelR, o.OutputUnits, o.FSVoltage);
}

void LimitSpectrumOpts(SpectrumOpts& o, int plot)
{
    const bool second = plot == 1;
    if (o.PlotType > SpectrumOpts::kLastPlotType)
        o.PlotType = 0;
    if (o.PeakHold > SpectrumOpts::kPeakHoldForever)
        o.PeakHold = 2;
    LimitSpan(o.StartFreq, o.StopFreq, second ? 1.0f : 1000.0f, second ? 500.0f : 95000.0f);
    if (o.IntervalFlag != 0 && !(o.IntervalSecs > 0.0f && o.IntervalSecs < 3600.0f))
        o.IntervalSecs = 0.02f;
    for (std::uint16_t* index : {&o.DifferenceIndex1_1, &o.DifferenceIndex2_1}) {
        if (*index >= SpectrumOpts::kOverlayCount)
            *index = 0;
    }
    for (std::uint16_t* index : {&o.DifferenceIndex1_2, &o.DifferenceIndex2_2}) {
        if (*index >= SpectrumOpts::kOverlayCount)
            *index = 1;
    }
}

void LimitMarkerOpts(MarkerOpts& m)
{
    for (std::size_t n = 0; n < MarkerOpts::kMarkerCount; ++n) {
        if (m.MarkerEnable[n] != 0 && !(m.MarkerFreq[n] > 0.0f && std::isfinite(m.MarkerFreq[n])))
            m.MarkerFreq[n] = 1000.0f;
        if (m.LabelType[n] > MarkerOpts::kCustom)
            m.LabelType[n] = MarkerOpts::kAmplitude;
    }
}

void LimitLoggingOpts(LoggingOpts& o)
{
    o.IntervalSecs = Within(o.IntervalSecs, 1.0f, 3600.0f, 1.0f);
    LimitSpan(o.StartFreq, o.StopFreq, 20.0f, 20000.0f);
    if (o.ThresholdType >= LoggingOpts::kDataItemCount)
        o.ThresholdType = 1;
}

void LimitScalingOpts(ScalingOpts& o, int channel)
{
    const ScalingOpts d = ScalingOpts::FrameDefaults(channel);
    if (o.AmpScaleType > ScalingOpts::kLogMagnitude)
        o.AmpScaleType = d.AmpScaleType;
    if (o.FreqScaleType > ScalingOpts::kOctave)
        o.FreqScaleType = ScalingOpts::kFftLinear;
    // The sheet offers whole and third octaves and shows every number but 1
    // as thirds; the engine then agrees with what the sheet shows.
    if (o.OctaveNumber != 1)
        o.OctaveNumber = 3;
    if (o.StandardWeighting > 3)
        o.StandardWeighting = 0;
    if (o.TotalPowerWeighting > 3)
        o.TotalPowerWeighting = 0;
    if (o.UtilityFreqSpanType > 2)
        o.UtilityFreqSpanType = 2;
    if (o.UtilityFreqSpanType == 2)
        LimitSpan(o.UtilityFreqCustomStart, o.UtilityFreqCustomStop, d.UtilityFreqCustomStart,
                  d.UtilityFreqCustomStop);
}

void LimitProcessingSettings(TProcessingSettings& p)
{
    // The format menu's rates run from 4 kHz to 200 kHz, in 16 or 24 bits,
    // mono or stereo; anything else is what a missing key gives.
    const TWaveFormat& f = p.Format;
    const std::uint32_t rate = f.SamplingRate >= 4000 && f.SamplingRate <= 200000 ? f.SamplingRate : 192000;
    const std::uint16_t bytes = OneOf<std::uint16_t>(f.BytesPerSample, {2, 3}) ? f.BytesPerSample : 3;
    const std::uint16_t channels = OneOf<std::uint16_t>(f.NumChannels, {1, 2}) ? f.NumChannels : 1;
    if (rate != f.SamplingRate || bytes != f.BytesPerSample || channels != f.NumChannels)
        p.Format.Set(rate, channels, bytes);
    for (int c = 0; c < 2; ++c) {
        if (p.AverageSpeed[c] > 4)
            p.AverageSpeed[c] = 1;
        if (p.AverageType[c] > 2)
            p.AverageType[c] = 0;
        if (p.AverageBlocks[c] == 0)
            p.AverageBlocks[c] = 4;
    }
}

void ApplySettingsLimits(FrameSettings& s)
{
    LimitProcessingSettings(s.Processing);
    const std::int32_t nyquist = GeneratorNyquist(s.Processing);
    for (int c = 0; c < 2; ++c) {
        LimitScalingOpts(s.Scaling[c], c);
        LimitSpectrumOpts(s.Spectrum[c], c);
        // The plot's own amplitude fields, by the scale its channel shows;
        // the defaults are the log plot's or the dB plot's.
        SpectrumOpts& plot = s.Spectrum[c];
        const std::uint16_t scale = s.Scaling[c].AmpScaleType;
        LimitPlotAmplitude(scale, plot.PlotTop, plot.PlotRange, scale == 2 ? 1.0f : 100.0f,
                           scale == 2 ? 0.0001f : 100.0f);
        LimitMarkerOpts(s.Markers[c]);
        LimitLoggingOpts(s.DataLog.Channel[c]);
        LimitSigGenChannel(s.SigGenChannel[c], nyquist);
    }
    LimitSigGenOutput(s.SigGenOutput);
}
