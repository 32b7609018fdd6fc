#pragma once
// The .ini settings file: the two user-set data folders and the file I/O
// options. Read and written through the profile file, so keys that this
// program never writes (a user's additions, switches other windows keep there) survive.

#include <string>

#include "settings/FrameSettings.h"

struct IniLocation {
    // The data folder, ending with '/'.
    std::string dataRoot;
    // The install file chose the documents folder for the data.
    bool windowsInstall = false;
};

// Rebuilds the data folders from the data root and reads the two the user
// may set (unless an install under the documents folder asks to keep
// them); a folder that does not exist on this system (such as a Windows
// path from an older file) falls back to its default with a note on stderr.
// Then reads the file I/O options and sets them to this build's fixed
// values. A missing file or key gives the defaults; so does a file that is
// there but cannot be read (a folder, a read error): false then, with
// reason (when given) saying why.
bool LoadIniSettings(const std::string& path, const IniLocation& location, FrameSettings& settings,
                     std::string* reason = nullptr);

// The note shown at start-up when the .ini is there but cannot be read.
std::string UnreadableIniNote(const std::string& path, const std::string& reason);

// False when the file could not be written; it is then untouched, and
// reason (when given) says why.
bool SaveIniSettings(const std::string& path, const FrameSettings& settings, std::string* reason = nullptr);
