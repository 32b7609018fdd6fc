// The generator window's rules without the window: the type lists, the
// Details buttons, looping, the one-shot stop time and the playback rate.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "utilities/siggenlogic/TSigGenPlayRules.h"
#include "utilities/siggenlogic/TSigGenTypeList.h"

using Rules = TSigGenPlayRules;

TEST(SigGenPlayRules, TheLeftChannelAloneDecidesWhetherTheSignalLoops)
{
    struct LoopCase {
        const char* name;
        std::int32_t type;
        std::uint8_t flag;
        bool loops;
    };
    const LoopCase cases[] = {
        {"one-shot pulse", kSigPulse, 1, false},     {"repeated pulse", kSigPulse, 0, true},
        {"single sweep", kSigFreqSweep, 1, false},   {"repeated sweep", kSigFreqSweep, 0, true},
        {"single step", kSigFreqStep, 1, false},     {"repeated steps", kSigFreqStep, 0, true},
        {"user file once", kSigUserWave, 0, false},  {"user file repeated", kSigUserWave, 1, true},
        {"tone ignores the flags", kSigTone1kHz, 1, true},
    };
    for (const LoopCase& c : cases) {
        SigGenChannelSettings left;
        left.SigType = c.type;
        left.Pulse.OneShotFlag = c.flag;
        left.FreqSweep.SingleSweepFlag = c.flag;
        left.FreqStep.SingleStepFlag = c.flag;
        left.UserDefined.RepeatFlag = c.flag;
        EXPECT_EQ(Rules::IsContinuous(left), c.loops) << c.name;
    }
}

TEST(SigGenPlayRules, DetailsNeedParametersAndAPlayedChannel)
{
    for (std::int32_t type = 0; type < kSigTypeCount; ++type) {
        const bool none = type == kSigWhiteNoise || type == kSigPinkNoise || type == kSigTone1kHz
                       || type == kSigSilence;
        EXPECT_EQ(Rules::IsDetailsEnabled(0, type, 1, true), !none) << type;
        EXPECT_EQ(Rules::IsDetailsEnabled(1, type, 2, false), !none) << type;
        EXPECT_FALSE(Rules::IsDetailsEnabled(1, type, 1, false)) << "mono " << type;
        EXPECT_FALSE(Rules::IsDetailsEnabled(1, type, 2, true)) << "locked " << type;
    }
}

TEST(SigGenPlayRules, StopTimePlaybackRateTheRightChannelsNoticeAndTheQuickList)
{
    // A one-shot signal stops a tenth of a second after its data, truncated.
    EXPECT_EQ(std::pair(Rules::OneShotStopMs(0.0f), Rules::OneShotStopMs(0.0205f)), std::pair(100, 120));

    // Under ASIO the port runs at the analyzer's rate unless a user file plays.
    EXPECT_EQ(Rules::PlaybackRate(1, kSigTone1kHz, 48000, 48000, 24000), 24000u);
    EXPECT_EQ(Rules::PlaybackRate(1, kSigUserWave, 48000, 44100, 24000), 44100u);
    EXPECT_EQ(Rules::PlaybackRate(0, kSigUserWave, 96000, 44100, 24000), 96000u);
    // The port opens with the analyzer's channels even for a one-channel
    // signal (locked): the same stream brings the analyzer's right input.
    EXPECT_EQ(Rules::PlaybackChannels(1, 2), 2);
    EXPECT_EQ(Rules::PlaybackChannels(1, 1), 1);
    EXPECT_EQ(Rules::PlaybackChannels(2, 2), 2);

    // The quick list selects the stored type.
    const auto left = TSigGenTypeList::For(0, kSigPinkNoise, 2, false);
    ASSERT_EQ(left.Entries.size(), 7u);
    EXPECT_EQ(left.Entries[left.Selected].SigType, kSigPinkNoise);
    EXPECT_EQ(TSigGenTypeList::For(1, kSigFreqSweep, 2, false).Selected, 5);

    // The right list explains why it cannot be used; locking is named first.
    // Compared as text: one literal need not have one address in every object.
    const auto notice = [](bool locked, int channels) {
        const char* text = Rules::RightChannelNotice(locked, channels);
        return std::string(text != nullptr ? text : "none");
    };
    EXPECT_EQ(std::vector({notice(true, 2), notice(true, 1), notice(false, 1), notice(false, 2)}),
              std::vector<std::string>({Rules::kLockedMessage, Rules::kLockedMessage, Rules::kMonoMessage, "none"}));
}
