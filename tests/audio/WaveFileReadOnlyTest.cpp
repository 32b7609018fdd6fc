// Saving into a folder where no new file can be made: the old file stays
// whole and the message names the file and the reason.

#include "audio/TWaveFile.h"
#include "platform/TempFiles.h"
#include "tests/support/PlatformTestSupport.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace {

class WaveFileReadOnlyTest : public TempFolderTest {
protected:
    void TearDown() override
    {
        if (immutable)
            std::system(("chattr -i '" + folder.string() + "' 2>/dev/null").c_str());
        ::chmod(folder.c_str(), 0755);
    }

    // A folder no new file can be made in, even for root when the file
    // system supports the immutable attribute.
    bool MakeFolderReadOnly()
    {
        ::chmod(folder.c_str(), 0555);
        if (::access(folder.c_str(), W_OK) != 0)
            return true;
        immutable = std::system(("chattr +i '" + folder.string() + "' 2>/dev/null").c_str()) == 0;
        return immutable;
    }

    bool immutable = false;
    MessageLog log;
};

TEST_F(WaveFileReadOnlyTest, ASaveIntoAReadOnlyFolderLeavesTheOldFileAndSaysWhy)
{
    // The old file: 8 kHz mono 16-bit, two samples of 9.
    const std::string original("RIFF\x28\0\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x40\x1f\0\0\x80\x3e\0\0\x02\0\x10\0"
                               "data\x04\0\0\0\x09\0\x09\0",
                               48);
    WriteText(Path("keep.wav"), original);
    {
        TWaveFile check(Path("keep.wav"), TWaveFile::kMemoryMode, false, folder.string());
        ASSERT_FALSE(check.Failed);
        ASSERT_EQ(check.GetNumFrames(), 2u);
    }
    TWaveFile file(10, TWaveFormat(8000, 1, 2), folder.string());
    for (std::uint64_t f = 0; f < 10; ++f)
        file.PutSample(static_cast<std::int32_t>(f), f, 0);
    file.SetCalibration(DefaultChannelCalibration(0), DefaultChannelCalibration(1));
    file.SetFileName(Path("keep.wav"));
    if (!MakeFolderReadOnly())
        GTEST_SKIP() << "no way to make a folder read-only here";

    EXPECT_FALSE(file.Save());
    EXPECT_EQ(ReadText(Path("keep.wav")), original);
    EXPECT_TRUE(file.Modified) << "still to be saved";
    EXPECT_EQ(log.texts, std::vector<std::string>{"TWaveFile - failure saving \"" + Path("keep.wav")
                                                  + "\": no new file can be created in its folder."
                                                    " The file on the disk is unchanged."});

    // Streamed: the working copy lives elsewhere, the target is refused.
    log.texts.clear();
    TWaveFile streamed(Path("keep.wav"), TWaveFile::kStreamMode, true, platform::SystemTempFolder());
    ASSERT_FALSE(streamed.Failed);
    streamed.SeekEnd();
    const std::uint8_t more[] = {1, 0};
    ASSERT_TRUE(streamed.WriteData(more, 2));
    EXPECT_FALSE(streamed.Save());
    EXPECT_EQ(ReadText(Path("keep.wav")), original);
    ASSERT_EQ(log.texts.size(), 1u);
    EXPECT_NE(log.texts[0].find("\"" + Path("keep.wav") + "\""), std::string::npos) << log.texts[0];
}

} // namespace
