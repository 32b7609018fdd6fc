#pragma once
// The driver list plus the driver currently loaded, and the one holder of
// them that the process keeps (made on the first load).

#include "audio/AsioDriverList.h"

#include <string>

class AsioDrivers : public AsioDriverList {
public:
    AsioDrivers() = default;
    // Unloads the current driver.
    ~AsioDrivers() override;

    // Loads the first listed driver whose full name equals name, unloading
    // the current one first. On failure the driver that was current before is
    // loaded again (when it had another name) and the answer is false.
    bool loadDriver(const char* name);
    // Releases the current driver and clears the host's driver pointer.
    void removeCurrentDriver();
    // −1 when no driver is loaded.
    int getCurrentDriverIndex() const { return CurrentIndex; }
    // False when no driver is loaded.
    bool getCurrentDriverName(std::string& name) const;

private:
    int CurrentIndex = -1;
};

// Makes the process's holder when there is none, then loads the driver.
bool loadAsioDriver(const char* name);
// The process's holder, made (and the registry read) when there is none.
AsioDrivers& MakeAsioDrivers();
// The process's holder; null until the first load or after DeleteAsioDrivers.
AsioDrivers* GetAsioDrivers();
// Destroys the holder, unloading its driver; the next load reads the registry anew.
void DeleteAsioDrivers();
