#pragma once
// A plugin file opened with dlopen.
//
// Libraries stay mapped after Close: a plugin's own dependencies (libjack
// among them) keep helper threads and exit handlers that may still point into
// their code after the last handle is gone, and unmapping them would crash
// the program long after the driver was released.

#include <string>

class SharedLibrary {
public:
    SharedLibrary() = default;
    ~SharedLibrary() { Close(); }
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;

    // False, with the loader's reason in error, when the file cannot be loaded.
    bool Open(const std::string& path, std::string& error);
    void Close();
    bool IsOpen() const { return Handle != nullptr; }
    // Null when the library is closed or does not export the name.
    void* Symbol(const char* name) const;

private:
    void* Handle = nullptr;
};
