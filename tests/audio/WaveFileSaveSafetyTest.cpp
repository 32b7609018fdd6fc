#include "audio/TWaveFile.h"

#include "WaveTestSupport.h"

namespace {

using namespace wavetest;

class WaveFileSaveSafetyTest : public WaveTest {
protected:
    // The old file, a memory file of new frames named over it, calibrated.
    const Bytes original = WaveForm({Chunk("fmt ", FormatData(1, 1, 8000, 2, 16)), Chunk("data", {9, 0, 9, 0})});
    std::unique_ptr<TWaveFile> NewVersion(std::uint64_t frames)
    {
        auto file = std::make_unique<TWaveFile>(frames, TWaveFormat(8000, 1, 2), folder.string());
        for (std::uint64_t f = 0; f < frames; ++f)
            file->PutSample(static_cast<std::int32_t>(f), f, 0);
        Calibrate(*file);
        return file;
    }
    void Calibrate(TWaveFile& file)
    {
        file.SetCalibration(DefaultChannelCalibration(0), DefaultChannelCalibration(1));
        file.SetFileName(Path("keep.wav"));
    }
};

TEST_F(WaveFileSaveSafetyTest, AFullDiskAtAnyPointLeavesTheOldFile)
{
    Store(Path("keep.wav"), original);
    auto file = NewVersion(3000);
    // Space for the header, for part of the samples, and for everything but
    // (part of) the calibration chunk.
    for (std::int64_t space : {0, 40, 44, 3000, 6044, 6052, 7000}) {
        platform::SimulateDiskFull(space);
        EXPECT_FALSE(file->Save()) << space;
        EXPECT_EQ(Load(Path("keep.wav")), original) << space;
        EXPECT_EQ(Files(folder), std::vector<std::string>{"keep.wav"}) << space;
        EXPECT_TRUE(file->Modified);
        EXPECT_EQ(file->HasCalibration, 1);
    }
    EXPECT_FALSE(messages.empty());
    EXPECT_NE(messages.back().find(QuotedPath("keep.wav")), std::string::npos) << messages.back();

    platform::SimulateDiskFull(-1);
    ASSERT_TRUE(file->Save());
    EXPECT_EQ(Load(Path("keep.wav")).size(), 44u + 6000 + 2056);
}

TEST_F(WaveFileSaveSafetyTest, AStreamedSaveThatFailsKeepsTheFileAndTheCalibration)
{
    Store(Path("keep.wav"), original);
    TWaveFile file(TWaveFormat(8000, 1, 2), false, folder.string());
    ASSERT_TRUE(file.WriteData(Bytes{1, 0, 2, 0, 3, 0}.data(), 6));
    Calibrate(file);

    // Room for the sizes but not for the calibration chunk.
    platform::SimulateDiskFull(100);
    EXPECT_FALSE(file.Save());
    EXPECT_EQ(messages, std::vector<std::string>{"Error writing Calibration data to wave file"});
    EXPECT_EQ(file.HasCalibration, 1);
    EXPECT_EQ(Load(Path("keep.wav")), original);
    EXPECT_EQ(file.GetNumFrames(), 3u);

    platform::SimulateDiskFull(-1);
    ASSERT_TRUE(file.Save());
    EXPECT_EQ(Load(Path("keep.wav")).size(), 44u + 6 + 2056);
}

TEST_F(WaveFileSaveSafetyTest, ACopyThatFailsPartWayIsReported)
{
    // Enough frames for several copy chunks.
    auto source = NewVersion(10000);
    ASSERT_TRUE(source->Save());
    const Bytes saved = Load(Path("keep.wav"));

    TWaveFile file(Path("keep.wav"), TWaveFile::kStreamMode, true, folder.string());
    ASSERT_FALSE(file.Failed);
    file.SetCalibration(DefaultChannelCalibration(1), DefaultChannelCalibration(0));
    // The tail of the working copy fits; the rewritten copy runs out midway.
    platform::SimulateDiskFull(2056 + 8192);
    EXPECT_FALSE(file.Save());
    EXPECT_EQ(Load(Path("keep.wav")), saved);
    EXPECT_EQ(file.CalibrationChanged, 1);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("failure saving"), std::string::npos) << messages[0];
    EXPECT_EQ(Files(folder).size(), 2u);  // the file and the working copy, no half-made rewrite
    platform::SimulateDiskFull(-1);
    EXPECT_TRUE(file.Save());
    EXPECT_NE(Load(Path("keep.wav")), saved);
}

}  // namespace
