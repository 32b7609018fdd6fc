#include "platform/AtomicFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

#include "platform/TempFiles.h"

namespace platform {

namespace {

constexpr const char* kStagingPrefix = ".settings-";

bool WriteAll(int fd, std::string_view content)
{
    while (!content.empty()) {
        const ssize_t written = ::write(fd, content.data(), content.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        content.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// The whole content on disk before the rename, so that a crash right after
// it cannot leave an empty file under the target's name.
bool WriteAndSync(const std::string& path, std::string_view content)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool written = WriteAll(fd, content) && ::fsync(fd) == 0;
    return ::close(fd) == 0 && written;
}

} // namespace

bool WriteFileAtomically(const std::string& path, std::string_view content)
{
    int error = 0;
    return WriteFileAtomically(path, content, error);
}

bool WriteFileAtomically(const std::string& path, std::string_view content, int& error)
{
    error = 0;
    if (path.empty()) {
        error = ENOENT;
        return false;
    }
    errno = 0;
    const std::string staging = CreateTempFile(FolderOfPath(path), kStagingPrefix);
    if (staging.empty()) {
        error = errno;
        return false;
    }
    if (WriteAndSync(staging, content) && CommitFile(staging, path))
        return true;
    error = errno;
    DeleteFile(staging);
    return false;
}

void RemoveStaleStagingFiles(const std::string& folder, std::chrono::seconds age)
{
    namespace fs = std::filesystem;
    std::error_code error;
    const auto now = fs::file_time_type::clock::now();
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code entryError;
        const fs::path& path = it->path();
        if (!IsTempFileName(path.filename().string(), kStagingPrefix) || !it->is_regular_file(entryError) ||
            it->is_symlink(entryError))
            continue;
        const auto written = fs::last_write_time(path, entryError);
        if (!entryError && now - written >= age)
            fs::remove(path, entryError);
    }
}

std::string ErrorText(int error)
{
    return error != 0 ? std::string(std::strerror(error)) : std::string("the system gave no reason");
}

} // namespace platform
