#pragma once
// The per-block loops over peak-hold entries, four at a time where the
// processor has AVX2: the hold update and the highest held value.

#include <cstddef>

struct THoldEntry;

namespace line_kernels {

// How a line's display level follows from the larger of its averaged and
// latest entry m (GetValue's way):
//   Db:        m (a dB array), plus offset when addOffset and m is above
//              the no-value mark (−999.9);
//   Power:     m (a power array), times 100 when percent;
//   Amplitude: √m (0 unless m > 0), times 100 when percent.
struct LineLevel {
    enum Kind { Db, Power, Amplitude } kind = Db;
    bool addOffset = false;
    float offset = 0.0f;
    bool percent = false;
};

// The peak hold of lines 0 … done−1: a level at or above the held one holds
// until riseExpiry; past its expiry (before now) a held value falls by
// decay, never below the level. Returns `done` (0 without AVX2); the caller
// holds the rest.
std::size_t HoldLevels(THoldEntry* hold, const float* averaged, const float* latest, std::size_t count,
                       const LineLevel& level, double now, double riseExpiry, float decay);

// The highest held value of hold[0 … count−1], NaNs left out; −infinity
// when there is none.
float HighestHeld(const THoldEntry* hold, std::size_t count);

} // namespace line_kernels
