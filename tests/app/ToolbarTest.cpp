#include "app/CToolbar2.h"
#include "app/ToolbarButtons.h"
#include "widgets/CToolBtn.h"
#include "tests/app/FakeFrame.h"
#include "tests/support/Screenshot.h"

#include <QTest>

#include <gtest/gtest.h>


namespace {

using namespace ToolbarButtons;

class ToolbarTest : public ::testing::Test {
protected:
    ToolbarTest()
        : bar(nullptr, frame)
    {
        bar.resize(bar.sizeHint());
        bar.show();
    }

    bool Latched(std::uint32_t id) const { return bar.Button(id)->IsLatched(); }

    FakeFrame frame;
    CToolbar2 bar;
};

// The frame's tests latch the window buttons through the real frame; here,
// the buttons that show no state.
TEST_F(ToolbarTest, ButtonsThatShowNoStateCannotBeLatched)
{
    frame.peakAmplitudeViewer = true;
    bar.SyncButtonStates();
    EXPECT_TRUE(Latched(IDC_PEAK_AMP));
    EXPECT_FALSE(Latched(IDC_PEAK_FREQ));
    bar.SetButtonLatch(201, true);
    bar.SetButtonLatch(505, true);
    EXPECT_FALSE(Latched(201));
    EXPECT_FALSE(Latched(505));
    bar.Button(204)->SetGreyed();
    SaveScreenshot(bar, "toolbar");
}

TEST_F(ToolbarTest, HandledButtonsSendTheirCommandsAndTheRestDoNothing)
{
    for (std::uint32_t id : {202u, 203u, 301u, 302u, 303u, 304u, 305u, 402u, 404u, 407u, 505u, 506u,
                             507u, 508u, 509u, 515u, 513u, 510u, 511u, 512u})
        QTest::mouseClick(bar.Button(id), Qt::LeftButton, {}, QPoint(14, 14));
    EXPECT_TRUE(frame.commands.empty());

    for (std::uint32_t id : {201u, 204u, 401u, 403u, 406u, 501u, 502u, 503u, 504u, 514u})
        QTest::mouseClick(bar.Button(id), Qt::LeftButton, {}, QPoint(14, 14));
    const std::vector<FrameCommand> expected{
        FrameCommand::Recorder,            FrameCommand::FilePrint,           FrameCommand::ProcessingSettingsPage0,
        FrameCommand::ProcessingSettingsPage1, FrameCommand::ProcessingSettingsPage2,
        FrameCommand::SignalGenerator,     FrameCommand::UtilityPeakFrequency,
        FrameCommand::UtilityPeakAmplitude, FrameCommand::UtilityTotalPower,
        FrameCommand::DataLoggingSettings};
    EXPECT_EQ(frame.commands, expected);
}

} // namespace
