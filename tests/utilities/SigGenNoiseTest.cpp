// The random stream against the C runtime's generator; white noise against
// its numbers and a flat spectrum; pink noise against the recording's own
// bytes and a −3 dB/octave slope.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "tests/support/PlatformTestSupport.h"
#include "tests/utilities/SigGenTestSupport.h"
#include "utilities/siggen/TPinkWave.h"
#include "utilities/siggen/TSigGenRandom.h"

using namespace siggen_test;

TEST(SigGenRandom, DitherIsTriangularOverOneStepEachSide)
{
    TSigGenRandom random;
    std::vector<double> d(200000);
    for (double& v : d)
        v = random.TpdfDither();
    const auto [low, high] = std::minmax_element(d.begin(), d.end());
    EXPECT_EQ(std::pair(*low >= -1.0, *high <= 1.0), std::pair(true, true));
    // The sum of two uniform values: mean 0, variance 1/6 (a uniform one
    // over the same span would have 1/3).
    EXPECT_NEAR(Mean(d), 0.0, 0.005);
    EXPECT_NEAR(std::inner_product(d.begin(), d.end(), d.begin(), 0.0) / d.size(), 1.0 / 6.0, 0.003);
}

TEST(SigGenNoise, WhiteNoiseIsTheRandomStreamAtHalfScaleAndFlat)
{
    const std::vector<double> x = Samples(Request(kSigWhiteNoise));
    // The C runtime generator's first draws from state one, 41 and 18467:
    // trunc(0.5 × (2r − 32768) × 32767 / 32768).
    EXPECT_EQ(At(x, {0, 1}), (std::vector{-16342.0, 2082.0}));

    // Mean power per line in each octave from 93.75 Hz to 24 kHz.
    const Spectrum s(x, 48000, 2, 8192);
    const double reference = s.MeanLineDb(100, 23000);
    for (double f = 93.75; f < 12000; f *= 2)
        EXPECT_NEAR(s.MeanLineDb(f, 2 * f), reference, 1.0) << f << " Hz";
}

TEST(SigGenNoise, PinkNoiseFallsThreeDecibelsAnOctaveAndLoopsOverTheDataChunkOnly)
{
    ASSERT_TRUE(PinkWave()->IsLoaded());
    const std::vector<double> x = Samples(Request(kSigPinkNoise));
    const Spectrum s(x, 48000, 2, 8192);
    // Octaves down from 10 kHz to 39 Hz; line density halves each octave.
    const double top = s.MeanLineDb(5000, 10000);
    int k = 0;
    for (double f = 5000; f > 39; f /= 2, ++k)
        EXPECT_NEAR(s.MeanLineDb(f, 2 * f) - top, 3.0103 * k, 0.5) << f << " Hz";
    // The recording's level: 15.1 dB below full scale (RMS).
    EXPECT_NEAR(RmsDb(x, 32767), -15.1, 0.05);

    // It loops over the data chunk only. The file's own words from byte 88, read here without the generator.
    const auto places = TPinkWave::DefaultLocations();
    std::ifstream in(places.back(), std::ios::binary);
    const std::vector<std::uint8_t> file{std::istreambuf_iterator<char>(in), {}};
    ASSERT_GT(file.size(), 88u);
    const std::uint64_t dataEnd = 44 + (file[40] | file[41] << 8 | file[42] << 16 | std::uint64_t(file[43]) << 24);
    ASSERT_LT(dataEnd, file.size()) << "the recording carries padding after its data";
    const auto word = [&](std::uint64_t j) {
        return double(std::int16_t(file[88 + 2 * j] | file[89 + 2 * j] << 8));
    };
    const std::uint64_t K = ((dataEnd - 88) / 2) & ~std::uint64_t{1};

    // Against a longer right channel the loop wraps to byte 88 after K words.
    TSigGenBuildRequest r = Request(kSigPinkNoise, 44100, 2, 2);
    r.Channel[1].SigType = kSigWhiteNoise;
    const std::vector<double> y = Samples(r);
    ASSERT_EQ(y.size(), 60u * 44100u);
    EXPECT_EQ(At(y, {0, 1, K - 1}), (std::vector{word(0), word(1), word(K - 1)}));
    for (std::uint64_t j = 0; j < 200; ++j)
        ASSERT_EQ(y[K + j], word(j)) << j;

    EXPECT_EQ(Build(Request(kSigPinkNoise, 96000)).Wave->GetNumFrames(), K);
}

TEST(SigGenNoise, BurstsAreSilentThenNoiseThatRanOnThroughTheSilence)
{
    TSigGenBuildRequest r = Request(kSigNoiseBurst);
    r.Channel[0].NoiseBurst = {0, 1000, 2000}; // white
    const std::vector<double> burst = Samples(r);
    ASSERT_EQ(burst.size(), 96000u);
    EXPECT_EQ(CountOf(burst, 0, 48000, 0.0), 48000);
    EXPECT_EQ(Slice(burst, 48000, 48000), Slice(Samples(Request(kSigWhiteNoise)), 48000, 48000));

    r.Channel[0].NoiseBurst.Type = 1; // pink
    const std::vector<double> pinkBurst = Samples(r);
    EXPECT_EQ(pinkBurst[47999], 0.0);
    EXPECT_EQ(Slice(pinkBurst, 48000, 48000), Slice(Samples(Request(kSigPinkNoise)), 48000, 48000));

    r.Channel[0].NoiseBurst.Type = 2; // no such noise: silence
    EXPECT_EQ(Mean(Samples(r)), 0.0);
}

namespace {

void Put16(std::string& b, std::size_t at, std::uint16_t v)
{
    b[at] = static_cast<char>(v & 0xFF);
    b[at + 1] = static_cast<char>(v >> 8);
}

void Put32(std::string& b, std::size_t at, std::uint32_t v)
{
    Put16(b, at, static_cast<std::uint16_t>(v & 0xFFFF));
    Put16(b, at + 2, static_cast<std::uint16_t>(v >> 16));
}

// A 44-byte header, PCM mono 16-bit, whose data chunk says `dataBytes`,
// followed by `samples` samples numbered 0, 1, 2, ... from byte 44.
std::string PinkImage(std::uint32_t dataBytes, std::size_t samples)
{
    std::string b(44 + 2 * samples, '\0');
    b.replace(0, 4, "RIFF");
    Put32(b, 4, static_cast<std::uint32_t>(b.size() - 8));
    b.replace(8, 8, "WAVEfmt ");
    Put32(b, 16, 16);
    Put16(b, 20, 1);
    Put16(b, 22, 1);
    Put32(b, 24, 48000);
    Put32(b, 28, 96000);
    Put16(b, 32, 2);
    Put16(b, 34, 16);
    b.replace(36, 4, "data");
    Put32(b, 40, dataBytes);
    for (std::size_t j = 0; j < samples; ++j)
        Put16(b, 44 + 2 * j, static_cast<std::uint16_t>(j));
    return b;
}

} // namespace

// The loop starts at byte 88 (sample 22) and ends at the data chunk's end
// or the file's, whichever comes first, rounded down to an even count.
TEST(SigGenNoise, ThePinkRecordingLoadsOnlyAsAMono16BitWaveAndLoopsFromByte88ToItsDataEnd)
{
    TempFolder folder;
    const auto changed = [](std::string b, std::size_t at, std::uint16_t v) {
        Put16(b, at, v);
        return b;
    };
    std::string riff = PinkImage(100, 50);
    riff[3] = 'X';
    const struct {
        const char* name;
        std::string bytes;
        std::uint64_t words;  // 0: refused
    } cases[] = {
        {"data to byte 144", PinkImage(100, 50), 28},
        {"odd count rounded down", PinkImage(102, 51), 28},
        {"padding after the chunk is left out", PinkImage(100, 80), 28},
        {"a chunk longer than the file ends at the file", PinkImage(1000, 50), 28},
        {"shortest loop", PinkImage(48, 30), 2},
        {"one word is no loop", PinkImage(46, 30), 0},
        {"data ending at the loop", PinkImage(44, 50), 0},
        {"header only", PinkImage(0, 0), 0},
        {"cut header", PinkImage(100, 50).substr(0, 43), 0},
        {"not RIFF", riff, 0},
        {"stereo", changed(PinkImage(100, 50), 22, 2), 0},
        {"8-bit", changed(PinkImage(100, 50), 34, 8), 0},
        {"not PCM", changed(PinkImage(100, 50), 20, 3), 0},
        {"longer fmt chunk", changed(PinkImage(100, 50), 16, 18), 0},
    };
    for (const auto& c : cases) {
        const std::string path = folder.Path("pink.wav");
        WriteText(path, c.bytes);
        TPinkWave wave;
        EXPECT_EQ(wave.Load(path), c.words != 0) << c.name;
        EXPECT_EQ(wave.GetLoopWords(), c.words) << c.name;
        EXPECT_EQ(wave.IsLoaded(), c.words != 0) << c.name;
        if (c.words != 0) {
            EXPECT_EQ(wave.GetWord(0), 22) << c.name;
            EXPECT_EQ(wave.GetWord(c.words - 1), std::int16_t(21 + c.words)) << c.name;
        }
    }

    // A failed load drops what an earlier one held; a missing file loads nothing.
    TPinkWave wave;
    WriteText(folder.Path("good.wav"), PinkImage(100, 50));
    ASSERT_TRUE(wave.Load(folder.Path("good.wav")));
    EXPECT_FALSE(wave.Load(folder.Path("missing.wav")));
    EXPECT_FALSE(wave.IsLoaded());
}
