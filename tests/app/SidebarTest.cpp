#include "app/CSidebar.h"
#include "app/SidebarButtons.h"
#include "widgets/CToolBtn.h"
#include "tests/app/FakeFrame.h"
#include "tests/support/Screenshot.h"

#include <QTest>

#include <gtest/gtest.h>

namespace {

using namespace SidebarButtons;

class SidebarTest : public ::testing::Test {
protected:
    SidebarTest()
        : bar(nullptr, frame)
    {
        bar.show();
    }

    bool Latched(std::uint32_t id) const { return bar.Button(id)->IsLatched(); }

    FakeFrame frame;
    CSidebar bar;
};

TEST_F(SidebarTest, ClicksOnTheSurfaceRestartAveragingADoubleClickOpensTheSettingsAndShortcutsSendTheirs)
{
    const QPoint surface(45, 250);
    QTest::mousePress(&bar, Qt::RightButton, {}, surface);
    EXPECT_EQ(frame.commands, std::vector<FrameCommand>{FrameCommand::ResetAveraging});

    // A right click on a button does nothing, neither there nor on the bar.
    frame.commands.clear();
    QTest::mouseClick(bar.Button(IDC_SETTINGS), Qt::RightButton);
    EXPECT_TRUE(frame.commands.empty());

    QTest::mouseClick(&bar, Qt::LeftButton, {}, surface);
    QTest::mouseDClick(&bar, Qt::LeftButton, {}, surface);
    // The shortcut buttons send theirs.
    for (std::uint32_t id : {IDC_SETTINGS, IDC_CALIBRATE, IDC_DEVICE, IDC_DATA_LOG})
        QTest::mouseClick(bar.Button(id), Qt::LeftButton);
    const std::vector<FrameCommand> expected{
        FrameCommand::ResetAveraging,          FrameCommand::OptionsProcessingSettings,
        FrameCommand::ProcessingSettingsPage0, FrameCommand::CalibrationSettings,
        FrameCommand::ProcessingSettingsPage2, FrameCommand::DataLoggingSettings};
    EXPECT_EQ(frame.commands, expected);
}

TEST_F(SidebarTest, LogoShowsOnlyWhenTheBarIsHigherThan410Pixels)
{
    // The logo's separator line runs one pixel above it, across the bar.
    const QRgb separator = bar.palette().color(QPalette::Dark).rgb();
    const QRgb face = bar.palette().color(QPalette::Button).rgb();

    bar.resize(90, 400);
    QImage shot = bar.grab().toImage();
    EXPECT_EQ(shot.pixel(40, 400 - 82), face);

    bar.resize(90, 411);
    shot = bar.grab().toImage();
    EXPECT_EQ(shot.pixel(40, 411 - 82), separator);
    int logoPixels = 0;
    for (int y = 330; y < 411; ++y) {
        for (int x = 0; x < 89; ++x)
            logoPixels += shot.pixel(x, y) != face;
    }
    EXPECT_GT(logoPixels, 300);

    bar.resize(90, 560);
    SaveScreenshot(bar, "sidebar_stopped");
}

} // namespace
