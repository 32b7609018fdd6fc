#include "app/core/FramePaths.h"

#include <cstdlib>

#include "platform/ProfileFile.h"

namespace {

std::string WithSlash(std::string folder)
{
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    return folder;
}

// "WindowsInstall" read as the profile API's integer read does: leading
// digits, anything else 0.
bool ReadWindowsInstall(const std::string& installIniPath)
{
    const std::string text = platform::GetProfileString("Install", "WindowsInstall", "0", 260, installIniPath);
    return std::strtol(text.c_str(), nullptr, 10) != 0;
}

} // namespace

std::string FolderOf(std::string_view path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

std::string StemOf(std::string_view path)
{
    const std::size_t slash = path.rfind('/');
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    // A leading dot names a hidden file, not an extension.
    if (dot != std::string_view::npos && dot > 0)
        name = name.substr(0, dot);
    return std::string(name);
}

std::string DataRootBesideProgram(std::string_view programFolder)
{
    std::string folder = WithSlash(std::string(programFolder));
    // The folder's own name, between the last two separators.
    const std::string_view trimmed = std::string_view(folder).substr(0, folder.empty() ? 0 : folder.size() - 1);
    const std::size_t slash = trimmed.rfind('/');
    const std::string_view name = slash == std::string_view::npos ? trimmed : trimmed.substr(slash + 1);
    if (name == "bin" && slash != std::string_view::npos)
        return std::string(trimmed.substr(0, slash + 1));
    return folder;
}

std::string DataRootUnderDocuments(std::string_view documentsFolder)
{
    if (documentsFolder.empty())
        return {};
    return WithSlash(std::string(documentsFolder)) + FramePaths::kProductFolder + "/";
}

FramePaths FramePaths::Derive(std::string_view programPath, std::string_view documentsFolder)
{
    FramePaths paths;
    paths.ProgramPath = std::string(programPath);
    paths.ProgramFolder = FolderOf(programPath);
    const std::string stem = StemOf(programPath);
    if (!stem.empty())
        paths.ProgramStem = stem;
    paths.InstallIniPath = paths.ProgramFolder + paths.ProgramStem + "Install.ini";
    paths.WindowsInstall = ReadWindowsInstall(paths.InstallIniPath);
    paths.DataRoot = paths.WindowsInstall ? DataRootUnderDocuments(documentsFolder)
                                          : DataRootBesideProgram(paths.ProgramFolder);
    return paths;
}
