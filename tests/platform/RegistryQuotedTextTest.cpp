// Quoted texts of a driver entry file end at their closing quote inside the
// text given: the loader may be handed a slice of a larger buffer, and what
// lies past the slice is not part of the file.
#include "platform/Registry.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

using platform::Registry;
using platform::RegistryHive;

TEST(RegistryQuotedText, AQuoteThatClosesOnlyPastTheTextRefusesTheLine)
{
    const std::string head = "[HKLM\\software\\asio\\Entry]\n";
    // Each buffer is cut just before its last character, a closing quote.
    const struct {
        const char* line;
        int errorLine;
    } cases[] = {
        {"\"clsid\"=\"{1}\"", 2},    // the data's quote
        {"\"clsid\"=\"a\\\"b\"", 2}, // after an escaped quote
        {"\"clsid\"", 2},            // the name's quote
        {"@=\"/opt/x.so\"", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const std::string buffer = head + c.line;
        ASSERT_EQ(buffer.back(), '"');
        Registry registry;
        int line = -1;
        EXPECT_FALSE(registry.LoadText(std::string_view(buffer).substr(0, buffer.size() - 1), line));
        EXPECT_EQ(line, c.errorLine);
        EXPECT_FALSE(registry.KeyExists(RegistryHive::LocalMachine, "software\\asio\\Entry"));

        // The whole buffer loads, with the data read up to its quote.
        Registry whole;
        EXPECT_EQ(whole.LoadText(buffer, line), std::string_view(c.line) != "\"clsid\"");
    }

    // A value read from the whole buffer keeps its escaped quote.
    Registry registry;
    int line = -1;
    ASSERT_TRUE(registry.LoadText(head + "\"clsid\"=\"a\\\"b\"\n", line));
    std::string value;
    ASSERT_TRUE(registry.QueryValue(RegistryHive::LocalMachine, "software\\asio\\Entry", "clsid", value));
    EXPECT_EQ(value, "a\"b");
}

// A file whose last line leaves its quote open ends the text there: the
// buffer holds no terminator, and nothing past it is read.
TEST(RegistryQuotedText, AnOpenQuoteAtTheVeryEndOfAnUnterminatedBufferRefusesTheFile)
{
    for (const char* last : {"\"clsid\"=\"{1}", "\"clsid", "@=\"/opt/x.so", "\"clsid\"=\"a\\\""}) {
        SCOPED_TRACE(last);
        const std::string text = std::string("[HKLM\\software\\asio\\Entry]\n") + last;
        // Heap storage of exactly the text's size.
        const std::vector<char> buffer(text.begin(), text.end());
        Registry registry;
        int line = -1;
        EXPECT_FALSE(registry.LoadText(std::string_view(buffer.data(), buffer.size()), line));
        EXPECT_EQ(line, 2);
    }
}
