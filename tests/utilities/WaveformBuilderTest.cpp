// The building thread: completion, progress, cancel, rebuild and teardown
// (run under ASan and TSan), allocation failure, and the output format.

#include <gtest/gtest.h>

#include <atomic>
#include <utility>
#include <string>
#include <tuple>
#include <thread>

#include "platform/ZeroFilledArray.h"
#include "tests/utilities/SigGenTestSupport.h"
#include "utilities/siggen/TWaveformBuild.h"
#include "utilities/siggen/TWaveformBuilder.h"

using namespace siggen_test;

namespace {

// Records what the building thread reports (read after the build is joined);
// once given the builder, the first progress report waits for the cancel,
// so a build is surely running.
class Recorder : public TSigGenBuildListener {
public:
    void OnBuildProgress(int percent) override
    {
        progress.push_back(percent);
        if (builder != nullptr && !started.exchange(true))
            while (!builder->IsCancelRequested())
                std::this_thread::yield();
    }
    void OnBuildFinished(const TSigGenBuildResult& result) override
    {
        outcomes.emplace_back(result.BuildId, result.Status);
        messages = result.Messages;
    }

    std::vector<int> progress;
    std::vector<std::pair<std::uint64_t, TSigGenBuildStatus>> outcomes;
    std::vector<std::string> messages; // of the last build
    TWaveformBuilder* builder = nullptr;
    std::atomic<bool> started{false};
};

// Starts a long build whose first progress report waits for the cancel.
std::uint64_t StartHeld(Recorder& recorder, TWaveformBuilder& builder)
{
    recorder.builder = &builder;
    const std::uint64_t id = builder.StartBuild(Request(kSigWhiteNoise, 48000, 2, 2));
    while (!recorder.started)
        std::this_thread::yield();
    return id;
}

} // namespace

TEST(WaveformBuilder, ABuildReportsProgressPerChannelAndCompletesEvenWithoutMemory)
{
    Recorder recorder;
    TWaveformBuilder builder(&recorder);
    const std::uint64_t id = builder.StartBuild(Request(kSigTone1kHz, 48000, 2, 2));
    EXPECT_FALSE(builder.WaitForBuild());
    builder.JoinBuild();
    EXPECT_FALSE(builder.IsBuilding());
    EXPECT_EQ(recorder.outcomes, (std::vector{std::pair(id, TSigGenBuildStatus::Completed)}));
    // 480 reports a channel: 0, then every 1000 of 480000 frames (the second
    // is 1000 × 100 / 480000); the right channel starts again.
    ASSERT_EQ(recorder.progress.size(), 960u);
    EXPECT_EQ(At(recorder.progress, {0, 1, 479, 480}), (std::vector{0, 0, 99, 0}));

    TWaveData* wave = builder.GetWaveData();
    ASSERT_NE(wave, nullptr);
    EXPECT_EQ(std::tuple(wave->GetNumFrames(), wave->GetChannels()), std::tuple(480000u, 2u));

    // An allocation failure still completes, with its message and no buffer.
    platform::FailNextAllocations(1);
    builder.StartBuild(Request(kSigTone1kHz));
    builder.JoinBuild();
    platform::FailNextAllocations(0);
    ASSERT_EQ(recorder.outcomes.size(), 2u);
    EXPECT_EQ(recorder.outcomes[1].second, TSigGenBuildStatus::OutOfMemory);
    const std::string message = "Signal Generator - insufficient memory available to build selected waveform.";
    EXPECT_EQ(recorder.messages, std::vector<std::string>{message});
    EXPECT_EQ(builder.GetWaveData(), nullptr);
    EXPECT_FALSE(builder.IsBuilding());
}

TEST(WaveformBuilder, CancelRebuildAndTeardownWhileBuilding)
{
    // Cancel: the build stops and leaves no buffer.
    {
        Recorder recorder;
        TWaveformBuilder builder(&recorder);
        const std::uint64_t id = StartHeld(recorder, builder);
        EXPECT_TRUE(builder.IsBuilding());
        EXPECT_EQ(builder.GetWaveData(), nullptr) << "no buffer while the worker writes it";
        builder.CancelBuild();
        builder.JoinBuild();
        EXPECT_EQ(recorder.outcomes, (std::vector{std::pair(id, TSigGenBuildStatus::Cancelled)}));
        EXPECT_EQ(builder.GetWaveData(), nullptr);
    }
    // Rebuild: the first build is cancelled and joined before the second.
    {
        Recorder recorder;
        TWaveformBuilder builder(&recorder);
        const std::uint64_t first = StartHeld(recorder, builder);
        const std::uint64_t second = builder.StartBuild(Request(kSigSilence));
        builder.JoinBuild();
        EXPECT_EQ(recorder.outcomes, (std::vector{std::pair(first, TSigGenBuildStatus::Cancelled),
                                                    std::pair(second, TSigGenBuildStatus::Completed)}));
        ASSERT_NE(builder.GetWaveData(), nullptr);
        EXPECT_EQ(builder.GetWaveData()->GetNumFrames(), 48000u);
    }
    // Teardown: destroying the builder cancels and joins its build.
    Recorder recorder;
    std::uint64_t id = 0;
    {
        TWaveformBuilder builder(&recorder);
        id = StartHeld(recorder, builder);
    }
    EXPECT_EQ(recorder.outcomes, (std::vector{std::pair(id, TSigGenBuildStatus::Cancelled)}));
}

TEST(WaveformBuilder, OutputFollowsDriverLockLengthAndLevels)
{
    // ASIO runs no slower than 48000 Hz.
    TSigGenBuildRequest r = Request(kSigTone1kHz, 24000, 2, 2);
    r.SoundCardDriverMode = 1;
    const TSigGenOutputFormat f = TWaveformBuild::PreviewOutputFormat(r);
    EXPECT_EQ(std::tuple(f.SampleRate, f.Channels, f.BitsPerSample), std::tuple(48000u, 2u, 16u));
    r.SoundCardDriverMode = 0;
    EXPECT_EQ(TWaveformBuild::PreviewOutputFormat(r).SampleRate, 24000u);
    // Under ASIO the signal is built at the rate the device runs at: the
    // analyzer's rate times the input's decimation ratio (48000 / rate,
    // whole), or the rate itself from 48000 Hz up and where the ratio is 1.
    r.SoundCardDriverMode = 1;
    for (const auto& [analyzer, built] : {std::pair{8000u, 48000u}, std::pair{4000u, 48000u},
                                          std::pair{22050u, 44100u}, std::pair{11025u, 44100u},
                                          std::pair{44100u, 44100u}, std::pair{32000u, 32000u},
                                          std::pair{192000u, 192000u}}) {
        r.AnalyzerFormat = TWaveFormat(analyzer, 2, 2);
        EXPECT_EQ(TWaveformBuild::PreviewOutputFormat(r).SampleRate, built) << analyzer;
    }

    // Locked: one channel, as long as the left signal alone.
    r = Request(kSigIMD, 48000, 2, 2);
    r.Channel[1].SigType = kSigWhiteNoise;
    EXPECT_EQ(TWaveformBuild(r, nullptr).GetBufferFrames(), 2880000u);
    r.LockSignalGeneratorChannels = 1;
    const TWaveformBuild locked(r, nullptr);
    EXPECT_EQ(locked.GetOutputFormat().Channels, 1u);
    EXPECT_EQ(locked.GetBufferFrames(), 48000u);

    // An odd length is made even: a 441-frame one-shot pulse.
    r = Request(kSigPulse, 44100);
    r.Channel[0].Pulse.OneShotFlag = 1;
    EXPECT_EQ(TWaveformBuild(r, nullptr).GetBufferFrames(), 442u);

    // No level is silence, not full scale; the right channel has its own.
    r = Request(kSigTone1kHz, 48000, 2, 2);
    r.Output.OutputUnits = 1; // percent
    r.Output.OutputLevel = 0.0f;
    r.Output.OutputLevelR = 50.0f;
    const Built b = Build(r);
    EXPECT_EQ(CountOf(Channel(*b.Wave, 0), 0, b.Wave->GetNumFrames(), 0.0), int(b.Wave->GetNumFrames()));
    EXPECT_NEAR(RmsDb(Channel(*b.Wave, 1), 32767), Db(0.5) + kSineRmsDb, 0.01);
}
