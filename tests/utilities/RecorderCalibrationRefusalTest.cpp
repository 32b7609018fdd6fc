// A wave file's calibration records are taken only when every value lies
// where the settings file and the calibration page keep it: a file with a
// NaN, an infinity, a negative or an absurd value opens uncalibrated with
// one message naming the file, the channel and the field, and nothing of it
// reaches the channels or the settings saved at exit.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <sstream>
#include <string>
#include <tuple>

#include "audio/TWaveFile.h"
#include "settings/FrameSettings.h"
#include "settings/SettingsFiles.h"
#include "tests/support/PlatformTestSupport.h"
#include "utilities/recorderlogic/TRecorderDocument.h"

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

class RecorderCalibrationRefusalTest : public TempFolderTest {
protected:
    void SetUp() override
    {
        settings.m_DataPaths.Set(DataPaths::kWave, folder.string());
        settings.m_DataPathsInUse.Set(DataPaths::kWave, folder.string());
        settings.Processing.Format.Set(8000, 2, 2);
        for (TChannelCalibration& c : settings.Calibration)
            c.IsEnabled = 0;
    }

    // Left: a 94 dB SPL calibrator measured at 5 % of full scale on the
    // 0.625 V range. Right: a 100 mV/g accelerometer on that range.
    static std::pair<TChannelCalibration, TChannelCalibration> SoundRecords()
    {
        TChannelCalibration left{};
        left.IsEnabled = 1;
        left.CalCreateMode = 0;
        left.RefUnits = 2;
        left.RefType = 1;
        left.RefLevel = 94.0f;
        left.PctFullScale = 0.05f;
        left.CalRatio = 28.0f;
        left.DAQVoltageRange = 0.625f;
        left.TransducerSensitivityVolts = 0.012f;
        TChannelCalibration right = left;
        right.CalCreateMode = 2;
        right.RefUnits = 3;
        right.TransducerSensitivityVolts = 0.1f;
        right.CalRatio = 6.0f;
        return {left, right};
    }

    void Write(const std::string& name, const TChannelCalibration& left, const TChannelCalibration& right)
    {
        TWaveFile recording(800, TWaveFormat(8000, 2, 2), folder.string());
        for (std::uint64_t f = 0; f < 800; ++f)
            recording.PutSample(static_cast<std::int32_t>(f), f, 0);
        recording.SetCalibration(left, right);
        recording.SetFileName(Path(name));
        ASSERT_TRUE(recording.Save());
    }

    FrameSettings settings;
    TRecorderDocument::Prompts prompts;
};

// Every number the .cfg holds, key by key; texts are left out.
std::vector<std::pair<std::string, double>> NumbersIn(const std::string& text)
{
    std::vector<std::pair<std::string, double>> numbers;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos || equals + 1 == line.size())
            continue;
        const std::string value = line.substr(equals + 1);
        char* end = nullptr;
        const double number = std::strtod(value.c_str(), &end);
        if (end == value.c_str() + value.size())
            numbers.emplace_back(line.substr(0, equals), number);
    }
    return numbers;
}

} // namespace

TEST_F(RecorderCalibrationRefusalTest, ABadValueInAnyFieldIsRefusedNamedAndNeverSavedAndASoundFileIsStillTaken)
{
    const auto [goodLeft, goodRight] = SoundRecords();
    // The calibrator's fields on the left, the accelerometer's on the right,
    // so each value meets the method that reads it. A denormal fraction of
    // full scale or range is in range itself, but the ratio derived from it
    // is not; a calibrator level just above zero is one the page takes.
    struct Field {
        int channel;
        const char* name;
        float TChannelCalibration::*member;
        const char* denormalName;  // the field a denormal is named by; null: taken
    };
    const Field fields[] = {
        {0, "RefLevel", &TChannelCalibration::RefLevel, nullptr},
        {0, "PctFullScale", &TChannelCalibration::PctFullScale, "CalRatio"},
        {0, "CalRatio", &TChannelCalibration::CalRatio, "CalRatio"},
        {1, "CalRatio", &TChannelCalibration::CalRatio, "CalRatio"},
        {1, "TransducerSensitivityVolts", &TChannelCalibration::TransducerSensitivityVolts,
         "TransducerSensitivityVolts"},
        {1, "DAQVoltageRange", &TChannelCalibration::DAQVoltageRange, "CalRatio"},
    };
    const float values[] = {kNaN, kInf, -kInf, -5.0f, 1.0e30f, 3.0e38f, 1.0e-40f};
    const TChannelCalibration before[2] = {settings.Calibration[0], settings.Calibration[1]};
    for (const Field& field : fields) {
        for (const float value : values) {
            const bool denormal = value == 1.0e-40f;
            if (denormal && field.denormalName == nullptr)
                continue;
            const std::string named = denormal ? field.denormalName : field.name;
            std::ostringstream label;
            label << (field.channel == 0 ? "left " : "right ") << field.name << " = " << value;
            SCOPED_TRACE(label.str());
            TChannelCalibration records[2] = {goodLeft, goodRight};
            records[field.channel].*field.member = value;
            Write("bad.wav", records[0], records[1]);

            MessageLog log;
            TRecorderDocument doc(settings);
            ASSERT_TRUE(doc.Open(Path("bad.wav"), prompts));
            ASSERT_EQ(log.texts.size(), 1u);
            const std::string& text = log.texts[0];
            EXPECT_NE(text.find(Path("bad.wav")), std::string::npos) << text;
            EXPECT_NE(text.find(std::string(field.channel == 0 ? "left" : "right") + " channel's " + named),
                      std::string::npos)
                << text;
            // Uncalibrated, and the channels' records as they were.
            EXPECT_EQ(std::tuple(doc.File()->GetScale(0), doc.File()->GetScale(1)), std::tuple(1.0f, 1.0f));
            EXPECT_TRUE(settings.Calibration[0] == before[0]);
            EXPECT_TRUE(settings.Calibration[1] == before[1]);

            SettingsFiles files;
            files.dataRoot = Root();
            ASSERT_TRUE(files.SaveAtExit(settings));
            const auto numbers = NumbersIn(ReadText(files.CfgPath()));
            EXPECT_GT(numbers.size(), 100u);
            for (const auto& [key, number] : numbers)
                EXPECT_TRUE(std::isfinite(number) && std::fabs(number) < 1.0e12) << key << "=" << number;
        }
    }

    // A sound pair is taken, the ratios derived by hand: the calibrator
    // gives 20e-6·10^(94/20) = 1.002374 Pa, √2·1.002374/0.05 = 28.35143;
    // the accelerometer 0.625 V / 0.1 V/g = 6.25.
    // Records taken are no reason to ask whether to switch calibration off.
    Write("good.wav", goodLeft, goodRight);
    int asked = 0;
    prompts.askDisableCalibration = [&asked] { return ++asked != 0; };
    MessageLog log;
    TRecorderDocument doc(settings);
    ASSERT_TRUE(doc.Open(Path("good.wav"), prompts));
    EXPECT_TRUE(log.texts.empty());
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(std::tuple(settings.Calibration[0].IsEnabled, settings.Calibration[1].IsEnabled), std::tuple(1u, 1u));
    EXPECT_NEAR(settings.Calibration[0].CalRatio, 28.35143f, 1e-3f);
    EXPECT_NEAR(settings.Calibration[1].CalRatio, 6.25f, 1e-5f);
    EXPECT_NEAR(doc.File()->GetScale(0), 28.35143f, 1e-3f);
}

// Several bad fields: the refusal names the first the record holds, with its
// value, on the first channel that has one; a field the file holds sound but
// whose derived value is not is said to be derived.
TEST_F(RecorderCalibrationRefusalTest, OfSeveralBadFieldsTheFirstIsNamedWithItsValue)
{
    using Records = std::pair<TChannelCalibration, TChannelCalibration>;
    const struct {
        const char* name;
        void (*spoil)(Records&);
        const char* says;
    } cases[] = {
        {"three bad fields",
         [](Records& r) {
             r.first.PctFullScale = -5.0f;
             r.first.DAQVoltageRange = 2000.0f;
             r.second.RefLevel = kNaN;
         },
         "the left channel's PctFullScale is -5, outside"},
        {"the right alone", [](Records& r) { r.second.DAQVoltageRange = -5.0f; },
         "the right channel's DAQVoltageRange is -5, outside"},
        {"a ratio derived from a denormal fraction", [](Records& r) { r.first.PctFullScale = 1.0e-40f; },
         "the left channel's CalRatio as derived from the file's values is "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Records records = SoundRecords();
        c.spoil(records);
        Write("bad.wav", records.first, records.second);
        MessageLog log;
        TRecorderDocument doc(settings);
        ASSERT_TRUE(doc.Open(Path("bad.wav"), prompts));
        ASSERT_EQ(log.texts.size(), 1u);
        EXPECT_NE(log.texts[0].find(c.says), std::string::npos) << log.texts[0];
    }
}

TEST_F(RecorderCalibrationRefusalTest, ZerosOlderRecordsLeaveInFieldsTheirMethodNeverReadsAreStillTaken)
{
    // Records before version 5100 have no sensitivity or range, and a
    // calibrator's ratio is derived, so a zero there is unset.
    auto [left, right] = SoundRecords();
    left.TransducerSensitivityVolts = 0.0f;
    left.DAQVoltageRange = 0.0f;
    left.CalRatio = 0.0f;
    right.CalCreateMode = 0;
    right.RefLevel = 1.0f;
    right.PctFullScale = 0.25f;
    right.TransducerSensitivityVolts = 0.0f;
    right.CalRatio = 0.0f;
    Write("older.wav", left, right);
    MessageLog log;
    TRecorderDocument doc(settings);
    ASSERT_TRUE(doc.Open(Path("older.wav"), prompts));
    EXPECT_TRUE(log.texts.empty()) << log.texts[0];
    EXPECT_EQ(settings.Calibration[1].IsEnabled, 1u);
    // 1 g at 25 % of full scale, stated as rms: √2 · 1 / 0.25.
    EXPECT_NEAR(settings.Calibration[1].CalRatio, 5.656854f, 1e-5f);

    // A volts method derives its ratio too: 0.625 V read in millivolts.
    right.CalCreateMode = 1;
    right.RefUnits = 1;
    Write("older.wav", left, right);
    MessageLog volts;
    TRecorderDocument direct(settings);
    ASSERT_TRUE(direct.Open(Path("older.wav"), prompts));
    EXPECT_TRUE(volts.texts.empty()) << volts.texts[0];
    EXPECT_EQ(settings.Calibration[1].IsEnabled, 1u);
    EXPECT_FLOAT_EQ(settings.Calibration[1].CalRatio, 625.0f);

    // A sensitivity method does read its sensitivity: zero is refused there.
    right.CalCreateMode = 2;
    Write("older.wav", left, right);
    MessageLog again;
    TRecorderDocument second(settings);
    ASSERT_TRUE(second.Open(Path("older.wav"), prompts));
    ASSERT_EQ(again.texts.size(), 1u);
    EXPECT_NE(again.texts[0].find("right channel's TransducerSensitivityVolts"), std::string::npos)
        << again.texts[0];
    EXPECT_EQ(settings.Calibration[1].IsEnabled, 0u);
}

// The volts and sensitivity methods make the ratio from the input range: a
// range of 0, or a ratio that comes out of the derivation as 0, would turn
// every reading into the no-power mark and leave a ratio in the .cfg that
// the next start replaces with 1. Either is refused with the one message;
// a sound range is taken. Every case ends with a .cfg whose ratios come
// back as they were saved.
TEST_F(RecorderCalibrationRefusalTest, AZeroRangeOrAZeroDerivedRatioIsRefusedOnEitherMethodAndChannel)
{
    constexpr float kSmallestDenormal = 1.4e-45f;
    struct Case {
        const char* name;
        std::uint16_t method;
        std::uint32_t units;
        float sensitivity;
        float range;
        float storedRatio;
        const char* refused;  // what the message names; null: taken
        float ratio;          // the ratio taken, worked by hand
    };
    const Case cases[] = {
        {"volts, range 0, ratio unset", 1, 1, 0.0f, 0.0f, 0.0f, "DAQVoltageRange is 0,", 0.0f},
        {"volts, range 0, ratio stored", 1, 1, 0.0f, 0.0f, 5.0f, "DAQVoltageRange is 0,", 0.0f},
        // 10 V read in millivolts.
        {"volts, 10 V, ratio unset", 1, 1, 0.0f, 10.0f, 0.0f, nullptr, 10000.0f},
        {"sensitivity, range 0, ratio unset", 2, 3, 0.1f, 0.0f, 0.0f, "DAQVoltageRange is 0,", 0.0f},
        {"sensitivity, range 0, ratio stored", 2, 3, 0.1f, 0.0f, 6.0f, "DAQVoltageRange is 0,", 0.0f},
        // 10 V / 0.1 V/g.
        {"sensitivity, 10 V", 2, 3, 0.1f, 10.0f, 0.0f, nullptr, 100.0f},
        // The smallest range there is over 10 V/g rounds to a ratio of 0.
        {"sensitivity, ratio derived as 0", 2, 3, 10.0f, kSmallestDenormal, 6.0f,
         "CalRatio as derived from the file's values is 0,", 0.0f},
    };
    const auto [goodLeft, goodRight] = SoundRecords();
    for (const Case& c : cases) {
        for (int channel = 0; channel < 2; ++channel) {
            SCOPED_TRACE(std::string(c.name) + (channel == 0 ? ", left" : ", right"));
            for (TChannelCalibration& record : settings.Calibration) {
                record.IsEnabled = 0;
                record.CalRatio = 3.0f;
            }
            TChannelCalibration records[2] = {goodLeft, goodRight};
            TChannelCalibration& record = records[channel];
            record.CalCreateMode = c.method;
            record.RefUnits = c.units;
            record.TransducerSensitivityVolts = c.sensitivity;
            record.DAQVoltageRange = c.range;
            record.CalRatio = c.storedRatio;
            Write("range.wav", records[0], records[1]);

            MessageLog log;
            TRecorderDocument doc(settings);
            ASSERT_TRUE(doc.Open(Path("range.wav"), prompts));
            if (c.refused != nullptr) {
                ASSERT_EQ(log.texts.size(), 1u);
                EXPECT_THAT(log.texts[0], ::testing::HasSubstr(std::string(channel == 0 ? "the left" : "the right") +
                                                               " channel's " + c.refused))
                    << log.texts[0];
                EXPECT_EQ(std::tuple(settings.Calibration[0].IsEnabled, settings.Calibration[1].IsEnabled),
                          std::tuple(0u, 0u));
                EXPECT_EQ(std::tuple(doc.File()->GetScale(0), doc.File()->GetScale(1)), std::tuple(1.0f, 1.0f));
                EXPECT_EQ(settings.Calibration[channel].CalRatio, 3.0f) << "nothing of the file taken";
            } else {
                EXPECT_TRUE(log.texts.empty()) << log.texts[0];
                EXPECT_EQ(settings.Calibration[channel].IsEnabled, 1u);
                EXPECT_FLOAT_EQ(settings.Calibration[channel].CalRatio, c.ratio);
                EXPECT_FLOAT_EQ(doc.File()->GetScale(channel), c.ratio);
            }

            SettingsFiles files;
            files.dataRoot = Root();
            ASSERT_TRUE(files.SaveAtExit(settings));
            for (const auto& [key, number] : NumbersIn(ReadText(files.CfgPath())))
                EXPECT_TRUE(std::isfinite(number)) << key << "=" << number;
            FrameSettings next;
            files.LoadAtStartup(next, [] { return 0; });
            EXPECT_EQ(std::tuple(next.Calibration[0].CalRatio, next.Calibration[1].CalRatio),
                      std::tuple(settings.Calibration[0].CalRatio, settings.Calibration[1].CalRatio))
                << "the next start reads the ratios saved";
        }
    }
}
