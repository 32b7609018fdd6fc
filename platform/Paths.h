#pragma once
// Folder checks and path trimming shared by the settings, the recorder and
// the data log.

#include <cstdint>
#include <string>
#include <string_view>

// True when the file system reports attributes for the path. Otherwise,
// when showMessage is set, tells the user which folder is missing and where
// to set it, then returns false. A null path is false without a message.
bool FolderExists(const char* path, std::uint8_t showMessage);

// Copies source into destination (which must hold it; the two may be the
// same buffer) and cuts it at its last '/', removing the '/'. A separator at
// the very start does not count, so "/a.wav" stays whole and "/a/b.wav"
// gives "/a". Does nothing when either pointer is null.
void StripFileName(const char* source, char* destination);
std::string StripFileName(std::string_view source);

// The running program's file as the file system names it: its bytes, in
// whatever encoding the folder names have ("" when the system cannot tell).
// A round trip through a text type would lose a name that is not UTF-8.
std::string RunningProgramPath();
