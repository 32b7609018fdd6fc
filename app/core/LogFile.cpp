#include "app/core/LogFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

LogFile::LogFile(int fd, std::string path, WriteCall write, bool created)
    : m_Fd(fd), m_Created(created), m_Path(std::move(path)), m_Write(std::move(write))
{
}

std::unique_ptr<LogFile> LogFile::OpenForAppend(const std::string& path, std::string& error, WriteCall write)
{
    // Made here, or an existing file appended to (which is never removed).
    bool created = true;
    int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0 && errno == EEXIST) {
        created = false;
        fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    }
    if (fd < 0) {
        error = std::strerror(errno);
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
