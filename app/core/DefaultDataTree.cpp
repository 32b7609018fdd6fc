#include "app/core/DefaultDataTree.h"

#include <filesystem>
#include <system_error>

#include "app/core/FramePaths.h"

namespace fs = std::filesystem;

namespace default_data_tree {

std::vector<std::string> Candidates(const std::string& programFolder, const std::string& xdgDataDirs)
{
    std::vector<std::string> result;
    const std::string product = std::string(FramePaths::kProductFolder) + "/";
    // <prefix>/bin/program → <prefix>/share/Talvenor/
    const std::string prefix = DataRootBesideProgram(programFolder);
    if (!prefix.empty())
        result.push_back(prefix + "share/" + product);

    const std::string dirs = xdgDataDirs.empty() ? "/usr/local/share:/usr/share" : xdgDataDirs;
    std::size_t start = 0;
    while (start <= dirs.size()) {
        const std::size_t end = dirs.find(':', start);
        std::string dir = dirs.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!dir.empty()) {
            if (dir.back() != '/')
                dir += '/';
            result.push_back(dir + product);
        }
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return result;
}

bool CopyIfMissing(bool windowsInstall, const std::string& dataRoot, const std::vector<std::string>& candidates)
{
    std::error_code error;
    if (!windowsInstall || dataRoot.empty() || fs::exists(dataRoot, error))
        return false;
    bool copied = false;
    for (const std::string& source : candidates) {
        if (!fs::is_directory(source, error))
            continue;
        fs::create_directories(dataRoot, error);
        error.clear();
        fs::copy(source, dataRoot, fs::copy_options::recursive | fs::copy_options::skip_existing, error);
        copied = !error;
        break;
    }
    fs::create_directories(dataRoot, error);
    return copied;
}

std::vector<std::string> MakeDataFolders(const std::string& dataRoot, const std::vector<std::string>& folders)
{
    std::vector<std::string> missing;
    for (const std::string& folder : folders) {
        std::error_code error;
        if (folder.empty() || fs::is_directory(folder, error))
            continue;
        // Inside the root: the root itself followed by at least one name.
        const bool inside = !dataRoot.empty() && folder.size() > dataRoot.size() &&
                            folder.compare(0, dataRoot.size(), dataRoot) == 0 && dataRoot.back() == '/';
        if (inside)
            fs::create_directories(folder, error);
        if (!fs::is_directory(folder, error))
            missing.push_back(folder);
    }
    return missing;
}

} // namespace default_data_tree
