// Times the data log's work inside one acquisition step, which is what the
// acquisition (GUI) thread pays: a record with every measurement id selected
// (lists of every line included), a record of the ids the settings sheet
// offers, and a step where no record is due. The "tick_share" counter is the
// time as a share of the 10 ms acquisition tick. Between timed records the
// writer thread is let finish and the spectrum takes a new average (both
// untimed), so each record finds a free buffer and fresh results. While the
// writer works this thread sleeps; on a busy machine its caches go cold
// meanwhile, which "BM_CaptureEveryId" (the capture alone, repeated on one
// thread) leaves out.
//
// The writer thread's side is timed apart: "BM_WriterFormatEveryId" turns
// one captured record into its text, "BM_WriterRecordEveryId" hands a
// record over and waits until it is in the file (capture, text and write).

#include "app/core/DataLogMeasurements.h"
#include "app/core/DataLogRecord.h"
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
#include <ctime>
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

double ThreadCpuSeconds()
{
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

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

enum class Timed { kCall, kCallAndWrite };

void RunRecords(benchmark::State& state, Selection selection, Timed timed, bool due)
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
    double cpuSeconds = 0.0;
    for (auto _ : state) {
        t += due ? 1.0f : 0.001f;
        if (!due && t > 100.9f)
            t = 100.0f;
        // The thread clock is read outside the wall-clock window: it costs a
        // system call, more than a step without a record.
        const double cpuStart = ThreadCpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        log.WriteLogRecord(0, t);
        if (timed == Timed::kCallAndWrite)
            log.Flush();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        cpuSeconds += ThreadCpuSeconds() - cpuStart;
        seconds += took.count();
        state.SetIterationTime(took.count());
        if (timed == Timed::kCall && due)
            log.Flush();
        // The next record reads a new result, as in a run.
        if (due) {
            data.Average(false);
            data.UpdatePeakHold();
        }
    }
    const double ms = seconds * 1000.0 / double(state.iterations());
    state.counters["ms"] = ms;
    state.counters["tick_share"] = ms / TRunControl::kFastIntervalMs;
    // The calling thread's own CPU time: on a busy machine the wall time
    // also holds the time the thread waited for a core.
    state.counters["thread_cpu_ms"] = cpuSeconds * 1000.0 / double(state.iterations());
    log.StopDataLogging();
    std::error_code error;
    std::filesystem::remove_all(folder, error);
    platform::SetMessageBoxHook({});
}

void BM_RecordEveryId(benchmark::State& state) { RunRecords(state, kEveryId, Timed::kCall, true); }
void BM_RecordSheetIds(benchmark::State& state) { RunRecords(state, kSheetIds, Timed::kCall, true); }
void BM_StepWithoutRecordDue(benchmark::State& state) { RunRecords(state, kEveryId, Timed::kCall, false); }
void BM_WriterRecordEveryId(benchmark::State& state) { RunRecords(state, kEveryId, Timed::kCallAndWrite, true); }

struct EveryIdRecord {
    EveryIdRecord()
    {
        settings.Processing.ChannelProcessing = 0;
        processing.BuildProcessing();
        FillSpectrum(data());
        for (int id = 0; id < data_log_measurements::kCount; ++id) {
            if (data_log_measurements::HasColumn(source(), id))
                columns.push_back(id);
        }
        record.timeOfDay = 100.0f;
    }
    SpectralData& data() { return *processing.GetLoggingData(0); }
    data_log_measurements::Source source()
    {
        return {&data(), 100.0f, 2000.0f, settings.Markers[0].MarkerFreq};
    }

    FrameSettings settings;
    Quiet quiet;
    TProcessingObjects processing{settings, quiet};
    std::vector<int> columns;
    data_log_record::Snapshot record;
};

// The capture alone, on one thread after a new average: what the GUI
// thread does per record with every id, without the hand-over.
void BM_CaptureEveryId(benchmark::State& state)
{
    EveryIdRecord r;
    for (auto _ : state) {
        state.PauseTiming();
        r.data().Average(false);
        r.data().UpdatePeakHold();
        state.ResumeTiming();
        data_log_record::Capture(r.source(), r.columns, r.record);
    }
}

// The text of one record with every id, as the writer thread builds it
// from a fresh copy (readouts cache what they found in a copy).
void BM_WriterFormatEveryId(benchmark::State& state)
{
    EveryIdRecord r;
    std::string text;
    for (auto _ : state) {
        state.PauseTiming();
        data_log_record::Capture(r.source(), r.columns, r.record);
        state.ResumeTiming();
        text.clear();
        data_log_record::AppendLine(r.record, text);
        text += "\r\n";
        benchmark::DoNotOptimize(text.data());
    }
    state.counters["bytes"] = static_cast<double>(text.size());
}

} // namespace

BENCHMARK(BM_RecordEveryId)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RecordSheetIds)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StepWithoutRecordDue)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CaptureEveryId)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WriterFormatEveryId)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriterRecordEveryId)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
