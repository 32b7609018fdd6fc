#pragma once
// The input trigger's settings and its run state. This build never enables
// the trigger (the settings reader clears Enable), but the record keeps its
// fields so the configuration file keeps its keys, and the input port
// receives it whole.
// Lives here until the run-control code that consumes it is built.

#include <cstdint>

struct TriggerOpts {
    std::uint8_t Enable = 0;
    // 0 left, 1 right
    std::uint32_t Channel = 0;
    // 1 single shot, 2 once then free run
    std::uint32_t Mode = 0;
    // level or slope
    std::uint16_t TriggerType = 0;
    // rising or falling
    std::uint16_t TriggerSlope = 0;
    // percent of full scale
    float Threshold = 25.0f;
    // pre- or post-trigger delay
    std::uint16_t DelayType = 1;
    float DelayMsec = 5.0f;
    std::uint8_t StartSigGenOnTrigger = 0;

    // Run state, cleared at every start.
    std::uint32_t TriggerCount = 0;
    std::uint8_t DetectedFlag = 0;
    std::uint8_t AcquiringFlag = 0;
    std::uint32_t AcquiringPercent = 0;
    std::uint32_t StartPosition = 0;
    std::uint32_t ReadPosition = 0;
    std::uint32_t SparePosition = 0;
    std::uint8_t ForceFlag = 0;

    void ClearRunState();

    bool operator==(const TriggerOpts&) const = default;
};
