#pragma once
// What counts as the sound devices being there, read from the file system:
// the ALSA device nodes in /dev/snd, and the sockets a JACK server (or a
// PipeWire server serving JACK clients) keeps while it runs. The watcher
// compares one reading with the next, so that the busy folders it must
// watch for the sockets (shared memory, the user's runtime folder) only
// count when an entry of a sound server comes or goes.

#include <set>
#include <string>
#include <vector>

struct WatchedFolder {
    std::string path;
    // Entries whose names start with one of these count; empty: every entry.
    std::vector<std::string> prefixes;
};

namespace device_presence {

// /dev/snd (every node), /dev/shm (the socket of the JACK server our JACK
// driver connects to, "jack_<server>_...") and the runtime folder
// ("pipewire-", "jack"); runtimeFolder may be empty. Other JACK servers and
// the clients of any server (their semaphores and shared memory are in
// /dev/shm too) are no change of our devices.
std::vector<WatchedFolder> SoundFolders(const std::string& runtimeFolder, const std::string& jackServer = "default");

// The entries that count, as "folder/name", from a listing of one folder.
std::set<std::string> Relevant(const WatchedFolder& folder, const std::vector<std::string>& names);

// The entries that count in every folder now (a missing folder has none).
std::set<std::string> Snapshot(const std::vector<WatchedFolder>& folders);

} // namespace device_presence
