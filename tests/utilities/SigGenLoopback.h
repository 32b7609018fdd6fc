#pragma once
// The generator window and the run control on the simulated DAQ module:
// the program's own audio system, a frame that couples the two as the main
// frame does, and the run control's other services faked.

#include <memory>
#include <vector>

#include "app/core/AsioAudioSystem.h"
#include "app/core/TProcessingObjects.h"
#include "app/core/TRunControl.h"
#include "platform/MessageBox.h"
#include "platform/Registry.h"
#include "tests/app_core/RunTestSupport.h"
#include "utilities/CSigGen.h"

namespace siggen_loopback {

// What the main frame is to the generator window and to the run.
class LoopbackFrame final : public SigGenFrame, public RunUtilities {
public:
    LoopbackFrame(FrameSettings& settings, AudioSystem& audio) : settings(settings), audio(audio) {}

    FrameSettings& GetSettings() override { return settings; }
    bool IsAnalyzerRunning() const override { return run != nullptr && run->IsRunning(); }
    void StopAnalyzer() override { run->OnStop(); }
    std::unique_ptr<SoundOutputPort> CreateOutputPort(int device, int driverMode) override
    {
        return audio.CreateOutput(device, driverMode);
    }
    ProgressSignals* GetProgressSignals() override { return nullptr; }
    void ShowHelp(int) override {}

    bool HasGenerator() const override { return window != nullptr; }
    bool IsGeneratorPlaying() const override { return window != nullptr && window->IsPlaying(); }
    void StartGenerator() override { window->StartGenerator(); }
    void StopGeneratorOutput() override { window->StopOutput(); }
    bool HasRecorder() const override { return false; }
    std::uint32_t GetRecorderState() const override { return 0; }
    void SetRecorderState(std::uint32_t) override {}
    TWaveFile* GetRecorderWaveFile() override { return nullptr; }
    void UpdateRecorderPosition() override {}
    void UpdateRecorderButtons() override {}

    FrameSettings& settings;
    AudioSystem& audio;
    TRunControl* run = nullptr;
    CSigGen* window = nullptr;
};

class Loopback {
public:
    // A 48 kHz stereo 16-bit analysis of 4096 lines, uncalibrated dB.
    explicit Loopback(FrameSettings initial);
    ~Loopback();

    // Opens the generator window and waits for its signal.
    bool OpenGenerator();
    // Runs acquisition until `blocks` results were processed, at most one
    // every spacingMs: the run analyses the latest block whether or not the
    // driver has delivered new samples since.
    bool Acquire(std::uint32_t blocks, int spacingMs = 0);

    std::vector<platform::MessageBoxRequest> messages;
    platform::Registry registry;
    FrameSettings settings;
    run_test::Events events;
    SystemRunClock clock;
    AsioAudioSystem audio;
    run_test::FakeDaq daq{events};
    run_test::FakeTimer timer{events};
    run_test::FakeObserver observer{events};
    run_test::FakePlots plots{events};
    run_test::FakeDataLog dataLog{settings.DataLog, events};
    LoopbackFrame frame{settings, audio};
    TProcessingObjects processing{settings, plots};
    TRunControl run{settings, processing, RunServices{timer, audio, daq, clock, observer, plots, frame, dataLog}};
    std::unique_ptr<CSigGen> window;
};

} // namespace siggen_loopback
