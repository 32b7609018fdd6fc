// The plain rules behind the plot dialogs: the spinner's step arithmetic
// and formats, the plot options' checks and defaults, the marker checks,
// and the data-values table's rows and texts.
#include "plot/DataViewTable.h"
#include "plot/LimitStep.h"
#include "plot/MarkerOptionsForm.h"
#include "plot/PlotOptionsForm.h"

#include "settings/PlotAmplitudeLimits.h"
#include "settings/SpectrumOpts.h"
#include "settings/TextField.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

TEST(LimitStepTest, StepsStayWithinTheLimitsAndWriteTheirPrecision)
{
    struct Case {
        float step;
        std::uint32_t mode;
        float maximum, minimum;
        int decimals;
        const char* text;
        bool up;
        const char* expected;
    };
    const Case cases[] = {
        {1.0f, LimitStep::kAdd, 10.0f, 0.0f, 0, "9.5", true, "10"},
        {5.0f, LimitStep::kAdd, 300.0f, -300.0f, 2, "-298", false, "-300.00"},
        {5.0f, LimitStep::kAdd, 300.0f, -300.0f, 2, "12.5 dB", true, "17.50"},
        // Text that is no number reads 0.
        {5.0f, LimitStep::kAdd, 300.0f, -300.0f, 1, "N/A", false, "-5.0"},
        {10.0f, LimitStep::kMultiply, 1e4f, 1e-5f, 5, "0", true, "1.00000"},
        {10.0f, LimitStep::kMultiply, 1e4f, 1e-5f, 5, "0", false, "0.00001"},
        {2.0f, LimitStep::kMultiply, 100.0f, 1e-6f, 6, "0.0001", false, "0.000050"},
        {2.0f, LimitStep::kMultiply, 100.0f, 1e-6f, 6, "80", true, "100.000000"},
        {1.0f, LimitStep::kAdd, 1e7f, 1e-9f, 12, "12344", true, "1.2e+04"},
    };
    for (const Case& c : cases) {
        LimitStep s;
        s.SetRange(c.maximum, c.minimum);
        s.SetStep(c.step, c.mode);
        s.SetPrecision(c.decimals);
        EXPECT_EQ(c.up ? s.StepUpText(c.text) : s.StepDownText(c.text), c.expected) << c.text;
    }
    // Ranges and steps that would change nothing are refused: a step of 0
    // would freeze the spinner (the mode changes, the step stays).
    LimitStep s;
    s.SetRange(10.0f, 0.0f);
    s.SetRange(5.0f, 5.0f);
    s.SetStep(3.0f, LimitStep::kAdd);
    s.SetStep(0.0f, LimitStep::kMultiply);
    EXPECT_EQ(std::tuple(s.Maximum, s.Minimum, s.Step, s.Mode), std::tuple(10.0f, 0.0f, 3.0f, LimitStep::kMultiply));
    EXPECT_EQ(s.StepUpText("2"), "6");
}

// A dB form over the frame's first plot, valid as it stands.
PlotOptionsForm GoodForm()
{
    return plot_options::Fill(SpectrumOpts::FrameDefaults(0), 1);
}

TEST(PlotOptionsFormTest, EachRefusalNamesTheFieldAndLeavesTheRecord)
{
    // Each row changes up to two fields of a form that passes every check:
    // top 100, range 100, 10 … 500 Hz, an interval of 0.02 s.
    using Field = std::string PlotOptionsForm::*;
    using Edit = std::pair<Field, const char*>;
    const Field top = &PlotOptionsForm::Top, range = &PlotOptionsForm::Range, start = &PlotOptionsForm::Start;
    const Field stop = &PlotOptionsForm::Stop, interval = &PlotOptionsForm::Interval;
    const struct {
        std::uint16_t amp;
        std::vector<Edit> edits;
        const char* message;
    } cases[] = {
        {1, {{start, "0"}}, "Start Frequency must be greater than zero"},
        {1, {{stop, "-1"}}, "Stop Frequency must be greater than zero"},
        {1, {{start, "500"}, {stop, "400"}}, "Stop Frequency must be greater than Start Frequency"},
        {1, {{interval, "3600"}}, "Update Interval must be greater than zero and less than 3600 seconds."},
        {1, {{interval, "0"}}, "Update Interval must be greater than zero and less than 3600 seconds."},
        {1, {{top, "301"}}, "Plot Top must be between -300 and 300."},
        // A zero dB span divides by zero on the axis.
        {1, {{range, "0"}}, "Plot Range must be greater than 0 and at most 300."},
        // The log of zero.
        {2, {{top, "0"}, {range, "0.0001"}}, "Plot Top must be between 1e-05 and 10000."},
        {2, {{top, "1"}, {range, "0"}}, "Plot Bottom must be between 1e-06 and 100."},
        {2, {{top, "0.01"}, {range, "0.1"}}, "Plot Bottom must be less than Plot Top."},
        {0, {{top, "0"}, {range, "N/A"}}, "Plot Top must be between 1e-09 and 1e+07."},
    };
    for (const auto& c : cases) {
        PlotOptionsForm form = GoodForm();
        form.Top = form.Range = "100";
        form.Start = "10";
        form.Stop = "500";
        form.SpecificInterval = true;
        form.Interval = "0.02";
        for (const auto& [field, value] : c.edits)
            form.*field = value;
        SpectrumOpts opts = SpectrumOpts::FrameDefaults(0);
        const SpectrumOpts before = opts;
        EXPECT_EQ(plot_options::Validate(form, c.amp, opts), c.message) << c.edits[0].second;
        EXPECT_EQ(opts, before) << "nothing stored on a refusal";
    }
}

TEST(PlotOptionsFormTest, AFilledFormStoresItsRecordBackAndLinearKeepsTheRange)
{
    SpectrumOpts expected = SpectrumOpts::FrameDefaults(0);
    expected.PlotType = 2;
    expected.DrawThickPeakHold = 1;
    expected.PlotTop = -10.0f;
    expected.PlotRange = 60.0f;
    expected.StartFreq = 500.0f;
    expected.StopFreq = 1500.0f;
    expected.PeakHold = 4;
    SpectrumOpts opts = SpectrumOpts::FrameDefaults(0);
    ASSERT_EQ(plot_options::Validate(plot_options::Fill(expected, 1), 1, opts), "");
    EXPECT_EQ(opts, expected);

    // Linear: "N/A" stores nothing; the range stays what it was.
    PlotOptionsForm linear = plot_options::Fill(opts, 0);
    EXPECT_EQ(linear.Range, "N/A");
    EXPECT_EQ(linear.Top, "-10.000");
    linear.Top = "2.5";
    linear.SpecificInterval = false;
    linear.Interval = "garbage";
    ASSERT_EQ(plot_options::Validate(linear, 0, opts), "");
    EXPECT_EQ(std::tuple(opts.PlotRange, opts.PlotTop, opts.IntervalFlag, opts.IntervalSecs),
              std::tuple(60.0f, 2.5f, std::uint8_t{0}, expected.IntervalSecs));
}

// The sheet shows the forms; here what its Defaults button does to a record.
TEST(PlotOptionsFormTest, DefaultsResetTheFormAndPutTheColoursInTheRecordAtOnce)
{
    SpectrumOpts opts;
    opts.StartFreq = 1.0f;
    opts.LineColor = 0x123456;
    PlotOptionsForm left = plot_options::Fill(opts, 2);
    plot_options::ApplyDefaults(left, opts, 0);
    EXPECT_EQ(left.Start, "900");
    EXPECT_EQ(opts.LineColor, 0x00FF00u);
}

TEST(PlotAmplitudeLimitsTest, ValuesFromAFileAreBroughtWithinTheScale)
{
    struct Case {
        std::uint16_t amp;
        float top, range;
        float expectedTop, expectedRange;
    };
    const Case cases[] = {
        {1, 500.0f, 100.0f, 300.0f, 100.0f},  {1, 100.0f, 0.0f, 100.0f, 100.0f},
        {1, 100.0f, -5.0f, 100.0f, 100.0f},   {1, NAN, 900.0f, 100.0f, 300.0f},
        {2, 0.0f, 0.0f, 1e-5f, 1e-6f},        {2, 1.0f, 5.0f, 1.0f, 0.0001f},
        {0, 0.0f, 0.0f, 1e-9f, 0.0f},         {0, 1e9f, 42.0f, 1e7f, 42.0f},
    };
    for (const Case& c : cases) {
        float top = c.top;
        float range = c.range;
        LimitPlotAmplitude(c.amp, top, range, c.amp == 2 ? 1.0f : 100.0f, c.amp == 2 ? 0.0001f : 100.0f);
        EXPECT_FLOAT_EQ(top, c.expectedTop) << c.amp << " " << c.top << " " << c.range;
        EXPECT_FLOAT_EQ(range, c.expectedRange) << c.amp << " " << c.top << " " << c.range;
        EXPECT_EQ(CheckPlotAmplitude(c.amp, top, range), "") << "what the file gives the dialog accepts";
    }
}

// Refusals and the rows' enabling are the marker dialog test's.
TEST(MarkerOptionsFormTest, FillClampsTypesAndHiddenRowsKeepTheirValues)
{
    MarkerOpts m;
    m.LabelType[3] = 99;
    MarkerOptionsForm form = marker_options::Fill(m);
    EXPECT_EQ(form.Rows[3].LabelType, 4u) << "a label type from a file is clamped";

    // A hidden marker with an empty field keeps its frequency.
    form.Rows[0].Enabled = true;
    form.Rows[5].Frequency = "";
    form.Rows[0].LabelType = MarkerOpts::kCustom;
    form.Rows[0].CustomLabel = std::string(40, 'x');
    form.PeakHold = true;
    ASSERT_EQ(marker_options::Validate(form, m), "");
    EXPECT_EQ(m.MarkerEnable[0], 1u);
    EXPECT_EQ(TextFieldView(m.CustomLabel[0]), std::string(29, 'x'));
    EXPECT_EQ(m.MarkerEnable[5], 0u);
    EXPECT_EQ(m.MarkerFreq[5], 1000.0f);
    EXPECT_EQ(m.LabelType[3], 99u) << "a hidden row keeps its type";
    EXPECT_EQ(m.PeakHoldFlag, 1);
}

TEST(DataViewTableTest, RowsScrollRangeAndTexts)
{
    using namespace data_view;
    // Lines 10 … 109 give 101 rows to scroll through (one spare past the end).
    for (const auto& [height, maximum] : {std::pair{180, 101 - 10}, {2000, 0}, {0, 101}})
        EXPECT_EQ(ScrollMaximum(10, 109, height), maximum) << height;
    EXPECT_EQ(ValueRows(218), 11);
    EXPECT_EQ(ValueRows(10), 0);

    EXPECT_EQ(std::vector({ValueHeader(0, 0, false), ValueHeader(2, 0, true), ValueHeader(1, 10, false),
                           ValueHeader(1, 11, false), ValueHeader(1, 12, true)}),
              (std::vector<std::string>{"level", "level", "coherence", "dB", "coherence"}));
    EXPECT_EQ(ValueText(0.5f, 0), "0.500000");
}

} // namespace
