#include "platform/NumberText.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

namespace {

using platform::FormatFixed;
using platform::FormatInteger;
using platform::ParseFloatPrefix;
using platform::ParseIntegerPrefix;

TEST(NumberTextTest, TextsMatchPrintfAtoiAndAtofInTheCLocale)
{
    for (const double value : {0.0, 0.5, -6.0, 94.0, 0.0001, 0.012, 95000.0, 1.0 / 3.0, 2.5e-7, -0.0000004,
                               123456789.125, static_cast<double>(0.1f), 3.4e38}) {
        char expected[128];
        std::snprintf(expected, sizeof expected, "%f", value);
        EXPECT_EQ(FormatFixed(value), expected) << value;
    }
    EXPECT_EQ(FormatFixed(2.345, 2), "2.35");
    EXPECT_EQ(FormatInteger(-2147483648LL), "-2147483648");
    EXPECT_EQ(FormatInteger(65536), "65536");

    for (const char* text : {"42", "  \t-17xyz", "+8", "1.5", "", "abc", "- 5", "  -1.5e3 Hz", "2E-2", "0,5", "x"}) {
        EXPECT_EQ(ParseIntegerPrefix(text), std::atoi(text)) << text;
        EXPECT_DOUBLE_EQ(ParseFloatPrefix(text), std::atof(text)) << text;
    }
    // Out of range: saturated, where atoi's result is undefined.
    EXPECT_EQ(ParseIntegerPrefix("99999999999999999999"), 2147483647);
    EXPECT_EQ(ParseIntegerPrefix("-99999999999999999999"), -2147483647 - 1);
}

TEST(NumberTextTest, ACommaDecimalLocaleChangesNothing)
{
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr)
        GTEST_SKIP() << "locale de_DE.UTF-8 is not installed";
    char probe[32];
    std::snprintf(probe, sizeof probe, "%f", 0.5);
    EXPECT_STREQ(probe, "0,500000") << "the locale should use a decimal comma";

    EXPECT_EQ(FormatFixed(0.5), "0.500000");
    EXPECT_DOUBLE_EQ(ParseFloatPrefix("0.75"), 0.75);
    EXPECT_DOUBLE_EQ(ParseFloatPrefix("0,75"), 0.0);
    std::setlocale(LC_ALL, previous.c_str());
}

} // namespace
