#pragma once
// A look at the start-up configuration file before it is read. Its reader
// is lenient by design: every key it misses takes the key's file default,
// and several of those differ from the frame's own defaults. A damaged file
// (binary junk, a foreign file under the name) read that way would set a
// mix of values nobody chose, so such a file is not read at all: the
// program starts with its defaults and says so, and the file stays as it is
// until the exit writes a good one in its place.

#include <string>

enum class CfgFileState { Missing, Readable, Damaged };

// Damaged: the file exists but cannot be read, holds bytes that no text
// file holds (NUL and other control bytes than tab, CR and LF), or has no
// section line of a name this program writes.
CfgFileState CheckCfgFile(const std::string& path);

// The note shown when the start-up file is damaged.
std::string DamagedCfgNote(const std::string& path);

// The note shown when Open Configuration is given a file that is not a
// readable configuration (damaged, empty, or none of its sections).
std::string NotAConfigurationNote(const std::string& path);
