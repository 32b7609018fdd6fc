#include "engine/TCubicSpline.h"

#include <algorithm>
#include <cfloat>

namespace {

// Any finite table gives finite curvatures in double precision, however
// close its points or large its values; the curve between them may still
// swing beyond what a float holds, and is limited to it.
float ToFloatRange(double value)
{
    return static_cast<float>(std::clamp(value, -static_cast<double>(FLT_MAX), static_cast<double>(FLT_MAX)));
}

} // namespace

TCubicSpline::TCubicSpline(const float* points, std::uint32_t count, std::uint8_t mode)
    : Count(count), Points(points), Mode(mode)
{
    if (Points != nullptr && Count >= 3 && SecondDerivatives.Allocate(Count))
        Build();
}

void TCubicSpline::Build()
{
    platform::ZeroFilledArray<double> u;
    if (!u.Allocate(Count - 1)) {
        // Half a table would give wrong values; none gives 0, which callers notice.
        SecondDerivatives.Free();
        return;
    }
    // Cut at every interval that does not move forward: coupling across a
    // zero width would divide by it.
    std::uint32_t first = 0;
    for (std::uint32_t i = 1; i < Count; ++i) {
        if (!(X(i) > X(i - 1))) {
            BuildPiece(first, i - 1, u.data());
            first = i;
        }
    }
    BuildPiece(first, Count - 1, u.data());
}

// Natural spline over points first … last with strictly increasing x; the
// table is zero-filled, so pieces of one or two points stay straight.
void TCubicSpline::BuildPiece(std::uint32_t first, std::uint32_t last, double* u)
{
    if (last - first < 2)
        return;
    double* y2 = SecondDerivatives.data();
    y2[first] = 0.0;
    u[first] = 0.0;
    for (std::uint32_t i = first + 1; i < last; ++i) {
        const double h1 = static_cast<double>(X(i)) - X(i - 1);
        const double h2 = static_cast<double>(X(i + 1)) - X(i);
        const double h12 = static_cast<double>(X(i + 1)) - X(i - 1);
        const double sig = h1 / h12;
        const double p = sig * y2[i - 1] + 2.0;
        y2[i] = (sig - 1.0) / p;
        const double slopes = (static_cast<double>(Y(i + 1)) - Y(i)) / h2
                            - (static_cast<double>(Y(i)) - Y(i - 1)) / h1;
        u[i] = (6.0 * slopes / h12 - sig * u[i - 1]) / p;
    }
    y2[last] = 0.0;
    for (std::uint32_t k = last; k-- > first;)
        y2[k] = y2[k] * y2[k + 1] + u[k];
}

float TCubicSpline::Evaluate(float x) const
{
    if (SecondDerivatives.empty() || Points == nullptr || Count <= 1)
        return 0.0f;
    if (Mode != kCubic && Mode != kStraightLines)
        return 0.0f;

    std::uint32_t lo = 0;
    std::uint32_t hi = Count - 1;
    while (hi - lo > 1) {
        const std::uint32_t k = (hi + lo) / 2;
        if (x >= X(k))
            lo = k;
        else
            hi = k;
    }

    const double h = static_cast<double>(X(hi)) - X(lo);
    // In an ascending table only a step at either end leaves the search on a
    // zero width: left of it reads the left row, at or right of it the right
    // row, as a step inside the table does.
    if (h == 0.0)
        return x < X(lo) ? Y(lo) : Y(hi);

    if (Mode == kStraightLines)
        return ToFloatRange(Y(lo) + (static_cast<double>(x) - X(lo)) * (static_cast<double>(Y(hi)) - Y(lo)) / h);

    const double* y2 = SecondDerivatives.data();
    const double a = static_cast<float>((static_cast<double>(X(hi)) - x) / h);
    const double b = static_cast<float>((static_cast<double>(x) - X(lo)) / h);
    return ToFloatRange(a * Y(lo) + b * Y(hi) + ((a * a * a - a) * y2[lo] + (b * b * b - b) * y2[hi]) * h * h / 6.0);
}
