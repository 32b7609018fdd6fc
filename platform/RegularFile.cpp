#include "platform/RegularFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

bool RegularFileOpen::Missing() const
{
    return File == nullptr && !NotRegular && (Error == ENOENT || Error == ENOTDIR);
}

std::string RegularFileOpen::Reason() const
{
    if (NotRegular)
        return "it is not a regular file";
    if (Error != 0)
        return std::strerror(Error);
    return {};
}

RegularFileOpen OpenRegularFile(const std::string& path)
{
    RegularFileOpen result;
    if (path.empty()) {
        result.Error = ENOENT;
        return result;
    }
    // Non-blocking, so a pipe without a writer cannot hold the open.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        result.Error = errno;
        return result;
    }
    struct stat attributes{};
    if (::fstat(fd, &attributes) != 0) {
        result.Error = errno;
        ::close(fd);
        return result;
    }
    if (!S_ISREG(attributes.st_mode)) {
        result.NotRegular = true;
        ::close(fd);
        return result;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    result.File = ::fdopen(fd, "rb");
    if (result.File == nullptr) {
        result.Error = errno;
        ::close(fd);
    }
    return result;
}

bool ReadWholeRegularFile(const std::string& path, std::size_t maxBytes, std::string& bytes, std::string& reason,
                          bool* missing)
{
    bytes.clear();
    reason.clear();
    const RegularFileOpen open = OpenRegularFile(path);
    if (missing != nullptr)
        *missing = open.Missing();
    if (open.File == nullptr) {
        reason = open.Reason();
        return false;
    }
    char block[65536];
    bool ok = true;
    for (;;) {
        const std::size_t got = std::fread(block, 1, sizeof block, open.File);
        if (bytes.size() + got > maxBytes) {
            reason = "it is larger than " + std::to_string(maxBytes >> 20) + " MiB";
            ok = false;
            break;
        }
        bytes.append(block, got);
        if (got < sizeof block) {
            if (std::ferror(open.File) != 0) {
                reason = std::strerror(errno);
                ok = false;
            }
            break;
        }
    }
    std::fclose(open.File);
    if (!ok)
        bytes.clear();
    return ok;
}

} // namespace platform
