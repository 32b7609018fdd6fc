#pragma once
// Small numeric helpers shared across the program.

#include <cstdint>

// FIR length for a decimation factor: 99 up to 2, 50 × factor − 1 from 3 to
// 9, 499 from 10.
std::int32_t DecimationFilterTaps(std::int32_t factor);

// True when a and b agree to n decimals: 10^n × a and 10^n × b truncate to
// the same integer (products in float, as the values are stored). More than
// 18 decimals count as 18.
bool EqualToDecimals(float a, float b, std::uint32_t decimals);

// base^exponent by repeated squaring; a negative exponent gives the reciprocal.
double PowInt(double base, std::int32_t exponent);

float PowF(float base, float exponent);
float FabsF(float value);
