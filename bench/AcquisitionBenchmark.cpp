// Times one acquisition step as the timer runs it at the program's fixed
// settings (192 kHz, two 24-bit channels, 65536-point Flattop blocks): take
// the latest block from the input, copy it into the four channel spectra,
// run the display pass and the logging pass, and hand the result to plots,
// data log, status bar and viewers (here services that do nothing).
//
// "ms" is the time of one step; "tick_share" is that time as a share of the
// 10 ms timer interval (below 1 keeps up with the timer).

#include "app/core/RunServices.h"
#include "app/core/TProcessingObjects.h"
#include "app/core/TRunControl.h"
#include "platform/MessageBox.h"
#include "settings/FrameSettings.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

constexpr std::uint32_t kRate = 192000;
constexpr std::uint32_t kFFTSize = 65536;

// A tone per channel, precomputed so that the step's own work is timed.
class BenchInput final : public SoundInputPort {
public:
    BenchInput() : left(kFFTSize), right(kFFTSize)
    {
        for (std::uint32_t n = 0; n < kFFTSize; ++n) {
            left[n] = std::int32_t(4e6 * std::sin(2 * M_PI * 1000.0 * n / kRate));
            right[n] = std::int32_t(1e6 * std::sin(2 * M_PI * 5000.0 * n / kRate));
        }
    }
    bool Open(const TWaveFormat&) override { return true; }
    void Close() override {}
    bool SetFormat(const TWaveFormat&) override { return true; }
    bool IsSampleRateSupported(const TWaveFormat&) override { return true; }
    bool IsQuarnDAQ() const override { return false; }
    void Stop() override {}
    bool PrepareInput(TWaveFile*, std::uint32_t, TriggerOpts*) override { return true; }
    bool Start() override { return true; }
    std::int32_t GetSamplesAvailable() override { return std::int32_t(kRate) * 10; }
    std::uint64_t GetFramesDelivered() override { return delivered += 2048; }
    bool ReadLatest(std::uint32_t n, std::int32_t* l, std::int32_t* r) override
    {
        if (l != nullptr)
            std::memcpy(l, left.data(), std::min<std::size_t>(n, kFFTSize) * sizeof(std::int32_t));
        if (r != nullptr)
            std::memcpy(r, right.data(), std::min<std::size_t>(n, kFFTSize) * sizeof(std::int32_t));
        return true;
    }

private:
    std::vector<std::int32_t> left, right;
    std::uint64_t delivered = 0;
};

struct BenchAudio final : AudioSystem {
    std::unique_ptr<SoundInputPort> CreateInput(int, int) override { return std::make_unique<BenchInput>(); }
    std::unique_ptr<SoundOutputPort> CreateOutput(int, int) override { return nullptr; }
    int GetInputDeviceCount() override { return 1; }
    int FindDaqInputDevice() override { return 0; }
};

struct Quiet final : AcquisitionTimer, DaqControl, RunObserver, PlotViews, RunUtilities, DataLogControl {
    void Start(std::uint32_t) override {}
    void Stop() override {}
    void Reopen() override {}
    bool ConfigureInput(const DaqOpts&, int, int, bool) override { return true; }
    void UpdateRunState() override {}
    void UpdateStatus(StatusMode) override {}
    void SetPlotsActive() override {}
    void SetPlotsIdle() override {}
    void UpdateUtilityWindows() override {}
    bool HasPlot(int) const override { return true; }
    void SetSpectralData(int, SpectralData*, SpectralData*) override {}
    void ResetView(int) override {}
    void SetTimeAxis(int, bool) override {}
    void UpdateDisplay(int, double) override {}
    bool HasGenerator() const override { return false; }
    bool IsGeneratorPlaying() const override { return false; }
    void StartGenerator() override {}
    void StopGeneratorOutput() override {}
    bool HasRecorder() const override { return false; }
    std::uint32_t GetRecorderState() const override { return 0; }
    void SetRecorderState(std::uint32_t) override {}
    TWaveFile* GetRecorderWaveFile() override { return nullptr; }
    void UpdateRecorderPosition() override {}
    void UpdateRecorderButtons() override {}
    void StartDataLogging() override {}
    void StopDataLogging() override {}
    void OpenLogFiles() override {}
    void CloseLogFiles() override {}
    void WriteLogRecord(int, float) override {}
};

void BM_AcquisitionStep(benchmark::State& state)
{
    platform::SetMessageBoxHook([](const platform::MessageBoxRequest&) { return platform::MessageResult::Ok; });
    FrameSettings settings;
    settings.Processing.Format.Set(kRate, 2, 3);
    settings.Processing.ChannelProcessing = static_cast<std::uint16_t>(state.range(0));
    Quiet quiet;
    BenchAudio audio;
    SystemRunClock clock;
    TProcessingObjects processing(settings, quiet);
    TRunControl run(settings, processing, RunServices{quiet, audio, quiet, clock, quiet, quiet, quiet, quiet});
    if (!run.StartInput()) {
        state.SkipWithError("start refused");
        return;
    }

    double seconds = 0.0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(run.ProcessInputTick());
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        seconds += took.count();
        state.SetIterationTime(took.count());
    }
    const double ms = seconds * 1000.0 / double(state.iterations());
    state.counters["ms"] = ms;
    state.counters["tick_share"] = ms / TRunControl::kFastIntervalMs;
    run.StopInput();
    platform::SetMessageBoxHook({});
}

} // namespace

// Mode 2 (both channels) is the program's own; mode 12 (transfer function
// and coherence) is the heaviest.
BENCHMARK(BM_AcquisitionStep)->Arg(2)->Arg(12)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
