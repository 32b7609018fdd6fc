#include "engine/TCubicSpline.h"

#include <cmath>
#include <tuple>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace {

constexpr std::uint8_t kCubic = TCubicSpline::kCubic;
constexpr std::uint8_t kLines = TCubicSpline::kStraightLines;

// {name, (x, y) points, modes, (x, value) expected}
using Case =
    std::tuple<const char*, std::vector<float>, std::vector<std::uint8_t>, std::vector<std::pair<float, float>>>;

} // namespace

TEST(CubicSplineTest, ReadsHandComputedValuesHitsTheKnotsCarriesAStraightLineOutsideAndStaysFinite)
{
    const Case cases[] = {
        // Even spacing: y2[1] = 6·(−1 − 1)/4 = −3, so S(0.5) = 0.5 + 0.375·3/6. Outside, the end
        // interval's cubic carries on: a = 1.5, b = −0.5 gives −0.5 + (−0.125 + 0.5)·(−3)/6.
        {"natural, even", {0, 0, 1, 1, 2, 0}, {kCubic}, {{0.5f, 0.6875f}, {1.5f, 0.6875f}, {-0.5f, -0.6875f},
                                                         {2.5f, -0.6875f}}},
        // Uneven spacing: 2·(1 + 2)·y2[1] = 6·(−1/2 − 1) gives y2[1] = −1.5.
        {"natural, uneven", {0, 0, 1, 1, 3, 0}, {kCubic}, {{0.5f, 0.59375f}, {2.0f, 0.875f}}},
        // Four points: 4·M1 + M2 = −12, M1 + 4·M2 = 12 give M1 = −4, M2 = 4.
        {"natural, four", {0, 0, 1, 1, 2, 0, 3, 1}, {kCubic}, {{0.5f, 0.75f}, {1.5f, 0.5f}, {2.5f, 0.25f}}},
        // Straight lines join neighbours, and the end lines carry on beyond the table.
        {"tent", {100, 0, 200, 10, 300, 0}, {kLines}, {{150, 5}, {50, -5}, {350, -5}}},
        // A repeated x is a step between independent sides: y = x up to 2, y = 2x + 6 from it.
        {"step", {0, 0, 1, 1, 2, 2, 2, 10, 3, 12, 4, 14}, {kCubic, kLines},
         {{1.5f, 1.5f}, {1.99f, 1.99f}, {2, 10}, {2.5f, 11}}},
        // Steps at the table's ends read their own side.
        {"step first", {0, 5, 0, 0, 1, 1, 2, 2}, {kCubic}, {{-1, 5}, {0, 0}, {0.5f, 0.5f}}},
        {"step last", {0, 0, 1, 1, 2, 2, 2, 7}, {kCubic, kLines}, {{1.5f, 1.5f}, {2, 7}, {3, 7}}},
        {"all x the same", {1, 0, 1, 1, 1, 2}, {kCubic}, {{0, 0}, {1, 2}}},
        // No usable table: two points for a cubic, one for lines, an unknown mode.
        {"too short", {100, 5, 200, 10}, {kCubic}, {{150, 0}}},
        {"one point", {100, 5}, {kLines}, {{100, 0}}},
        {"unknown mode", {100, 5, 200, 10, 300, 20}, {2}, {{200, 0}}},
    };
    for (const auto& [name, points, modes, expected] : cases) {
        for (std::uint8_t mode : modes) {
            SCOPED_TRACE(testing::Message() << name << ", mode " << int(mode));
            const TCubicSpline spline(points.data(), std::uint32_t(points.size() / 2), mode);
            for (auto [x, y] : expected)
                EXPECT_NEAR(spline.Evaluate(x), y, 1e-5) << "x " << x;
        }
    }
    EXPECT_EQ(TCubicSpline(nullptr, 3, kCubic).Evaluate(1.0f), 0.0f);
    const float three[] = {100, 5, 200, 10, 300, 20};
    for (int failing : {1, 2}) { // the table, then its work array
        platform::FailNextAllocations(failing);
        EXPECT_EQ(TCubicSpline(three, 3, kCubic).Evaluate(200.0f), 0.0f) << failing;
        platform::FailNextAllocations(0);
    }

    // Both modes hit the knots, carry a straight line outside and stay finite.
    const float points[] = {20, -3.5f, 31.5f, 1.25f, 50, 7, 200, -12, 1000, 0.5f, 20000, 4};
    const float line[] = {0, 1, 1, 3, 3, 7, 4, 9, 7, 15}; // y = 2x + 1, uneven x
    const float decreasing[] = {3, 0, 2, 1, 1, 5, 0, 2};  // the cubic gives straight lines too
    for (std::uint8_t mode : {kCubic, kLines}) {
        SCOPED_TRACE(testing::Message() << "mode " << int(mode));
        const TCubicSpline spline(points, 6, mode);
        for (int i = 0; i < 6; ++i)
            EXPECT_FLOAT_EQ(spline.Evaluate(points[2 * i]), points[2 * i + 1]) << "point " << i;
        const TCubicSpline straight(line, 5, mode);
        for (float x = -1.0f; x <= 8.0f; x += 0.25f)
            EXPECT_NEAR(straight.Evaluate(x), 2.0f * x + 1.0f, 1e-5) << "x " << x;
    }
    const TCubicSpline cubic(decreasing, 4, kCubic), lines(decreasing, 4, kLines);
    for (float x = -2.0f; x <= 5.0f; x += 0.25f)
        EXPECT_NEAR(cubic.Evaluate(x), lines.Evaluate(x), 1e-5) << "x " << x;

    // Points a hair apart and values at the float limit overflowed the
    // curvatures in float, and the infinities spread over the whole piece.
    // A step's sides stay finite too.
    const std::vector<float> hair = {0, 0, 1e-30f, 240, 2e-30f, -240, 1000, 0, 20000, 0};
    const std::vector<float> swing = {1, 3.4e38f, 2, -3.4e38f, 3, 3.4e38f, 4, 0};
    const std::vector<float> step = {0, 0, 1, 1, 2, 2, 2, 10, 3, 12, 4, 14};
    for (const std::vector<float>* table : {&hair, &swing, &step}) {
        const auto count = static_cast<std::uint32_t>(table->size() / 2);
        for (std::uint8_t mode : {kCubic, kLines}) {
            const TCubicSpline spline(table->data(), count, mode);
            for (float x : {-1.0f, 1.5e-30f, 0.5f, 1.5f, 1.99f, 2.5f, 3.5f, 4.9f, 500.0f, 30000.0f})
                EXPECT_TRUE(std::isfinite(spline.Evaluate(x))) << x << " mode " << int(mode);
            for (std::uint32_t k = 0; table != &step && k < count; ++k) // the step's knots: above
                EXPECT_EQ(spline.Evaluate((*table)[2 * k]), (*table)[2 * k + 1]) << "knot " << k;
        }
    }
    // Halfway between +3.4e38 and −3.4e38 a straight line crosses 0.
    EXPECT_EQ(TCubicSpline(swing.data(), 4, kLines).Evaluate(1.5f), 0.0f);
}
