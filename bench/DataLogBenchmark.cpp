// Times the data log's work inside one acquisition step: a record with every
// measurement id selected (lists of every line included), a record of the
// ids the settings sheet offers, and a step where no record is due. The
// "tick_share" counter is the time as a share of the 10 ms acquisition tick.
//
// Records go to a real file in a temporary folder, or, for "_format_only",
// to a write call that discards them (the text building alone).

#include "app/core/PlotViews.h"
#include "app/core/RunClock.h"
#include "app/core/RunObserver.h"
#include "app/core/TDataLog.h"
#include "app/core/TProcessingObjects.h"
#include "app/core/TRunControl.h"
#include "engine/SpectralData.h"
#include "platform/MessageBox.h"
#include "settings/FrameSettings.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <unistd.h>

namespace {

struct Quiet final : RunObserver, PlotViews {
    void UpdateRunState() override {}
    void UpdateStatus(StatusMode) override {}
    void SetPlotsActive() override {}
    void SetPlotsIdle() override {}
    void UpdateUtilityWindows() override {}
    bool HasPlot(int) const override { return false; }
    void SetSpectralData(int, SpectralData*, SpectralData*) override {}
    void ResetView(int) override {}
    void SetTimeAxis(int, bool) override {}
    void UpdateDisplay(int, double) override {}
};

// A spectrum with a tone and a little noise, averaged and held.
void FillSpectrum(SpectralData& data)
{
    float* block = data.GetComplexBuffer();
    std::uint32_t seed = 1;
    for (std::uint32_t n = 0; n < data.GetFFTSize(); ++n) {
        seed = seed * 214013u + 2531011u;
        block[n] = 4e6f * std::sin(0.0523f * float(n)) + float((seed >> 16) & 0x7fff) - 16384.0f;
    }
    data.SetBlockTime(1.0);
    data.ComputeSpectrum();
    data.Average(false);
    data.UpdatePeakHold();
}

enum Selection { kEveryId, kSheetIds };

void RunRecords(benchmark::State& state, Selection selection, bool discard, bool due)
{
    platform::SetMessageBoxHook([](const platform::MessageBoxRequest&) { return platform::MessageResult::Yes; });
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("talvenor_datalog_bench_" + std::to_string(::getpid()));
    FrameSettings settings;  // the program's analysis: 65536-point blocks
    settings.Processing.ChannelProcessing = 0;
    settings.m_DataPathsInUse.Set(DataPaths::kLog, folder.string());
    LoggingOpts& opts = settings.DataLog.Channel[0];
    opts.Enable = 1;
    opts.bApplyThreshold = 0;
    opts.StartFreq = 100.0f;
    opts.StopFreq = 2000.0f;
    for (int id = 0; id < static_cast<int>(LoggingOpts::kDataItemCount); ++id)
        opts.DataItem[id] = selection == kEveryId || id == 0 || id == 1 || (id >= 25 && id <= 28);

    Quiet quiet;
    SystemRunClock clock;
    TProcessingObjects processing(settings, quiet);
    processing.BuildProcessing();
    TDataLog log(settings, processing, clock, quiet);
    if (discard)
        log.SetWriteCall([](int, const char*, std::size_t size) { return static_cast<long>(size); });
    log.StartDataLogging();
    // The benchmark measures the record, not the refilling after a reset.
    opts.bResetAverage = 0;
    opts.bResetPeakHold = 0;
    SpectralData& data = *processing.GetLoggingData(0);
    FillSpectrum(data);

    float t = 100.0f;
    log.WriteLogRecord(0, t);  // sets the first due time
    log.WriteLogRecord(0, t += 1.0f);  // the header
    double seconds = 0.0;
    for (auto _ : state) {
        t += due ? 1.0f : 0.001f;
        if (!due && t > 100.9f)
            t = 100.0f;
        const auto start = std::chrono::steady_clock::now();
        log.WriteLogRecord(0, t);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        seconds += took.count();
        state.SetIterationTime(took.count());
    }
    const double ms = seconds * 1000.0 / double(state.iterations());
    state.counters["ms"] = ms;
    state.counters["tick_share"] = ms / TRunControl::kFastIntervalMs;
    log.StopDataLogging();
    std::error_code error;
    std::filesystem::remove_all(folder, error);
    platform::SetMessageBoxHook({});
}

void BM_RecordEveryId(benchmark::State& state) { RunRecords(state, kEveryId, false, true); }
void BM_RecordEveryId_format_only(benchmark::State& state) { RunRecords(state, kEveryId, true, true); }
void BM_RecordSheetIds(benchmark::State& state) { RunRecords(state, kSheetIds, false, true); }
void BM_StepWithoutRecordDue(benchmark::State& state) { RunRecords(state, kEveryId, false, false); }

} // namespace

BENCHMARK(BM_RecordEveryId)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecordEveryId_format_only)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecordSheetIds)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StepWithoutRecordDue)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
