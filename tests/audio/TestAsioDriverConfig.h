#pragma once
// The test driver plugin: drivers of any shape, one per class id the tests
// configure. The tests reach the plugin's configuration through the same
// loaded file the host layer uses.

#include "audio/AsioTypes.h"

#include <cstdint>

struct TestAsioDriverConfig {
    char Name[kAsioDriverNameLength] = "Test Driver";
    bool InitSucceeds = true;
    char ErrorMessage[kAsioErrorMessageLength] = "";
    bool ChannelsFail = false;
    std::int32_t Inputs = 2;
    std::int32_t Outputs = 2;
    bool BufferSizeFails = false;
    std::int32_t MinBufferSize = 64;
    std::int32_t MaxBufferSize = 4096;
    std::int32_t PreferredBufferSize = 512;
    // Rates canSampleRate accepts.
    double AcceptedRates[16] = {44100, 48000};
    std::int32_t AcceptedRateCount = 2;
    bool GetSampleRateFails = false;
    double CurrentRate = 48000;
    ASIOSampleType SampleType = ASIOSTInt32LSB;
    // getChannelInfo fails from this record on (inputs first); −1 never.
    std::int32_t ChannelInfoFailsAt = -1;
    bool OutputReadySupported = true;
};

extern "C" {
using TestAsioDriverConfigureFunction = void (*)(const char* classId, const TestAsioDriverConfig* config);
using TestAsioDriverCountFunction = std::int32_t (*)();
using TestAsioDriverResetFunction = void (*)();
}

inline constexpr const char* kTestDriverConfigureName = "TalvenorTestDriverConfigure";
// Driver objects alive now.
inline constexpr const char* kTestDriverLiveCountName = "TalvenorTestDriverLiveCount";
// Forgets every configured class.
inline constexpr const char* kTestDriverResetName = "TalvenorTestDriverReset";
