// A channel mode past the known ones (a hand-edited settings file) builds
// the channels alone and processes nothing, without failing the block: the
// run goes on and the plots and log keep their per-channel data.

#include "tests/app_core/RunTestSupport.h"

#include <gtest/gtest.h>

TEST(ChannelModeUnknown, AModePastTheKnownOnesAcceptsEveryBlockAndBuildsNoDualObject)
{
    for (std::uint16_t channels : {1, 2}) {
        for (std::uint16_t mode : {13, 14, 200, 0xFFFF}) {
            SCOPED_TRACE(testing::Message() << channels << " channel(s), mode " << mode);
            FrameSettings s = run_test::TestSettings();
            s.Processing.Format.Set(48000, channels, 2);
            s.Processing.ChannelProcessing = mode;
            run_test::Harness h(s);
            TProcessingObjects& p = h.processing;
            p.BuildProcessing();
            ASSERT_NE(p.GetLoggingData(0), nullptr);
            EXPECT_EQ(p.GetDualChannelData(), nullptr);
            EXPECT_EQ(p.GetCoherenceData(), nullptr);
            EXPECT_TRUE(p.ProcessSpectrumBlock(p.GetLoggingData(0), p.GetLoggingData(1), nullptr, nullptr, 1.0));
            EXPECT_TRUE(p.ProcessLoggingBlock(2.0));
            // A missing left channel is still refused.
            EXPECT_FALSE(p.ProcessSpectrumBlock(nullptr, p.GetLoggingData(1), nullptr, nullptr, 3.0));
        }
    }
}
