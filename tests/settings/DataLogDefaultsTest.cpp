// The frame's starting values of the two log channels, as the data log
// documents them: channel 0 logs ids 0 and 25 from 900 Hz to 95 kHz above
// 40 of id 25; channel 1 logs id 1 from 20 to 250 Hz above 0.025 of id 50.
#include "settings/DataLogSettings.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<int> ItemsSet(const LoggingOpts& o)
{
    std::vector<int> items;
    for (std::size_t i = 0; i < LoggingOpts::kDataItemCount; ++i)
        if (o.DataItem[i] != 0)
            items.push_back(int(i));
    return items;
}

} // namespace

TEST(DataLogDefaults, EachLogChannelStartsWithItsDocumentedValues)
{
    const struct {
        std::vector<int> items;
        float start, stop;
        std::uint32_t thresholdType;
        float thresholdLevel;
    } expected[2] = {{{0, 25}, 900.0f, 95000.0f, 25, 40.0f}, {{1}, 20.0f, 250.0f, 50, 0.025f}};
    for (int channel = 0; channel < 2; ++channel) {
        SCOPED_TRACE(channel);
        const LoggingOpts o = LoggingOpts::FrameDefaults(channel);
        const auto& e = expected[channel];
        EXPECT_EQ(ItemsSet(o), e.items);
        EXPECT_EQ(std::vector<float>({o.StartFreq, o.StopFreq, o.ThresholdLevel, o.IntervalSecs}),
                  std::vector<float>({e.start, e.stop, e.thresholdLevel, 1.0f}));
        EXPECT_EQ(o.ThresholdType, e.thresholdType);
        EXPECT_EQ(std::vector<int>({o.Enable, o.IntervalFlag, o.bResetAverage, o.bResetPeakHold, o.bApplyThreshold}),
                  std::vector<int>({0, 1, 1, 1, 1}));
        EXPECT_EQ(o.LogFileName[0], '\0');
    }
}
