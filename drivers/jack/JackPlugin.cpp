// The plugin's driver factory.

#include "audio/AsioDriver.h"
#include "audio/ShippedDriverIds.h"
#include "drivers/common/PluginExport.h"
#include "drivers/jack/JackAsioDriver.h"

TALVENOR_PLUGIN_EXPORT AsioDriver* TalvenorCreateAsioDriver(const AsioClassId* classId, std::int32_t version)
{
    AsioClassId own;
    if (classId == nullptr || version != kAsioDriverInterfaceVersion
        || !AsioClassId::Parse(kJackDriverClassId, own) || !(*classId == own))
        return nullptr;
    return new JackAsioDriver;
}
