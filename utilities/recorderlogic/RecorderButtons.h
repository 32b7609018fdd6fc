#pragma once
// How the recorder's five transport buttons look in each situation. Grey is
// a look only: a grey button still sends its command, and the command
// decides what to do.

#include <array>
#include <cstdint>

namespace recorder_buttons {

enum class Look : std::uint8_t { Normal, Grey, Latched };
enum Button : std::size_t { kRecord, kPlay, kStop, kRewind, kFastForward, kCount };
using Looks = std::array<Look, kCount>;

// state: 0 stopped, 1 recording, 2 playing.
Looks For(bool hasFile, std::uint32_t state);

} // namespace recorder_buttons
