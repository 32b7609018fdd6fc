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

TEST(AxisNumberFormatTest, CodesOneToSixAndTheExponentMatchPrintfAndOverlongTextsFit)
{
    const float values[] = {3.14159f, -0.5f, 0.0f, 1234.5678f, 0.000123f, -98765.4f};
    for (const float v : values) {
        for (int code = 1; code <= 6; ++code) {
            const std::string format = "%4." + std::to_string(code) + "f%s";
            EXPECT_EQ(FormatAxisNumber(v, code, " Hz"), CText(format.c_str(), double{v}, " Hz")) << v << " " << code;
        }
        EXPECT_EQ(FormatAxisNumber(v, 100, " V"), CText("%4.1e%s", double{v}, " V")) << v;
    }
    // Unknown codes read as code 3.
    EXPECT_EQ(FormatAxisNumber(2.5f, 7, ""), "2.500");
    EXPECT_EQ(FormatAxisNumber(2.5f, 99, " s"), "2.500 s");
    // 1e20 in fixed point has 21 digits before the point.
    EXPECT_EQ(FormatAxisNumber(1e20f, 6, " Hz"), "1.0e+20 Hz");
    EXPECT_EQ(FormatAxisNumber(1e30f, 0, " Hz"), "1.0e+30 Hz");
    EXPECT_EQ(FormatAxisNumber(1.0f, 2, " a very long unit text").size(), axis_format::kReadoutTextMax);
}

TEST(AxisNumberFormatTest, ByMagnitudeWholeNumbersAndDurations)
{
    // Three decimals below 1, two below 10, one below 100, none above.
    for (const float v : {-0.5f, 0.999f, 1.0f, 9.99f, 10.0f, -99.9f, 100.0f, 250.0f}) {
        const float a = std::fabs(v);
        const char* format = a < 1.0f ? "%4.3f%s" : a < 10.0f ? "%4.2f%s" : a < 100.0f ? "%4.1f%s" : "%4.0f%s";
        EXPECT_EQ(FormatAxisNumber(v, 101, " Hz"), CText(format, double{v}, " Hz")) << v;
    }

    EXPECT_EQ(FormatAxisNumber(2.9f, 0, " Hz"), "2 Hz");
    EXPECT_EQ(FormatAxisNumber(-2.9f, 0, ""), "-2");

    EXPECT_EQ(FormatAxisNumber(65.25f, 201, " ignored"), "1:05.250");
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
