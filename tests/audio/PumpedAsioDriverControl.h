#pragma once
// The test driver plugin: drivers of any shape, one per class id the tests
// configure. The test calls each buffer switch (Pump), or the driver
// switches on a thread of its own (Threaded).

#include "audio/AsioTypes.h"

#include <cstdint>

struct PumpedDriverConfig {
    char Name[kAsioDriverNameLength] = "Pumped Driver";
    bool InitSucceeds = true;
    char ErrorMessage[kAsioErrorMessageLength] = "";
    bool ChannelsFail = false;
    std::int32_t Inputs = 2;
    std::int32_t Outputs = 2;
    bool BufferSizeFails = false;
    std::int32_t MinBufferSize = 64;
    std::int32_t MaxBufferSize = 4096;
    std::int32_t PreferredBufferSize = 512;
    double AcceptedRates[16] = {48000};
    std::int32_t AcceptedRateCount = 1;
    // The rate of a newly made driver.
    double InitialRate = 48000;
    bool GetSampleRateFails = false;
    // False: setSampleRate answers success but the driver keeps its rate.
    bool RateSticks = true;
    ASIOSampleType SampleType = ASIOSTInt32LSB;
    // getChannelInfo fails from this record on (inputs first); −1 never.
    std::int32_t ChannelInfoFailsAt = -1;
    bool OutputReadySupported = true;
    bool Threaded = false;
};

extern "C" {

struct PumpedDriverControl {
    void (*Configure)(const char* classId, const PumpedDriverConfig* config);
    // Forgets every class and every count.
    void (*Reset)();
    // One buffer switch of the streaming driver: inputs[c] (bytes of one
    // buffer half, or null for silence) go into the half about to be handed
    // over, and after the switch that half of output c is copied to
    // outputs[c] when given. False when no driver is streaming.
    bool (*Pump)(const void* const* inputs, void* const* outputs);
    // A switch of half `half` with the last buffers' callbacks, whatever the
    // driver's state, as a misbehaving driver would call it after stop.
    void (*SwitchAnyway)(std::int32_t half);
    // Of the driver that created buffers last.
    std::int32_t (*BufferSize)();
    double (*Rate)();
    std::int32_t (*Channels)(bool input);
    std::int32_t (*Switches)();
    // Calls of outputReady, answered or not.
    std::int32_t (*OutputReadyCalls)();
    // Drivers alive now, and drivers made since the last reset.
    std::int32_t (*LiveDrivers)();
    std::int32_t (*Creations)();
    // The host's message callback, as the driver would call it (a reset
    // request when its device goes); 0 when no driver has callbacks.
    std::int32_t (*SendMessage)(std::int32_t selector, std::int32_t value);
};

using PumpedDriverControlFunction = const PumpedDriverControl* (*)();

} // extern "C"

inline constexpr const char* kPumpedDriverControlName = "TalvenorPumpedDriverControl";
