// Times one block of the live loop through the spectral engine: window,
// FFT, line correction, averaging and hold, for one channel and for a
// dual-channel pair (transfer function and coherence, the heaviest mode),
// and the display plus logging passes that the live loop runs per block.
//
// "x_realtime_48k" and "x_realtime_192k" compare the time per block with the
// time a 50 %-overlapped analysis takes to bring one new block (N/2 = 32768
// new samples: 0.68 s at 48 kHz, 0.17 s at 192 kHz): the hop's duration
// divided by the time per block, so 100 means the work keeps up with such
// an analysis a hundred times over. It says nothing about the live loop,
// which does not hop by half a block: it analyses the latest block at most
// once per new sixteenth of a block (21 ms at 192 kHz) or 80 ms of sound,
// under 50 times a second at any rate. "live_share_50" bounds that loop's
// budget: the share of one core that 50 of these blocks a second take.

#include "engine/SpectralData.h"
#include "engine/TSmoothing.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>
#include <vector>

namespace {

constexpr std::uint32_t kFFTSize = 65536;

TProcessingSettings BenchSettings()
{
    TProcessingSettings settings;
    settings.SetFrameDefaults();
    settings.Format.Set(48000, 2, 3);
    settings.FFTsize = kFFTSize;
    settings.AverageMode = {0, 0};
    settings.AverageBlocks = {8, 8};
    return settings;
}

std::vector<float> NoisyTone(unsigned seed)
{
    std::mt19937 generator(seed);
    std::normal_distribution<float> noise(0.0f, 1000.0f);
    std::vector<float> block(kFFTSize);
    for (std::size_t n = 0; n < block.size(); ++n)
        block[n] = 4e6f * std::sin(0.0523f * float(n)) + noise(generator);
    return block;
}

// One channel's display and logging objects plus its window.
struct Channel {
    Channel(const TProcessingSettings& settings, int index)
        : window(kFFTSize, 2, 2),
          display(settings, ScalingOpts::FrameDefaults(index), index, false),
          logging(settings, ScalingOpts::FrameDefaults(index), index, false),
          samples(NoisyTone(index + 1))
    {
        display.SetPeakHoldMode(1);
        logging.SetPeakHoldMode(4);
    }

    void Prepare(SpectralData& data) const
    {
        std::copy(samples.begin(), samples.end(), data.GetComplexBuffer());
        window.ApplyWindow(data.GetComplexBuffer());
        data.ComputeSpectrum();
    }

    TSmoothing window;
    SpectralData display;
    SpectralData logging;
    std::vector<float> samples;
};

void SetRealTimeCounters(benchmark::State& state)
{
    const double hop = kFFTSize / 2.0;
    state.counters["x_realtime_48k"] =
        benchmark::Counter(hop / 48000.0, benchmark::Counter::kIsIterationInvariantRate);
    state.counters["x_realtime_192k"] =
        benchmark::Counter(hop / 192000.0, benchmark::Counter::kIsIterationInvariantRate);
    state.counters["live_share_50"] = benchmark::Counter(
        1.0 / 50.0, benchmark::Counter::Flags(benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert));
}

// A single channel: prepare, average, hold.
void BM_SpectralOneChannel(benchmark::State& state)
{
    const TProcessingSettings settings = BenchSettings();
    Channel left(settings, 0);
    double t = 0.0;
    for (auto _ : state) {
        left.display.SetBlockTime(t += 0.68);
        left.Prepare(left.display);
        left.display.Average(false);
        left.display.UpdatePeakHold();
        benchmark::DoNotOptimize(left.display.GetPowerBuffer());
    }
    SetRealTimeCounters(state);
}

// Transfer function and coherence from two channels, one pass.
// With displayL and displayR given (the logging pass), the channels take
// the display pass's transform, as the live loop does.
void DualChannelPass(SpectralData& l, SpectralData& r, const Channel& left, const Channel& right,
                     SpectralData& dual, SpectralData& coherence, double t, const SpectralData* displayL = nullptr,
                     const SpectralData* displayR = nullptr)
{
    l.SetBlockTime(t);
    r.SetBlockTime(t);
    if (displayL != nullptr && displayR != nullptr) {
        l.CopyTransformFrom(*displayL);
        r.CopyTransformFrom(*displayR);
    } else {
        left.Prepare(l);
        right.Prepare(r);
    }
    coherence.CrossSpectrum(l.GetComplexSpectrum(), r.GetComplexSpectrum());
    coherence.Average(false);
    r.Average(false);
    l.Average(false);
    coherence.Coherence(l.GetPowerBuffer(), r.GetPowerBuffer());
    dual.CrossSpectrum(l.GetComplexSpectrum(), r.GetComplexSpectrum());
    dual.Average(true);
    dual.TransferFunction(r.GetPowerBuffer());
    dual.UpdatePeakHold();
}

struct DualSetup {
    DualSetup()
        : settings(BenchSettings()), left(settings, 0), right(settings, 1),
          dual(settings, ScalingOpts::FrameDefaults(0), 0, false),
          coherence(settings, ScalingOpts::FrameDefaults(0), 0, false)
    {
    }
    TProcessingSettings settings;
    Channel left, right;
    SpectralData dual, coherence;
};

void BM_SpectralDualChannel(benchmark::State& state)
{
    auto setup = std::make_unique<DualSetup>();
    double t = 0.0;
    for (auto _ : state) {
        DualChannelPass(setup->left.display, setup->right.display, setup->left, setup->right,
                        setup->dual, setup->coherence, t += 0.68);
        benchmark::DoNotOptimize(setup->dual.GetPowerBuffer());
    }
    SetRealTimeCounters(state);
}

// What the live loop does per block: the display pass, then the logging pass
// on the display pass's transforms.
void BM_LiveLoopBothPasses(benchmark::State& state)
{
    auto setup = std::make_unique<DualSetup>();
    double t = 0.0;
    for (auto _ : state) {
        t += 0.68;
        DualChannelPass(setup->left.display, setup->right.display, setup->left, setup->right,
                        setup->dual, setup->coherence, t);
        DualChannelPass(setup->left.logging, setup->right.logging, setup->left, setup->right,
                        setup->dual, setup->coherence, t, &setup->left.display, &setup->right.display);
        benchmark::DoNotOptimize(setup->dual.GetPowerBuffer());
    }
    SetRealTimeCounters(state);
}

// Everything the data log reads of one spectrum after an averaging pass.
// Averaging runs in each iteration too, so the readouts cannot live off a
// peak list cached by the previous iteration; BM_AverageOnly is its share.
void ReadAll(SpectralData& data, benchmark::State& state)
{
    float frequency = 0.0f, level = 0.0f;
    data.FindPeak(data.GetStartBin(), data.GetEndBin(), &frequency, &level, 0);
    benchmark::DoNotOptimize(data.GetHoldPeakFrequency(int(data.GetStartBin()), int(data.GetEndBin())));
    benchmark::DoNotOptimize(data.GetHoldMax(int(data.GetStartBin()), int(data.GetEndBin())));
    for (int weighting = 0; weighting <= 3; ++weighting)
        benchmark::DoNotOptimize(data.GetBandPower(data.GetStartBin(), data.GetEndBin(), 1, weighting));
    benchmark::DoNotOptimize(data.GetTHD());
    benchmark::DoNotOptimize(data.GetTHDN());
    benchmark::DoNotOptimize(data.GetIMD());
    benchmark::DoNotOptimize(data.GetSNR());
    benchmark::DoNotOptimize(data.GetSINAD());
    benchmark::DoNotOptimize(data.GetPhase(1000));
    state.counters["peak_Hz"] = frequency;
}

void BM_AverageOnly(benchmark::State& state)
{
    const TProcessingSettings settings = BenchSettings();
    Channel left(settings, 0);
    left.Prepare(left.logging);
    for (auto _ : state)
        left.logging.Average(false);
}

void BM_AverageAndAllReadouts(benchmark::State& state)
{
    const TProcessingSettings settings = BenchSettings();
    Channel left(settings, 0);
    left.Prepare(left.logging);
    for (auto _ : state) {
        left.logging.Average(false);
        ReadAll(left.logging, state);
    }
}

// The plots' power meter: band power from the display values, every frame.
void BM_BandPowerFromDisplay(benchmark::State& state)
{
    const TProcessingSettings settings = BenchSettings();
    Channel left(settings, 0);
    left.Prepare(left.display);
    left.display.Average(false);
    for (auto _ : state)
        benchmark::DoNotOptimize(
            left.display.GetBandPower(left.display.GetStartBin(), left.display.GetEndBin(), 1, -1));
}

} // namespace

BENCHMARK(BM_BandPowerFromDisplay)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AverageOnly)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AverageAndAllReadouts)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SpectralOneChannel)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SpectralDualChannel)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LiveLoopBothPasses)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
