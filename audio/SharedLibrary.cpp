#include "audio/SharedLibrary.h"

#include <dlfcn.h>

bool SharedLibrary::Open(const std::string& path, std::string& error)
{
    Close();
    Handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (Handle == nullptr) {
        const char* reason = dlerror();
        error = reason != nullptr ? reason : path;
        return false;
    }
    return true;
}

void SharedLibrary::Close()
{
    if (Handle != nullptr)
        dlclose(Handle);
    Handle = nullptr;
}

void* SharedLibrary::Symbol(const char* name) const
{
    return Handle != nullptr ? dlsym(Handle, name) : nullptr;
}
