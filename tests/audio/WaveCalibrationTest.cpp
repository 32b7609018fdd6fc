// An accelerometer's sensitivity record: two five-character counts per
// m/s², 25 and 30 characters after its marker, become both channels' full
// scale in g. Fields are followed by digits here, so a field read one
// character late or one too wide reads a different number.

#include "audio/TWaveCalibration.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

// 25 characters: the marker and the text before the first count.
const std::string kLead = "MB63   sn 4711 mV/(m/s2):";

// 1 g rms peaks at √2 · 9.80665 m/s², which is `counts` per m/s² of 2^23.
double FullScale(double counts)
{
    return std::sqrt(2.0) * 9.80665 * counts / 8388608.0;
}

} // namespace

TEST(WaveCalibrationSensitivity, BothCountsAreReadAtTheirOffsetsAndImplausibleRecordsChangeNothing)
{
    ASSERT_EQ(kLead.size(), 25u);
    const std::string other = "333D01 sn 0815 mV/(m/s2):";
    const struct {
        const char* what;
        std::string text;
        long left;  // 0: refused
        long right;
    } cases[] = {
        {"counts followed by digits", kLead + "01000" + "02000" + "99", 1000, 2000},
        {"leading blanks", kLead + " 1500" + " 2500" + "7 end", 1500, 2500},
        {"after other text", "header " + kLead + "04000" + "0300012", 4000, 3000},
        {"exactly 36 characters", kLead + "01000" + "02000" + "9", 1000, 2000},
        {"35 characters", kLead + "01000" + "02000", 0, 0},
        {"the listed-later marker wins", kLead + "01000" + "0200099 " + other + "0300004000 ", 1000, 2000},
        {"an earlier marker alone", other + "0300004000 ", 3000, 4000},
        {"both exactly 1000", kLead + "01000" + "01000" + "99", 1000, 1000},
        {"right below 1000", kLead + "01000" + "00999" + "99", 0, 0},
        {"left below 1000", kLead + "00999" + "01000" + "99", 0, 0},
        {"no marker", "MB64   sn 4711 mV/(m/s2):0100002000 99", 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TWaveCalibration block;
        const TWaveCalibration untouched = block;
        EXPECT_EQ(block.ApplyForeignSensitivity(c.text), c.left != 0);
        if (c.left == 0) {
            EXPECT_TRUE(block == untouched);
            continue;
        }
        const long counts[2] = {c.left, c.right};
        for (int channel = 0; channel < 2; ++channel) {
            const TChannelCalibration record = block.GetChannel(channel);
            EXPECT_NEAR(record.PctFullScale, FullScale(double(counts[channel])), 1e-6 * FullScale(1000))
                << "channel " << channel;
            EXPECT_EQ(record.IsEnabled, 1u);
        }
    }
}
