#include "settings/SettingsFiles.h"

#include "settings/IniSettingsFile.h"

void SettingsFiles::LoadAtStartup(FrameSettings& settings, const FindDaqInputDeviceFn& findDaq) const
{
    LoadIniSettings(IniPath(), {dataRoot, windowsInstall}, settings);
    LoadCfgSettings(CfgPath(), settings, findDaq);
    settings.ApplyStartupFixups();
    settings.m_DataPathsInUse = settings.m_DataPaths;
}

bool SettingsFiles::SaveAtExit(const FrameSettings& settings) const
{
    const bool ini = SaveIniSettings(IniPath(), settings);
    const bool cfg = SaveCfgSettings(CfgPath(), settings);
    return ini && cfg;
}
