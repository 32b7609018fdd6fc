// Interoperability with an independent implementation: sox must read the
// files we write, and we must read the files sox writes, sample for sample.

#include "audio/TWaveFile.h"

#include <algorithm>
#include <cstdio>
#include <random>

#include "WaveTestSupport.h"

#ifndef TALVENOR_SOX
#define TALVENOR_SOX ""
#endif

namespace {

using namespace wavetest;

class WaveFileSoxTest : public WaveTest {
protected:
    void SetUp() override
    {
        WaveTest::SetUp();
        if (std::string(TALVENOR_SOX).empty())
            GTEST_SKIP() << "sox is not installed";
    }

    static std::string Quote(const std::string& path) { return "'" + path + "'"; }

    // Runs sox with the arguments; its standard output, or "failed".
    static std::string Sox(const std::string& arguments)
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

    static Bytes RandomBytes(std::size_t count, unsigned seed)
    {
        std::mt19937 generator(seed);
        Bytes bytes(count);
        std::ranges::generate(bytes, [&] { return static_cast<std::uint8_t>(generator()); });
        return bytes;
    }
};

struct Layout {
    std::uint16_t channels;
    std::uint16_t bytes;
};
constexpr Layout kLayouts[] = {{1, 1}, {2, 1}, {1, 2}, {2, 2}, {1, 3}, {2, 3}, {1, 4}, {2, 4}};

TEST_F(WaveFileSoxTest, SoxReadsTheFilesWeWrite)
{
    constexpr std::uint64_t kFrames = 1001;  // odd, so 8-bit mono needs a pad byte
    for (const Layout& layout : kLayouts) {
        SCOPED_TRACE(testing::Message() << layout.channels << " channels, " << layout.bytes << " bytes");
        TWaveFile file(kFrames, TWaveFormat(22050, layout.channels, layout.bytes), folder.string());
        const Bytes samples = RandomBytes(file.FramesToBytes(kFrames), layout.bytes);
        file.WriteData(samples.data(), samples.size());
        file.SetCalibration(DefaultChannelCalibration(0), DefaultChannelCalibration(1));
        file.SetFileName(Path("ours.wav"));
        ASSERT_TRUE(file.Save());

        const std::string ours = Quote(Path("ours.wav"));
        EXPECT_EQ(Sox("--i -r " + ours) + Sox("--i -c " + ours) + Sox("--i -b " + ours) + Sox("--i -s " + ours),
                  "22050\n" + std::to_string(layout.channels) + "\n" + std::to_string(layout.bytes * 8) + "\n"
                      + std::to_string(kFrames) + "\n");
        ASSERT_EQ(Sox(ours + " -t raw " + Quote(Path("back.raw"))), "");
        EXPECT_EQ(Load(Path("back.raw")), samples);
    }
}

TEST_F(WaveFileSoxTest, WeReadTheFilesSoxWrites)
{
    constexpr std::uint64_t kFrames = 777;
    for (const Layout& layout : kLayouts) {
        SCOPED_TRACE(testing::Message() << layout.channels << " channels, " << layout.bytes << " bytes");
        const std::size_t frameBytes = std::size_t{layout.channels} * layout.bytes;
        const Bytes raw = RandomBytes(kFrames * frameBytes, 100 + layout.bytes);
        Store(Path("in.raw"), raw);
        const std::string encoding = layout.bytes == 1 ? "unsigned" : "signed";
        ASSERT_EQ(Sox("-t raw -r 16000 -e " + encoding + " -b " + std::to_string(layout.bytes * 8) + " -c "
                      + std::to_string(layout.channels) + " " + Quote(Path("in.raw")) + " " + Quote(Path("sox.wav"))),
                  "");

        TWaveFile memory(Path("sox.wav"), TWaveFile::kMemoryMode, false, folder.string());
        ASSERT_FALSE(memory.Failed);
        EXPECT_EQ(memory.GetFormat(), TWaveFormat(16000, layout.channels, layout.bytes));
        ASSERT_EQ(memory.GetNumFrames(), kFrames);
        EXPECT_EQ(Bytes(memory.GetBuffer(), memory.GetBuffer() + raw.size()), raw);

        TWaveFile streamed(Path("sox.wav"), TWaveFile::kStreamMode, false, folder.string());
        ASSERT_FALSE(streamed.Failed);
        Bytes frames(raw.size());
        ASSERT_TRUE(streamed.ReadSamples(frames.data(), 0, kFrames, TWaveData::kAllChannels));
        EXPECT_EQ(frames, raw);

        // The value of the last sample, decoded by hand from the raw bytes.
        const std::uint8_t* last = raw.data() + raw.size() - layout.bytes;
        std::int64_t value = 0;
        for (int i = layout.bytes - 1; i >= 0; --i)
            value = value * 256 + last[i];
        if (layout.bytes > 1 && (last[layout.bytes - 1] & 0x80))
            value -= std::int64_t{1} << (8 * layout.bytes);
        const int channel = layout.channels - 1;
        EXPECT_EQ(memory.GetSample(kFrames - 1, channel, false), static_cast<double>(value));
        EXPECT_EQ(streamed.GetSample(kFrames - 1, channel, false), static_cast<double>(value));
    }
    EXPECT_TRUE(messages.empty());
}

}  // namespace
