// The Kaiser window against the Bessel function of the standard library:
// w(i) = I0(απ·√(1 − r²)) / I0(απ), r running from −1 at the first tap to
// almost +1 at the last, for small and large parameters alike.
#include "engine/TSmoothing.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace smoothing;

TEST(KaiserWindow, EveryTapIsTheBesselRatioForSmallAndLargeParameters)
{
    constexpr std::uint32_t n = 1024;
    for (float alpha : {0.5f, 1.0f, 3.0f, 8.0f}) {
        SCOPED_TRACE(alpha);
        TSmoothing window(n, Kaiser, None);
        window.SetParameter(alpha);
        ASSERT_FALSE(window.Failed());
        const double centre = std::cyl_bessel_i(0.0, alpha * M_PI);
        for (std::uint32_t i : {0u, 1u, 100u, 256u, 400u, 512u, 700u, 1023u}) {
            const double r = (double(i) - n / 2) / (n / 2);
            const double expected = std::cyl_bessel_i(0.0, alpha * M_PI * std::sqrt(1 - r * r)) / centre;
            EXPECT_NEAR(window.Coefficients()[i], expected, 1e-5 * expected) << "tap " << i;
        }
    }
}
