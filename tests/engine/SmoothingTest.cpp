#include "engine/TSmoothing.h"

#include "tests/support/PlatformTestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <tuple>
#include <vector>

using namespace smoothing;

namespace {

using Doubles = std::vector<double>;
Doubles Table(std::uint32_t n, std::uint16_t type, std::uint16_t mode = None)
{
    const TSmoothing window(n, type, mode);
    return {window.Coefficients(), window.Coefficients() + n};
}

double Mean(const Doubles& w, double power = 1)
{
    double sum = 0;
    for (double v : w)
        sum += std::pow(v, power);
    return sum / w.size();
}

double Enbw(const Doubles& w) { return Mean(w, 2) / (Mean(w) * Mean(w)); }

void ExpectSymmetric(const Doubles& w, std::size_t left, std::size_t right)
{
    const Doubles part(w.begin() + long(left), w.begin() + long(right) + 1);
    EXPECT_THAT(part, testing::Pointwise(testing::DoubleNear(1e-6), Doubles(part.rbegin(), part.rend())));
}

// The types whose scaling constants are the reciprocal mean and RMS of the shape.
constexpr std::uint16_t kCalibratedTypes[] = {Bartlett, Blackman, Flattop, Hamming, Hanning,
                                              Parzen, Triangular, Gaussian, Force};

} // namespace

TEST(SmoothingTest, NoiseBandwidthCoherentGainAndScalingMatchTheLiterature)
{
    for (auto [type, enbw] : {std::pair{Hanning, 1.50}, {Hamming, 1.36}, {Blackman, 1.73}, {Bartlett, 4.0 / 3},
                              {Flattop, 3.43}})
        EXPECT_NEAR(Enbw(Table(65536, type)), enbw, 0.01) << type;

    const auto w = Table(65536, Flattop, Amplitude);
    EXPECT_NEAR(Mean(w), 0.9994484, 1e-6);
    EXPECT_NEAR(w[32768], 4.1726444, 1e-6);
    EXPECT_EQ(w[0], w[1]);
    EXPECT_NEAR(w[0], -0.01659, 1e-5);
    ExpectSymmetric(w, 1, 65535);
    EXPECT_LT(Table(101, Flattop)[100], -0.01); // an odd length's last tap is filled too

    // A unit cosine on line 400 of a 4096-point DFT. The mirror line is an even
    // number of lines away, where even the half-length Force window is null.
    // (An even-length Gaussian lacks its t = 0 tap, so it needs N this large.)
    constexpr std::uint32_t n = 4096, line = 400;
    const double step = 2 * M_PI * line / n;
    for (std::uint16_t type : kCalibratedTypes) {
        std::vector<float> block(n);
        for (std::uint32_t i = 0; i < n; ++i)
            block[i] = static_cast<float>(std::cos(step * i + 0.3));
        TSmoothing(n, type, Amplitude).ApplyWindow(block.data());
        double re = 0, im = 0;
        for (std::uint32_t i = 0; i < n; ++i) {
            re += block[i] * std::cos(step * i);
            im -= block[i] * std::sin(step * i);
        }
        EXPECT_NEAR(2 * std::hypot(re, im) / n, 1.0, 0.005) << "type " << type;
        EXPECT_NEAR(std::sqrt(Mean(Table(n, type, Energy), 2)), 1.0, 0.005) << "type " << type;
    }
    EXPECT_NEAR(Mean(Table(n, Parzen, Amplitude)), 1.0, 1e-6); // measured, not a constant
}

TEST(SmoothingTest, ShapesSymmetryAndKaiserParameter)
{
    for (std::uint16_t type : {Bartlett, Blackman, Hamming, Hanning, Parzen, Gaussian, Triangular}) {
        ExpectSymmetric(Table(101, type), 0, 100);
        if (type != Triangular) // an even-length triangle peaks early
            ExpectSymmetric(Table(100, type), 0, 99);
    }
    ExpectSymmetric(Table(100, Kaiser), 1, 99);
    // {length, type, tap, value, tolerance}: Hanning as the decimation filters' taps; Parzen's
    // pieces meet at a quarter.
    const std::tuple<std::uint32_t, std::uint16_t, std::uint32_t, double, double> taps[] = {
        {99, Hanning, 0, 0, 1e-15}, {99, Hanning, 98, 0, 1e-15}, {99, Hanning, 49, 1, 0},
        {8, Triangular, 3, 1 + 1.0 / 7, 1e-7}, {101, Parzen, 50, 1, 0}, {101, Parzen, 25, 0.25, 1e-7},
        {101, Gaussian, 50, 1, 0}, {101, Gaussian, 0, std::exp(-12.5), 1e-9}, {100, Force, 49, 1, 0}};
    for (auto [n, type, tap, value, tolerance] : taps)
        EXPECT_NEAR(Table(n, type)[tap], value, tolerance) << n << " taps of type " << type << ", tap " << tap;
    const auto parzen = Table(101, Parzen);
    EXPECT_TRUE(std::all_of(parzen.begin(), parzen.end(), [](double v) { return v >= 0; }));
    std::vector<float> ones(101, 1.0f);
    TSmoothing(101, Exponential, None).ApplyWindow(ones.data());
    EXPECT_EQ(ones[0], 1.0f);
    EXPECT_NEAR(ones[100], std::exp(-10.0), 1e-9);
    EXPECT_EQ(Table(100, Force)[50], 0.0);

    // Kaiser follows its parameter.
    TSmoothing window(1024, Kaiser, None);
    window.SetParameter(8.0f);
    EXPECT_EQ(window.Coefficients()[512], 1.0f);
    EXPECT_NEAR(window.Coefficients()[0] * std::cyl_bessel_i(0.0, 8 * M_PI), 1.0, 1e-5);

    TSmoothing scaled(1024, Kaiser, Amplitude);
    scaled.SetParameter(8.0f);
    EXPECT_EQ(scaled.Coefficients()[512], static_cast<float>(std::pow(10.0, 0.505)));
    EXPECT_FALSE(scaled.Failed());
}

TEST(SmoothingTest, UnusableWindowsLeaveTheBlockUntouched)
{
    MessageLog log;
    const std::vector<float> original(64, 0.75f);
    auto untouched = [&](const TSmoothing& window) {
        auto block = original;
        window.ApplyWindow(block.data());
        return block == original;
    };
    const TSmoothing uniform(64, Uniform, Amplitude), invalid(64, 12, Amplitude);
    EXPECT_TRUE(untouched(uniform) && !uniform.Failed());
    EXPECT_TRUE(untouched(invalid) && invalid.Failed());

    platform::FailNextAllocations(1);
    TSmoothing starved(64, Hanning, Amplitude), rebuilt(64, Kaiser, None);
    platform::FailNextAllocations(1);
    rebuilt.SetParameter(3.0f);
    for (const TSmoothing* window : {&starved, &rebuilt})
        EXPECT_TRUE(window->Failed() && window->Coefficients() == nullptr && untouched(*window));
    EXPECT_EQ(log.texts.size(), 3u);
}
