// Times the driver thread's work for one input buffer: conversion of the
// driver's 32-bit slots into the analysis format, decimation when the
// analysis rate is below 48000 Hz, and the store into the ring.
//
// "share_pct" is that time in percent of the buffer's own duration: the part
// of one core the input takes while it streams (target: below 2).

#include "audio/TInputStream.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <vector>

namespace {

void InputBuffer(benchmark::State& state)
{
    const auto analysisRate = static_cast<std::uint32_t>(state.range(0));
    const auto frames = static_cast<std::int32_t>(state.range(1));
    const std::int32_t ratio = analysisRate < 48000 ? static_cast<std::int32_t>(48000 / analysisRate) : 1;
    const std::int32_t taps = ratio == 4 ? 199 : 99;
    const TWaveFormat format(analysisRate, 2, 3);

    TInputStream input;
    if (!input.Prepare(nullptr, 65536, nullptr, format, ratio) || !input.Build(frames, format, ratio, taps)) {
        state.SkipWithError("no memory");
        return;
    }
    // Two halves of two channels of noise, as a driver's double buffer.
    std::vector<std::uint8_t> memory(static_cast<std::size_t>(frames) * 4 * 4);
    std::uint32_t seed = 1;
    for (std::uint8_t& byte : memory) {
        seed = seed * 214013u + 2531011u;
        byte = static_cast<std::uint8_t>(seed >> 16);
    }
    const std::size_t half = static_cast<std::size_t>(frames) * 4;
    const std::uint8_t* slots[2][2] = {{memory.data(), memory.data() + 2 * half},
                                       {memory.data() + half, memory.data() + 3 * half}};
    const TAsioSampleCodec::SampleSize size = TAsioSampleCodec::GetSampleSize(ASIOSTInt32LSB);

    int b = 0;
    const auto started = std::chrono::steady_clock::now();
    for (auto _ : state) {
        benchmark::DoNotOptimize(input.Process(slots[b], 2, size));
        b ^= 1;
    }
    const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - started;
    const double bufferSeconds = static_cast<double>(frames) / (analysisRate * ratio);
    state.counters["share_pct"] = 100.0 * spent.count() / (static_cast<double>(state.iterations()) * bufferSeconds);
    state.SetLabel(ratio > 1 ? "decimating by 4, 199 taps" : "no decimation");
}

} // namespace

// 192 kHz stereo as it arrives; 12 kHz analysis from a 48 kHz device.
BENCHMARK(InputBuffer)->Args({192000, 2048})->Args({192000, 512})->Args({12000, 512})->Args({12000, 256})
    ->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
