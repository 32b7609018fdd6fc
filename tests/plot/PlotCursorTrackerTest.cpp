// The cursor tracker on a plot without a window: two stacked panes, 10 Hz
// per pixel column from the pane's left edge, the y value minus the row, and
// a harmonic count the test sets.
#include "plot/PlotCursorHooks.h"
#include "plot/PlotCursorTracker.h"
#include "plot/PlotLayout.h"
#include "plot/PlotMarkLines.h"
#include "plot/PlotMarkPainter.h"
#include "plot/PlotPointers.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QString>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <utility>
#include <vector>

namespace {

class FakeCursorHooks : public PlotCursorHooks {
public:
    PlotRect GetPlotRectAt(int x, int y) const override { return PaneAt(Areas, 2, x, y); }
    PlotRect GetPlotRect() const override { return Areas.Plot; }
    float GetXValueAt(int x, int y) override { return 10.0f * (x - GetPlotRectAt(x, y).left); }
    float GetYValueAt(int, int y) override { return -static_cast<float>(y); }
    std::uint16_t GetHarmonicCount(int, int) override { return HarmonicCount; }
    // On the y axis (Axis 1) the points stand n times the cursor's rows up.
    PlotPoint GetHarmonicPoint(std::uint16_t n, int x, int y) override
    {
        return {n * (x - GetPlotRectAt(x, y).left), n * (GetPlotRectAt(x, y).bottom - y)};
    }
    PlotPoint GetUpperSidebandPoint(std::uint16_t n, int x1, int, int x2, int) override
    {
        return {x1 - Areas.Plot.left + n * std::abs(x2 - x1), 10 * n};
    }
    PlotPoint GetLowerSidebandPoint(std::uint16_t n, int x1, int, int x2, int) override
    {
        return {x1 - Areas.Plot.left - n * std::abs(x2 - x1), -10 * n};
    }
    std::uint16_t GetCursorAxis() override { return Axis; }
    void SnapCursorPoint(PlotPoint&) override {}
    std::string ReadoutText(PlotAxis axis, float value) override
    {
        return (axis == PlotAxis::X ? "x" : "y") + QString::number(value, 'f', 1).toStdString();
    }
    // As the plot base does it.
    void TrackSelection(int x, int) override
    {
        Tracker->SetZoomRect(TrackSelectionRect(Tracker->ZoomRect(), x, Areas.Plot));
    }
    void ZoomToRect(const PlotRect& zoomRect) override { Zoomed.push_back(zoomRect); }
    void ClearSelection() override { ++Cleared; }

    PlotAreas Areas{{20, 50, 420, 450}, {20, 50, 420, 240}, {20, 260, 420, 450}};
    std::uint16_t HarmonicCount = 0;
    std::uint16_t Axis = 0;
    std::vector<PlotRect> Zoomed;
    int Cleared = 0;
    PlotCursorTracker* Tracker = nullptr;
};

class PlotCursorTrackerTest : public ::testing::Test {
protected:
    PlotCursorTrackerTest() { Hooks.Tracker = &Tracker; }

    // Vertical lines across pane 1, by column.
    static std::vector<int> Columns(const PlotMarkLines& lines)
    {
        std::vector<int> columns;
        for (const PlotMarkLine& line : lines)
            if (line.From.x == line.To.x)
                columns.push_back(line.From.x);
        return columns;
    }
    std::pair<std::string, std::string> Readouts() const { return {Tracker.XReadoutText(), Tracker.YReadoutText()}; }
    // Not tracking, in plain mode, with no marks and no pane held.
    bool Idle()
    {
        return !Tracker.Tracking() && Tracker.Mode() == CursorMode::Plain && Tracker.HeldPane().IsEmpty() &&
               CurrentMarkLines(Tracker, Hooks).empty();
    }

    FakeCursorHooks Hooks;
    PlotCursorTracker Tracker{Hooks};
};

using Readout = std::pair<std::string, std::string>;

TEST_F(PlotCursorTrackerTest, KeysAtThePressChooseTheModeAndDeltaReadsDifferencesFromTheAnchor)
{
    EXPECT_EQ(Tracker.Press(false, false, 120, 100), PlotPointer::Drag);
    EXPECT_EQ(Readouts(), Readout("x1000.0", "y-100.0"));
    EXPECT_EQ(Hooks.Cleared, 1);
    // The cross through the point, across the pane.
    EXPECT_EQ(CurrentMarkLines(Tracker, Hooks), (PlotMarkLines{{{20, 100}, {420, 100}, Hooks.Areas.Pane1},
                                                               {{120, 50}, {120, 240}, Hooks.Areas.Pane1}}));
    Tracker.Release(120, 100);

    // Ctrl: readouts are differences from the anchor; cross plus the line from the anchor.
    Tracker.Press(true, false, 120, 100);
    EXPECT_EQ(Readouts(), Readout("x0.0", "y0.0"));
    Tracker.Move(150, 80);
    EXPECT_FLOAT_EQ(Tracker.CursorXValue(), 300.0f);
    EXPECT_EQ(Readouts(), Readout("x300.0", "y20.0"));
    const PlotMarkLines lines = CurrentMarkLines(Tracker, Hooks);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[2], (PlotMarkLine{{120, 100}, {150, 80}, {}}));
    Tracker.Release(150, 80);

    // Ctrl and Shift: anchor, horizontal line through the point and 12
    // pairs of sidebands 5 px apart either side; no cross.
    Tracker.Press(true, true, 200, 100);
    EXPECT_EQ(CurrentMarkLines(Tracker, Hooks).size(), 2u + 24u);
    Tracker.Move(205, 120);
    EXPECT_EQ(Tracker.XReadoutText(), "x50.0");
    const std::vector<int> columns = Columns(SidebandMarkLines(Hooks, Hooks.Areas.Pane1, {200, 100}, 205, 120));
    ASSERT_EQ(columns.size(), 1u + 24u);
    for (int n = 0; n <= 12; ++n) {
        EXPECT_EQ(columns[static_cast<std::size_t>(std::max(0, 2 * n - 1))], 200 + 5 * n) << n;
        EXPECT_EQ(columns[static_cast<std::size_t>(2 * n)], 200 - 5 * n) << n;
    }
}

TEST_F(PlotCursorTrackerTest, HarmonicLinesFollowTheCountUpToTheThousandthAndCountsSaturate)
{
    Tracker.Press(false, true, 21, 100);
    const PlotRect& pane = Hooks.Areas.Pane1;
    for (const auto& [count, lines] : {std::pair{0, 0}, {1, 0}, {2, 1}, {5000, 999}, {65535, 999}}) {
        Hooks.HarmonicCount = static_cast<std::uint16_t>(count);
        EXPECT_EQ(HarmonicMarkLines(Hooks, pane, 21, 100).size(), static_cast<std::size_t>(lines)) << count;
        // The cross comes on top in harmonic mode.
        EXPECT_EQ(CurrentMarkLines(Tracker, Hooks).size(), static_cast<std::size_t>(lines) + 2) << count;
    }
    // Harmonics 2 and 3 of the pane-relative column 1.
    Hooks.HarmonicCount = 3;
    EXPECT_EQ(Columns(HarmonicMarkLines(Hooks, pane, 21, 100)), (std::vector<int>{22, 23}));

    // 95 kHz over a cursor at 1 Hz: not 95000 wrapped to 29464 in 16 bits.
    const std::pair<double, int> ratios[] = {{9500.0, 9500}, {2.5, 3}, {2.49, 2}, {95000.0, 65535}, {1e300, 65535},
                                             {0.0, 0}, {-3.0, 0}, {std::numeric_limits<double>::quiet_NaN(), 0},
                                             {std::numeric_limits<double>::infinity(), 65535}};
    for (const auto& [ratio, count] : ratios)
        EXPECT_EQ(SaturatedHarmonicCount(ratio), count) << ratio;
}

// A cursor on the y axis marks rows: harmonics and sidebands are lines
// across the pane at their rows, the sideband cross turned round.
TEST_F(PlotCursorTrackerTest, OnTheYAxisHarmonicsAndSidebandsAreRows)
{
    Hooks.Axis = 1;
    const PlotRect pane = Hooks.Areas.Pane1;  // {20, 50, 420, 240}
    Hooks.HarmonicCount = 3;
    // The cursor 40 rows above the bottom: harmonics 2 and 3 at 80 and 120 up.
    EXPECT_EQ(HarmonicMarkLines(Hooks, pane, 21, 200),
              (PlotMarkLines{{{20, 160}, {420, 160}, pane}, {{20, 120}, {420, 120}, pane}}));
    const PlotMarkLines sidebands = SidebandMarkLines(Hooks, pane, {200, 100}, 205, 120);
    ASSERT_EQ(sidebands.size(), 2u + 24u);
    EXPECT_EQ(sidebands[0], (PlotMarkLine{{20, 100}, {420, 100}, pane})) << "across the anchor's row";
    EXPECT_EQ(sidebands[1], (PlotMarkLine{{205, 50}, {205, 240}, pane})) << "down the point's column";
    for (int k = 1; k <= 12; ++k) {
        EXPECT_EQ(sidebands[2 * k], (PlotMarkLine{{20, 240 - 10 * k}, {420, 240 - 10 * k}, pane})) << k;
        EXPECT_EQ(sidebands[2 * k + 1], (PlotMarkLine{{20, 240 + 10 * k}, {420, 240 + 10 * k}, pane})) << k;
    }
}

TEST_F(PlotCursorTrackerTest, PressesOutsideEveryPaneDoNothingThePointerStaysInItsPaneEveryReleaseEndsAndAZoomDragIsNormalised)
{
    // Between the two panes, then on pane 1's bottom and right edges; and in zoom mode.
    for (const PlotPoint p : {PlotPoint{100, 250}, PlotPoint{100, 240}, PlotPoint{420, 100}}) {
        EXPECT_EQ(Tracker.Press(false, false, p.x, p.y), PlotPointer::Unchanged);
        EXPECT_TRUE(Idle());
    }
    Tracker.SetZoomMode(true);
    EXPECT_EQ(Tracker.Press(false, false, 100, 250), PlotPointer::Unchanged);
    EXPECT_TRUE(Idle());
    EXPECT_EQ(Hooks.Cleared, 0);

    Tracker.SetZoomMode(false);
    Tracker.Press(false, false, 100, 300);
    EXPECT_EQ(Tracker.HeldPane(), Hooks.Areas.Pane2);
    Tracker.Move(500, 100);
    EXPECT_EQ(Tracker.LastPoint(), (PlotPoint{419, 260}));
    Tracker.Move(0, 600);
    EXPECT_EQ(Tracker.LastPoint(), (PlotPoint{20, 449}));
    Tracker.Release(20, 449);

    Tracker.Press(true, false, 100, 100);
    EXPECT_EQ(Tracker.Release(-50, 900), PlotPointer::Plot);
    EXPECT_TRUE(Idle());
    // A move without the button shows the pointer shapes only.
    EXPECT_EQ(Tracker.Move(100, 100), PlotPointer::Plot);
    EXPECT_EQ(Tracker.Move(100, 250), PlotPointer::Arrow);
    EXPECT_FALSE(Tracker.Tracking());

    Tracker.Press(false, true, 100, 100);
    Tracker.Cancel();
    EXPECT_TRUE(Idle());

    Tracker.SetZoomMode(true);
    EXPECT_EQ(Tracker.Press(false, false, 300, 100), PlotPointer::Zoom);
    EXPECT_EQ(Tracker.ZoomRect(), (PlotRect{300, 50, 301, 450}));
    Tracker.Move(250, 120);
    EXPECT_EQ(ZoomFrameLines(Hooks.Areas.Plot, Tracker.ZoomRect()), CurrentMarkLines(Tracker, Hooks));
    // Held in pane 1: the drag cannot leave it.
    Tracker.Move(5, 120);
    EXPECT_EQ(Tracker.ZoomRect().right, 20);
    EXPECT_EQ(Tracker.Release(200, 100), PlotPointer::Plot);
    EXPECT_EQ(Hooks.Zoomed, (std::vector<PlotRect>{{200, 50, 300, 450}}));
    EXPECT_TRUE(Idle());
    // Zoom mode is still on (the plot leaves it when it applies the zoom): a
    // release without a press in a pane must not zoom to the old selection.
    Tracker.Press(false, false, 100, 250);
    Tracker.Release(380, 100);
    EXPECT_EQ(Hooks.Zoomed.size(), 1u);

    const PlotRect plot{20, 50, 420, 450};
    EXPECT_EQ(ZoomFrameLines(plot, {100, 50, 200, 450}),
              (PlotMarkLines{{{100, 450}, {100, 50}, plot}, {{100, 50}, {200, 50}, plot},
                             {{200, 50}, {200, 450}, plot}, {{200, 450}, {100, 450}, plot}}));
    EXPECT_EQ(TrackSelectionRect({}, 999, plot), (PlotRect{420, 50, 421, 450}));

    // The readout labels stand beside the pane.
    EXPECT_EQ(XReadoutRect({62, 50, 462, 250}, 101, 90, 17), (PlotRect{56, 32, 146, 49}));
    EXPECT_EQ(YReadoutRect({62, 50, 462, 250}, 101, 58, 17), (PlotRect{3, 93, 61, 110}));
}

// The marks as inverted pixels on a white 20 x 20 image: each straight line
// covers its start up to, not including, its end, in either direction, and
// keeps to its clip; a sloped line covers only its diagonal; a line of no
// length and the second of two coinciding lines leave the image as it was.
TEST(InvertMarkLinesTest, LinesCoverTheirPixelsUpToTheirEndWithinTheirClip)
{
    QImage image(20, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    const PlotRect none{};
    const PlotMarkLines lines{
        {{2, 1}, {8, 1}, none},      // x 2 … 7 on row 1
        {{8, 3}, {2, 3}, none},      // x 3 … 8 on row 3
        {{1, 5}, {1, 9}, none},      // y 5 … 8 in column 1
        {{3, 9}, {3, 5}, none},      // y 6 … 9 in column 3
        {{2, 12}, {12, 12}, {5, 0, 9, 20}},  // clipped: x 5 … 8
        {{15, 1}, {15, 10}, {0, 4, 20, 7}},  // clipped: y 4 … 6
        {{6, 6}, {6, 6}, none},      // no length: nothing
        {{5, 15}, {9, 15}, none},    // twice: inverted back
        {{5, 15}, {9, 15}, none},
        {{10, 10}, {19, 19}, none},  // sloped: on the diagonal only
    };
    QPainter painter(&image);
    InvertMarkLines(painter, lines);
    painter.end();

    std::vector<std::pair<int, int>> straight;
    for (int x = 2; x <= 7; ++x)
        straight.push_back({x, 1});
    for (int x = 3; x <= 8; ++x)
        straight.push_back({x, 3});
    for (int y = 5; y <= 8; ++y)
        straight.push_back({1, y});
    for (int y = 6; y <= 9; ++y)
        straight.push_back({3, y});
    for (int x = 5; x <= 8; ++x)
        straight.push_back({x, 12});
    for (int y = 4; y <= 6; ++y)
        straight.push_back({15, y});
    int diagonal = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool black = image.pixel(x, y) == qRgb(0, 0, 0);
            if (x >= 10 && y >= 10) {
                EXPECT_TRUE(!black || x == y) << "the sloped line strays to " << x << "," << y;
                diagonal += black ? 1 : 0;
                continue;
            }
            const bool want = std::find(straight.begin(), straight.end(), std::pair{x, y}) != straight.end();
            EXPECT_EQ(black, want) << x << "," << y;
        }
    EXPECT_GE(diagonal, 9) << "the sloped line is drawn";
}

// Every pixel of a pointer: black on its lines, white on the one-pixel halo
// round them, clear elsewhere. Lines are {x0, y0, x1, y1}, both ends in.
struct PointerLine {
    int x0, y0, x1, y1;
};

void ExpectPointerPixels(const QCursor& cursor, QPoint hotSpot, const std::vector<PointerLine>& lines,
                         const char* what)
{
    EXPECT_EQ(cursor.hotSpot(), hotSpot) << what;
    const QImage image = cursor.pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(image.size(), QSize(32, 32)) << what;
    const auto within = [](const PointerLine& l, int x, int y, int grow) {
        return x >= l.x0 - grow && x <= l.x1 + grow && y >= l.y0 - grow && y <= l.y1 + grow;
    };
    int wrong = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            bool core = false, halo = false;
            for (const PointerLine& l : lines) {
                core = core || within(l, x, y, 0);
                halo = halo || within(l, x, y, 1);
            }
            const QRgb want = core ? qRgba(0, 0, 0, 255) : halo ? qRgba(255, 255, 255, 255) : qRgba(0, 0, 0, 0);
            const QRgb got = qAlpha(image.pixel(x, y)) == 0 ? qRgba(0, 0, 0, 0) : image.pixel(x, y);
            if (got != want && ++wrong <= 5)
                ADD_FAILURE() << what << " at " << x << "," << y << ": " << std::hex << got << " not " << want;
        }
}

TEST(PlotPointersTest, TheCrossAndTheZoomPointerAreBlackLinesOnAWhiteHaloAtTheirHotSpots)
{
    for (qreal ratio : {1.0, 0.0, -1.0}) {
        const PlotPointers pointers = CreatePlotPointers(ratio);
        // A 19-pixel cross centred on (15, 15).
        ExpectPointerPixels(pointers.Plot, {15, 15}, {{6, 15, 24, 15}, {15, 6, 15, 24}}, "cross");
        // A 5-pixel cross on (4, 4) and a 20 x 20 frame from (9, 9) to (28, 28).
        ExpectPointerPixels(pointers.Zoom, {4, 4},
                            {{2, 4, 6, 4}, {4, 2, 4, 6}, {9, 9, 28, 9}, {9, 28, 28, 28}, {9, 9, 9, 28}, {28, 9, 28, 28}},
                            "zoom");
        EXPECT_EQ(pointers.Drag.shape(), Qt::BlankCursor);
        EXPECT_EQ(pointers.Arrow.shape(), Qt::ArrowCursor);
    }
    // At twice the density each pixel is two by two: the cross's centre,
    // (15, 15), covers 30 … 31, and its halo corner (14, 14) 28 … 29.
    const QPixmap dense = CreatePlotPointers(2.0).Plot.pixmap();
    EXPECT_EQ(dense.devicePixelRatio(), 2.0);
    const QImage image = dense.toImage();
    ASSERT_EQ(image.size(), QSize(64, 64));
    for (int d : {30, 31})
        EXPECT_EQ(image.pixel(d, d), qRgba(0, 0, 0, 255)) << d;
    for (int d : {28, 29})
        EXPECT_EQ(image.pixel(d, d), qRgba(255, 255, 255, 255)) << d;
    EXPECT_EQ(qAlpha(image.pixel(27, 27)), 0);
}

// A readout label: a one-pixel black outline round a white inside.
TEST(InvertMarkLinesTest, AReadoutLabelIsWhiteInsideABlackOutline)
{
    QImage image(20, 12, QImage::Format_RGB32);
    image.fill(Qt::red);
    QPainter painter(&image);
    DrawReadoutLabel(painter, {2, 3, 14, 10}, QStringLiteral(" "), QFont());
    DrawReadoutLabel(painter, {16, 3, 16, 10}, QStringLiteral("x"), QFont());  // empty: nothing
    painter.end();
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool inBox = x >= 2 && x < 14 && y >= 3 && y < 10;
            const bool edge = inBox && (x == 2 || x == 13 || y == 3 || y == 9);
            const QRgb want = !inBox ? qRgb(255, 0, 0) : edge ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
            EXPECT_EQ(image.pixel(x, y), want) << x << "," << y;
        }
}

} // namespace
