#include "platform/RiffFile.h"

#include "tests/support/PlatformTestSupport.h"

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using platform::MakeFourCC;
using platform::RiffChunk;
using platform::RiffFile;
using platform::RiffFind;
using Bytes = std::vector<std::uint8_t>;

class RiffFileTest : public TempFolderTest {};

void Store(const std::string& path, const Bytes& bytes)
{
    WriteText(path, std::string(bytes.begin(), bytes.end()));
}

TEST_F(RiffFileTest, CreatedChunksGetTheirSizesAndPadBytes)
{
    RiffFile file;
    ASSERT_TRUE(file.Open(Path("a.riff"), RiffFile::OpenMode::Create));
    RiffChunk form{platform::kRiffId, 0, MakeFourCC('T', 'E', 'S', 'T')};
    ASSERT_TRUE(file.CreateChunk(form));
    RiffChunk odd{MakeFourCC('o', 'd', 'd', ' ')};
    ASSERT_TRUE(file.CreateChunk(odd));
    ASSERT_TRUE(file.WriteExactly("abc", 3));
    ASSERT_TRUE(file.Ascend(odd));
    RiffChunk even{MakeFourCC('e', 'v', 'e', 'n')};
    ASSERT_TRUE(file.CreateChunk(even));
    ASSERT_TRUE(file.WriteExactly("xy", 2));
    ASSERT_TRUE(file.Ascend(even));
    ASSERT_TRUE(file.Ascend(form));
    ASSERT_TRUE(file.Close());

    const Bytes expected = {'R', 'I', 'F', 'F', 26, 0, 0, 0, 'T', 'E', 'S', 'T',
                            'o', 'd', 'd', ' ', 3,  0, 0, 0, 'a', 'b', 'c', 0,
                            'e', 'v', 'e', 'n', 2,  0, 0, 0, 'x', 'y'};
    const std::string written = ReadText(Path("a.riff"));
    EXPECT_EQ(Bytes(written.begin(), written.end()), expected);
    EXPECT_EQ(odd.Size, 3u);
    EXPECT_EQ(form.Size, 26u);

    // Cut back in place: to nothing, never to a negative length.
    ASSERT_TRUE(file.Open(Path("a.riff"), RiffFile::OpenMode::ReadWrite));
    EXPECT_FALSE(file.Truncate(-1));
    EXPECT_TRUE(file.Truncate(0));
    ASSERT_TRUE(file.Close());
    EXPECT_EQ(ReadText(Path("a.riff")), "");
}

TEST_F(RiffFileTest, DescendSkipsOtherChunksStaysInsideItsParentAndStopsAtTheFileEnd)
{
    // A form holding an odd-sized chunk and "want", followed at top level by
    // another "want" that a search inside the form must not reach.
    const Bytes bytes = {'R', 'I', 'F', 'F', 24, 0, 0, 0, 'W', 'A', 'V', 'E',
                         'o', 'd', 'd', ' ', 1,  0, 0, 0, 'z', 0,
                         'w', 'a', 'n', 't', 2,  0, 0, 0, 'h', 'i',
                         'w', 'a', 'n', 't', 1,  0, 0, 0, '!', 0};
    Store(Path("b.riff"), bytes);
    RiffFile file;
    ASSERT_TRUE(file.Open(Path("b.riff"), RiffFile::OpenMode::Read));

    RiffChunk form{0, 0, MakeFourCC('W', 'A', 'V', 'E')};
    ASSERT_TRUE(file.Descend(form, nullptr, RiffFind::Form));
    EXPECT_EQ(form.DataOffset, 8);
    EXPECT_EQ(file.Tell(), 12);

    RiffChunk want{MakeFourCC('w', 'a', 'n', 't')};
    ASSERT_TRUE(file.Descend(want, &form, RiffFind::Id));
    EXPECT_EQ(want.DataOffset, 30);
    EXPECT_EQ(want.Size, 2u);
    char text[2];
    ASSERT_TRUE(file.ReadExactly(text, 2));
    EXPECT_EQ(std::string(text, 2), "hi");
    ASSERT_TRUE(file.Ascend(want));
    EXPECT_FALSE(file.Descend(want, &form, RiffFind::Id));

    // At top level the form counts as one chunk and is skipped whole.
    ASSERT_TRUE(file.Seek(0));
    ASSERT_TRUE(file.Descend(want, nullptr, RiffFind::Id));
    EXPECT_EQ(want.DataOffset, 40);

    // A chunk claiming 4 GB, then nothing: the search must stop, not wrap.
    Store(Path("c.riff"), {'j', 'u', 'n', 'k', 0xFF, 0xFF, 0xFF, 0xFF, 1, 2, 3});
    ASSERT_TRUE(file.Close());
    ASSERT_TRUE(file.Open(Path("c.riff"), RiffFile::OpenMode::Read));
    EXPECT_FALSE(file.Descend(want, nullptr, RiffFind::Id));
    // A truncated header is no chunk either.
    ASSERT_TRUE(file.Seek(8));
    RiffChunk any;
    EXPECT_FALSE(file.Descend(any, nullptr, RiffFind::Next));
}

}  // namespace
