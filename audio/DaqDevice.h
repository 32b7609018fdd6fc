#pragma once
// The DAQ module's analog front end, reached through its USB control library:
// input range, sensor (IEPE) current per channel, firmware boot, low-power
// state at exit and the parameter memory with the serial number. The last
// configuration written is cached so that an unchanged one is not written
// again. GUI thread only.
//
// A boot and the low-power step each wait for the module to settle: as long
// as the library says (1500 ms for the real module, a few milliseconds for
// the simulated one), through a wait that the owner can replace, for
// instance by one that keeps the GUI's events flowing.

#include "audio/DaqOpts.h"
#include "audio/DaqUsbLibrary.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class DaqDevice {
public:
    using WaitFunction = std::function<void(std::uint32_t milliseconds)>;

    // Uses the control library the registry names, loaded at the first Open.
    DaqDevice();
    // Uses the control library in the given file.
    explicit DaqDevice(std::string libraryPath);
    // Shutdown.
    ~DaqDevice();
    DaqDevice(const DaqDevice&) = delete;
    DaqDevice& operator=(const DaqDevice&) = delete;

    // The default sleeps on the calling thread.
    void SetWait(WaitFunction wait);

    // Finds and opens the module; boots it once per DaqDevice. Nothing when open.
    void Open();
    // Closes (when open) and opens afresh.
    void Reopen();
    // The next SetInputConfig writes the register whatever the options.
    void ResetCachedConfig();
    // SetInputConfig; the devices and the flag are not used.
    bool ConfigureInput(DaqOpts options, int inputDevice, int outputDevice, bool flag);
    // Writes gain and sensor current unless options equal the cache; true when
    // the register read back holds what was written (or nothing needed writing).
    bool SetInputConfig(DaqOpts options);
    // Parameter 4 of the module's memory; 0 when not open or unreadable.
    std::uint32_t ReadSerialNumber();
    bool ReadParameter(std::uint32_t index, std::uint32_t& value);
    // Puts the module into its low-power state when the last configuration
    // written asked for it, then closes it.
    void Shutdown();

    // Full-scale input in volts for a gain code (10 V for unknown codes).
    static float InputRangeForGain(std::uint16_t gain);

    int GetDeviceCount() const { return DeviceCount; }
    bool IsOpen() const { return OpenFlag; }
    const DaqOpts& GetCachedConfig() const { return CachedConfig; }

private:
    static DaqOpts EmptyCache();
    const DaqUsbApi* Api();
    void Boot();
    void Settle();

    std::string LibraryPath;  // empty: ask the registry
    DaqUsbLibrary Library;
    WaitFunction Wait;
    std::vector<std::uint8_t> DeviceList;
    std::int32_t DeviceCount = 0;
    bool OpenFlag = false;
    bool Booted = false;
    DaqOpts CachedConfig = EmptyCache();
};
