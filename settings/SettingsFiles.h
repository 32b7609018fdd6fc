#pragma once
// The two settings files in the data folder and the order the frame reads
// them at start-up and writes them at exit.

#include <string>

#include "settings/CfgSettingsFile.h"
#include "settings/FrameSettings.h"

struct SettingsFiles {
    // The data folder, ending with '/'.
    std::string dataRoot;
    // The program file's name without its extension.
    std::string programStem = "Talvenor";
    // The install file put the data under the documents folder.
    bool windowsInstall = false;

    std::string IniPath() const { return dataRoot + programStem + ".ini"; }
    std::string CfgPath() const { return dataRoot + programStem + ".cfg"; }

    // The .ini, then the .cfg with its fixed values, then the start-up
    // fix-ups; the in-use data folders start as the configured ones.
    // Missing files leave the defaults.
    void LoadAtStartup(FrameSettings& settings, const FindDaqInputDeviceFn& findDaq) const;

    // The .ini, then the .cfg. A file that cannot be written is skipped
    // (and left as it was); false when either was.
    bool SaveAtExit(const FrameSettings& settings) const;
};
