#include "engine/TFFT.h"

#include "engine/FftKernels.h"

bool TFFT::IsValidSize(std::uint32_t size)
{
    return size >= kMinSize && size <= kMaxSize && (size & (size - 1)) == 0;
}

void TFFT::Forward(float* data) const
{
    if (data == nullptr || !IsValidSize(N))
        return;
    if (fft_detail::UseAvx2())
        fft_detail::ForwardAvx2(data, N);
    else
        fft_detail::ForwardScalar(data, N);
}
