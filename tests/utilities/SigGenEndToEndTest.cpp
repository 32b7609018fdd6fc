// The generator window's signals played through the simulated DAQ module's
// output, heard on its input and analysed by the run control, as when the
// operator opens the generator and presses Run in the main window: the
// program's own audio system, a frame that couples the two as the main
// frame does, and the run control's other services faked.

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cmath>
#include <memory>
#include <vector>

#include "app/core/AsioAudioSystem.h"
#include "app/core/TProcessingObjects.h"
#include "app/core/TRunControl.h"
#include "audio/AsioDrivers.h"
#include "audio/ShippedDriverIds.h"
#include "drivers/daqsim/DaqSimControl.h"
#include "platform/MessageBox.h"
#include "platform/Registry.h"
#include "tests/app_core/RunTestSupport.h"
#include "tests/utilities/SigGenWindowTestSupport.h"
#include "utilities/CSigGen.h"
#include "utilities/siggenlogic/TSigGenPlayRules.h"

namespace {

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

// A 48 kHz stereo 16-bit analysis of 4096 lines, uncalibrated dB, on the
// simulated module at its power-up state: firmware stopped, the 0.625 V
// input range, which matches its 0.625 V full-scale output, so the loop has
// no gain.
class SigGenEndToEnd : public testing::Test {
protected:
    SigGenEndToEnd()
    {
        settings.SoundCardDriverMode = 1;
        settings.m_OutputDevice = 0;
        if (void* plugin = dlopen(DAQSIM_PLUGIN, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE)) {
            if (const auto control = reinterpret_cast<DaqSimControlFunction>(dlsym(plugin, kDaqSimControlName)))
                control()->Reset();
            dlclose(plugin);
        }
        platform::SetRegistry(&registry);
        const std::string key = "software\\asio\\100 daqsim";
        registry.SetValue(platform::RegistryHive::LocalMachine, key, "clsid", kDaqSimDriverClassId);
        registry.SetValue(platform::RegistryHive::LocalMachine, key, "description", kDaqSimDriverName);
        registry.SetValue(platform::RegistryHive::ClassesRoot,
                          std::string("clsid\\") + kDaqSimDriverClassId + "\\InprocServer32", "", DAQSIM_PLUGIN);
        frame.run = &run;
    }
    ~SigGenEndToEnd() override
    {
        run.OnStop();
        frame.window = nullptr;
        window.reset();
        run.ReleaseInputPort();
        DeleteAsioDrivers();
        platform::SetRegistry(nullptr);
    }

    siggen_window_test::MessageCapture capture;
    platform::Registry registry;
    FrameSettings settings = run_test::TestSettings();
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

} // namespace

TEST_F(SigGenEndToEnd, ATonePlaysWhileTheAnalyzerRunsAndReadsAtItsLevel)
{
    settings.SigGenChannel[0].SigType = kSigTone1kHz;
    settings.SigGenChannel[1].SigType = kSigTone1kHz;
    settings.SigGenOutput.OutputUnits = 0;
    settings.SigGenOutput.OutputLevel = -6.0f;
    settings.SigGenOutput.OutputLevelR = -6.0f;
    window = std::make_unique<CSigGen>(&frame, nullptr);
    frame.window = window.get();
    ASSERT_TRUE(window->Create(QPoint(0, 0)) && siggen_window_test::WaitForBuildShown(*window));

    ASSERT_TRUE(run.StartInput());
    EXPECT_TRUE(window->IsPlaying()) << "the analyzer's start plays the open generator";
    ASSERT_TRUE(siggen_window_test::WaitUntil([&] {
        run.ProcessInputTick();
        return run.GetFrameCounter() >= 12;
    }));
    for (int channel = 0; channel < 2; ++channel) {
        const SpectralData& shown = *processing.GetDisplayData(channel);
        const run_test::Peak peak = run_test::FindPeak(shown);
        EXPECT_NEAR(peak.frequency, 1000.0, shown.GetLineSpacing()) << channel;
        // The module's output and input ranges match: −6 dBFS out, −6 dB in.
        EXPECT_NEAR(peak.level, -6.0, 0.3) << channel;
    }

    // The generator's own Run is refused meanwhile; its Stop stops the analyzer.
    window->StopOutput();
    window->OnRunButton();
    EXPECT_FALSE(window->IsPlaying());
    ASSERT_FALSE(capture.messages.empty());
    EXPECT_EQ(capture.messages.back().text, TSigGenPlayRules::kAsioRunningMessage);
    window->StartGenerator();
    window->StopGenerator();
    EXPECT_FALSE(run.IsRunning());
    EXPECT_FALSE(window->IsPlaying());
}
