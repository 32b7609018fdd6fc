#pragma once
// The checks of the Set Paths and File I/O Options dialogs, without their
// windows.

#include <functional>
#include <optional>
#include <string>

#include "settings/DataPaths.h"
#include "settings/FileIOOpts.h"

namespace path_dialogs {

// The Set Paths dialog's Defaults: the overlay and log folders under the
// data root (which ends with '/').
std::string DefaultOverlayFolder(const std::string& dataRoot);
std::string DefaultLogFolder(const std::string& dataRoot);

// Asked before a missing folder is made: true to make it.
using CreateFolderQuestion = std::function<bool(const std::string& folder)>;

// The question's text for a missing folder.
std::string MissingFolderQuestion(const std::string& folder);

// OK of Set Paths: a missing folder (overlay first) is made only when `ask`
// says so (no question: made); one the user keeps missing, or that cannot
// be made, leaves everything unchanged: the returned message names a folder
// that cannot be made, an empty message says the user declined. Otherwise
// slots 5 and 6 take the two folders, byte for byte.
std::optional<std::string> ApplySetPaths(DataPaths& paths, const std::string& overlay, const std::string& log,
                                         const CreateFolderQuestion& ask = {});

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
