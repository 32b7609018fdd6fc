// A table may start at 0 Hz: the frequencies need only be non-negative and
// not falling.
#include "plot/overlay/TOverlayData.h"
#include "tests/support/PlatformTestSupport.h"

#include <gtest/gtest.h>

TEST(OverlayZeroHz, ATableThatStartsAtZeroHertzIsReadWhole)
{
    MessageLog messages;
    for (const char* text : {"0\t-1\n100\t-2\n200\t-3\n", "0\t-1\n0\t-2\n200\t-3\n"}) {
        SCOPED_TRACE(text);
        const auto table = TOverlayData::FromText(text, 0, 0.0f, false, false);
        EXPECT_FALSE(table->IsError());
        EXPECT_EQ(table->GetNumPoints(), 3u);
    }
    EXPECT_TRUE(messages.texts.empty());
}
