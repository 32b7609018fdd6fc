#include "platform/ZeroFilledArray.h"

#include <atomic>

namespace platform {

namespace {
std::atomic<int> failuresToInject{0};
} // namespace

void* AllocateZeroFilled(std::size_t count, std::size_t size)
{
    int pending = failuresToInject.load();
    while (pending > 0) {
        if (failuresToInject.compare_exchange_weak(pending, pending - 1))
            return nullptr;
    }
    return std::calloc(count, size);
}

void FreeZeroFilled(void* memory)
{
    std::free(memory);
}

void FailNextAllocations(int count)
{
    failuresToInject.store(count > 0 ? count : 0);
}

} // namespace platform
