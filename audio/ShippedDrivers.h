#pragma once
// The driver plugins that ship with the program and their registry entries:
// what an installer would write into the registry on another system.
//
// Plugin files are looked for, first match wins, in: the folder named by
// TALVENOR_DRIVER_DIR; "drivers" next to the executable; "lib/talvenor/drivers"
// beside the executable's folder (an installed tree); and the build tree's
// plugin folder, so that a program or test run from the build tree finds the
// plugins it was built with. A user file adds further entries: the file named
// by TALVENOR_REGISTRY_FILE, else "talvenor/drivers.reg" in the user's
// configuration folder (format in platform/Registry.h).

#include "audio/ShippedDriverIds.h"
#include "platform/Registry.h"

#include <string>

// Where the DAQ module's USB control library is registered: a value holding
// its file path, so that a real module's library can take the place of the
// simulated one.
inline constexpr const char* kDaqUsbLibraryKey = "software\\Talvenor\\DAQ";
inline constexpr const char* kDaqUsbLibraryValue = "UsbLibrary";

// The path of a shipped plugin file: the first folder above that holds it,
// else where the build tree would hold it.
std::string FindShippedPlugin(const std::string& fileName);

// Writes the shipped drivers' entries into registry.
void RegisterShippedDrivers(platform::Registry& registry);

// Adds the entries of a user's driver file; a file that is not one adds
// nothing and says so in a message naming it. A missing file is no error.
void LoadDriverFile(platform::Registry& registry, const std::string& file);

// Once per process: the shipped entries and the user file into the system registry.
void EnsureShippedDriversRegistered();
