// Values from a file that the dialogs would refuse are brought within what
// they accept, so nothing downstream divides by zero or runs past Nyquist.

#include "settings/SettingsLimits.h"

#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "SettingsTestSupport.h"
#include "settings/CfgSettingsFile.h"
#include "tests/support/HostileCfg.h"

namespace {

class SettingsLimitsTest : public CfgTextTest {};

TEST_F(SettingsLimitsTest, GeneratorPlotLoggingAndOutputValuesStayWithinTheDialogsRanges)
{
    // 96 kHz analysis: the generator's Nyquist frequency is 48000 Hz.
    const FrameSettings s = Load("[Settings]\nSamplingRate=96000\nAverageSpeed=9\nAverageBlocks=0\n"
                                     "[SpectrumOpts]\nStartFreq=0\nStopFreq=500\nPlotType=9\nPeakHold=12\n"
                                     "IntervalSecs=0\nDifferenceIndex1_2=7\n"
                                     "[SpectrumOpts2]\nStartFreq=300\nStopFreq=200\n"
                                     "[Markers]\nMarkerEnable2=1\nMarkerFreq2=0\nLabelType2=8\nMarkerFreq3=0\n"
                                     "[LoggingOpts_0]\nIntervalSecs=0\nStartFreq=-1\nThresholdType=99\n"
                                     "[LoggingOpts_1]\nIntervalSecs=99999\nStartFreq=50\nStopFreq=40\n"
                                     "[Scaling]\nOctaveNumber=0\nFreqScaleType=2\nUtilityFreqCustomStart=0\n"
                                     "[Scaling2]\nOctaveNumber=1\n"
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
    // Right cycles no longer than the longest sweep; one sample period at
    // 96 kHz is 10 whole microseconds; Nyquist itself is allowed; one tone
    // stays enabled.
    ExpectWritten(s, "Main/SigType=3 Main/SigTypeR=3 NoiseBurst/BurstTimeMsec=1000 NoiseBurst/CycleTimeMsec=2000 "
                     "NoiseBurstR/CycleTimeMsec=600000 ToneBurstR/BurstTimeMsec=1000 ToneBurstR/CycleTimeMsec=2000 "
                     "DTMF/PulseWidthMsec=100 DTMF/PulseSpacingMsec=100 FreqSweep/FStopHz=48000 "
                     "FreqSweep/TimeMSec=1 FreqSweep/SweepType=1 FreqStep/StepSize=1000 FreqStep/OctaveNumber=3 "
                     "FreqStep/DwellTimeMSec=600000 LevelSweep/StartDB=-96 LevelSweep/StopDB=0 "
                     "LevelSweep/FreqHz=1000 Tones/FreqHz2=3000 Tones/PwrDB2=0 TonesR/ToneEnable0=1 "
                     "ToneBurst/FreqHz=48000 ToneBurst/BurstTimeMsec=1000 IMD/LoFreqHz=100 IMD/HiFreqHz=5000 "
                     "IMD/PwrRatio=10 Pulse/WidthNSec=10 Pulse/RepIntervalNSec=50 PulseR/WidthNSec=200 "
                     "PulseR/RepIntervalNSec=10000 SawtoothR/Slope=-1 SawtoothR/FreqHz=1000 SquareR/FreqHz=48000 "
                     "SquareR/DutyCyclePct=99");
    // A marker that is off is not checked.
    ExpectWritten(s, "SpectrumOpts/StartFreq=1000 SpectrumOpts/StopFreq=95000 SpectrumOpts/PlotType=0 "
                     "SpectrumOpts/PeakHold=2 SpectrumOpts/IntervalSecs=0.02 SpectrumOpts/DifferenceIndex1_2=1 "
                     "SpectrumOpts2/StartFreq=1 SpectrumOpts2/StopFreq=500 Markers/MarkerFreq2=1000 "
                     "Markers/LabelType2=2 Markers/MarkerFreq3=0 LoggingOpts_0/IntervalSecs=1 "
                     "LoggingOpts_0/StartFreq=20 LoggingOpts_0/StopFreq=20000 LoggingOpts_0/ThresholdType=1 "
                     "LoggingOpts_1/IntervalSecs=3600 LoggingOpts_1/StartFreq=20 Scaling/OctaveNumber=3 "
                     "Scaling/UtilityFreqCustomStart=900 Scaling2/OctaveNumber=1 Settings/AverageSpeed=1 "
                     "Settings/AverageBlocks=4");
    EXPECT_EQ(s.SigGenChannel[0].Tones[2].ToneLinearAmplitude, 1.0f);

    // Output levels follow their unit.
    SigGenOutputSettings o;
    o.OutputUnits = 9;
    o.OutputLevel = 3.0f;
    o.OutputLevelR = -200.0f;
    LimitSigGenOutput(o);
    EXPECT_EQ(std::tuple(o.OutputUnits, o.OutputLevel, o.OutputLevelR), std::tuple(0, 0.0f, -96.0f));

    // In volts, against a full scale of 0 V that would divide by zero.
    o.OutputUnits = 2;
    o.FSOption = 0;
    o.FSVoltage = 0.0f;
    o.OutputLevel = 0.0f;
    o.OutputLevelR = 5.0f;
    LimitSigGenOutput(o);
    EXPECT_EQ(std::tuple(o.FSVoltage, o.OutputLevel, o.OutputLevelR), std::tuple(1.0f, 0.5f, 1.0f));
}

} // namespace

// Numbers no float holds, or far outside every field's range, in every
// float key: each reads as if its key were missing, and nothing non-finite
// is written back. In the integer keys too, every float stays finite.
TEST_F(SettingsLimitsTest, NonFiniteAndHugeNumbersReadAsMissingKeysAndPlotTopsAndRangesStayWithinTheirFields)
{
    const std::vector<hostile_cfg::FloatField> missing = hostile_cfg::FloatFields(Load(""));
    for (const char* hostile : {"nan", "inf", "-inf", "1e39", "-1e39", "1000000000", "-1000000000"}) {
        SCOPED_TRACE(hostile);
        const FrameSettings loaded = Load(hostile_cfg::EveryNumberFrom({hostile}, true));
        EXPECT_EQ(hostile_cfg::FloatFields(loaded), missing);
        const FrameSettings everywhere = Load(hostile_cfg::EveryNumberFrom({hostile}));
        for (const hostile_cfg::FloatField& field : hostile_cfg::FloatFields(everywhere))
            EXPECT_TRUE(std::isfinite(field.Value) && std::fabs(field.Value) <= 1.0e7f) << field.Key;
        // The format menu's rates: 4 kHz … 200 kHz.
        EXPECT_GE(everywhere.Processing.Format.SamplingRate, 4000u);
        EXPECT_LE(everywhere.Processing.Format.SamplingRate, 200000u);
    }

    // Plot tops and ranges stay within the plot's own fields.
    // dB: tops of -300 … 300, spans above 0 up to 300; log: tops of 1e-5 …
    // 1e4, bottoms of 1e-6 … 100; linear: tops of 1e-9 … 1e7. A value beyond
    // a bound takes the bound; one no plot could hold (1e9) the default.
    const std::tuple<const char*, const char*, const char*, float, float> cases[] = {
        {"1", "300", "300", 300.0f, 300.0f},
        {"1", "301", "1000000000", 300.0f, 100.0f},
        {"2", "10000", "100", 10000.0f, 100.0f},
        {"2", "20000", "-1", 10000.0f, 1e-6f},
        {"0", "1000000000", "5", 100.0f, 5.0f},
    };
    for (const auto& [scale, top, range, expectedTop, expectedRange] : cases) {
        const FrameSettings s = Load(std::string("[Scaling]\nAmpScaleType=") + scale + "\n[SpectrumOpts]\nPlotTop=" + top
                                     + "\nPlotRange=" + range + "\n");
        EXPECT_EQ(std::pair(s.Spectrum[0].PlotTop, s.Spectrum[0].PlotRange), std::pair(expectedTop, expectedRange))
            << scale << " " << top << " " << range;
    }
}


// One past the last choice of a list reads as the list's default choice.
TEST_F(SettingsLimitsTest, ChoicesOnePastTheirListTakeTheDefault)
{
    const FrameSettings s = Load("[Settings]\nAverageType=3\nAverageTypeR=2\n"
                                 "[Scaling]\nUtilityFreqSpanType=3\n[Scaling2]\nUtilityFreqSpanType=1\n");
    ExpectWritten(s, "Settings/AverageType=0 Settings/AverageTypeR=2 Scaling/UtilityFreqSpanType=2 "
                     "Scaling2/UtilityFreqSpanType=1");
}
