#include "utilities/siggen/TSigGenSteps.h"

#include <algorithm>
#include <cmath>

namespace {

// Far beyond any audio rate; stops the band walk for an infinite stop
// frequency.
constexpr std::int64_t kLastBandPerOctave = 200;

std::int64_t TruncatedCount(double steps)
{
    // Far more steps than any buffer can play; keeps the count finite.
    constexpr double kMostSteps = 1.0e12;
    if (!(steps > 0.0))
        return 1;
    return static_cast<std::int64_t>(std::min(std::trunc(steps), kMostSteps));
}

} // namespace

std::int32_t TSigGenSteps::OctaveNumberOf(const FreqStepSettings& settings)
{
    return std::clamp(settings.OctaveNumber, 1, kFinestOctaveNumber);
}

double TSigGenSteps::StepSizeOf(const FreqStepSettings& settings)
{
    return settings.StepSize > 0.0f && std::isfinite(settings.StepSize) ? double{settings.StepSize} : 1.0;
}

double TSigGenSteps::BandCentre(std::int64_t band, std::int32_t octaveNumber)
{
    return std::pow(10.0, static_cast<double>(band) * 3.0 / (octaveNumber * 10.0));
}

std::int64_t TSigGenSteps::GetStepCount(const FreqStepSettings& settings, std::int64_t* first, std::uint32_t rate)
{
    const double lo = std::min<double>(settings.FStartHz, settings.FStopHz);
    const double hi = std::max<double>(settings.FStartHz, settings.FStopHz);
    std::int64_t firstBand = -1;
    std::int64_t steps = 1;

    if (settings.StepType == 1) {
        if (std::isfinite(lo) && std::isfinite(hi))
            steps = TruncatedCount((hi - lo) / StepSizeOf(settings) + 1.0);
    } else if (settings.StepType == 2) {
        const std::int32_t b = OctaveNumberOf(settings);
        const double nyquist = rate > 0 ? rate / 2.0 : HUGE_VAL;
        const double edgeFactor = std::pow(0.5, 0.5 / b);
        std::int64_t lastBand = -1;
        for (std::int64_t j = 1; j <= kLastBandPerOctave * b; ++j) {
            const double centre = BandCentre(j, b);
            const double lowerEdge = centre * edgeFactor;
            if (!(lowerEdge <= hi) || centre > nyquist)
                break;
            if (lo >= lowerEdge)
                firstBand = j;
            lastBand = j;
        }
        firstBand = std::max<std::int64_t>(firstBand, 1);
        lastBand = std::max(lastBand, firstBand);
        steps = lastBand - firstBand + 1;
        if (settings.FStopHz < settings.FStartHz)
            firstBand = lastBand;
    }
    if (first != nullptr)
        *first = firstBand;
    return steps;
}

double TSigGenSteps::GetStepFrequency(const FreqStepSettings& settings, std::int64_t first, std::int64_t i)
{
    const bool downward = settings.FStopHz < settings.FStartHz;
    if (settings.StepType == 1) {
        const double offset = static_cast<double>(i) * StepSizeOf(settings);
        return downward ? settings.FStartHz - offset : settings.FStartHz + offset;
    }
    if (settings.StepType == 2)
        return BandCentre(downward ? first - i : first + i, OctaveNumberOf(settings));
    return 0.0;
}
