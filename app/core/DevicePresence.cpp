#include "app/core/DevicePresence.h"

#include <filesystem>
#include <system_error>

namespace device_presence {

std::vector<WatchedFolder> SoundFolders(const std::string& runtimeFolder, const std::string& jackServer)
{
    std::vector<WatchedFolder> folders = {
        {"/dev/snd", {}},
        {"/dev/shm", {"jack_" + (jackServer.empty() ? std::string("default") : jackServer) + "_"}},
    };
    if (!runtimeFolder.empty())
        folders.push_back({runtimeFolder, {"pipewire-", "jack"}});
    return folders;
}

std::set<std::string> Relevant(const WatchedFolder& folder, const std::vector<std::string>& names)
{
    std::set<std::string> result;
    for (const std::string& name : names) {
        bool counts = folder.prefixes.empty();
        for (const std::string& prefix : folder.prefixes)
            counts = counts || name.compare(0, prefix.size(), prefix) == 0;
        if (counts)
            result.insert(folder.path + "/" + name);
    }
    return result;
}

std::set<std::string> Snapshot(const std::vector<WatchedFolder>& folders)
{
    std::set<std::string> all;
    for (const WatchedFolder& folder : folders) {
        std::vector<std::string> names;
        std::error_code error;
        for (std::filesystem::directory_iterator it(folder.path, error), end; !error && it != end;
             it.increment(error))
            names.push_back(it->path().filename().string());
        const std::set<std::string> relevant = Relevant(folder, names);
        all.insert(relevant.begin(), relevant.end());
    }
    return all;
}

} // namespace device_presence
