// Calibration ratios, the page's checks, the measurement of a calibration
// recording and its verdict, against hand-computed figures.

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <string>
#include <tuple>

#include "SettingsTestSupport.h"
#include "audio/TWaveData.h"
#include "settings/Calibration.h"
#include "settings/CalibrationMeasure.h"
#include "settings/CalibrationMethods.h"
#include "settings/RelativeCalibration.h"

using namespace calibration;

namespace {

TChannelCalibration Record(std::uint16_t mode, std::uint32_t units, float refLevel, float pct, float sensitivity,
                           float range)
{
    TChannelCalibration r;
    r.IsEnabled = 1;
    r.RefType = 1;
    r.CalCreateMode = mode;
    r.RefUnits = units;
    r.RefLevel = refLevel;
    r.PctFullScale = pct;
    r.TransducerSensitivityVolts = sensitivity;
    r.DAQVoltageRange = range;
    return r;
}

} // namespace

TEST(Calibration, RatiosAndConversionsMatchHandFiguresAndALevelGivesBackItsFullScaleFraction)
{
    using Case = std::tuple<const char*, TChannelCalibration, std::optional<float>, float>;
    const Case cases[] = {
        // √2 × 1.0024 Pa / 0.05
        {"calibrator 94 dB SPL at 5 %", Record(kModeCalibrator, kUnitPascals, 94.0f, 0.05f, 0, 0.625f), 0.625f, 28.353f},
        {"calibrator 0 dBu at 50 %", Record(kModeCalibrator, kUnitDbu, 0.0f, 0.5f, 0, 0.0f), std::nullopt, 2.1920f},
        {"calibrator in g, no DAQ", Record(kModeCalibrator, kUnitG, 1.0f, 0.1f, 0, 2.5f), std::nullopt, 14.142f},
        {"microphone 12 mV/Pa on 0.625 V", Record(kModeSensitivity, kUnitPascals, 0, 0, 0.012f, 0.625f), 0.625f, 52.083f},
        {"hydrophone -200 dB on 10 V", Record(kModeSensitivity, kUnitHydrophonePascals, 0, 0, -200.0f, 10.0f), 10.0f, 100000.0f},
        {"accelerometer 100 mV/g on 2.5 V", Record(kModeSensitivity, kUnitG, 0, 0, 0.1f, 2.5f), 2.5f, 25.0f},
        {"sensitivity 0 counts as 1", Record(kModeSensitivity, kUnitG, 0, 0, 0.0f, 2.5f), 2.5f, 2.5f},
        {"volts method in mV", Record(kModeVolts, kUnitVolts, 0, 0, 0, 0.625f), 0.625f, 625.0f},
        {"no calibrator level", Record(kModeCalibrator, kUnitPascals, 94.0f, 0.0f, 0, 0.625f), 0.625f, 1.0f},
    };
    for (auto [name, record, range, ratio] : cases) {
        RecomputeCalibration(record, range);
        EXPECT_NEAR(record.CalRatio, ratio, ratio * 1e-4f) << name;
    }

    // Measured at 5 % of 2.5 V, now on the 0.625 V range: 20 %, however often applied.
    TChannelCalibration r = Record(kModeCalibrator, kUnitPascals, 94.0f, 0.05f, 0, 2.5f);
    RecomputeCalibration(r, 0.625f);
    RecomputeCalibration(r, 0.625f);
    EXPECT_NEAR(r.PctFullScale, 0.2f, 1e-6f);
    EXPECT_NEAR(r.CalRatio, 1.414213f * 1.0024f / 0.2f, 1e-3f);

    // Conversions the ratios above do not already cover.
    EXPECT_NEAR(DbToPascals(1, 120.0f), 1.0f, 1e-5f);     // 1 µPa × 10^6
    EXPECT_NEAR(PascalsToDb(0, 1.0f), 93.98f, 0.01f);
    EXPECT_EQ(PascalsToDb(0, 0.0f), kNoValue);
    EXPECT_NEAR(UnitFactor(kUnitPascals), 50000.0f, 1.0f);
    EXPECT_NEAR(UnitFactor(kUnitHydrophonePascals), 1e6f, 20.0f);

    // A level back to its fraction of full scale inverts the calibration.
    // 94 dB SPL calibrated at 5 % of full scale: a plot reading of 94 dB is 5 %.
    TChannelCalibration level = Record(kModeCalibrator, kUnitPascals, 94.0f, 0.05f, 0, 0.625f);
    RecomputeCalibration(level, 0.625f);
    float offset = 0.0f;
    EXPECT_NEAR(LevelToFullScaleFraction(level, 94.0f, 1, &offset), 0.05f, 1e-4f);
    EXPECT_EQ(offset, -94.0f);
    TChannelCalibration none;
    EXPECT_NEAR(LevelToFullScaleFraction(none, 25.0f, 0, &offset), 0.25f, 1e-6f);
    EXPECT_NEAR(offset, 12.04f, 0.01f);
}

TEST(Calibration, ThePageChecksEachMethodsValue)
{
    // Method, value, channel, message (empty: accepted), sensitivity.
    const std::tuple<Method, float, int, const char*, float> cases[] = {
        {Method::kCalibrator, 0.0f, 0, "Microphone calibrator level must be greater than zero.", 0},
        {Method::kCalibrator, -3.0f, 1, "Right channel microphone calibrator level must be greater than zero.", 0},
        {Method::kMicrophone, 12.0f, 0, "", 0.012f},
        {Method::kMicrophone, 0.0f, 1, "Right channel microphone sensitivity must be greater than zero.", 0},
        {Method::kHydrophone, -180.0f, 0, "", -180.0f},
        {Method::kHydrophone, 0.0f, 0, "Hydrophone Sensitivity must be less than zero.", 0},
        {Method::kAccelerometer, -1.0f, 0, "Accelerometer Sensitivity must be greater than zero.", 0},
        {Method::kAccelerometer, 100.0f, 1, "", 0.1f},
    };
    for (const auto& [method, value, channel, message, sensitivity] : cases) {
        TChannelCalibration r;
        EXPECT_EQ(ApplyChannel(r, method, value, "", channel), message) << value;
        EXPECT_EQ(r.CalCreateMode, EntryOf(method).createMode);
        EXPECT_STREQ(r.ChannelName, EntryOf(method).defaultName) << "an empty title takes the method's name";
        if (message[0] == '\0') {
            EXPECT_FLOAT_EQ(r.TransducerSensitivityVolts, sensitivity);
        }
    }
    // Choosing a method on the page sets its unit at once.
    TChannelCalibration chosen;
    SelectMethod(chosen, Method::kHydrophone);
    EXPECT_EQ(chosen.RefUnits, kUnitHydrophonePascals);
}

TEST(Calibration, TheVerdictRejectsOverloadAndTooLowLevelsAndTheHistoryGainsOneLinePerCalibration)
{
    // Fraction of full scale, millivolts, accepted, the message's start.
    const std::tuple<float, float, bool, const char*> cases[] = {
        {0.002f, 0.884f, false, "The calibration signal level is too low"},
        {0.003f, 1.326f, true, "The calibration was successful!"},
        {1.0f, 441.942f, false, "The calibration signal is overloading the input."},
    };
    for (const auto& [pct, millivolts, accepted, begins] : cases) {
        const CalibrationVerdict v = JudgeCalibration(pct, 0.625f);
        EXPECT_NEAR(v.millivolts, millivolts, 0.001f);
        EXPECT_EQ(std::pair(v.accepted, v.message.rfind(begins, 0)), std::pair(accepted, 0ul)) << v.message;
    }

    // Each calibration adds a line to the history.
    const TempFolder folder;
    const std::string root = folder.Root();
    const std::string line = HistoryLine(std::chrono::system_clock::now(), 0.625f, 94.0f, 22.097f);
    EXPECT_NE(line.find(" DAQ gain =  0.625, Test SPL =  94.00, Measured level mVrms = 22.097000\n"),
              std::string::npos)
        << line;
    ASSERT_TRUE(AppendHistory(root, line));
    ASSERT_TRUE(AppendHistory(root, line));
    EXPECT_EQ(ReadText(root + kHistoryFileName), line + line);
    EXPECT_EQ(line.rfind("Mic Calibrated: ", 0), 0u);

    // A history that cannot be written says so, naming the file and why: a
    // folder of its name, a data folder that is gone, a full disk.
    const TempFolder folderNamed, gone, full;
    std::filesystem::create_directories(folderNamed.Root() + kHistoryFileName);
    std::filesystem::create_symlink("/dev/full", full.Root() + kHistoryFileName);
    for (const auto& [dataRoot, reason] : {std::pair{folderNamed.Root(), std::strerror(EISDIR)},
                                           {gone.Root() + "gone/", std::strerror(ENOENT)},
                                           {full.Root(), std::strerror(ENOSPC)}}) {
        std::string failure;
        EXPECT_FALSE(AppendHistory(dataRoot, line, &failure));
        EXPECT_EQ(failure, "The calibration history was not written: " + dataRoot + kHistoryFileName + ": " +
                               reason + ".");
    }
}

// Shared calibration: the right channel takes the left's reference and is
// worked out again from its own measured fraction, so a reference under
// the cursor reads 0 dBr on both.
TEST(Calibration, ASharedRelativeReferenceRecomputesBothChannels)
{
    // From the cursor on either channel: the other one follows.
    for (int channel : {0, 1}) {
        SCOPED_TRACE(channel);
        TChannelCalibration records[2] = {Record(kModeCalibrator, kUnitPascals, 94.0f, 0.05f, 0, 0.625f),
                                          Record(kModeCalibrator, kUnitPascals, 114.0f, 0.1f, 0, 0.625f)};
        RecomputeCalibration(records[0], 0.625f);
        RecomputeCalibration(records[1], 0.625f);
        ASSERT_FALSE(ApplyRelativeCalibration(records, channel, false, 94.0f, 1, 0.625f).refusal.has_value());
        for (int c = 0; c < 2; ++c) {
            EXPECT_EQ(records[c].RefUnits, kUnitRelative) << c;
            EXPECT_NEAR(records[c].CalRatio * records[c].PctFullScale * kRmsOfPeak, 1.0f, 1e-5f) << c;
        }
        EXPECT_EQ(records[1 - channel].PctFullScale, channel == 0 ? 0.1f : 0.05f) << "the other keeps its own measurement";
    }
}

namespace {

// Ten seconds and the margin at 48 kHz, stereo 16-bit: a 1 kHz sine on the
// left at `amplitude` of full scale (clipped at full scale), silence right.
std::unique_ptr<TWaveData> Recording(double amplitude, std::uint64_t frames = 48000 * 10 + 32768)
{
    const TWaveFormat format(48000, 2, 2);
    auto wave = std::make_unique<TWaveData>(frames, format);
    for (std::uint64_t i = 0; i < frames; ++i) {
        const double v = std::clamp(amplitude * std::sin(2.0 * M_PI * 1000.0 * double(i) / 48000.0), -1.0, 1.0);
        wave->PutSample(static_cast<std::int32_t>(std::lround(v * 32767.0)), i, 0);
        wave->PutSample(0, i, 1);
    }
    return wave;
}

} // namespace

TEST(Calibration, MeasuringARecordingFindsItsToneAsAFractionOfFullScale)
{
    const auto wave = Recording(0.05);
    TChannelCalibration left, right;
    ASSERT_TRUE(MeasureCalibrationFile(*wave, &left, &right));
    EXPECT_NEAR(left.PctFullScale, 0.05f, 0.0005f);
    EXPECT_LT(right.PctFullScale, 0.0005f);

    const auto clipped = Recording(1.5);
    ASSERT_TRUE(MeasureCalibrationFile(*clipped, &left, nullptr));
    EXPECT_EQ(left.PctFullScale, 1.0f);

    // The first five seconds are skipped as settling: a shorter recording holds nothing to measure.
    EXPECT_FALSE(MeasureCalibrationFile(*Recording(0.05, 48000 * 5 - 1000), &left, &right));
}

TEST(Calibration, ARelativeReferenceReadsZeroDbAndAMissingLevelIsRefused)
{
    TChannelCalibration records[2] = {Record(kModeCalibrator, kUnitPascals, 94.0f, 0.05f, 0, 0.625f),
                                      Record(kModeSensitivity, kUnitG, 0, 0, 0.1f, 0.625f)};
    RecomputeCalibration(records[0], 0.625f);
    RecomputeCalibration(records[1], 0.625f);
    const TChannelCalibration before[2] = {records[0], records[1]};
    for (const auto& [value, scale] : {std::pair{-999.9f, 1}, std::pair{0.0f, 0}, std::pair{-2.0f, 2}}) {
        const RelativeResult refused = ApplyRelativeCalibration(records, 0, true, value, std::uint16_t(scale), 0.625f);
        EXPECT_TRUE(refused.refusal.has_value()) << value;
        EXPECT_EQ(records[0], before[0]);
    }

    // 94 dB SPL under the cursor becomes 0 dBr: CalRatio × fraction is √2.
    const RelativeResult left = ApplyRelativeCalibration(records, 0, true, 94.0f, 1, 0.625f);
    ASSERT_FALSE(left.refusal.has_value());
    EXPECT_EQ(left.offsetDb, -94.0f);
    EXPECT_NEAR(records[0].PctFullScale, 0.05f, 1e-4f);
    EXPECT_NEAR(records[0].CalRatio * records[0].PctFullScale * kRmsOfPeak, 1.0f, 1e-5f);
    EXPECT_STREQ(records[0].LabelLog, "dBr");
    EXPECT_EQ(records[1], before[1]) << "independent channels";

    // An accelerometer calibrated by sensitivity: 20 dB re 1 g rms is the reference.
    const RelativeResult right = ApplyRelativeCalibration(records, 1, true, 20.0f, 1, 0.625f);
    ASSERT_FALSE(right.refusal.has_value());
    EXPECT_NEAR(records[1].CalRatio * records[1].PctFullScale * kRmsOfPeak, 1.0f, 1e-5f);

    ApplyRelativeCalibration(records, 0, false, 94.0f, 1, 0.625f);
    EXPECT_EQ(records[1].RefUnits, kUnitRelative) << "shared calibration: both take the reference";
}

namespace {

// Ten seconds and the margin at 48 kHz, mono 24-bit: a DC offset, a 1 kHz
// sine, and noise from the generator's own congruential sequence (a sum of
// four uniforms, rms 0.577 of `noise`), each a fraction of full scale.
std::unique_ptr<TWaveData> RoomRecording(double dc, double tone, double noise)
{
    const TWaveFormat format(48000, 1, 3);
    const std::uint64_t frames = 48000 * 10 + 32768;
    auto wave = std::make_unique<TWaveData>(frames, format);
    std::uint32_t seed = 1;
    for (std::uint64_t i = 0; i < frames; ++i) {
        double sum = 0.0;
        for (int k = 0; k < 4; ++k) {
            seed = seed * 214013u + 2531011u;
            sum += ((seed >> 16) & 0x7FFF) / 32768.0 - 0.5;
        }
        const double v = dc + tone * std::sin(2.0 * M_PI * 1000.0 * double(i) / 48000.0) + noise * sum;
        wave->PutSample(static_cast<std::int32_t>(std::lround(v * 8388607.0)), i, 0);
    }
    return wave;
}

} // namespace

TEST(Calibration, ARecordingWithoutAToneAboveItsFloorIsRefusedWhateverItsLevel)
{
    // A room: a DC offset of 20 % and noise, no line standing out between
    // 800 and 1200 Hz. The level is the band's strongest line, not the DC.
    TChannelCalibration left, right;
    CalibrationTone tones[2];
    ASSERT_TRUE(MeasureCalibrationFile(*RoomRecording(0.2, 0.0, 0.02), &left, &right, tones));
    EXPECT_FALSE(tones[0].Found()) << tones[0].AboveFloorDb();
    EXPECT_LT(tones[0].AboveFloorDb(), 6.0f);
    EXPECT_LT(left.PctFullScale, 0.01f);
    EXPECT_EQ(right.PctFullScale, left.PctFullScale) << "mono: the right takes the left's";
    // Above the 1 mV minimum on the 10 V range, still no tone.
    const CalibrationVerdict room = JudgeCalibration(left.PctFullScale, 10.0f, &tones[0]);
    EXPECT_GT(room.millivolts, 1.0f);
    EXPECT_FALSE(room.accepted);
    EXPECT_EQ(room.message.rfind("No calibration tone was found between 800 and 1200 Hz", 0), 0u) << room.message;

    // The calibrator's 5 % in the same room stands far above it.
    ASSERT_TRUE(MeasureCalibrationFile(*RoomRecording(0.2, 0.05, 0.02), &left, nullptr, tones));
    EXPECT_TRUE(tones[0].Found());
    EXPECT_GT(tones[0].AboveFloorDb(), 40.0f);
    EXPECT_NEAR(left.PctFullScale, 0.05f, 0.0005f);
    EXPECT_TRUE(JudgeCalibration(left.PctFullScale, 0.625f, &tones[0]).accepted);

    // Levels in percent: 15 dB is 5.62 times the floor; a silent floor
    // under a line is a tone, no line at all is none; overload is said first.
    const std::tuple<float, float, float, bool, const char*> cases[] = {
        {5.0f, 1.0f, 0.05f, false, "No calibration tone"},
        {5.7f, 1.0f, 0.057f, true, "The calibration was successful!"},
        {5.0f, 0.0f, 0.05f, true, "The calibration was successful!"},
        {0.0f, 0.0f, 0.0f, false, "No calibration tone"},
        {5.0f, 5.0f, 1.0f, false, "The calibration signal is overloading the input."},
    };
    for (const auto& [level, floor, pct, accepted, begins] : cases) {
        const CalibrationTone tone{level, floor};
        const CalibrationVerdict v = JudgeCalibration(pct, 0.625f, &tone);
        EXPECT_EQ(std::pair(v.accepted, v.message.rfind(begins, 0)), std::pair(accepted, 0ul)) << v.message;
    }
}
