#include "tests/audio/PortToneSupport.h"

#include <cmath>
#include <numbers>

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
