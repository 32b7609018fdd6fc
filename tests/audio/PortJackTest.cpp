// The ports over a JACK server of the test's own (dummy backend), the
// driver's outputs patched to its inputs.

#include "audio/ShippedDriverIds.h"
#include "tests/audio/PortTestSupport.h"
#include "tests/drivers/JackServer.h"

#include <jack/jack.h>

#include <cstdlib>
#include <string>

namespace {

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

} // namespace

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
