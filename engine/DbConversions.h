#pragma once
// Conversions between linear power or amplitude and decibels. A value that
// has no logarithm (zero, negative, NaN) maps to −999.9, never to −inf.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace db {

inline constexpr float kNoValue = -999.9f;

inline float PowerToDb(double power)
{
    return power > 0.0 ? static_cast<float>(10.0 * std::log10(power)) : kNoValue;
}

// PowerToDb of a float power, for whole arrays of lines: the logarithm
// from the exponent and a short series for the mantissa, in double, rounds
// to the same float as PowerToDb but runs several times faster. Subnormal,
// infinite and NaN powers take PowerToDb itself.
inline float LinePowerToDb(float power)
{
    if (!(power > 0.0f))
        return kNoValue;
    std::uint32_t bits;
    std::memcpy(&bits, &power, sizeof bits);
    const int biased = static_cast<int>(bits >> 23);
    if (biased == 0 || biased == 255)
        return PowerToDb(power);
    // power = m·2^e with m in [√½, √2), where the series converges fastest.
    int e = biased - 127;
    bits = (bits & 0x007FFFFFu) | 0x3F800000u;
    float mantissa;
    std::memcpy(&mantissa, &bits, sizeof mantissa);
    double m = mantissa;
    if (m > 1.4142135623730951) {
        m *= 0.5;
        ++e;
    }
    // ln m = 2·atanh t = 2t(1 + t²/3 + t⁴/5 + …), |t| ≤ 0.172: the terms
    // left out are below 1e-11 of the result.
    const double t = (m - 1.0) / (m + 1.0);
    const double t2 = t * t;
    const double lnM =
        2.0 * t * (1.0 + t2 * (1.0 / 3 + t2 * (1.0 / 5 + t2 * (1.0 / 7 + t2 * (1.0 / 9 + t2 * (1.0 / 11 + t2 / 13))))));
    constexpr double kLn2 = 0.6931471805599453;
    constexpr double kTenOverLn10 = 4.342944819032518;
    return static_cast<float>(kTenOverLn10 * (e * kLn2 + lnM));
}

// LinePowerToDb of powers[0 … count−1] into dB[…]; vectorised where the
// processor allows (DbArrays.cpp).
void LinePowersToDb(const float* powers, float* dB, std::size_t count);

inline float AmplitudeToDb(double amplitude)
{
    return amplitude > 0.0 ? static_cast<float>(20.0 * std::log10(amplitude)) : kNoValue;
}

inline double DbToPower(double dB) { return std::pow(10.0, dB / 10.0); }
inline double DbToAmplitude(double dB) { return std::pow(10.0, dB / 20.0); }

} // namespace db
