// The random stream against the C runtime's generator; white noise against
// its numbers and a flat spectrum; pink noise against the recording's own
// bytes and a −3 dB/octave slope.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

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
