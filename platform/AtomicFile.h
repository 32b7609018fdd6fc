#pragma once
// Replacing a file without ever leaving a half-written one behind: the new
// content goes to a temporary file in the same folder (so the rename cannot
// cross file systems), is flushed to disk, and only then renamed over the
// target. A failure at any step leaves the old file exactly as it was.

#include <string>
#include <string_view>

namespace platform {

// Writes content as the whole of the file at path. False when any step
// failed; the target is then untouched and no temporary file is left.
bool WriteFileAtomically(const std::string& path, std::string_view content);

} // namespace platform
