#include "audio/AsioDrivers.h"
#include "audio/AsioHost.h"
#include "tests/audio/AsioTestSupport.h"


class HostCalls : public AsioTest {};

TEST_F(HostCalls, AnswerNotPresentWithHarmlessValuesWithoutADriver)
{
    ASSERT_EQ(CurrentAsioDriver(), nullptr);

    ASIODriverInfo info{};
    info.driverVersion = 5;
    EXPECT_EQ(ASIOInit(&info), kAsioNotPresent);
    EXPECT_EQ(info.driverVersion, 0);
    EXPECT_STREQ(info.name, "No ASIO Driver");

    std::int32_t inputs = 9, outputs = 9;
    EXPECT_EQ(ASIOGetChannels(&inputs, &outputs), kAsioNotPresent);
    EXPECT_EQ(inputs, 0);
    EXPECT_EQ(outputs, 0);

    ASIOChannelInfo channel{};
    channel.type = ASIOSTInt32LSB;
    EXPECT_EQ(ASIOGetChannelInfo(&channel), kAsioNotPresent);
    EXPECT_EQ(channel.type, 0);

    int dummy = 0;
    ASIOBufferInfo buffers[2] = {{1, 0, {&dummy, &dummy}}, {0, 0, {&dummy, &dummy}}};
    EXPECT_EQ(ASIOCreateBuffers(buffers, 2, 256, nullptr), kAsioNotPresent);
    for (const ASIOBufferInfo& b : buffers) {
        EXPECT_EQ(b.buffers[0], nullptr);
        EXPECT_EQ(b.buffers[1], nullptr);
    }

    EXPECT_EQ(ASIOStart(), kAsioNotPresent);
    EXPECT_EQ(ASIOSetSampleRate(48000), kAsioNotPresent);
    EXPECT_EQ(ASIOOutputReady(), kAsioNotPresent);
    EXPECT_EQ(ASIOExit(), kAsioOk);
}

TEST_F(HostCalls, InitReportsTheDriverOrItsFailure)
{
    AddTestDriver("Good", 1, {.Name = "Bench Interface"});
    AddTestDriver("Bad", 2, {.InitSucceeds = false, .ErrorMessage = "cable unplugged"});

    ASSERT_TRUE(loadAsioDriver("Good"));
    ASIODriverInfo info{};
    info.asioVersion = 2;
    ASSERT_EQ(ASIOInit(&info), kAsioOk);
    EXPECT_STREQ(info.name, "Bench Interface");
    EXPECT_STREQ(info.errorMessage, "No ASIO Driver Error");
    EXPECT_EQ(info.driverVersion, 7);
    // Calls now reach the driver.
    ASIOSamples position = 5;
    ASIOTimeStamp time = 0;
    EXPECT_EQ(ASIOGetSamplePosition(&position, &time), kAsioOk);
    EXPECT_EQ(position, 0) << "not streaming yet";

    ASSERT_TRUE(loadAsioDriver("Bad"));
    info = ASIODriverInfo{};
    EXPECT_EQ(ASIOInit(&info), kAsioNotPresent);
    EXPECT_STREQ(info.errorMessage, "cable unplugged");
    EXPECT_EQ(CurrentAsioDriver(), nullptr);
    EXPECT_EQ(ASIOStart(), kAsioNotPresent);
    // Unloading still releases the driver whose init failed.
    EXPECT_EQ(LiveDrivers(), 1);
    ASIOExit();
    EXPECT_EQ(LiveDrivers(), 0);
}
