// Writes the seed corpora of the settings, overlay and compensation-file
// fuzz targets with the program's own writers: one folder per target.
// Hand-made edge cases live beside this file in fuzz/seeds/.
//
// Usage: MakeFileSeeds <folder>

#include <cstdio>
#include <string>
#include <sys/stat.h>

#include "plot/overlay/TOverlayData.h"
#include "settings/CfgSettingsFile.h"
#include "settings/IniSettingsFile.h"
#include "settings/TextField.h"

namespace {

std::string Folder(const std::string& root, const char* name)
{
    const std::string folder = root + "/" + name;
    ::mkdir(folder.c_str(), 0700);
    return folder + "/";
}

bool Overlay(const std::string& path, const char* rows, std::uint16_t scale, bool splineOff, const char* title)
{
    const auto table = TOverlayData::FromText(rows, scale, 0.0f, false, splineOff);
    return table->Save(path.c_str(), title);
}

constexpr const char kRows[] = "20 -3.5\n100 0\n1000 0.25\n1000 0.5\n10000 -1\n20000 -12.125\n";
constexpr const char kBands[] = "31.5 1\n63 2\n125 3\n250 -4\n500 5.5\n";

bool OverlaySeeds(const std::string& folder)
{
    bool ok = Overlay(folder + "plain.ovl", kRows, 0, false, "Plain table");
    ok = Overlay(folder + "linear.mic", kRows, 0, true, "Flat microphone") && ok;
    ok = Overlay(folder + "bands.ovl", kBands, 2, false, "Third octaves") && ok;
    // A failed table keeps its title: the legend of an empty slot.
    ok = Overlay(folder + "title-only.ovl", "", 0, false, "Empty slot") && ok;
    return ok;
}

bool CompensationSeeds(const std::string& folder)
{
    return Overlay(folder + "microphone.mic", kRows, 0, false, "Microphone")
        && Overlay(folder + "linear.mic", kBands, 0, true, "");
}

bool IniSeeds(const std::string& root, const std::string& folder)
{
    FrameSettings settings;
    settings.m_DataPaths.Build(root + "/");
    bool ok = SaveIniSettings(folder + "defaults.ini", settings);
    settings.FileIO.WaveFileMode = 1;
    settings.FileIO.MaxDiskRecordingSizeBytes = 12345678;
    settings.FileIO.MakeBackup = 0;
    settings.m_DataPaths.Set(DataPaths::kOverlay, root);
    return SaveIniSettings(folder + "changed.ini", settings) && ok;
}

bool CfgSeeds(const std::string& folder)
{
    FrameSettings settings;
    bool ok = SaveCfgSettings(folder + "defaults.cfg", settings);
    settings.Spectrum[0].PlotTop = 20.0f;
    settings.Spectrum[1].PlotRange = 60.0f;
    settings.Scaling[1].AmpScaleType = 2;
    SetTextField(settings.Calibration[0].ChannelName, "Hydrophone");
    settings.SigGenChannel[1].SigType = 3;
    return SaveCfgSettings(folder + "changed.cfg", settings) && ok;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    const std::string root = argv[1];
    ::mkdir(root.c_str(), 0700);
    const bool ok = OverlaySeeds(Folder(root, "overlay"))
                 && CompensationSeeds(Folder(root, "compensation"))
                 && IniSeeds(root, Folder(root, "ini"))
                 && CfgSeeds(Folder(root, "cfg"));
    if (!ok)
        std::fprintf(stderr, "MakeFileSeeds: could not write the seeds into %s\n", root.c_str());
    return ok ? 0 : 1;
}
