#include "audio/TWaveFile.h"

#include "WaveTestSupport.h"

namespace {

using namespace wavetest;

class WaveFileBadInputTest : public WaveTest {
protected:
    // Opens the bytes in both modes; the file must come out unchanged.
    bool OpensInBothModes(const Bytes& bytes, std::uint64_t* frames = nullptr)
    {
        Store(Path("in.wav"), bytes);
        bool opened = true;
        for (std::uint16_t mode : {TWaveFile::kMemoryMode, TWaveFile::kStreamMode}) {
            {
                TWaveFile file(Path("in.wav"), mode, false, folder.string());
                opened = opened && !file.Failed;
                if (frames)
                    *frames = file.GetNumFrames();
                if (file.Failed) {
                    EXPECT_EQ(file.GetNumFrames(), 0u);
                    EXPECT_EQ(file.GetSample(0, 0, false), 0.0);
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
};

TEST_F(WaveFileBadInputTest, OtherChunksBeforeTheDataAreSkipped)
{
    std::uint64_t frames = 0;
    const Bytes list = Chunk("LIST", Bytes{'I', 'N', 'F', 'O', 'I', 'N', 'A', 'M', 3, 0, 0, 0, 'a', 'b', 'c', 0});
    EXPECT_TRUE(OpensInBothModes(WaveForm({fmt16, list, Chunk("odd ", {1, 2, 3}), data}), &frames));
    EXPECT_EQ(frames, 2u);

    // WAVE_FORMAT_EXTENSIBLE holding PCM, as sox writes 24-bit files.
    Bytes extensible = FormatData(0xFFFE, 1, 8000, 3, 24);
    AppendU16(extensible, 22);
    AppendU16(extensible, 24);
    AppendU32(extensible, 4);
    const Bytes pcmGuid = {1, 0, 0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};
    extensible.insert(extensible.end(), pcmGuid.begin(), pcmGuid.end());
    EXPECT_TRUE(OpensInBothModes(WaveForm({Chunk("fmt ", extensible), data}), &frames));
    EXPECT_EQ(frames, 2u);  // 8 bytes of 3-byte frames: the partial frame is left out
    EXPECT_TRUE(messages.empty());

    extensible[24] = 3;  // floating-point sub-format
    EXPECT_FALSE(OpensInBothModes(WaveForm({Chunk("fmt ", extensible), data})));
    EXPECT_NE(Reason().find("floating-point"), std::string::npos);
}

TEST_F(WaveFileBadInputTest, ForeignFormatsAreRefusedWithTheReason)
{
    struct Case {
        Bytes format;
        const char* reason;
    };
    const Case cases[] = {
        {FormatData(3, 1, 8000, 4, 32), "floating-point (format tag 3); only PCM can be read"},
        {FormatData(2, 1, 8000, 256, 4), "Microsoft ADPCM (format tag 2)"},
        {FormatData(1, 3, 8000, 6, 16), "3 channels; only mono and stereo can be read"},
        {FormatData(1, 0, 8000, 2, 16), "0 channels"},
        {FormatData(1, 2, 8000, 5, 16), "block align of 5 bytes does not fit 2 channels"},
        {FormatData(1, 1, 8000, 10, 80), "block align of 10 bytes"},
        {FormatData(1, 2, 8000, 4, 24), "24 bits per sample but stores 2 bytes"},
        {FormatData(1, 1, 0, 2, 16), "sampling rate is 0"},
        {Bytes(10, 1), "format chunk is cut short"},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(OpensInBothModes(WaveForm({Chunk("fmt ", c.format), data}))) << c.reason;
        EXPECT_NE(Reason().find(c.reason), std::string::npos) << c.reason;
    }
}

TEST_F(WaveFileBadInputTest, DamagedFilesFailClearly)
{
    const Bytes good = WaveForm({fmt16, data});

    // Cut inside the header, inside the data, and a data size beyond the file.
    EXPECT_FALSE(OpensInBothModes(Bytes(good.begin(), good.begin() + 30)));
    EXPECT_NE(Reason().find("format chunk is cut short"), std::string::npos);
    EXPECT_FALSE(OpensInBothModes(Bytes(good.begin(), good.end() - 2)));
    EXPECT_NE(Reason().find("data chunk says 8 bytes, but only 6 follow"), std::string::npos);
    EXPECT_FALSE(OpensInBothModes(WaveForm({fmt16, Chunk("data", {1, 0, 2, 0}, 0x7FFFFFFF)})));
    EXPECT_NE(Reason().find("says 2147483647 bytes"), std::string::npos);

    EXPECT_FALSE(OpensInBothModes(Bytes{'R', 'I', 'F', 'F', 4, 0, 0, 0, 'A', 'V', 'I', ' '}));
    EXPECT_NE(Reason().find("not a RIFF WAVE file"), std::string::npos);
    EXPECT_FALSE(OpensInBothModes(WaveForm({data})));
    EXPECT_NE(Reason().find("no format"), std::string::npos);

    // The two cases with messages of their own, and the silent empty file.
    EXPECT_FALSE(OpensInBothModes(WaveForm({fmt16})));
    EXPECT_EQ(messages, (std::vector<std::string>(2, "TWaveFile - invalid wave file data found (DATA section)")));
    messages.clear();
    EXPECT_FALSE(OpensInBothModes(WaveForm({fmt16, Chunk("data", {})})));
    EXPECT_TRUE(messages.empty());

    platform::FailNextAllocations(1);
    Store(Path("big.wav"), good);
    TWaveFile big(Path("big.wav"), TWaveFile::kMemoryMode, false, folder.string());
    EXPECT_TRUE(big.Failed);
    EXPECT_EQ(messages, std::vector<std::string>{"WAVE_DATA_MEMORY"});

    // A file that is not there fails quietly: the caller words that.
    messages.clear();
    TWaveFile missing(Path("missing.wav"), TWaveFile::kStreamMode, true, folder.string());
    EXPECT_TRUE(missing.Failed);
    EXPECT_TRUE(messages.empty());
}

}  // namespace
