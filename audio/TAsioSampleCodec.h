#pragma once
// Moves single samples between a driver's buffer slots and the codes of the
// analysis format.
//
// Driver slots are 16, 24 or 32 bits wide, little-endian; a 32-bit slot
// carries a 24-bit sample in its upper three bytes. Every slot is read as a
// signed value and aligned to the analysis width, so a 16-bit device fills
// the upper two bytes of a 3-byte code rather than its lowest two, and a
// negative 16-bit sample stays negative. Only 2- and 3-byte analysis codes
// are handled; the port refuses other widths before any sample moves.

#include "audio/AsioTypes.h"

#include <cstdint>

class TAsioSampleCodec {
public:
    // Bytes of one slot and the bytes of it that carry the sample (the upper
    // ones); both 0 for a type the port does not take.
    struct SampleSize {
        int Bytes = 0;
        int Significant = 0;
    };

    static SampleSize GetSampleSize(ASIOSampleType type);
    static bool IsAnalysisWidth(std::uint16_t bytes) { return bytes == 2 || bytes == 3; }

    // The slot's sample as a code of analysisBytes bytes, sign-extended.
    // A type of size 0 reads as silence.
    static std::int32_t ScaleIn(const std::uint8_t* slot, SampleSize size, std::uint16_t analysisBytes);
    // Writes a code of analysisBytes bytes into the slot's significant
    // bytes; the byte below them in a 32-bit slot is 255, as the program's
    // output has always carried it.
    static void ScaleOut(std::int32_t code, std::uint8_t* slot, SampleSize size, std::uint16_t analysisBytes);
};
