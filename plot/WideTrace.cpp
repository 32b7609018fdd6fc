#include "plot/WideTrace.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

struct Vec {
    double x = 0;
    double y = 0;
};

Vec operator+(Vec a, Vec b) { return {a.x + b.x, a.y + b.y}; }
Vec operator-(Vec a, Vec b) { return {a.x - b.x, a.y - b.y}; }
Vec operator*(double s, Vec a) { return {s * a.x, s * a.y}; }

// floor() for a value clamped to the columns or rows in reach, without a
// call into the maths library on every row.
int FloorWithin(double value, int low, int high)
{
    const double clamped = std::clamp(value, static_cast<double>(low), static_cast<double>(high));
    const int truncated = static_cast<int>(clamped);
    return truncated - (clamped < truncated ? 1 : 0);
}

// A convex polygon filled by pixel centres: row y is sampled at y + 0.5,
// and a pixel x is set when x + 0.5 lies in (left, right], the side Qt's
// filler takes for a centre right on an edge (the corner of a bevel).
template <std::size_t N>
void FillConvex(const std::array<Vec, N>& v, const PlotRect& clip, std::uint32_t pixel, PixelRows rows)
{
    // Each edge that is not level, from its upper end: a row crosses it
    // when the row's centre lies in [top, bottom), so a vertex on the
    // sampled line counts once.
    struct Edge {
        double Top;
        double Bottom;
        double X;
        double Slope;
    };
    std::array<Edge, N> edges{};
    std::size_t count = 0;
    double yMin = v[0].y;
    double yMax = v[0].y;
    for (std::size_t i = 0; i < N; ++i) {
        const Vec& a = v[i];
        const Vec& b = v[(i + 1) % N];
        yMin = std::min(yMin, a.y);
        yMax = std::max(yMax, a.y);
        if (a.y == b.y)
            continue;
        const Vec& upper = a.y < b.y ? a : b;
        const Vec& lower = a.y < b.y ? b : a;
        edges[count++] = {upper.y, lower.y, upper.x, (lower.x - upper.x) / (lower.y - upper.y)};
    }
    // Rows whose centre lies in [yMin, yMax).
    const int firstRow = std::max(clip.top, -FloorWithin(0.5 - yMin, -clip.bottom - 1, -clip.top + 1));
    const int lastRow = std::min(clip.bottom - 1, -FloorWithin(0.5 - yMax, -clip.bottom - 1, -clip.top + 1) - 1);
    for (int y = firstRow; y <= lastRow; ++y) {
        const double centre = y + 0.5;
        double left = HUGE_VAL;
        double right = -HUGE_VAL;
        for (std::size_t i = 0; i < count; ++i) {
            const Edge& e = edges[i];
            if (centre < e.Top || centre >= e.Bottom)
                continue;
            const double x = e.X + (centre - e.Top) * e.Slope;
            left = std::min(left, x);
            right = std::max(right, x);
        }
        if (left > right)
            continue;
        const int first = std::max(clip.left, FloorWithin(left - 0.5, clip.left - 1, clip.right) + 1);
        const int last = std::min(clip.right - 1, FloorWithin(right - 0.5, clip.left - 1, clip.right));
        if (first > last)
            continue;
        std::uint32_t* row = rows.Bits + y * rows.Stride;
        std::fill(row + first, row + last + 1, pixel);
    }
}

} // namespace

void FillWidePolyline(const std::vector<PlotPoint>& points, const PixelMapping& mapping, double penWidth,
                      const PlotRect& clip, std::uint32_t pixel, PixelRows rows)
{
    if (clip.IsEmpty() || rows.Bits == nullptr || !(penWidth > 0))
        return;
    const double half = 0.5 * penWidth * mapping.Scale;

    // The distinct points in pixels; a segment of no length has no direction.
    std::vector<Vec> at;
    at.reserve(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (i > 0 && points[i] == points[i - 1])
            continue;
        at.push_back({mapping.Scale * points[i].x + mapping.Dx, mapping.Scale * points[i].y + mapping.Dy});
    }
    if (at.size() < 2)
        return;

    // Along and across each segment, half a pen long.
    const std::size_t segments = at.size() - 1;
    std::vector<Vec> along(segments);
    std::vector<Vec> across(segments);
    for (std::size_t i = 0; i < segments; ++i) {
        const Vec d = at[i + 1] - at[i];
        const double length = std::sqrt(d.x * d.x + d.y * d.y);
        along[i] = (half / length) * d;
        across[i] = {-along[i].y, along[i].x};
    }

    for (std::size_t i = 0; i < segments; ++i) {
        Vec from = at[i];
        Vec to = at[i + 1];
        // Square caps: the two ends reach half a pen further.
        if (i == 0)
            from = from - along[i];
        if (i + 1 == segments)
            to = to + along[i];
        FillConvex(std::array<Vec, 4>{from + across[i], to + across[i], to - across[i], from - across[i]}, clip, pixel,
                   rows);
        if (i == 0)
            continue;
        // Bevel join: the corner between the two segments' outer edges. On
        // the inner side the segments already overlap.
        const Vec& p = at[i];
        const double turn = along[i - 1].x * along[i].y - along[i - 1].y * along[i].x;
        const double side = turn > 0 ? -1.0 : 1.0;
        FillConvex(std::array<Vec, 3>{p, p + side * across[i - 1], p + side * across[i]}, clip, pixel, rows);
    }
}
