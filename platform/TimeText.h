#pragma once
// Time spans as the data log, the plots and the recorder show them.

#include <cstdint>

// "c", "m:ss" or "hh:mm:ss", each with ".mmm" when withMilliseconds, and a
// leading "-" for negative spans; forceHours always gives the hh:mm:ss form.
// Spans above a day wrap to the time of day. The text lives in one shared
// buffer that the next call overwrites: copy it before calling again (GUI
// thread only).
const char* FormatTime(float seconds, std::uint8_t withMilliseconds, std::uint8_t forceHours);
