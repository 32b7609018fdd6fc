#include "platform/Paths.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/MessageBox.h"

bool FolderExists(const char* path, std::uint8_t showMessage)
{
    if (path == nullptr)
        return false;
    struct stat attributes{};
    if (::stat(path, &attributes) == 0)
        return true;
    const int code = errno;
    if (showMessage) {
        const std::string text = std::string("The file folder \"") + path
                               + "\" does not exist (error code = " + std::to_string(code)
                               + ").  Please check the path/folder settings under the <Print><Set Paths> menu.";
        platform::ShowMessageBox(text, platform::MessageIcon::Stop);
    }
    return false;
}

namespace {
// Length of the folder part: up to the last '/' after the first character.
std::size_t FolderLength(std::string_view path)
{
    const std::size_t cut = path.rfind('/');
    return cut == std::string_view::npos || cut == 0 ? path.size() : cut;
}
} // namespace

void StripFileName(const char* source, char* destination)
{
    if (source == nullptr || destination == nullptr)
        return;
    const std::size_t length = std::strlen(source);
    std::memmove(destination, source, length + 1);
    destination[FolderLength(std::string_view(destination, length))] = '\0';
}

std::string StripFileName(std::string_view source)
{
    return std::string(source.substr(0, FolderLength(source)));
}

std::string RunningProgramPath()
{
    std::string path(4096, '\0');
    for (;;) {
        const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
        if (length < 0)
            return {};
        if (static_cast<std::size_t>(length) < path.size()) {
            path.resize(static_cast<std::size_t>(length));
            return path;
        }
        path.resize(path.size() * 2);
    }
}
