// Wave files: writing, reading, the calibration chunks, refusing bad input,
// saving safely, and interoperability with an independent implementation:
// sox must read the files we write, and we must read the files sox writes,
// sample for sample.

#include "audio/TWaveFile.h"
#include "platform/MessageBox.h"
#include "platform/RiffFile.h"
#include "platform/Trace.h"
#include "platform/ZeroFilledArray.h"
#include "tests/support/PlatformTestSupport.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#ifndef TALVENOR_SOX
#define TALVENOR_SOX ""
#endif

namespace {

using Bytes = std::vector<std::uint8_t>;

inline Bytes Concat(const std::vector<Bytes>& parts)
{
    Bytes all;
    for (const Bytes& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

// A little-endian field of `width` bytes; text without its terminator.
inline Bytes LE(std::uint32_t v, int width)
{
    Bytes b;
    for (int i = 0; i < width; ++i)
        b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    return b;
}
inline Bytes Text(const char* text) { return Bytes(text, text + std::strlen(text)); }

// A chunk with a four-letter id, padded to an even length; the size field
// says the data's size unless told otherwise.
inline Bytes Chunk(const char* id, const Bytes& data, std::optional<std::uint32_t> sizeField = {})
{
    Bytes b = Concat({Text(id), LE(sizeField.value_or(static_cast<std::uint32_t>(data.size())), 4), data});
    if (data.size() % 2 != 0)
        b.push_back(0);
    return b;
}

// A chunk whose id is a number, as the calibration chunks have.
inline Bytes NumberedChunk(std::uint32_t id, const Bytes& data, std::uint32_t sizeField)
{
    return Concat({LE(id, 4), LE(sizeField, 4), data});
}

inline Bytes FormatData(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t blockAlign,
                        std::uint16_t bits)
{
    return Concat({LE(tag, 2), LE(channels, 2), LE(rate, 4), LE(rate * blockAlign, 4), LE(blockAlign, 2), LE(bits, 2)});
}

// "RIFF" form of type "WAVE" around the given chunks.
inline Bytes WaveForm(const std::vector<Bytes>& chunks)
{
    return Chunk("RIFF", Concat({Text("WAVE"), Concat(chunks)}));
}

class WaveFileTest : public TempFolderTest {
protected:
    void TearDown() override
    {
        platform::SimulateDiskFull(-1);
        platform::FailNextAllocations(0);
        std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
    }

    // The path in double quotes, as messages name a file. Appended rather
    // than "\"" + path: that trips a false -Wrestrict in GCC 12 at -O3.
    std::string QuotedPath(const std::string& name) const
    {
        std::string quoted(1, '"');
        quoted.append(Path(name)).push_back('"');
        return quoted;
    }

    static Bytes Load(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }
    static void Store(const std::string& path, const Bytes& bytes)
    {
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    // Opens a file of these bytes under this name.
    std::unique_ptr<TWaveFile> Open(const std::string& name, const Bytes& bytes,
                                    std::uint16_t mode = TWaveFile::kMemoryMode)
    {
        Store(Path(name), bytes);
        return std::make_unique<TWaveFile>(Path(name), mode, false, folder.string());
    }

    // Names in the folder, e.g. to spot a temporary file left behind.
    static std::vector<std::string> Files(const std::filesystem::path& where)
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(where))
            names.push_back(entry.path().filename().string());
        return names;
    }

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

    // WAVE_FORMAT_EXTENSIBLE, 24-bit mono, of a sub-format (1: PCM, 3: floating point).
    static Bytes Extensible(std::uint8_t subFormat)
    {
        return Concat({FormatData(0xFFFE, 1, 8000, 3, 24), LE(22, 2), LE(24, 2), LE(4, 4),
                       {subFormat, 0, 0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71}});
    }

    MessageLog log;
    std::vector<std::string>& messages = log.texts;
};

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

TEST_F(WaveFileTest, AMemoryFileWritesTheHeaderTheWrittenFramesAndEachChangedCalibration)
{
    TWaveFile file(10, TWaveFormat(44100, 2, 2), folder.string());
    const Bytes samples = {1, 0, 2, 0, 0xFF, 0xFF, 4, 0};
    ASSERT_TRUE(file.WriteData(samples.data(), samples.size()));
    EXPECT_FALSE(file.Save());  // no name yet
    EXPECT_TRUE(Files(folder).empty());
    file.SetFileName(Path("c.wav"));
    ASSERT_TRUE(file.Save());
    EXPECT_EQ(Load(Path("c.wav")), Concat({Header(2, 44100, 2, 8), samples}));
    EXPECT_FALSE(file.Modified);
    EXPECT_EQ(Files(folder), std::vector<std::string>{"c.wav"});

    // The chunk follows the form, which does not count it, and reads back exactly.
    file.SetCalibration(Record(0, 7), Record(1, 7));
    ASSERT_TRUE(file.Save());
    EXPECT_EQ(Load(Path("c.wav")), Concat({Header(2, 44100, 2, 8), samples, CalibrationChunk(7)}));
    for (std::uint16_t mode : {TWaveFile::kMemoryMode, TWaveFile::kStreamMode}) {
        TWaveFile reopened(Path("c.wav"), mode, false, folder.string());
        EXPECT_EQ(reopened.HasCalibration, 1);
        EXPECT_EQ(Concat({PackedCalibration(reopened, 0), PackedCalibration(reopened, 1)}),
                  Concat({Packed(Record(0, 7)), Packed(Record(1, 7))}));
        EXPECT_EQ(reopened.GetSample(1, 1, false), 4.0);
    }
    TWaveFile copy(Path("c.wav"), TWaveFile::kStreamMode, true, folder.string());
    ASSERT_FALSE(copy.Failed);
    copy.Modified = 0;
    for (std::uint8_t n : {2, 3}) {
        copy.SetCalibration(Record(0, n), Record(1, n));
        EXPECT_EQ(copy.CalibrationChanged, 1);
        EXPECT_TRUE(copy.Modified);
        ASSERT_TRUE(copy.Save());
        EXPECT_EQ(Load(Path("c.wav")), Concat({Header(2, 44100, 2, 8), samples, CalibrationChunk(n)}));
    }

    // A file without frames takes the calibration but is not marked changed.
    TWaveFile empty(0, TWaveFormat(), folder.string());
    empty.Modified = 0;
    empty.SetCalibration(Record(0, 1), Record(1, 1));
    EXPECT_EQ(empty.HasCalibration, 1);
    EXPECT_EQ(empty.CalibrationChanged, 0);
    EXPECT_FALSE(empty.Modified);

    // Odd data gets a pad byte that the form counts and the data chunk does not.
    TWaveFile odd(3, TWaveFormat(8000, 1, 1), folder.string());
    ASSERT_TRUE(odd.WriteData(Bytes{1, 2, 3}.data(), 3));
    odd.SetFileName(Path("odd.wav"));
    ASSERT_TRUE(odd.Save());
    EXPECT_EQ(Load(Path("odd.wav")), Concat({Header(1, 8000, 1, 3), {1, 2, 3, 0}}));
    EXPECT_TRUE(messages.empty());
}

TEST_F(WaveFileTest, ANewStreamedFileMovesOntoItsNameAndAWorkingCopyShieldsTheFileUntilSaved)
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

    const Bytes original =
        Concat({Header(2, 8000, 2, 20), {1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 6, 0, 7, 0, 8, 0, 9, 0, 10, 0}});
    Store(Path("w.wav"), original);
    // A working copy shields the file until saved.
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

TEST_F(WaveFileTest, CalibrationChunksOfEveryKindAndAnAccelerometersSensitivityAreRead)
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
    EXPECT_EQ(std::string(l.LabelLinear) + "|" + r.LabelLog + "|" + l.ChannelName + "|" + r.ChannelName,
              "Pa|dB SPL|" + std::string(39, 'L') + "|Hydrophone");

    // None, or a zero-size chunk at the very end: no calibration, and no failure.
    for (const Bytes& none : {form, Concat({form, NumberedChunk(102, {}, 0)})}) {
        auto file = Open("none.wav", none);
        EXPECT_FALSE(file->Failed);
        EXPECT_EQ(file->HasCalibration, 0);
        file->GetCalibration(r, 1);
        EXPECT_STREQ(r.ChannelName, "Right");
    }
    EXPECT_TRUE(messages.empty());

    // An accelerometer's sensitivity calibrates both channels.
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


TEST_F(WaveFileTest, OtherChunksAreSkippedForeignFormatsAndDamagedFilesRefusedWithTheReason)
{
    const Bytes fmt16 = Chunk("fmt ", FormatData(1, 2, 8000, 4, 16));
    const Bytes data = Chunk("data", {1, 0, 2, 0, 3, 0, 4, 0});
    std::uint64_t frames = 0;
    const Bytes list = Chunk("LIST", Concat({Text("INFOINAM"), LE(3, 4), Text("abc"), {0}}));
    EXPECT_TRUE(OpensInBothModes(WaveForm({fmt16, list, Chunk("odd ", {1, 2, 3}), data}), &frames));
    EXPECT_EQ(frames, 2u);

    // Extensible PCM, as sox writes 24-bit files.
    EXPECT_TRUE(OpensInBothModes(WaveForm({Chunk("fmt ", Extensible(1)), data}), &frames));
    EXPECT_EQ(frames, 2u);  // 8 bytes of 3-byte frames: the partial frame is left out
    EXPECT_TRUE(messages.empty());

    const auto withFormat = [&](const Bytes& format) { return WaveForm({Chunk("fmt ", format), data}); };
    const Bytes good = WaveForm({fmt16, data});
    struct Case {
        Bytes file;
        const char* reason;
    };
    const Case cases[] = {
        {withFormat(FormatData(3, 1, 8000, 4, 32)), "floating-point (format tag 3); only PCM can be read"},
        {withFormat(Extensible(3)), "floating-point"},
        {withFormat([] {
             Bytes format = Extensible(1);
             format.back() ^= 0xFF;  // not the sub-format GUID of a format tag
             return format;
         }()),
         "unknown encoding"},
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
    // Both opens show the one message, which names the file.
    for (const Case& c : cases) {
        EXPECT_FALSE(OpensInBothModes(c.file)) << c.reason;
        ASSERT_EQ(messages.size(), 2u) << c.reason;
        EXPECT_EQ(messages.front(), messages.back());
        EXPECT_NE(messages.front().find(c.reason), std::string::npos) << messages.front();
        EXPECT_NE(messages.front().find(QuotedPath("in.wav")), std::string::npos) << messages.front();
        messages.clear();
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

// The old file stays whole wherever the disk fills: saving a memory file, a
// streamed file, or rewriting a working copy.
TEST_F(WaveFileTest, AFullDiskAtAnyPointOfASaveLeavesTheOldFile)
{
    const Bytes original = WaveForm({Chunk("fmt ", FormatData(1, 1, 8000, 2, 16)), Chunk("data", {9, 0, 9, 0})});
    Store(Path("keep.wav"), original);
    const auto calibrate = [&](TWaveFile& file) {
        file.SetCalibration(DefaultChannelCalibration(0), DefaultChannelCalibration(1));
        file.SetFileName(Path("keep.wav"));
    };
    // Enough frames for several copy chunks.
    TWaveFile file(10000, TWaveFormat(8000, 1, 2), folder.string());
    for (std::uint64_t f = 0; f < 10000; ++f)
        file.PutSample(static_cast<std::int32_t>(f), f, 0);
    calibrate(file);
    // Space for the header, for part of the samples, and for everything but
    // (part of) the calibration chunk.
    for (std::int64_t space : {0, 40, 44, 3000, 20044, 20052, 21000}) {
        platform::SimulateDiskFull(space);
        EXPECT_FALSE(file.Save()) << space;
        EXPECT_EQ(Load(Path("keep.wav")), original) << space;
        EXPECT_EQ(Files(folder), std::vector<std::string>{"keep.wav"}) << space;
        EXPECT_TRUE(file.Modified);
        EXPECT_EQ(file.HasCalibration, 1);
    }
    EXPECT_FALSE(messages.empty());
    EXPECT_NE(messages.back().find(QuotedPath("keep.wav")), std::string::npos) << messages.back();
    messages.clear();
    platform::SimulateDiskFull(-1);
    {
        TWaveFile streamed(TWaveFormat(8000, 1, 2), false, folder.string());
        ASSERT_TRUE(streamed.WriteData(Bytes{1, 0, 2, 0, 3, 0}.data(), 6));
        calibrate(streamed);
        // Room for the sizes but not for the calibration chunk.
        platform::SimulateDiskFull(100);
        EXPECT_FALSE(streamed.Save());
        EXPECT_EQ(messages, std::vector<std::string>{"Error writing Calibration data to wave file"});
        EXPECT_EQ(streamed.HasCalibration, 1);
        EXPECT_EQ(Load(Path("keep.wav")), original);
        EXPECT_EQ(streamed.GetNumFrames(), 3u);
        platform::SimulateDiskFull(-1);
        ASSERT_TRUE(streamed.Save());
        EXPECT_EQ(Load(Path("keep.wav")).size(), 44u + 6 + 2056);
    }
    ASSERT_TRUE(file.Save());
    const Bytes saved = Load(Path("keep.wav"));
    EXPECT_EQ(saved.size(), 44u + 20000 + 2056);

    TWaveFile copy(Path("keep.wav"), TWaveFile::kStreamMode, true, folder.string());
    ASSERT_FALSE(copy.Failed);
    copy.SetCalibration(DefaultChannelCalibration(1), DefaultChannelCalibration(0));
    // The tail of the working copy fits; the rewritten copy runs out midway.
    messages.clear();
    platform::SimulateDiskFull(2056 + 8192);
    EXPECT_FALSE(copy.Save());
    EXPECT_EQ(Load(Path("keep.wav")), saved);
    EXPECT_EQ(copy.CalibrationChanged, 1);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("failure saving"), std::string::npos) << messages[0];
    EXPECT_EQ(Files(folder).size(), 2u);  // the file and the working copy, no half-made rewrite
    platform::SimulateDiskFull(-1);
    EXPECT_TRUE(copy.Save());
    EXPECT_NE(Load(Path("keep.wav")), saved);
}

// Runs sox with the arguments; its standard output, or "failed".
std::string Sox(const std::string& arguments)
{
    const std::string command = std::string(TALVENOR_SOX) + " " + arguments + " 2>&1";
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
        return "failed";
    std::string output;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr)
        output += buffer;
    return ::pclose(pipe) == 0 ? output : "failed: " + output;
}

struct Layout {
    std::uint16_t channels;
    std::uint16_t bytes;
};
constexpr Layout kLayouts[] = {{1, 1}, {2, 1}, {1, 2}, {2, 2}, {1, 3}, {2, 3}, {1, 4}, {2, 4}};

// Sox reads the file we write, and writes the copy we read back, sample for sample.
TEST_F(WaveFileTest, SoxAndWeReadEachOthersFiles)
{
    if (std::string(TALVENOR_SOX).empty())
        GTEST_SKIP() << "sox is not installed";
    const auto quote = [](const std::string& path) { return "'" + path + "'"; };
    std::mt19937 generator(1);
    constexpr std::uint64_t kFrames = 1001;  // odd, so 8-bit mono needs a pad byte
    for (const Layout& layout : kLayouts) {
        SCOPED_TRACE(testing::Message() << layout.channels << " channels, " << layout.bytes << " bytes");
        const TWaveFormat format(22050, layout.channels, layout.bytes);
        TWaveFile file(kFrames, format, folder.string());
        Bytes samples(file.FramesToBytes(kFrames));
        std::ranges::generate(samples, [&] { return static_cast<std::uint8_t>(generator()); });
        file.WriteData(samples.data(), samples.size());
        file.SetCalibration(DefaultChannelCalibration(0), DefaultChannelCalibration(1));
        file.SetFileName(Path("ours.wav"));
        ASSERT_TRUE(file.Save());

        const std::string ours = quote(Path("ours.wav"));
        EXPECT_EQ(Sox("--i -r " + ours) + Sox("--i -c " + ours) + Sox("--i -b " + ours) + Sox("--i -s " + ours),
                  "22050\n" + std::to_string(layout.channels) + "\n" + std::to_string(layout.bytes * 8) + "\n"
                      + std::to_string(kFrames) + "\n");
        ASSERT_EQ(Sox(ours + " -t raw " + quote(Path("back.raw"))), "");
        EXPECT_EQ(Load(Path("back.raw")), samples);
        ASSERT_EQ(Sox(ours + " " + quote(Path("sox.wav"))), "");

        // The value of the last sample, decoded by hand from the bytes.
        const std::uint8_t* last = samples.data() + samples.size() - layout.bytes;
        std::int64_t value = 0;
        for (int i = layout.bytes - 1; i >= 0; --i)
            value = value * 256 + last[i];
        if (layout.bytes > 1 && (last[layout.bytes - 1] & 0x80))
            value -= std::int64_t{1} << (8 * layout.bytes);
        for (std::uint16_t mode : {TWaveFile::kMemoryMode, TWaveFile::kStreamMode}) {
            TWaveFile theirs(Path("sox.wav"), mode, false, folder.string());
            ASSERT_FALSE(theirs.Failed);
            EXPECT_EQ(theirs.GetFormat(), format);
            Bytes frames(samples.size());
            ASSERT_TRUE(theirs.ReadSamples(frames.data(), 0, kFrames, TWaveData::kAllChannels));
            EXPECT_EQ(frames, samples);
            EXPECT_EQ(theirs.GetSample(kFrames - 1, layout.channels - 1, false), static_cast<double>(value));
        }
    }
    EXPECT_TRUE(messages.empty());
}

}  // namespace
