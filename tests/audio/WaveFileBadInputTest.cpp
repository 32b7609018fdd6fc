#include "audio/TWaveFile.h"

#include "WaveTestSupport.h"

namespace {

using namespace wavetest;

class WaveFileBadInputTest : public WaveTest {
protected:
    // Opens the bytes in both modes; the file must come out unchanged.
    bool OpensInBothModes(const Bytes& bytes, std::uint64_t* frames = nullptr)
    {
        bool opened = true;
        for (std::uint16_t mode : {TWaveFile::kMemoryMode, TWaveFile::kStreamMode}) {
            {
                const auto file = Open("in.wav", bytes, mode);
                opened = opened && !file->Failed;
                if (frames)
                    *frames = file->GetNumFrames();
                if (file->Failed) {
                    EXPECT_EQ(file->GetNumFrames(), 0u);
                    EXPECT_EQ(file->GetSample(0, 0, false), 0.0);
                }
            }
            EXPECT_EQ(Load(Path("in.wav")), bytes) << "mode " << mode;
        }
        return opened;
    }

    // The one message both opens showed, which must name the file.
    std::string Reason()
    {
        EXPECT_EQ(messages.size(), 2u);
        if (messages.empty())
            return {};
        EXPECT_EQ(messages.front(), messages.back());
        EXPECT_NE(messages.front().find(QuotedPath("in.wav")), std::string::npos) << messages.front();
        const std::string reason = messages.front();
        messages.clear();
        return reason;
    }

    const Bytes fmt16 = Chunk("fmt ", FormatData(1, 2, 8000, 4, 16));
    const Bytes data = Chunk("data", {1, 0, 2, 0, 3, 0, 4, 0});
    // WAVE_FORMAT_EXTENSIBLE, 24-bit mono, of a sub-format (1: PCM, 3: floating point).
    static Bytes Extensible(std::uint8_t subFormat)
    {
        return Concat({FormatData(0xFFFE, 1, 8000, 3, 24), LE(22, 2), LE(24, 2), LE(4, 4),
                       {subFormat, 0, 0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71}});
    }
};

TEST_F(WaveFileBadInputTest, OtherChunksBeforeTheDataAreSkipped)
{
    std::uint64_t frames = 0;
    const Bytes list = Chunk("LIST", Concat({Text("INFOINAM"), LE(3, 4), Text("abc"), {0}}));
    EXPECT_TRUE(OpensInBothModes(WaveForm({fmt16, list, Chunk("odd ", {1, 2, 3}), data}), &frames));
    EXPECT_EQ(frames, 2u);

    // Extensible PCM, as sox writes 24-bit files.
    EXPECT_TRUE(OpensInBothModes(WaveForm({Chunk("fmt ", Extensible(1)), data}), &frames));
    EXPECT_EQ(frames, 2u);  // 8 bytes of 3-byte frames: the partial frame is left out
    EXPECT_TRUE(messages.empty());
}

TEST_F(WaveFileBadInputTest, ForeignFormatsAndDamagedFilesAreRefusedWithTheReason)
{
    const auto withFormat = [&](const Bytes& format) { return WaveForm({Chunk("fmt ", format), data}); };
    const Bytes good = WaveForm({fmt16, data});
    struct Case {
        Bytes file;
        const char* reason;
    };
    const Case cases[] = {
        {withFormat(FormatData(3, 1, 8000, 4, 32)), "floating-point (format tag 3); only PCM can be read"},
        {withFormat(Extensible(3)), "floating-point"},
        {withFormat(FormatData(2, 1, 8000, 256, 4)), "Microsoft ADPCM (format tag 2)"},
        {withFormat(FormatData(1, 3, 8000, 6, 16)), "3 channels; only mono and stereo can be read"},
        {withFormat(FormatData(1, 0, 8000, 2, 16)), "0 channels"},
        {withFormat(FormatData(1, 2, 8000, 5, 16)), "block align of 5 bytes does not fit 2 channels"},
        {withFormat(FormatData(1, 1, 8000, 10, 80)), "block align of 10 bytes"},
        {withFormat(FormatData(1, 2, 8000, 4, 24)), "24 bits per sample but stores 2 bytes"},
        {withFormat(FormatData(1, 1, 0, 2, 16)), "sampling rate is 0"},
        {withFormat(Bytes(10, 1)), "format chunk is cut short"},
        // Cut inside the header, inside the data, and a data size beyond the file.
        {Bytes(good.begin(), good.begin() + 30), "format chunk is cut short"},
        {Bytes(good.begin(), good.end() - 2), "data chunk says 8 bytes, but only 6 follow"},
        {WaveForm({fmt16, Chunk("data", {1, 0, 2, 0}, 0x7FFFFFFF)}), "says 2147483647 bytes"},
        {Concat({Text("RIFF"), LE(4, 4), Text("AVI ")}), "not a RIFF WAVE file"},
        {WaveForm({data}), "no format"},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(OpensInBothModes(c.file)) << c.reason;
        EXPECT_NE(Reason().find(c.reason), std::string::npos) << c.reason;
    }

    // The two cases with messages of their own, and the silent empty file.
    EXPECT_FALSE(OpensInBothModes(WaveForm({fmt16})));
    EXPECT_EQ(messages, (std::vector<std::string>(2, "TWaveFile - invalid wave file data found (DATA section)")));
    messages.clear();
    EXPECT_FALSE(OpensInBothModes(WaveForm({fmt16, Chunk("data", {})})));
    EXPECT_TRUE(messages.empty());

    platform::FailNextAllocations(1);
    EXPECT_TRUE(Open("big.wav", good)->Failed);
    EXPECT_EQ(messages, std::vector<std::string>{"WAVE_DATA_MEMORY"});

    // A file that is not there fails quietly: the caller words that.
    messages.clear();
    TWaveFile missing(Path("missing.wav"), TWaveFile::kStreamMode, true, folder.string());
    EXPECT_TRUE(missing.Failed);
    EXPECT_TRUE(messages.empty());
}

}  // namespace
