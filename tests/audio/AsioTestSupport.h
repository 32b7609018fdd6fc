#pragma once
// A fixture for the driver host layer: a registry of the test's own, drivers
// made by the test driver plugin, captured message boxes, and nothing left
// loaded afterwards.

#include "platform/MessageBox.h"
#include "platform/Registry.h"
#include "tests/audio/PumpedAsioDriver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

class AsioTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A class id text made from a number.
    static std::string ClassId(int number);
    // Lists a driver of the test plugin under software\asio\<key> with class
    // ClassId(number); an empty description leaves the value out.
    void AddTestDriver(const std::string& key, int number, const PumpedDriverConfig& config,
                       const std::string& description = "");
    // Writes the registry entries of any driver.
    void AddEntry(const std::string& key, const std::string& classId, const std::string& serverPath,
                  const std::string& description = "");
    int LiveDrivers() const { return Driver != nullptr ? Driver->LiveDrivers.load() : 0; }

    // Of the same loaded file the host layer opens, so configuring it here
    // shapes the very drivers the host makes.
    PumpedDriverWorld* Driver = nullptr;
    platform::Registry Registry;
    std::vector<platform::MessageBoxRequest> Messages;
};
