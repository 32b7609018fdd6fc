#include "plot/AxisNumberFormat.h"
#include "plot/MarkerLabel.h"
#include "plot/TPlotBase.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
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

TEST(AxisNumberFormatTest, EachCodeMatchesPrintfIncludingInfinitiesAndNaN)
{
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (const float v : {3.14159f, -0.5f, 0.0f, 1234.5678f, 0.000123f, -98765.4f, inf}) {
        for (int code = 1; code <= 6; ++code) {
            const std::string format = "%4." + std::to_string(code) + "f%s";
            EXPECT_EQ(FormatAxisNumber(v, code, " Hz"), CText(format.c_str(), double{v}, " Hz")) << v << " " << code;
        }
        EXPECT_EQ(FormatAxisNumber(v, 100, " V"), CText("%4.1e%s", double{v}, " V")) << v;
    }
    // By magnitude: three decimals below 1, two below 10, one below 100, none above.
    for (const float v : {-0.5f, 0.999f, 1.0f, 9.99f, 10.0f, -99.9f, 100.0f, 250.0f, inf}) {
        const float a = std::fabs(v);
        const char* format = a < 1.0f ? "%4.3f%s" : a < 10.0f ? "%4.2f%s" : a < 100.0f ? "%4.1f%s" : "%4.0f%s";
        EXPECT_EQ(FormatAxisNumber(v, 101, " Hz"), CText(format, double{v}, " Hz")) << v;
    }
    const std::pair<std::string, const char*> texts[] = {
        {FormatAxisNumber(2.5f, 99, " s"), "2.500 s"},  // unknown codes read as code 3
        {FormatAxisNumber(1e20f, 6, " Hz"), "1.0e+20 Hz"},  // 21 digits before the point
        {FormatAxisNumber(-2.9f, 0, ""), "-2"},
        {FormatAxisNumber(inf, 0, " Hz"), "inf Hz"},
        {FormatAxisNumber(-inf, 3, ""), "-inf"},
        {FormatAxisNumber(nan, 555, ""), " nan"},
        {FormatAxisNumber(nan, 0, ""), "nan"},
        {FormatAxisNumber(65.25f, 201, " ignored"), "1:05.250"},
        {FormatAxisNumber(nan, 201, ""), "0.000"},
    };
    for (const auto& [text, expected] : texts)
        EXPECT_EQ(text, expected);
    EXPECT_EQ(FormatAxisNumber(1.0f, 2, " a very long unit text").size(), axis_format::kReadoutTextMax);
}

TEST(AxisNumberFormatTest, ReadoutsByMagnitudeWithShortExponentsCutToTheirCapacity)
{
    const float inf = std::numeric_limits<float>::infinity();
    const std::pair<float, std::string> readouts[] = {
        {0.00002f, "2.0e-5"}, {-0.00015f, "-1.5e-4"}, {20000.0f, "2.0e+4"}, {1e12f, "1.0e+12"},
        {0.00000001f, "0.0"}, {0.0f, "0.0"}, {0.005f, CText("%1.3f", double{0.005f})},
        {0.05f, CText("%1.2f", double{0.05f})}, {-50.0f, "-50.00"}, {500.0f, "500.0"}, {5000.0f, "5000"},
        {-inf, "-inf"}, {std::nanf(""), "nan"},
    };
    for (const auto& [value, text] : readouts)
        EXPECT_EQ(FormatReadout(value), text) << value;

    char text[16] = "untouched";
    TPlotBase::FormatReadout(0.5f, text, 9);
    EXPECT_STREQ(text, "untouched");
    TPlotBase::FormatReadout(0.5f, nullptr, 16);
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
