// A wide trace filled straight into the pixels: the pixels of a few
// segments counted by hand, and whole traces against what Qt's own stroker
// draws for the same pen, with the same clip and device pixel ratio.
#include "plot/WideTrace.h"
#include "tests/plot/QtPenReference.h"
#include "tests/support/Screenshot.h"

#include <QImage>
#include <QPainter>
#include <QPen>
#include <QPolygon>

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr QRgb kInk = 0xFF00C0FF;
constexpr QRgb kPaper = 0xFF000000;

QImage Paper(int width, int height, qreal ratio = 1.0)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(kPaper);
    image.setDevicePixelRatio(ratio);
    return image;
}

// Logical clip; the image holds ratio times as many pixels each way.
QImage DrawnByQt(const std::vector<PlotPoint>& points, const QRect& clip, int width, int height, qreal ratio)
{
    QImage image = Paper(width, height, ratio);
    DrawWithQtPen(image, points, clip, kInk);
    return image;
}

QImage DrawnByFill(const std::vector<PlotPoint>& points, const QRect& clip, int width, int height, qreal ratio)
{
    QImage image = Paper(width, height, ratio);
    const PlotRect pixels{static_cast<int>(clip.left() * ratio), static_cast<int>(clip.top() * ratio),
                          static_cast<int>((clip.right() + 1) * ratio), static_cast<int>((clip.bottom() + 1) * ratio)};
    FillWidePolyline(points, PixelMapping{ratio, 0, 0}, 2.0, pixels, kInk,
                     PixelRows{reinterpret_cast<std::uint32_t*>(image.bits()), image.bytesPerLine() / 4});
    return image;
}

std::vector<QPoint> InkedPixels(const QImage& image)
{
    std::vector<QPoint> inked;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == kInk)
                inked.push_back({x, y});
    return inked;
}

// Every pixel of [left, right] × [top, bottom] inked, and nothing else.
void ExpectExactly(const QImage& image, int left, int top, int right, int bottom)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const bool inside = x >= left && x <= right && y >= top && y <= bottom;
            EXPECT_EQ(image.pixel(x, y), inside ? kInk : kPaper) << "at " << x << "," << y;
        }
}

TEST(WideTraceTest, StraightSegmentsCoverTheirPenAndOneHalfPenCapAtEachEnd)
{
    const QRect all(0, 0, 24, 16);
    // Horizontal along row 5: rows 4 and 5, one column past each end.
    ExpectExactly(DrawnByFill({{2, 5}, {10, 5}}, all, 24, 16, 1.0), 1, 4, 10, 5);
    // Vertical down column 5.
    ExpectExactly(DrawnByFill({{5, 2}, {5, 8}}, all, 24, 16, 1.0), 4, 1, 5, 8);
    // Two device pixels a point: the pen is four pixels wide, caps two long.
    ExpectExactly(DrawnByFill({{2, 5}, {10, 5}}, all, 48, 32, 2.0), 2, 8, 21, 11);
    // A right-angled corner: the bevel from (8, 1) to (9, 2) cuts off the
    // outer corner (9, 1) but keeps pixel (8, 1), whose centre lies on the
    // bevel, as Qt does.
    const QImage corner = DrawnByFill({{2, 2}, {8, 2}, {8, 9}}, all, 24, 16, 1.0);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 24; ++x) {
            const bool top = y >= 1 && y <= 2 && x >= 1 && x <= 8;
            const bool side = x >= 7 && x <= 8 && y >= 1 && y <= 9;
            EXPECT_EQ(corner.pixel(x, y), top || side ? kInk : kPaper) << "at " << x << "," << y;
        }
    // Nothing but one point: no direction, no line.
    EXPECT_TRUE(InkedPixels(DrawnByFill({{4, 4}, {4, 4}}, all, 24, 16, 1.0)).empty());
    // Clipped to the clip rectangle, even where the pen reaches past it.
    ExpectExactly(DrawnByFill({{2, 5}, {10, 5}}, QRect(3, 5, 4, 4), 24, 16, 1.0), 3, 5, 6, 5);
}

std::vector<PlotPoint> RandomWalk(unsigned seed, int step, double spread, int width, int height)
{
    std::mt19937 random(seed);
    std::normal_distribution<double> jump(0.0, spread);
    std::vector<PlotPoint> points;
    double y = height / 2.0;
    for (int x = -1; x < width; x += step) {
        y = std::clamp(y + jump(random), 3.0, height - 3.0);
        points.push_back({x, static_cast<int>(y)});
    }
    return points;
}

struct TraceCase {
    std::string name;
    std::vector<PlotPoint> points;
    QRect clip;
    qreal ratio = 1.0;
};

// The pixels Qt's stroker sets for a 2-pixel pen, but for a rare single one
// on a long steep edge, where Qt's fixed-point edge stepping and our
// arithmetic put a pixel centre on different sides of the edge.
TEST(WideTraceTest, TracesCoverThePixelsQtsStrokerCovers)
{
    constexpr int kWidth = 420;
    constexpr int kHeight = 240;
    const QRect all(0, 0, kWidth, kHeight);
    const QRect pane(20, 15, 380, 200);
    std::vector<TraceCase> cases = {
        {"quiet floor, a point a column", RandomWalk(1, 1, 2.0, kWidth, kHeight), all},
        {"spiky spectrum, a point a column", RandomWalk(2, 1, 40.0, kWidth, kHeight), all},
        {"wide bins, a point every five columns", RandomWalk(3, 5, 25.0, kWidth, kHeight), all},
        {"clipped to the pane", RandomWalk(4, 1, 30.0, kWidth, kHeight), pane},
        {"device pixel ratio 2", RandomWalk(5, 2, 20.0, kWidth / 2, kHeight / 2), QRect(0, 0, kWidth / 2, kHeight / 2), 2.0},
        {"repeated points and a full turn back", {{10, 10}, {10, 10}, {60, 40}, {60, 40}, {20, 40}, {200, 200}, {200, 20}},
         all},
        // A bar outline goes down to the pane's bottom and up again.
        {"bar outline", {{30, 200}, {30, 80}, {60, 80}, {60, 200}, {60, 120}, {90, 120}, {90, 200}, {90, 40},
                         {120, 40}, {120, 200}},
         all},
        {"sharp peaks, acute joins", {{10, 200}, {12, 20}, {14, 200}, {15, 30}, {40, 31}, {41, 220}, {300, 219}}, all},
    };
    for (const TraceCase& c : cases) {
        SCOPED_TRACE(c.name);
        // The same pixels whatever the ratio: the points are logical.
        const int width = kWidth;
        const int height = kHeight;
        const QImage qt = DrawnByQt(c.points, c.clip, width, height, c.ratio);
        const QImage fill = DrawnByFill(c.points, c.clip, width, height, c.ratio);
        const std::size_t inked = InkedPixels(qt).size();
        ASSERT_GT(inked, 100u);
        int differ = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                if (qt.pixel(x, y) == fill.pixel(x, y))
                    continue;
                ++differ;
                // Beside a pixel that both set: an edge pixel, never a stray.
                bool besideBoth = false;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        const QPoint n(x + dx, y + dy);
                        if (qt.rect().contains(n) && qt.pixel(n) == kInk && fill.pixel(n) == kInk)
                            besideBoth = true;
                    }
                EXPECT_TRUE(besideBoth) << "lone pixel at " << x << "," << y;
            }
        // At most one pixel in 250 of the trace's.
        EXPECT_LE(differ, static_cast<int>(inked / 250)) << differ << " of " << inked;
        if (c.name.starts_with("spiky")) {
            SaveScreenshot(qt, "wide_trace_drawn_by_qt");
            SaveScreenshot(fill, "wide_trace_filled");
        }
    }
}

} // namespace
