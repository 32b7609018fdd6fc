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

// A convex polygon filled by pixel centres: row y is sampled at y + 0.5,
// and a pixel x is set when x + 0.5 lies in (left, right], the side Qt's
// filler takes for a centre right on an edge (the corner of a bevel).
template <std::size_t N>
void FillConvex(const std::array<Vec, N>& v, const PlotRect& clip, std::uint32_t pixel, PixelRows rows)
{
    double yMin = v[0].y;
    double yMax = v[0].y;
    for (const Vec& p : v) {
        yMin = std::min(yMin, p.y);
        yMax = std::max(yMax, p.y);
    }
    const int firstRow = std::max(clip.top, static_cast<int>(std::ceil(yMin - 0.5)));
    const int lastRow = std::min(clip.bottom - 1, static_cast<int>(std::ceil(yMax - 0.5)) - 1);
    for (int y = firstRow; y <= lastRow; ++y) {
        const double centre = y + 0.5;
        double left = 0;
        double right = 0;
        bool crossed = false;
        for (std::size_t i = 0; i < N; ++i) {
            const Vec& a = v[i];
            const Vec& b = v[(i + 1) % N];
            // Half-open in y, so a vertex on the sampled line counts once.
            if ((a.y <= centre) == (b.y <= centre))
                continue;
            const double x = a.x + (centre - a.y) * (b.x - a.x) / (b.y - a.y);
            if (!crossed) {
                left = right = x;
                crossed = true;
            } else {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
        if (!crossed)
            continue;
        const int first = std::max(clip.left, static_cast<int>(std::floor(left - 0.5)) + 1);
        const int last = std::min(clip.right - 1, static_cast<int>(std::floor(right - 0.5)));
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
        const double length = std::hypot(d.x, d.y);
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
