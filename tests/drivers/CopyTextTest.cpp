// The drivers' copy of a text into a fixed field: cut to fit, terminated,
// nothing written past the field (a heap block of exactly its size, so the
// sanitizer sees a write past it; a larger block shows it to a plain check).

#include "drivers/common/CopyText.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

TEST(CopyText, ATextFillingTheFieldStandsWholeOneLongerIsCutAndNothingIsWrittenPastIt)
{
    struct Case {
        const char* text;
        std::size_t capacity;
        const char* copied;
    };
    const Case cases[] = {
        {"abcd", 5, "abcd"}, {"abcde", 5, "abcd"}, {"abcdef", 5, "abcd"}, {"abc", 5, "abc"}, {"", 1, ""}, {"a", 1, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " into " + std::to_string(c.capacity));
        const auto field = std::make_unique<char[]>(c.capacity);
        CopyText(field.get(), c.text, c.capacity);
        EXPECT_EQ(std::string(field.get()), c.copied);

        std::vector<char> block(c.capacity + 4, '#');
        CopyText(block.data(), c.text, c.capacity);
        EXPECT_EQ(std::string(block.begin() + static_cast<std::ptrdiff_t>(c.capacity), block.end()), "####");
    }
}
