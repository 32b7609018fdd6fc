#pragma once
// Temporary files and whole-file moves for code that must never leave a
// user's file half written: data goes to a temporary file in the target's
// own folder, and only a finished file is renamed over the target (a rename
// within one file system replaces the old name in one step).

#include <string>

namespace platform {

// The system's folder for temporary files ($TMPDIR, else /tmp).
std::string SystemTempFolder();

// The folder a path lies in ("." for a bare file name).
std::string FolderOfPath(const std::string& path);

// Creates a new, empty file named `prefix`, a unique part and ".tmp" in
// `folder`, and returns its path; "" when no file can be made there.
std::string CreateTempFile(const std::string& folder, const std::string& prefix);
// Whether a file name is one CreateTempFile makes with this prefix.
bool IsTempFileName(const std::string& name, const std::string& prefix);

// Renames `finished` over `target`, replacing it; the target keeps its
// permissions. Both must lie on one file system. False leaves both as
// they were.
bool CommitFile(const std::string& finished, const std::string& target);

// Copies `source` onto `target` through a temporary file in the target's
// folder: the target is either the old file or a complete copy.
bool CopyFileOver(const std::string& source, const std::string& target);

// Moves `source` onto `target`; across file systems, by a copy as above and
// then deleting the source.
bool MoveFileOver(const std::string& source, const std::string& target);

bool DeleteFile(const std::string& path);

// True when both paths name one file (through links and "..", and for a
// file that does not exist yet, by its absolute normal form).
bool SameFile(const std::string& a, const std::string& b);

}  // namespace platform
