// The status, side and tool bars over a stand-in frame: the status text and
// meters, the format menu, progress, and the commands and latches of the bars' buttons.

#include "app/CSidebar.h"
#include "app/CStatusbar.h"
#include "app/CToolbar2.h"
#include "app/FormatMenuModel.h"
#include "app/LevelBar.h"
#include "app/LevelMeters.h"
#include "app/SidebarButtons.h"
#include "app/StatusbarText.h"
#include "app/ToolbarButtons.h"
#include "tests/app/FakeFrame.h"
#include "tests/support/Screenshot.h"
#include "widgets/CToolBtn.h"
#include "widgets/ProgressSignals.h"

#include <QApplication>
#include <QMenu>
#include <QProgressBar>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <thread>

namespace statusbar {

TEST(StatusbarText, EveryRowOfTheTable)
{
    struct Row {
        const char* what;
        std::function<void(FakeFrame&)> arrange;
        const char* text;
    };
    const Row rows[] = {
        {"stopped", [](FakeFrame&) {}, "Stopped"},
        {"playing", [](FakeFrame& f) { f.playback = true; }, "Playing..."},
        {"playing while running", [](FakeFrame& f) { f.playback = f.running = true; f.frameCounter = 3; }, "Playing..."},
        {"running", [](FakeFrame& f) { f.running = true; f.frameCounter = 3; }, "Running..."},
        {"logging", [](FakeFrame& f) { f.running = f.logWriting = true; f.frameCounter = 3; }, "Logging..."},
        {"a quarter", [](FakeFrame& f) { f.running = true; f.samplesAvailable = 16384; }, "Acquiring Data (25%)"},
        {"almost", [](FakeFrame& f) { f.running = true; f.samplesAvailable = 65535; }, "Acquiring Data (99%)"},
        {"nothing yet", [](FakeFrame& f) { f.running = true; }, "Acquiring Data (0%)"},
        // A ring holding more than a block, even past 32-bit percent arithmetic.
        {"more", [](FakeFrame& f) { f.running = true; f.samplesAvailable = 200000; }, "Acquiring Data (100%)"},
        {"far more", [](FakeFrame& f) { f.running = true; f.samplesAvailable = 4000000000u; }, "Acquiring Data (100%)"},
        {"no port", [](FakeFrame& f) { f.running = true; f.inputPort = false; }, "Stopped"},
        // Once blocks have been processed the port is not read at all.
        {"no port, blocks done", [](FakeFrame& f) { f.running = true; f.inputPort = false; f.frameCounter = 1; },
         "Running..."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        FakeFrame frame;
        row.arrange(frame);
        EXPECT_EQ(StatusbarText::Build(frame), row.text);
    }
}

TEST(LevelBar, TheLastTwoPercentOfTheScaleIsRedTicksExcepted)
{
    EXPECT_EQ(LevelBar::PixelColour(197, 200), qRgb(255, 0, 0));
    EXPECT_EQ(LevelBar::PixelColour(196, 200), qRgb(128, 128, 128));
    EXPECT_EQ(LevelBar::PixelColour(195, 200), qRgb(248, 173, 0));
}

std::vector<std::string> Texts(const std::vector<FormatMenuItem>& items)
{
    std::vector<std::string> texts;
    for (const FormatMenuItem& item : items)
        texts.push_back(item.text + (item.checked ? " *" : ""));
    return texts;
}

TEST(FormatMenuModel, ItemsAreOfferedAsThePortAcceptsThemWithTheCurrentChecked)
{
    FakeFrame frame;
    frame.format = TWaveFormat(48000, 2, 3);
    ASSERT_EQ(FormatMenuModel::RateItems(frame).size(), 20u);
    EXPECT_EQ(FormatMenuModel::RateItems(frame).back().command, 219u);

    // Each item is checked with the other two parts of the format kept.
    frame.accepts = [](std::uint32_t rate, std::uint16_t bytes, std::uint16_t channels) {
        return rate <= 96000 && channels == 2 && bytes != 2;
    };
    EXPECT_EQ(FormatMenuModel::RateItems(frame).size(), 16u);
    EXPECT_EQ(Texts(FormatMenuModel::WidthItems(frame)), std::vector<std::string>{"24 Bit *"});
    EXPECT_EQ(Texts(FormatMenuModel::ChannelItems(frame)), std::vector<std::string>{"Stereo *"});

    frame.accepts = [](auto, auto, auto) { return true; };
    frame.format = TWaveFormat(44100, 1, 2);
    EXPECT_EQ(Texts(FormatMenuModel::WidthItems(frame)), (std::vector<std::string>{"16 Bit *", "24 Bit"}));
    EXPECT_EQ(Texts(FormatMenuModel::ChannelItems(frame)), (std::vector<std::string>{"Mono *", "Stereo"}));

    frame.inputPort = false;
    EXPECT_TRUE(FormatMenuModel::RateItems(frame).empty());
    EXPECT_TRUE(FormatMenuModel::WidthItems(frame).empty());
    EXPECT_TRUE(FormatMenuModel::ChannelItems(frame).empty());
}

TEST(FormatMenuModel, AChangeReinitialisesAndARunningAnalyzerStartsAgain)
{
    struct Row {
        std::uint32_t command;
        bool running;
        TWaveFormat want;
        std::vector<std::string> events;
    };
    const std::vector<std::string> stopped{"command 57766", "format", "command 57914"};
    std::vector<std::string> restarted = stopped;
    restarted.push_back("command 57765");
    const Row rows[] = {
        {210, false, TWaveFormat(44100, 2, 3), stopped},
        {FormatMenuModel::kCommand24Bit, true, TWaveFormat(48000, 2, 3), restarted},
        // Commands that name no format do nothing.
        {101, true, TWaveFormat(48000, 2, 2), {}},
        {199, true, TWaveFormat(48000, 2, 2), {}},
        {220, true, TWaveFormat(48000, 2, 2), {}},
        {449, true, TWaveFormat(48000, 2, 2), {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.command);
        FakeFrame frame;
        frame.format = TWaveFormat(48000, 2, row.command == 210 ? 3 : 2);
        frame.running = row.running;
        FormatMenuModel::Execute(row.command, frame);
        EXPECT_EQ(frame.format, row.want);
        EXPECT_EQ(frame.events, row.events);
        EXPECT_EQ(frame.running, row.running);
    }
}


// Counts the paints a widget receives.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget& widget) { widget.installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        count += event->type() == QEvent::Paint;
        return false;
    }
};

class StatusbarTest : public ::testing::Test {
protected:
    // Wide enough for a meter pane of 400 pixels after the text.
    StatusbarTest()
        : bar(nullptr, frame)
    {
        bar.resize(bar.Layout().paneRect.left() + 400 + 3, 26);
        bar.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&bar));
        QApplication::processEvents();
    }

    FakeFrame frame;
    CStatusbar bar;
};

TEST_F(StatusbarTest, TextRefreshRepaintsOnlyWhenTheTextChanged)
{
    bar.UpdateStatus(CStatusbar::kUpdateAll);
    EXPECT_EQ(bar.PaintedText(), "Stopped");

    PaintCounter paints(bar);
    bar.UpdateStatus(CStatusbar::kUpdateText);
    bar.UpdateStatus(CStatusbar::kUpdateText);
    EXPECT_EQ(paints.count, 0);

    frame.running = true;
    frame.samplesAvailable = 32768;
    bar.UpdateStatus(CStatusbar::kUpdateText);
    EXPECT_EQ(paints.count, 1);
    EXPECT_EQ(bar.PaintedText(), "Acquiring Data (50%)");
}

TEST_F(StatusbarTest, LevelRefreshRepaintsWhenALevelMovesAndDropsToZeroOnStop)
{
    frame.running = true;
    frame.frameCounter = 10;
    frame.peaks = {50, 99};
    bar.UpdateStatus(CStatusbar::kUpdateAll);
    EXPECT_EQ(frame.overloads, (std::array<int, 2>{0, 1}));

    PaintCounter paints(bar);
    bar.UpdateStatus(CStatusbar::kUpdateLevels);
    EXPECT_EQ(paints.count, 0);
    EXPECT_EQ(frame.overloads, (std::array<int, 2>{0, 2}));

    frame.peaks = {51, 99};
    bar.UpdateStatus(CStatusbar::kUpdateLevels);
    EXPECT_EQ(paints.count, 1);
    EXPECT_EQ(frame.overloads, (std::array<int, 2>{0, 3}));

    // A channel without a sample buffer reads 0.
    frame.peaks = {std::nullopt, 40};
    bar.UpdateStatus(CStatusbar::kUpdateLevels);
    EXPECT_EQ(bar.Levels().Level(0), 0);
    EXPECT_EQ(bar.Levels().Level(1), 40);

    frame.running = false;
    bar.UpdateStatus(CStatusbar::kUpdateLevels);
    EXPECT_EQ(bar.Levels().Level(0), 0);
    EXPECT_EQ(bar.Levels().Level(1), 0);
    EXPECT_EQ(paints.count, 3);
}

TEST_F(StatusbarTest, MetersDrawTheGradientAndAnOverloadAsRed)
{
    frame.running = true;
    frame.frameCounter = 1;
    frame.peaks = {50, 99};
    bar.UpdateStatus(CStatusbar::kUpdateAll);
    const QImage shot = bar.grab().toImage();
    SaveScreenshot(bar, "statusbar_levels");

    // Pane: y 3, 400 x 17; bars 5 high, channel 0 from (left + 2, 5),
    // channel 1 from (left + 2, 12). Pixel x of a bar sits at left + 2 + x.
    ASSERT_EQ(bar.Layout().paneRect.width(), 400);
    const int x0 = bar.Layout().paneRect.left() + 2;
    const QColor face = bar.palette().color(QPalette::Button).rgb();
    EXPECT_EQ(QColor(shot.pixel(x0 + 5, 5)), QColor(3, 254, 0));     // g = 255·5/400
    EXPECT_EQ(QColor(shot.pixel(x0 + 5, 10)), QColor(3, 254, 0));    // h rows below
    EXPECT_EQ(QColor(shot.pixel(x0 + 8, 7)), QColor(128, 128, 128)); // tick
    EXPECT_EQ(QColor(shot.pixel(x0 + 199, 5)), QColor(126, 213, 0)); // last of 200
    EXPECT_EQ(QColor(shot.pixel(x0 + 200, 5)), face);
    EXPECT_EQ(QColor(shot.pixel(x0, 5)), face);
    // Overload: one red block across the pane.
    EXPECT_EQ(QColor(shot.pixel(x0 + 1, 12)), QColor(255, 0, 0));
    EXPECT_EQ(QColor(shot.pixel(x0 + 398, 17)), QColor(255, 0, 0));
}

TEST_F(StatusbarTest, ProgressFromAWorkerArrivesInOrderAndRepeatsRepaintOnce)
{
    ProgressSignals progress;
    bar.ConnectProgress(progress);
    const QProgressBar* control = bar.ProgressControl();
    ASSERT_NE(control, nullptr);
    EXPECT_FALSE(control->isVisible());

    emit progress.ProgressShow();
    QApplication::processEvents();
    EXPECT_TRUE(control->isVisible());
    EXPECT_EQ(control->geometry(), bar.Layout().textRect);

    int changes = 0;
    QObject::connect(control, &QProgressBar::valueChanged, [&changes] { ++changes; });
    std::thread worker([&progress] {
        for (int value : {10, 10, 150, -3, 100, 20})
            emit progress.ProgressSet(value);
    });
    worker.join();
    QApplication::processEvents();
    EXPECT_EQ(control->value(), 20);
    EXPECT_EQ(changes, 2);

    emit progress.ProgressHide();
    QApplication::processEvents();
    EXPECT_FALSE(control->isVisible());
    EXPECT_EQ(control->value(), 0);
}

TEST_F(StatusbarTest, ClickOnTheTextOpensTheFormatMenu)
{
    frame.format = TWaveFormat(48000, 1, 2);
    QTest::mouseClick(&bar, Qt::LeftButton, {}, QPoint(30, 10));
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    const QList<QAction*> submenus = menu->actions();
    ASSERT_EQ(submenus.size(), 3);
    const QList<QAction*> rates = submenus[0]->menu()->actions();
    ASSERT_EQ(rates.size(), 20);
    EXPECT_EQ(rates[11]->text(), "48000 Hz");
    EXPECT_TRUE(rates[11]->isChecked());
    EXPECT_FALSE(rates[10]->isChecked());

    // Choosing Stereo while stopped: new format, both channels, no start.
    submenus[2]->menu()->actions()[1]->trigger();
    menu->close();
    EXPECT_EQ(frame.format.GetChannels(), 2);
    EXPECT_EQ(frame.channelMode, 2);
    EXPECT_FALSE(frame.running);
    // Already stereo, or back to mono: the channel mode is left alone.
    frame.channelMode = 5;
    FormatMenuModel::Execute(FormatMenuModel::kCommandStereo, frame);
    FormatMenuModel::Execute(FormatMenuModel::kCommandMono, frame);
    EXPECT_EQ(frame.format.GetChannels(), 1);
    EXPECT_EQ(frame.channelMode, 5);

    // Outside the text nothing opens.
    QApplication::processEvents();
    QTest::mouseClick(&bar, Qt::LeftButton, {}, QPoint(300, 10));
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);

    // Without an input port the menu offers nothing.
    frame.inputPort = false;
    const std::unique_ptr<QMenu> empty = bar.BuildFormatMenu();
    for (QAction* submenu : empty->actions()) {
        EXPECT_FALSE(submenu->isEnabled());
        EXPECT_TRUE(submenu->menu()->actions().isEmpty());
    }
}

} // namespace statusbar

namespace sidebar {

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

} // namespace sidebar

namespace toolbar {

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

} // namespace toolbar
