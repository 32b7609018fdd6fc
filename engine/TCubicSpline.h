#pragma once
// Reads a value at any frequency from a table of (frequency, value) points:
// weighting tables and compensation files onto FFT lines, overlay tables onto
// plot positions. Cubic mode is a natural cubic spline (zero curvature at the
// table's ends); straight-line mode joins the points with lines.
//
// Tables from files may hold two rows with the same frequency. Such a pair is
// a step: the rows before it and the rows after it are splined as separate
// pieces, each with natural ends, so the jump does not bend either side.
// A query exactly at the step's frequency reads the right-hand side. An x
// that goes back (garbage) also cuts the table into pieces; a strictly
// decreasing table thus has no curvature anywhere and reads as straight
// lines between whichever neighbours the search lands on — finite, but
// meaningless.
//
// Outside the table the end interval's formula extends beyond it; callers
// clamp to the first or last point's value themselves.
//
// A table of finite points always reads finite: the result is limited to
// the float range.

#include <cstdint>

#include "platform/ZeroFilledArray.h"

class TCubicSpline {
public:
    static constexpr std::uint8_t kCubic = 0;
    static constexpr std::uint8_t kStraightLines = 1;

    // points: count (x, y) pairs, not copied — the caller keeps them alive
    // and unchanged for the spline's life.
    TCubicSpline(const float* points, std::uint32_t count, std::uint8_t mode);

    // 0 with fewer than three points, when the table could not be had, or
    // for a mode other than cubic or straight lines.
    float Evaluate(float x) const;

private:
    void Build();
    void BuildPiece(std::uint32_t first, std::uint32_t last, double* u);
    float X(std::uint32_t i) const { return Points[2 * i]; }
    float Y(std::uint32_t i) const { return Points[2 * i + 1]; }

    std::uint32_t Count;
    const float* Points;
    // Double precision: in float, points a hair apart or values near the
    // float limit overflowed into infinities that spread over the whole piece.
    platform::ZeroFilledArray<double> SecondDerivatives;
    std::uint8_t Mode;
};
