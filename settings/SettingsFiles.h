#pragma once
// The two settings files in the data folder and the order the frame reads
// them at start-up and writes them at exit.

#include <chrono>
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
    // Missing files leave the defaults. First the temporary files of saves
    // that were killed half-way, untouched for kStagingFileAge, go.
    void LoadAtStartup(FrameSettings& settings, const FindDaqInputDeviceFn& findDaq) const;
    // The temporary files of saves killed before their rename, once they
    // are kStagingFileAge old; only in the data folder.
    void RemoveStaleTempFiles() const;

    // The .ini, then the .cfg. A file that cannot be written is skipped
    // (and left as it was); false when either was, after one message that
    // names each such file and the system's reason.
    bool SaveAtExit(const FrameSettings& settings) const;
    // The failed save's last sentence: what the next start reads in place
    // of each file not written (empty: written), the earlier file where one
    // is there, else the defaults.
    static std::string WhatTheNextStartUses(const std::string& unsavedIni, const std::string& unsavedCfg);

    // A save takes well under a second; a temporary file this old is no
    // running instance's.
    static constexpr std::chrono::seconds kStagingFileAge{10 * 60};
};
