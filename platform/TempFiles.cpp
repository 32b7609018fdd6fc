#include "platform/TempFiles.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/stat.h>
#include <unistd.h>
#include <string_view>
#include <vector>

#include "platform/RiffFile.h"

namespace fs = std::filesystem;

namespace platform {

namespace {

constexpr std::string_view kUniqueDigits = "abcdefghijklmnopqrstuvwxyz0123456789";
constexpr std::size_t kUniqueLength = 8;
constexpr std::string_view kTempSuffix = ".tmp";

std::string UniquePart()
{
    static std::atomic<unsigned> counter{0};
    static const unsigned seed = std::random_device{}();
    std::minstd_rand generator(seed ^ (counter.fetch_add(1) * 2654435761u) ^ static_cast<unsigned>(::getpid()));
    std::string part;
    for (std::size_t i = 0; i < kUniqueLength; ++i)
        part += kUniqueDigits[generator() % kUniqueDigits.size()];
    return part;
}

bool CopyContents(const std::string& source, const std::string& target)
{
    RiffFile in;
    RiffFile out;
    if (!in.Open(source, RiffFile::OpenMode::Read) || !out.Open(target, RiffFile::OpenMode::Create))
        return false;
    std::vector<unsigned char> buffer(1 << 16);
    for (;;) {
        const std::int64_t got = in.Read(buffer.data(), static_cast<std::int64_t>(buffer.size()));
        if (got < 0)
            return false;
        if (got == 0)
            break;
        if (!out.WriteExactly(buffer.data(), got))
            return false;
    }
    return out.Close();
}

}  // namespace

std::string SystemTempFolder()
{
    std::error_code error;
    const fs::path folder = fs::temp_directory_path(error);
    return error ? std::string("/tmp") : folder.string();
}

std::string FolderOfPath(const std::string& path)
{
    const fs::path parent = fs::path(path).parent_path();
    return parent.empty() ? std::string(".") : parent.string();
}

std::string CreateTempFile(const std::string& folder, const std::string& prefix)
{
    const fs::path base = folder.empty() ? fs::path(SystemTempFolder()) : fs::path(folder);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string path = (base / (prefix + UniquePart() + std::string(kTempSuffix))).string();
        // Mode 0666 under the user's umask: a temporary file that later
        // becomes the user's file gets the usual permissions.
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL, 0666);
        if (fd >= 0) {
            ::close(fd);
            return path;
        }
        if (errno != EEXIST)
            return {};
    }
    return {};
}

bool CommitFile(const std::string& finished, const std::string& target)
{
    struct stat existing{};
    if (::stat(target.c_str(), &existing) == 0)
        ::chmod(finished.c_str(), existing.st_mode & 07777);
    return std::rename(finished.c_str(), target.c_str()) == 0;
}

bool CopyFileOver(const std::string& source, const std::string& target)
{
    if (SameFile(source, target))
        return fs::exists(source);
    const std::string staging = CreateTempFile(FolderOfPath(target), "wav");
    if (staging.empty())
        return false;
    if (CopyContents(source, staging) && CommitFile(staging, target))
        return true;
    DeleteFile(staging);
    return false;
}

bool MoveFileOver(const std::string& source, const std::string& target)
{
    if (CommitFile(source, target))
        return true;
    // Usually EXDEV: rename cannot cross file systems.
    if (!CopyFileOver(source, target))
        return false;
    DeleteFile(source);
    return true;
}

bool DeleteFile(const std::string& path)
{
    return std::remove(path.c_str()) == 0;
}

bool SameFile(const std::string& a, const std::string& b)
{
    if (a.empty() || b.empty())
        return false;
    std::error_code error;
    if (fs::exists(a, error) && fs::exists(b, error)) {
        const bool same = fs::equivalent(a, b, error);
        if (!error)
            return same;
    }
    const fs::path left = fs::weakly_canonical(fs::absolute(a, error), error);
    const fs::path right = fs::weakly_canonical(fs::absolute(b, error), error);
    return !error && left == right;
}

bool IsTempFileName(const std::string& name, const std::string& prefix)
{
    const std::string_view view = name;
    if (view.size() != prefix.size() + kUniqueLength + kTempSuffix.size() || view.substr(0, prefix.size()) != prefix ||
        view.substr(prefix.size() + kUniqueLength) != kTempSuffix)
        return false;
    const std::string_view unique = view.substr(prefix.size(), kUniqueLength);
    return unique.find_first_not_of(kUniqueDigits) == std::string_view::npos;
}

}  // namespace platform
