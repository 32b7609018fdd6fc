#pragma once
// The format of the generator's buffer: the analyzer's, at the device's rate
// under ASIO (a rate below 48000 Hz times the input's decimation ratio), one
// channel when the channels are locked, and a user wave file's rate and
// width when a channel plays one.

#include <cstdint>
#include <string>
#include <vector>

#include "format/TWaveFormat.h"
#include "utilities/siggen/TSigGenBuildRequest.h"

class TUserWave;

class TSigGenOutputFormat {
public:
    std::uint32_t SampleRate = 48000;
    std::uint32_t BitsPerSample = 16;
    std::uint32_t Channels = 1;
    // A user file that cannot play: it did not open, or its rate is not the
    // output's (it would play at the wrong speed). Its channel stays silent.
    bool UserFileRefused[2] = {false, false};
    std::vector<std::string> Messages;

    // user[c] is the opened file of channel c when that channel plays one.
    static TSigGenOutputFormat Choose(const TSigGenBuildRequest& request, const TUserWave* const user[2]);

    TWaveFormat GetWaveFormat() const;
};
