#pragma once
// Building blocks of the generator tests: requests, direct builds, a
// channel's samples, and measurements that do not trust the generator (the
// spectral engine, zero crossings, plain statistics).

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <numeric>
#include <vector>

#include "audio/TWaveData.h"
#include "engine/SpectralData.h"
#include "utilities/siggen/TSigGenBuildRequest.h"
#include "utilities/siggen/TPinkWave.h"
#include "utilities/siggen/TSigGenBuildResult.h"

namespace siggen_test {

// A request for one channel at `rate` with 0 dBFS output: the analyzer runs
// mono (JACK mode, so no 48 kHz minimum) with `bytes` per sample.
TSigGenBuildRequest Request(std::int32_t sigType, std::uint32_t rate = 48000, std::uint16_t bytes = 2,
                            std::uint16_t channels = 1);

// The shipped pink-noise recording, loaded once.
std::shared_ptr<const TPinkWave> PinkWave();

struct Built {
    std::unique_ptr<TWaveData> Wave;
    TSigGenBuildResult Result;
};
// Runs a build on this thread.
Built Build(const TSigGenBuildRequest& request);

// Raw values of one channel, minus the zero level; of a fresh build.
std::vector<double> Channel(const TWaveData& wave, int channel = 0);
inline std::vector<double> Samples(const TSigGenBuildRequest& request, int channel = 0)
{
    return Channel(*Build(request).Wave, channel);
}
// The values at the given frames, to compare at once.
template <typename T>
std::vector<T> At(const std::vector<T>& x, std::initializer_list<std::size_t> frames)
{
    std::vector<T> values;
    for (std::size_t n : frames)
        values.push_back(x.at(n));
    return values;
}
inline std::vector<double> Slice(const std::vector<double>& x, std::size_t first, std::size_t count)
{
    return std::vector<double>(x.begin() + first, x.begin() + first + count);
}

inline double Db(double ratio) { return 20.0 * std::log10(ratio); }
// A full-scale sine less the generator's headroom, RMS in dB.
inline const double kSineRmsDb = Db(0.99999 / std::sqrt(2.0));
// How many of x[first, first + count) equal value.
inline int CountOf(const std::vector<double>& x, std::size_t first, std::size_t count, double value)
{
    return static_cast<int>(std::count(x.begin() + first, x.begin() + first + count, value));
}
inline double Mean(const std::vector<double>& x)
{
    return std::accumulate(x.begin(), x.end(), 0.0) / x.size();
}
double RmsDb(const std::vector<double>& x, double fullScale);

// Interpolated upward zero crossings, in frames.
std::vector<double> UpCrossings(const std::vector<double>& x);
// Frequency from the crossings that lie within [first, last): rate over the
// mean period between the first and the last of them; `centre` receives
// the frame halfway between those two, where a linear chirp has it.
double CrossingFrequency(const std::vector<double>& crossings, double first, double last, double rate,
                         double* centre = nullptr);

// The spectral engine as a measuring instrument: averaged linear power per
// line of `fftSize`-point blocks (no overlap) over all of x, in dB re a
// full-scale sine. Flattop reads levels truly; its close sidelobes (−72 dB)
// hide anything finer, which a Hanning window shows.
class Spectrum {
public:
    Spectrum(const std::vector<double>& x, double rate, std::uint16_t bytes, std::uint32_t fftSize = 65536,
             std::uint16_t window = 2);
    // Level of the highest peak within [f1, f2] Hz, dB re full scale;
    // −999.9 when there is none.
    double PeakDb(double f1, double f2) const;
    // Mean power per line over [f1, f2) Hz, in dB.
    double MeanLineDb(double f1, double f2) const;

private:
    std::unique_ptr<SpectralData> Data;
};

} // namespace siggen_test
