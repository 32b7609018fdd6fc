#pragma once
// Test controls of the simulated DAQ module, exported by its plugin under
// kDaqSimControlName. They reach the same module the plugin's audio driver
// and USB control library use.

#include <cstdint>

extern "C" {

struct DaqSimControl {
    std::uint32_t Size;
    // Power-up state (see SimModule.h).
    void (*Reset)();
    void (*SetPresent)(std::int32_t present);
    void (*SetFirmwareRunning)(std::int32_t running);
    void (*SetRegister)(std::int32_t value);
    std::int32_t (*GetRegister)();
    void (*SetSerialNumber)(std::uint32_t serial);
    // The connection fails until the module is closed and opened again.
    void (*DropLink)();
    // The next count register reads answer 0xFFFF.
    void (*FailNextReads)(std::int32_t count);
    // Register bits that keep their value whatever is written.
    void (*SetStuckBits)(std::int32_t mask);
    // The sample type of every channel from the next driver on.
    void (*SetSampleType)(std::int32_t type);
    std::int32_t (*RegisterWrites)();
    std::int32_t (*Boots)();
    std::int32_t (*LowPowerEntries)();
    // The module's clock jumps ahead by this many seconds, as after a stall
    // of the whole machine: its stream finds itself that far behind.
    void (*AdvanceClock)(double seconds);
};

using DaqSimControlFunction = const DaqSimControl* (*)();

} // extern "C"

inline constexpr const char* kDaqSimControlName = "TalvenorDaqSimControl";
