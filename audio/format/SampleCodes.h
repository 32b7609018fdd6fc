#pragma once
// A stored sample's code for each sample width, inline, for the loops that
// move whole blocks (the input ring's reads, the sample buffers). They agree
// with TWaveFormat::ReadSample and TWaveFormat::EncodeSample for every
// value those take: 1 byte unsigned, 2 and 4 bytes signed, 3 bytes signed
// by its top bit.

#include <cstdint>
#include <cstring>

namespace sample_codes {

inline constexpr std::int32_t kSpan24 = 1 << 24;
inline constexpr std::int32_t kSign24 = 1 << 23;

// The code a little-endian word of the width holds.
template <unsigned Bytes>
inline std::int32_t CodeOfWord(std::uint32_t word)
{
    if constexpr (Bytes == 1) {
        return static_cast<std::int32_t>(word & 0xFFu);
    } else if constexpr (Bytes == 2) {
        return static_cast<std::int16_t>(static_cast<std::uint16_t>(word & 0xFFFFu));
    } else if constexpr (Bytes == 3) {
        const auto value = static_cast<std::int32_t>(word & 0xFFFFFFu);
        return (value & kSign24) != 0 ? value - kSpan24 : value;
    } else {
        return static_cast<std::int32_t>(word);
    }
}

template <unsigned Bytes>
inline std::int32_t Load(const std::uint8_t* p)
{
    if constexpr (Bytes == 4) {
        std::uint32_t word;
        std::memcpy(&word, p, sizeof word);
        return static_cast<std::int32_t>(word);
    } else {
        std::uint32_t word = 0;
        for (unsigned b = 0; b < Bytes; ++b)
            word |= std::uint32_t{p[b]} << (8 * b);
        return CodeOfWord<Bytes>(word);
    }
}

// The word stored for a value (TWaveFormat::EncodeSample's for 3 bytes).
template <unsigned Bytes>
inline std::uint32_t WordOf(std::int32_t value)
{
    if constexpr (Bytes == 3)
        value = value < 0 ? ((value + kSpan24) | kSign24) : value;
    return static_cast<std::uint32_t>(value);
}

template <unsigned Bytes>
inline void Store(std::uint8_t* p, std::uint32_t word)
{
    for (unsigned b = 0; b < Bytes; ++b)
        p[b] = static_cast<std::uint8_t>(word >> (8 * b));
}

} // namespace sample_codes
