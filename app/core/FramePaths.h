#pragma once
// Where the program finds its files: its own name and folder, the install
// file beside it, and the data root that holds the settings files and the
// data folders.
//
// Paths use '/'; folders end with '/'.

#include <string>
#include <string_view>

struct FramePaths {
    // The product folder under the documents folder, and the tree in the
    // installed share folder that seeds it.
    static constexpr const char* kProductFolder = "Talvenor";

    std::string ProgramPath;
    std::string ProgramFolder;
    // The program file's name without its extension.
    std::string ProgramStem = "Talvenor";
    std::string InstallIniPath;
    // The install file's "WindowsInstall" was non-zero: the data lives under
    // the documents folder.
    bool WindowsInstall = false;
    // Empty when the documents folder is unknown: the settings files are then
    // looked up in the current folder.
    std::string DataRoot;

    std::string IniPath() const { return DataRoot + ProgramStem + ".ini"; }
    std::string CfgPath() const { return DataRoot + ProgramStem + ".cfg"; }

    // From the program file's full path and the install file beside it.
    // documentsFolder may be empty (unknown).
    static FramePaths Derive(std::string_view programPath, std::string_view documentsFolder);
};

// The folder part of a path, ending with '/' ("" for a bare name).
std::string FolderOf(std::string_view path);
// The file name without folder and without its last extension.
std::string StemOf(std::string_view path);
// The data root of a program kept in programFolder: that folder, or the
// folder above it when its own name is exactly "bin". Case is kept.
std::string DataRootBesideProgram(std::string_view programFolder);
// documentsFolder + "Talvenor/", or "" when the documents folder is unknown.
std::string DataRootUnderDocuments(std::string_view documentsFolder);
