// Values right at the edge of what the dialogs accept stay as they are; one
// step beyond, they take the field's default. Each case changes one field
// of a record that is otherwise valid. Also the defaults the sheets' buttons
// set, the tones the file holds, and a window fitted to the screen.

#include "settings/Calibration.h"
#include "settings/CalibrationMethods.h"
#include "settings/CfgSettingsFile.h"
#include "settings/DataPaths.h"
#include "settings/FloatFieldBounds.h"
#include "settings/FrameSettings.h"
#include "settings/PlotAmplitudeLimits.h"
#include "settings/ProcessingSheet.h"
#include "settings/ScreenFit.h"
#include "settings/SettingsLimits.h"
#include "settings/WindowPlacement.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <tuple>
#include <utility>

namespace {

// At 48 kHz the generator's Nyquist frequency is 24000 Hz.
constexpr std::int32_t kNyquist = 24000;

struct GeneratorCase {
    const char* what;
    std::function<void(SigGenChannelSettings&)> set;
    std::function<bool(const SigGenChannelSettings&)> expected;
};

} // namespace

TEST(SettingsBounds, GeneratorFieldsAtTheirBoundsStayAndOneStepBeyondTakeTheDefault)
{
    const GeneratorCase cases[] = {
        {"first signal type", [](auto& g) { g.SigType = 0; }, [](const auto& g) { return g.SigType == 0; }},
        {"last signal type", [](auto& g) { g.SigType = kSigTypeCount - 1; },
         [](const auto& g) { return g.SigType == kSigTypeCount - 1; }},
        {"past the last type", [](auto& g) { g.SigType = kSigTypeCount; }, [](const auto& g) { return g.SigType == 3; }},
        {"shortest dwell", [](auto& g) { g.FreqStep.DwellTimeMSec = 1; },
         [](const auto& g) { return g.FreqStep.DwellTimeMSec == 1; }},
        {"1/2 octave steps", [](auto& g) { g.FreqStep.OctaveNumber = 2; },
         [](const auto& g) { return g.FreqStep.OctaveNumber == 3; }},
        {"burst as long as its cycle", [](auto& g) { g.NoiseBurst.BurstTimeMsec = g.NoiseBurst.CycleTimeMsec = 3000; },
         [](const auto& g) { return g.NoiseBurst.BurstTimeMsec == 1000 && g.NoiseBurst.CycleTimeMsec == 2000; }},
        {"burst 1 ms short of its cycle",
         [](auto& g) {
             g.NoiseBurst.BurstTimeMsec = 2999;
             g.NoiseBurst.CycleTimeMsec = 3000;
         },
         [](const auto& g) { return g.NoiseBurst.BurstTimeMsec == 2999 && g.NoiseBurst.CycleTimeMsec == 3000; }},
        {"only the third tone on",
         [](auto& g) {
             g.Tones[0].ToneEnable = 0;
             g.Tones[2].ToneEnable = 1;
         },
         [](const auto& g) { return g.Tones[0].ToneEnable == 0 && g.Tones[2].ToneEnable == 1; }},
        {"a 1 Hz tone burst", [](auto& g) { g.ToneBurst.FreqHz = 1; }, [](const auto& g) { return g.ToneBurst.FreqHz == 1; }},
        {"a 1 ms cycle without a burst",
         [](auto& g) {
             g.ToneBurst.BurstTimeMsec = 0;
             g.ToneBurst.CycleTimeMsec = 1;
         },
         [](const auto& g) { return g.ToneBurst.BurstTimeMsec == 0 && g.ToneBurst.CycleTimeMsec == 1; }},
        {"upper IMD tone below Nyquist",
         [](auto& g) { g.IMD = {2, 200.0f, float(kNyquist - 1), 4.0f}; },
         [](const auto& g) { return g.IMD.LoFreqHz == 200.0f && g.IMD.HiFreqHz == float(kNyquist - 1); }},
        {"upper IMD tone at Nyquist", [](auto& g) { g.IMD = {2, 200.0f, float(kNyquist), 4.0f}; },
         [](const auto& g) { return g.IMD.LoFreqHz == 100.0f && g.IMD.HiFreqHz == 5000.0f; }},
    };
    for (const GeneratorCase& c : cases) {
        SCOPED_TRACE(c.what);
        SigGenChannelSettings g;
        c.set(g);
        LimitSigGenChannel(g, kNyquist);
        EXPECT_TRUE(c.expected(g));
    }
}

// The step sizes the sheet offers, whole octaves to 1/96: each one stays.
TEST(SettingsBounds, EveryOfferedOctaveStepStays)
{
    for (std::int32_t octave : {1, 3, 6, 9, 12, 24, 48, 96}) {
        SigGenChannelSettings g;
        g.FreqStep.OctaveNumber = octave;
        LimitSigGenChannel(g, kNyquist);
        EXPECT_EQ(g.FreqStep.OctaveNumber, octave);
    }
}

TEST(SettingsBounds, OutputLevelsInMillivoltsStopAtAThousandTimesTheFullScaleVoltage)
{
    SigGenOutputSettings o;
    o.OutputUnits = 3;
    o.FSOption = 0;
    o.FSVoltage = 2.0f;
    o.OutputLevel = 5000.0f;
    o.OutputLevelR = 1500.0f;
    LimitSigGenOutput(o);
    EXPECT_EQ(std::pair(o.OutputLevel, o.OutputLevelR), std::pair(2000.0f, 1500.0f));
}

TEST(SettingsBounds, WeightingsPastCTakeFlat)
{
    for (auto [weighting, kept] : {std::pair<std::uint16_t, std::uint16_t>{3, 3}, {4, 0}}) {
        ScalingOpts o;
        o.StandardWeighting = weighting;
        o.TotalPowerWeighting = weighting;
        LimitScalingOpts(o, 0);
        EXPECT_EQ(std::pair(o.StandardWeighting, o.TotalPowerWeighting), std::pair(kept, kept)) << weighting;
    }
}

// A hydrophone's dB sensitivity left in a record of another unit and method
// is a value that record may hold; a microphone's or an accelerometer's
// sensitivity must be a voltage.
TEST(SettingsBounds, ASensitivityIsBoundByWhatItsMethodAndUnitMakeIt)
{
    using namespace calibration;
    const TChannelCalibration defaults;
    const struct {
        std::uint16_t mode;
        std::uint32_t units;
        float sensitivity, kept;
    } cases[] = {
        {kModeSensitivity, kUnitPascals, 0.05f, 0.05f},
        {kModeSensitivity, kUnitPascals, -150.0f, defaults.TransducerSensitivityVolts},
        {kModeSensitivity, kUnitG, -150.0f, defaults.TransducerSensitivityVolts},
        {kModeSensitivity, kUnitRelative, -150.0f, -150.0f},
        {kModeSensitivity, kUnitHydrophonePascals, -150.0f, -150.0f},
    };
    for (const auto& c : cases) {
        TChannelCalibration record;
        record.CalCreateMode = c.mode;
        record.RefUnits = c.units;
        record.TransducerSensitivityVolts = c.sensitivity;
        BoundCalibrationFloats(record, defaults);
        EXPECT_EQ(record.TransducerSensitivityVolts, c.kept) << c.units << " " << c.sensitivity;
    }
}

TEST(SettingsBounds, ChoosingAMethodMeasuresRmsAndARangeOfZeroRescalesNothing)
{
    using namespace calibration;
    TChannelCalibration record;
    record.RefType = 0;
    SelectMethod(record, Method::kHydrophone);
    EXPECT_EQ(record.RefType, 1u);

    // A calibrator reading at 2.5 V full scale stays as it was when the range reads 0.
    TChannelCalibration measured;
    measured.IsEnabled = 1;
    measured.RefType = 1;
    measured.CalCreateMode = kModeCalibrator;
    measured.RefUnits = kUnitPascals;
    measured.RefLevel = 94.0f;
    measured.PctFullScale = 0.05f;
    measured.DAQVoltageRange = 2.5f;
    RecomputeCalibration(measured, 0.0f);
    EXPECT_EQ(std::pair(measured.PctFullScale, measured.DAQVoltageRange), std::pair(0.05f, 2.5f));
}

TEST(SettingsBounds, APlacementTextOfThreeCharactersIsReadShorterIsNot)
{
    const DesktopSize desktop{1920, 1080};
    const auto three = WindowPlacement::Parse("2,1", desktop, false);
    ASSERT_TRUE(three.has_value());
    EXPECT_EQ(three->Format(), "2, 1, {0,0}, {0,0}, {0,0,0,0}");
    EXPECT_FALSE(WindowPlacement::Parse("21", desktop, false).has_value());
}

// A dB plot's range runs above 0 up to 300 dB; a log plot's bottom must lie
// below its top, and when the default bottom does not, it goes 80 dB below.
TEST(SettingsBounds, PlotRangesAtTheirBoundsAndABottomAtTheTop)
{
    EXPECT_EQ(CheckPlotAmplitude(1, 0.0f, 300.0f), "");
    EXPECT_EQ(CheckPlotAmplitude(1, 0.0f, 300.5f), "Plot Range must be greater than 0 and at most 300.");
    EXPECT_EQ(CheckPlotAmplitude(1, 0.0f, 0.0f), "Plot Range must be greater than 0 and at most 300.");
    float top = 1e-4f, bottom = 5e-4f;
    LimitPlotAmplitude(2, top, bottom, 1.0f, 1e-4f);
    EXPECT_EQ(std::pair(top, bottom), std::pair(1e-4f, 1e-6f));
}

// The sheet's Defaults button: 192 kHz, one channel, 24 bits.
TEST(SettingsBounds, SheetDefaultsAreOneChannelOf24BitsAt192kHz)
{
    ProcessingSheetRecords records = ProcessingSheetRecords::From(FrameSettings());
    records.Processing.Format.Set(48000, 2, 2);
    processing_sheet::ResetSettingsDefaults(records);
    const TWaveFormat& f = records.Processing.Format;
    EXPECT_EQ(std::tuple(f.SamplingRate, f.NumChannels, f.BytesPerSample), std::tuple(192000u, 1, 3));
}

TEST(SettingsBounds, AForeverPeakHoldStays)
{
    for (auto [hold, kept] : {std::pair<std::uint16_t, std::uint16_t>{SpectrumOpts::kPeakHoldForever, SpectrumOpts::kPeakHoldForever},
                              {SpectrumOpts::kPeakHoldForever + 1, 2}}) {
        SpectrumOpts o;
        o.PeakHold = hold;
        LimitSpectrumOpts(o, 0);
        EXPECT_EQ(o.PeakHold, kept) << hold;
    }
}

// The calibration page's Defaults: a calibrated microphone on the left, an
// accelerometer by its sensitivity on the right.
TEST(SettingsBounds, CalibrationDefaultsAreAMicrophoneLeftAndAnAccelerometerRight)
{
    using namespace calibration;
    TChannelCalibration records[2];
    ResetCalibrationDefaults(records);
    EXPECT_EQ(std::string(records[0].ChannelName) + "|" + records[1].ChannelName, "Microphone|Accelerometer");
    EXPECT_EQ(std::pair(records[0].RefUnits, records[1].RefUnits), std::pair(kUnitPascals, kUnitG));
    EXPECT_EQ(std::pair(records[0].CalCreateMode, records[1].CalCreateMode), std::pair(kModeCalibrator, kModeSensitivity));
    EXPECT_EQ(std::pair(records[0].TransducerSensitivityVolts, records[1].TransducerSensitivityVolts), std::pair(0.012f, 0.1f));
}

// The format menu's rates run from 4 kHz to 200 kHz; any other is read as 192 kHz.
TEST(SettingsBounds, RatesOutsideTheFormatMenuReadAs192kHz)
{
    for (auto [rate, kept] : {std::pair{3999u, 192000u}, {4000u, 4000u}, {200000u, 200000u}, {200001u, 192000u}}) {
        TProcessingSettings p;
        p.Format.Set(rate, 1, 2);
        LimitProcessingSettings(p);
        EXPECT_EQ(p.Format.SamplingRate, kept) << rate;
    }
}

// Each generator channel writes its ten tones, numbered 0 to 9, and no more.
TEST(SettingsBounds, TheFileHoldsTenTonesPerChannel)
{
    const std::string text = FormatCfgSettings(FrameSettings());
    for (const char* key : {"ToneEnable", "FreqHz", "PwrDB"}) {
        std::size_t found = 0;
        for (std::size_t at = text.find(std::string("\n") + key + "9="); at != std::string::npos;
             at = text.find(std::string("\n") + key + "9=", at + 1))
            ++found;
        EXPECT_EQ(found, 2u) << key << "9 in both channels' sections";
        EXPECT_EQ(text.find(std::string("\n") + key + "10="), std::string::npos) << key;
    }
}

// A window of no height still gets one row; one wider than the room, the room.
TEST(SettingsBounds, AWindowFitsTheRoomWithAtLeastOnePixelEachWay)
{
    const PlacementRect available{0, 0, 800, 600};
    const PlacementRect fitted = screen_fit::Fit({10, 20, 10, 20}, {}, available);
    EXPECT_EQ(std::tuple(fitted.left, fitted.top, fitted.right, fitted.bottom), std::tuple(10, 20, 11, 21));
    const PlacementRect wide = screen_fit::Fit({-50, 0, 1000, 100}, {}, available);
    EXPECT_EQ(std::tuple(wide.left, wide.top, wide.right, wide.bottom), std::tuple(0, 0, 800, 100));
}

// A slot past the last is ignored: nothing after the paths is written.
TEST(SettingsBounds, APathForASlotPastTheLastIsIgnored)
{
    struct {
        DataPaths paths;
        char after[DataPaths::kPathSize] = {};
    } record;
    record.paths.Set(DataPaths::kSlotCount, "/elsewhere");
    EXPECT_EQ(record.paths.Get(DataPaths::kSlotCount), "");
    EXPECT_EQ(std::string(record.after, std::strlen(record.after)), "");
    record.paths.Set(DataPaths::kSlotCount - 1, "/last");
    EXPECT_EQ(record.paths.Get(DataPaths::kSlotCount - 1), "/last");
}
