#include "audio/DaqDevice.h"
#include "tests/drivers/DaqSimModule.h"
#include "platform/Trace.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

DaqOpts Options(std::uint16_t gain, std::uint8_t left, std::uint8_t right, std::uint8_t powerDown = 0)
{
    return DaqOpts{gain, left, right, powerDown, 0};
}

} // namespace

class DaqControl : public ::testing::Test {
protected:
    void SetUp() override
    {
        Module = ResetDaqSimModule();
        ASSERT_NE(Module, nullptr);
        platform::SetTraceHook([this](const std::string& text) { Traces.push_back(text); });
        Device = std::make_unique<DaqDevice>(DAQSIM_PLUGIN);
        Device->SetWait([this](std::uint32_t milliseconds) { Waits.push_back(milliseconds); });
    }

    void TearDown() override
    {
        Device.reset();
        platform::SetTraceHook({});
    }

    const DaqSimControl* Module = nullptr;
    std::unique_ptr<DaqDevice> Device;
    std::vector<std::string> Traces;
    std::vector<std::uint32_t> Waits;
};

TEST_F(DaqControl, OpenBootsTheFirmwareOnceAndWaitsForItAndReadsTheSerialNumberFromParameterFour)
{
    EXPECT_EQ(Device->ReadSerialNumber(), 0u) << "not open yet";
    Device->Open();
    EXPECT_TRUE(Device->IsOpen());
    EXPECT_EQ(Device->GetDeviceCount(), 1);
    EXPECT_EQ(Module->Boots(), 1);
    EXPECT_EQ(Traces, (std::vector<std::string>{"AfxBootDevice Starting\n", "AfxBootDevice Completed\n"}));
    ASSERT_EQ(Waits.size(), 1u);
    EXPECT_LT(Waits[0], 1500u) << "the simulated module settles quickly";
    EXPECT_GT(Waits[0], 0u) << "but it does take the time its library asks for";

    Device->Reopen();
    Device->Reopen();
    EXPECT_EQ(Module->Boots(), 1);

    Module->SetSerialNumber(0x12345678);
    EXPECT_EQ(Device->ReadSerialNumber(), 0x12345678u);
    std::uint32_t other = 1;
    EXPECT_TRUE(Device->ReadParameter(3, other));
    EXPECT_EQ(other, 0u);
    // A lost link reads nothing, and is reopened before writing.
    Module->DropLink();
    EXPECT_EQ(Device->ReadSerialNumber(), 0u);
    EXPECT_TRUE(Device->SetInputConfig(Options(4, 1, 0)));
    EXPECT_EQ(Module->GetRegister() & 0xFF03, 0x1501);
    EXPECT_TRUE(Device->IsOpen());

    // A module whose firmware already runs is not booted again.
    Module->Reset();
    Module->SetFirmwareRunning(1);
    DaqDevice second(DAQSIM_PLUGIN);
    second.SetWait([](std::uint32_t) {});
    second.Open();
    EXPECT_TRUE(second.IsOpen());
    EXPECT_EQ(Module->Boots(), 0);
}

// Options are written once until the cache is reset, failures keep the cache;
// gain and sensor current go into their register fields.
// A parameter read that the module does not answer says so and leaves the
// caller's value alone: with the link lost, the firmware stopped, the module
// gone, and without its library.
TEST_F(DaqControl, AParameterReadThatFailsAnswersFalseAndLeavesTheValueAlone)
{
    Module->SetSerialNumber(0x12345678);
    Device->Open();
    std::uint32_t value = 0;
    ASSERT_TRUE(Device->ReadParameter(4, value));
    EXPECT_EQ(value, 0x12345678u);

    const std::vector<std::pair<const char*, void (*)(const DaqSimControl*)>> failures = {
        {"link lost", [](const DaqSimControl* module) { module->DropLink(); }},
        {"firmware stopped", [](const DaqSimControl* module) { module->SetFirmwareRunning(0); }},
        {"module gone", [](const DaqSimControl* module) { module->SetPresent(0); }},
    };
    for (const auto& [what, fail] : failures) {
        SCOPED_TRACE(what);
        Module->SetPresent(1);
        Module->SetFirmwareRunning(1);
        Device->Reopen();
        ASSERT_TRUE(Device->ReadParameter(4, value));
        fail(Module);
        value = 77;
        EXPECT_FALSE(Device->ReadParameter(4, value));
        EXPECT_EQ(value, 77u);
        EXPECT_FALSE(Device->ReadParameter(3, value));
        EXPECT_EQ(Device->ReadSerialNumber(), 0u);
    }

    DaqDevice without("/nonexistent/talvenor-daq-library.so");
    value = 5;
    EXPECT_FALSE(without.ReadParameter(4, value));
    EXPECT_EQ(value, 5u);
}

TEST_F(DaqControl, WritesGainAndSensorCurrentIntoTheRegisterOnceUntilTheCacheIsReset)
{
    const DaqOpts options = Options(16, 1, 1);
    EXPECT_TRUE(Device->SetInputConfig(options));  // opens the module on the way
    EXPECT_TRUE(Device->SetInputConfig(options));
    EXPECT_EQ(Module->RegisterWrites(), 1);

    // The spare byte counts as part of the options.
    DaqOpts spare = options;
    spare.Spare = 1;
    EXPECT_TRUE(Device->SetInputConfig(spare));
    EXPECT_EQ(Module->RegisterWrites(), 2);

    Device->ResetCachedConfig();
    EXPECT_EQ(Device->GetCachedConfig().DAQ_InputGain, 9999);
    EXPECT_TRUE(Device->SetInputConfig(spare));
    EXPECT_EQ(Module->RegisterWrites(), 3);

    // Failed reads and mismatched read-backs fail and keep the cache.
    const DaqOpts first = Options(16, 0, 0);
    ASSERT_TRUE(Device->SetInputConfig(first));

    Module->SetStuckBits(0x0003);  // the range bits ignore writes
    EXPECT_FALSE(Device->SetInputConfig(Options(64, 0, 0)));
    EXPECT_EQ(Device->GetCachedConfig(), first);
    Module->SetStuckBits(0);

    const int writes = Module->RegisterWrites();
    Module->FailNextReads(1);
    EXPECT_FALSE(Device->SetInputConfig(Options(4, 1, 1)));
    EXPECT_EQ(Module->RegisterWrites(), writes) << "nothing is written after a failed read";
    EXPECT_EQ(Device->GetCachedConfig(), first);

    EXPECT_TRUE(Device->SetInputConfig(Options(4, 1, 1)));

    // Bits outside the fields stay as read; an unknown gain keeps the range.
    struct Case {
        std::uint16_t Before;
        DaqOpts Options;
        std::uint16_t After;
    };
    for (const Case& c : {Case{0x0000, Options(16, 1, 0), 0x1502}, Case{0x00F0, Options(64, 0, 1), 0x51F3},
                          Case{0x51F3, Options(7, 1, 1), 0x55F3}, Case{0x55F3, Options(4, 0, 0), 0x11F1}}) {
        Module->SetRegister(c.Before);
        EXPECT_TRUE(Device->SetInputConfig(c.Options));
        EXPECT_EQ(Module->GetRegister(), c.After) << c.Options.DAQ_InputGain;
        EXPECT_EQ(Device->GetCachedConfig(), c.Options);
    }
    EXPECT_TRUE(Device->ConfigureInput(Options(1, 0, 0), 3, 4, true));
    EXPECT_EQ(Module->GetRegister(), 0x11F0);
    // The input range is ten volts over the gain; 2 is an unknown gain.
    for (std::uint16_t gain : {1, 4, 16, 64})
        EXPECT_EQ(DaqDevice::InputRangeForGain(gain), 10.0f / gain);
    EXPECT_EQ(DaqDevice::InputRangeForGain(2), 10.0f);
}

TEST_F(DaqControl, EntersLowPowerAtExitOnlyWhenTheFlagWasWrittenAndAnAbsentModuleStaysClosed)
{
    // Asked for, but the write failed: no low-power state.
    Device->Open();
    Module->FailNextReads(1);
    EXPECT_FALSE(Device->SetInputConfig(Options(16, 1, 1, 1)));
    Waits.clear();
    Device->Shutdown();
    EXPECT_EQ(Module->LowPowerEntries(), 0);
    EXPECT_TRUE(Waits.empty());
    EXPECT_FALSE(Device->IsOpen());

    Module->Reset();
    Device = std::make_unique<DaqDevice>(DAQSIM_PLUGIN);
    Device->SetWait([this](std::uint32_t milliseconds) { Waits.push_back(milliseconds); });
    ASSERT_TRUE(Device->SetInputConfig(Options(16, 1, 1, 1)));
    Traces.clear();
    Waits.clear();
    Device.reset();  // the destructor shuts down
    EXPECT_EQ(Module->LowPowerEntries(), 1);
    EXPECT_EQ(Traces, std::vector<std::string>{"Calling SuspendDevice()\n"});
    EXPECT_EQ(Waits.size(), 1u);

    // An absent module, or none at all, leaves everything closed.
    Module->Reset();
    Device = std::make_unique<DaqDevice>(DAQSIM_PLUGIN);
    Module->SetPresent(0);
    Device->Open();
    EXPECT_FALSE(Device->IsOpen());
    EXPECT_EQ(Device->GetDeviceCount(), 0);
    EXPECT_FALSE(Device->SetInputConfig(Options(16, 1, 1)));
    EXPECT_EQ(Device->ReadSerialNumber(), 0u);

    DaqDevice noLibrary("/nonexistent/talvenor-daq-usb.so");
    noLibrary.Open();
    EXPECT_FALSE(noLibrary.IsOpen() || noLibrary.SetInputConfig(Options(16, 1, 1)));
}
