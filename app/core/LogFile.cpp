#include "app/core/LogFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

LogFile::LogFile(int fd, std::string path, WriteCall write, bool created)
    : m_Fd(fd), m_Created(created), m_Path(std::move(path)), m_Write(std::move(write))
{
}

namespace {

// Made here (true), or an existing file appended to (which is never removed).
int OpenOrCreate(const std::string& path, bool& created)
{
    created = true;
    int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0 && errno == EEXIST) {
        created = false;
        fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    }
    return fd;
}

// The name still leads to the file open as fd: the holder before us may have
// removed it (it stayed empty) between our open and our lock.
bool StillNamed(const std::string& path, int fd)
{
    struct stat named {};
    struct stat held {};
    return ::stat(path.c_str(), &named) == 0 && ::fstat(fd, &held) == 0 && named.st_dev == held.st_dev &&
           named.st_ino == held.st_ino;
}

} // namespace

std::unique_ptr<LogFile> LogFile::OpenForAppend(const std::string& path, std::string& error, WriteCall write,
                                                bool* inUse)
{
    if (inUse != nullptr)
        *inUse = false;
    bool created = false;
    int fd = -1;
    for (int attempt = 0; attempt < 3; ++attempt) {
        fd = OpenOrCreate(path, created);
        if (fd < 0) {
            error = std::strerror(errno);
            return nullptr;
        }
        // The lock goes with the descriptor: it ends when the file closes.
        // A file system without locks still gets its log.
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
            // Another instance's file, even when it was made here a moment
            // before that instance locked it: never removed here.
            ::close(fd);
            if (inUse != nullptr)
                *inUse = true;
            error = std::strerror(EWOULDBLOCK);
            return nullptr;
        }
        if (StillNamed(path, fd))
            break;
        ::close(fd);
        fd = -1;
    }
    if (fd < 0) {
        error = std::strerror(ENOENT);
        return nullptr;
    }
    if (!write)
        write = [](int f, const char* data, std::size_t size) { return static_cast<long>(::write(f, data, size)); };
    return std::unique_ptr<LogFile>(new LogFile(fd, path, std::move(write), created));
}

LogFile::~LogFile()
{
    if (m_Fd < 0)
        return;
    // Removed while the lock is still held, so no other instance is
    // writing under the name it had.
    struct stat now {};
    if (m_Created && ::fstat(m_Fd, &now) == 0 && now.st_size == 0)
        ::unlink(m_Path.c_str());
    ::close(m_Fd);
}

bool LogFile::WriteLine(std::string_view line, std::string& error)
{
    m_Buffer.assign(line);
    m_Buffer += "\r\n";
    return WriteText(m_Buffer, error);
}

bool LogFile::WriteText(std::string_view text, std::string& error)
{
    struct stat before {};
    const off_t start = ::fstat(m_Fd, &before) == 0 ? before.st_size : -1;

    std::size_t done = 0;
    while (done < text.size()) {
        const long n = m_Write(m_Fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            error = n < 0 ? std::strerror(errno) : std::strerror(ENOSPC);
            // Cut the part that did get out, so the next reader sees whole lines.
            if (done > 0 && start >= 0 && ::ftruncate(m_Fd, start) != 0)
                error += " (a partial line could not be removed)";
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}
