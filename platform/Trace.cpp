#include "platform/Trace.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace platform {

namespace {

std::mutex hookMutex;
TraceHook installedHook;

bool TracingToStderr()
{
    static const bool enabled = [] {
        const char* value = std::getenv("TALVENOR_TRACE");
        return value != nullptr && value[0] != '\0' && value[0] != '0';
    }();
    return enabled;
}

} // namespace

void Trace(const std::string& text)
{
    TraceHook hook;
    {
        std::lock_guard lock(hookMutex);
        hook = installedHook;
    }
    if (hook) {
        hook(text);
        return;
    }
    if (TracingToStderr())
        std::fputs(text.c_str(), stderr);
}

void SetTraceHook(TraceHook hook)
{
    std::lock_guard lock(hookMutex);
    installedHook = std::move(hook);
}

} // namespace platform
