// Times TFFT::Forward beside FFTW's single-precision real transform on the
// same sizes, and prints the ratio ours / FFTW for each size.
//
// Output names are BM_TFFT/N, BM_FFTW_MEASURE/N and BM_FFTW_ESTIMATE/N so
// runs can be compared by script.

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

void BM_FFTW_MEASURE(benchmark::State& state) { RunFftw(state, FFTW_MEASURE); }
void BM_FFTW_ESTIMATE(benchmark::State& state) { RunFftw(state, FFTW_ESTIMATE); }

void ApplySizes(benchmark::internal::Benchmark* benchmark)
{
    for (int N : kSizes)
        benchmark->Arg(N);
}

BENCHMARK(BM_TFFT)->Apply(ApplySizes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FFTW_MEASURE)->Apply(ApplySizes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FFTW_ESTIMATE)->Apply(ApplySizes)->Unit(benchmark::kMicrosecond);

// Collects each run's time per iteration so the ratios can be printed at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration && run.error_occurred == false)
                times_[run.benchmark_name()] = run.GetAdjustedRealTime();
    }

    void PrintRatios() const
    {
        std::printf("\nRatio of time per transform, TFFT / FFTW:\n");
        for (int N : kSizes) {
            // Appended: "/" + std::string trips a false -Wrestrict in GCC 12 at -O3.
            const std::string suffix = std::string(1, '/').append(std::to_string(N));
            const auto ours = times_.find("BM_TFFT" + suffix);
            const auto measure = times_.find("BM_FFTW_MEASURE" + suffix);
            const auto estimate = times_.find("BM_FFTW_ESTIMATE" + suffix);
            if (ours == times_.end() || measure == times_.end() || estimate == times_.end())
                continue;
            std::printf("N = %5d: %.2f x FFTW_MEASURE, %.2f x FFTW_ESTIMATE\n", N,
                        ours->second / measure->second, ours->second / estimate->second);
        }
    }

private:
    std::map<std::string, double> times_;
};

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
