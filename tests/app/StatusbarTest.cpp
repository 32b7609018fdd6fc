#include "app/CStatusbar.h"
#include "app/FormatMenuModel.h"
#include "widgets/ProgressSignals.h"
#include "tests/app/FakeFrame.h"
#include "tests/support/Screenshot.h"

#include <QApplication>
#include <QMenu>
#include <QProgressBar>
#include <QTest>

#include <gtest/gtest.h>

#include <thread>

namespace {

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

} // namespace
