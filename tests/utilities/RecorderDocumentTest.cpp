// The recorder without its window: the buttons' looks, the questions before
// a changed file is closed, saving and its failures, the delete guard, and
// the recording's memory, taken as it grows.

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>
#include <utility>
#include <vector>

#include "audio/TWaveFile.h"
#include "platform/MessageBox.h"
#include "platform/RiffFile.h"
#include "platform/ZeroFilledArray.h"
#include "settings/FrameSettings.h"
#include "utilities/recorderlogic/RecorderButtons.h"
#include "utilities/recorderlogic/TRecorderDocument.h"

namespace fs = std::filesystem;
using platform::MessageResult;

namespace {

class RecorderDocumentTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = fs::temp_directory_path() / ("recorder_doc_" + std::to_string(::getpid()));
        fs::create_directories(folder);
        settings.m_DataPaths.Set(DataPaths::kWave, folder.string());
        settings.m_DataPathsInUse.Set(DataPaths::kWave, folder.string());
        settings.Processing.Format.Set(8000, 2, 2);
        settings.FileIO.MaxRamRecordingTimeSecs = 100;
        settings.Calibration[0].CalRatio = 2.5f;
        settings.Calibration[1].CalRatio = 4.0f;
        platform::SetMessageBoxHook([this](const platform::MessageBoxRequest& r) {
            messages.push_back(r.text);
            return std::exchange(answer, MessageResult::Ok); // the next question's answer, once
        });
    }
    void TearDown() override
    {
        platform::SimulateDiskFull(-1);
        platform::FailNextAllocations(0);
        platform::SetMessageBoxHook({});
        fs::remove_all(folder);
    }

    std::string Path(const char* name) const { return (folder / name).string(); }

    // The driver's thread, as far as the file can tell: frames at the cursor.
    static void Append(TWaveFile& file, std::uint64_t frames)
    {
        std::vector<std::int16_t> block(frames * 2);
        for (std::size_t i = 0; i < block.size(); ++i)
            block[i] = static_cast<std::int16_t>(i % 1000);
        ASSERT_TRUE(file.WriteData(block.data(), block.size() * sizeof(std::int16_t)));
    }

    // A document holding a changed recording of one second, untitled or
    // saved once under a name and changed after.
    void Record(TRecorderDocument& doc, bool named)
    {
        ASSERT_TRUE(doc.PrepareRecording());
        Append(*doc.File(), 8000);
        if (named) {
            ASSERT_TRUE(doc.SaveAs(Path("named.wav")));
            Append(*doc.File(), 10);
        }
    }

    fs::path folder;
    FrameSettings settings;
    std::vector<std::string> messages;
    MessageResult answer = MessageResult::Ok;
    TRecorderDocument::Prompts prompts;
};

} // namespace

TEST(RecorderButtons, EachSituationHasItsLooks)
{
    using enum recorder_buttons::Look;
    struct Case {
        bool hasFile;
        std::uint32_t state;
        recorder_buttons::Looks looks;  // Record, Play, Stop, Rewind, Fast Forward
    };
    const Case cases[] = {
        {false, 0, {Normal, Grey, Grey, Grey, Grey}},
        {false, 1, {Normal, Grey, Grey, Grey, Grey}},
        {true, 0, {Normal, Normal, Latched, Normal, Normal}},
        {true, 1, {Latched, Grey, Normal, Grey, Grey}},
        {true, 2, {Grey, Latched, Normal, Grey, Grey}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(recorder_buttons::For(c.hasFile, c.state), c.looks) << c.hasFile << " " << c.state;
}

TEST_F(RecorderDocumentTest, CloseDecisionsSaveDiscardOrCancelAndAFailedSaveKeepsTheRecordingAndDeleteGuardsIt)
{
    struct Case {
        const char* name;
        bool named;
        MessageResult answer;
        const char* saveAsPath;  // what the Save As dialog gives; "" cancels
        std::int64_t diskSpace;  // -1: plenty
        bool mayGoOn;            // and the file is closed; else it is kept, still to be saved
    };
    const Case cases[] = {
        {"untitled, cancel", false, MessageResult::Cancel, "", -1, false},
        {"untitled, discard", false, MessageResult::No, "", -1, true},
        {"untitled, save as", false, MessageResult::Yes, "saved.wav", -1, true},
        {"untitled, save as cancelled", false, MessageResult::Yes, "", -1, false},
        {"untitled, disk full", false, MessageResult::Yes, "full.wav", 100, false},
        {"named, save", true, MessageResult::Yes, "", -1, true},
        {"named, disk full", true, MessageResult::Yes, "", 100, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TRecorderDocument doc(settings);
        Record(doc, c.named);
        const std::uint64_t frames = doc.File()->GetDataFrames();
        prompts.chooseSaveAsPath = [&] { return *c.saveAsPath ? Path(c.saveAsPath) : std::string(); };
        messages.clear();
        answer = c.answer;
        platform::SimulateDiskFull(c.diskSpace);
        EXPECT_EQ(doc.CloseFile(prompts), c.mayGoOn);
        platform::SimulateDiskFull(-1);

        ASSERT_FALSE(messages.empty());
        EXPECT_EQ(messages.front(), c.named ? "The wave file (" + Path("named.wav")
                                                   + ") has changed.\n\nDo you want to save the file before closing?"
                                             : std::string(TRecorderDocument::kAskSaveUntitled));
        EXPECT_EQ(doc.HasFile(), !c.mayGoOn);
        if (!c.mayGoOn) {
            EXPECT_EQ(std::tuple(doc.IsChanged(), doc.File()->GetDataFrames()), std::tuple(true, frames));
        }
        if (c.diskSpace >= 0) {
            // The question, then one message: what failed and why.
            ASSERT_EQ(messages.size(), 2u) << messages.back();
            EXPECT_EQ(messages.back().rfind("Failure saving wave file", 0), 0u) << messages.back();
            EXPECT_NE(messages.back().find("(is the disk full?)"), std::string::npos) << messages.back();
            EXPECT_EQ(doc.File()->Untitled, c.named ? 0 : 1) << "a failed Save As leaves the file as it was";
        }
        if (c.mayGoOn && c.answer == MessageResult::Yes) { // saved, under its name or the one chosen
            TWaveFile saved(Path(c.named ? "named.wav" : c.saveAsPath), TWaveFile::kMemoryMode, false);
            ASSERT_FALSE(saved.Failed);
            EXPECT_EQ(std::tuple(saved.GetDataFrames(), saved.HasCalibration), std::tuple(frames, 1));
        }
        fs::remove(Path("saved.wav"));
        fs::remove(Path("named.wav"));
    }

    // Save under the file's own name: a failure is reported once and the
    // recording stays changed; the next Save writes it.
    {
        TRecorderDocument named(settings);
        Record(named, true);
        messages.clear();
        platform::SimulateDiskFull(100);
        EXPECT_FALSE(named.Save(prompts));
        platform::SimulateDiskFull(-1);
        EXPECT_TRUE(named.IsChanged());
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].rfind("Failure saving wave file", 0), 0u) << messages[0];
        EXPECT_TRUE(named.Save(prompts));
        EXPECT_FALSE(named.IsChanged());
        EXPECT_TRUE(named.CloseFile(prompts));
        fs::remove(Path("named.wav"));
    }

    // Delete refuses the open file, under its name or another path to it,
    // without asking; a name that differs in case is another file here, and
    // is asked about like any other. An unchanged file closes without a
    // question.
    TRecorderDocument doc(settings);
    Record(doc, true);
    ASSERT_TRUE(doc.Save(prompts));
    std::ofstream(Path("other.wav")) << "x";
    std::ofstream(Path("NAMED.WAV")) << "x";
    const std::string inUse = " is currently in use.  Please close the file before deleting it";
    for (const std::string& same : {Path("named.wav"), folder.string() + "/./named.wav"}) {
        messages.clear();
        EXPECT_FALSE(doc.Delete(same));
        EXPECT_TRUE(fs::exists(Path("named.wav")));
        EXPECT_EQ(messages, std::vector<std::string>{"The selected file: " + same + inUse});
    }
    answer = MessageResult::Yes;
    EXPECT_TRUE(doc.Delete(Path("NAMED.WAV")));
    EXPECT_EQ(messages.back(), "Are you sure you want to delete: " + Path("NAMED.WAV"));
    EXPECT_EQ(std::pair(fs::exists(Path("NAMED.WAV")), fs::exists(Path("named.wav"))), std::pair(false, true));
    answer = MessageResult::No;
    EXPECT_FALSE(doc.Delete(Path("other.wav")));
    EXPECT_TRUE(fs::exists(Path("other.wav")));
    EXPECT_EQ(messages.back(), "Are you sure you want to delete: " + Path("other.wav"));
    answer = MessageResult::Yes;
    EXPECT_TRUE(doc.Delete(Path("other.wav")));
    EXPECT_FALSE(fs::exists(Path("other.wav")));

    messages.clear();
    EXPECT_TRUE(doc.CloseFile(prompts));
    EXPECT_FALSE(doc.HasFile());
    EXPECT_TRUE(messages.empty());
}

TEST_F(RecorderDocumentTest, TheRecordingTakesMemoryAsItGrowsAndStopsKeepingItWhenNoneIsLeft)
{
    TRecorderDocument doc(settings);
    ASSERT_TRUE(doc.PrepareRecording());
    TWaveFile& file = *doc.File();
    EXPECT_FALSE(doc.IsChanged()) << "nothing recorded yet";
    // Room for the longest recording, memory for the first 30 seconds only.
    EXPECT_EQ(std::tuple(file.GetReservedFrames(), file.GetNumFrames()), std::tuple(800000u, 240000u));
    EXPECT_EQ(file.GetScale(1), 4.0f) << "the calibration goes with the recording";

    const std::uint8_t* samples = file.GetBuffer();
    Append(file, 100000);
    EXPECT_EQ(doc.KeepRecordingRoom(), TRecorderDocument::Room::Enough);
    EXPECT_EQ(file.GetNumFrames(), 240000u) << "more than 15 s left: nothing to do";
    Append(file, 20000);
    EXPECT_EQ(doc.KeepRecordingRoom(), TRecorderDocument::Room::Enough);
    EXPECT_EQ(file.GetNumFrames(), 240000u) << "15 s left: still enough";
    Append(file, 7000);
    EXPECT_EQ(doc.KeepRecordingRoom(), TRecorderDocument::Room::Enough);
    EXPECT_EQ(file.GetNumFrames(), 480000u) << "30 s more";
    EXPECT_EQ(file.GetBuffer(), samples) << "grown in place, where the driver's thread writes";

    // No more memory: the recording stops, and all of it is kept.
    Append(file, 460000 - 127000);
    platform::FailNextAllocations(1);
    EXPECT_EQ(doc.KeepRecordingRoom(), TRecorderDocument::Room::OutOfMemory);
    EXPECT_EQ(std::tuple(file.GetDataFrames(), file.GetSample(1, 1, false)), std::tuple(460000u, 3.0));
    doc.ReportRoom(TRecorderDocument::Room::OutOfMemory);
    EXPECT_EQ(messages.back(), "The recording has stopped: no more memory could be had for it. The 57.5 seconds "
                               "recorded are kept.");

    // Up to the longest recording, then it stops there.
    while (file.GetDataFrames() < 800000u) {
        ASSERT_EQ(doc.KeepRecordingRoom(), TRecorderDocument::Room::Enough) << file.GetDataFrames();
        ASSERT_NO_FATAL_FAILURE(Append(file, 50000));
    }
    EXPECT_EQ(doc.KeepRecordingRoom(), TRecorderDocument::Room::Longest);
    EXPECT_EQ(file.GetDataFrames(), 800000u);

    // A recording opened again goes on at its end, with room for the
    // longest recording: 100 s, more than the 1 s it holds.
    {
        TRecorderDocument first(settings);
        ASSERT_TRUE(first.PrepareRecording());
        Append(*first.File(), 8000);
        ASSERT_TRUE(first.SaveAs(Path("again.wav")));
    }
    TRecorderDocument again(settings);
    ASSERT_TRUE(again.Open(Path("again.wav"), prompts));
    ASSERT_EQ(again.File()->GetMode(), TWaveFile::kMemoryMode);
    again.File()->SeekDataEnd();
    messages.clear();
    EXPECT_TRUE(again.PrepareRecording());
    EXPECT_EQ(again.File()->GetReservedFrames(), 800000u);
    EXPECT_TRUE(messages.empty()) << messages.front();

    // Recorded straight to a file: room enough until a write fails.
    settings.FileIO.WaveFileMode = TWaveFile::kStreamMode;
    TRecorderDocument streamed(settings);
    ASSERT_TRUE(streamed.PrepareRecording());
    ASSERT_EQ(streamed.File()->GetMode(), TWaveFile::kStreamMode);
    Append(*streamed.File(), 8000);
    EXPECT_EQ(streamed.KeepRecordingRoom(), TRecorderDocument::Room::Enough);
    streamed.File()->Failed = 1;
    EXPECT_EQ(streamed.KeepRecordingRoom(), TRecorderDocument::Room::WriteFailed);
}

TEST_F(RecorderDocumentTest, AFileWithoutCalibrationAsksWhileCalibrationIsOnAndSetsTheModeByItsChannels)
{
    {
        TWaveFile mono(800, TWaveFormat(8000, 1, 2), folder.string());
        for (std::uint64_t f = 0; f < 800; ++f)
            mono.PutSample(static_cast<std::int32_t>(f), f, 0);
        mono.SetFileName(Path("mono.wav"));
        ASSERT_TRUE(mono.Save());
    }
    // Calibration on, the dialog's answer to disable it; asked, enabled after, scale.
    for (const auto& [on, disable, shouldAsk, enabledAfter, scale] :
         {std::tuple(false, false, false, 0u, 1.0f), std::tuple(true, false, true, 1u, 2.5f),
          std::tuple(true, true, true, 0u, 1.0f)}) {
        settings.Calibration[0].IsEnabled = on ? 1 : 0;
        settings.Calibration[1].IsEnabled = on ? 1 : 0;
        settings.Processing.ChannelProcessing = 2;
        bool asked = false;
        prompts.askDisableCalibration = [&] {
            asked = true;
            return disable;
        };
        TRecorderDocument doc(settings);
        // A name relative to the wave folder.
        ASSERT_TRUE(doc.Open("mono.wav", prompts));
        EXPECT_EQ(std::tuple(asked, settings.Calibration[0].IsEnabled, settings.Calibration[1].IsEnabled,
                             doc.File()->GetScale(0)),
                  std::tuple(shouldAsk, enabledAfter, enabledAfter, scale));
        // A mono file analyses one channel.
        EXPECT_EQ(std::tuple(settings.Processing.ChannelProcessing, settings.Processing.Format),
                  std::tuple(0, TWaveFormat(8000, 1, 2)));
    }

    // Recording into it while the analysis has changed its format would
    // store stereo frames as mono ones.
    TRecorderDocument doc(settings);
    ASSERT_TRUE(doc.Open(Path("mono.wav"), prompts));
    EXPECT_EQ(std::tuple(doc.Title(), doc.IsChanged()), std::tuple("mono.wav", false));
    settings.Processing.Format.Set(8000, 2, 2);
    EXPECT_FALSE(doc.PrepareRecording());
    EXPECT_EQ(messages.back(), TRecorderDocument::kOtherFormatMessage);
    EXPECT_EQ(doc.File()->GetDataFrames(), 800u);

    EXPECT_FALSE(doc.Open(Path("missing.wav"), prompts));
    EXPECT_EQ(messages.back(), "Failure opening file: " + Path("missing.wav") + "\n\nNo such file or directory.");
}

namespace {

using Bytes = std::string;

Bytes LE(std::uint32_t v, int width)
{
    Bytes b;
    for (int i = 0; i < width; ++i)
        b.push_back(static_cast<char>(v >> (8 * i)));
    return b;
}

// A chunk whose size field says `size` (its data's size unless told).
Bytes Chunk(const char* id, const Bytes& data, std::int64_t size = -1)
{
    return id + LE(static_cast<std::uint32_t>(size < 0 ? data.size() : size), 4) + data +
           (data.size() % 2 != 0 ? Bytes(1, '\0') : Bytes());
}

Bytes Wave(const Bytes& chunks) { return Chunk("RIFF", "WAVE" + chunks); }

// "fmt " of PCM (tag 1) or another encoding, 8000 Hz.
Bytes Format(std::uint16_t tag, std::uint16_t channels, std::uint16_t bits)
{
    const std::uint16_t align = static_cast<std::uint16_t>(channels * bits / 8);
    return Chunk("fmt ", LE(tag, 2) + LE(channels, 2) + LE(8000, 4) + LE(8000 * align, 4) + LE(align, 2) + LE(bits, 2));
}

} // namespace

TEST_F(RecorderDocumentTest, AFileThatCannotBeOpenedIsOneMessageNamingItAndTheReason)
{
    const Bytes stereo = Format(1, 2, 16);
    fs::create_directories(Path("folder.wav"));
    ASSERT_EQ(::mkfifo(Path("pipe.wav").c_str(), 0600), 0);
    const std::pair<const char*, Bytes> files[] = {
        {"empty_data.wav", Wave(stereo + Chunk("data", ""))},
        {"mid_frame.wav", Wave(stereo + Chunk("data", "ab"))},
        {"no_data.wav", Wave(stereo)},
        {"cut_short.wav", Wave(stereo + Chunk("data", "abcd", 4000))},
        {"float.wav", Wave(Format(3, 1, 32) + Chunk("data", "abcd"))},
        {"text.wav", "hello"},
    };
    for (const auto& [name, bytes] : files)
        std::ofstream(Path(name), std::ios::binary) << bytes;
    // What each message must say beyond the failure and the file's name.
    const std::pair<const char*, const char*> cases[] = {
        {"empty_data.wav", "its data chunk is empty"},
        {"mid_frame.wav", "holds 2 bytes, less than one frame of 4"},
        {"no_data.wav", "it has no data chunk"},
        {"cut_short.wav", "its data chunk says 4000 bytes, but only 4 follow"},
        {"float.wav", "format tag 3"},
        {"text.wav", "it is not a RIFF WAVE file"},
        {"folder.wav", "It is a folder."},
        {"pipe.wav", "It is not a regular file."},
    };
    for (const std::uint32_t mode : {TWaveFile::kMemoryMode, TWaveFile::kStreamMode}) {
        settings.FileIO.WaveFileMode = mode;
        for (const auto& [name, reason] : cases) {
            SCOPED_TRACE(testing::Message() << name << " in mode " << mode);
            TRecorderDocument doc(settings);
            messages.clear();
            EXPECT_FALSE(doc.Open(Path(name), prompts));
            EXPECT_FALSE(doc.HasFile());
            ASSERT_EQ(messages.size(), 1u);
            EXPECT_NE(messages[0].find(Path(name)), std::string::npos) << messages[0];
            EXPECT_NE(messages[0].find(reason), std::string::npos) << messages[0];
        }
    }
}

TEST_F(RecorderDocumentTest, AFilesCalibrationIsDerivedAgainForTheInputRangeOfTheModuleNow)
{
    // Recorded at the 2.5 V range: a 94 dB SPL calibrator measured at 5 %
    // of full scale on the left, a 100 mV/g accelerometer on the right; the
    // ratios in the file are stale on purpose.
    TChannelCalibration left{};
    left.IsEnabled = 1;
    left.CalCreateMode = 0;
    left.RefUnits = 2;
    left.RefType = 1;
    left.RefLevel = 94.0f;
    left.PctFullScale = 0.05f;
    left.DAQVoltageRange = 2.5f;
    left.CalRatio = 99.0f;
    TChannelCalibration right = left;
    right.CalCreateMode = 2;
    right.RefUnits = 3;
    right.TransducerSensitivityVolts = 0.1f;
    {
        TWaveFile recording(800, TWaveFormat(8000, 2, 2), folder.string());
        for (std::uint64_t f = 0; f < 800; ++f)
            recording.PutSample(static_cast<std::int32_t>(f), f, 0);
        recording.SetCalibration(left, right);
        recording.SetFileName(Path("ranged.wav"));
        ASSERT_TRUE(recording.Save());
    }
    // By hand: the calibrator gives 20e-6·10^(94/20) = 1.002374 Pa; its
    // 5 % at 2.5 V are 20 % at 0.625 V. Ratio √2·1.002374/fraction; the
    // sensitivity method's ratio is the stored range over 0.1 V/g.
    struct Case {
        std::optional<float> range;
        float leftRatio;
        float leftFraction;
        float rightRatio;
    };
    for (const Case& c : {Case{0.625f, 7.087857f, 0.2f, 25.0f}, Case{2.5f, 28.35143f, 0.05f, 25.0f},
                          Case{std::nullopt, 28.35143f, 0.05f, 25.0f}}) {
        prompts.currentInputRange = [&c] { return c.range; };
        TRecorderDocument doc(settings);
        ASSERT_TRUE(doc.Open(Path("ranged.wav"), prompts)) << (messages.empty() ? "" : messages.back());
        ASSERT_EQ(doc.File()->HasCalibration, 1);
        const TChannelCalibration& l = settings.Calibration[0];
        EXPECT_NEAR(l.CalRatio, c.leftRatio, 1e-3f) << c.range.value_or(0.0f);
        EXPECT_NEAR(l.PctFullScale, c.leftFraction, 1e-6f);
        EXPECT_NEAR(settings.Calibration[1].CalRatio, c.rightRatio, 1e-4f);
        // The file is analysed with the ratios the channels now have.
        EXPECT_FLOAT_EQ(doc.File()->GetScale(0), l.CalRatio);
    }
}

// Save on an untitled recording asks for a name and writes the file there;
// no name chosen, nothing written and the recording stays untitled.
TEST_F(RecorderDocumentTest, SavingAnUntitledRecordingWritesItUnderTheChosenNameOrNothing)
{
    TRecorderDocument doc(settings);
    Record(doc, false);
    prompts.chooseSaveAsPath = [] { return std::string(); };
    EXPECT_FALSE(doc.Save(prompts));
    EXPECT_EQ(doc.File()->Untitled, 1);
    EXPECT_FALSE(fs::exists(Path("chosen.wav")));

    prompts.chooseSaveAsPath = [this] { return Path("chosen.wav"); };
    ASSERT_TRUE(doc.Save(prompts));
    EXPECT_EQ(std::tuple(doc.File()->Untitled, doc.IsChanged(), doc.Title()), std::tuple(0, false, "chosen.wav"));
    TWaveFile saved(Path("chosen.wav"), TWaveFile::kMemoryMode, false);
    ASSERT_FALSE(saved.Failed);
    EXPECT_EQ(saved.GetDataFrames(), 8000u);
}
