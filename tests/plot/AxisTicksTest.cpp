// The axes: the column-to-bin table, frequency ticks (round steps, the
// linear redo of a narrow log zoom, thinning on screen and paper) and the
// amplitude ticks of the linear, dB, log and coherence scales.
#include "plot/AmplitudeTicks.h"
#include "plot/AxisNumberFormat.h"
#include "plot/ColumnBinTable.h"
#include "plot/FrequencyTicks.h"
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

using Labels = std::vector<std::string>;

// A column table whose bins are whole hertz; its columns are what matters.
ColumnBinTable Columns(float start, float stop, int width, std::uint16_t scale)
{
    ColumnBinTable table;
    table.Build(start, stop, width, scale, [](float f) { return static_cast<std::uint32_t>(f); });
    return table;
}

Labels LabelsOf(const PlotTicks& ticks, bool keptOnly = true)
{
    Labels labels;
    for (const PlotTick& tick : ticks)
        if (!keptOnly || !tick.Label.empty())
            labels.push_back(tick.Label);
    return labels;
}

const Labels kOneTwoFive = {"20", "50", "100", "200", "500", "1.0k", "2.0k", "5.0k", "10.0k", "20.0k"};

// Linear columns are checked on a live plot (1 Hz per column).
TEST(ColumnBinTableTest, LogColumnsHitBothEndsAndFrequenciesMapToTheColumnBefore)
{
    // Bins of 0.5 Hz, nearest; a hundredth of a decade per column.
    const auto halfHertz = [](float f) { return static_cast<std::uint32_t>(std::lround(f * 2.0f)); };
    ColumnBinTable table;
    table.Build(20.0f, 20000.0f, 301, 1, halfHertz);
    EXPECT_EQ(table[300].Frequency, 20000.0f);
    EXPECT_NEAR(table[1].Frequency, 20.0f * std::pow(10.0f, 0.01f), 0.001f);
    // Column 0 takes column 1's bin (20.47 Hz: bin 41), the last column the bin after its own.
    EXPECT_EQ(table[0].Bin, 41);
    EXPECT_EQ(table[300].Bin, 40001);

    // 100 Hz per column: a frequency on or just past a column's is in the one before.
    table.Build(1000.0f, 2000.0f, 11, 0, halfHertz);
    const std::pair<float, int> columns[] = {{1000.0f, 0}, {1100.0f, 0}, {1150.0f, 1}, {2000.0f, 9},
                                             {999.9f, ColumnBinTable::kNoColumn},
                                             {2000.1f, ColumnBinTable::kNoColumn},
                                             {std::nanf(""), ColumnBinTable::kNoColumn}};
    for (const auto& [frequency, column] : columns)
        EXPECT_EQ(table.FrequencyToColumn(frequency), column) << frequency;
    EXPECT_FLOAT_EQ(table.ColumnFrequency(3), 1300.0f);
    EXPECT_EQ(table.ColumnFrequency(11), 0.0f);
    EXPECT_EQ(table.ColumnBin(-1), 1);
    // No table for a plot one pixel wide.
    table.Build(1000.0f, 2000.0f, 1, 0, halfHertz);
    EXPECT_EQ(table.FrequencyToColumn(1500.0f), ColumnBinTable::kNoColumn);
}

TEST(FrequencyTicksTest, RoundStepsOnLinearAndLogSpansALinearRedoOfANarrowLogZoomAndThinningOnScreenAndPaper)
{
    EXPECT_EQ(FrequencyTickLabel(1000.5f, 5.0f), "1.000k");
    EXPECT_EQ(FrequencyTickLabel(7.5f, 5.0f), "7.500");
    // Without a step the span alone sets the kHz decimals.
    EXPECT_EQ(FrequencyTickLabel(2050.0f, 1000.0f), "2.0k");
    EXPECT_EQ(FrequencyTickLabel(2050.0f, 50.0f), "2.05k");
    // 100 Hz per column from 0: a tick on a column's frequency belongs to the column before it.
    EXPECT_EQ(BuildFrequencyTicks(0.0f, 24000.0f, true, 241, 30, Columns(0.0f, 24000.0f, 241, 0)),
              (PlotTicks{{0, "0.0"}, {49, "5.0k"}, {99, "10.0k"}, {149, "15.0k"}, {199, "20.0k"}}));

    // 20 Hz … 20 kHz over 301 log columns: 20 … 90, 100 … 900, 1k … 9k, 10k
    // and 20k at x = 100·log10(f / 20), less one on an exact column frequency.
    const PlotTicks log = BuildFrequencyTicks(20.0f, 20000.0f, false, 301, 30, Columns(20.0f, 20000.0f, 301, 1));
    ASSERT_EQ(log.size(), 28u);
    EXPECT_EQ(log[1].Pos, 17);
    EXPECT_EQ(log[17].Pos, 169);
    EXPECT_EQ(log.back().Pos, 299);
    EXPECT_EQ(LabelsOf(log), kOneTwoFive);

    // 10 … 20 Hz has only the decade ticks 10 and 20: too few; octave axes the same.
    EXPECT_EQ(LabelsOf(BuildFrequencyTicks(10.0f, 20.0f, false, 101, 1, Columns(10.0f, 20.0f, 101, 1))),
              (Labels{"10.00", "12.00", "14.00", "16.00", "18.00", "20.00"}));
    EXPECT_EQ(LabelsOf(BuildFrequencyTicks(100.0f, 180.0f, false, 101, 1, Columns(100.0f, 180.0f, 101, 2))),
              (Labels{"100.00", "120.00", "140.00", "160.00", "180.00"}));

    // Known widths widen the gap so that labels never touch (the gap alone
    // thins the printed page below).
    PlotTicks wide = {{0, "10.0k"}, {40, "20.0k"}, {80, "30.0k"}};
    ThinFrequencyLabels(wide, 30, [](const std::string&) { return 38; });
    EXPECT_EQ(LabelsOf(wide), (Labels{"10.0k", "30.0k"}));
    // Centres 44 px apart leave 6 px between two 38-px labels: enough.
    PlotTicks spaced = {{0, "10.0k"}, {44, "20.0k"}, {88, "30.0k"}};
    ThinFrequencyLabels(spaced, 30, [](const std::string&) { return 38; });
    EXPECT_EQ(LabelsOf(spaced), (Labels{"10.0k", "20.0k", "30.0k"}));

    // A printed page of 3001 columns keeps labels 300 pixels apart (the
    // screen's 30 kept all 28 above).
    EXPECT_EQ(LabelsOf(BuildFrequencyTicks(20.0f, 20000.0f, false, 3001, 300, Columns(20.0f, 20000.0f, 3001, 1))),
              kOneTwoFive);
}

// Narrow spans around 1 kHz step by 50 Hz (5 Hz for 20 Hz): one decimal
// of kHz would read 1050 and 1100 both as "1.1k" (and 1150 too), so the
// kHz labels carry the step's decimals. 1 Hz per column (0.1 for 20 Hz):
// every tick keeps its label.
TEST(FrequencyTicksTest, NeighbouringKiloHertzLabelsNeverReadAlike)
{
    EXPECT_EQ(BuildFrequencyTicks(900.0f, 1100.0f, true, 201, 30, Columns(900.0f, 1100.0f, 201, 0)),
              (PlotTicks{{0, "900"}, {49, "950"}, {99, "1.00k"}, {149, "1.05k"}, {199, "1.10k"}}));
    EXPECT_EQ(LabelsOf(BuildFrequencyTicks(790.0f, 1170.0f, true, 381, 30, Columns(790.0f, 1170.0f, 381, 0))),
              (Labels{"800", "850", "900", "950", "1.00k", "1.05k", "1.10k", "1.15k"}));
    // Below 100 Hz of span the span's two decimals hold the Hz labels; the
    // 5 Hz step needs a third in kHz.
    EXPECT_EQ(LabelsOf(BuildFrequencyTicks(990.0f, 1010.0f, true, 201, 30, Columns(990.0f, 1010.0f, 201, 0))),
              (Labels{"990.00", "995.00", "1.000k", "1.005k", "1.010k"}));
    // Steps of whole kHz keep the one decimal: 1 kHz steps over 10 kHz.
    EXPECT_EQ(LabelsOf(BuildFrequencyTicks(0.0f, 10000.0f, true, 101, 1, Columns(0.0f, 10000.0f, 101, 0))),
              (Labels{"0.0", "1.0k", "2.0k", "3.0k", "4.0k", "5.0k", "6.0k", "7.0k", "8.0k", "9.0k", "10.0k"}));
    // Hundreds keep it too: 2.0k … 3.0k by 200 Hz.
    EXPECT_EQ(LabelsOf(BuildFrequencyTicks(2000.0f, 3000.0f, true, 101, 1, Columns(2000.0f, 3000.0f, 101, 0))),
              (Labels{"2.0k", "2.2k", "2.4k", "2.6k", "2.8k", "3.0k"}));
}

TEST(AmplitudeTicksTest, LinearDbLogAndCoherenceAxes)
{
    struct Case {
        float top, range;
        bool dB;
        int height;
        Labels labels;
    } cases[] = {
        {100.0f, 100.0f, false, 400,
         {"100.0", "90.00", "80.00", "70.00", "60.00", "50.00", "40.00", "30.00", "20.00", "10.00", "0.0"}},
        // Ticks 10 px apart: every other label is cleared, the ticks stay.
        {0.0f, 100.0f, true, 100, {"0.0", "", "-20.00", "", "-40.00", "", "-60.00", "", "-80.00", "", "-100.0"}},
        {-20.0f, 5.0f, true, 200,
         {"-20.00", "-20.50", "-21.00", "-21.50", "-22.00", "-22.50", "-23.00", "-23.50", "-24.00", "-24.50", "-25.00"}},
        // A small top: ten steps of 0.001 without drifting past the bottom tick.
        {0.01f, 0.01f, false, 200,
         {"0.010", "0.009", "0.008", "0.007", "0.006", "0.005", "0.004", "0.003", "0.002", "1.0e-3", "0.0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.top << " " << c.range << " " << c.height);
        const PlotTicks ticks = BuildLinearDbTicks(c.top, c.range, c.dB, c.height, 12);
        EXPECT_EQ(LabelsOf(ticks, false), c.labels);
        for (std::size_t i = 0; i < ticks.size(); ++i)
            EXPECT_EQ(ticks[i].Pos, static_cast<int>(i) * c.height / 10) << i;
    }
    // 1e9 dB: the step widens by decades until at most 1000 ticks fit: 1e7-dB steps.
    EXPECT_EQ(BuildLinearDbTicks(0.0f, 1.0e9f, true, 400, 12).size(), 101u);
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_TRUE(BuildLinearDbTicks(0.0f, 0.0f, false, 200, 12).empty());
    EXPECT_TRUE(BuildLinearDbTicks(0.0f, inf, true, 400, 12).empty());
    EXPECT_TRUE(BuildLinearDbTicks(nan, 100.0f, true, 400, 12).empty());
    // A log top of 1e38 would walk 1e34 steps of 1e4; an infinite one is taken as 10.
    EXPECT_LE(BuildLogTicks(1.0e38f, 1.0f, 400, 12).size(), 400u);
    EXPECT_EQ(BuildLogTicks(inf, 1e-6f, 700, 12).back().Label, "10.00");

    // 1e-6 … 1 over 600 px: a decade per 100 px.
    const PlotTicks ticks = BuildLogTicks(1.0f, 1e-6f, 600, 12);
    ASSERT_EQ(ticks.size(), 55u);
    EXPECT_EQ(ticks.front(), (PlotTick{600, "1.0e-6"}));
    EXPECT_EQ(ticks.back().Pos, 0);
    // The decades 100 px apart (within the truncation of a rounded log); 2e-6 at 600 − 100·log10(2).
    for (int d = 1; d <= 5; ++d)
        EXPECT_NEAR(ticks[static_cast<std::size_t>(9 * d)].Pos, 600 - 100 * d, 1) << d;
    EXPECT_EQ(ticks[1].Pos, 569);
    // Thinned from the top down: 1, 0.7, 0.5, 0.3, 0.2, 0.1 in the top decade.
    const Labels all = LabelsOf(ticks, false);
    EXPECT_EQ(Labels(all.begin() + 45, all.end()), (Labels{"0.10", "0.20", "0.30", "", "0.50", "", "0.70", "", "", "1.00"}));
    // A bottom at or above the top falls back to 1e-6, a top of 0 to 10.
    EXPECT_EQ(BuildLogTicks(1.0f, 5.0f, 600, 12), ticks);
    EXPECT_EQ(BuildLogTicks(0.0f, 1e-6f, 700, 12).back().Label, "10.00");

    const PlotTicks coherence = BuildCoherenceTicks(240);
    ASSERT_EQ(coherence.size(), 13u);
    EXPECT_EQ(coherence[2], (PlotTick{40, "1.00"}));
    EXPECT_EQ(coherence.back().Label, "0.00");
    // 5 px apart: every other label stays.
    EXPECT_EQ(Labels(LabelsOf(BuildCoherenceTicks(60), false)).at(1), "");
}

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

// Under a desktop locale that writes decimal commas (where installed), as
// the C library writes in the "C" locale.
TEST(AxisNumberFormatTest, EachCodeAndTheReadoutsMatchPrintfWhateverTheLocale)
{
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    std::setlocale(LC_ALL, "de_DE.UTF-8");
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
    const std::pair<std::string, std::string> texts[] = {
        {FormatAxisNumber(2.5f, 99, " s"), "2.500 s"},  // unknown codes read as code 3
        {FormatAxisNumber(1e20f, 6, " Hz"), "1.0e+20 Hz"},  // 21 digits before the point
        {FormatAxisNumber(-2.9f, 0, ""), "-2"},
        {FormatAxisNumber(inf, 0, " Hz"), "inf Hz"},
        {FormatAxisNumber(-inf, 3, ""), "-inf"},
        {FormatAxisNumber(nan, 555, ""), " nan"},
        {FormatAxisNumber(nan, 0, ""), "nan"},
        {FormatAxisNumber(65.25f, 201, " ignored"), "1:05.250"},
        {FormatAxisNumber(nan, 201, ""), "0.000"},
        {MarkerLabelText(3, 997.5f, -6.0f, true, ""), "997.50 Hz/-6.00 dB"},
        // Readouts by magnitude, with short exponents.
        {FormatReadout(0.00002f), "2.0e-5"}, {FormatReadout(-0.00015f), "-1.5e-4"},
        {FormatReadout(20000.0f), "2.0e+4"}, {FormatReadout(1e12f), "1.0e+12"},
        {FormatReadout(0.00000001f), "0.0"}, {FormatReadout(0.005f), CText("%1.3f", double{0.005f})},
        {FormatReadout(0.05f), CText("%1.2f", double{0.05f})}, {FormatReadout(-50.0f), "-50.00"},
        {FormatReadout(500.0f), "500.0"}, {FormatReadout(5000.0f), "5000"}, {FormatReadout(nan), "nan"},
    };
    std::setlocale(LC_ALL, previous.c_str());
    for (const auto& [text, expected] : texts)
        EXPECT_EQ(text, expected);
    EXPECT_EQ(FormatAxisNumber(1.0f, 2, " a very long unit text").size(), axis_format::kReadoutTextMax);

    // Cut to their capacity; too little room leaves the buffer alone.
    char text[16] = "untouched";
    TPlotBase::FormatReadout(0.5f, text, 9);
    EXPECT_STREQ(text, "untouched");
    TPlotBase::FormatReadout(0.5f, nullptr, 16);
    TPlotBase::FormatReadout(-123456789.0f, text, 10);
    EXPECT_STREQ(text, "-1.2e+8");
}

} // namespace
