// A stored window placement read back: the numbers stand between the
// format's own separators; a text that strays from them keeps only the
// numbers before the stray character.
#include "settings/WindowPlacement.h"

#include <gtest/gtest.h>

#include <string>

TEST(WindowPlacementText, NumbersAfterAForeignSeparatorAreNotRead)
{
    const DesktopSize desktop{1920, 1080};
    const struct {
        const char* text;
        const char* read;
    } cases[] = {
        {"2, 1, {3,4}, {5,6}, {7,8,900,700}", "2, 1, {3,4}, {5,6}, {7,8,900,700}"},
        {"2; 1; {3;4}; {5;6}; {7;8;900;700}", "2, 0, {0,0}, {0,0}, {0,0,0,0}"},
        {"2, 1, (3,4), {5,6}, {7,8,900,700}", "2, 1, {0,0}, {0,0}, {0,0,0,0}"},
        {"2, 1, {3,4}, {5,6}, {7,8,900;700}", "2, 1, {3,4}, {5,6}, {7,8,900,0}"},
        // A blank where a comma or brace belongs is no separator.
        {"2 1 3 4 5 6 7 8 900 700", "2, 0, {0,0}, {0,0}, {0,0,0,0}"},
        {"2, 1, {3 4}, {5,6}, {7,8,900,700}", "2, 1, {3,0}, {0,0}, {0,0,0,0}"},
        // Ends where the next separator should stand.
        {"2, 1, {3,4}, {5,6}, {7", "2, 1, {3,4}, {5,6}, {7,0,0,0}"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto placement = WindowPlacement::Parse(c.text, desktop, false);
        ASSERT_TRUE(placement.has_value());
        EXPECT_EQ(placement->Format(), c.read);
    }
}
