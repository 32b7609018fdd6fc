#include "tests/app_core/RunTestSupport.h"

#include <algorithm>
#include <cmath>
#include <random>

#include "platform/MessageBox.h"

namespace run_test {

std::chrono::system_clock::time_point FakeClock::Now() const
{
    return wallStart + std::chrono::duration_cast<std::chrono::system_clock::duration>(
                           std::chrono::duration<double>(steady - 1000.0));
}

void FakeClock::Sleep(std::uint32_t milliseconds)
{
    sleeps.push_back(milliseconds);
    Advance(milliseconds / 1000.0);
}

bool FakeInput::Open(const TWaveFormat& f)
{
    events.push_back("input.open");
    format = f;
    return behaviour.openOk;
}

bool FakeInput::SetFormat(const TWaveFormat& f)
{
    format = f;
    return behaviour.rateOk;
}

bool FakeInput::PrepareInput(TWaveFile* file, std::uint32_t length, TriggerOpts*)
{
    events.push_back("input.prepare");
    recording = file;
    blockLength = length;
    return true;
}

bool FakeInput::Start()
{
    events.push_back("input.start");
    return behaviour.startOk;
}

std::uint64_t FakeInput::GetFramesDelivered()
{
    const auto frames = static_cast<std::uint64_t>(clock.steady * format.SamplingRate);
    const std::uint64_t buffer = std::max<std::uint32_t>(behaviour.bufferFrames, 1);
    return frames / buffer * buffer;
}

bool FakeInput::ReadLatest(std::uint32_t n, std::int32_t* left, std::int32_t* right)
{
    ++reads;
    // The block ends at the sample the clock has reached, as a driver's
    // ring would have it, so tones keep their phase from read to read.
    const auto end = static_cast<std::uint64_t>(clock.steady * format.SamplingRate);
    ++noiseBlock;
    if (left != nullptr)
        Synthesise(behaviour.left, n, left, end);
    if (right != nullptr)
        Synthesise(behaviour.right, n, right, end);
    return true;
}

void FakeInput::Synthesise(const ChannelSignal& signal, std::uint32_t n, std::int32_t* out, std::uint64_t end) const
{
    const double fullScale = format.HalfRange();
    std::mt19937 noise(signal.seed * 7919u + noiseBlock);
    std::normal_distribution<double> gauss(0.0, signal.fraction * fullScale);
    for (std::uint32_t i = 0; i < n; ++i) {
        double v = 0.0;
        if (signal.kind == ChannelSignal::kTone) {
            const double t = double(end - n + i) / format.SamplingRate;
            v = signal.fraction * fullScale * std::sin(2.0 * M_PI * signal.frequency * t);
        } else if (signal.kind == ChannelSignal::kNoise) {
            v = std::clamp(gauss(noise), -fullScale, fullScale);
        }
        out[i] = static_cast<std::int32_t>(std::lround(v));
    }
}

bool FakeOutput::PreparePlayback(TWaveData*, bool loop, std::int64_t first, std::int64_t end)
{
    events.push_back("output.prepare " + std::to_string(loop) + " " + std::to_string(first) + " " +
                     std::to_string(end));
    return true;
}

bool FakeOutput::Start()
{
    events.push_back("output.start");
    return true;
}

std::unique_ptr<SoundInputPort> FakeAudio::CreateInput(int device, int driverMode)
{
    events.push_back("input.create " + std::to_string(device) + " " + std::to_string(driverMode));
    auto port = std::make_unique<FakeInput>(input, clock, events);
    lastInput = port.get();
    return port;
}

std::unique_ptr<SoundOutputPort> FakeAudio::CreateOutput(int device, int driverMode)
{
    events.push_back("output.create " + std::to_string(device) + " " + std::to_string(driverMode));
    auto port = std::make_unique<FakeOutput>(output, events);
    lastOutput = port.get();
    return port;
}

bool FakeDaq::ConfigureInput(const DaqOpts&, int in, int, bool keep)
{
    events.push_back("daq.configure " + std::to_string(in) + " " + std::to_string(keep));
    return true;
}

void FakeTimer::Start(std::uint32_t intervalMs)
{
    events.push_back("timer.start " + std::to_string(intervalMs));
    armed = true;
    interval = intervalMs;
    starts.push_back(intervalMs);
}

void FakeTimer::Stop()
{
    events.push_back("timer.stop");
    armed = false;
}

void FakePlots::SetSpectralData(int channel, SpectralData* trace1, SpectralData* trace2)
{
    events.push_back("plot.bind " + std::to_string(channel));
    bound[channel == 1] = {trace1, trace2};
}

void FakeUtilities::StartGenerator()
{
    events.push_back("gen.start");
    generatorPlaying = true;
}

void FakeUtilities::StopGeneratorOutput()
{
    events.push_back("gen.stop");
    generatorPlaying = false;
}

void FakeDataLog::OpenLogFiles()
{
    events.push_back("log.open");
    settings.LogStartTime = openTime;
}

FrameSettings TestSettings()
{
    FrameSettings s;
    s.Processing.Format.Set(48000, 2, 2);
    s.Processing.FFTsize = 4096;
    s.Processing.ChannelProcessing = 2;
    s.Processing.IndependentScalingAndCalibration = 0;
    for (int c = 0; c < 2; ++c) {
        s.Scaling[c].AmpScaleType = ScalingOpts::kLogarithmic;
        s.Scaling[c].FreqScaleType = ScalingOpts::kFftLinear;
        s.Calibration[c].IsEnabled = 0;
        s.Calibration[c].CalCreateMode = 0;
        s.Calibration[c].PctFullScale = 1.0f;
    }
    return s;
}

Harness::Harness(FrameSettings initial) : settings(initial)
{
    platform::SetClock(&clock);
    platform::SetMessageBoxHook([this](const platform::MessageBoxRequest& request) {
        messages.push_back(request.text);
        return platform::MessageResult::Ok;
    });
}

Harness::~Harness()
{
    platform::SetMessageBoxHook({});
    platform::SetClock(nullptr);
}

int Harness::Ticks(int count, double step, TRunControl* other)
{
    TRunControl& control = other != nullptr ? *other : run;
    int results = 0;
    for (int i = 0; i < count; ++i) {
        clock.Advance(step);
        results += control.ProcessInputTick();
    }
    return results;
}

Events Harness::Take(const std::vector<std::string>& prefixes)
{
    Events kept;
    for (const std::string& e : events)
        for (const std::string& p : prefixes)
            if (e.rfind(p, 0) == 0) {
                kept.push_back(e);
                break;
            }
    events.clear();
    return kept;
}

Peak FindPeak(const SpectralData& data)
{
    Peak peak;
    data.FindPeak(data.GetStartBin(), data.GetEndBin(), &peak.frequency, &peak.level);
    return peak;
}

double MeanOfFunction(const SpectralData& data)
{
    double sum = 0.0;
    const std::uint32_t first = data.GetStartBin(), last = data.GetLines() - 2;
    for (std::uint32_t i = first; i <= last; ++i)
        sum += data.GetPowerBuffer()[i];
    return sum / (last - first + 1);
}

} // namespace run_test
