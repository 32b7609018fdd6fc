// The plain rules behind the plot dialogs: the spinner's step arithmetic
// and formats, the plot options' checks and defaults, the marker checks,
// and the data-values table's rows and texts.
// The arithmetic behind the spectrum plot's commands, against hand-worked
// figures: zoom spans, autoscale ends, what the plot-top and plot-range
// fields store and how their spinners step.
#include "plot/DataViewTable.h"
#include "plot/LimitStep.h"
#include "plot/MarkerOptionsForm.h"
#include "plot/PlotAutoscale.h"
#include "plot/PlotFieldRules.h"
#include "plot/PlotOptionsForm.h"
#include "plot/PlotZoom.h"
#include "plot/ToolStripFields.h"
#include "settings/PlotAmplitudeLimits.h"
#include "settings/SpectrumOpts.h"
#include "settings/TextField.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using plot_zoom::ZoomIn2x;
using plot_zoom::ZoomOut2x;
using plot_zoom::ZoomFull;
using plot_zoom::ZoomToBins;

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
        {5.0f, LimitStep::kAdd, 300.0f, -300.0f, 2, "-298", false, "-300.00"},
        {5.0f, LimitStep::kAdd, 300.0f, -300.0f, 2, "12.5 dB", true, "17.50"},
        // Text that is no number reads 0.
        {5.0f, LimitStep::kAdd, 300.0f, -300.0f, 1, "N/A", false, "-5.0"},
        {10.0f, LimitStep::kMultiply, 1e4f, 1e-5f, 5, "0", true, "1.00000"},
        {10.0f, LimitStep::kMultiply, 1e4f, 1e-5f, 5, "0", false, "0.00001"},
        {2.0f, LimitStep::kMultiply, 100.0f, 1e-6f, 6, "0.0001", false, "0.000050"},
        {2.0f, LimitStep::kMultiply, 100.0f, 1e-6f, 6, "80", true, "100.000000"},
        {1.0f, LimitStep::kAdd, 1e7f, 1e-9f, 12, "12344", true, "1.2e+04"},
        // Ten decimals or more are written with an exponent.
        {1.0f, LimitStep::kAdd, 1e7f, 1e-9f, 10, "12344", true, "1.2e+04"},
        {1.0f, LimitStep::kAdd, 1e7f, 1e-9f, 9, "2", true, "3.000000000"},
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

// A field is read as its 39-character buffer holds it: "1500" at the end of
// 39 characters is 1500; pushed one further, the buffer ends at "150".
TEST(PlotOptionsFormTest, AFieldIsReadUpToItsBuffersThirtyNineCharacters)
{
    for (const auto& [zeros, stored] : {std::pair{35, 1500.0f}, std::pair{36, 150.0f}}) {
        SpectrumOpts opts = SpectrumOpts::FrameDefaults(0);
        PlotOptionsForm form = plot_options::Fill(opts, 1);
        form.Start = "20";
        form.Stop = std::string(static_cast<std::size_t>(zeros), '0') + "1500";
        ASSERT_EQ(plot_options::Validate(form, 1, opts), "") << zeros;
        EXPECT_EQ(opts.StopFreq, stored) << zeros;
    }
}

TEST(PlotOptionsFormTest, AFilledFormStoresItsRecordBackLinearKeepsTheRangeAndDefaultsReset)
{
    SpectrumOpts expected = SpectrumOpts::FrameDefaults(0);
    expected.PlotType = 2;
    expected.DrawThickSpectrum = expected.DrawThickPeakHold = expected.DrawThickOverlays = expected.DrawThickMarkers = 1;
    expected.PlotTop = -10.0f;
    expected.PlotRange = 60.0f;
    expected.StartFreq = 500.0f;
    expected.StopFreq = 1500.0f;
    expected.PeakHold = 4;
    SpectrumOpts opts = SpectrumOpts::FrameDefaults(0);
    ASSERT_EQ(plot_options::Validate(plot_options::Fill(expected, 1), 1, opts), "");
    EXPECT_EQ(opts, expected);

    // Texts as the sheet shows them: the interval "%6.3f", a dB range "%3.1f",
    // a dB top with two decimals.
    SpectrumOpts shown = expected;
    shown.IntervalSecs = 0.25f;
    shown.PlotRange = 5.0f;
    const PlotOptionsForm texts = plot_options::Fill(shown, 1);
    EXPECT_EQ(std::vector({texts.Interval, texts.Range, texts.Top}), std::vector<std::string>({" 0.250", "5.0", "-10.00"}));

    // A typed field is read from its first 39 characters, as it holds.
    for (const auto& [typed, stored] : {std::pair{std::string(38, '0') + "7", 7.0f},
                                        {std::string(38, '0') + "75", 7.0f}}) {
        PlotOptionsForm form = plot_options::Fill(opts, 1);
        form.Start = typed;
        form.Stop = "20000";
        SpectrumOpts read = opts;
        ASSERT_EQ(plot_options::Validate(form, 1, read), "") << typed;
        EXPECT_EQ(read.StartFreq, stored) << typed;
    }

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

    // The sheet's Defaults button resets the form and puts the colours in the record at once.
    opts.LineColor = 0x123456;
    PlotOptionsForm left = plot_options::Fill(opts, 2);
    plot_options::ApplyDefaults(left, opts, 0);
    EXPECT_EQ(left.Start, "900");
    EXPECT_EQ(opts.LineColor, 0x00FF00u);

    // Every field Defaults sets, from a form with each the other way: the
    // left plot's dB defaults, the right plot's log ones with thick lines.
    for (const int channel : {0, 1}) {
        const bool right = channel == 1;
        PlotOptionsForm form;
        form.PlotType = 2;
        form.PeakHold = 0;
        std::fill(std::begin(form.Thick), std::end(form.Thick), !right);
        SpectrumOpts colours;
        plot_options::ApplyDefaults(form, colours, channel);
        PlotOptionsForm want;
        want.PlotType = 0;
        want.GridX = want.GridY = want.ShowToolbar = want.ShowOverlayControls = true;
        want.GrabCursor = want.PowerMeter = true;
        std::fill(std::begin(want.Thick), std::end(want.Thick), right);
        want.Top = right ? "1.0" : "100.0";
        want.Range = right ? "0.0001" : "100.0";
        want.Start = right ? "1.0" : "900";
        want.Stop = right ? "500.0" : "95000.0";
        want.SpecificInterval = true;
        want.Interval = "0.020";
        want.PeakHold = 2;
        EXPECT_EQ(form, want) << channel;
        EXPECT_EQ(std::vector({colours.BackgroundColor, colours.LineColor, colours.PeakColor, colours.MarkerColor,
                               colours.GridColor}),
                  std::vector<std::uint32_t>({0x000000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x808080}));
    }
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
        // A log bottom at or above the top whose default bottom is the top
        // itself: 80 dB under the top, 1e-8, raised to the least, 1e-6; the
        // top stays. Under a top of 0.5 the default 1e-4 does.
        {2, 0.0001f, 5.0f, 0.0001f, 1e-6f},   {2, 0.5f, 0.5f, 0.5f, 0.0001f},
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

// The tool strip's fields for each amplitude scale: the texts and the
// spinners' limits, steps and decimals; a log top with three decimals at
// creation and four afterwards.
TEST(ToolStripFieldsTest, EachScaleShowsItsTopAndRangeAndSetsItsSpinners)
{
    struct Case {
        std::uint16_t amp;
        float top, range;
        bool atCreation;
        const char* topText;
        SpinSetup topSpin;
        const char* rangeText;
        bool rangeEnabled;
        bool rangeSpinChanged;
        SpinSetup rangeSpin;
        const char* caption;
    };
    const Case cases[] = {
        {0, 2.5f, 60.0f, true, "2.500", {1e7f, 1e-9f, 1.0f, false, 3}, "N/A", false, false, {}, "Plot Range:"},
        {1, -10.0f, 80.0f, false, "-10.00", {300.0f, -400.0f, 5.0f, false, 2}, "80.0", true, true,
         {400.0f, -400.0f, 5.0f, false, 2}, "Plot Range:"},
        {2, 100.0f, 1e-4f, true, "100.000", {10000.0f, 1e-6f, 2.0f, true, 4}, "0.000100", true, true,
         {100.0f, 1e-6f, 2.0f, true, 6}, "Plot Bottom:"},
        {2, 100.0f, 1e-4f, false, "100.0000", {10000.0f, 1e-6f, 2.0f, true, 4}, "0.000100", true, true,
         {100.0f, 1e-6f, 2.0f, true, 6}, "Plot Bottom:"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.topText);
        const ToolStripFields f = FieldsForAmpScale(c.amp, c.top, c.range, c.atCreation);
        EXPECT_EQ(f.TopText, c.topText);
        EXPECT_EQ(f.TopSpin, c.topSpin);
        EXPECT_EQ(f.RangeText, c.rangeText);
        EXPECT_EQ(std::pair(f.RangeEnabled, f.RangeSpinChanged), std::pair(c.rangeEnabled, c.rangeSpinChanged));
        if (c.rangeSpinChanged) {
            EXPECT_EQ(f.RangeSpin, c.rangeSpin);
        }
        EXPECT_EQ(f.RangeCaption, c.caption);
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
    ASSERT_EQ(marker_options::Validate(form, m), "");
    EXPECT_EQ(TextFieldView(m.CustomLabel[0]), std::string(29, 'x'));
    EXPECT_EQ(m.MarkerEnable[5], 0u);
    EXPECT_EQ(m.MarkerFreq[5], 1000.0f);
    EXPECT_EQ(m.LabelType[3], 99u) << "a hidden row keeps its type";
}

// A typed frequency is read from its first 40 characters, as its field
// holds: a 41st digit is not part of it.
TEST(MarkerOptionsFormTest, AFrequencyIsReadFromItsFirstFortyCharacters)
{
    struct Case {
        std::string text;
        std::string message;
        float stored;
    } cases[] = {
        {std::string(39, '0') + "5", "", 5.0f},
        {std::string(39, '0') + "50", "", 5.0f},
        {std::string(40, '0') + "5", marker_options::kFrequencyMessage, 1000.0f},
        {std::string(36, ' ') + "1250", "", 1250.0f},
    };
    for (const Case& c : cases) {
        MarkerOpts m;
        MarkerOptionsForm form = marker_options::Fill(m);
        form.Rows[2].Enabled = true;
        form.Rows[2].Frequency = c.text;
        EXPECT_EQ(marker_options::Validate(form, m), c.message) << c.text;
        EXPECT_EQ(m.MarkerFreq[2], c.stored) << c.text;
    }
    // The peak-hold box is stored as the file's 1 or 0.
    for (const bool hold : {true, false}) {
        MarkerOpts m;
        m.PeakHoldFlag = hold ? 0 : 1;
        MarkerOptionsForm form = marker_options::Fill(m);
        EXPECT_EQ(form.PeakHold, !hold);
        form.PeakHold = hold;
        ASSERT_EQ(marker_options::Validate(form, m), "");
        EXPECT_EQ(m.PeakHoldFlag, hold ? 1u : 0u);
    }
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

TEST(PlotZoom, SpansMoveByQuartersWithinTheData)
{
    const BinSpan data{0, 1000};
    struct Case {
        const char* what;
        std::optional<BinSpan> got;
        std::optional<BinSpan> want;
    } cases[] = {
        {"in: 10 bins lose a quarter (2) each end", ZoomIn2x({50, 60}), BinSpan{52, 58}},
        {"in: 3 bins stay", ZoomIn2x({50, 53}), std::nullopt},
        {"in: 4 bins lose 1 each end", ZoomIn2x({50, 54}), BinSpan{51, 53}},
        {"out: 100 … 200 gains 25 each end", ZoomOut2x({100, 200}, data), BinSpan{75, 225}},
        {"out: a quarter past the start stops at it", ZoomOut2x({10, 90}, data), BinSpan{0, 110}},
        {"out: a quarter past the end stops at it", ZoomOut2x({900, 990}, data), BinSpan{878, 1000}},
        {"out: the whole span stays", ZoomOut2x({0, 1000}, data), std::nullopt},
        {"out: data not starting at 0", ZoomOut2x({3, 43}, {1, 1000}), BinSpan{1, 53}},
        {"full: already full", ZoomFull({0, 1000}, data), std::nullopt},
        {"drag: 3 bins is no zoom", ZoomToBins(100, 103), std::nullopt},
        {"drag: 4 bins zooms", ZoomToBins(100, 104), BinSpan{100, 104}},
        {"drag: reversed is no zoom", ZoomToBins(104, 100), std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.got, c.want) << c.what;
}

TEST(PlotAutoscale, RoundsToStepsAndGivesTopAndRange)
{
    using plot_autoscale::RoundedEnds;
    using plot_autoscale::ScaleFromEnds;
    struct Case {
        const char* what;
        std::uint16_t scale;
        float max, min;
        float top, range;  // the record's PlotTop and PlotRange afterwards
    } cases[] = {
        // Span 3 → step 1: top −38, bottom −42.
        {"dB, narrow span", 1, -38.0f, -41.0f, -38.0f, 4.0f},
        // Positive peak rounds up a step: 94.3 → 100, −12 → −20.
        {"dB, positive peak", 1, 94.3f, -12.0f, 100.0f, 120.0f},
        // Span 250 → range capped at 200.
        {"dB, range above 200", 1, 120.0f, -130.0f, 130.0f, 200.0f},
        // Span 0.5 → step 0.1: top 20.4, bottom 19.8 → range 0.6 → made 10.
        {"dB, range below 1", 1, 20.35f, 19.85f, 20.4f, 10.0f},
        {"linear, 0.037", 0, 0.037f, 0.0f, 0.1f, 55.0f},
        {"linear, 250", 0, 250.0f, 1.0f, 300.0f, 55.0f},
        // Log: top 40; bottom a decade under 0.0023's decade (0.01) = 0.001.
        {"log", 2, 37.0f, 0.0023f, 40.0f, 0.001f},
    };
    for (const Case& c : cases) {
        const auto ends = RoundedEnds(c.scale, c.max, c.min, -1.0f);
        ASSERT_TRUE(ends) << c.what;
        const auto scale = ScaleFromEnds(c.scale, *ends, 55.0f);
        EXPECT_NEAR(scale.PlotTop, c.top, 1e-4f * std::fabs(c.top)) << c.what;
        EXPECT_NEAR(scale.PlotRange, c.range, 1e-4f * std::fabs(c.range)) << c.what;
    }
    // No meaningful scale: a flat spectrum, or values that are no numbers.
    EXPECT_FALSE(RoundedEnds(1, -40.0f, -40.0f, 0.0f));
    EXPECT_FALSE(RoundedEnds(0, 0.0f, 0.0f, 0.0f));
    EXPECT_FALSE(RoundedEnds(1, NAN, -40.0f, 0.0f));
    // A linear scale keeps the caller's bottom.
    EXPECT_EQ(RoundedEnds(0, 0.5f, 0.0f, -7.0f)->Bottom, -7.0f);
}

TEST(PlotFieldRules, TypedValuesStoreWithinTheScaleAndSetTheSpinner)
{
    using plot_fields::PlotRangeChanged;
    using plot_fields::PlotTopChanged;
    struct Case {
        const char* what;
        plot_fields::FieldChange got;
        std::optional<float> stored;
        float step;
        int decimals;
    } cases[] = {
        {"linear top 0.05 → step 0.01, 5 decimals", PlotTopChanged(0, "0.05", 0), 0.05f, 0.01f, 5},
        {"linear top 1.1 → step 0.1", PlotTopChanged(0, "1.1", 0), 1.1f, 0.1f, 4},
        {"linear top 1.2 → step 1", PlotTopChanged(0, "1.2", 0), 1.2f, 1.0f, 3},
        {"linear top 5e4 → step 1e4, 0 decimals", PlotTopChanged(0, "5e4", 0), 5e4f, 1e4f, 0},
        {"linear top 1e-9 → step 1e-8", PlotTopChanged(0, "1e-9", 0), 1e-9f, 1e-8f, 7},
        {"linear top 1e-7 → step 1e-8", PlotTopChanged(0, "1e-7", 0), 1e-7f, 1e-8f, 7},
        {"linear top 50 → step 10, 2 decimals", PlotTopChanged(0, "50", 0), 50.0f, 10.0f, 2},
        {"linear top 500 → step 100, 1 decimal", PlotTopChanged(0, "500", 0), 500.0f, 100.0f, 1},
        {"linear top 0.005 → step 0.001, 6 decimals", PlotTopChanged(0, "0.005", 0), 0.005f, 0.001f, 6},
        {"dB top beyond the axis", PlotTopChanged(1, "1e9", 60), 300.0f, 5.0f, 2},
        {"dB top, no number reads 0", PlotTopChanged(1, "abc", 60), 0.0f, 5.0f, 2},
        {"log top 0 → the smallest", PlotTopChanged(2, "0", 1e-3f), 1e-6f, 2.0f, 4},
        {"dB range a billion", PlotRangeChanged(1, "1000000000", 0), 300.0f, 5.0f, 2},
        {"log bottom", PlotRangeChanged(2, "0.001", 100), 0.001f, 2.0f, 6},
        {"log bottom 0 → the smallest", PlotRangeChanged(2, "0", 100), 1e-6f, 2.0f, 6},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(c.got.Stored.has_value(), c.stored.has_value()) << c.what;
        EXPECT_FLOAT_EQ(*c.got.Stored, *c.stored) << c.what;
        EXPECT_FLOAT_EQ(c.got.Spin.Step, c.step) << c.what;
        EXPECT_EQ(c.got.Spin.Decimals, c.decimals) << c.what;
    }
    // Nothing stored: a linear axis has no range; a number that is not finite.
    EXPECT_FALSE(PlotRangeChanged(0, "10", 0).Stored);
    EXPECT_FALSE(PlotTopChanged(1, "nan", 0).Stored);
    EXPECT_FALSE(PlotTopChanged(1, "inf", 0).Stored);
    // The log top's spinner stops at ten times the bottom.
    EXPECT_FLOAT_EQ(PlotTopChanged(2, "1", 0.01f).Spin.Minimum, 0.1f);
}

} // namespace
