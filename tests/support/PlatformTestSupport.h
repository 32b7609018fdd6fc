#pragma once
// Test helpers shared by the platform, plot and settings-dialog tests:
// message boxes recorded instead of shown, and a fresh temporary folder
// with whole-file reads and writes.

#include "platform/MessageBox.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <unistd.h>

#include <gtest/gtest.h>

// Records the message boxes shown while it lives, each answered with
// `answer` (OK unless changed).
struct MessageLog {
    MessageLog()
    {
        platform::SetMessageBoxHook([this](const platform::MessageBoxRequest& r) {
            requests.push_back(r);
            texts.push_back(r.text);
            return answer;
        });
    }
    ~MessageLog() { platform::SetMessageBoxHook({}); }
    std::vector<platform::MessageBoxRequest> requests;
    std::vector<std::string> texts;
    platform::MessageResult answer = platform::MessageResult::Ok;
};

inline void WriteText(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A fresh folder under the test temporary directory, removed afterwards.
struct TempFolder {
    TempFolder()
        : folder(std::filesystem::path(testing::TempDir())
                 / ("tf-" + std::to_string(::getpid()) + "-" + std::to_string(count++)))
    {
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }
    ~TempFolder() { std::filesystem::remove_all(folder); }
    std::string Path(const std::string& name) const { return (folder / name).string(); }
    // The folder, with a trailing '/'.
    std::string Root() const { return folder.string() + "/"; }
    std::filesystem::path folder;
    static inline int count = 0;
};

// A test fixture owning one temporary folder.
class TempFolderTest : public testing::Test, protected TempFolder {
};
