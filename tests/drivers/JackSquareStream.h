#pragma once
// The start the JACK server-loss tests share: a private dummy server at
// 48 kHz with 256-frame periods, and the JACK driver streaming a square wave
// through it until ten buffers have switched. Call through
// ASSERT_NO_FATAL_FAILURE.

#include "audio/AsioDrivers.h"
#include "audio/AsioHost.h"
#include "audio/ShippedDriverIds.h"
#include "platform/MessageBox.h"
#include "platform/Registry.h"
#include "tests/drivers/JackServer.h"
#include "tests/drivers/StreamRecorder.h"

#include <gtest/gtest.h>

inline constexpr int kSquarePeriod = 256;

inline float SquareWave(int channel, std::int64_t frame)
{
    return (frame % 96 < 48 ? 0.25f : -0.25f) * static_cast<float>(channel + 1);
}

inline void StartSquareStream(JackServer& server, StreamRecorder& recorder)
{
    // Drivers that cannot be loaded while the server starts say so; not these tests' concern.
    platform::SetMessageBoxHook([](const platform::MessageBoxRequest&) { return platform::MessageResult::Ok; });
    platform::SetRegistry(nullptr);  // the shipped drivers, found in the build tree
    ASSERT_TRUE(server.Start(48000, kSquarePeriod));
    ASSERT_TRUE(JackServer::WaitUntilDriverServes(20.0)) << "jackd did not come up; " << server.Log();
    ASIODriverInfo info{};
    info.asioVersion = 2;
    ASSERT_TRUE(loadAsioDriver(kJackDriverName));
    ASSERT_EQ(ASIOInit(&info), kAsioOk);
    ASSERT_EQ(recorder.CreateBuffers(), kAsioOk);
    ASSERT_EQ(ASIOStart(), kAsioOk);
    ASSERT_TRUE(recorder.WaitForSwitches(10, 10.0));
}
