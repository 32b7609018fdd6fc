// Values from a file that the dialogs would refuse are brought within what
// they accept, so nothing downstream divides by zero or runs past Nyquist.

#include "settings/SettingsLimits.h"

#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "SettingsTestSupport.h"
#include "settings/CfgSettingsFile.h"
#include "tests/support/HostileCfg.h"

namespace {

FrameSettings LoadText(const std::string& text)
{
    TempFolder folder;
    const std::string path = folder.File("limits.cfg");
    WriteWholeFile(path, text);
    FrameSettings settings;
    EXPECT_TRUE(LoadCfgSettings(path, settings, {}));
    return settings;
}

TEST(SettingsLimitsTest, GeneratorValuesStayWithinTheDialogsRanges)
{
    // 96 kHz analysis: the generator's Nyquist frequency is 48000 Hz.
    const FrameSettings s = LoadText("[Settings]\nSamplingRate=96000\n"
                                     "[Main]\nSigType=40\nSigTypeR=-1\n"
                                     "[NoiseBurst]\nBurstTimeMsec=0\nCycleTimeMsec=0\n"
                                     "[NoiseBurstR]\nCycleTimeMsec=2000000000\n"
                                     "[ToneBurstR]\nBurstTimeMsec=-5\nCycleTimeMsec=3000\n"
                                     "[DTMF]\nPulseWidthMsec=-5\nPulseSpacingMsec=900000\n"
                                     "[FreqSweep]\nFStopHz=90000\nTimeMSec=0\nSweepType=5\n"
                                     "[FreqStep]\nStepSize=0\nOctaveNumber=0\nDwellTimeMSec=900000\n"
                                     "[LevelSweep]\nStartDB=-200\nStopDB=6\nFreqHz=0\n"
                                     "[Tones]\nToneEnable0=0\nToneEnable2=1\nFreqHz2=0\nPwrDB2=10\n"
                                     "[ToneBurst]\nFreqHz=60000\nBurstTimeMsec=3000\n"
                                     "[IMD]\nIMDtype=2\nHiFreqHz=1000\nPwrRatio=50\n"
                                     "[Pulse]\nWidthNSec=1\nRepIntervalNSec=50\n[PulseR]\nWidthNSec=500\nRepIntervalNSec=500\n"
                                     "[SawtoothR]\nSlope=0\nFreqHz=-5\n"
                                     "[SquareR]\nFreqHz=48000\nDutyCyclePct=100\n"
                                     "[TonesR]\nToneEnable0=0\n");
    EXPECT_EQ(GeneratorNyquist(s.Processing), 48000);
    const SigGenChannelSettings& l = s.SigGenChannel[0];
    const SigGenChannelSettings& r = s.SigGenChannel[1];
    EXPECT_EQ(l.SigType, kSigTone1kHz);
    EXPECT_EQ(r.SigType, kSigTone1kHz);
    EXPECT_EQ(l.NoiseBurst.BurstTimeMsec, 1000);
    EXPECT_EQ(l.NoiseBurst.CycleTimeMsec, 2000);
    EXPECT_EQ(r.NoiseBurst.CycleTimeMsec, 600000) << "no cycle longer than the longest sweep";
    EXPECT_EQ(r.ToneBurst.BurstTimeMsec, 1000);
    EXPECT_EQ(r.ToneBurst.CycleTimeMsec, 2000);
    EXPECT_EQ(l.DTMF.PulseWidthMsec, 100);
    EXPECT_EQ(l.DTMF.PulseSpacingMsec, 100);
    EXPECT_EQ(l.FreqSweep.FStopHz, 48000.0f);
    EXPECT_EQ(l.FreqSweep.TimeMSec, 1);
    EXPECT_EQ(l.FreqSweep.SweepType, 1);
    EXPECT_EQ(l.FreqStep.StepSize, 1000.0f);
    EXPECT_EQ(l.FreqStep.OctaveNumber, 3);
    EXPECT_EQ(l.FreqStep.DwellTimeMSec, 600000);
    EXPECT_EQ(l.LevelSweep.StartDB, -96.0f);
    EXPECT_EQ(l.LevelSweep.StopDB, 0.0f);
    EXPECT_EQ(l.LevelSweep.FreqHz, 1000.0f);
    EXPECT_EQ(l.Tones[2].FreqHz, 3000.0f);
    EXPECT_EQ(l.Tones[2].PwrDB, 0.0f);
    EXPECT_EQ(l.Tones[2].ToneLinearAmplitude, 1.0f);
    EXPECT_EQ(r.Tones[0].ToneEnable, 1) << "at least one tone stays enabled";
    EXPECT_EQ(l.ToneBurst.FreqHz, 48000);
    EXPECT_EQ(l.ToneBurst.BurstTimeMsec, 1000);
    EXPECT_EQ(l.IMD.LoFreqHz, 100.0f);
    EXPECT_EQ(l.IMD.HiFreqHz, 5000.0f);
    EXPECT_EQ(l.IMD.PwrRatio, 10.0f);
    EXPECT_EQ(l.Pulse.WidthNSec, 10) << "one sample period at 96 kHz, in whole microseconds";
    EXPECT_EQ(l.Pulse.RepIntervalNSec, 50);
    EXPECT_EQ(r.Pulse.WidthNSec, 200);
    EXPECT_EQ(r.Pulse.RepIntervalNSec, 10000);
    EXPECT_EQ(r.Sawtooth.Slope, -1);
    EXPECT_EQ(r.Sawtooth.FreqHz, 1000.0f);
    EXPECT_EQ(r.Square.FreqHz, 48000.0f) << "Nyquist itself is allowed";
    EXPECT_EQ(r.Square.DutyCyclePct, 99);
}

TEST(SettingsLimitsTest, OutputLevelsFollowTheirUnit)
{
    SigGenOutputSettings o;
    o.OutputUnits = 9;
    o.OutputLevel = 3.0f;
    o.OutputLevelR = -200.0f;
    LimitSigGenOutput(o);
    EXPECT_EQ(o.OutputUnits, 0);
    EXPECT_EQ(o.OutputLevel, 0.0f);
    EXPECT_EQ(o.OutputLevelR, -96.0f);

    o.OutputUnits = 2;
    o.FSOption = 0;
    o.FSVoltage = 0.0f;
    o.OutputLevel = 0.0f;
    o.OutputLevelR = 5.0f;
    LimitSigGenOutput(o);
    EXPECT_EQ(o.FSVoltage, 1.0f) << "a full scale of 0 V would divide by zero";
    EXPECT_EQ(o.OutputLevel, 0.5f);
    EXPECT_EQ(o.OutputLevelR, 1.0f);
}

TEST(SettingsLimitsTest, PlotAndLoggingValuesStayUsable)
{
    const FrameSettings s = LoadText("[SpectrumOpts]\nStartFreq=0\nStopFreq=500\nPlotType=9\nPeakHold=12\n"
                                     "IntervalSecs=0\nDifferenceIndex1_2=7\n"
                                     "[SpectrumOpts2]\nStartFreq=300\nStopFreq=200\n"
                                     "[Markers]\nMarkerEnable2=1\nMarkerFreq2=0\nLabelType2=8\nMarkerFreq3=0\n"
                                     "[LoggingOpts_0]\nIntervalSecs=0\nStartFreq=-1\nThresholdType=99\n"
                                     "[LoggingOpts_1]\nIntervalSecs=99999\nStartFreq=50\nStopFreq=40\n"
                                     "[Scaling]\nOctaveNumber=0\nFreqScaleType=2\nUtilityFreqCustomStart=0\n"
                                     "[Scaling2]\nOctaveNumber=1\n"
                                     "[Settings]\nAverageSpeed=9\nAverageBlocks=0\n");
    const SpectrumOpts& p1 = s.Spectrum[0];
    EXPECT_EQ(p1.StartFreq, 1000.0f);
    EXPECT_EQ(p1.StopFreq, 95000.0f);
    EXPECT_EQ(p1.PlotType, 0);
    EXPECT_EQ(p1.PeakHold, 2);
    EXPECT_EQ(p1.IntervalSecs, 0.02f);
    EXPECT_EQ(p1.DifferenceIndex1_2, 1);
    EXPECT_EQ(s.Spectrum[1].StartFreq, 1.0f);
    EXPECT_EQ(s.Spectrum[1].StopFreq, 500.0f);
    EXPECT_EQ(s.Markers[0].MarkerFreq[2], 1000.0f);
    EXPECT_EQ(s.Markers[0].LabelType[2], 2u);
    EXPECT_EQ(s.Markers[0].MarkerFreq[3], 0.0f) << "a marker that is off is not checked";
    const LoggingOpts& log0 = s.DataLog.Channel[0];
    const LoggingOpts& log1 = s.DataLog.Channel[1];
    EXPECT_EQ(log0.IntervalSecs, 1.0f);
    EXPECT_EQ(log0.StartFreq, 20.0f);
    EXPECT_EQ(log0.StopFreq, 20000.0f);
    EXPECT_EQ(log0.ThresholdType, 1u);
    EXPECT_EQ(log1.IntervalSecs, 3600.0f);
    EXPECT_EQ(log1.StartFreq, 20.0f);
    EXPECT_EQ(s.Scaling[0].OctaveNumber, 3);
    EXPECT_EQ(s.Scaling[0].UtilityFreqCustomStart, 900.0f);
    EXPECT_EQ(s.Scaling[1].OctaveNumber, 1);
    EXPECT_EQ(s.Processing.AverageSpeed[0], 1);
    EXPECT_EQ(s.Processing.AverageBlocks[0], 4u);
}

} // namespace

// Numbers no float holds, or far outside every field's range, in every
// float key: each reads as if its key were missing, and nothing non-finite
// is written back. In the integer keys too, every float stays finite.
TEST(SettingsLimitsTest, NonFiniteAndHugeNumbersInEveryKeyReadAsMissingKeys)
{
    const std::vector<hostile_cfg::FloatField> missing = hostile_cfg::FloatFields(LoadText(""));
    for (const char* hostile : {"nan", "inf", "-inf", "1e39", "-1e39", "1000000000", "-1000000000"}) {
        SCOPED_TRACE(hostile);
        const FrameSettings loaded = LoadText(hostile_cfg::EveryNumberAs(hostile, true));
        const std::vector<hostile_cfg::FloatField> fields = hostile_cfg::FloatFields(loaded);
        ASSERT_EQ(fields.size(), missing.size());
        for (std::size_t i = 0; i < fields.size(); ++i)
            EXPECT_EQ(fields[i].Value, missing[i].Value) << fields[i].Key;
        const FrameSettings everywhere = LoadText(hostile_cfg::EveryNumberAs(hostile));
        for (const hostile_cfg::FloatField& field : hostile_cfg::FloatFields(everywhere))
            EXPECT_TRUE(std::isfinite(field.Value) && std::fabs(field.Value) <= 1.0e7f) << field.Key;
        // The format menu's rates: 4 kHz … 200 kHz.
        EXPECT_GE(everywhere.Processing.Format.SamplingRate, 4000u);
        EXPECT_LE(everywhere.Processing.Format.SamplingRate, 200000u);
        for (const FrameSettings* s : {&loaded, &everywhere}) {
            const std::string written = FormatCfgSettings(*s);
            EXPECT_EQ(written.find("nan"), std::string::npos);
            EXPECT_EQ(written.find("inf"), std::string::npos);
        }
    }
}

TEST(SettingsLimitsTest, PlotTopAndRangeStayWithinThePlotsOwnFields)
{
    struct Case {
        const char* scale;
        const char* top;
        const char* range;
        float expectedTop;
        float expectedRange;
    };
    // dB: tops of -300 … 300, spans above 0 up to 300; log: tops of 1e-5 …
    // 1e4, bottoms of 1e-6 … 100; linear: tops of 1e-9 … 1e7. A value beyond
    // a bound takes the bound; one no plot could hold (1e9) the default.
    const Case cases[] = {
        {"1", "300", "300", 300.0f, 300.0f},
        {"1", "301", "1000000000", 300.0f, 100.0f},
        {"2", "10000", "100", 10000.0f, 100.0f},
        {"2", "20000", "-1", 10000.0f, 1e-6f},
        {"0", "1000000000", "5", 100.0f, 5.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.scale) + " " + c.top + " " + c.range);
        const FrameSettings s = LoadText(std::string("[Scaling]\r\nAmpScaleType=") + c.scale
                                         + "\r\n[SpectrumOpts]\r\nPlotTop=" + c.top + "\r\nPlotRange=" + c.range
                                         + "\r\n");
        EXPECT_EQ(s.Spectrum[0].PlotTop, c.expectedTop);
        EXPECT_EQ(s.Spectrum[0].PlotRange, c.expectedRange);
    }
}
