#pragma once
// Run limits, the start delay, the display-update throttle and the
// multiple-instance option. This build runs free without any of them (the
// settings reader sets the fixed values below); the fields stay so the
// configuration file keeps its keys.
// Lives here until the run-control code that consumes it is built.

#include <cstdint>

struct RunControlOpts {
    // 0 free run, 1 stop after LimitFFT blocks, 2 stop after LimitSeconds
    std::uint16_t Mode = 0;
    std::uint32_t LimitFFT = 500;
    float LimitSeconds = 10.0f;
    std::uint8_t bEnableRunDelay = 0;
    float RunDelaySeconds = 2.0f;
    std::uint8_t bUpdateIntervalFlag = 0;
    std::uint32_t UpdateIntervalMilliseconds = 100;
    std::uint8_t bStartMultipleInstances = 0;

    // Free run, no delay, no throttle, single instance.
    void ApplyFixedValues();

    bool operator==(const RunControlOpts&) const = default;
};
