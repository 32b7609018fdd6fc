#pragma once
// The checks of the Set Paths and File I/O Options dialogs, without their
// windows.

#include <optional>
#include <string>

#include "settings/DataPaths.h"
#include "settings/FileIOOpts.h"

namespace path_dialogs {

// The Set Paths dialog's Defaults: the overlay and log folders under the
// data root (which ends with '/').
std::string DefaultOverlayFolder(const std::string& dataRoot);
std::string DefaultLogFolder(const std::string& dataRoot);

// OK of Set Paths: each folder (overlay first) is created when missing; a
// folder that cannot be made is named in the returned message and nothing
// changes. Otherwise slots 5 and 6 take the two folders.
std::optional<std::string> ApplySetPaths(DataPaths& paths, const std::string& overlay, const std::string& log);

// What the File I/O dialog's controls hold.
struct FileIOFields {
    bool ram = true;
    bool makeBackup = false;
    bool includeCalibration = false;
    bool buffering = false;
    bool autoReopen = false;
    std::string ramSeconds;
    std::string sizeMegabytes;
    std::string bufferSeconds;
};

FileIOFields FieldsOf(const FileIOOpts& options);
// OK of File I/O: the first failing check's message, or nothing and the
// options written. Numbers are read as the C library reads them (no
// number is 0); a negative one fails its lower bound.
std::optional<std::string> ApplyFileIOFields(FileIOOpts& options, const FileIOFields& fields);

} // namespace path_dialogs
