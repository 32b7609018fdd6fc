#pragma once
// Opening a file the user named for reading, only when it is a regular file.
// A named pipe would block the open (and the whole program) until some
// writer came; a device or a folder is no table either. The check and the
// open use one descriptor, so nothing can be swapped in between.

#include <cstdio>
#include <string>

namespace platform {

struct RegularFileOpen {
    // Null on failure; the caller closes it.
    std::FILE* File = nullptr;
    // errno of the failed step; 0 when it opened or was refused as not regular.
    int Error = 0;
    bool NotRegular = false;

    // Nothing by that name (a slot that never held data).
    bool Missing() const;
    // Why it did not open, for a message: "it is not a regular file" or the
    // system's reason.
    std::string Reason() const;
};

RegularFileOpen OpenRegularFile(const std::string& path);

// Reads the whole of a regular file, failing (with the reason) when it is
// larger than maxBytes rather than cutting it; missing tells a file that is
// not there from one that could not be read.
bool ReadWholeRegularFile(const std::string& path, std::size_t maxBytes, std::string& bytes, std::string& reason,
                          bool* missing = nullptr);

} // namespace platform
