// The plugin's driver factory.

#include "audio/AsioDriver.h"
#include "audio/ShippedDriverIds.h"
#include "drivers/common/PluginExport.h"
#include "drivers/daqsim/SimAsioDriver.h"

TALVENOR_PLUGIN_EXPORT AsioDriver* TalvenorCreateAsioDriver(const AsioClassId* classId, std::int32_t version)
{
    AsioClassId own;
    if (classId == nullptr || version != kAsioDriverInterfaceVersion
        || !AsioClassId::Parse(kDaqSimDriverClassId, own) || !(*classId == own))
        return nullptr;
    return new SimAsioDriver;
}
