#include "audio/DaqUsbLibrary.h"

#include "platform/Trace.h"

namespace {

bool IsComplete(const DaqUsbApi& api)
{
    return api.FindDevices != nullptr && api.OpenDevice != nullptr && api.GetDeviceInfo != nullptr
        && api.IsFirmwareRunning != nullptr && api.BootDevice != nullptr && api.SuspendDevice != nullptr
        && api.CloseDevice != nullptr && api.IsLinkAlive != nullptr && api.ReadInputConfig != nullptr
        && api.WriteInputConfig != nullptr && api.VendorRequest != nullptr;
}

} // namespace

bool DaqUsbLibrary::Load(const std::string& path)
{
    Table = nullptr;
    std::string error;
    if (!Library.Open(path, error)) {
        platform::Trace("DAQ control library not loaded: " + error + "\n");
        return false;
    }
    const auto api = reinterpret_cast<DaqUsbApiFunction>(Library.Symbol(kDaqUsbApiName));
    const DaqUsbApi* table = api != nullptr ? api() : nullptr;
    if (table == nullptr || table->Size < sizeof(DaqUsbApi) || !IsComplete(*table)) {
        Library.Close();
        return false;
    }
    Table = table;
    return true;
}
