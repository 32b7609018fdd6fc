#pragma once
// Fakes for every service the run control uses, and a harness that wires
// them to a small, fast analysis (48 kHz, 4096 lines, two 16-bit channels).
// The fakes write what they are asked into one event list, so a test can
// check the order of things across services.

#include <cmath>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/core/RunServices.h"
#include "app/core/TProcessingObjects.h"
#include "app/core/TRunControl.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "settings/FrameSettings.h"

namespace run_test {

using Events = std::vector<std::string>;

// What every fake shares: the event list it writes to. Writing succeeds.
struct Logged {
    explicit Logged(Events& events) : events(events) {}
    bool Log(const std::string& event)
    {
        events.push_back(event);
        return true;
    }
    Events& events;
};

// Drives the platform clock (which the spectra's peak hold reads) and the
// run control's clock alike.
struct FakeClock final : platform::Clock, RunClock {
    double SteadySeconds() const override { return steady; }
    std::chrono::system_clock::time_point Now() const override
    {
        return wallStart + std::chrono::duration_cast<std::chrono::system_clock::duration>(
                               std::chrono::duration<double>(steady - 1000.0));
    }
    double TimeOfDaySeconds() const override { return dayStartSeconds + steady - 1000.0; }
    void Sleep(std::uint32_t milliseconds) override
    {
        sleeps.push_back(milliseconds);
        Advance(milliseconds / 1000.0);
    }
    void Advance(double seconds) { steady += seconds; }

    double steady = 1000.0;
    // Local time of day when the steady counter reads 1000 s.
    double dayStartSeconds = 43200.0;
    std::chrono::system_clock::time_point wallStart = std::chrono::system_clock::from_time_t(1'700'000'000);
    std::vector<std::uint32_t> sleeps;
};

// What one input channel hears.
struct ChannelSignal {
    enum Kind { kSilence, kTone, kNoise };
    Kind kind = kSilence;
    double frequency = 0.0;
    double fraction = 0.0;  // of full scale: tone amplitude or noise RMS
    unsigned seed = 1;      // equal seeds give identical noise
    // Steady seconds; when until > from the signal sounds only in [from, until).
    double from = 0.0;
    double until = 0.0;
    bool SoundsAt(double t) const { return !(until > from) || (t >= from && t < until); }
};

struct InputBehaviour {
    bool openOk = true;
    bool rateOk = true;
    bool startOk = true;
    bool isDaq = false;
    std::int32_t available = 1 << 20;
    ChannelSignal left;
    ChannelSignal right;
    // Unset: the port cannot tell how the device delivers.
    std::optional<SoundInputPort::DeliveryState> delivery;
    // False: no new buffer arrives while the clock runs on.
    bool delivering = true;
    // The clock time each read takes (a slow machine); new sound arrives meanwhile.
    double secondsPerRead = 0.0;
    // Set: nothing new arrives once this many reads were made.
    std::optional<int> lastDeliveringRead;
    // Frames the driver counts lost as it stops: it was held up until then.
    std::int64_t framesLostByStop = 0;
};

// Delivers buffers of 512 frames as the clock runs, each block ending at the
// sample the clock has reached, as a driver's ring would have it.
struct FakeInput final : SoundInputPort, Logged {
    FakeInput(const InputBehaviour& behaviour, FakeClock& clock, Events& events)
        : Logged(events), behaviour(behaviour), clock(clock) {}
    ~FakeInput() override { Log("input.deleted"); }
    bool Open(const TWaveFormat& f) override
    {
        Log("input.open");
        format = f;
        return behaviour.openOk;
    }
    void Close() override { Log("input.close"); }
    bool SetFormat(const TWaveFormat& f) override
    {
        format = f;
        return behaviour.rateOk;
    }
    bool IsSampleRateSupported(const TWaveFormat&) override { return behaviour.rateOk; }
    bool IsQuarnDAQ() const override { return behaviour.isDaq; }
    void Stop() override
    {
        Log("input.stop");
        if (behaviour.delivery)
            behaviour.delivery->FramesLost += std::exchange(behaviour.framesLostByStop, 0);
    }
    bool PrepareInput(TWaveFile* file, std::uint32_t length, TriggerOpts*) override
    {
        Log("input.prepare");
        recording = file;
        blockLength = length;
        return true;
    }
    bool Start() override { return Log("input.start") && behaviour.startOk; }
    std::int32_t GetSamplesAvailable() override { return behaviour.available; }
    std::uint64_t GetFramesDelivered() override
    {
        if (behaviour.delivering && !(behaviour.lastDeliveringRead && reads >= *behaviour.lastDeliveringRead))
            delivered = Clock() / 512 * 512;
        return delivered;
    }
    bool ReadLatest(std::uint32_t n, std::int32_t* left, std::int32_t* right) override;
    std::optional<DeliveryState> GetDeliveryState() override { return behaviour.delivery; }
    std::string GetDeviceName() override { return "Test Device"; }

    InputBehaviour behaviour;
    FakeClock& clock;
    TWaveFormat format;
    TWaveFile* recording = nullptr;
    std::uint32_t blockLength = 0;
    int reads = 0;
    std::uint64_t delivered = 0;

    std::uint64_t Clock() const { return static_cast<std::uint64_t>(clock.steady * format.SamplingRate); }
};

struct OutputBehaviour {
    bool openOk = true;
    bool rateOk = true;
};

struct FakeOutput final : SoundOutputPort, Logged {
    FakeOutput(const OutputBehaviour& behaviour, Events& events) : Logged(events), behaviour(behaviour) {}
    ~FakeOutput() override { Log("output.deleted"); }
    bool Open(const TWaveFormat&) override { return behaviour.openOk; }
    void Close() override {}
    bool SetFormat(const TWaveFormat&) override { return true; }
    bool IsSampleRateSupported(const TWaveFormat&) override { return behaviour.rateOk; }
    bool IsQuarnDAQ() const override { return false; }
    void Stop() override { Log("output.stop"); }
    bool PreparePlayback(TWaveData*, bool loop, std::int64_t first, std::int64_t end) override
    {
        return Log("output.prepare " + std::to_string(loop) + " " + std::to_string(first) + " " + std::to_string(end));
    }
    bool Start() override { return Log("output.start"); }

    OutputBehaviour behaviour;
};

// The DAQ module is device 3.
struct FakeAudio final : AudioSystem, Logged {
    FakeAudio(FakeClock& clock, Events& events) : Logged(events), clock(clock) {}
    std::unique_ptr<SoundInputPort> CreateInput(int device, int driverMode) override
    {
        Log("input.create " + std::to_string(device) + " " + std::to_string(driverMode));
        auto port = std::make_unique<FakeInput>(input, clock, events);
        lastInput = port.get();
        return port;
    }
    std::unique_ptr<SoundOutputPort> CreateOutput(int device, int driverMode) override
    {
        Log("output.create " + std::to_string(device) + " " + std::to_string(driverMode));
        return std::make_unique<FakeOutput>(output, events);
    }
    int GetInputDeviceCount() override { return deviceCount; }
    int FindDaqInputDevice() override { return 3; }

    InputBehaviour input;
    OutputBehaviour output;
    int deviceCount = 1;
    FakeInput* lastInput = nullptr;
    FakeClock& clock;
};

struct FakeDaq final : DaqControl, Logged {
    using Logged::Logged;
    void Reopen() override { Log("daq.reopen"); }
    bool ConfigureInput(const DaqOpts&, int in, int, bool keep) override
    {
        return Log("daq.configure " + std::to_string(in) + " " + std::to_string(keep));
    }
};

struct FakeTimer final : AcquisitionTimer, Logged {
    using Logged::Logged;
    void Start(std::uint32_t intervalMs) override
    {
        Log("timer.start " + std::to_string(intervalMs));
        armed = true;
        interval = intervalMs;
    }
    void Stop() override
    {
        Log("timer.stop");
        armed = false;
    }
    bool armed = false;
    std::uint32_t interval = 0;
};

struct FakeObserver final : RunObserver, Logged {
    using Logged::Logged;
    void UpdateRunState() override { Log("runstate"); }
    void UpdateStatus(StatusMode mode) override { Log("status " + std::to_string(int(mode))); }
    void SetPlotsActive() override { Log("plots.active"); }
    void SetPlotsIdle() override { Log("plots.idle"); }
    void UpdateUtilityWindows() override { ++viewerUpdates; }
    int viewerUpdates = 0;
};

struct FakePlots final : PlotViews, Logged {
    using Logged::Logged;
    bool HasPlot(int) const override { return true; }
    void SetSpectralData(int channel, SpectralData* trace1, SpectralData* trace2) override
    {
        bound[channel == 1] = {trace1, trace2};
    }
    void ResetView(int channel) override { Log("plot.reset " + std::to_string(channel)); }
    void SetTimeAxis(int, bool) override {}
    void UpdateDisplay(int channel, double blockTime) override { updates.emplace_back(channel, blockTime); }

    std::pair<SpectralData*, SpectralData*> bound[2] = {};
    std::vector<std::pair<int, double>> updates;
};

struct FakeUtilities final : RunUtilities, Logged {
    using Logged::Logged;
    bool HasGenerator() const override { return generator; }
    bool IsGeneratorPlaying() const override { return generatorPlaying; }
    void StartGenerator() override
    {
        Log("gen.start");
        generatorPlaying = true;
    }
    void StopGeneratorOutput() override
    {
        Log("gen.stop");
        generatorPlaying = false;
    }
    bool HasRecorder() const override { return recorder; }
    std::uint32_t GetRecorderState() const override { return recorderState; }
    void SetRecorderState(std::uint32_t state) override { recorderState = state; }
    TWaveFile* GetRecorderWaveFile() override { return wave; }
    void UpdateRecorderPosition() override {}
    void UpdateRecorderButtons() override {}

    bool generator = false;
    bool generatorPlaying = false;
    bool recorder = false;
    std::uint32_t recorderState = 0;
    TWaveFile* wave = nullptr;
};

struct FakeDataLog final : DataLogControl, Logged {
    FakeDataLog(DataLogSettings&, Events& events) : Logged(events) {}
    void StartDataLogging() override { Log("log.start"); }
    void StopDataLogging() override { Log("log.stop"); }
    void OpenLogFiles() override { Log("log.open"); }
    void CloseLogFiles() override { Log("log.close"); }
    // Records fall due on whole seconds of the time of day, as on a log
    // with a one-second interval.
    std::optional<double> WriteLogRecord(int channel, double timeOfDay) override
    {
        records.emplace_back(channel, timeOfDay);
        double& next = nextDue[channel == 0 ? 0 : 1];
        if (next < 0.0)
            next = std::floor(timeOfDay) + 1.0;
        if (next > timeOfDay)
            return std::nullopt;
        next = std::floor(timeOfDay) + 1.0;
        return std::floor(timeOfDay);
    }
    std::optional<RecordSchedule> GetRecordSchedule(int channel) const override
    {
        const double next = nextDue[channel == 0 ? 0 : 1];
        return next < 0.0 ? std::nullopt : std::optional<RecordSchedule>(RecordSchedule{next, 1.0});
    }

    std::vector<std::pair<int, double>> records;
    double nextDue[2] = {-1.0, -1.0};
};

// The settings the harness starts from: mode 2, uncalibrated dB display.
FrameSettings TestSettings();

struct Harness {
    explicit Harness(FrameSettings initial = TestSettings());
    ~Harness()
    {
        platform::SetMessageBoxHook({});
        platform::SetClock(nullptr);
    }

    // Advances the clock by `step` seconds before each acquisition step
    // (by default 25 ms, more than a driver buffer, so each step finds new
    // frames), on the harness's run or on `other`.
    int Ticks(int count, double step = 0.025, TRunControl* other = nullptr);
    // Events since the last call, keeping only those whose text starts with
    // one of the prefixes.
    Events Take(const std::vector<std::string>& prefixes);
    FakeInput& Input() { return *audio.lastInput; }

    Events events;
    std::vector<std::string> messages;
    FrameSettings settings;
    FakeClock clock;
    FakeAudio audio{clock, events};
    FakeDaq daq{events};
    FakeTimer timer{events};
    FakeObserver observer{events};
    FakePlots plots{events};
    FakeUtilities utilities{events};
    FakeDataLog dataLog{settings.DataLog, events};
    TProcessingObjects processing{settings, plots};
    TRunControl run{settings, processing, RunServices{timer, audio, daq, clock, observer, plots, utilities, dataLog}};
};

// The strongest line of an object over its analysis range.
struct Peak {
    float frequency = 0.0f;
    float level = SpectralData::kNoValue;
};
inline Peak FindPeak(const SpectralData& data)
{
    Peak peak;
    data.FindPeak(data.GetStartBin(), data.GetEndBin(), &peak.frequency, &peak.level);
    return peak;
}

// Mean of a function object's values (transfer function, coherence) from
// the lower limit to the last averaged line.
double MeanOfFunction(const SpectralData& data);

} // namespace run_test
