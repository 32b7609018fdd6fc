#include "settings/SettingsFiles.h"

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
    text += "\n\nThe next start uses the settings saved before.";
    platform::ShowMessageBox(text, platform::MessageIcon::Warning);
    return false;
}
