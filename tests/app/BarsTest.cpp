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
#include "tests/support/Screenshot.h"
#include "widgets/CToolBtn.h"
#include "widgets/ProgressSignals.h"

#include <QApplication>
#include <QMenu>
#include <QProgressBar>
#include <QTest>

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

// A main frame stand-in: plain state the test sets, and a record of every
// command a bar sends and every format change; Start and Stop set the running flag.
class FakeFrame final : public SidebarFrame, public ToolbarFrame, public StatusbarFrame {
public:
    bool running = false;
    bool playback = false;
    bool logWriting = false;
    bool peakAmplitudeViewer = false;
    std::uint32_t frameCounter = 0;
    bool inputPort = true;
    std::uint32_t samplesAvailable = 0;
    std::array<std::optional<std::int32_t>, 2> peaks{0, 0};
    std::array<int, 2> overloads{0, 0};
    TWaveFormat format{48000, 1, 2};
    int channelMode = 0;
    // Which formats the input port accepts (rate, bytes per sample, channels).
    std::function<bool(std::uint32_t, std::uint16_t, std::uint16_t)> accepts = [](auto, auto, auto) { return true; };
    std::vector<FrameCommand> commands;
    // Format changes and commands in the order they happened.
    std::vector<std::string> events;

    void ExecuteCommand(FrameCommand command) override
    {
        commands.push_back(command);
        events.push_back("command " + std::to_string(static_cast<std::uint32_t>(command)));
        if (command == FrameCommand::Start || command == FrameCommand::Stop)
            running = command == FrameCommand::Start;
    }
    bool IsRunning() const override { return running; }
    bool IsDataLoggingActive() const override { return false; }
    bool IsDataLogWriting() const override { return logWriting; }
    bool IsTriggerEnabled() const override { return false; }
    bool HasSignalGenerator() const override { return false; }
    bool HasSpectrumPlot() const override { return false; }
    bool HasPeakFrequencyViewer() const override { return false; }
    bool HasPeakAmplitudeViewer() const override { return peakAmplitudeViewer; }
    bool HasTotalPowerViewer() const override { return false; }
    bool IsPlaybackOn() const override { return playback; }
    std::uint32_t GetFrameCounter() const override { return frameCounter; }
    std::uint32_t GetFFTSize() const override { return 65536; }
    bool HasInputPort() const override { return inputPort; }
    std::optional<std::uint32_t> GetInputSamplesAvailable() const override
    {
        return inputPort ? std::optional<std::uint32_t>(samplesAvailable) : std::nullopt;
    }
    bool CheckInputFormat(std::uint32_t rate, std::uint16_t bytes, std::uint16_t channels) const override
    {
        return inputPort && accepts(rate, bytes, channels);
    }
    std::optional<std::int32_t> GetPeakValue(int channel) const override { return peaks[channel]; }
    void IncrementOverloadCount(int channel) override { ++overloads[channel]; }
    TWaveFormat GetAnalysisFormat() const override { return format; }
    void SetAnalysisFormat(const TWaveFormat& value) override
    {
        format = value;
        events.push_back("format");
    }
    void SetChannelMode(int mode) override { channelMode = mode; }
};

TEST(StatusbarText, EveryRowOfTheTable)
{
    struct Row {
        const char* what;
        std::function<void(FakeFrame&)> arrange;
        const char* text;
    };
    const Row rows[] = {
        {"stopped", [](FakeFrame&) {}, "Stopped"},
        {"playing while running", [](FakeFrame& f) { f.playback = f.running = true; f.frameCounter = 3; }, "Playing..."},
        {"running", [](FakeFrame& f) { f.running = true; f.frameCounter = 3; }, "Running..."},
        {"logging", [](FakeFrame& f) { f.running = f.logWriting = true; f.frameCounter = 3; }, "Logging..."},
        {"almost", [](FakeFrame& f) { f.running = true; f.samplesAvailable = 65535; }, "Acquiring Data (99%)"},
        // A ring holding more than a block, even past 32-bit percent arithmetic.
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

// The items' texts, the checked one marked.
std::string Texts(const std::vector<FormatMenuItem>& items)
{
    std::string texts;
    for (const FormatMenuItem& item : items)
        texts += item.text + (item.checked ? "* " : " ");
    return texts;
}

TEST(FormatMenuModel, ItemsAreOfferedAsThePortAcceptsThemWithTheCurrentCheckedAndAChangeReinitialises)
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
    EXPECT_EQ(Texts(FormatMenuModel::WidthItems(frame)) + Texts(FormatMenuModel::ChannelItems(frame)),
              "24 Bit* Stereo* ");
    frame.accepts = [](auto, auto, auto) { return true; };
    frame.format = TWaveFormat(44100, 1, 2);
    EXPECT_EQ(Texts(FormatMenuModel::WidthItems(frame)) + Texts(FormatMenuModel::ChannelItems(frame)),
              "16 Bit* 24 Bit Mono* Stereo ");
    frame.inputPort = false;
    EXPECT_TRUE(FormatMenuModel::RateItems(frame).empty() && FormatMenuModel::WidthItems(frame).empty() &&
                FormatMenuModel::ChannelItems(frame).empty());

    // A change reinitialises; a running analyzer starts again; commands that
    // name no format do nothing.
    FakeFrame changed;
    changed.format = TWaveFormat(48000, 2, 3);
    FormatMenuModel::Execute(210, changed);
    EXPECT_EQ(changed.format, TWaveFormat(44100, 2, 3));
    EXPECT_EQ(changed.events, (std::vector<std::string>{"command 57766", "format", "command 57914"}));
    changed.events.clear();
    changed.format = TWaveFormat(48000, 2, 2);
    changed.running = true;
    for (std::uint32_t command : {101u, 199u, 220u, 449u, FormatMenuModel::kCommand24Bit})
        FormatMenuModel::Execute(command, changed);
    EXPECT_EQ(changed.format, TWaveFormat(48000, 2, 3));
    EXPECT_EQ(changed.events, (std::vector<std::string>{"command 57766", "format", "command 57914", "command 57765"}));
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

// Refreshes repaint only on a change; levels drop to zero on Stop; the meters
// draw the gradient and red; progress from a worker arrives in order; a click
// on the text opens the format menu.
TEST(Statusbar, RefreshesLevelsMetersProgressAndTheFormatMenu)
{
    FakeFrame frame;
    CStatusbar bar(nullptr, frame);
    // Wide enough for a meter pane of 400 pixels after the text.
    bar.resize(bar.Layout().paneRect.left() + 400 + 3, 26);
    bar.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&bar));
    QApplication::processEvents();
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

    // Levels: 99 overloads at each refresh; a repaint only when one moves.
    frame.frameCounter = 10;
    frame.peaks = {50, 99};
    bar.UpdateStatus(CStatusbar::kUpdateAll);
    EXPECT_EQ(frame.overloads, (std::array<int, 2>{0, 1}));
    // Pane: y 3, 400 x 17; bars 5 high, channel 0 from (left + 2, 5),
    // channel 1 from (left + 2, 12). Pixel x of a bar sits at left + 2 + x.
    const QImage shot = bar.grab().toImage();
    SaveScreenshot(bar, "statusbar_levels");
    ASSERT_EQ(bar.Layout().paneRect.width(), 400);
    const int x0 = bar.Layout().paneRect.left() + 2;
    const QRgb face = bar.palette().color(QPalette::Button).rgb();
    // g = 255·5/400, h rows below, a tick, the last of 200, past it, the
    // pane's edge; overload: one red block across the pane. The last two
    // percent of the scale are red, ticks excepted.
    const auto at = [&](int x, int y) { return shot.pixel(x0 + x, y) | 0xff000000u; };
    EXPECT_EQ((std::vector<QRgb>{at(5, 5), at(5, 10), at(8, 7), at(199, 5), at(200, 5), at(0, 5), at(1, 12),
                                 at(398, 17)}),
              (std::vector<QRgb>{qRgb(3, 254, 0), qRgb(3, 254, 0), qRgb(128, 128, 128), qRgb(126, 213, 0), face, face,
                                 qRgb(255, 0, 0), qRgb(255, 0, 0)}));
    EXPECT_EQ((std::vector<QRgb>{LevelBar::PixelColour(197, 200), LevelBar::PixelColour(196, 200),
                                 LevelBar::PixelColour(195, 200)}),
              (std::vector<QRgb>{qRgb(255, 0, 0), qRgb(128, 128, 128), qRgb(248, 173, 0)}));

    const int before = paints.count;
    bar.UpdateStatus(CStatusbar::kUpdateLevels);
    EXPECT_EQ(paints.count, before);
    EXPECT_EQ(frame.overloads, (std::array<int, 2>{0, 2}));
    frame.peaks = {51, 99};
    bar.UpdateStatus(CStatusbar::kUpdateLevels);
    EXPECT_EQ(paints.count, before + 1);
    // A channel without a sample buffer reads 0; so does each after Stop.
    frame.peaks = {std::nullopt, 40};
    bar.UpdateStatus(CStatusbar::kUpdateLevels);
    EXPECT_EQ(std::make_pair(bar.Levels().Level(0), bar.Levels().Level(1)), std::make_pair(0, 40));
    frame.running = false;
    bar.UpdateStatus(CStatusbar::kUpdateLevels);
    EXPECT_EQ(std::make_pair(bar.Levels().Level(0), bar.Levels().Level(1)), std::make_pair(0, 0));
    EXPECT_EQ(paints.count, before + 3);

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
    EXPECT_EQ(changes, 2) << "repeats repaint once";
    emit progress.ProgressHide();
    QApplication::processEvents();
    EXPECT_FALSE(control->isVisible());
    EXPECT_EQ(control->value(), 0);

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
}

// The side bar: a right click on its surface restarts averaging, on a button
// it does nothing, neither there nor on the bar; a double click opens the
// settings; the logo shows above 410 pixels. The tool bar: the frame's tests
// latch the window buttons through the real frame; here, the buttons that
// show no state, and which buttons send commands.
TEST(Bars, SideBarClicksShortcutsAndLogoToolBarLatchesAndCommands)
{
    using namespace SidebarButtons;
    FakeFrame frame;
    CSidebar side(nullptr, frame);
    side.show();
    const QPoint surface(45, 250);
    QTest::mousePress(&side, Qt::RightButton, {}, surface);
    QTest::mouseClick(side.Button(IDC_SETTINGS), Qt::RightButton);
    QTest::mouseClick(&side, Qt::LeftButton, {}, surface);
    QTest::mouseDClick(&side, Qt::LeftButton, {}, surface);
    for (std::uint32_t id : {IDC_SETTINGS, IDC_CALIBRATE, IDC_DEVICE, IDC_DATA_LOG})
        QTest::mouseClick(side.Button(id), Qt::LeftButton);
    EXPECT_EQ(frame.commands, (std::vector<FrameCommand>{
                                  FrameCommand::ResetAveraging, FrameCommand::ResetAveraging,
                                  FrameCommand::OptionsProcessingSettings, FrameCommand::ProcessingSettingsPage0,
                                  FrameCommand::CalibrationSettings, FrameCommand::ProcessingSettingsPage2,
                                  FrameCommand::DataLoggingSettings}));

    // The logo's separator line runs one pixel above it, across the bar.
    const QRgb face = side.palette().color(QPalette::Button).rgb();
    side.resize(90, 400);
    EXPECT_EQ(side.grab().toImage().pixel(40, 400 - 82), face);
    side.resize(90, 411);
    EXPECT_EQ(side.grab().toImage().pixel(40, 411 - 82), side.palette().color(QPalette::Dark).rgb());
    SaveScreenshot(side, "sidebar_stopped");

    frame.commands.clear();
    CToolbar2 bar(nullptr, frame);
    bar.resize(bar.sizeHint());
    bar.show();
    frame.peakAmplitudeViewer = true;
    bar.SyncButtonStates();
    EXPECT_TRUE(bar.Button(ToolbarButtons::IDC_PEAK_AMP)->IsLatched());
    EXPECT_FALSE(bar.Button(ToolbarButtons::IDC_PEAK_FREQ)->IsLatched());
    bar.SetButtonLatch(201, true);
    bar.SetButtonLatch(505, true);
    EXPECT_FALSE(bar.Button(201)->IsLatched() || bar.Button(505)->IsLatched());
    SaveScreenshot(bar, "toolbar");
    // Each button sends its command, once; one without sends nothing.
    std::vector<FrameCommand> expected;
    for (const ToolbarButtonEntry& entry : ToolbarButtons::kButtons) {
        QTest::mouseClick(bar.Button(entry.id), Qt::LeftButton, {}, QPoint(14, 14));
        if (entry.command)
            expected.push_back(*entry.command);
    }
    EXPECT_EQ(frame.commands, expected);
}

} // namespace
