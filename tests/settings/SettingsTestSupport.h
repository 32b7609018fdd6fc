#pragma once
// Temporary folders, whole-file reads and writes, and comparison of the
// frame's settings for the settings tests.

#include <filesystem>
#include <string>

#include "settings/FrameSettings.h"

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder, with a trailing '/'.
    std::string Root() const { return m_Path.string() + "/"; }
    std::string File(const std::string& name) const { return (m_Path / name).string(); }

private:
    std::filesystem::path m_Path;
};

std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& content);

// Field by field: the processing and calibration records have no ==.
void ExpectSameSettings(const FrameSettings& actual, const FrameSettings& expected);
