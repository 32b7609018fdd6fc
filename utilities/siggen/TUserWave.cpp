#include "utilities/siggen/TUserWave.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

TUserWave::TUserWave(const std::string& fileName) : FileName(fileName)
{
    struct stat info {};
    if (::stat(fileName.c_str(), &info) != 0) {
        FailureReason = std::string("It could not be opened: ") + std::strerror(errno) + ".";
        return;
    }
    if (!S_ISREG(info.st_mode)) {
        FailureReason = S_ISDIR(info.st_mode) ? "It is a folder." : "It is not a regular file.";
        return;
    }
    // Streamed: only the header is read now, the samples while building.
    File = std::make_unique<TWaveFile>(fileName, TWaveFile::kStreamMode, false, std::string(), false);
    Opened = File->Failed == 0 && File->GetNumFrames() > 0;
    if (!Opened)
        FailureReason = File->GetFailureReason();
}

std::string TUserWave::FailureMessage() const
{
    const std::string message = "Generator - Failure opening file: " + FileName;
    return FailureReason.empty() ? message : message + "\n\n" + FailureReason;
}

bool TUserWave::ReadChannel(std::int32_t* dest, std::uint64_t first, std::uint64_t count, int channel)
{
    if (!Opened || count == 0)
        return false;
    return File->GetSamples(dest, first, count, channel);
}
