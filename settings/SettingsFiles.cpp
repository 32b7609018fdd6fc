#include "settings/SettingsFiles.h"

#include <filesystem>
#include <system_error>
#include <vector>

#include "platform/AtomicFile.h"
#include "platform/MessageBox.h"
#include "settings/IniSettingsFile.h"

void SettingsFiles::LoadAtStartup(FrameSettings& settings, const FindDaqInputDeviceFn& findDaq) const
{
    RemoveStaleTempFiles();
    LoadIniSettings(IniPath(), {dataRoot, windowsInstall}, settings);
    LoadCfgSettings(CfgPath(), settings, findDaq);
    settings.ApplyStartupFixups();
    settings.m_DataPathsInUse = settings.m_DataPaths;
}

void SettingsFiles::RemoveStaleTempFiles() const
{
    // A younger one may be another running instance's save in progress.
    platform::RemoveStaleStagingFiles(dataRoot, kStagingFileAge);
}

bool SettingsFiles::SaveAtExit(const FrameSettings& settings) const
{
    std::string iniReason;
    std::string cfgReason;
    const bool ini = SaveIniSettings(IniPath(), settings, &iniReason);
    const bool cfg = SaveCfgSettings(CfgPath(), settings, &cfgReason);
    if (ini && cfg)
        return true;
    std::string text = "The settings could not be saved:\n";
    if (!ini)
        text += "\n" + IniPath() + ": " + iniReason + ".";
    if (!cfg)
        text += "\n" + CfgPath() + ": " + cfgReason + ".";
    text += "\n\n" + WhatTheNextStartUses(ini ? std::string() : IniPath(), cfg ? std::string() : CfgPath());
    platform::ShowMessageBox(text, platform::MessageIcon::Warning);
    return false;
}

namespace {

// A file the next start can read settings from; anything else there (no
// file, a folder) leaves it the defaults.
bool HoldsSavedSettings(const std::string& path)
{
    std::error_code error;
    return !path.empty() && std::filesystem::is_regular_file(path, error);
}

} // namespace

std::string SettingsFiles::WhatTheNextStartUses(const std::string& unsavedIni, const std::string& unsavedCfg)
{
    std::vector<std::string> earlier;
    std::vector<std::string> missing;
    for (const std::string& path : {unsavedIni, unsavedCfg}) {
        if (path.empty())
            continue;
        (HoldsSavedSettings(path) ? earlier : missing).push_back(path);
    }
    if (missing.empty())
        return "The next start uses the settings saved before.";
    const std::string none = ": none were saved there before.";
    if (!earlier.empty())
        return "The next start uses the settings saved before in " + earlier[0] + ", and the defaults in place of "
            + missing[0] + none;
    if (missing.size() == 2)
        return "The next start uses the default settings: none were saved before.";
    return "The next start uses the defaults in place of " + missing[0] + none;
}
