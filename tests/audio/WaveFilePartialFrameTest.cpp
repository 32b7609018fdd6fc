// Writing less than a whole frame into a streamed file moves nothing and
// harms nothing: the frames before and after it are written as usual.
#include "audio/TWaveFile.h"
#include "tests/support/PlatformTestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

TEST(WaveFilePartialFrame, APartOfAFrameWrittenToAStreamedFileIsDroppedAndTheFileGoesOn)
{
    TempFolder folder;
    MessageLog log;
    TWaveFile file(TWaveFormat(8000, 1, 2), false, folder.folder.string());
    ASSERT_FALSE(file.Failed);
    const std::uint8_t frames[] = {1, 0, 2, 0}, half[] = {9}, last[] = {3, 0};
    ASSERT_TRUE(file.WriteData(frames, 4));
    file.WriteData(half, 1);
    EXPECT_EQ(std::pair(int{file.Failed}, file.GetNumFrames()), std::pair(0, std::uint64_t{2}));
    ASSERT_TRUE(file.WriteData(last, 2));
    file.SetFileName(folder.Path("partial.wav"));
    ASSERT_TRUE(file.Save());

    TWaveFile saved(folder.Path("partial.wav"), TWaveFile::kMemoryMode, false);
    ASSERT_EQ(saved.GetNumFrames(), 3u);
    EXPECT_EQ((std::vector<double>{saved.GetSample(0, 0, false), saved.GetSample(1, 0, false),
                                   saved.GetSample(2, 0, false)}),
              (std::vector<double>{1, 2, 3}));
    EXPECT_TRUE(log.texts.empty());
}
