#pragma once
// One data-log file, opened for appending. Each line goes out in one write
// with its CRLF line end, and a line that fails half-way is cut off again,
// so the file never ends in a partial line (a full disk loses the line, not
// the file's shape). A file this object created and never wrote to (the
// disk was full before its header got out) is removed again when it closes,
// so no empty log is left behind.
//
// While open, the file carries an exclusive advisory lock (flock): another
// running instance that reaches the same name in the same second finds it
// taken and writes under another name instead of interleaving its lines.

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

class LogFile {
public:
    // ::write's contract: bytes written, or −1 with errno set. Tests put in
    // one that fails.
    using WriteCall = std::function<long(int fd, const char* data, std::size_t size)>;

    // Null with error set (the system's reason) when the file cannot be
    // opened or created, and also, with inUse set, when another open
    // LogFile (another running instance's) holds it.
    static std::unique_ptr<LogFile> OpenForAppend(const std::string& path, std::string& error,
                                                  WriteCall write = {}, bool* inUse = nullptr);
    ~LogFile();
    LogFile(const LogFile&) = delete;
    LogFile& operator=(const LogFile&) = delete;

    // Writes line + CRLF; false with error set when the whole line could
    // not be written (nothing of it is left in the file then).
    bool WriteLine(std::string_view line, std::string& error);
    // The same for text that already ends in its CRLF: a long record goes
    // out without being copied first.
    bool WriteText(std::string_view text, std::string& error);
    const std::string& Path() const { return m_Path; }

private:
    LogFile(int fd, std::string path, WriteCall write, bool created);

    int m_Fd = -1;
    bool m_Created = false;
    std::string m_Path;
    WriteCall m_Write;
    std::string m_Buffer;
};
