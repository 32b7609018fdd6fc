#pragma once
// Comparison of the frame's settings, and of what they are saved as, for the
// settings tests; temporary folders and whole-file reads come from the
// platform tests' support.

#include <string>

#include <gtest/gtest.h>

#include "settings/FrameSettings.h"
#include "tests/support/PlatformTestSupport.h"

// The same .cfg text, and the same values beyond it.
void ExpectSameSettings(const FrameSettings& actual, const FrameSettings& expected);

// Checks each blank-separated "Section/Key=value" of `expected` against the
// .cfg text the settings save as; numbers compare by value ("0.5" matches
// "0.500000").
void ExpectWritten(const FrameSettings& settings, const std::string& expected);

// A test with a .cfg file of its own, loaded as a start without the DAQ module.
class CfgTextTest : public testing::Test {
protected:
    FrameSettings Load(const std::string& text);

    TempFolder folder;
    const std::string path = folder.Path("test.cfg");
};
