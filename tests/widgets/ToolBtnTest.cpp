#include "widgets/ButtonBitmap.h"
#include "widgets/CToolBtn.h"
#include "widgets/ToolBtnImage.h"
#include "widgets/ToolTipTracker.h"
#include "tests/support/Screenshot.h"

#include <QApplication>
#include <QCursor>
#include <QImage>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

TEST(CToolBtn, ATipOnlyForACursorAtRestGreyNeedsAGreyBitmapAndLatchHoldsTheDownBitmap)
{
    ToolTipTracker tracker;
    EXPECT_EQ(tracker.OnMouseMove(true, {10, 10}), ToolTipTracker::Action::RestartHoverWait);
    EXPECT_EQ(tracker.OnHoverTimer({11, 10}), ToolTipTracker::Action::None);
    // One pixel further restarts the wait from the new place.
    EXPECT_EQ(tracker.OnMouseMove(true, {11, 10}), ToolTipTracker::Action::RestartHoverWait);
    EXPECT_EQ(tracker.HoverPosition(), QPoint(11, 10));
    EXPECT_EQ(tracker.OnHoverTimer({11, 10}), ToolTipTracker::Action::ShowTip);
    // Shown, a move neither restarts nor hides; leaving hides.
    tracker.SetTipShown(true);
    EXPECT_EQ(tracker.OnMouseMove(true, {12, 10}), ToolTipTracker::Action::None);
    EXPECT_EQ(tracker.OnMouseMove(false, {50, 50}), ToolTipTracker::Action::HideTip);

    // Grey wins over latched only when there is a grey bitmap; the button
    // keeps its state.
    EXPECT_EQ(ChooseToolBtnImage(true, true, true, true), ToolBtnImage::Grey);
    EXPECT_EQ(ChooseToolBtnImage(true, false, false, false), ToolBtnImage::Up);
    EXPECT_EQ(ChooseToolBtnImage(false, false, false, true), ToolBtnImage::Down);
    CToolBtn plain(nullptr, 401, "RunUp", "RunDown");
    plain.SetGreyed();
    EXPECT_FALSE(plain.IsGreyed());
    plain.SetLatched(true);
    EXPECT_EQ(plain.ShownImage(), ToolBtnImage::Down);
    CToolBtn greyable(nullptr, 201, "FileNewUp", "FileNewDn", "FileNewGr");
    greyable.SetLatch();
    greyable.SetGreyed();
    EXPECT_EQ(greyable.ShownImage(), ToolBtnImage::Grey);
    greyable.ClearGreyed();
    EXPECT_EQ(greyable.ShownImage(), ToolBtnImage::Down);
    greyable.ClearLatch();
    EXPECT_EQ(greyable.ShownImage(), ToolBtnImage::Up);
}

// The face, highlight, shadow and text reference colours take the palette's
// in one pass, keeping an edge's alpha; logos (over 100 pixels wide, device
// independent) only turn white into the face; the drawing that suits the
// pixel ratio is loaded.
TEST(ButtonBitmap, RecoloursReferencesInOnePassLogosOnlyWhiteAndLoadsByPixelRatio)
{
    // Face, highlight, shadow and text references, another colour, an
    // antialiased edge near the shadow, an opaque near-miss, a translucent
    // text edge, transparency.
    // The allowance is 255 / (2 alpha) + 2 levels: 5 at alpha 40, 3 at alpha 90.
    const QRgb before[] = {qRgb(192, 192, 192),          qRgb(255, 255, 255),         qRgb(128, 128, 128),
                           qRgb(0, 0, 0),                qRgb(35, 178, 76),           qRgba(130, 127, 129, 40),
                           qRgba(129, 128, 128, 255),    qRgba(0, 0, 0, 90),          qRgba(133, 128, 123, 40),
                           qRgba(3, 0, 3, 90),           qRgba(4, 0, 0, 90),          qRgba(0, 0, 0, 0)};
    const QRgb after[] = {qRgb(255, 255, 255),       qRgb(0, 0, 0),           qRgb(10, 20, 30),
                          qRgb(200, 0, 0),           qRgb(35, 178, 76),       qRgba(10, 20, 30, 40),
                          qRgba(129, 128, 128, 255), qRgba(200, 0, 0, 90),    qRgba(10, 20, 30, 40),
                          qRgba(200, 0, 0, 90),      qRgba(4, 0, 0, 90)};
    constexpr int kPixels = 12;
    // Two rows alike: each row is recoloured once, the first pixel of the next one included.
    QImage image(kPixels, 2, QImage::Format_ARGB32);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < kPixels; ++x)
            image.setPixel(x, y, before[x]);
    // Face is white and highlight black: a pixel already replaced must not
    // be matched again by a later reference colour.
    ButtonColours colours;
    colours.Face = qRgb(255, 255, 255);
    colours.Highlight = qRgb(0, 0, 0);
    colours.Shadow = qRgb(10, 20, 30);
    colours.Text = qRgb(200, 0, 0);
    ButtonBitmap::Recolour(image, colours);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < kPixels - 1; ++x)
            EXPECT_EQ(image.pixel(x, y), after[x]) << x << ", " << y;
        EXPECT_EQ(qAlpha(image.pixel(kPixels - 1, y)), 0);
    }

    QImage logo(101, 1, QImage::Format_ARGB32);
    logo.fill(qRgb(0, 0, 0));
    logo.setPixel(0, 0, qRgb(255, 255, 255));
    logo.setPixel(1, 0, qRgb(192, 192, 192));
    QImage small(200, 2, QImage::Format_ARGB32);
    small.setDevicePixelRatio(2.0);
    small.fill(qRgb(0, 0, 0));
    colours.Face = qRgb(1, 1, 1);
    colours.Text = qRgb(2, 2, 2);
    ButtonBitmap::Recolour(logo, colours);
    ButtonBitmap::Recolour(small, colours);
    EXPECT_EQ((std::vector<QRgb>{logo.pixel(0, 0), logo.pixel(1, 0), logo.pixel(2, 0), small.pixel(0, 0)}),
              (std::vector<QRgb>{qRgb(1, 1, 1), qRgb(192, 192, 192), qRgb(0, 0, 0), qRgb(2, 2, 2)}));

    EXPECT_EQ(ButtonBitmap::Load("RunUp", 1.0, colours).size(), QSize(40, 28));
    EXPECT_EQ(ButtonBitmap::Load("RunUp", 2.0, colours).size(), QSize(80, 56));
    EXPECT_TRUE(ButtonBitmap::Load("NoSuchBitmap", 1.0, colours).isNull());
}

TEST(CToolBtn, ClickSendsTheIdFollowsThePaletteAndARestingCursorShowsTheTipUntilItLeaves)
{
    QWidget window;
    window.setGeometry(200, 100, 200, 120);
    CToolBtn button(&window, 402, "StopUp", "StopDown", {}, "Stop analyzer");
    button.setGeometry(20, 10, 40, 28);
    CToolBtn painted(&window, 401, "RunUp", "RunDown");
    painted.setGeometry(100, 10, 40, 28);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    // Other mouse buttons are swallowed.
    std::vector<std::uint32_t> ids;
    QObject::connect(&button, &CToolBtn::Command, [&ids](std::uint32_t id) { ids.push_back(id); });
    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseClick(&button, Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_EQ(ids, std::vector<std::uint32_t>{402});

    // The outline is drawn in the shadow colour, the interior left to the face.
    QPalette palette = painted.palette();
    palette.setColor(QPalette::Button, QColor(40, 60, 90));
    palette.setColor(QPalette::Dark, QColor(200, 30, 30));
    painted.setPalette(palette);
    const QImage shot = painted.grab().toImage();
    EXPECT_EQ(shot.pixel(20, 0), qRgb(200, 30, 30));
    EXPECT_EQ(shot.pixel(3, 14), qRgb(40, 60, 90));

    // A tip of eighty characters or more is never shown.
    EXPECT_TRUE(ToolTipTracker::AcceptsTipText(QString(79, 'x')));
    CToolBtn tooLong(nullptr, 7, "RunUp", "RunDown", {}, QString(80, 'x'));
    tooLong.ShowTip();
    EXPECT_FALSE(tooLong.IsTipShown());

    const QPoint inside = button.mapToGlobal(QPoint(12, 9));
    QCursor::setPos(inside);
    if (QCursor::pos() != inside)
        GTEST_SKIP() << "this platform cannot place the cursor";
    QTest::mouseMove(&button, QPoint(12, 9));
    button.OnTimer(CToolBtn::IDT_TIP_HOVER);
    ASSERT_TRUE(button.IsTipShown());
    ASSERT_NE(button.TipWindow(), nullptr);
    // Below the button's middle; 4 pixels of margin left and right of the
    // text, 1 above and below.
    EXPECT_EQ(button.TipWindow()->geometry().topLeft(), button.mapToGlobal(QPoint(20, 28 + 4)));
    EXPECT_EQ(ToolTipTracker::TipRect(QRect(100, 50, 28, 28), QSize(60, 14)), QRect(114, 82, 68, 16));
    EXPECT_TRUE(button.TipWindow()->isVisible());
    SaveScreenshot(*const_cast<ToolTipWindow*>(button.TipWindow()), "tool_button_tip");

    // Still on the button: the tip stays.
    button.OnTimer(CToolBtn::IDT_TIP_SHOWN);
    EXPECT_TRUE(button.IsTipShown());
    QCursor::setPos(button.mapToGlobal(QPoint(100, 100)));
    button.OnTimer(CToolBtn::IDT_TIP_SHOWN);
    EXPECT_FALSE(button.IsTipShown());
    EXPECT_FALSE(button.TipWindow()->isVisible());
}

} // namespace
