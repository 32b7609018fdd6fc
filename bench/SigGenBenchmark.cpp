// Times the generator's build of every signal type at 192 kHz, stereo,
// 24-bit, on one core (the build runs directly on the benchmark's thread).
//
// The "x_realtime" counter is the length of the built signal over the time
// taken to build it: how many times faster than it plays. The target is 50
// for every type. Timed settings make the repeating types about ten seconds
// long; shaped signals and IMD are a second (their buffer is one), and
// multiple tones have all ten tones enabled, the heaviest case.

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include <unistd.h>

#include <benchmark/benchmark.h>

#include "audio/TWaveFile.h"
#include "settings/TextField.h"
#include "utilities/siggen/TWaveformBuild.h"

namespace {

constexpr std::uint32_t kRate = 192000;

std::shared_ptr<const TPinkWave> Pink()
{
    static const auto pink = [] {
        auto p = std::make_shared<TPinkWave>();
        p->LoadDefault();
        return p;
    }();
    return pink;
}

// Ten seconds of a stereo 24-bit file at the benchmark's rate, made once.
std::string UserFile()
{
    static const std::string path = [] {
        const std::string name = "siggen-bench-" + std::to_string(::getpid()) + ".wav";
        const auto file = std::filesystem::temp_directory_path() / name;
        TWaveFile wave(std::uint64_t{10} * kRate, TWaveFormat(kRate, 2, 3));
        for (std::uint64_t n = 0; n < wave.GetNumFrames(); ++n)
            wave.PutSample(static_cast<std::int32_t>(n % 1000), n, 0);
        wave.SetFileName(file.string());
        wave.Save();
        return file.string();
    }();
    return path;
}

TSigGenBuildRequest RequestFor(std::int32_t type)
{
    TSigGenBuildRequest r;
    r.AnalyzerFormat = TWaveFormat(kRate, 2, 3);
    r.SoundCardDriverMode = 1;
    r.Output.OutputLevel = -6.0f;
    r.Output.OutputLevelR = -6.0f;
    for (SigGenChannelSettings& s : r.Channel) {
        s.SigType = type;
        s.NoiseBurst.CycleTimeMsec = 10000;
        s.NoiseBurst.BurstTimeMsec = 5000;
        s.ToneBurst.CycleTimeMsec = 10000;
        s.ToneBurst.BurstTimeMsec = 5000;
        s.FreqSweep = {20.0f, 20000.0f, 10000, 2, 0, 0};
        s.LevelSweep.TimeMSec = 10000;
        s.FreqStep.StepType = 2;
        s.FreqStep.FStartHz = 20.0f;
        s.FreqStep.FStopHz = 20000.0f;
        s.FreqStep.DwellTimeMSec = 322; // 31 third-octave steps: 10 s
        for (ToneSettings& tone : s.Tones)
            tone.ToneEnable = 1;
        s.UpdateToneAmplitudes();
        if (type == kSigUserWave)
            SetTextField(s.UserDefined.WaveFileName, UserFile());
    }
    return r;
}

void BM_BuildSignal(benchmark::State& state)
{
    const auto type = static_cast<std::int32_t>(state.range(0));
    const TSigGenBuildRequest request = RequestFor(type);
    std::atomic<bool> cancel{false};
    double seconds = 0.0;
    for (auto _ : state) {
        TWaveformBuild build(request, Pink());
        TSigGenBuildResult result;
        std::unique_ptr<TWaveData> wave = build.Run(cancel, nullptr, result);
        if (!wave) {
            state.SkipWithError("the build failed");
            break;
        }
        seconds += static_cast<double>(wave->GetNumFrames()) / wave->GetSampleRate();
        benchmark::DoNotOptimize(wave->GetBuffer());
    }
    state.counters["x_realtime"] = benchmark::Counter(seconds, benchmark::Counter::kIsRate);
}

const char* const kNames[] = {"WhiteNoise", "PinkNoise", "NoiseBurst", "Tone1kHz",  "MultipleTones",
                              "ToneBurst",  "IMD",       "FreqSweep",  "LevelSweep", "Sawtooth",
                              "Triangular", "Pulse",     "Square",     "UserWave",  "DTMF",
                              "Silence",    "FreqStep"};

void Types(benchmark::internal::Benchmark* b)
{
    for (int type = 0; type < 17; ++type) {
        if (type != kSigDTMF)
            b->Arg(type);
    }
    b->ArgNames({"SigType"});
}

} // namespace

BENCHMARK(BM_BuildSignal)->Apply(Types)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    std::printf("SigType:");
    for (int type = 0; type < 17; ++type)
        std::printf(" %d %s;", type, kNames[type]);
    std::printf("\n");
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove(UserFile());
    return 0;
}
