#pragma once
// The DAQ module's front-end options, as the frame keeps them and the
// configuration file stores them ("Device" section). Copied and compared
// whole. The defaults are the frame's.

#include <cstdint>

struct DaqOpts {
    std::uint16_t DAQ_InputGain = 16;   // 1, 4, 16 or 64
    std::uint8_t DAQ_IEPE_Left = 1;     // sensor current on, left channel
    std::uint8_t DAQ_IEPE_Right = 1;    // sensor current on, right channel
    std::uint8_t DAQ_PowerDownFlag = 1; // low-power state when the program exits
    std::uint8_t Spare = 0;

    bool operator==(const DaqOpts&) const = default;
};
static_assert(sizeof(DaqOpts) == 6);
