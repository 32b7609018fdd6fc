#include "plot/AxisNumberFormat.h"
#include "plot/MarkerLabel.h"
#include "plot/TPlotBase.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <locale.h>
#include <string>

namespace {

// The C library's own text under the "C" locale, the reference the plot's
// numbers must match character for character.
template <typename... Args>
std::string CText(const char* format, Args... args)
{
    const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t{});
    const locale_t previous = uselocale(c);
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, format, args...);
    uselocale(previous);
    freelocale(c);
    return buffer;
}

TEST(AxisNumberFormatTest, CodesOneToSixAndTheExponentMatchPrintf)
{
    const float values[] = {3.14159f, -0.5f, 0.0f, 1234.5678f, 0.000123f, -98765.4f};
    for (const float v : values) {
        for (int code = 1; code <= 6; ++code) {
            const std::string format = "%4." + std::to_string(code) + "f%s";
            EXPECT_EQ(FormatAxisNumber(v, code, " Hz"), CText(format.c_str(), double{v}, " Hz")) << v << " " << code;
        }
        EXPECT_EQ(FormatAxisNumber(v, 100, " V"), CText("%4.1e%s", double{v}, " V")) << v;
    }
    // Exponents keep the two digits the C library writes.
    EXPECT_EQ(FormatAxisNumber(0.00002f, 100, " V"), "2.0e-05 V");
    EXPECT_EQ(FormatAxisNumber(12345.0f, 100, ""), "1.2e+04");
    // Unknown codes read as code 3.
    EXPECT_EQ(FormatAxisNumber(2.5f, 7, ""), "2.500");
    EXPECT_EQ(FormatAxisNumber(2.5f, 99, " s"), "2.500 s");
}

TEST(AxisNumberFormatTest, ByMagnitudeWholeNumbersAndDurations)
{
    EXPECT_EQ(FormatAxisNumber(-0.5f, 101, " Hz"), "-0.500 Hz");
    EXPECT_EQ(FormatAxisNumber(250.0f, 101, " Hz"), " 250 Hz");
    EXPECT_EQ(FormatAxisNumber(0.999f, 101, ""), CText("%4.3f", 0.999f * 1.0));
    EXPECT_EQ(FormatAxisNumber(1.0f, 101, ""), "1.00");
    EXPECT_EQ(FormatAxisNumber(9.99f, 101, ""), "9.99");
    EXPECT_EQ(FormatAxisNumber(10.0f, 101, ""), "10.0");
    EXPECT_EQ(FormatAxisNumber(-99.9f, 101, ""), "-99.9");
    EXPECT_EQ(FormatAxisNumber(100.0f, 101, ""), " 100");

    EXPECT_EQ(FormatAxisNumber(2.9f, 0, " Hz"), "2 Hz");
    EXPECT_EQ(FormatAxisNumber(-2.9f, 0, ""), "-2");

    EXPECT_EQ(FormatAxisNumber(65.25f, 201, " ignored"), "1:05.250");
}

TEST(AxisNumberFormatTest, OverlongTextsFitTheReadoutLabel)
{
    // 1e20 in fixed point has 21 digits before the point.
    EXPECT_EQ(FormatAxisNumber(1e20f, 6, " Hz"), "1.0e+20 Hz");
    EXPECT_EQ(FormatAxisNumber(1e30f, 0, " Hz"), "1.0e+30 Hz");
    EXPECT_EQ(FormatAxisNumber(1.0f, 2, " a very long unit text").size(), axis_format::kReadoutTextMax);
}

TEST(AxisNumberFormatTest, InfinitiesAndNaNAreWrittenAsPrintfDoes)
{
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (std::uint32_t code : {1u, 2u, 3u, 100u, 101u, 555u}) {
        EXPECT_EQ(FormatAxisNumber(inf, code, " Hz"), CText(code == 100 ? "%4.1e%s" : "%4.0f%s", double{inf}, " Hz"));
        EXPECT_EQ(FormatAxisNumber(-inf, code, ""), "-inf");
        EXPECT_EQ(FormatAxisNumber(nan, code, ""), " nan");
    }
    EXPECT_EQ(FormatAxisNumber(inf, 0, " Hz"), "inf Hz");
    EXPECT_EQ(FormatAxisNumber(nan, 0, ""), "nan");
    EXPECT_EQ(FormatAxisNumber(nan, 201, ""), "0.000");

    EXPECT_EQ(FormatReadout(inf), "inf");
    EXPECT_EQ(FormatReadout(-inf), "-inf");
    EXPECT_EQ(FormatReadout(nan), "nan");
}

TEST(AxisNumberFormatTest, ReadoutsByMagnitudeWithShortExponents)
{
    EXPECT_EQ(FormatReadout(0.00002f), "2.0e-5");
    EXPECT_EQ(FormatReadout(-0.00015f), "-1.5e-4");
    EXPECT_EQ(FormatReadout(20000.0f), "2.0e+4");
    EXPECT_EQ(FormatReadout(1e12f), "1.0e+12");
    EXPECT_EQ(FormatReadout(0.00000001f), "0.0");
    EXPECT_EQ(FormatReadout(0.0f), "0.0");
    EXPECT_EQ(FormatReadout(0.005f), CText("%1.3f", double{0.005f}));
    EXPECT_EQ(FormatReadout(0.05f), CText("%1.2f", double{0.05f}));
    EXPECT_EQ(FormatReadout(-50.0f), "-50.00");
    EXPECT_EQ(FormatReadout(500.0f), "500.0");
    EXPECT_EQ(FormatReadout(5000.0f), "5000");

    char text[16] = "untouched";
    TPlotBase::FormatReadout(0.5f, text, 9);
    EXPECT_STREQ(text, "untouched");
    TPlotBase::FormatReadout(0.5f, nullptr, 16);
    TPlotBase::FormatReadout(-0.00002f, text, 10);
    EXPECT_STREQ(text, "-2.0e-5");
    // Cut to the capacity, always terminated.
    TPlotBase::FormatReadout(-123456789.0f, text, 10);
    EXPECT_STREQ(text, "-1.2e+8");
}

TEST(AxisNumberFormatTest, TheDesktopLocaleChangesNothing)
{
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr)
        GTEST_SKIP() << "no German locale installed";
    const std::string axis = FormatAxisNumber(0.5f, 2, " V");
    const std::string readout = FormatReadout(12.5f);
    const std::string marker = MarkerLabelText(3, 997.5f, -6.0f, true, "");
    std::setlocale(LC_ALL, previous.c_str());
    EXPECT_EQ(axis, "0.50 V");
    EXPECT_EQ(readout, "12.50");
    EXPECT_EQ(marker, "997.50 Hz/-6.00 dB");
}

} // namespace
