#pragma once
// Conversions between linear power or amplitude and decibels. A value that
// has no logarithm (zero, negative, NaN) maps to −999.9, never to −inf.

#include <cmath>

namespace db {

inline constexpr float kNoValue = -999.9f;

inline float PowerToDb(double power)
{
    return power > 0.0 ? static_cast<float>(10.0 * std::log10(power)) : kNoValue;
}

inline float AmplitudeToDb(double amplitude)
{
    return amplitude > 0.0 ? static_cast<float>(20.0 * std::log10(amplitude)) : kNoValue;
}

inline double DbToPower(double dB) { return std::pow(10.0, dB / 10.0); }
inline double DbToAmplitude(double dB) { return std::pow(10.0, dB / 20.0); }

} // namespace db
