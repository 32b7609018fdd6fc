#pragma once
// How the DAQ module's analog front end is to be set: the input range common
// to both channels, each channel's sensor (IEPE) current, and whether the
// module goes into its low-power state when the program exits.
// Lives here until the DAQ control code that consumes it is built.

#include <cstdint>

struct DaqOpts {
    // Gain code 1, 4, 16 or 64. The device's cache of what it last wrote
    // uses kNothingWritten.
    std::uint16_t DAQ_InputGain = 16;
    std::uint8_t DAQ_IEPE_Left = 1;
    std::uint8_t DAQ_IEPE_Right = 1;
    std::uint8_t DAQ_PowerDownFlag = 1;
    // Carried along and compared with the rest, never interpreted.
    std::uint8_t Spare = 0;

    static constexpr std::uint16_t kNothingWritten = 9999;

    bool operator==(const DaqOpts&) const = default;
};
