#pragma once
// The DAQ module's USB control library, loaded from a plugin file.

#include "audio/DaqUsbApi.h"
#include "audio/SharedLibrary.h"

#include <string>

class DaqUsbLibrary {
public:
    // False when the file does not load or exports no usable table.
    bool Load(const std::string& path);
    // Null until loaded.
    const DaqUsbApi* Api() const { return Table; }

private:
    SharedLibrary Library;
    const DaqUsbApi* Table = nullptr;
};
