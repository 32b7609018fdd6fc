#include "settings/PathDialogsLogic.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "platform/NumberText.h"

namespace path_dialogs {

namespace {

bool IsFolder(const std::string& folder)
{
    std::error_code error;
    return !folder.empty() && std::filesystem::is_directory(folder, error);
}

// Makes the folder and its parents; the error code when it cannot.
int MakeFolder(const std::string& folder)
{
    std::error_code error;
    if (folder.empty())
        return ENOENT;
    if (std::filesystem::is_directory(folder, error))
        return 0;
    std::filesystem::create_directories(folder, error);
    if (std::filesystem::is_directory(folder))
        return 0;
    return error ? error.value() : ENOTDIR;
}

std::string CannotMake(const std::string& folder, int code)
{
    return "The file folder \"" + folder + "\" does not exist and cannot be created (error code = " +
           std::to_string(code) + ": " + std::strerror(code) +
           ").  Please check the path/folder settings under the <Print><Set Paths> menu.";
}

} // namespace

std::string DefaultOverlayFolder(const std::string& dataRoot)
{
    return dataRoot + "Overlay";
}

std::string DefaultLogFolder(const std::string& dataRoot)
{
    return dataRoot + "Log";
}

std::string MissingFolderQuestion(const std::string& folder)
{
    return "The file folder \"" + folder + "\" does not exist.\n\nDo you want to create it?";
}

std::optional<std::string> ApplySetPaths(DataPaths& paths, const std::string& overlay, const std::string& log,
                                         const CreateFolderQuestion& ask)
{
    for (const std::string* folder : {&overlay, &log}) {
        if (folder->size() >= DataPaths::kPathSize)
            return "The folder name \"" + *folder + "\" is too long.";
        if (folder->empty())
            return CannotMake(*folder, ENOENT);
        if (IsFolder(*folder))
            continue;
        if (ask && !ask(*folder))
            return std::string();
        if (const int code = MakeFolder(*folder))
            return CannotMake(*folder, code);
    }
    paths.Set(DataPaths::kOverlay, overlay);
    paths.Set(DataPaths::kLog, log);
    return std::nullopt;
}

FileIOFields FieldsOf(const FileIOOpts& o)
{
    FileIOFields f;
    f.ram = o.WaveFileMode == 0;
    f.makeBackup = o.MakeBackup != 0;
    f.includeCalibration = o.IncludeCalibrationData != 0;
    f.buffering = o.RealTimeWaveBufferEnableFlag != 0;
    f.autoReopen = o.AutoReopenOnLaunch != 0;
    f.ramSeconds = std::to_string(o.MaxRamRecordingTimeSecs);
    f.sizeMegabytes = std::to_string(o.MaxDiskRecordingSizeBytes / 1000000);
    f.bufferSeconds = std::to_string(o.RealTimeWaveBufferLengthSecs);
    return f;
}

std::optional<std::string> ApplyFileIOFields(FileIOOpts& o, const FileIOFields& f)
{
    o.WaveFileMode = f.ram ? 0 : 1;
    o.MakeBackup = f.makeBackup ? 1 : 0;
    o.IncludeCalibrationData = f.includeCalibration ? 1 : 0;
    o.RealTimeWaveBufferEnableFlag = f.buffering ? 1 : 0;
    o.AutoReopenOnLaunch = f.autoReopen ? 1 : 0;
    // Signed: "-5" must not pass a lower bound by wrapping to a huge count.
    const std::int64_t ram = platform::ParseIntegerPrefix(f.ramSeconds);
    const std::int64_t buffer = platform::ParseIntegerPrefix(f.bufferSeconds);
    const std::int64_t size = platform::ParseIntegerPrefix(f.sizeMegabytes);
    if (buffer < 4)
        return std::string("Real Time Data buffer length must be at least 4 seconds.");
    if (ram < 4)
        return std::string("The RAM recording time must be at least 4 seconds.");
    if (ram > 3600)
        return std::string("The RAM recording time must be less than 3600 seconds.");
    if (size < 1)
        return std::string("The Hard Disk recording size must be at least 1 MB");
    if (size > 2000)
        return std::string("The Hard Disk recording size cannot be greater than 2,000 MB (2GB)");
    o.MaxRamRecordingTimeSecs = static_cast<std::uint32_t>(ram);
    o.RealTimeWaveBufferLengthSecs = static_cast<std::uint32_t>(buffer);
    o.MaxDiskRecordingSizeBytes = static_cast<std::uint32_t>(size * 1000000);
    return std::nullopt;
}

} // namespace path_dialogs
