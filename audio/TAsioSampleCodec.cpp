#include "audio/TAsioSampleCodec.h"

TAsioSampleCodec::SampleSize TAsioSampleCodec::GetSampleSize(ASIOSampleType type)
{
    switch (type) {
    case ASIOSTInt16LSB: return {2, 2};
    case ASIOSTInt24LSB: return {3, 3};
    case ASIOSTInt32LSB: return {4, 3};
    default: return {};
    }
}

std::int32_t TAsioSampleCodec::ScaleIn(const std::uint8_t* slot, SampleSize size, std::uint16_t analysisBytes)
{
    if (size.Significant == 0)
        return 0;
    // Assembled at the top of a 32-bit word, the sample's own sign bit is the
    // word's, and an arithmetic shift brings it down to the analysis width.
    const int first = size.Bytes - size.Significant;
    std::uint32_t word = 0;
    for (int i = 0; i < size.Significant; ++i)
        word |= std::uint32_t{slot[first + i]} << (8 * (4 - size.Significant + i));
    return static_cast<std::int32_t>(word) >> (32 - 8 * analysisBytes);
}

void TAsioSampleCodec::ScaleOut(std::int32_t code, std::uint8_t* slot, SampleSize size, std::uint16_t analysisBytes)
{
    if (size.Significant == 0)
        return;
    const std::uint32_t word = static_cast<std::uint32_t>(code) << (32 - 8 * analysisBytes);
    const int first = size.Bytes - size.Significant;
    if (first > 0)
        slot[0] = 255;
    for (int i = 0; i < size.Significant; ++i)
        slot[first + i] = static_cast<std::uint8_t>(word >> (8 * (4 - size.Significant + i)));
}
