#include "engine/TFFT.h"

bool TFFT::IsValidSize(std::uint32_t size)
{
    return size >= kMinSize && size <= kMaxSize && (size & (size - 1)) == 0;
}

void TFFT::Forward(float*) const {}
