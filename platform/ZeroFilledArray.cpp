#include "platform/ZeroFilledArray.h"

#include <atomic>

#include <sys/mman.h>
#include <unistd.h>

namespace platform {

namespace {

std::atomic<int> failuresToInject{0};

bool TakeInjectedFailure()
{
    int pending = failuresToInject.load();
    while (pending > 0) {
        if (failuresToInject.compare_exchange_weak(pending, pending - 1))
            return true;
    }
    return false;
}

std::size_t PageRounded(std::size_t bytes)
{
    const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    return (bytes + page - 1) / page * page;
}

} // namespace

void* AllocateZeroFilled(std::size_t count, std::size_t size)
{
    if (TakeInjectedFailure())
        return nullptr;
    return std::calloc(count, size);
}

// Inaccessible private pages cost no memory; the system charges them only
// when CommitAddressRoom makes them writable, so running out shows there
// as a failure instead of as a fault on first touch.
void* ReserveAddressRoom(std::size_t bytes)
{
    if (bytes == 0 || TakeInjectedFailure())
        return nullptr;
    void* room = ::mmap(nullptr, PageRounded(bytes), PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    return room == MAP_FAILED ? nullptr : room;
}

bool CommitAddressRoom(void* room, std::size_t bytes)
{
    if (room == nullptr || TakeInjectedFailure())
        return false;
    return bytes == 0 || ::mprotect(room, PageRounded(bytes), PROT_READ | PROT_WRITE) == 0;
}

void ReleaseAddressRoom(void* room, std::size_t bytes)
{
    if (room != nullptr)
        ::munmap(room, PageRounded(bytes));
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
