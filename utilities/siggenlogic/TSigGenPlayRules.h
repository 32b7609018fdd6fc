#pragma once
// The generator window's rules for playing: whether the signal loops, when
// a one-shot signal is over, which rate the output port runs at, which
// channels have parameters to edit, and why the right channel may not be
// chosen.

#include <cstdint>

#include "settings/SigGenSettings.h"

class TSigGenPlayRules {
public:
    static constexpr const char* kAsioRunningMessage =
        "ASIO driver mode - the signal generator cannot start while the analyzer is running.  "
        "Please stop and restart the main analyzer.";
    static constexpr const char* kOpenFailureMessage = "Failure opening sound card.";
    static constexpr const char* kLockedMessage =
        "The Right channel is currently \"Locked\" to the Left channel.  To unlock the right channel, "
        "uncheck the <Utilities><Lock Signal Generator Channels> menu.";
    static constexpr const char* kMonoMessage =
        "The analyzer is currently setup for single channel operation (mono).  To generate separate signals "
        "for each channel you must change the main analyzer settings to stereo format - this is controlled "
        "under the <Options><Processing Settings> menu.";

    // Both channels play from one buffer, so the left channel decides: a
    // one-shot signal there plays once, whatever the right one is.
    static bool IsContinuous(const SigGenChannelSettings& left);

    // The milliseconds after which a one-shot signal of `dataSeconds` is
    // stopped: its length and a tenth of a second for the last buffers.
    static std::int32_t OneShotStopMs(float dataSeconds);

    // White noise, pink noise, the 1 kHz tone and silence have nothing to set.
    static bool HasParameters(std::int32_t sigType);
    // The right channel has nothing to edit while it is not played.
    static bool IsDetailsEnabled(int channel, std::int32_t sigType, std::uint32_t outputChannels, bool locked);

    // The rate the output port opens at. Under ASIO the device runs at the
    // analyzer's rate (or a whole multiple), except for a user file, which
    // brings its own.
    static std::uint32_t PlaybackRate(std::int32_t driverMode, std::int32_t leftSigType, std::uint32_t generatorRate,
                                      std::uint32_t bufferRate, std::uint32_t analyzerRate);

    // The channels the output port opens with. The port's one stream also
    // carries the analyzer's inputs, so it keeps the analyzer's channels even
    // when the signal has fewer (locked channels, a file on the left alone):
    // the signal's one channel then plays on both outputs.
    static std::uint16_t PlaybackChannels(std::uint32_t signalChannels, std::uint32_t analyzerChannels);

    // Why the right list cannot be used, or null when it can.
    static const char* RightChannelNotice(bool locked, std::uint32_t analyzerChannels);
};
