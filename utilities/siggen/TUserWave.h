#pragma once
// The wave file a "user wave file" channel plays.
//
// It is opened by the thread that starts the build, never by the building
// thread. Opening shows nothing itself: the reason it failed goes into the
// generator's one message about the file. Only a regular file is opened
// (reading a pipe would never end). The builder only reads samples, which
// shows nothing.

#include <cstdint>
#include <memory>
#include <string>

#include "audio/TWaveFile.h"

class TUserWave {
public:
    explicit TUserWave(const std::string& fileName);
    TUserWave(const TUserWave&) = delete;
    TUserWave& operator=(const TUserWave&) = delete;

    bool IsOpen() const { return Opened; }
    const std::string& GetFileName() const { return FileName; }
    // The generator's one message about a file that did not open: which
    // file, then why.
    std::string FailureMessage() const;
    // Valid when open.
    const TWaveFormat& GetFormat() const { return File->GetFormat(); }
    std::uint64_t GetNumFrames() const { return Opened ? File->GetNumFrames() : 0; }

    // `count` values of one channel from frame `first`, each minus the
    // file's zero level (a mono file gives its channel to both). False when
    // the range cannot be read.
    bool ReadChannel(std::int32_t* dest, std::uint64_t first, std::uint64_t count, int channel);

private:
    std::string FileName;
    std::string FailureReason;
    std::unique_ptr<TWaveFile> File;
    bool Opened = false;
};
