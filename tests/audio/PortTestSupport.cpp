#include "tests/audio/PortTestSupport.h"

#include <chrono>
#include <cmath>
#include <numbers>
#include <thread>

bool WaitFor(const std::function<bool()>& done, double seconds)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

std::unique_ptr<TWaveData> MakeTone(const TWaveFormat& format, double frequency, std::uint64_t frames,
                                    double leftAmplitude, double rightAmplitude)
{
    auto wave = std::make_unique<TWaveData>(frames, format);
    for (std::uint64_t k = 0; k < frames; ++k) {
        const double phase = std::sin(2 * std::numbers::pi * frequency * static_cast<double>(k) / format.SamplingRate);
        wave->PutSample(static_cast<std::int32_t>(std::lround(leftAmplitude * phase)), k, 0);
        wave->PutSample(static_cast<std::int32_t>(std::lround(rightAmplitude * phase)), k, 1);
    }
    wave->Rewind();
    return wave;
}

namespace {

struct MeasuredTone {
    double Frequency = 0;
    double Rms = 0;
};

MeasuredTone MeasureTone(const std::vector<std::int32_t>& samples, double rate)
{
    // Rising zero crossings, placed between samples by linear interpolation.
    std::vector<double> crossings;
    std::vector<std::size_t> starts;
    for (std::size_t i = 1; i < samples.size(); ++i) {
        const double a = samples[i - 1];
        const double b = samples[i];
        if (a < 0 && b >= 0) {
            crossings.push_back(static_cast<double>(i - 1) + a / (a - b));
            starts.push_back(i);
        }
    }
    MeasuredTone tone;
    if (crossings.size() < 3)
        return tone;
    tone.Frequency = rate * static_cast<double>(crossings.size() - 1) / (crossings.back() - crossings.front());
    double sum = 0;
    for (std::size_t i = starts.front(); i < starts.back(); ++i)
        sum += static_cast<double>(samples[i]) * samples[i];
    tone.Rms = std::sqrt(sum / static_cast<double>(starts.back() - starts.front()));
    return tone;
}

} // namespace

std::unique_ptr<TWaveData> StartLoopbackTone(TSoundInput& input, TSoundOutput& output)
{
    const TWaveFormat format(48000, 2, 3);
    auto tone = MakeTone(format, 1000.0, 4800, 0.5 * kFullScale24, 0.25 * kFullScale24);
    const bool started = input.Open(format) && input.IsSampleRateSupported(format) && output.Open(format)
        && output.PreparePlayback(tone.get(), true, 0, -1) && input.PrepareInput(nullptr, 8192, nullptr)
        && input.Start();
    return started ? std::move(tone) : nullptr;
}

void ExpectLoopbackTone(const std::vector<std::int32_t>& left, const std::vector<std::int32_t>& right, double gain)
{
    for (const auto& [samples, amplitude] : {std::pair{&left, 0.5}, std::pair{&right, 0.25}}) {
        const MeasuredTone heard = MeasureTone(*samples, 48000);
        EXPECT_NEAR(heard.Frequency, 1000.0, 0.5);
        EXPECT_NEAR(20 * std::log10(heard.Rms / (gain * amplitude * kFullScale24 / std::sqrt(2.0))), 0.0, 0.1);
    }
}
