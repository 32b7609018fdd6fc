#include "audio/TWaveFile.h"

#include <algorithm>
#include <cstring>

#include "WaveTestSupport.h"
#include "platform/Trace.h"

namespace {

using namespace wavetest;

// The 44-byte header of a PCM file as the format defines it, by hand.
Bytes Header(std::uint16_t channels, std::uint32_t rate, std::uint16_t bytes, std::uint32_t dataBytes)
{
    const auto align = static_cast<std::uint16_t>(channels * bytes);
    return Concat({Text("RIFF"), LE(36 + dataBytes + (dataBytes & 1), 4), Text("WAVEfmt "), LE(16, 4),
                   FormatData(1, channels, rate, align, static_cast<std::uint16_t>(bytes * 8)), Text("data"),
                   LE(dataBytes, 4)});
}

Bytes Packed(const TChannelCalibration& record)
{
    Bytes b(TChannelCalibration::kPackedSize);
    record.Pack(b.data());
    return b;
}

Bytes PackedCalibration(const TWaveFile& file, int channel)
{
    TChannelCalibration record;
    file.GetCalibration(record, channel);
    return Packed(record);
}

// Records with every byte in use, reserved ranges included.
TChannelCalibration Record(int channel, std::uint8_t fill)
{
    TChannelCalibration r = DefaultChannelCalibration(channel);
    r.Reserved1.fill(fill);
    r.Reserved2.fill(static_cast<std::uint8_t>(fill + 1));
    r.RefLevel = 90.0f + fill;
    return r;
}

// The calibration chunk of Record(0, n) and Record(1, n) by hand: the records
// at 260 and 894 of a 2048-byte block, zeros elsewhere.
Bytes CalibrationChunk(std::uint8_t n)
{
    Bytes block(2048);
    std::ranges::copy(Packed(Record(0, n)), block.begin() + 260);
    std::ranges::copy(Packed(Record(1, n)), block.begin() + 894);
    return NumberedChunk(102, block, 2048);
}

class WaveFileTest : public WaveTest {};

TEST_F(WaveFileTest, AMemoryFileWritesTheHeaderAndTheWrittenFramesOnly)
{
    TWaveFile file(10, TWaveFormat(8000, 1, 2), folder.string());
    const Bytes samples = {1, 0, 2, 0, 0xFF, 0xFF, 4, 0};
    ASSERT_TRUE(file.WriteData(samples.data(), samples.size()));
    EXPECT_FALSE(file.Save());  // no name yet
    EXPECT_TRUE(Files(folder).empty());

    file.SetFileName(Path("a.wav"));
    ASSERT_TRUE(file.Save());
    EXPECT_EQ(Load(Path("a.wav")), Concat({Header(1, 8000, 2, 8), samples}));
    EXPECT_FALSE(file.Modified);
    EXPECT_EQ(Files(folder), std::vector<std::string>{"a.wav"});

    // Odd data gets a pad byte that the form counts and the data chunk does not.
    TWaveFile odd(3, TWaveFormat(8000, 1, 1), folder.string());
    ASSERT_TRUE(odd.WriteData(Bytes{1, 2, 3}.data(), 3));
    odd.SetFileName(Path("odd.wav"));
    ASSERT_TRUE(odd.Save());
    EXPECT_EQ(Load(Path("odd.wav")), Concat({Header(1, 8000, 1, 3), {1, 2, 3, 0}}));
    EXPECT_TRUE(messages.empty());
}

TEST_F(WaveFileTest, ANewStreamedFileMovesOntoItsNameAndGrowsInPlace)
{
    const std::filesystem::path temp = folder / "temp";
    std::filesystem::create_directories(temp);
    const Bytes three = {1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 6, 0};
    const Bytes one = {7, 0, 8, 0};
    {
        TWaveFile empty(TWaveFormat(8000, 2, 2), false, temp.string());
        EXPECT_FALSE(empty.Save());  // no name yet
        empty.SetFileName(Path("empty.wav"));
        ASSERT_TRUE(empty.Save());
        EXPECT_EQ(Load(Path("empty.wav")), Header(2, 8000, 2, 0));
    }
    {
        TWaveFile file(TWaveFormat(8000, 2, 2), false, temp.string());
        ASSERT_FALSE(file.Failed);
        ASSERT_EQ(Files(temp).size(), 1u);
        EXPECT_EQ(Files(temp)[0].substr(0, 3), "wav");
        ASSERT_TRUE(file.WriteData(three.data(), three.size()));
        ASSERT_TRUE(file.WriteData(one.data(), one.size()));
        EXPECT_EQ(file.GetNumFrames(), 4u);
        file.SetCalibration(Record(0, 1), Record(1, 1));
        file.SetFileName(Path("s.wav"));
        ASSERT_TRUE(file.Save());
        EXPECT_TRUE(Files(temp).empty());
        EXPECT_EQ(file.GetWorkingFileName(), Path("s.wav"));
        EXPECT_EQ(file.GetPosition(), 4u);
        EXPECT_EQ(Load(Path("s.wav")), Concat({Header(2, 8000, 2, 16), three, one, CalibrationChunk(1)}));

        // Saved under its name, the file is now worked on in place.
        ASSERT_TRUE(file.WriteData(one.data(), one.size()));
        ASSERT_TRUE(file.Save());
        EXPECT_EQ(Load(Path("s.wav")), Concat({Header(2, 8000, 2, 20), three, one, one, CalibrationChunk(1)}));
    }
    EXPECT_TRUE(std::filesystem::exists(Path("s.wav")));
    EXPECT_TRUE(messages.empty());
}

TEST_F(WaveFileTest, AWorkingCopyShieldsTheFileUntilSaved)
{
    const Bytes original =
        Concat({Header(2, 8000, 2, 20), {1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 6, 0, 7, 0, 8, 0, 9, 0, 10, 0}});
    Store(Path("w.wav"), original);
    const std::filesystem::path temp = folder / "temp";
    std::filesystem::create_directories(temp);
    {
        TWaveFile file(Path("w.wav"), TWaveFile::kStreamMode, true, temp.string());
        ASSERT_FALSE(file.Failed);
        EXPECT_NE(file.GetWorkingFileName(), Path("w.wav"));
        EXPECT_EQ(file.GetSample(2, 1, false), 6.0);

        Bytes right(6);
        ASSERT_TRUE(file.ReadSamples(right.data(), 2, 3, 1));
        EXPECT_EQ(right, (Bytes{6, 0, 8, 0, 10, 0}));
        EXPECT_FALSE(file.ReadSamples(right.data(), 3, 3, 1));

        // The last frame reads, and the calibration chunk after it does not.
        Bytes tail(8, 0xEE);
        file.SetPosition(4);
        ASSERT_TRUE(file.ReadData(tail.data(), tail.size()));
        EXPECT_EQ(tail, (Bytes{9, 0, 10, 0, 0, 0, 0, 0}));
        EXPECT_EQ(file.GetPosition(), 5u);

        file.SetPosition(1);
        ASSERT_TRUE(file.WriteData(Bytes{0x11, 0, 0x22, 0}.data(), 4));
        EXPECT_EQ(Load(Path("w.wav")), original);
        ASSERT_TRUE(file.Save());
        EXPECT_EQ(file.GetPosition(), 2u);
    }
    Bytes changed = original;
    changed[48] = 0x11;
    changed[50] = 0x22;
    EXPECT_EQ(Load(Path("w.wav")), changed);
    EXPECT_TRUE(Files(temp).empty());

    // Saved under a new name, the opened file stays as it was.
    TWaveFile file(Path("w.wav"), TWaveFile::kStreamMode, false, folder.string());
    file.SetFileName(Path("copy.wav"));
    ASSERT_TRUE(file.Save());
    EXPECT_EQ(file.GetWorkingFileName(), Path("copy.wav"));
    file.SeekEnd();
    ASSERT_TRUE(file.WriteData(Bytes{3, 0, 4, 0}.data(), 4));
    ASSERT_TRUE(file.Save());
    EXPECT_EQ(Load(Path("w.wav")), changed);
    const Bytes frames(changed.begin() + 44, changed.end());
    EXPECT_EQ(Load(Path("copy.wav")), Concat({Header(2, 8000, 2, 24), frames, {3, 0, 4, 0}}));
}

TEST_F(WaveFileTest, CalibrationChunksOfEveryKindAreRead)
{
    const Bytes form = WaveForm({Chunk("fmt ", FormatData(1, 1, 8000, 2, 16)), Chunk("data", {1, 0})});

    Bytes older(1024);
    older[0] = 1;
    std::strcpy(reinterpret_cast<char*>(&older[4]), "old text");
    const float fields[] = {114.0f, 0.25f, 0.5f, 2.0f, 3.0f};  // level; full scale and ratio left, right
    std::memcpy(&older[264], &fields[0], 4);
    std::memcpy(&older[400], &fields[1], 16);
    older[268] = 1;
    older[272] = 10;
    std::strcpy(reinterpret_cast<char*>(&older[276]), "Pa");
    std::strcpy(reinterpret_cast<char*>(&older[336]), "dB SPL");
    std::memset(&older[424], 'L', 40);  // no terminator in the file
    std::strcpy(reinterpret_cast<char*>(&older[464]), "Hydrophone");

    // Chunk 102 wins over 101, wherever they lie; a zero size field is not believed.
    Bytes newer = CalibrationChunk(4);
    std::fill_n(newer.begin() + 4, 4, 0);
    auto both = Open("both.wav", Concat({form, NumberedChunk(101, older, 1024), newer}));
    ASSERT_EQ(both->HasCalibration, 1);
    EXPECT_EQ(PackedCalibration(*both, 1), Packed(Record(1, 4)));

    auto old = Open("old.wav", Concat({form, NumberedChunk(101, older, 1024)}));
    ASSERT_EQ(old->HasCalibration, 1);
    TWaveCalibration block;
    old->GetCalibrationBlock(block);
    EXPECT_STREQ(reinterpret_cast<const char*>(block.Bytes.data()), "old text");
    TChannelCalibration l, r;
    old->GetCalibration(l, 0);
    old->GetCalibration(r, 1);
    EXPECT_EQ(std::vector<float>({l.RefLevel, r.RefLevel, l.PctFullScale, r.PctFullScale, r.CalRatio,
                                  static_cast<float>(r.RefUnits)}),
              std::vector<float>({114.0f, 114.0f, 0.25f, 0.5f, 3.0f, 10.0f}));
    EXPECT_EQ(std::string(r.LabelLog) + "|" + l.ChannelName + "|" + r.ChannelName,
              "dB SPL|" + std::string(39, 'L') + "|Hydrophone");

    // None, or a zero-size chunk at the very end: no calibration, and no failure.
    for (const Bytes& none : {form, Concat({form, NumberedChunk(102, {}, 0)})}) {
        auto file = Open("none.wav", none);
        EXPECT_FALSE(file->Failed);
        EXPECT_EQ(file->HasCalibration, 0);
        file->GetCalibration(r, 1);
        EXPECT_STREQ(r.ChannelName, "Right");
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(WaveFileTest, AnAccelerometersSensitivityCalibratesBothChannels)
{
    const Bytes fmt = Chunk("fmt ", FormatData(1, 2, 8000, 4, 16));
    const Bytes data = Chunk("data", {0, 0, 0, 0});
    auto foreign = [&](const std::string& text) {
        return Open("f.wav", WaveForm({fmt, Chunk("CAL1", Bytes(text.begin(), text.end())), data}));
    };
    // The sensitivities sit at offsets 25 and 30 from the marker.
    const std::string lead = "MB63   sn 4711 mV/(m/s2):";
    ASSERT_EQ(lead.size(), 25u);
    std::vector<std::string> traced;
    platform::SetTraceHook([&](const std::string& text) { traced.push_back(text); });
    auto file = foreign(lead + "01000" + "02000" + " end of record");
    platform::SetTraceHook({});
    EXPECT_EQ(traced, std::vector<std::string>{lead + "0100002000 end of record\n"});
    ASSERT_EQ(file->HasCalibration, 1);
    TChannelCalibration left, right;
    file->GetCalibration(left, 0);
    file->GetCalibration(right, 1);
    EXPECT_FLOAT_EQ(left.PctFullScale, static_cast<float>(1.4142135 / ((8388608.0 / 1000) / 9.80665)));
    EXPECT_FLOAT_EQ(right.PctFullScale, static_cast<float>(1.4142135 / ((8388608.0 / 2000) / 9.80665)));
    EXPECT_EQ(std::string(right.LabelLinear) + "|" + right.LabelLog + "|" + std::to_string(right.RefUnits) + "|"
                  + std::to_string(right.RefLevel) + "|" + std::to_string(right.IsEnabled),
              "Acceleration (G) rms|Acceleration (G dB) rms|3|1.000000|1");

    EXPECT_EQ(foreign(lead + "00999" + "02000" + " end of record")->HasCalibration, 0);
    // 35 characters from the marker are one too few.
    EXPECT_EQ(foreign("0123456789" + lead + "01000" + "02000")->HasCalibration, 0);

    // A size field far beyond the file is capped, not believed.
    auto capped = Open("h.wav", WaveForm({fmt, data, Chunk("CAL1", Bytes(50, 'x'), 0xFFFFFFF0u)}));
    EXPECT_FALSE(capped->Failed);
    EXPECT_EQ(capped->HasCalibration, 0);
}

TEST_F(WaveFileTest, AChangedCalibrationReachesTheSavedFileEachTime)
{
    // A file without frames takes the calibration but is not marked changed.
    TWaveFile empty(0, TWaveFormat(), folder.string());
    empty.Modified = 0;
    empty.SetCalibration(Record(0, 1), Record(1, 1));
    EXPECT_EQ(empty.HasCalibration, 1);
    EXPECT_EQ(empty.CalibrationChanged, 0);
    EXPECT_FALSE(empty.Modified);

    // The chunk follows the form, which does not count it, and reads back exactly.
    TWaveFile source(2, TWaveFormat(44100, 2, 2), folder.string());
    const Bytes samples = {1, 0, 2, 0, 3, 0, 4, 0};
    source.WriteData(samples.data(), samples.size());
    source.SetCalibration(Record(0, 7), Record(1, 7));
    source.SetFileName(Path("c.wav"));
    ASSERT_TRUE(source.Save());
    EXPECT_EQ(Load(Path("c.wav")), Concat({Header(2, 44100, 2, 8), samples, CalibrationChunk(7)}));
    for (std::uint16_t mode : {TWaveFile::kMemoryMode, TWaveFile::kStreamMode}) {
        TWaveFile reopened(Path("c.wav"), mode, false, folder.string());
        EXPECT_EQ(reopened.HasCalibration, 1);
        EXPECT_EQ(Concat({PackedCalibration(reopened, 0), PackedCalibration(reopened, 1)}),
                  Concat({Packed(Record(0, 7)), Packed(Record(1, 7))}));
        EXPECT_EQ(reopened.GetSample(1, 1, false), 4.0);
    }

    TWaveFile file(Path("c.wav"), TWaveFile::kStreamMode, true, folder.string());
    ASSERT_FALSE(file.Failed);
    file.Modified = 0;
    for (std::uint8_t n : {2, 3}) {
        file.SetCalibration(Record(0, n), Record(1, n));
        EXPECT_EQ(file.CalibrationChanged, 1);
        EXPECT_TRUE(file.Modified);
        ASSERT_TRUE(file.Save());
        EXPECT_EQ(Load(Path("c.wav")), Concat({Header(2, 44100, 2, 8), samples, CalibrationChunk(n)}));
    }
}

}  // namespace
