// Value lines of a driver entry file: a name, "=", then the quoted data.
// A line that strays from that refuses the whole file at that line.
#include "platform/Registry.h"

#include <gtest/gtest.h>

#include <string>

using platform::Registry;
using platform::RegistryHive;

TEST(RegistryEntryLines, AValueLineWithoutItsEqualsSignRefusesTheFile)
{
    const struct {
        const char* value;
        bool loads;
    } cases[] = {
        {"\"clsid\"=\"{1}\"", true},
        {"\"clsid\"  =  \"{1}\"", true},
        {"@=\"/opt/x.so\"", true},
        {"\"clsid\"", false},
        {"\"clsid\" \"{1}\"", false},
        {"\"clsid\" :\"{1}\"", false},
        {"@:\"/opt/x.so\"", false},
        {"@", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        Registry registry;
        int line = -1;
        const std::string text = std::string("[HKLM\\software\\asio\\Entry]\n") + c.value + "\n";
        EXPECT_EQ(registry.LoadText(text, line), c.loads);
        EXPECT_EQ(line, c.loads ? 0 : 2);
        EXPECT_EQ(registry.KeyExists(RegistryHive::LocalMachine, "software\\asio\\Entry"), c.loads);
    }
}
