// The processing-settings sheet's logic and the path and file-option checks.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <utility>
#include <string>
#include <tuple>
#include <vector>

#include "SettingsTestSupport.h"
#include "settings/FrameSettings.h"
#include "settings/PathDialogsLogic.h"
#include "settings/ProcessingSheet.h"

using namespace processing_sheet;

TEST(ProcessingSheet, FrequencyScalingItemsMapBothWaysAndTheCustomSpanMustBePositiveAndRising)
{
    const std::tuple<int, std::uint16_t, std::uint16_t> items[] = {
        {0, ScalingOpts::kOctave, 1}, {1, ScalingOpts::kOctave, 3}, {2, ScalingOpts::kFftLinear, 3},
        {3, ScalingOpts::kFftLog, 3}};
    for (const auto& [item, type, octave] : items) {
        ScalingOpts s;
        SetFreqScaleItem(s, item);
        EXPECT_EQ(std::pair(s.FreqScaleType, s.OctaveNumber), std::pair(type, octave)) << item;
        EXPECT_EQ(FreqScaleItem(s), item);
    }
    ScalingOpts sixth;
    sixth.FreqScaleType = ScalingOpts::kOctave;
    sixth.OctaveNumber = 6;
    EXPECT_EQ(FreqScaleItem(sixth), 1);

    // The custom span must be positive and rising.
    const char* const positive = "The start and stop frequencies must be greater than zero";
    const char* const rising = "The stop frequency must be greater than the start frequency";
    const std::tuple<float, float, const char*> spans[] = {
        {0, 100, positive}, {100, 0, positive}, {1000, 1000, rising}, {2000, 1000, rising}, {20, 20000, ""}};
    for (const auto& [start, stop, message] : spans)
        EXPECT_EQ(CheckCustomSpan(start, stop).value_or(""), message) << start;
}

TEST(ProcessingSheet, MinusOneOpensThePageOfTheLastOk)
{
    RememberPage(kSettingsPage);
    EXPECT_EQ(StartPage(-1), kSettingsPage);
    RememberPage(kDevicePage);
    EXPECT_EQ(StartPage(-1), kDevicePage);
    EXPECT_EQ(StartPage(kCalibrationPage), kCalibrationPage);
    RememberPage(7);
    EXPECT_EQ(StartPage(-1), kDevicePage) << "no such page";
    RememberPage(kSettingsPage);
}

namespace {

struct FakeHost final : ProcessingSheetHost {
    std::vector<std::string> calls;
    bool daq = true;
    DaqOpts written;
    void StopRun() override { calls.push_back("stop"); }
    bool IsInputDaq() override { return daq; }
    void ConfigureDaq(const DaqOpts& options, int, int, int) override
    {
        written = options;
        calls.push_back("configure");
    }
    void CreateSpectrumPlot(int c) override { calls.push_back("create " + std::to_string(c)); }
    void CloseSpectrumPlot(int c) override { calls.push_back("close " + std::to_string(c)); }
    void RecalcLayout() override { calls.push_back("layout"); }
    void ReinitInput() override { calls.push_back("reinit"); }
};

} // namespace

TEST(ProcessingSheet, OkCopiesBackReconfiguresReinitialisesAndRederivesEveryRatioOnce)
{
    // Channels before and after, whether the input is the module, the calls to the frame.
    const std::tuple<std::uint16_t, std::uint16_t, bool, std::vector<std::string>> cases[] = {
        {1, 2, true, {"configure", "create 1", "layout", "reinit"}},
        {1, 1, false, {"reinit"}},
        {2, 1, false, {"close 1", "layout", "reinit"}},
    };
    for (const auto& [from, to, daq, calls] : cases) {
        FrameSettings settings;
        settings.Processing.Format.Set(48000, from, 2);
        settings.Daq.DAQ_InputGain = 16;
        for (TChannelCalibration& r : settings.Calibration) {
            r.CalCreateMode = 0;
            r.RefUnits = 2;
            r.RefLevel = 94.0f;
            r.PctFullScale = 0.05f;
            r.DAQVoltageRange = 0.625f;
        }
        ProcessingSheetRecords edited = ProcessingSheetRecords::From(settings);
        edited.Processing.Format.Set(96000, to, 3);
        edited.Daq.DAQ_InputGain = 4;  // 2.5 V: the same tone is a quarter of full scale
        FakeHost host;
        host.daq = daq;
        ApplyOk(settings, edited, host);
        EXPECT_EQ(host.calls, calls) << from << " to " << to;
        ApplyOk(settings, ProcessingSheetRecords::From(settings), host);
        EXPECT_EQ(settings.Processing.Format.SamplingRate, 96000u);
        EXPECT_EQ(settings.Daq.DAQ_InputGain, 4);
        EXPECT_EQ(host.written.DAQ_InputGain, daq ? 4 : 16) << "only the module is configured";
        // Only a level measured on the module is moved to its new range.
        const float pct = daq ? 0.0125f : 0.05f;
        for (const TChannelCalibration& r : settings.Calibration) {
            EXPECT_EQ(r.DAQVoltageRange, 2.5f) << "both records follow the new range";
            EXPECT_NEAR(r.PctFullScale, pct, 1e-6f);
            EXPECT_NEAR(r.CalRatio, 1.414213f * 1.0024f / pct, 0.01f);
        }
    }
}

TEST(PathDialogs, FileOptionsAreCheckedInOrderAndSetPathsCreatesMissingFoldersOrNamesOneItCannotMake)
{
    // RAM seconds, disk megabytes, buffer seconds, the refusal.
    const std::tuple<const char*, const char*, const char*, const char*> cases[] = {
        {"3600", "2000", "4", ""},
        {"3601", "2000", "60", "The RAM recording time must be less than 3600 seconds."},
        {"60", "2001", "60", "The Hard Disk recording size cannot be greater than 2,000 MB (2GB)"},
        {"", "10", "60", "The RAM recording time must be at least 4 seconds."},
        {"60", "0", "60", "The Hard Disk recording size must be at least 1 MB"},
        {"60", "10", "3", "Real Time Data buffer length must be at least 4 seconds."},
        // Read as unsigned, these would wrap past every lower bound.
        {"60", "10", "-5", "Real Time Data buffer length must be at least 4 seconds."},
        {"-60", "10", "60", "The RAM recording time must be at least 4 seconds."},
        {"60", "-1", "60", "The Hard Disk recording size must be at least 1 MB"},
    };
    for (const auto& [ram, size, buffer, message] : cases) {
        FileIOOpts options;
        path_dialogs::FileIOFields f = path_dialogs::FieldsOf(options);
        f.ram = false;
        f.ramSeconds = ram;
        f.sizeMegabytes = size;
        f.bufferSeconds = buffer;
        const auto failure = path_dialogs::ApplyFileIOFields(options, f);
        EXPECT_EQ(failure.value_or(""), message) << ram << " " << size << " " << buffer;
        if (!failure) {
            EXPECT_EQ(std::tuple(options.MaxRamRecordingTimeSecs, options.MaxDiskRecordingSizeBytes,
                                 options.WaveFileMode),
                      std::tuple(3600u, 2000000000u, 1u));
        }
    }

    // Set Paths creates missing folders and names one it cannot make.
    const TempFolder folder;
    const std::filesystem::path root = folder.Path("");
    std::ofstream(root / "plain-file") << "x";
    DataPaths paths;
    paths.Build(folder.Root());
    const DataPaths before = paths;

    const std::string blocked = (root / "plain-file" / "Log").string();
    const auto failure = path_dialogs::ApplySetPaths(paths, (root / "Overlay").string(), blocked);
    ASSERT_TRUE(failure.has_value());
    EXPECT_NE(failure->find("\"" + blocked + "\""), std::string::npos) << *failure;
    EXPECT_EQ(paths, before);

    const std::string log = (root / "new" / "Log").string();
    EXPECT_FALSE(path_dialogs::ApplySetPaths(paths, (root / "Overlay").string(), log).has_value());
    EXPECT_TRUE(std::filesystem::is_directory(log));
    EXPECT_EQ(paths.Get(DataPaths::kLog), log);
    EXPECT_EQ(paths.Get(DataPaths::kWave), before.Get(DataPaths::kWave)) << "other slots stay";
}

