#pragma once
// The audio drivers the registry lists: every subkey of "software\asio"
// whose "clsid" names a class registered with an existing "InprocServer32"
// file, in registry order. Records keep their driver instance while open.

#include "audio/AsioDriverInstance.h"

#include <memory>
#include <string>
#include <vector>

class AsioDriverList {
public:
    // Room for a driver's name and its plugin path, terminator included.
    static constexpr int kNameCapacity = 128;
    static constexpr int kPathCapacity = 512;

    // Reads platform::CurrentRegistry(), after making sure the drivers that
    // ship with the program are registered in the system registry.
    AsioDriverList();
    // Releases every driver still open.
    virtual ~AsioDriverList();
    AsioDriverList(const AsioDriverList&) = delete;
    AsioDriverList& operator=(const AsioDriverList&) = delete;

    // −5001 for a null out argument, −5003 for no such index, −5002 when the
    // driver is open already, else the creation's code (0 on success).
    ASIOError asioOpenDriver(int index, AsioDriver** driver);
    // Releases the driver's instance; −5003 for no such index.
    ASIOError asioCloseDriver(int index);
    int asioGetNumDev() const;
    // A name of length or more characters comes back cut to length − 4
    // characters followed by "...". −5001 for a null buffer or a length
    // below 4, −5003 for no such index.
    ASIOError asioGetDriverName(int index, char* buffer, int length) const;
    ASIOError asioGetDriverPath(int index, char* buffer, int length) const;
    ASIOError asioGetDriverCLSID(int index, AsioClassId* classId) const;

private:
    struct Record {
        int DriverIndex = 0;
        AsioClassId ClassId;
        std::string ServerPath;
        std::string Name;
        std::unique_ptr<AsioDriverInstance> Instance;
    };

    void ReadRegistry();
    Record* Find(int index);
    const Record* Find(int index) const;

    std::vector<Record> Records;
};
