// Writes the disk has no room for. A chunk of odd length ends in a pad byte;
// when there is no room for it, closing the chunk fails rather than leaving
// it half-written. A header that does not fit makes no chunk, and a failed
// write keeps the file failed until it is cut off behind it.
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

// The first failed write is the one that counts: cutting the file behind a
// later failure but not behind the first still leaves the file failed.
TEST(RiffPadFailure, CuttingBehindALaterFailureLeavesTheFirstOne)
{
    TempFolder folder;
    platform::RiffFile file;
    ASSERT_TRUE(file.Open(folder.Path("cut.bin"), platform::RiffFile::OpenMode::Create));
    const unsigned char data[100] = {};
    ASSERT_TRUE(file.WriteExactly(data, 100));
    platform::SimulateDiskFull(0);
    EXPECT_FALSE(file.WriteExactly(data, 10));  // fails at 100
    ASSERT_TRUE(file.Seek(200));
    EXPECT_FALSE(file.WriteExactly(data, 10));  // fails at 200
    platform::SimulateDiskFull(-1);
    ASSERT_TRUE(file.Truncate(150));
    EXPECT_FALSE(file.Close()) << "the write at 100 is still missing";
}
