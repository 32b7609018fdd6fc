#pragma once
// Fakes for every service the run control uses, and a harness that wires
// them to a small, fast analysis (48 kHz, 4096 lines, two 16-bit channels).
// The fakes write what they are asked into one event list, so a test can
// check the order of things across services.

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
#include "settings/FrameSettings.h"

namespace run_test {

using Events = std::vector<std::string>;

// Drives the platform clock (which the spectra's peak hold reads) and the
// run control's clock alike.
class FakeClock final : public platform::Clock, public RunClock {
public:
    double SteadySeconds() const override { return steady; }
    std::chrono::system_clock::time_point Now() const override;
    float TimeOfDaySeconds() const override { return static_cast<float>(dayStartSeconds + steady - 1000.0); }
    void Sleep(std::uint32_t milliseconds) override;
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
};

struct InputBehaviour {
    bool openOk = true;
    bool rateOk = true;
    bool startOk = true;
    bool isDaq = false;
    std::int32_t available = 1 << 20;
    // The driver delivers buffers of this many frames as the clock runs.
    std::uint32_t bufferFrames = 512;
    ChannelSignal left;
    ChannelSignal right;
    // Unset: the port cannot tell how the device delivers.
    std::optional<SoundInputPort::DeliveryState> delivery;
    std::string deviceName = "Test Device";
};

class FakeInput final : public SoundInputPort {
public:
    FakeInput(const InputBehaviour& behaviour, FakeClock& clock, Events& events)
        : behaviour(behaviour), clock(clock), events(events) {}
    ~FakeInput() override { events.push_back("input.deleted"); }
    bool Open(const TWaveFormat& f) override;
    void Close() override { events.push_back("input.close"); }
    bool SetFormat(const TWaveFormat& f) override;
    bool IsSampleRateSupported(const TWaveFormat&) override { return behaviour.rateOk; }
    bool IsQuarnDAQ() const override { return behaviour.isDaq; }
    void Stop() override { events.push_back("input.stop"); }
    bool PrepareInput(TWaveFile* recording, std::uint32_t blockLength, TriggerOpts* trigger) override;
    bool Start() override;
    std::int32_t GetSamplesAvailable() override { return behaviour.available; }
    std::uint64_t GetFramesDelivered() override;
    bool ReadLatest(std::uint32_t n, std::int32_t* left, std::int32_t* right) override;
    std::optional<DeliveryState> GetDeliveryState() override { return behaviour.delivery; }
    std::string GetDeviceName() override { return behaviour.deviceName; }

    InputBehaviour behaviour;
    FakeClock& clock;
    Events& events;
    TWaveFormat format;
    TWaveFile* recording = nullptr;
    std::uint32_t blockLength = 0;
    int reads = 0;
    unsigned noiseBlock = 0;

private:
    void Synthesise(const ChannelSignal& signal, std::uint32_t n, std::int32_t* out, std::uint64_t end) const;
};

struct OutputBehaviour {
    bool openOk = true;
    bool rateOk = true;
};

class FakeOutput final : public SoundOutputPort {
public:
    FakeOutput(const OutputBehaviour& behaviour, Events& events) : behaviour(behaviour), events(events) {}
    ~FakeOutput() override { events.push_back("output.deleted"); }
    bool Open(const TWaveFormat&) override { return behaviour.openOk; }
    void Close() override {}
    bool SetFormat(const TWaveFormat&) override { return true; }
    bool IsSampleRateSupported(const TWaveFormat&) override { return behaviour.rateOk; }
    bool IsQuarnDAQ() const override { return false; }
    void Stop() override { events.push_back("output.stop"); }
    bool PreparePlayback(TWaveData* wave, bool loop, std::int64_t first, std::int64_t end) override;
    bool Start() override;

    OutputBehaviour behaviour;
    Events& events;
};

class FakeAudio final : public AudioSystem {
public:
    FakeAudio(FakeClock& clock, Events& events) : clock(clock), events(events) {}
    std::unique_ptr<SoundInputPort> CreateInput(int device, int driverMode) override;
    std::unique_ptr<SoundOutputPort> CreateOutput(int device, int driverMode) override;
    int GetInputDeviceCount() override { return deviceCount; }
    int FindDaqInputDevice() override { return daqDevice; }

    InputBehaviour input;
    OutputBehaviour output;
    int deviceCount = 1;
    int daqDevice = 3;
    FakeInput* lastInput = nullptr;
    FakeOutput* lastOutput = nullptr;
    FakeClock& clock;
    Events& events;
};

class FakeDaq final : public DaqControl {
public:
    explicit FakeDaq(Events& events) : events(events) {}
    void Reopen() override { events.push_back("daq.reopen"); }
    bool ConfigureInput(const DaqOpts&, int in, int, bool keep) override;
    Events& events;
};

class FakeTimer final : public AcquisitionTimer {
public:
    explicit FakeTimer(Events& events) : events(events) {}
    void Start(std::uint32_t intervalMs) override;
    void Stop() override;
    bool armed = false;
    std::uint32_t interval = 0;
    std::vector<std::uint32_t> starts;
    Events& events;
};

class FakeObserver final : public RunObserver {
public:
    explicit FakeObserver(Events& events) : events(events) {}
    void UpdateRunState() override { events.push_back("runstate"); }
    void UpdateStatus(StatusMode mode) override { events.push_back("status " + std::to_string(int(mode))); }
    void SetPlotsActive() override { events.push_back("plots.active"); }
    void SetPlotsIdle() override { events.push_back("plots.idle"); }
    void UpdateUtilityWindows() override { ++viewerUpdates; }
    int viewerUpdates = 0;
    Events& events;
};

class FakePlots final : public PlotViews {
public:
    explicit FakePlots(Events& events) : events(events) {}
    bool HasPlot(int channel) const override { return exists[channel == 1]; }
    void SetSpectralData(int channel, SpectralData* trace1, SpectralData* trace2) override;
    void ResetView(int channel) override { events.push_back("plot.reset " + std::to_string(channel)); }
    void SetTimeAxis(int, bool) override {}
    void UpdateDisplay(int channel, double blockTime) override { updates.emplace_back(channel, blockTime); }

    bool exists[2] = {true, true};
    std::pair<SpectralData*, SpectralData*> bound[2] = {};
    std::vector<std::pair<int, double>> updates;
    Events& events;
};

class FakeUtilities final : public RunUtilities {
public:
    explicit FakeUtilities(Events& events) : events(events) {}
    bool HasGenerator() const override { return generator; }
    bool IsGeneratorPlaying() const override { return generatorPlaying; }
    void StartGenerator() override;
    void StopGeneratorOutput() override;
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
    Events& events;
};

class FakeDataLog final : public DataLogControl {
public:
    FakeDataLog(DataLogSettings& settings, Events& events) : settings(settings), events(events) {}
    void StartDataLogging() override { events.push_back("log.start"); }
    void StopDataLogging() override { events.push_back("log.stop"); }
    void OpenLogFiles() override;
    void CloseLogFiles() override { events.push_back("log.close"); }
    void WriteLogRecord(int channel, float timeOfDay) override { records.emplace_back(channel, timeOfDay); }

    DataLogSettings& settings;
    std::int64_t openTime = 0;
    std::vector<std::pair<int, float>> records;
    Events& events;
};

// The settings the harness starts from: mode 2, uncalibrated dB display.
FrameSettings TestSettings();

struct Harness {
    explicit Harness(FrameSettings initial = TestSettings());
    ~Harness();

    // Advances the clock by `step` seconds before each acquisition step
    // (by default a little more than the display interval, so each step
    // finds new frames and is due), on the harness's run or on `other`.
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
Peak FindPeak(const SpectralData& data);

// Mean of a function object's values (transfer function, coherence) from
// the lower limit to the last averaged line.
double MeanOfFunction(const SpectralData& data);

} // namespace run_test
