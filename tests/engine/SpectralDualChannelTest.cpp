#include "engine/SpectralData.h"
#include "tests/engine/SpectralTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <vector>

using spectral_test::MakeScaling;
using spectral_test::MakeSettings;

namespace {

constexpr std::uint32_t kSize = 4096;

// Left and right channel objects, the transfer-function object (left over
// right) and the coherence object, run as the main frame runs them.
struct Chain {
    explicit Chain(std::uint32_t blocks)
        : blocks(blocks), settings(MakeSettings(48000, kSize, blocks, 0)),
          window(kSize, smoothing::Flattop, smoothing::Amplitude),
          left(settings, MakeScaling(), 0, false),
          right(settings, MakeScaling(), 1, false),
          transfer(settings, MakeScaling(), 0, false),
          coherence(settings, MakeScaling(), 0, false)
    {
    }

    void Prepare(SpectralData& data, const float* samples)
    {
        std::copy_n(samples, kSize, data.GetComplexBuffer());
        window.ApplyWindow(data.GetComplexBuffer());
        data.ComputeSpectrum();
    }

    void Run(const float* l, const float* r)
    {
        Prepare(left, l);
        Prepare(right, r);
        coherence.CrossSpectrum(left.GetComplexSpectrum(), right.GetComplexSpectrum());
        coherence.Average(false);
        left.Average(false);
        right.Average(false);
        coherence.Coherence(left.GetPowerBuffer(), right.GetPowerBuffer());
        transfer.CrossSpectrum(left.GetComplexSpectrum(), right.GetComplexSpectrum());
        transfer.Average(true);
        transfer.TransferFunction(right.GetPowerBuffer());
    }

    // Runs every block of the two signals, each `blocks` × kSize samples long.
    void RunAll(const float* l, const float* r)
    {
        for (std::uint32_t k = 0; k < blocks; ++k)
            Run(l + k * kSize, r + k * kSize);
    }

    // Mean of a function over the lines from the lower limit to the last averaged line.
    static double Mean(const SpectralData& data)
    {
        double sum = 0.0;
        const std::uint32_t first = data.GetStartBin(), last = data.GetLines() - 2;
        for (std::uint32_t i = first; i <= last; ++i)
            sum += data.GetPowerBuffer()[i];
        return sum / (last - first + 1);
    }

    std::complex<float> Cross(std::uint32_t line) const
    {
        const float* c = transfer.GetAveragedComplexSpectrum();
        return {c[2 * line], c[2 * line + 1]};
    }

    std::uint32_t blocks;
    TProcessingSettings settings;
    TSmoothing window;
    SpectralData left, right, transfer, coherence;
};

// Small object whose averaged cross spectrum the test sets line by line.
SpectralData SmallObject(std::uint16_t ampScale = ScalingOpts::kLinear)
{
    return SpectralData(MakeSettings(48000, 32), MakeScaling(ampScale), 0, false);
}

} // namespace

TEST(SpectralDualChannel, CombinesTheLinesOfTwoChannels)
{
    SpectralData data = SmallObject();
    std::vector<float> a(32, 0.0f), b(32, 0.0f);
    a[2] = 1.0f;  // line 1: 1 at 0°
    b[3] = 1.0f;  //         1 at 90°
    a[4] = 3.0f;  // line 2: 3 and 1 at 0°
    b[4] = 1.0f;
    data.AverageLeftRight(a.data(), b.data());
    const float* line = data.GetComplexSpectrum();
    EXPECT_NEAR(line[2], std::sqrt(0.5f), 1e-6f);
    EXPECT_NEAR(line[3], std::sqrt(0.5f), 1e-6f);
    EXPECT_NEAR(line[4], std::sqrt(5.0f), 1e-6f); // RMS of the magnitudes
    EXPECT_EQ(line[5], 0.0f);
    EXPECT_FALSE(data.IsCross());

    // (1 + 2i)·conj(3 + 4i) = 11 + 2i; (3 + 4i)·conj(1) = 3 + 4i.
    a = std::vector<float>(32, 0.0f);
    b = a;
    a[2] = 1.0f, a[3] = 2.0f, b[2] = 3.0f, b[3] = 4.0f;
    a[4] = 3.0f, a[5] = 4.0f, b[4] = 1.0f;
    data.CrossSpectrum(a.data(), b.data());
    EXPECT_FLOAT_EQ(line[2], 11.0f);
    EXPECT_FLOAT_EQ(line[3], 2.0f);
    EXPECT_TRUE(data.IsCross());
    data.CrossSpectrum(nullptr, b.data());
    EXPECT_FLOAT_EQ(line[2], 11.0f) << "a missing input changes nothing";

    // A cross spectrum averages to |a|·|b| rather than its square.
    data.Average(false);
    EXPECT_FLOAT_EQ(data.GetPowerBuffer()[2], 5.0f);
}

TEST(SpectralDualChannel, MagnitudeRatioDividesWhereTheDenominatorHasPower)
{
    SpectralData data = SmallObject(ScalingOpts::kLogarithmic);
    float* power = SpectralDataTestAccess::AvgPower(data);
    power[1] = 7.0f;
    const std::vector<float> num(16, 4.0f), avg(32, 0.0f);
    std::vector<float> den(16, 0.4f);
    den[1] = 0.0f;
    data.MagnitudeRatio(num.data(), den.data(), avg.data(), avg.data());
    EXPECT_FLOAT_EQ(power[2], 10.0f);
    EXPECT_NEAR(data.GetAveragedDbBuffer()[2], 10.0f, 1e-5f);
    EXPECT_FLOAT_EQ(power[1], 7.0f);
    EXPECT_TRUE(data.IsRatio());
    EXPECT_TRUE(data.IsFunctionObject());
}

TEST(SpectralDualChannel, LineWithoutDenominatorRepeatsTheLineBefore)
{
    SpectralData transfer = SmallObject();
    SpectralData coherence = SmallObject();
    for (SpectralData* d : {&transfer, &coherence}) {
        float* c = SpectralDataTestAccess::AvgComplex(*d);
        c[2] = 3.0f, c[3] = 4.0f;                       // line 1: |c|² = 25
        c[4] = 1.0f;                                    // line 2
    }
    std::vector<float> den(16, 2.0f), a(16, 5.0f), b(16, 1.0f);
    den[0] = den[2] = 0.0f;
    b[0] = b[2] = 0.0f;
    transfer.TransferFunction(den.data());
    coherence.Coherence(a.data(), b.data());
    const float* t = transfer.GetPowerBuffer();
    const float* c = coherence.GetPowerBuffer();
    EXPECT_EQ(t[0], 0.0f);
    EXPECT_FLOAT_EQ(t[1], 25.0f / 4.0f);
    EXPECT_FLOAT_EQ(t[2], 25.0f / 4.0f);
    EXPECT_EQ(t[3], 0.0f);
    EXPECT_EQ(c[0], 0.0f);
    EXPECT_FLOAT_EQ(c[1], 5.0f);
    EXPECT_FLOAT_EQ(c[2], 5.0f);
    EXPECT_TRUE(transfer.IsTransfer());
    EXPECT_TRUE(coherence.IsCoherence());
}

TEST(SpectralDualChannel, FunctionsUnderHoldShowTheRunningMaximum)
{
    SpectralData transfer = SmallObject(ScalingOpts::kLogarithmic);
    SpectralData coherence = SmallObject(ScalingOpts::kLogarithmic);
    const std::vector<float> ones(16, 1.0f);
    auto run = [&](float re) {
        for (SpectralData* d : {&transfer, &coherence})
            SpectralDataTestAccess::AvgComplex(*d)[2] = re;
        transfer.TransferFunction(ones.data());
        coherence.Coherence(ones.data(), ones.data());
    };
    transfer.SetPeakHoldMode(1);
    coherence.SetPeakHoldMode(1);
    for (float re : {0.5f, 0.8f, 0.3f, 0.6f})
        run(re);
    for (SpectralData* d : {&transfer, &coherence}) {
        EXPECT_FLOAT_EQ(d->GetPowerBuffer()[1], 0.64f);
        EXPECT_NEAR(d->GetAveragedDbBuffer()[1], 10.0f * std::log10(0.64f), 1e-4f);
    }

    transfer.SetPeakHoldMode(0);
    coherence.SetPeakHoldMode(0);
    run(0.3f);
    EXPECT_FLOAT_EQ(transfer.GetPowerBuffer()[1], 0.09f);
    EXPECT_FLOAT_EQ(coherence.GetPowerBuffer()[1], 0.09f);
}

TEST(SpectralDualChannel, IndependentChannelsHaveCoherenceOfOneOverTheAverages)
{
    constexpr std::uint32_t blocks = 16;
    Chain chain(blocks);
    chain.RunAll(spectral_test::WhiteNoise(kSize * blocks, 1000.0, 11).data(),
                 spectral_test::WhiteNoise(kSize * blocks, 1000.0, 12).data());
    EXPECT_NEAR(Chain::Mean(chain.coherence), 1.0 / blocks, 0.01);
}

TEST(SpectralDualChannel, TransferFunctionRecoversGainAndDelay)
{
    // Left = 0.5 × right delayed by 8 samples: H = 0.5·e^(−iω·8).
    constexpr std::uint32_t blocks = 16, delay = 8;
    Chain chain(blocks);
    const std::vector<float> x = spectral_test::WhiteNoise(kSize * blocks + delay, 1000.0, 3);
    std::vector<float> l(kSize * blocks);
    for (std::size_t n = 0; n < l.size(); ++n)
        l[n] = 0.5f * x[n];
    chain.RunAll(l.data(), x.data() + delay);

    EXPECT_NEAR(Chain::Mean(chain.transfer), 0.25, 0.0025); // |H|², −6.02 dB
    EXPECT_GT(Chain::Mean(chain.coherence), 0.98);
    for (std::uint32_t i : {20u, 60u, 120u, 200u}) {
        const double expected = -2.0 * M_PI * i * delay / kSize;
        EXPECT_NEAR(std::arg(chain.Cross(i)), expected, 0.05) << "line " << i;
    }
}
