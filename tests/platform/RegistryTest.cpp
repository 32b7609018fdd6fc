#include "platform/Registry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using platform::Registry;
using platform::RegistryHive;

std::vector<std::string> Subkeys(const Registry& registry, RegistryHive hive, const std::string& key)
{
    std::vector<std::string> names;
    std::string name;
    for (std::size_t i = 0; registry.EnumKey(hive, key, i, name); ++i)
        names.push_back(name);
    return names;
}

} // namespace

TEST(Registry, KeysAndValuesIgnoreCaseAndEnumerateInOrder)
{
    Registry registry;
    registry.SetValue(RegistryHive::LocalMachine, "SOFTWARE\\ASIO\\zulu", "clsid", "z");
    registry.SetValue(RegistryHive::LocalMachine, "software\\asio\\Alpha", "CLSID", "a");
    registry.SetValue(RegistryHive::LocalMachine, "software\\asio\\alpha", "clsid", "a2");
    registry.CreateKey(RegistryHive::LocalMachine, "software\\asio\\Mike");
    registry.SetValue(RegistryHive::ClassesRoot, "clsid\\x\\InprocServer32", "", "/lib/x.so");

    EXPECT_EQ(Subkeys(registry, RegistryHive::LocalMachine, "Software\\Asio"),
              (std::vector<std::string>{"Alpha", "Mike", "zulu"}));
    std::string value;
    ASSERT_TRUE(registry.QueryValue(RegistryHive::LocalMachine, "software\\asio\\ALPHA", "Clsid", value));
    EXPECT_EQ(value, "a2");
    ASSERT_TRUE(registry.QueryValue(RegistryHive::ClassesRoot, "CLSID\\X\\inprocserver32", "", value));
    EXPECT_EQ(value, "/lib/x.so");

    // The hives are separate, and a missing value is not an empty one.
    EXPECT_FALSE(registry.KeyExists(RegistryHive::ClassesRoot, "software\\asio"));
    EXPECT_FALSE(registry.QueryValue(RegistryHive::LocalMachine, "software\\asio\\Mike", "", value));
    EXPECT_FALSE(registry.EnumKey(RegistryHive::LocalMachine, "software\\missing", 0, value));

    registry.DeleteKey(RegistryHive::LocalMachine, "software\\asio\\ALPHA");
    EXPECT_EQ(Subkeys(registry, RegistryHive::LocalMachine, "software\\asio"),
              (std::vector<std::string>{"Mike", "zulu"}));
    registry.Clear();
    EXPECT_FALSE(registry.KeyExists(RegistryHive::LocalMachine, "software"));
}

TEST(Registry, LoadsEntryFilesWholeOrNotAtAll)
{
    Registry registry;
    int line = -1;
    const char* good =
        "; drivers added by hand\r\n"
        "[HKEY_LOCAL_MACHINE\\software\\asio\\Studio \"A\"]\r\n"
        "\"clsid\"=\"{0}\"\n"
        "\"description\" = \"Studio \\\"A\\\" \\\\ desk\"\n"
        "\n"
        "[HKCR\\clsid\\{0}\\InprocServer32]\n"
        "@=\"/opt/studio.so\"\n";
    ASSERT_TRUE(registry.LoadText(good, line));
    EXPECT_EQ(line, 0);
    std::string value;
    ASSERT_TRUE(registry.QueryValue(RegistryHive::LocalMachine, "software\\asio\\Studio \"A\"", "description", value));
    EXPECT_EQ(value, "Studio \"A\" \\ desk");
    ASSERT_TRUE(registry.QueryValue(RegistryHive::ClassesRoot, "clsid\\{0}\\InprocServer32", "", value));
    EXPECT_EQ(value, "/opt/studio.so");

    const char* bad =
        "[HKEY_LOCAL_MACHINE\\software\\asio\\Other]\n"
        "\"clsid\"=\"{1}\"\n"
        "clsid={2}\n";
    EXPECT_FALSE(registry.LoadText(bad, line));
    EXPECT_EQ(line, 3);
    EXPECT_FALSE(registry.KeyExists(RegistryHive::LocalMachine, "software\\asio\\Other"));

    EXPECT_FALSE(registry.LoadText("\"clsid\"=\"{1}\"\n", line)) << "a value before any key";
    EXPECT_EQ(line, 1);
    EXPECT_FALSE(registry.LoadText("[HKEY_USERS\\x]\n", line));
    EXPECT_FALSE(registry.LoadText("[HKLM\\x]\n@=\"unterminated\n", line));
    EXPECT_EQ(line, 2);
    EXPECT_FALSE(registry.LoadFile("/nonexistent/drivers.reg", line));
    EXPECT_EQ(line, 0);
}
