// The second tone of the intermodulation figure is the strongest line
// outside the first tone's reach; a line inside the reach that happens to
// have the same power is not it.
#include "tests/engine/SpectralTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

using spectral_test::MakeScaling;
using spectral_test::MakeSettings;
using Access = SpectralDataTestAccess;

TEST(SecondTone, IsTheStrongestLineOutsideTheFirstTonesReachEvenWhenALineInsideHasItsPower)
{
    SpectralData d(MakeSettings(48000, 1024), MakeScaling(), 0, false);
    // Tones at lines 100 (power 1) and 170 (0.25); the skirt line 102 has
    // 0.25 too. Products of 100 and 170 at 70 and 270, 1e-4 each; the
    // others (30, 140, 240, 370, 440, 540) hold nothing.
    spectral_test::SetLines(d, {{100, 1.0}, {102, 0.25}, {170, 0.25}, {70, 1e-4}, {270, 1e-4}});
    Access::SetPeakLine(d, 100);
    // 100·√(2·10⁻⁴) / √(1 + 0.25) = 1.2649 %.
    EXPECT_NEAR(d.GetIMD(), 100 * std::sqrt(2e-4) / std::sqrt(1.25), 1e-4);
}
