#include "settings/IniSettingsFile.h"

#include <algorithm>
#include <cstdio>

#include "platform/NumberText.h"
#include "platform/Paths.h"
#include "platform/ProfileFile.h"

namespace {

constexpr std::size_t kValueBufferSize = 256;

std::int32_t ReadInteger(const platform::ProfileFile& file, std::string_view key, std::string_view defaultValue)
{
    return platform::ParseIntegerPrefix(file.GetString("FileIO", key, defaultValue, kValueBufferSize));
}

// The folder the file names for a slot, or the slot's rebuilt default when
// that folder is not there.
void ReadFolder(const platform::ProfileFile& file, std::string_view key, DataPaths& paths, std::size_t slot)
{
    const std::string fallback(paths.Get(slot));
    const std::string folder = file.GetString("Paths", key, fallback, DataPaths::kPathSize);
    if (folder != fallback && !FolderExists(folder.c_str(), 0)) {
        std::fprintf(stderr, "Talvenor Mobile: the folder \"%s\" ([Paths] %.*s in %s) does not exist; using \"%s\".\n",
                     folder.c_str(), static_cast<int>(key.size()), key.data(), file.Path().c_str(), fallback.c_str());
        return;
    }
    paths.Set(slot, folder);
}

} // namespace

bool LoadIniSettings(const std::string& path, const IniLocation& location, FrameSettings& s, std::string* reason)
{
    const platform::ProfileFile file(path);

    const std::int32_t keepPaths =
        platform::ParseIntegerPrefix(file.GetString("Install", "Default", "0", kValueBufferSize));
    if (keepPaths == 0 || !location.windowsInstall) {
        s.m_DataPaths.Build(location.dataRoot);
        ReadFolder(file, "ovl", s.m_DataPaths, DataPaths::kOverlay);
        ReadFolder(file, "log", s.m_DataPaths, DataPaths::kLog);
        s.m_DataPathsInUse = s.m_DataPaths;
    }

    FileIOOpts& io = s.FileIO;
    io.WaveFileMode = static_cast<std::uint32_t>(ReadInteger(file, "WaveFileMode", "0"));
    io.MaxRamRecordingTimeSecs = static_cast<std::uint32_t>(ReadInteger(file, "MaxRamRecordingTimeSecs", "3600"));
    io.MakeBackup = ReadInteger(file, "MakeBackup", "1") != 0 ? 1 : 0;
    io.IncludeCalibrationData = ReadInteger(file, "IncludeCalibrationData", "1") != 0 ? 1 : 0;
    io.RecordIOBufferSizeSecs = static_cast<std::uint32_t>(ReadInteger(file, "RecordIOBufferSizeSecs", "1"));
    io.RealTimeIOBufferSizeSecs = static_cast<std::uint32_t>(ReadInteger(file, "RealTimeIOBufferSizeSecs", "1"));
    io.MaxDiskRecordingSizeBytes =
        static_cast<std::uint32_t>(ReadInteger(file, "MaxDiskRecordingSizeBytes", "2000000000"));
    io.RealTimeWaveBufferEnableFlag = ReadInteger(file, "RealTimeWaveBufferEnableFlag", "1") != 0 ? 1 : 0;
    io.RealTimeWaveBufferLengthSecs =
        static_cast<std::uint32_t>(ReadInteger(file, "RealTimeWaveBufferLengthSecs", "60"));
    io.AutoReopenOnLaunch = ReadInteger(file, "AutoReopenOnLaunch", "1") != 0 ? 1 : 0;
    io.MaxDiskRecordingSizeBytes = std::clamp(io.MaxDiskRecordingSizeBytes, FileIOOpts::kMinDiskRecordingSizeBytes,
                                              FileIOOpts::kMaxDiskRecordingSizeBytes);

    io.ApplyFixedValues();
    if (reason != nullptr)
        *reason = file.ReadFailure();
    return file.ReadFailure().empty();
}

std::string UnreadableIniNote(const std::string& path, const std::string& reason)
{
    return "The settings file \"" + path + "\" could not be read (" + reason +
           ").\n\nTalvenor Mobile starts with the default data folders and file options. It is left as it is: a "
           "file that cannot be read is not saved over when the program closes.";
}

bool SaveIniSettings(const std::string& path, const FrameSettings& s, std::string* reason)
{
    platform::ProfileFile file(path);
    const auto number = [](std::uint32_t value) { return platform::FormatInteger(static_cast<std::int32_t>(value)); };
    const FileIOOpts& io = s.FileIO;

    file.WriteString("Install", "Default", "0");
    file.WriteString("Paths", "ovl", s.m_DataPaths.Get(DataPaths::kOverlay));
    file.WriteString("Paths", "log", s.m_DataPaths.Get(DataPaths::kLog));
    file.WriteString("FileIO", "WaveFileMode", number(io.WaveFileMode));
    file.WriteString("FileIO", "MaxRamRecordingTimeSecs", number(io.MaxRamRecordingTimeSecs));
    file.WriteString("FileIO", "MakeBackup", io.MakeBackup != 0 ? "1" : "0");
    file.WriteString("FileIO", "IncludeCalibrationData", io.IncludeCalibrationData != 0 ? "1" : "0");
    file.WriteString("FileIO", "RecordIOBufferSizeSecs", number(io.RecordIOBufferSizeSecs));
    file.WriteString("FileIO", "RealTimeIOBufferSizeSecs", number(io.RealTimeIOBufferSizeSecs));
    file.WriteString("FileIO", "RealTimeWaveBufferEnableFlag", io.RealTimeWaveBufferEnableFlag != 0 ? "1" : "0");
    file.WriteString("FileIO", "RealTimeWaveBufferLengthSecs", number(io.RealTimeWaveBufferLengthSecs));
    file.WriteString("FileIO", "MaxDiskRecordingSizeBytes", number(io.MaxDiskRecordingSizeBytes));
    file.WriteString("FileIO", "AutoReopenOnLaunch", io.AutoReopenOnLaunch != 0 ? "1" : "0");
    return file.Save(reason);
}
