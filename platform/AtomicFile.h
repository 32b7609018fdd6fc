#pragma once
// Replacing a file without ever leaving a half-written one behind: the new
// content goes to a temporary file in the same folder (so the rename cannot
// cross file systems), is flushed to disk, and only then renamed over the
// target. A failure at any step leaves the old file exactly as it was.

#include <chrono>
#include <string>
#include <string_view>

namespace platform {

// Writes content as the whole of the file at path. False when any step
// failed; the target is then untouched and no temporary file is left.
bool WriteFileAtomically(const std::string& path, std::string_view content);
// The same; on failure error holds the errno of the step that failed (0 when
// the system gave none), so a message can say why.
bool WriteFileAtomically(const std::string& path, std::string_view content, int& error);

// Removes the temporary files the writes above left in folder when the
// program was killed before their rename: only names of the form they make,
// only in folder itself, and only files untouched for at least `age`, so
// that a save another running instance is making now is left alone.
void RemoveStaleStagingFiles(const std::string& folder, std::chrono::seconds age);

// The system's text for such an errno ("Permission denied"); for 0, that
// the system gave no reason.
std::string ErrorText(int error);

} // namespace platform
