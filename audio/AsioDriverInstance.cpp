#include "audio/AsioDriverInstance.h"

#include "platform/Trace.h"

ASIOError AsioDriverInstance::Create(const std::string& pluginPath, const AsioClassId& classId,
                                     std::unique_ptr<AsioDriverInstance>& instance)
{
    std::unique_ptr<AsioDriverInstance> made(new AsioDriverInstance);
    std::string error;
    if (!made->Library.Open(pluginPath, error)) {
        platform::Trace("Driver plugin not loaded: " + error + "\n");
        return kDrvErrPluginNotLoaded;
    }
    const auto factory = reinterpret_cast<AsioDriverFactory>(made->Library.Symbol(kAsioDriverFactoryName));
    if (factory == nullptr)
        return kDrvErrNoFactory;
    made->Interface = factory(&classId, kAsioDriverInterfaceVersion);
    if (made->Interface == nullptr)
        return kDrvErrClassNotAvailable;
    instance = std::move(made);
    return kAsioOk;
}

AsioDriverInstance::~AsioDriverInstance()
{
    delete Interface;
}
