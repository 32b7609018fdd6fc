#pragma once
// One entry of the audio device list: a driver, or one channel pair of a
// driver with more than two channels.

#include "audio/AsioTypes.h"
#include "platform/ZeroFilledArray.h"

#include <cstdint>
#include <memory>

struct AsioDeviceEntry {
    static constexpr int kNameLength = 256;
    static constexpr int kMaxRates = 15;

    // Input records first, then output records; shared by the pair entries of
    // one driver, so it lives as long as any of them.
    using ChannelInfoArray = platform::ZeroFilledArray<ASIOChannelInfo>;

    std::uint8_t Valid = 0;  // the driver loaded, initialised and answered every query
    char DriverName[kNameLength] = {};   // the name the driver is listed under
    char DisplayName[kNameLength] = {};  // what the operator sees
    std::int32_t InputChannels = 0;
    std::int32_t OutputChannels = 0;
    double SampleRates[kMaxRates] = {};  // ascending
    std::int32_t RateCount = 0;
    std::int32_t MinBufferSize = 0;
    std::int32_t MaxBufferSize = 0;
    std::int32_t PreferredBufferSize = 0;
    std::uint8_t OutputReady = 0;  // the driver accepts outputReady
    std::uint8_t IsDAQ = 0;        // the Talvenor DAQ module
    std::int32_t FirstChannel = 0; // 0, 2, 4 … for pair entries
    std::shared_ptr<const ChannelInfoArray> ChannelInfo;

    // Null past the records.
    const ASIOChannelInfo* ChannelInfoAt(std::int32_t index) const
    {
        if (ChannelInfo == nullptr || index < 0 || static_cast<std::size_t>(index) >= ChannelInfo->size())
            return nullptr;
        return &(*ChannelInfo)[static_cast<std::size_t>(index)];
    }
};
