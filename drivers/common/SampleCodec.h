#pragma once
// Conversion between a driver buffer slot and a float sample of full scale
// ±1, for the three sample types the host takes. Little-endian slots, as the
// types' names say; out-of-range values saturate instead of wrapping.

#include "audio/AsioTypes.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

class SampleCodec {
public:
    static int BytesPerSample(ASIOSampleType type)
    {
        switch (type) {
        case ASIOSTInt16LSB: return 2;
        case ASIOSTInt24LSB: return 3;
        case ASIOSTInt32LSB: return 4;
        default: return 0;
        }
    }

    static void Encode(ASIOSampleType type, float value, std::uint8_t* slot)
    {
        const int bytes = BytesPerSample(type);
        if (bytes == 0)
            return;
        const double scale = std::ldexp(1.0, 8 * bytes - 1);
        const double code = std::clamp(std::nearbyint(double{value} * scale), -scale, scale - 1.0);
        const auto word = static_cast<std::uint32_t>(static_cast<std::int32_t>(code));
        for (int i = 0; i < bytes; ++i)
            slot[i] = static_cast<std::uint8_t>(word >> (8 * i));
    }

    // Encode for `count` values into consecutive slots: the same codes, with
    // the scale worked out once and the rounding done inline (to nearest,
    // ties to even, as nearbyint does in the default rounding mode) — the
    // driver thread encodes every sample of every buffer.
    static void EncodeBlock(ASIOSampleType type, const float* values, std::size_t count, std::uint8_t* slots)
    {
        const int bytes = BytesPerSample(type);
        if (bytes == 0)
            return;
        const double scale = std::ldexp(1.0, 8 * bytes - 1);
        // Adding and taking away 1.5 · 2^52 leaves a double rounded to an
        // integer; every value here is clamped far inside that range first.
        constexpr double kRounder = 6755399441055744.0;
        for (std::size_t n = 0; n < count; ++n, slots += bytes) {
            const double scaled = std::clamp(double{values[n]} * scale, -scale - 1.0, scale);
            const double code = std::clamp((scaled + kRounder) - kRounder, -scale, scale - 1.0);
            const auto word = static_cast<std::uint32_t>(static_cast<std::int32_t>(code));
            for (int i = 0; i < bytes; ++i)
                slots[i] = static_cast<std::uint8_t>(word >> (8 * i));
        }
    }

    static float Decode(ASIOSampleType type, const std::uint8_t* slot)
    {
        const int bytes = BytesPerSample(type);
        if (bytes == 0)
            return 0.0f;
        // Assemble into the top of a 32-bit word so the sign comes along.
        std::uint32_t word = 0;
        for (int i = 0; i < bytes; ++i)
            word |= std::uint32_t{slot[i]} << (8 * (4 - bytes + i));
        return static_cast<float>(static_cast<std::int32_t>(word) / 2147483648.0);
    }
};
