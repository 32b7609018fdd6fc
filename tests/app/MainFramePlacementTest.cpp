// Where the frame's windows stand, through an exit and a start and through
// Save and Open Configuration: every utility window comes back to the same
// rectangle on the screen, the plots keep no placement, and the tool bar,
// shown until the program closes, is hidden again after every load.

#include "tests/app/FrameTestSupport.h"

#include "utilities/CAnalysisView.h"
#include "utilities/TRecorder.h"

#include <QPushButton>
#include <QScreen>
#include <QWindow>

#include <tuple>

namespace {

// The utility windows, opened and each put somewhere of its own.
struct Placed {
    int id;
    QRect where;
};

QWidget* UtilityWindow(const CMainFrame& frame, int id)
{
    if (id == kSlotSignalGenerator)
        return frame.SignalGenerator();
    if (id == kSlotRecorder)
        return frame.Recorder();
    return frame.Viewer(id);
}

void ExpectEveryWindowWhereItWas(const CMainFrame& frame, const std::vector<Placed>& placed, const char* when)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    for (const Placed& p : placed) {
        QWidget* window = UtilityWindow(frame, p.id);
        ASSERT_NE(window, nullptr) << when << ": window " << p.id;
        EXPECT_EQ(window->geometry(), p.where) << when << ": window " << p.id;
        EXPECT_TRUE(screen.contains(window->frameGeometry())) << when << ": window " << p.id;
    }
}

} // namespace

TEST(MainFramePlacement, UtilityWindowsComeBackToTheirRectanglesAfterARestartAndOpenConfiguration)
{
    FrameHarness h(frame_test::ToneSettings());
    ASSERT_TRUE(frame_test::OpenGenerator(*h.frame));
    for (std::uint32_t id : {kPeakFrequency, kPeakAmplitude, kTotalPower, kRecorder})
        h.frame->OnCommand(id);
    QApplication::processEvents();
    std::vector<Placed> placed;
    // Apart from each other, off their default corners; each viewer a
    // little larger than it opened.
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const struct {
        int id;
        QPoint corner;
    } corners[] = {{kSlotSignalGenerator, {20, 430}}, {kSlotRecorder, {300, 430}}, {kSlotPeakFrequency, {20, 40}},
                   {kSlotPeakAmplitude, {20, 170}}, {kSlotTotalPower, {20, 300}}};
    for (const auto& c : corners) {
        QWidget* window = UtilityWindow(*h.frame, c.id);
        ASSERT_NE(window, nullptr) << c.id;
        QSize size = window->size();
        if (c.id >= kSlotPeakFrequency && c.id <= kSlotTotalPower)
            size += QSize(12, 8);
        window->setGeometry(QRect(screen.topLeft() + c.corner, size));
        QApplication::processEvents();
        placed.push_back({c.id, window->geometry()});
        ASSERT_TRUE(screen.contains(window->frameGeometry())) << "placed on the screen: " << c.id;
    }
    ExpectEveryWindowWhereItWas(*h.frame, placed, "as placed");

    // The tool bar shown (it takes room above the plots), and a
    // configuration saved so: the bar stays until the program closes.
    ASSERT_FALSE(h.frame->Toolbar()->isVisible()) << "hidden at the start";
    const int plotTopWithoutBar = h.frame->Plot(0)->geometry().top();
    h.frame->OnCommand(kToggleToolbar);
    ASSERT_TRUE(h.frame->Toolbar()->isVisible());
    EXPECT_GT(h.frame->Plot(0)->geometry().top(), plotTopWithoutBar);
    const std::string cfg = h.folder.Root() + "placed.cfg";
    ASSERT_TRUE(h.frame->SaveConfigurationTo(cfg));
    EXPECT_TRUE(h.frame->Toolbar()->isVisible()) << "saving leaves it shown";
    EXPECT_NE(ReadText(cfg).find("[Toolbars]\r\nMain=1\r\nButtons=1\r\n"), std::string::npos);

    // Each start reads the flag and then hides the bar: it takes no room.
    for (int restart = 1; restart <= 2; ++restart) {
        h.Finish();
        h.Start();
        QApplication::processEvents();
        ExpectEveryWindowWhereItWas(*h.frame, placed, restart == 1 ? "restart 1" : "restart 2");
        EXPECT_FALSE(h.frame->Toolbar()->isVisible()) << "restart " << restart;
        EXPECT_FALSE(h.frame->ActionFor(kToggleToolbar)->isChecked()) << "restart " << restart;
        EXPECT_EQ(h.frame->Plot(0)->geometry().top(), plotTopWithoutBar) << "restart " << restart;
        h.frame->OnCommand(kToggleToolbar);
        ASSERT_TRUE(h.frame->Toolbar()->isVisible()) << "restart " << restart;
    }

    // Elsewhere, the bar shown, then the configuration that was saved with
    // the bar shown: the windows as saved, the bar hidden again.
    h.frame->OnCommand(kCloseAllUtilities);
    h.frame->OnCommand(kPeakFrequency);
    h.frame->Viewer(kSlotPeakFrequency)->setGeometry(600, 600, 300, 150);
    ASSERT_TRUE(h.frame->OpenConfigurationFrom(cfg));
    QApplication::processEvents();
    ExpectEveryWindowWhereItWas(*h.frame, placed, "Open Configuration");
    EXPECT_FALSE(h.frame->Toolbar()->isVisible());
    EXPECT_FALSE(h.frame->ActionFor(kToggleToolbar)->isChecked());
    EXPECT_TRUE(h.frame->Sidebar()->isVisible() && h.frame->Statusbar()->isVisible());
    EXPECT_EQ(h.frame->Plot(0)->geometry().top(), plotTopWithoutBar) << "the hidden bar takes no room";
}

// The plot windows have no placement slot: closing one stores nothing, they
// open again where the layout puts them, neither Save Configuration nor the
// exit writes a key for them, and a file that still holds "Plot 1" and
// "Plot 2" placements loads with those keys ignored.
TEST(MainFramePlacement, PlotsKeepNoPlacementAndOldPlotKeysAreIgnored)
{
    FrameHarness h(frame_test::ToneSettings());
    CMainFrame& frame = *h.frame;
    ASSERT_NE(frame.Plot(0), nullptr);
    ASSERT_NE(frame.Plot(1), nullptr);
    const QRect upper = frame.Plot(0)->geometry();
    const QRect lower = frame.Plot(1)->geometry();
    const WindowSlots before = frame.Settings().Windows;

    // Moved, then closed: no slot changes, and both come back at their halves.
    frame.Plot(0)->setGeometry(upper.adjusted(40, 30, -40, -30));
    frame.OnCommand(kCloseAllPlots);
    ASSERT_EQ(frame.Plot(0), nullptr);
    EXPECT_EQ(frame.Settings().Windows, before);
    frame.OnCommand(kReopenPlots);
    ASSERT_TRUE(frame.Plot(0) != nullptr && frame.Plot(1) != nullptr);
    EXPECT_EQ(frame.Plot(0)->geometry(), upper);
    EXPECT_EQ(frame.Plot(1)->geometry(), lower);

    const auto noPlotKeys = [](const std::string& path) {
        const std::string text = ReadText(path);
        return text.find("[Placement]") != std::string::npos && text.find("Plot 1") == std::string::npos
            && text.find("Plot 2") == std::string::npos;
    };
    const std::string saved = h.folder.Root() + "saved.cfg";
    ASSERT_TRUE(frame.SaveConfigurationTo(saved));
    EXPECT_TRUE(noPlotKeys(saved));

    // The keys as an earlier version wrote them, maximised and far off.
    std::string old = ReadText(saved);
    const std::string section = "[Placement]\r\n";
    old.insert(old.find(section) + section.size(), "Plot 1=0, 3, {-1,-1}, {-1,-1}, {300,200,420,260}\r\n"
                                                   "Plot 2=0, 1, {-1,-1}, {-1,-1}, {5000,4000,5100,4100}\r\n");
    const std::string oldPath = h.folder.Root() + "old.cfg";
    WriteText(oldPath, old);
    ASSERT_TRUE(frame.OpenConfigurationFrom(oldPath));
    QApplication::processEvents();
    EXPECT_TRUE(h.messages.texts.empty());
    ASSERT_TRUE(frame.Plot(0) != nullptr && frame.Plot(1) != nullptr);
    // Where the layout puts them; the main window's own placement, fitted to
    // the screen, may give them another width.
    for (int channel : {0, 1}) {
        const QRect& was = channel == 0 ? upper : lower;
        const QRect now = frame.Plot(channel)->geometry();
        EXPECT_EQ(std::tuple(now.topLeft(), now.height()), std::tuple(was.topLeft(), was.height())) << channel;
        EXPECT_FALSE(frame.Plot(channel)->windowState() & Qt::WindowMaximized) << channel;
    }
    EXPECT_EQ(frame.Plot(0)->width(), frame.Plot(1)->width());
    EXPECT_EQ(frame.Settings().Windows.GetSavedWindowRect(2, {1, 2, 3, 4}, {4000, 4000}), (PlacementRect{1, 2, 3, 4}));
    EXPECT_FALSE(frame.Settings().Windows.IsOpen(2));

    // The exit writes them no more.
    h.Finish();
    EXPECT_TRUE(noPlotKeys(h.folder.CfgPath()));
}

// The utility windows open at the last exit come back only once the frame
// is on the screen: a window manager that meets them before the frame keeps
// them out of its front.
TEST(MainFramePlacement, UtilityWindowsReopenOnlyOnceTheFrameIsOnTheScreen)
{
    FrameHarness h(frame_test::ToneSettings());
    ASSERT_TRUE(frame_test::OpenGenerator(*h.frame));
    h.frame->OnCommand(kPeakFrequency);
    h.frame->OnCommand(kRecorder);
    QApplication::processEvents();
    h.Finish();

    // Each utility window's first show, with whether the frame was exposed then.
    struct ShowWatch : QObject {
        std::vector<std::pair<QString, bool>> shown;
        bool eventFilter(QObject* watched, QEvent* event) override
        {
            auto* widget = qobject_cast<QWidget*>(watched);
            if (event->type() == QEvent::Show && widget != nullptr && widget->isWindow() &&
                widget->parentWidget() != nullptr) {
                const QWindow* frame = widget->parentWidget()->window()->windowHandle();
                shown.emplace_back(widget->metaObject()->className(), frame != nullptr && frame->isExposed());
            }
            return false;
        }
    } watch;
    qApp->installEventFilter(&watch);
    h.Start();
    QApplication::processEvents();
    qApp->removeEventFilter(&watch);

    ASSERT_NE(h.frame->SignalGenerator(), nullptr);
    ASSERT_NE(h.frame->Recorder(), nullptr);
    ASSERT_NE(h.frame->Viewer(kSlotPeakFrequency), nullptr);
    int utilities = 0;
    for (const auto& [name, exposed] : watch.shown)
        if (name == "CSigGen" || name == "TRecorder" || name == "CAnalysisView") {
            ++utilities;
            EXPECT_TRUE(exposed) << name.toStdString() << " shown before the frame was on the screen";
        }
    EXPECT_EQ(utilities, 3);
}

// At their default corners the viewers would stack down over the
// generator's window and hide its Stop button: each opens clear of it and
// of the others, title bars included.
TEST(MainFramePlacement, ViewersOpenedAtTheirDefaultCornersLeaveTheGeneratorUncovered)
{
    FrameHarness h(frame_test::ToneSettings());
    CMainFrame& frame = *h.frame;
    ASSERT_TRUE(frame_test::OpenGenerator(frame));
    for (std::uint32_t id : {kPeakFrequency, kPeakAmplitude, kTotalPower})
        frame.OnCommand(id);
    QApplication::processEvents();
    // The outer rectangle with a title bar's room above the window's own area.
    const auto outer = [](const QWidget* w) { return w->geometry().adjusted(-2, -20, 2, 2); };
    const QWidget* windows[] = {frame.SignalGenerator(), frame.Viewer(kSlotPeakFrequency),
                                frame.Viewer(kSlotPeakAmplitude), frame.Viewer(kSlotTotalPower)};
    for (std::size_t a = 0; a < std::size(windows); ++a) {
        ASSERT_NE(windows[a], nullptr) << a;
        for (std::size_t b = a + 1; b < std::size(windows); ++b)
            EXPECT_FALSE(outer(windows[a]).intersects(outer(windows[b]))) << a << " and " << b;
    }
}

// While it plays the generator shrinks to its Stop button at its corner,
// and its stop gives it its full layout there again. Viewers opened at their
// default corners in the meantime keep clear of that full window, so none
// hides the type lists and Details buttons once it has grown back.
TEST(MainFramePlacement, ViewersOpenedWhileTheGeneratorIsSmallLeaveItsFullWindowUncovered)
{
    const struct {
        const char* name;
        // Starts the generator's play and stops it again; none: it stays full.
        std::function<void(CMainFrame&)> start;
        std::function<void(CMainFrame&)> stop;
    } cases[] = {
        {"its own Run and Stop",
         [](CMainFrame& frame) {
             QTest::mouseClick(frame.SignalGenerator()->findChild<QPushButton*>(QString::number(CSigGen::kRunId)),
                               Qt::LeftButton);
         },
         [](CMainFrame& frame) {
             QTest::mouseClick(frame.SignalGenerator()->findChild<QPushButton*>(QString::number(CSigGen::kStopId)),
                               Qt::LeftButton);
         }},
        {"the analyzer's run", [](CMainFrame& frame) { frame.OnStart(); },
         [](CMainFrame& frame) { frame.OnStop(); }},
        {"no play", nullptr, nullptr},
    };
    // The outer rectangle with a title bar's room above the window's own area.
    const auto outer = [](const QRect& area) { return area.adjusted(-2, -20, 2, 2); };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FrameHarness h(frame_test::ToneSettings());
        CMainFrame& frame = *h.frame;
        ASSERT_TRUE(frame_test::OpenGenerator(frame));
        CSigGen& generator = *frame.SignalGenerator();
        QApplication::processEvents();
        const QRect full = generator.geometry();
        if (c.start) {
            c.start(frame);
            ASSERT_TRUE(frame_test::WaitFor([&] { return generator.IsPlaying(); }));
            QApplication::processEvents();
            ASSERT_LT(generator.height(), full.height() / 2) << "small while it plays";
            ASSERT_EQ(generator.geometry().topLeft(), full.topLeft());
        }
        for (std::uint32_t id : {kPeakFrequency, kPeakAmplitude, kTotalPower})
            frame.OnCommand(id);
        QApplication::processEvents();
        if (c.stop) {
            c.stop(frame);
            ASSERT_TRUE(frame_test::WaitFor([&] { return !generator.IsPlaying(); }));
            QApplication::processEvents();
        }
        ASSERT_EQ(generator.geometry(), full) << "full again at its corner";
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        for (int kind : {kSlotPeakFrequency, kSlotPeakAmplitude, kSlotTotalPower}) {
            const CAnalysisView* viewer = frame.Viewer(kind);
            ASSERT_NE(viewer, nullptr) << kind;
            EXPECT_FALSE(outer(viewer->geometry()).intersects(outer(full))) << "viewer " << kind;
            EXPECT_TRUE(screen.contains(viewer->frameGeometry())) << "viewer " << kind;
        }
    }
}

// A viewer that widens itself (here: snapping back from a width too small
// for its reading) near the screen's edge and beside the generator stays
// on the screen and does not slide under the generator.
TEST(MainFramePlacement, AWidenedViewerStaysOnTheScreenAndClearOfItsNeighbour)
{
    FrameHarness h(frame_test::ToneSettings());
    CMainFrame& frame = *h.frame;
    ASSERT_TRUE(frame_test::OpenGenerator(frame));
    frame.OnCommand(kPeakFrequency);
    CAnalysisView* viewer = frame.Viewer(kSlotPeakFrequency);
    ASSERT_NE(viewer, nullptr);
    QApplication::processEvents();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    CSigGen* generator = frame.SignalGenerator();
    // The generator at the right edge; the viewer narrow, just left of it.
    generator->setGeometry(QRect(QPoint(screen.right() - generator->width() - 10, 200), generator->size()));
    const int fullWidth = viewer->width();
    viewer->setGeometry(generator->geometry().left() - 60, 210, 40, viewer->height());
    QApplication::processEvents();
    EXPECT_EQ(viewer->width(), fullWidth) << "snapped back to its reading's width";
    EXPECT_TRUE(screen.contains(viewer->frameGeometry()));
    EXPECT_FALSE(viewer->frameGeometry().adjusted(0, -20, 0, 0).intersects(generator->frameGeometry().adjusted(0, -20, 0, 0)));
}
