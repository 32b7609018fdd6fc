// A chunk of odd length ends in a pad byte; when the disk has no room for
// it, closing the chunk fails rather than leaving it half-written.
#include "platform/RiffFile.h"
#include "tests/support/PlatformTestSupport.h"

#include <gtest/gtest.h>

TEST(RiffPadFailure, AnOddChunkWhosePadByteCannotBeWrittenDoesNotClose)
{
    TempFolder folder;
    platform::RiffFile file;
    ASSERT_TRUE(file.Open(folder.Path("odd.bin"), platform::RiffFile::OpenMode::Create));
    platform::RiffChunk chunk{platform::MakeFourCC('o', 'd', 'd', ' '), 0};
    ASSERT_TRUE(file.CreateChunk(chunk));
    const unsigned char data[3] = {1, 2, 3};
    ASSERT_TRUE(file.WriteExactly(data, 3));
    platform::SimulateDiskFull(0);
    EXPECT_FALSE(file.Ascend(chunk));
    EXPECT_TRUE(chunk.SizePending) << "the size is still to be written";
    platform::SimulateDiskFull(-1);
}

// A form whose type no longer fits on the disk is not created, nor is a
// chunk whose header does not fit.
TEST(RiffPadFailure, AFormWhoseTypeCannotBeWrittenIsNotCreated)
{
    for (std::int64_t room : {8, 4}) {
        TempFolder folder;
        platform::RiffFile file;
        ASSERT_TRUE(file.Open(folder.Path("form.bin"), platform::RiffFile::OpenMode::Create));
        platform::RiffChunk form{platform::kRiffId, 0, platform::MakeFourCC('W', 'A', 'V', 'E')};
        platform::SimulateDiskFull(room);
        EXPECT_FALSE(file.CreateChunk(form)) << room << " bytes of room";
        platform::SimulateDiskFull(-1);
    }
}
