#include "drivers/jack/JackCallbackLink.h"

#include <thread>

void JackCallbackLink::Unlink(std::chrono::milliseconds limit)
{
    Driver.store(nullptr, std::memory_order_seq_cst);
    const auto end = std::chrono::steady_clock::now() + limit;
    while (Calls.load(std::memory_order_seq_cst) != 0 && std::chrono::steady_clock::now() < end)
        std::this_thread::yield();
}
