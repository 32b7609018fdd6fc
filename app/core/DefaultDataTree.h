#pragma once
// Seeding a new data root under the documents folder from the tree the
// installation ships, so that a first start finds the data folders (and any
// sample files) in place.

#include <string>
#include <vector>

namespace default_data_tree {

// Where an installation keeps the seed tree ("<share>/Talvenor/"), most
// specific first: the share folder beside the program's own bin folder, then
// each folder of the XDG data path (xdgDataDirs as in $XDG_DATA_DIRS; empty
// means the usual "/usr/local/share:/usr/share").
std::vector<std::string> Candidates(const std::string& programFolder, const std::string& xdgDataDirs);

// Only when windowsInstall is set and the data root does not exist yet:
// copies the first candidate folder that exists into the data root, silently
// and without replacing anything, then makes sure the data root exists (so
// that the settings files can be written at exit even without a seed tree).
// True when a copy was made.
bool CopyIfMissing(bool windowsInstall, const std::string& dataRoot, const std::vector<std::string>& candidates);

// Makes each missing folder that lies inside the data root (and the data
// root with it), so that a first start finds the Wave, Cal, Overlay and Log
// folders where the settings point. A folder elsewhere (another disk, a
// share) is left alone: inventing it there would hide a mistake. Returns the
// folders that are still missing.
std::vector<std::string> MakeDataFolders(const std::string& dataRoot, const std::vector<std::string>& folders);

} // namespace default_data_tree
