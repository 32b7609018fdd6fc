#pragma once
// One driver made by its plugin: the in-process instance of a registered
// class. Deleting it deletes the driver (which stops its stream) before the
// plugin's handle is let go.

#include "audio/AsioDriver.h"
#include "audio/SharedLibrary.h"

#include <memory>
#include <string>

class AsioDriverInstance {
public:
    // Loads the plugin file and asks its factory for the class. Answers 0 and
    // the instance, or one of the kDrvErr creation codes.
    static ASIOError Create(const std::string& pluginPath, const AsioClassId& classId,
                            std::unique_ptr<AsioDriverInstance>& instance);

    ~AsioDriverInstance();
    AsioDriverInstance(const AsioDriverInstance&) = delete;
    AsioDriverInstance& operator=(const AsioDriverInstance&) = delete;

    AsioDriver* Driver() const { return Interface; }

private:
    AsioDriverInstance() = default;

    SharedLibrary Library;
    AsioDriver* Interface = nullptr;
};
