// Edges of walking and writing chunks: forms and lists whose four-byte type
// ends exactly at the end of the file or of their parent are whole (one byte
// short, they are refused); empty reads and writes; a chunk closed twice.
#include "platform/RiffFile.h"
#include "tests/support/PlatformTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), f), bytes.size());
    ASSERT_EQ(std::fclose(f), 0);
}

// Little-endian 32-bit size field.
std::string Size(std::uint32_t n)
{
    return {static_cast<char>(n & 0xFF), static_cast<char>((n >> 8) & 0xFF), static_cast<char>((n >> 16) & 0xFF),
            static_cast<char>(n >> 24)};
}

} // namespace

TEST(RiffFormEdge, AFormTypeThatEndsAtTheFilesOrParentsEndIsFoundOneByteShortIsNot)
{
    using platform::RiffChunk;
    using platform::RiffFile;
    using platform::RiffFind;
    TempFolder folder;
    const std::uint32_t wave = platform::MakeFourCC('W', 'A', 'V', 'E');
    const std::uint32_t info = platform::MakeFourCC('I', 'N', 'F', 'O');
    const struct {
        const char* what;
        std::string bytes;
        bool formFound;
        bool listFound;
    } cases[] = {
        // 12 bytes: header and type, nothing after.
        {"empty form", "RIFF" + Size(4) + "WAVE", true, false},
        {"form cut in its type", "RIFF" + Size(4) + "WAV", false, false},
        // An empty list as the form's last 12 bytes.
        {"empty list last", "RIFF" + Size(16) + "WAVE" + "LIST" + Size(4) + "INFO", true, true},
        // The form's size stops two bytes into the list's type (an odd size would
        // take in its pad byte).
        {"list type past the form", "RIFF" + Size(14) + "WAVE" + "LIST" + Size(4) + "INFO", true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = folder.Path(std::string(c.what) + ".bin");
        WriteBytes(path, c.bytes);
        RiffFile file;
        ASSERT_TRUE(file.Open(path, RiffFile::OpenMode::Read));
        RiffChunk form;
        form.FormType = wave;
        EXPECT_EQ(file.Descend(form, nullptr, RiffFind::Form), c.formFound);
        if (!c.formFound)
            continue;
        EXPECT_EQ(form.DataOffset, 8);
        RiffChunk list;
        list.FormType = info;
        EXPECT_EQ(file.Descend(list, &form, RiffFind::List), c.listFound);
        if (c.listFound) {
            EXPECT_EQ(list.DataOffset, 20);
            EXPECT_EQ(list.Size, 4u);
        }
    }
}

// Nothing to write is written at once: an empty data chunk (a recording of
// no frames) closes with size 0, and a negative count is refused.
TEST(RiffFormEdge, AnEmptyWriteSucceedsAndLeavesAnEmptyChunk)
{
    using platform::RiffChunk;
    using platform::RiffFile;
    TempFolder folder;
    RiffFile file;
    ASSERT_TRUE(file.Open(folder.Path("empty.bin"), RiffFile::OpenMode::Create));
    RiffChunk chunk{platform::MakeFourCC('d', 'a', 't', 'a'), 0};
    ASSERT_TRUE(file.CreateChunk(chunk));
    const unsigned char none[1] = {0};
    EXPECT_EQ(file.Write(none, 0), 0);
    EXPECT_TRUE(file.WriteExactly(none, 0));
    EXPECT_EQ(file.Write(none, -1), -1);
    ASSERT_TRUE(file.Ascend(chunk));
    EXPECT_EQ(chunk.Size, 0u);
    EXPECT_EQ(chunk.DataOffset, 8);
    // Reading nothing from the empty chunk succeeds the same way.
    unsigned char into[1] = {7};
    ASSERT_TRUE(file.Seek(8));
    EXPECT_EQ(file.Read(into, 0), 0);
    EXPECT_TRUE(file.ReadExactly(into, 0));
    EXPECT_EQ(file.Read(into, -1), -1);
    EXPECT_EQ(into[0], 7);
    // Closing succeeds, and closing what is closed (or never opened) is no failure.
    EXPECT_TRUE(file.Close());
    EXPECT_TRUE(file.Close());
    EXPECT_TRUE(RiffFile{}.Close());
}

// A chunk closes once: after its size is written, ascending again only moves
// past it, wherever the position stands, and writes nothing.
TEST(RiffFormEdge, AClosedChunkAscendsAgainWithoutRewritingItsSize)
{
    using platform::RiffChunk;
    using platform::RiffFile;
    TempFolder folder;
    RiffFile file;
    ASSERT_TRUE(file.Open(folder.Path("twice.bin"), RiffFile::OpenMode::Create));
    RiffChunk chunk{platform::MakeFourCC('d', 'a', 't', 'a'), 0};
    ASSERT_TRUE(file.CreateChunk(chunk));
    const unsigned char data[4] = {1, 2, 3, 4};
    ASSERT_TRUE(file.WriteExactly(data, 4));
    ASSERT_TRUE(file.Ascend(chunk));
    EXPECT_FALSE(chunk.SizePending);
    ASSERT_TRUE(file.Seek(2));
    EXPECT_TRUE(file.Ascend(chunk));
    EXPECT_EQ(file.Tell(), 12);
    EXPECT_EQ(chunk.Size, 4u);
    ASSERT_TRUE(file.Close());
    std::FILE* f = std::fopen(folder.Path("twice.bin").c_str(), "rb");
    ASSERT_NE(f, nullptr);
    char bytes[16] = {};
    const std::size_t read = std::fread(bytes, 1, sizeof bytes, f);
    std::fclose(f);
    EXPECT_EQ(std::string(bytes, read), "data" + Size(4) + "\x01\x02\x03\x04");
}
