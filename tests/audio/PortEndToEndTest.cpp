// The ports over drivers that stream on threads of their own: the simulated
// module, the test driver's own thread, and a JACK server of the test's own
// (dummy backend) with the driver's outputs patched to its inputs.

#include "audio/ShippedDriverIds.h"
#include "audio/TSoundInput.h"
#include "audio/TSoundOutput.h"
#include "audio/TWaveFile.h"
#include "tests/audio/AsioTestSupport.h"
#include "tests/drivers/DaqSimModule.h"

#ifdef JACK_PLUGIN
#include "tests/drivers/JackServer.h"
#include <jack/jack.h>
#endif

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <memory>
#include <numbers>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr double kFullScale24 = 8388608.0;

// Polls until done or the limit passes; generous, for loaded machines.
bool WaitFor(const std::function<bool()>& done, double seconds = 30.0)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// Whole periods of a sine per channel (amplitudes in codes), to be looped.
std::unique_ptr<TWaveData> MakeTone(const TWaveFormat& format, double frequency, std::uint64_t frames,
                                    double leftAmplitude, double rightAmplitude)
{
    auto wave = std::make_unique<TWaveData>(frames, format);
    for (std::uint64_t k = 0; k < frames; ++k) {
        const double phase = std::sin(2 * std::numbers::pi * frequency * static_cast<double>(k) / format.SamplingRate);
        wave->PutSample(static_cast<std::int32_t>(std::lround(leftAmplitude * phase)), k, 0);
        wave->PutSample(static_cast<std::int32_t>(std::lround(rightAmplitude * phase)), k, 1);
    }
    wave->Rewind();
    return wave;
}

// The amplitude of the 1 kHz component and the RMS of the whole signal, in
// codes, over the whole periods (48 samples at 48 kHz) the block holds.
std::pair<double, double> MeasureTone(const std::vector<std::int32_t>& samples)
{
    const std::size_t n = samples.size() / 48 * 48;
    double re = 0, im = 0, power = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const double phase = 2 * std::numbers::pi * static_cast<double>(i % 48) / 48;
        re += samples[i] * std::cos(phase);
        im += samples[i] * std::sin(phase);
        power += static_cast<double>(samples[i]) * samples[i];
    }
    return {2 * std::hypot(re, im) / static_cast<double>(n), std::sqrt(power / static_cast<double>(n))};
}

// The frequency from the first to the last rising zero crossing, each placed
// between its two samples by linear interpolation; 0 with fewer than three.
double CrossingFrequency(const std::vector<std::int32_t>& samples, double rate)
{
    std::vector<double> crossings;
    for (std::size_t i = 1; i < samples.size(); ++i) {
        const double a = samples[i - 1], b = samples[i];
        if (a < 0 && b >= 0)
            crossings.push_back(static_cast<double>(i - 1) + a / (a - b));
    }
    if (crossings.size() < 3)
        return 0.0;
    return rate * static_cast<double>(crossings.size() - 1) / (crossings.back() - crossings.front());
}

// Opens both ports at 48 kHz, 24-bit, loops a 1 kHz tone at half (left) and a
// quarter (right) of full scale, prepares reads of 8192 and starts. The tone,
// or null when a step failed.
std::unique_ptr<TWaveData> StartLoopbackTone(TSoundInput& input, TSoundOutput& output)
{
    const TWaveFormat format(48000, 2, 3);
    auto tone = MakeTone(format, 1000.0, 4800, 0.5 * kFullScale24, 0.25 * kFullScale24);
    const bool started = input.Open(format) && input.IsSampleRateSupported(format) && output.Open(format)
        && output.PreparePlayback(tone.get(), true, 0, -1) && input.PrepareInput(nullptr, 8192, nullptr)
        && input.Start();
    return started ? std::move(tone) : nullptr;
}

// The 1 kHz loopback tone came back at `gain` times what was played, within
// 0.1 dB, at its own frequency within 0.5 Hz, and nothing else came with it
// (the whole signal's RMS is the tone's).
void ExpectLoopbackTone(const std::vector<std::int32_t>& left, const std::vector<std::int32_t>& right, double gain)
{
    for (const auto& [samples, amplitude] : {std::pair{&left, 0.5}, std::pair{&right, 0.25}}) {
        const auto [heard, rms] = MeasureTone(*samples);
        EXPECT_NEAR(20 * std::log10(heard / (gain * amplitude * kFullScale24)), 0.0, 0.1);
        EXPECT_NEAR(20 * std::log10(rms * std::sqrt(2.0) / heard), 0.0, 0.1);
        EXPECT_NEAR(CrossingFrequency(*samples, 48000), 1000.0, 0.5);
    }
}

#ifdef JACK_PLUGIN
// Connects the driver's outputs to its own inputs through a client of the test's.
bool PatchOutputsToInputs()
{
    const char* driverClient = std::getenv("TALVENOR_JACK_CLIENT_NAME");
    if (driverClient == nullptr)
        return false;
    jack_status_t status{};
    jack_client_t* patch = jack_client_open((std::string("patch-") + driverClient).c_str(), JackNoStartServer, &status);
    if (patch == nullptr)
        return false;
    bool patched = true;
    for (const char* channel : {"1", "2"}) {
        const std::string out = std::string(driverClient) + ":out_" + channel;
        const std::string in = std::string(driverClient) + ":in_" + channel;
        patched = patched && jack_connect(patch, out.c_str(), in.c_str()) == 0;
    }
    jack_client_close(patch);
    return patched;
}
#endif

} // namespace

TEST_F(PortTest, TheSimulatedModuleHearsTheToneTheOutputPlays)
{
    const DaqSimControl* module = ResetDaqSimModule();
    ASSERT_NE(module, nullptr);
    // The 2.5 V range: the loopback's 0.625 V full-scale output comes back at a quarter.
    module->SetRegister(0x1101);
    AddEntry("daqsim", kDaqSimDriverClassId, DAQSIM_PLUGIN, kDaqSimDriverName);

    TSoundOutput output(0, TSoundPort::kDriverModeAsio);
    TSoundInput input(0, TSoundPort::kDriverModeAsio);
    ASSERT_TRUE(input.IsQuarnDAQ());
    const auto tone = StartLoopbackTone(input, output);
    ASSERT_NE(tone, nullptr);

    ASSERT_TRUE(WaitFor([&] { return input.GetSamplesAvailable() >= 48000; }));
    std::vector<std::int32_t> left(8192), right(8192);
    // A read is refused while the driver's thread lags a whole block behind.
    ASSERT_TRUE(WaitFor([&] { return input.ReadLatest(8192, left.data(), right.data()); }));
    output.Stop();
    const std::int32_t held = input.GetSamplesAvailable();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(input.GetSamplesAvailable(), held) << "stopping either port stops the one stream";

    ExpectLoopbackTone(left, right, 0.625 / 2.5);
}

TEST_F(PortTest, StopWhileBuffersFlowLeavesNoCallbackBehind)
{
    AddDriver("threaded", {.Name = "Pump Threaded", .Threaded = true});
    TASIOSoundPort& port = Port();
    const TWaveFormat format(48000, 2, 3);
    ASSERT_TRUE(port.Open(0, TASIOSoundPort::kDirectionInput));
    ASSERT_TRUE(port.Open(0, TASIOSoundPort::kDirectionOutput));
    port.SetFormat(48000, 2, 3);
    const auto tone = MakeTone(format, 1000.0, 4800, 0.5 * kFullScale24, 0.5 * kFullScale24);
    std::vector<std::int32_t> left(1024), right(1024);
    int lateBuffers = 0;
    for (int run = 0; run < 100; ++run) {
        TWaveFile recording(4096, format);
        ASSERT_TRUE(port.PrepareInput(&recording, 1024, nullptr));
        ASSERT_TRUE(port.PreparePlayback(tone.get(), true, 0, -1));
        ASSERT_TRUE(port.Start());
        // Reads on this thread while the driver's thread writes.
        int reads = 0;
        ASSERT_TRUE(WaitFor([&] {
            reads += port.ReadLatest(1024, left.data(), right.data());
            return reads >= 3;
        }));
        port.Stop();
        // Everything the driver's thread wrote is the GUI thread's to read and free now.
        const std::int32_t held = port.GetSamplesAvailable();
        const std::int32_t switches = Driver->Switches.load();
        const std::uint64_t recorded = recording.GetDataFrames();
        std::this_thread::yield();
        lateBuffers += port.GetSamplesAvailable() != held || Driver->Switches.load() != switches
            || recording.GetDataFrames() != recorded;
    }
    EXPECT_EQ(lateBuffers, 0);
}

#ifdef JACK_PLUGIN
TEST_F(PortTest, AJackLoopbackBringsBackTheTone)
{
    if (!JackServer::Available())
        GTEST_SKIP() << "jackd is not installed";
    JackServer server;
    ASSERT_TRUE(server.Start(48000, 256));
    const std::string key = std::string("software\\asio\\") + kJackDriverName;
    Registry.SetValue(platform::RegistryHive::LocalMachine, key, "clsid", kJackDriverClassId);
    Registry.SetValue(platform::RegistryHive::ClassesRoot,
                      std::string("clsid\\") + kJackDriverClassId + "\\InprocServer32", "", JACK_PLUGIN);
    ASSERT_TRUE(JackServer::WaitUntilDriverServes(20.0)) << "jackd did not come up; " << server.Log();
    Messages.clear();

    {
        TSoundOutput output(0, TSoundPort::kDriverModeAsio);
        TSoundInput input(0, TSoundPort::kDriverModeAsio);
        const auto tone = StartLoopbackTone(input, output);
        ASSERT_NE(tone, nullptr);
        ASSERT_TRUE(PatchOutputsToInputs());

        // Samples from before the patch are silence: wait for a ring of tone.
        const std::int32_t patchedAt = input.GetSamplesAvailable();
        std::vector<std::int32_t> left(8192), right(8192);
        const bool read = WaitFor([&] {
            return input.GetSamplesAvailable() >= patchedAt + 48000 && input.ReadLatest(8192, left.data(), right.data());
        });
        input.Stop();
        ASSERT_TRUE(read);

        ExpectLoopbackTone(left, right, 1.0);
    }
    EXPECT_TRUE(Messages.empty());
}
#endif
