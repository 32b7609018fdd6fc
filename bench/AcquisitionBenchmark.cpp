// Times one acquisition step as the timer runs it, with the services the
// program gives it: take the latest block from the input, copy it into the
// channel spectra, run the display pass and the logging pass, draw a frame
// in each spectrum plot (offscreen), write a data-log record per channel
// that reads every readout the log offers, and refresh the status bar's
// text and level panes.
//
// Settings are the program's own (65536-point Flattop blocks, two 24-bit
// channels, both plots open, the data log running); --rate=N sets the
// sample rate (default 192000). Each step finds a new driver buffer and
// comes one display interval after the previous one, so every step does
// the whole work, the plots' redraw included.
//
// "ms" is the time of one step; "core_share_50" is the share of one core
// that 50 such steps a second (a redraw per 20 ms display interval) would take.
//
//   build/bench/acquisition_bench --rate=48000

#include "app/CStatusbar.h"
#include "app/StatusbarFrame.h"
#include "app/core/RunServices.h"
#include "app/core/TProcessingObjects.h"
#include "app/core/TRunControl.h"
#include "plot/TQuarnPlot.h"
#include "platform/MessageBox.h"
#include "settings/FrameSettings.h"
#include "bench/QtBenchmarkMain.h"

#include <QApplication>
#include <QByteArray>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr std::uint32_t kFFTSize = 65536;
constexpr double kStepSeconds = 0.025;
std::uint32_t g_Rate = 192000;

// A tone per channel, precomputed so that the step's own work is timed; a
// new driver buffer at every step.
class BenchInput final : public SoundInputPort {
public:
    BenchInput() : left(kFFTSize), right(kFFTSize)
    {
        for (std::uint32_t n = 0; n < kFFTSize; ++n) {
            left[n] = std::int32_t(4e6 * std::sin(2 * M_PI * 1000.0 * n / g_Rate));
            right[n] = std::int32_t(1e6 * std::sin(2 * M_PI * 5000.0 * n / g_Rate));
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
    std::int32_t GetSamplesAvailable() override { return std::int32_t(g_Rate) * 10; }
    // A whole block of new frames at every look: every tick is a full step.
    std::uint64_t GetFramesDelivered() override { return delivered += 65536; }
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

// Steady time moves one display interval and a little more per step.
struct BenchClock final : RunClock {
    double SteadySeconds() const override { return steady; }
    std::chrono::system_clock::time_point Now() const override { return std::chrono::system_clock::now(); }
    double TimeOfDaySeconds() const override { return steady; }
    void Sleep(std::uint32_t) override {}
    double steady = 100.0;
};

// Everything the data log can write for a channel: the peak, the hold,
// the band powers of every weighting and the distortion and noise figures.
void ReadEveryLogItem(SpectralData& data)
{
    float frequency = 0.0f, level = 0.0f;
    data.FindPeak(data.GetStartBin(), data.GetEndBin(), &frequency, &level, 0);
    benchmark::DoNotOptimize(level);
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
}

// The frame's side of the run: two real spectrum plots, a real status bar
// (over what the frame tells it), a data log that reads every readout, and
// no generator or recorder.
class BenchFrame final : public AcquisitionTimer, public DaqControl, public RunObserver, public PlotViews,
                         public RunUtilities, public DataLogControl, public StatusbarFrame {
public:
    BenchFrame(FrameSettings& settings) : settings(settings) {}

    void Attach(TProcessingObjects& objects, TRunControl& control)
    {
        processing = &objects;
        run = &control;
        statusbar = std::make_unique<CStatusbar>(nullptr, *this);
        statusbar->resize(1200, 24);
        statusbar->show();
        for (int channel = 0; channel < 2; ++channel) {
            plot[channel] = std::make_unique<TQuarnPlot>();
            plot[channel]->Create("Spectrum", QRect(0, 0, 1200, 600), &settings.Processing, &settings.Scaling[channel],
                                  &settings.Markers[channel], &settings.Spectrum[channel],
                                  objects.GetFirstTraceData(channel), objects.GetSecondTraceData(channel), channel);
            plot[channel]->show();
        }
    }

    // Timer, DAQ, observer
    void Start(std::uint32_t) override {}
    void Stop() override {}
    void Reopen() override {}
    bool ConfigureInput(const DaqOpts&, int, int, bool) override { return true; }
    void UpdateRunState() override {}
    void UpdateStatus(StatusMode mode) override
    {
        if (statusbar)
            statusbar->UpdateStatus(static_cast<int>(mode));
    }
    void SetPlotsActive() override
    {
        for (auto& p : plot)
            if (p)
                p->ClearIdle();
    }
    void SetPlotsIdle() override {}
    void UpdateUtilityWindows() override {}

    // Plots
    bool HasPlot(int channel) const override { return plot[channel == 1] != nullptr; }
    void SetSpectralData(int channel, SpectralData* t1, SpectralData* t2) override
    {
        if (plot[channel == 1])
            plot[channel == 1]->SetSpectralData(t1, t2);
    }
    void ResetView(int channel) override
    {
        if (plot[channel == 1])
            plot[channel == 1]->ResetView();
    }
    void SetTimeAxis(int channel, bool on) override
    {
        if (plot[channel == 1])
            plot[channel == 1]->SetTimeAxis(on);
    }
    void UpdateDisplay(int channel, double t) override { plot[channel == 1]->UpdateDisplay(static_cast<float>(t)); }

    // Utilities
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

    // Data log
    void StartDataLogging() override {}
    void StopDataLogging() override {}
    void OpenLogFiles() override {}
    void CloseLogFiles() override {}
    // A record at every step: no schedule ahead.
    std::optional<double> WriteLogRecord(int channel, double timeOfDay) override
    {
        if (SpectralData* data = processing->GetLoggingData(channel))
            ReadEveryLogItem(*data);
        return timeOfDay;
    }
    std::optional<RecordSchedule> GetRecordSchedule(int) const override { return std::nullopt; }

    // Status bar
    void ExecuteCommand(FrameCommand) override {}
    bool IsRunning() const override { return run != nullptr && run->IsRunning(); }
    bool IsPlaybackOn() const override { return false; }
    std::uint32_t GetFrameCounter() const override { return run != nullptr ? run->GetFrameCounter() : 0; }
    std::uint32_t GetFFTSize() const override { return settings.Processing.FFTsize; }
    bool HasInputPort() const override { return run != nullptr && run->GetInputPort() != nullptr; }
    std::optional<std::uint32_t> GetInputSamplesAvailable() const override
    {
        if (!HasInputPort())
            return std::nullopt;
        return static_cast<std::uint32_t>(run->GetInputPort()->GetSamplesAvailable());
    }
    bool CheckInputFormat(std::uint32_t, std::uint16_t, std::uint16_t) const override { return true; }
    std::optional<std::int32_t> GetPeakValue(int channel) const override
    {
        const TSampleBuffer* buffer = processing != nullptr ? processing->GetSampleBuffer(channel) : nullptr;
        if (buffer == nullptr)
            return std::nullopt;
        return buffer->GetPeakValue();
    }
    void IncrementOverloadCount(int channel) override
    {
        if (run != nullptr)
            run->CountOverload(channel);
    }
    TWaveFormat GetAnalysisFormat() const override { return settings.Processing.Format; }
    void SetAnalysisFormat(const TWaveFormat& format) override { settings.Processing.Format = format; }
    void SetChannelMode(int mode) override { settings.Processing.ChannelProcessing = static_cast<std::uint16_t>(mode); }

private:
    FrameSettings& settings;
    TProcessingObjects* processing = nullptr;
    TRunControl* run = nullptr;
    std::unique_ptr<CStatusbar> statusbar;
    std::unique_ptr<TQuarnPlot> plot[2];
};

// Arguments: channel mode, channel count.
void BM_AcquisitionStep(benchmark::State& state)
{
    platform::SetMessageBoxHook([](const platform::MessageBoxRequest&) { return platform::MessageResult::Ok; });
    FrameSettings settings;
    settings.ApplyStartupFixups();
    const auto channels = static_cast<std::uint16_t>(state.range(1));
    settings.Processing.Format.Set(g_Rate, channels, 3);
    settings.Processing.ChannelProcessing = static_cast<std::uint16_t>(state.range(0));
    // A running log, started today: the logging objects hold, and no new
    // log day comes between steps.
    settings.DataLog.Active = 1;
    settings.DataLog.LogStartTime = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    BenchFrame frame(settings);
    BenchAudio audio;
    BenchClock clock;
    TProcessingObjects processing(settings, frame);
    TRunControl run(settings, processing, RunServices{frame, audio, frame, clock, frame, frame, frame, frame});
    processing.BuildProcessing();
    frame.Attach(processing, run);
    if (!run.StartInput()) {
        state.SkipWithError("start refused");
        return;
    }

    double seconds = 0.0;
    int steps = 0;
    for (auto _ : state) {
        clock.steady += kStepSeconds;
        const auto start = std::chrono::steady_clock::now();
        steps += run.ProcessInputTick();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        seconds += took.count();
        state.SetIterationTime(took.count());
    }
    if (steps + 1 < static_cast<int>(state.iterations()))
        state.SkipWithError("a tick processed no block");
    const double ms = seconds * 1000.0 / double(state.iterations());
    state.counters["ms"] = ms;
    state.counters["core_share_50"] = ms * 50.0 / 1000.0;
    state.counters["rate"] = g_Rate;
    run.StopInput();
    platform::SetMessageBoxHook({});
}

} // namespace

// Mode 0 on one channel, mode 2 (both channels, the program's own) and
// mode 12 (transfer function and coherence, the heaviest).
BENCHMARK(BM_AcquisitionStep)
    ->Args({0, 1})
    ->Args({2, 2})
    ->Args({12, 2})
    ->ArgNames({"mode", "channels"})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    return RunQtBenchmarks(argc, argv, "--rate=", [](const char* value) { g_Rate = static_cast<std::uint32_t>(std::strtoul(value, nullptr, 10)); });
}
