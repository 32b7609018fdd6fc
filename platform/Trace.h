#pragma once
// Debugger trace lines ("AfxBootDevice Starting\n" and the like). They are
// quiet by default; TALVENOR_TRACE=1 in the environment sends them to stderr,
// and tests install a hook to see them.

#include <functional>
#include <string>

namespace platform {

using TraceHook = std::function<void(const std::string&)>;

// Writes one trace text as given (the caller supplies any line end).
void Trace(const std::string& text);

// Installs a hook that receives every trace text; an empty hook restores the default.
void SetTraceHook(TraceHook hook);

} // namespace platform
