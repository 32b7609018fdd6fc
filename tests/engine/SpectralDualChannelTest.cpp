#include "tests/engine/SpectralTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

using spectral_test::MakeScaling;
using spectral_test::MakeSettings;
using Access = SpectralDataTestAccess;

namespace {

// Small object whose averaged cross spectrum the test sets line by line.
SpectralData SmallObject(std::uint16_t ampScale = ScalingOpts::kLinear)
{
    return SpectralData(MakeSettings(48000, 32), MakeScaling(ampScale), 0, false);
}

} // namespace

TEST(SpectralDualChannel, CombinesTheLinesOfTwoChannelsAndDividesOnlyWhereTheDenominatorHasPower)
{
    SpectralData data = SmallObject();
    auto block = [](std::vector<float> lines) { // 16 lines (re, im)
        lines.resize(32);
        return lines;
    };
    // Line 1: 1 at 0° and 1 at 90°; line 2: 3 and 1 at 0°.
    data.AverageLeftRight(block({0, 0, 1, 0, 3}).data(), block({0, 0, 0, 1, 1}).data());
    const float* line = data.GetComplexSpectrum();
    const float h = std::sqrt(0.5f), rms = std::sqrt(5.0f); // RMS of the magnitudes
    EXPECT_EQ(std::vector(line + 2, line + 6), std::vector({h, h, rms, 0.0f}));
    EXPECT_FALSE(data.IsCross());
    // 1 at 180° and 1 at 90° meet at 135°.
    data.AverageLeftRight(block({0, 0, 0, 0, 0, 0, -1, 0}).data(), block({0, 0, 0, 0, 0, 0, 0, 1}).data());
    EXPECT_NEAR(line[6], -h, 1e-6f);
    EXPECT_NEAR(line[7], h, 1e-6f);

    // (1 + 2i)·conj(3 + 4i) = 11 + 2i; (3 + 4i)·conj(1) = 3 + 4i.
    const auto a = block({0, 0, 1, 2, 3, 4}), b = block({0, 0, 3, 4, 1, 0});
    data.CrossSpectrum(a.data(), b.data());
    EXPECT_EQ(std::vector(line + 2, line + 6), std::vector({11.0f, 2.0f, 3.0f, 4.0f}));
    EXPECT_TRUE(data.IsCross());
    data.CrossSpectrum(nullptr, b.data());
    EXPECT_FLOAT_EQ(line[2], 11.0f) << "a missing input changes nothing";
    // A cross spectrum averages to |a|·|b| rather than its square.
    data.Average(false);
    EXPECT_FLOAT_EQ(data.GetPowerBuffer()[2], 5.0f);

    // A ratio divides where the denominator has power and keeps the line
    // otherwise; transfer function and coherence repeat the line before.
    SpectralData ratio = SmallObject(ScalingOpts::kLogarithmic), transfer = SmallObject(), coherence = SmallObject();
    float* power = Access::AvgPower(ratio);
    power[1] = 7.0f;
    const std::vector<float> num(16, 4.0f), avg(32, 0.0f);
    std::vector<float> den(16, 0.4f);
    den[1] = 0.0f;
    ratio.MagnitudeRatio(num.data(), den.data(), avg.data(), avg.data());
    EXPECT_EQ(std::pair(power[1], power[2]), std::pair(7.0f, 10.0f));
    EXPECT_NEAR(ratio.GetAveragedDbBuffer()[2], 10.0f, 1e-5f);
    EXPECT_TRUE(ratio.IsRatio() && ratio.IsFunctionObject());

    for (SpectralData* d : {&transfer, &coherence}) {
        float* c = Access::AvgComplex(*d);
        c[2] = 3.0f, c[3] = 4.0f; // line 1: |c|² = 25
        c[4] = 1.0f;              // line 2
    }
    std::vector<float> five(16, 5.0f), one(16, 1.0f);
    den.assign(16, 2.0f);
    den[0] = den[2] = one[0] = one[2] = 0.0f;
    transfer.TransferFunction(den.data());
    coherence.Coherence(five.data(), one.data());
    const float* t = transfer.GetPowerBuffer();
    const float* c = coherence.GetPowerBuffer();
    EXPECT_EQ(std::vector(t, t + 4), std::vector({0.0f, 6.25f, 6.25f, 0.0f}));
    EXPECT_EQ(std::vector(c, c + 3), std::vector({0.0f, 5.0f, 5.0f}));
    EXPECT_TRUE(transfer.IsTransfer() && coherence.IsCoherence());
}

TEST(SpectralDualChannel, FunctionsUnderHoldShowTheRunningMaximum)
{
    SpectralData transfer = SmallObject(ScalingOpts::kLogarithmic), coherence = SmallObject(ScalingOpts::kLogarithmic);
    const std::vector<float> ones(16, 1.0f);
    auto run = [&](float re) {
        for (SpectralData* d : {&transfer, &coherence})
            Access::AvgComplex(*d)[2] = re;
        transfer.TransferFunction(ones.data());
        coherence.Coherence(ones.data(), ones.data());
    };
    for (int mode : {1, 0}) {
        transfer.SetPeakHoldMode(mode);
        coherence.SetPeakHoldMode(mode);
        for (float re : {0.5f, 0.8f, 0.3f})
            run(re);
        for (SpectralData* d : {&transfer, &coherence}) {
            EXPECT_FLOAT_EQ(d->GetPowerBuffer()[1], mode ? 0.64f : 0.09f) << mode;
            EXPECT_NEAR(d->GetAveragedDbBuffer()[1], 10.0f * std::log10(mode ? 0.64f : 0.09f), 1e-4f) << mode;
        }
    }
}
