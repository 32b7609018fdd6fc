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
// The same; on failure error holds the errno of the step that failed (0 when
// the system gave none), so a message can say why.
bool WriteFileAtomically(const std::string& path, std::string_view content, int& error);

} // namespace platform
