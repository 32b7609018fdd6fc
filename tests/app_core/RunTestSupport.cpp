#include "tests/app_core/RunTestSupport.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>

namespace run_test {

bool FakeInput::ReadLatest(std::uint32_t n, std::int32_t* left, std::int32_t* right)
{
    ++reads;
    // Tones keep their phase from read to read; noise differs per read.
    const std::uint64_t end = Clock();
    const double fullScale = format.HalfRange();
    for (auto [signal, out] : {std::pair{&behaviour.left, left}, std::pair{&behaviour.right, right}}) {
        std::mt19937 noise(signal->seed * 7919u + unsigned(reads));
        std::normal_distribution<double> gauss(0.0, signal->fraction * fullScale);
        for (std::uint32_t i = 0; out != nullptr && i < n; ++i) {
            const double t = double(end - n + i) / format.SamplingRate;
            const double v = !signal->SoundsAt(t)                  ? 0.0
                             : signal->kind == ChannelSignal::kTone
                                 ? signal->fraction * fullScale * std::sin(2.0 * M_PI * signal->frequency * t)
                             : signal->kind == ChannelSignal::kNoise ? std::clamp(gauss(noise), -fullScale, fullScale)
                                                                     : 0.0;
            out[i] = static_cast<std::int32_t>(std::lround(v));
        }
    }
    clock.Advance(behaviour.secondsPerRead);
    return true;
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
        if (std::any_of(prefixes.begin(), prefixes.end(), [&e](const std::string& p) { return e.rfind(p, 0) == 0; }))
            kept.push_back(e);
    events.clear();
    return kept;
}

double MeanOfFunction(const SpectralData& data)
{
    const float* values = data.GetPowerBuffer();
    const std::uint32_t first = data.GetStartBin(), last = data.GetLines() - 2;
    return std::accumulate(values + first, values + last + 1, 0.0) / (last - first + 1);
}

} // namespace run_test
