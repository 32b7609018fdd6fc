// The table a band trace is drawn from: three points a band, just below, at
// and just above its centre (a relative 1e-5 either side), all at the band's
// value, so the frequencies rise through the table and the trace is level
// across each centre.

#include "plot/BandTraceTable.h"

#include "tests/plot/QuarnPlotTestSupport.h"

#include <gtest/gtest.h>

using quarn_test::PlotRecords;

TEST(BandTraceTable, EachBandGivesThreeRisingPointsAtItsValueAndTheTableReadsThemBack)
{
    PlotRecords records(ScalingOpts::kLogarithmic, ScalingOpts::kFftLinear);
    auto data = quarn_test::MakeData(records);
    quarn_test::SetKnownSpectrum(*data, 1000.0f, -20.0f, -100.0f);
    BandTraceTable table;
    table.Fill(*data, false);

    const std::uint32_t first = data->GetStartBin();
    const std::uint32_t last = data->GetEndBin();
    ASSERT_LT(first, last);
    const std::vector<float>& points = table.Points();
    ASSERT_EQ(points.size(), 6u * (last - first + 1));
    const std::uint32_t tone = data->GetBinIndex(1000.0f);
    for (std::uint32_t band = first; band <= last; ++band) {
        SCOPED_TRACE(band);
        const float f = data->GetBinFrequency(band);
        const float value = band == tone ? -20.0f : -100.0f;
        const float* p = &points[6 * (band - first)];
        EXPECT_FLOAT_EQ(p[0], f * 0.99999f);
        EXPECT_FLOAT_EQ(p[2], f);
        EXPECT_FLOAT_EQ(p[4], f * 1.00001f);
        EXPECT_EQ((std::vector<float>{p[1], p[3], p[5]}), (std::vector<float>{value, value, value}));
    }
    for (std::size_t i = 2; i < points.size(); i += 2)
        ASSERT_LT(points[i - 2], points[i]) << "point " << i / 2;

    // Level across the tone's centre, the floor either side of it, and the
    // ends of the table held beyond them.
    const float f = data->GetBinFrequency(tone);
    const float spacing = static_cast<float>(quarn_test::kLineSpacing);
    EXPECT_FLOAT_EQ(table.GetValueAt(f), -20.0f);
    EXPECT_NEAR(table.GetValueAt(f * 1.000005f), -20.0f, 0.01f);
    EXPECT_NEAR(table.GetValueAt(f - 2 * spacing), -100.0f, 0.01f);
    EXPECT_NEAR(table.GetValueAt(f + 2 * spacing), -100.0f, 0.01f);
    EXPECT_FLOAT_EQ(table.GetValueAt(0.0f), -100.0f);
    EXPECT_FLOAT_EQ(table.GetValueAt(1e9f), -100.0f);
    // The band around the tone holds its highest value: the tone.
    EXPECT_FLOAT_EQ(table.GetBandValue(f - spacing / 2, f + spacing / 2), -20.0f);
}
