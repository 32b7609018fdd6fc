#pragma once
// The steps of the frequency-step signal: how many there are and the
// frequency of each. Octave steps sit on the base-10 band centres
// 10^(3j / 10b), the series the analyzer's fractional-octave bands use, so
// every step lands in the middle of a displayed band.

#include <cstdint>

#include "settings/SigGenSettings.h"

class TSigGenSteps {
public:
    // The number of steps S (at least 1); `first` receives the band index of
    // the first step of octave steps (−1 for the other kinds).
    //
    // With a sample rate, octave bands whose centre lies above its Nyquist
    // frequency are left out: they could only play as an alias. A start
    // below band 1 begins at band 1 (below it the centres fall under 2 Hz).
    static std::int64_t GetStepCount(const FreqStepSettings& settings, std::int64_t* first = nullptr,
                                     std::uint32_t rate = 0);

    // Frequency of step i (0 … S − 1), in Hz; 0 for a StepType that has none.
    static double GetStepFrequency(const FreqStepSettings& settings, std::int64_t first, std::int64_t i);

    // Centre of band j with b bands per octave.
    static double BandCentre(std::int64_t band, std::int32_t octaveNumber);

    // Finer fractions count as this one; the band walk would get long.
    static constexpr std::int32_t kFinestOctaveNumber = 1000;

    // A fraction denominator of 0 or less counts as whole octaves, both for
    // the count and for the frequencies; one above the finest counts as it.
    static std::int32_t OctaveNumberOf(const FreqStepSettings& settings);
    // A step size of 0 or less (or not a number) counts as 1 Hz.
    static double StepSizeOf(const FreqStepSettings& settings);
};
