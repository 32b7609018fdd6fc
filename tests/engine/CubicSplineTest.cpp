#include "engine/TCubicSpline.h"

#include <cmath>
#include <vector>

#include <gtest/gtest.h>

namespace {

constexpr std::uint8_t kCubic = TCubicSpline::kCubic;
constexpr std::uint8_t kLines = TCubicSpline::kStraightLines;

TEST(CubicSplineTest, MatchesHandComputedNaturalSpline)
{
    // Even spacing: y2[1] = 6·(−1 − 1)/4 = −3, so S(0.5) = 0.5 + 0.375·3/6.
    const float hat[] = {0, 0, 1, 1, 2, 0};
    const TCubicSpline even(hat, 3, kCubic);
    EXPECT_NEAR(even.Evaluate(0.5f), 0.6875f, 1e-6);
    EXPECT_NEAR(even.Evaluate(1.5f), 0.6875f, 1e-6);
    // Outside, the end interval's cubic carries on: a = 1.5, b = −0.5 gives
    // −0.5 + (−0.125 + 0.5)·(−3)/6.
    EXPECT_NEAR(even.Evaluate(-0.5f), -0.6875f, 1e-6);
    EXPECT_NEAR(even.Evaluate(2.5f), -0.6875f, 1e-6);

    // Uneven spacing: 2·(1 + 2)·y2[1] = 6·(−1/2 − 1) gives y2[1] = −1.5.
    const float uneven[] = {0, 0, 1, 1, 3, 0};
    const TCubicSpline spline(uneven, 3, kCubic);
    EXPECT_NEAR(spline.Evaluate(0.5f), 0.59375f, 1e-6);
    EXPECT_NEAR(spline.Evaluate(2.0f), 0.875f, 1e-6);

    // Four points: 4·M1 + M2 = −12, M1 + 4·M2 = 12 give M1 = −4, M2 = 4.
    const float zigzag[] = {0, 0, 1, 1, 2, 0, 3, 1};
    const TCubicSpline four(zigzag, 4, kCubic);
    EXPECT_NEAR(four.Evaluate(0.5f), 0.75f, 1e-6);
    EXPECT_NEAR(four.Evaluate(1.5f), 0.5f, 1e-6);
    EXPECT_NEAR(four.Evaluate(2.5f), 0.25f, 1e-6);
}

TEST(CubicSplineTest, BothModesHitTheKnotsAndCarryAStraightLineOutside)
{
    const float points[] = {20, -3.5f, 31.5f, 1.25f, 50, 7, 200, -12, 1000, 0.5f, 20000, 4};
    const float line[] = {0, 1, 1, 3, 3, 7, 4, 9, 7, 15};  // y = 2x + 1, uneven x
    for (std::uint8_t mode : {kCubic, kLines}) {
        const TCubicSpline spline(points, 6, mode);
        for (int i = 0; i < 6; ++i)
            EXPECT_FLOAT_EQ(spline.Evaluate(points[2 * i]), points[2 * i + 1]) << "mode " << int(mode) << " point " << i;
        const TCubicSpline straight(line, 5, mode);
        for (float x = -1.0f; x <= 8.0f; x += 0.25f)
            EXPECT_NEAR(straight.Evaluate(x), 2.0f * x + 1.0f, 1e-5) << "mode " << int(mode) << " x " << x;
    }

    // Straight lines join neighbours, and the end lines carry on beyond the table.
    const float tent[] = {100, 0, 200, 10, 300, 0};
    const TCubicSpline lines(tent, 3, kLines);
    EXPECT_FLOAT_EQ(lines.Evaluate(150.0f), 5.0f);
    EXPECT_FLOAT_EQ(lines.Evaluate(50.0f), -5.0f);
    EXPECT_FLOAT_EQ(lines.Evaluate(350.0f), -5.0f);
}

TEST(CubicSplineTest, GivesZeroWithoutAUsableTable)
{
    const float two[] = {100, 5, 200, 10};
    EXPECT_EQ(TCubicSpline(two, 2, kCubic).Evaluate(150.0f), 0.0f);
    EXPECT_EQ(TCubicSpline(two, 1, kLines).Evaluate(100.0f), 0.0f);
    EXPECT_EQ(TCubicSpline(nullptr, 3, kCubic).Evaluate(1.0f), 0.0f);

    const float three[] = {100, 5, 200, 10, 300, 20};
    EXPECT_EQ(TCubicSpline(three, 3, 2).Evaluate(200.0f), 0.0f);

    platform::FailNextAllocations(1);
    const TCubicSpline noTable(three, 3, kCubic);
    platform::FailNextAllocations(0);
    EXPECT_EQ(noTable.Evaluate(200.0f), 0.0f);

    platform::FailNextAllocations(2);  // the table, then its work array
    const TCubicSpline noWorkArray(three, 3, kCubic);
    platform::FailNextAllocations(0);
    EXPECT_EQ(noWorkArray.Evaluate(200.0f), 0.0f);
}

TEST(CubicSplineTest, RepeatedXIsAStepBetweenIndependentSides)
{
    // y = x up to the step at 2, y = 2x + 6 from it.
    const float points[] = {0, 0, 1, 1, 2, 2, 2, 10, 3, 12, 4, 14};
    for (std::uint8_t mode : {kCubic, kLines}) {
        const TCubicSpline spline(points, 6, mode);
        EXPECT_NEAR(spline.Evaluate(1.5f), 1.5f, 1e-5) << "mode " << int(mode);
        EXPECT_NEAR(spline.Evaluate(1.99f), 1.99f, 1e-5) << "mode " << int(mode);
        EXPECT_FLOAT_EQ(spline.Evaluate(2.0f), 10.0f) << "mode " << int(mode);
        EXPECT_NEAR(spline.Evaluate(2.5f), 11.0f, 1e-5) << "mode " << int(mode);
        for (float x = -1.0f; x <= 5.0f; x += 0.125f)
            EXPECT_TRUE(std::isfinite(spline.Evaluate(x))) << "mode " << int(mode) << " x " << x;
    }
}

TEST(CubicSplineTest, StepsAtTheTableEndsReadTheirOwnSide)
{
    const float first[] = {0, 5, 0, 0, 1, 1, 2, 2};
    const TCubicSpline left(first, 4, kCubic);
    EXPECT_FLOAT_EQ(left.Evaluate(-1.0f), 5.0f);
    EXPECT_FLOAT_EQ(left.Evaluate(0.0f), 0.0f);
    EXPECT_NEAR(left.Evaluate(0.5f), 0.5f, 1e-6);

    const float last[] = {0, 0, 1, 1, 2, 2, 2, 7};
    for (std::uint8_t mode : {kCubic, kLines}) {
        const TCubicSpline right(last, 4, mode);
        EXPECT_NEAR(right.Evaluate(1.5f), 1.5f, 1e-6) << "mode " << int(mode);
        EXPECT_FLOAT_EQ(right.Evaluate(2.0f), 7.0f) << "mode " << int(mode);
        EXPECT_FLOAT_EQ(right.Evaluate(3.0f), 7.0f) << "mode " << int(mode);
    }

    const float allSame[] = {1, 0, 1, 1, 1, 2};
    const TCubicSpline flat(allSame, 3, kCubic);
    EXPECT_FLOAT_EQ(flat.Evaluate(0.0f), 0.0f);
    EXPECT_FLOAT_EQ(flat.Evaluate(1.0f), 2.0f);
}

TEST(CubicSplineTest, DecreasingXGivesFiniteStraightLines)
{
    const float points[] = {3, 0, 2, 1, 1, 5, 0, 2};
    const TCubicSpline cubic(points, 4, kCubic);
    const TCubicSpline lines(points, 4, kLines);
    for (float x = -2.0f; x <= 5.0f; x += 0.25f) {
        const float value = cubic.Evaluate(x);
        EXPECT_TRUE(std::isfinite(value)) << "x " << x;
        EXPECT_NEAR(value, lines.Evaluate(x), 1e-5) << "x " << x;
    }
}

} // namespace

TEST(CubicSplineTest, ExtremeFiniteTablesReadFiniteEverywhere)
{
    // Points a hair apart and values at the float limit overflowed the
    // curvatures in float, and the infinities spread over the whole piece.
    const std::vector<float> hair = {0, 0, 1e-30f, 240, 2e-30f, -240, 1000, 0, 20000, 0};
    const std::vector<float> swing = {1, 3.4e38f, 2, -3.4e38f, 3, 3.4e38f, 4, 0};
    for (const std::vector<float>* table : {&hair, &swing}) {
        const auto count = static_cast<std::uint32_t>(table->size() / 2);
        for (std::uint8_t mode : {kCubic, kLines}) {
            const TCubicSpline spline(table->data(), count, mode);
            for (float x : {-1.0f, 1.5e-30f, 0.5f, 1.5f, 2.5f, 3.5f, 500.0f, 30000.0f})
                EXPECT_TRUE(std::isfinite(spline.Evaluate(x))) << x << " mode " << int(mode);
            for (std::uint32_t k = 0; k < count; ++k)
                EXPECT_EQ(spline.Evaluate((*table)[2 * k]), (*table)[2 * k + 1]) << "knot " << k;
        }
    }
    // Halfway between +3.4e38 and −3.4e38 a straight line crosses 0.
    EXPECT_EQ(TCubicSpline(swing.data(), 4, kLines).Evaluate(1.5f), 0.0f);
}
