// Keeping windows on the usable area of the (offscreen) screen. Windows
// that were never shown have no decorations yet: the top margin stands in
// as a title bar's height, the others are zero. Shown, the offscreen
// platform frames a window with 2 pixels each side, a top too thin for a
// title bar (which then stands in for it).

#include "widgets/ScreenPlacement.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QCoreApplication>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

QRect Usable()
{
    return QGuiApplication::primaryScreen()->availableGeometry();
}

// The height a title bar is taken to have before the window manager frames the window.
int TitleHeight(const QWidget& window)
{
    return std::max(window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window),
                    2 * window.fontMetrics().height());
}

void SetGeometry(QWidget& window, int x, int y, int width, int height)
{
    window.setGeometry(x, y, width, height);
    QCoreApplication::processEvents();
}

} // namespace

TEST(ScreenPlacement, AWindowIsMovedOntoTheScreenTitleBarIncludedAndShrunkOnlyWhereItCannotFit)
{
    const QRect usable = Usable();
    ASSERT_GT(usable.width(), 300);
    ASSERT_GT(usable.height(), 300);
    QWidget window;
    const int title = TitleHeight(window);
    const int x0 = usable.left();
    const int y0 = usable.top();
    const int x1 = usable.left() + usable.width();   // one past the right edge
    const int y1 = usable.top() + usable.height();   // one past the bottom edge
    const struct {
        const char* name;
        QRect given;
        QRect placed;
    } cases[] = {
        {"fits: stays", QRect(x0 + 100, y0 + 150, 200, 100), QRect(x0 + 100, y0 + 150, 200, 100)},
        {"title bar just on", QRect(x0, y0 + title, 200, 100), QRect(x0, y0 + title, 200, 100)},
        {"above and left", QRect(x0 - 500, y0 - 500, 200, 100), QRect(x0, y0 + title, 200, 100)},
        {"title bar off the top", QRect(x0 + 10, y0 + title - 1, 200, 100), QRect(x0 + 10, y0 + title, 200, 100)},
        {"past right and bottom", QRect(x1 - 100, y1 - 50, 200, 100), QRect(x1 - 200, y1 - 100, 200, 100)},
        {"bottom edge just on", QRect(x1 - 200, y1 - 100, 200, 100), QRect(x1 - 200, y1 - 100, 200, 100)},
        {"too big both ways", QRect(x0 + 50, y0 + 50, usable.width() + 400, usable.height() + 400),
         QRect(x0, y0 + title, usable.width(), usable.height() - title)},
    };
    for (const auto& c : cases) {
        window.setGeometry(c.given);
        screen_placement::KeepOnScreen(window);
        EXPECT_EQ(window.geometry(), c.placed) << c.name;
    }
}

TEST(ScreenPlacement, ACentredWindowSitsMidScreenBelowItsTitleBarAndShrinksToTheScreen)
{
    const QRect usable = Usable();
    QWidget window;
    const int title = TitleHeight(window);
    const int centreX = usable.left() + usable.width() / 2;
    // The frame's centre: the title bar above the window counts.
    const int centreY = (2 * usable.top() + usable.height() + title) / 2;
    screen_placement::CentreOnScreen(window, QSize(300, 200));
    EXPECT_EQ(window.geometry(), QRect(centreX - 150, centreY - 100, 300, 200));

    screen_placement::CentreOnScreen(window, QSize(usable.width() * 2, 100));
    EXPECT_EQ(window.geometry(), QRect(usable.left(), centreY - 50, usable.width(), 100)) << "too wide";

    QWidget near;
    near.setGeometry(usable.left() + 10, usable.top() + 10, 50, 50);
    screen_placement::CentreOnScreen(window, QSize(100, 100), &near);
    EXPECT_EQ(window.geometry(), QRect(centreX - 50, centreY - 50, 100, 100)) << "near a window on the same screen";
}

TEST(ScreenPlacement, AWindowMovesBelowTheWindowsItCoversUnlessThatLeavesTheScreen)
{
    const QRect usable = Usable();
    const int x0 = usable.left();
    const int y0 = usable.top();
    QWidget window;
    QWidget upper;
    QWidget lower;
    QWidget apart;
    const int title = TitleHeight(window);
    upper.setGeometry(x0 + 100, y0 + 100, 200, 60);
    lower.setGeometry(x0 + 150, y0 + 100 + 60 + title, 200, 40);  // frame just below the upper one's
    apart.setGeometry(x0 + 400, y0 + 100, 50, 50);                // beside, not covered

    // Below the upper window, then below the lower one it meets there.
    window.setGeometry(x0 + 120, y0 + 120, 100, 50);
    screen_placement::MoveClearOf(window, {&upper, nullptr, &window, &apart, &lower});
    EXPECT_EQ(window.geometry(), QRect(x0 + 120, y0 + 100 + 60 + title + 40 + title, 100, 50));

    // Frames that only touch do not overlap: it stays.
    window.setGeometry(x0 + 300, y0 + 120, 100, 50);
    screen_placement::MoveClearOf(window, {&upper});
    EXPECT_EQ(window.geometry(), QRect(x0 + 300, y0 + 120, 100, 50));

    // Moving below would take it past the bottom: it stays where it was.
    QWidget tall;
    tall.setGeometry(x0 + 100, y0 + 100, 200, usable.height() - 150);
    window.setGeometry(x0 + 120, y0 + 120, 100, 50);
    screen_placement::MoveClearOf(window, {&tall});
    EXPECT_EQ(window.geometry(), QRect(x0 + 120, y0 + 120, 100, 50));
}

// A neighbour shrunk for a while counts at the full size it grows back to
// from its corner: a window beside or below its small self but under its
// full self moves below the full one. A full size smaller than the present
// one, or none, leaves the neighbour as it stands.
TEST(ScreenPlacement, AWindowMovesClearOfANeighbourAtTheFullSizeItGrowsBackTo)
{
    const QRect usable = Usable();
    const int x0 = usable.left();
    const int y0 = usable.top();
    QWidget window;
    QWidget small;
    const int title = TitleHeight(window);
    small.setGeometry(x0 + 100, y0 + 100, 50, 35);  // full: 210 by 97, to x0 + 310 and y0 + 197
    const struct {
        const char* name;
        QSize full;
        QPoint given;
        int top;
    } cases[] = {
        {"beside the small one, under the full one", {210, 97}, {x0 + 200, y0 + 110}, y0 + 197 + title},
        {"below the small one, under the full one", {210, 97}, {x0 + 100, y0 + 135 + title}, y0 + 197 + title},
        {"beside the full one", {210, 97}, {x0 + 310, y0 + 110}, y0 + 110},
        {"below the full one", {210, 97}, {x0 + 100, y0 + 197 + title}, y0 + 197 + title},
        {"a full size smaller than the present one", {20, 20}, {x0 + 140, y0 + 110}, y0 + 135 + title},
        {"no full size, beside the small one", {}, {x0 + 200, y0 + 110}, y0 + 110},
    };
    for (const auto& c : cases) {
        window.setGeometry(c.given.x(), c.given.y(), 100, 50);
        screen_placement::MoveClearOf(window, std::vector<screen_placement::Neighbour>{{&small, c.full}});
        EXPECT_EQ(window.geometry(), QRect(c.given.x(), c.top, 100, 50)) << c.name;
        EXPECT_EQ(small.geometry(), QRect(x0 + 100, y0 + 100, 50, 35)) << c.name << ": the neighbour stays as it is";
    }
}

TEST(ScreenPlacement, AShownWindowKeepsItsFrameOnTheScreenAndMovesClearOfOtherFrames)
{
    const QRect usable = Usable();
    const int x0 = usable.left();
    const int y0 = usable.top();
    const int x1 = usable.left() + usable.width();
    const int y1 = usable.top() + usable.height();
    QWidget window;
    SetGeometry(window, x0 + 100, y0 + 100, 200, 100);
    window.show();
    QCoreApplication::processEvents();
    ASSERT_EQ(window.frameGeometry(), QRect(x0 + 98, y0 + 98, 204, 104)) << "the offscreen frame";
    const int title = TitleHeight(window);
    ASSERT_GT(title, 4);

    const struct {
        const char* name;
        QRect given;
        QRect placed;
    } onScreen[] = {
        {"above and left", QRect(x0 - 500, y0 - 500, 200, 100), QRect(x0 + 2, y0 + title, 200, 100)},
        {"past right and bottom", QRect(x1 - 100, y1 - 50, 200, 100), QRect(x1 - 202, y1 - 102, 200, 100)},
        {"too big", QRect(x0, y0, usable.width() + 50, usable.height() + 50),
         QRect(x0 + 2, y0 + title, usable.width() - 4, usable.height() - title - 2)},
    };
    for (const auto& c : onScreen) {
        SetGeometry(window, c.given.x(), c.given.y(), c.given.width(), c.given.height());
        screen_placement::KeepOnScreen(window);
        QCoreApplication::processEvents();
        EXPECT_EQ(window.geometry(), c.placed) << c.name;
    }

    // Another shown window; its frame runs from x0 + 98 to x0 + 202 and down to y0 + 252.
    QWidget other;
    SetGeometry(other, x0 + 100, y0 + 200, 100, 50);
    other.show();
    QCoreApplication::processEvents();
    const int below = y0 + 252 + title;  // the window's own top once its frame is below the other's
    const struct {
        const char* name;
        QPoint given;
        int top;
    } clear[] = {
        {"frames overlap a pixel on the right", {x0 + 203, y0 + 200}, below},
        {"frames touch on the right", {x0 + 204, y0 + 200}, y0 + 200},
        {"frames overlap a pixel on the left", {x0 + 47, y0 + 200}, below},
        {"frames touch on the left", {x0 + 46, y0 + 200}, y0 + 200},
        {"frames overlap a pixel below", {x0 + 120, below - 1}, below},
        {"frames touch below", {x0 + 120, below}, below},
    };
    for (const auto& c : clear) {
        SetGeometry(window, c.given.x(), c.given.y(), 50, 50);
        screen_placement::MoveClearOf(window, {&other});
        QCoreApplication::processEvents();
        EXPECT_EQ(window.geometry(), QRect(c.given.x(), c.top, 50, 50)) << c.name;
    }
}
