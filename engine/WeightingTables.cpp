#include "engine/WeightingTables.h"

#include <iterator>

namespace weighting {

namespace {

constexpr float kA[] = {
    10.0f, -70.4f,    12.59f, -63.4f,   15.85f, -56.7f,   19.95f, -50.5f,   25.12f, -44.7f,
    31.62f, -39.4f,   39.81f, -34.6f,   50.12f, -30.2f,   63.1f, -26.2f,    79.43f, -22.5f,
    100.0f, -19.1f,   125.9f, -16.1f,   158.5f, -13.4f,   199.5f, -10.9f,   251.2f, -8.6f,
    316.2f, -6.6f,    398.1f, -4.8f,    501.2f, -3.2f,    631.0f, -1.9f,    794.3f, -0.8f,
    1000.0f, 0.0f,    1259.0f, 0.6f,    1585.0f, 1.0f,    1995.0f, 1.2f,    2512.0f, 1.3f,
    3162.0f, 1.2f,    3981.0f, 1.0f,    5012.0f, 0.5f,    6310.0f, -0.1f,   7943.0f, -1.1f,
    10000.0f, -2.5f,  12590.0f, -4.3f,  15850.0f, -6.6f,  19950.0f, -9.3f,  25120.0f, -10.0f,
    31620.0f, -15.0f, 39810.0f, -20.0f,
};

constexpr float kB[] = {
    10.0f, -37.0f,    20.0f, -24.0f,    30.0f, -17.0f,    40.0f, -13.0f,    50.0f, -11.5f,
    60.0f, -10.0f,    70.0f, -8.5f,     80.0f, -7.2f,     90.0f, -6.3f,     100.0f, -5.4f,
    200.0f, -2.0f,    300.0f, -0.8f,    400.0f, -0.5f,    500.0f, 0.0f,     700.0f, 0.0f,
    1000.0f, 0.0f,    2000.0f, 0.0f,    3000.0f, 0.0f,    4000.0f, -0.5f,   5000.0f, -0.8f,
    6000.0f, -1.2f,   7000.0f, -2.0f,   8000.0f, -3.0f,   10000.0f, -5.0f,  20000.0f, -10.0f,
};

constexpr float kC[] = {
    10.0f, -14.3f,    12.59f, -11.2f,   15.85f, -8.5f,    19.95f, -6.2f,    25.12f, -4.4f,
    31.62f, -3.0f,    39.81f, -2.0f,    50.12f, -1.3f,    63.1f, -0.8f,     79.43f, -0.5f,
    100.0f, -0.3f,    125.9f, -0.2f,    158.5f, -0.1f,    199.5f, 0.0f,     251.2f, 0.0f,
    316.2f, 0.0f,     398.1f, 0.0f,     501.2f, 0.0f,     631.0f, 0.0f,     794.3f, 0.0f,
    1000.0f, 0.0f,    1259.0f, 0.0f,    1585.0f, -0.1f,   1995.0f, -0.2f,   2512.0f, -0.3f,
    3162.0f, -0.5f,   3981.0f, -0.8f,   5012.0f, -1.3f,   6310.0f, -2.0f,   7943.0f, -3.0f,
    10000.0f, -4.4f,  12590.0f, -6.2f,  15850.0f, -8.5f,  19950.0f, -11.2f, 25120.0f, -15.0f,
    31620.0f, -18.0f, 39810.0f, -20.0f,
};

static_assert(std::size(kA) == 2 * 37 && std::size(kB) == 2 * 25 && std::size(kC) == 2 * 37);

template <std::size_t N>
constexpr Table Of(const float (&points)[N])
{
    return {points, static_cast<std::uint32_t>(N / 2)};
}

} // namespace

Table ForCode(int code)
{
    switch (code) {
    case 1: return Of(kA);
    case 2: return Of(kB);
    case 3: return Of(kC);
    default: return {};
    }
}

} // namespace weighting
