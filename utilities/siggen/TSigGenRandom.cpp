#include "utilities/siggen/TSigGenRandom.h"

float TSigGenRandom::TpdfDither()
{
    const std::int32_t r1 = Next();
    const std::int32_t r2 = Next();
    const float a = static_cast<float>(r1 / 32767.0);
    const float b = static_cast<float>(r2 / 32767.0);
    return static_cast<float>((double{a} - 0.5) + (double{b} - 0.5));
}
