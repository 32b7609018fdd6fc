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
    std::size_t top = 0;
    std::size_t bottom = 0;
    for (std::size_t i = 1; i < N; ++i) {
        if (v[i].y < v[top].y)
            top = i;
        if (v[i].y > v[bottom].y)
            bottom = i;
    }
    // Rows whose centre lies in [top, bottom).
    const int firstRow = std::max(clip.top, -FloorWithin(0.5 - v[top].y, -clip.bottom - 1, -clip.top + 1));
    const int lastRow = std::min(clip.bottom - 1, -FloorWithin(0.5 - v[bottom].y, -clip.bottom - 1, -clip.top + 1) - 1);
    if (firstRow > lastRow)
        return;

    // The two sides from the top vertex down to the bottom one, one each
    // way round. A row's centre crosses the edge (a, b) of a side when it
    // lies in [a.y, b.y): a vertex on the sampled line counts once.
    struct Side {
        std::size_t From;
        std::size_t Step;
        double End;
        double Slope;
    };
    Side sides[2] = {{top, 1, -HUGE_VAL, 0.0}, {top, N - 1, -HUGE_VAL, 0.0}};
    const auto edgeAt = [&v](Side& side, double centre) {
        if (centre < side.End)
            return;
        // Rows go down: the edge below, passing vertices above the centre.
        // The bottom vertex lies below every centre filled, so this stops.
        std::size_t next = (side.From + side.Step) % N;
        while (v[next].y <= centre) {
            side.From = next;
            next = (next + side.Step) % N;
        }
        const Vec& a = v[side.From];
        const Vec& b = v[next];
        side.Slope = (b.x - a.x) / (b.y - a.y);
        side.End = b.y;
    };
    for (int y = firstRow; y <= lastRow; ++y) {
        const double centre = y + 0.5;
        double x[2];
        for (int i = 0; i < 2; ++i) {
            edgeAt(sides[i], centre);
            const Vec& a = v[sides[i].From];
            x[i] = a.x + (centre - a.y) * sides[i].Slope;
        }
        const double left = std::min(x[0], x[1]);
        const double right = std::max(x[0], x[1]);
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
