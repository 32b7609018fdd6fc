// The shipped drivers found and listed, and the simulated module's driver
// streaming through the host layer.

#include "audio/AsioDriverList.h"
#include "audio/AsioDrivers.h"
#include "audio/AsioHost.h"
#include "audio/DaqDevice.h"
#include "audio/ShippedDriverIds.h"
#include "audio/ShippedDrivers.h"
#include "platform/Clock.h"
#include "platform/Registry.h"
#include "tests/drivers/DaqSimModule.h"
#include "tests/drivers/StreamRecorder.h"
#include "tests/support/PlatformTestSupport.h"

#include <stdlib.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <memory>
#include <numbers>
#include <numeric>
#include <string>
#include <thread>
#include <vector>

namespace {

// 1 kHz at half scale on the left at 48 kHz; the right stays silent.
float LeftTone(int channel, std::int64_t frame)
{
    return channel == 0 ? static_cast<float>(0.5 * std::sin(2 * std::numbers::pi * 1000.0 * frame / 48000.0)) : 0.0f;
}

double Mean(const float* samples, int count)
{
    return std::accumulate(samples, samples + count, 0.0) / count;
}

double Rms(const float* samples, int count)
{
    return std::sqrt(std::inner_product(samples, samples + count, samples, 0.0) / count);
}

} // namespace

class DaqSimDriver : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The room's floor would drown the converter's noise these tests measure.
        setenv("TALVENOR_DAQSIM_AMBIENT", "0", 1);
        platform::SetRegistry(nullptr);  // the shipped drivers, found in the build tree
        Module = ResetDaqSimModule();
        ASSERT_NE(Module, nullptr);
    }

    void TearDown() override
    {
        Close();
        DeleteAsioDrivers();
        unsetenv("TALVENOR_DAQSIM_AMBIENT");
    }

    // Loads the driver and creates both inputs and both outputs.
    void Open(double rate, StreamRecorder::Signal play)
    {
        ASSERT_TRUE(loadAsioDriver(kDaqSimDriverName));
        ASIODriverInfo info{};
        info.asioVersion = 2;
        ASSERT_EQ(ASIOInit(&info), kAsioOk);
        ASSERT_EQ(ASIOSetSampleRate(rate), kAsioOk);
        std::int32_t minimum = 0, maximum = 0, granularity = 0;
        ASSERT_EQ(ASIOGetBufferSize(&minimum, &maximum, &BufferSize, &granularity), kAsioOk);
        ASIOChannelInfo channel{};
        channel.isInput = ASIOTrue;
        ASSERT_EQ(ASIOGetChannelInfo(&channel), kAsioOk);
        Type = channel.type;
        Recorder = std::make_unique<StreamRecorder>(BufferSize, Type, play);
        ASSERT_EQ(Recorder->CreateBuffers(), kAsioOk);
    }

    void Run(int buffers)
    {
        ASSERT_EQ(ASIOStart(), kAsioOk);
        ASSERT_TRUE(Recorder->WaitForSwitches(buffers, 30.0));
        ASSERT_EQ(ASIOStop(), kAsioOk);
    }

    void Close()
    {
        ASIOStop();
        ASIODisposeBuffers();
        ASIOExit();
        Recorder.reset();
    }

    // Checks a stopped stream against the test's clock, allowing for a
    // machine too busy to run the driver's thread on time: every frame is
    // delivered or counted lost; none was delivered before its time; and the
    // earliest arrivals late in the stream stand as far behind the schedule
    // as the earliest ones early in it (a wrong rate makes them drift apart
    // by a tenth of a second, however loaded the machine).
    void ExpectTheStreamKeepsTheRate(double rate, double started)
    {
        const int switches = Recorder->Switches;
        ASSERT_GT(switches, 60);
        ASSERT_LE(switches, StreamRecorder::kKeptSwitches);
        const ASIOSamples lost = FramesLostByDriver();
        ASSERT_GE(lost, 0);
        const int last = switches - 1;
        EXPECT_EQ(Recorder->PositionOf(last) + BufferSize, std::int64_t{switches} * BufferSize + lost)
            << "the position skips exactly the frames counted lost";
        EXPECT_LE(Recorder->PositionOf(last) + BufferSize, rate * (Recorder->ArrivalOf(last) - started) + 1.0)
            << "no frame before its time";
        const auto earliest = [&](int from, int to) {
            double lowest = 1e300;
            for (int k = from; k < to; ++k)
                lowest = std::min(lowest, Recorder->ArrivalOf(k) - (Recorder->PositionOf(k) + BufferSize) / rate);
            return lowest;
        };
        EXPECT_GT(Recorder->ArrivalOf(last) - Recorder->ArrivalOf(0), 2.5);
        EXPECT_NEAR(earliest(last - switches / 3, switches), earliest(0, switches / 3), 0.05);
    }

    const DaqSimControl* Module = nullptr;
    std::int32_t BufferSize = 0;
    ASIOSampleType Type = 0;
    std::unique_ptr<StreamRecorder> Recorder;
};

TEST_F(DaqSimDriver, DeliversTheRateInRealTimeAndInputsHearTheOutputsThroughTheLoopbackPlusLowNoise)
{
    for (ASIOSampleType type : {ASIOSTInt32LSB, ASIOSTInt24LSB}) {
        SCOPED_TRACE(type);
        Module->SetSampleType(type);
        Open(44100, LeftTone);
        EXPECT_EQ(Type, type);
        const double started = platform::SteadySeconds();
        ASSERT_EQ(ASIOStart(), kAsioOk);
        std::this_thread::sleep_for(std::chrono::milliseconds(type == ASIOSTInt32LSB ? 3000 : 0));
        ASSERT_TRUE(Recorder->WaitForSwitches(12, 30.0));
        ASSERT_EQ(ASIOStop(), kAsioOk);
        if (type == ASIOSTInt32LSB) {
            // Stopped: no switch runs while the counts and times are read.
            ExpectTheStreamKeepsTheRate(44100.0, started);
            const int switches = Recorder->Switches;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            EXPECT_EQ(Recorder->Switches, switches) << "no buffer after stop";
        }
        // Each buffer hears what was played one buffer earlier.
        double worst = 0;
        for (int b = 1; b < 12; ++b) {
            for (int i = 0; i < BufferSize; ++i) {
                const double played = LeftTone(0, (b - 1) * BufferSize + i);
                worst = std::max(worst, std::abs(Recorder->Input(0, b)[i] - played));
            }
        }
        EXPECT_LT(worst, 1e-4);
        EXPECT_NEAR(Rms(Recorder->Input(1, 5), BufferSize), 5e-6, 5e-6);
        Close();
    }
}

// A machine stalled for 15 s (the module's clock jumps): the stream does not
// rush to catch up but counts those 15 s as lost, skips them in its
// position, and goes on from the present; the next start counts afresh.
TEST_F(DaqSimDriver, AStallCountsTheTimeItFellBehindAsLostAndTheStreamGoesOnFromThere)
{
    constexpr double kRate = 48000.0;
    Open(kRate, LeftTone);
    ASSERT_EQ(ASIOStart(), kAsioOk);
    ASSERT_TRUE(Recorder->WaitForSwitches(20, 30.0));
    const ASIOSamples before = FramesLostByDriver();
    ASSERT_GE(before, 0);
    // Only that question is answered, and only with somewhere to put it.
    ASIOSamples untouched = -7;
    EXPECT_EQ(ASIOFuture(kAsioGetFramesLost + 1, &untouched), kAsioInvalidParameter);
    EXPECT_EQ(ASIOFuture(1, &untouched), kAsioInvalidParameter);
    EXPECT_EQ(untouched, -7);
    EXPECT_EQ(ASIOFuture(kAsioGetFramesLost, nullptr), kAsioInvalidParameter);
    const int jumpedAt = Recorder->Switches;
    Module->AdvanceClock(15.0);
    ASSERT_TRUE(Recorder->WaitForSwitches(jumpedAt + 40, 30.0));
    ASSERT_EQ(ASIOStop(), kAsioOk);

    const ASIOSamples lost = FramesLostByDriver() - before;
    EXPECT_GE(lost, 15 * kRate);
    EXPECT_LT(lost, 16 * kRate);
    const int switches = Recorder->Switches;
    EXPECT_EQ(Recorder->PositionOf(switches - 1) + BufferSize, std::int64_t{switches} * BufferSize + before + lost);
    // 30 buffers after the stall take their time: a stream catching up would
    // hand them over at once.
    const double took = Recorder->ArrivalOf(jumpedAt + 35) - Recorder->ArrivalOf(jumpedAt + 5);
    EXPECT_GT(took, 0.8 * 30 * BufferSize / kRate);

    ASSERT_EQ(ASIOStart(), kAsioOk);
    ASSERT_TRUE(Recorder->WaitForSwitches(switches + 5, 30.0));
    ASSERT_EQ(ASIOStop(), kAsioOk);
    EXPECT_LT(FramesLostByDriver(), 15 * kRate) << "a start counts afresh";
}

// The driver's thread held up and the stream stopped before it runs again:
// the stop counts the time it fell behind as lost.
TEST_F(DaqSimDriver, AStreamHeldUpUntilItsStopCountsTheTimeItFellBehindAsItStops)
{
    Open(48000, LeftTone);
    ASSERT_EQ(ASIOStart(), kAsioOk);
    ASSERT_TRUE(Recorder->WaitForSwitches(20, 30.0));
    ExpectAStopWhileHeldCountsTheHoldUp(*Recorder, 48000.0);
}

// Unless switched off, the inputs also hear a quiet room: 3.9 mV rms of hiss
// plus a rumble low-passed at 100 Hz from 39 mV rms (3.16 mV rms at 48 kHz:
// a one-pole low-pass keeps √(b / (2 − b)) of it, b = 1 − e^(−2π·100/48000)),
// the same on every run.
TEST_F(DaqSimDriver, TheRoomAddsASeededBroadbandFloorOverTheLoopback)
{
    unsetenv("TALVENOR_DAQSIM_AMBIENT");
    std::vector<float> first;
    for (int run = 0; run < 2; ++run) {
        Open(48000, LeftTone);
        Run(40);
        std::vector<float> right;
        for (int b = 8; b < 40; ++b)
            right.insert(right.end(), Recorder->Input(1, b), Recorder->Input(1, b) + BufferSize);
        const int n = static_cast<int>(right.size());
        const double hiss = 3.9e-3 / 0.625, floor = std::hypot(hiss, 3.16e-3 / 0.625);
        EXPECT_NEAR(Rms(right.data(), n), floor, 0.15 * floor);
        // Broadband: the hiss survives a first difference (√2 times), the rumble hardly.
        std::vector<float> difference(right.size() - 1);
        for (std::size_t i = 0; i + 1 < right.size(); ++i)
            difference[i] = right[i + 1] - right[i];
        EXPECT_NEAR(Rms(difference.data(), n - 1), std::sqrt(2.0) * hiss, 0.1 * std::sqrt(2.0) * hiss);
        if (run == 0)
            first = right;
        else
            EXPECT_EQ(right, first) << "seeded: every run hears the same room";
        Close();
    }
}

TEST_F(DaqSimDriver, SensorCurrentAddsADcStepThatSettlesTheControlLibraryOpensAndAnAbsentModuleDoesNotInitialise)
{
    Module->SetRegister(0x5102);  // right sensor current on, left off
    Open(48000, [](int, std::int64_t) { return 0.0f; });
    Run(100);
    const double first = Mean(Recorder->Input(1, 0), BufferSize);
    EXPECT_GT(first, 0.01);
    EXPECT_NEAR(Mean(Recorder->Input(1, 99), BufferSize), first / 20, first / 20);
    EXPECT_LT(std::abs(Mean(Recorder->Input(0, 0), BufferSize)), 1e-5);
    Close();
    DeleteAsioDrivers();
    {
        // The module's control library is registered too.
        DaqDevice device;
        device.SetWait([](std::uint32_t) {});
        device.Open();
        EXPECT_TRUE(device.IsOpen());
    }

    // An absent module does not initialise.
    Module->SetPresent(0);
    ASSERT_TRUE(loadAsioDriver(kDaqSimDriverName));
    ASIODriverInfo info{};
    EXPECT_EQ(ASIOInit(&info), kAsioNotPresent);
    EXPECT_STREQ(info.errorMessage, "The Talvenor DAQ module is not connected.");
}

TEST(ShippedDrivers, AUserFileAddsDriversOrIsIgnoredWithAMessage)
{
    const TempFolder folder;
    const std::string good = folder.Path("good.reg");
    const std::string bad = folder.Path("bad.reg");
    std::ofstream(good) << "[HKEY_LOCAL_MACHINE\\software\\asio\\Extra]\n"
                           "\"clsid\"=\"" << kDaqSimDriverClassId << "\"\n"
                           "\"description\"=\"Extra Module\"\n"
                           "[HKEY_CLASSES_ROOT\\clsid\\" << kDaqSimDriverClassId << "\\InprocServer32]\n"
                           "@=\"" DAQSIM_PLUGIN "\"\n";
    std::ofstream(bad) << "[HKEY_LOCAL_MACHINE\\software\\asio\\Extra]\nclsid=1\n";

    MessageLog log;
    platform::Registry registry;
    platform::SetRegistry(&registry);
    LoadDriverFile(registry, folder.Path("missing.reg"));
    LoadDriverFile(registry, bad);
    EXPECT_EQ(AsioDriverList().asioGetNumDev(), 0);
    LoadDriverFile(registry, good);
    const AsioDriverList list;
    platform::SetRegistry(nullptr);
    ASSERT_EQ(list.asioGetNumDev(), 1);
    char name[AsioDriverList::kNameCapacity], path[AsioDriverList::kPathCapacity];
    list.asioGetDriverName(0, name, sizeof name);
    list.asioGetDriverPath(0, path, sizeof path);
    EXPECT_EQ(std::string(name) + " in " + path, "Extra Module in " DAQSIM_PLUGIN);
    EXPECT_EQ(log.texts,
              std::vector<std::string>{"The driver list " + bad + " was ignored: line 2 is not a registry entry."});
}
