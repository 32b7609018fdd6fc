// Times TFFT::Forward beside FFTW's real transforms on the same sizes: the
// double-precision plan (FFTW_MEASURE), like for like since ours computes
// in double, and the single-precision plans. Each is repeated in random
// interleaved order (a shared machine's load swings from one run to the
// next), and the ratios printed at the end are of the medians.
//
// Output names are BM_TFFT/N, BM_FFTW_DOUBLE_MEASURE/N, BM_FFTW_MEASURE/N
// and BM_FFTW_ESTIMATE/N so runs can be compared by script. Defaults: 15
// repetitions, interleaved; any --benchmark_* flag given overrides them.

#include "engine/TFFT.h"

#include <benchmark/benchmark.h>
#include <fftw3.h>

#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kSizes[] = {1024, 8192, 65536};

std::vector<float> NoiseBlock(std::size_t N)
{
    std::mt19937 generator(7);
    std::uniform_real_distribution<float> uniform(-1.0f, 1.0f);
    std::vector<float> block(N);
    for (float& v : block)
        v = uniform(generator);
    return block;
}

void BM_TFFT(benchmark::State& state)
{
    const auto N = static_cast<std::uint32_t>(state.range(0));
    const std::vector<float> input = NoiseBlock(N);
    std::vector<float> work(N);
    const TFFT fft(N);
    for (auto _ : state) {
        // The transform works in place, so each pass starts from the same block.
        std::copy(input.begin(), input.end(), work.begin());
        fft.Forward(work.data());
        benchmark::DoNotOptimize(work.data());
        benchmark::ClobberMemory();
    }
}

void RunFftw(benchmark::State& state, unsigned flags)
{
    const auto N = static_cast<int>(state.range(0));
    const std::vector<float> input = NoiseBlock(N);
    float* in = fftwf_alloc_real(N);
    fftwf_complex* out = fftwf_alloc_complex(N / 2 + 1);
    fftwf_plan plan = fftwf_plan_dft_r2c_1d(N, in, out, flags);
    for (auto _ : state) {
        std::copy(input.begin(), input.end(), in);
        fftwf_execute(plan);
        benchmark::DoNotOptimize(out);
        benchmark::ClobberMemory();
    }
    fftwf_destroy_plan(plan);
    fftwf_free(out);
    fftwf_free(in);
}

void BM_FFTW_DOUBLE_MEASURE(benchmark::State& state)
{
    const auto N = static_cast<int>(state.range(0));
    const std::vector<float> block = NoiseBlock(N);
    double* in = fftw_alloc_real(N);
    fftw_complex* out = fftw_alloc_complex(N / 2 + 1);
    fftw_plan plan = fftw_plan_dft_r2c_1d(N, in, out, FFTW_MEASURE);
    for (auto _ : state) {
        std::copy(block.begin(), block.end(), in);
        fftw_execute(plan);
        benchmark::DoNotOptimize(out);
        benchmark::ClobberMemory();
    }
    fftw_destroy_plan(plan);
    fftw_free(out);
    fftw_free(in);
}

void BM_FFTW_MEASURE(benchmark::State& state) { RunFftw(state, FFTW_MEASURE); }
void BM_FFTW_ESTIMATE(benchmark::State& state) { RunFftw(state, FFTW_ESTIMATE); }

void ApplySizes(benchmark::internal::Benchmark* benchmark)
{
    for (int N : kSizes)
        benchmark->Arg(N);
}

BENCHMARK(BM_TFFT)->Apply(ApplySizes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FFTW_DOUBLE_MEASURE)->Apply(ApplySizes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FFTW_MEASURE)->Apply(ApplySizes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FFTW_ESTIMATE)->Apply(ApplySizes)->Unit(benchmark::kMicrosecond);

// Collects each run's time per iteration so the ratios can be printed at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        // The median of the repetitions when there are some, else the one run.
        for (const Run& run : runs) {
            if (run.error_occurred)
                continue;
            const std::string name = run.run_name.str();
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                times_[name] = run.GetAdjustedRealTime();
            else if (run.run_type == Run::RT_Iteration && run.repetitions <= 1)
                times_[name] = run.GetAdjustedRealTime();
        }
    }

    void PrintRatios() const
    {
        std::printf("\nRatio of time per transform (medians), TFFT / FFTW:\n");
        for (int N : kSizes) {
            // Appended: "/" + std::string trips a false -Wrestrict in GCC 12 at -O3.
            const std::string suffix = std::string(1, '/').append(std::to_string(N));
            const auto ours = times_.find("BM_TFFT" + suffix);
            const auto dbl = times_.find("BM_FFTW_DOUBLE_MEASURE" + suffix);
            const auto measure = times_.find("BM_FFTW_MEASURE" + suffix);
            const auto estimate = times_.find("BM_FFTW_ESTIMATE" + suffix);
            if (ours == times_.end() || dbl == times_.end() || measure == times_.end() || estimate == times_.end())
                continue;
            std::printf("N = %5d: %.2f x double FFTW_MEASURE, %.2f x float FFTW_MEASURE, %.2f x float FFTW_ESTIMATE\n",
                        N, ours->second / dbl->second, ours->second / measure->second,
                        ours->second / estimate->second);
        }
    }

private:
    std::map<std::string, double> times_;
};

} // namespace

int main(int argc, char** argv)
{
    // Interleaved repetitions unless the command line says otherwise.
    std::vector<char*> args(argv, argv + argc);
    bool ownFlags = false;
    for (int i = 1; i < argc; ++i)
        ownFlags = ownFlags || std::string(argv[i]).rfind("--benchmark_repetitions", 0) == 0;
    std::string repetitions = "--benchmark_repetitions=15";
    std::string interleave = "--benchmark_enable_random_interleaving=true";
    std::string aggregates = "--benchmark_report_aggregates_only=true";
    if (!ownFlags) {
        args.push_back(repetitions.data());
        args.push_back(interleave.data());
        args.push_back(aggregates.data());
    }
    argc = static_cast<int>(args.size());
    argv = args.data();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
