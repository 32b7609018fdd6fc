#include "platform/SmallMaths.h"

#include <algorithm>
#include <cmath>

std::int32_t DecimationFilterTaps(std::int32_t factor)
{
    if (factor <= 2)
        return 99;
    if (factor >= 10)
        return 499;
    return 50 * factor - 1;
}

bool EqualToDecimals(float a, float b, std::uint32_t decimals)
{
    // 10^18 still fits a 64-bit integer.
    const auto k = static_cast<std::int64_t>(PowInt(10.0, static_cast<std::int32_t>(std::min(decimals, 18u))));
    const float scale = static_cast<float>(k);
    // trunc rather than a cast: products beyond the integer range stay defined.
    return std::trunc(scale * a) == std::trunc(scale * b);
}

double PowInt(double base, std::int32_t exponent)
{
    // Unsigned magnitude, so the most negative exponent negates safely.
    std::uint32_t e = exponent < 0 ? 0u - static_cast<std::uint32_t>(exponent)
                                   : static_cast<std::uint32_t>(exponent);
    double result = 1.0;
    double square = base;
    while (e != 0) {
        if (e & 1u)
            result *= square;
        square *= square;
        e >>= 1;
    }
    return exponent < 0 ? 1.0 / result : result;
}

float PowF(float base, float exponent)
{
    return std::pow(base, exponent);
}

float FabsF(float value)
{
    return std::fabs(value);
}
