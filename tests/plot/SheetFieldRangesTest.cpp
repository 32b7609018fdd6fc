// Every number a sheet stores in a bounded .cfg float: what the sheet
// accepts comes back unchanged from the file, and what it refuses the
// reader does not keep either.

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "plot/MarkerOptionsForm.h"
#include "plot/PlotOptionsForm.h"
#include "plot/PrintAnnotationFields.h"
#include "platform/NumberText.h"
#include "settings/Calibration.h"
#include "settings/CalibrationMethods.h"
#include "settings/CfgSettingsFile.h"
#include "settings/FloatFieldBounds.h"
#include "settings/FrameSettings.h"
#include "settings/PrintOpts.h"
#include "settings/ProcessingSheet.h"
#include "tests/support/PlatformTestSupport.h"

namespace {

using calibration::Method;

float Typed(const std::string& text)
{
    return ToFloatField(platform::ParseFloatPrefix(text));
}

struct BoundedField {
    const char* name;
    // The value the sheet stores for a typed text, or nothing when it refuses.
    std::function<std::optional<float>(const std::string&)> sheet;
    // The stored value a text stands for, whether the sheet takes it or not.
    std::function<float(const std::string&)> raw;
    std::function<float&(FrameSettings&)> field;
    // Whatever else the sheet sets beside the field (a method, a span type).
    std::function<void(FrameSettings&)> context;
    // Text, whether the sheet takes it (decided by hand).
    std::vector<std::pair<const char*, bool>> texts;
};

BoundedField Calibration(const char* name, Method method, std::vector<std::pair<const char*, bool>> texts)
{
    const bool millivolts = method == Method::kMicrophone || method == Method::kAccelerometer;
    BoundedField f;
    f.name = name;
    f.sheet = [method](const std::string& text) -> std::optional<float> {
        TChannelCalibration record;
        if (!calibration::ApplyChannel(record, method, Typed(text), "", 0).empty())
            return std::nullopt;
        return method == Method::kCalibrator ? record.RefLevel : record.TransducerSensitivityVolts;
    };
    f.raw = [millivolts](const std::string& text) { return millivolts ? Typed(text) / 1000.0f : Typed(text); };
    f.field = [method](FrameSettings& s) -> float& {
        TChannelCalibration& r = s.Calibration[0];
        return method == Method::kCalibrator ? r.RefLevel : r.TransducerSensitivityVolts;
    };
    f.context = [method](FrameSettings& s) { calibration::SelectMethod(s.Calibration[0], method); };
    f.texts = std::move(texts);
    return f;
}

std::optional<float> PlotOptions(const std::string& start, const std::string& stop, bool wantStop)
{
    SpectrumOpts opts;
    PlotOptionsForm form = plot_options::Fill(opts, 1);
    form.Start = start;
    form.Stop = stop;
    if (!plot_options::Validate(form, 1, opts).empty())
        return std::nullopt;
    return wantStop ? opts.StopFreq : opts.StartFreq;
}

std::vector<BoundedField> Fields()
{
    const std::vector<std::pair<const char*, bool>> frequencies = {
        {"1000", true}, {"0.5", true}, {"1000000", true}, {"1000001", false}, {"1e39", false},
        {"inf", false}, {"nan", false}, {"0", false},    {"-20", false},
    };
    std::vector<BoundedField> fields;
    fields.push_back(Calibration("calibrator level", Method::kCalibrator,
                                 {{"94.0", true}, {"200", true}, {"0.5", true}, {"200.5", false}, {"940", false},
                                  {"inf", false}, {"nan", false}, {"0", false}, {"-94", false}}));
    fields.push_back(Calibration("microphone sensitivity", Method::kMicrophone,
                                 {{"12", true}, {"0.0015", true}, {"10000", true}, {"10001", false},
                                  {"0.0001", false}, {"inf", false}, {"-inf", false}, {"0", false}}));
    fields.push_back(Calibration("hydrophone sensitivity", Method::kHydrophone,
                                 {{"-200", true}, {"-240", true}, {"-0.5", true}, {"-240.5", false},
                                  {"-inf", false}, {"0", false}, {"5", false}, {"nan", false}}));
    fields.push_back(Calibration("accelerometer sensitivity", Method::kAccelerometer,
                                 {{"100", true}, {"9999.5", true}, {"20000", false}, {"1e39", false}, {"-1", false}}));

    BoundedField spanStop{"custom span stop", nullptr, Typed, nullptr, nullptr, frequencies};
    spanStop.sheet = [](const std::string& text) -> std::optional<float> {
        if (processing_sheet::CheckCustomSpan(0.25f, Typed(text)))
            return std::nullopt;
        return Typed(text);
    };
    spanStop.field = [](FrameSettings& s) -> float& { return s.Scaling[0].UtilityFreqCustomStop; };
    spanStop.context = [](FrameSettings& s) {
        s.Scaling[0].UtilityFreqSpanType = 2;
        s.Scaling[0].UtilityFreqCustomStart = 0.25f;
    };
    fields.push_back(spanStop);

    // The stop is 1 MHz: a start there is not below it.
    BoundedField spanStart{"custom span start", nullptr, Typed, nullptr, nullptr,
                           {{"1000", true}, {"0.5", true}, {"999999", true}, {"1000000", false}, {"1e39", false},
                            {"inf", false}, {"nan", false}, {"0", false}, {"-20", false}}};
    spanStart.sheet = [](const std::string& text) -> std::optional<float> {
        if (processing_sheet::CheckCustomSpan(Typed(text), 1e6f, 1))
            return std::nullopt;
        return Typed(text);
    };
    spanStart.field = [](FrameSettings& s) -> float& { return s.Scaling[1].UtilityFreqCustomStart; };
    spanStart.context = [](FrameSettings& s) {
        s.Scaling[1].UtilityFreqSpanType = 2;
        s.Scaling[1].UtilityFreqCustomStop = 1e6f;
    };
    fields.push_back(spanStart);

    BoundedField marker{"marker frequency", nullptr, Typed, nullptr, nullptr, frequencies};
    marker.sheet = [](const std::string& text) -> std::optional<float> {
        MarkerOpts opts;
        MarkerOptionsForm form = marker_options::Fill(opts);
        form.Rows[3].Enabled = true;
        form.Rows[3].Frequency = text;
        if (!marker_options::Validate(form, opts).empty())
            return std::nullopt;
        return opts.MarkerFreq[3];
    };
    marker.field = [](FrameSettings& s) -> float& { return s.Markers[1].MarkerFreq[3]; };
    marker.context = [](FrameSettings& s) { s.Markers[1].MarkerEnable[3] = 1; };
    fields.push_back(marker);

    // The start is 1 Hz: a stop of 0.5 Hz is below it.
    BoundedField plotStop{"plot stop frequency", nullptr, Typed, nullptr, nullptr,
                          {{"1000", true}, {"0.5", false}, {"1000000", true}, {"1000001", false}, {"1e39", false},
                           {"inf", false}, {"nan", false}, {"0", false}}};
    plotStop.sheet = [](const std::string& text) { return PlotOptions("1", text, true); };
    plotStop.field = [](FrameSettings& s) -> float& { return s.Spectrum[0].StopFreq; };
    plotStop.context = [](FrameSettings& s) { s.Spectrum[0].StartFreq = 1.0f; };
    fields.push_back(plotStop);

    BoundedField plotStart{"plot start frequency", nullptr, Typed, nullptr, nullptr,
                           {{"20", true}, {"1000000", false}, {"inf", false}, {"0", false}, {"nan", false}}};
    plotStart.sheet = [](const std::string& text) { return PlotOptions(text, "1000000", false); };
    plotStart.field = [](FrameSettings& s) -> float& { return s.Spectrum[0].StartFreq; };
    plotStart.context = [](FrameSettings& s) { s.Spectrum[0].StopFreq = 1e6f; };
    fields.push_back(plotStart);

    BoundedField margin{"print margin", nullptr, Typed, nullptr, [](FrameSettings&) {},
                        {{"0.5", true}, {"0", true}, {"20", true}, {"20.5", false}, {"-1", false}, {"inf", false},
                         {"nan", false}}};
    margin.sheet = [](const std::string& text) -> std::optional<float> {
        PrintOpts opts;
        PrintAnnotationFields fields = AnnotationFieldsFrom(opts);
        fields.Margins[2] = text;
        if (!CheckAnnotationMargins(fields).empty())
            return std::nullopt;
        ApplyAnnotationFields(fields, opts);
        return opts.MarginTop;
    };
    margin.field = [](FrameSettings& s) -> float& { return s.Print.MarginTop; };
    fields.push_back(margin);
    return fields;
}

} // namespace

TEST(SheetFieldRanges, WhatEachSheetAcceptsTheCfgReaderKeepsAndWhatItRefusesTheReaderDoesNotKeep)
{
    const TempFolder folder;
    const std::string path = folder.Path("fields.cfg");
    for (const BoundedField& f : Fields()) {
        for (const auto& [text, accepted] : f.texts) {
            SCOPED_TRACE(std::string(f.name) + " \"" + text + "\"");
            const std::optional<float> stored = f.sheet(text);
            EXPECT_EQ(stored.has_value(), accepted);
            const float value = stored.value_or(f.raw(text));
            if (stored) {
                EXPECT_EQ(*stored, f.raw(text)) << "stored as typed";
            }

            FrameSettings saved;
            f.context(saved);
            f.field(saved) = value;
            WriteText(path, FormatCfgSettings(saved));
            FrameSettings read;
            ASSERT_TRUE(LoadCfgSettings(path, read, {}));
            const bool kept = f.field(read) == value;
            EXPECT_EQ(kept, accepted) << "read back as " << f.field(read);
        }
    }
}

TEST(SheetFieldRanges, RatiosFromTheExtremesTheCalibrationPageAcceptsSurviveAReload)
{
    const TempFolder folder;
    const std::string path = folder.Path("ratios.cfg");
    // Method, typed value, full-scale volts, the ratio worked out by hand.
    const std::tuple<Method, const char*, float, double> cases[] = {
        {Method::kHydrophone, "-240", 10.0f, 1e7},                   // 10 / 10^(-120 / 20)
        {Method::kHydrophone, "-0.5", 0.15625f, 0.15625 / 944060.88}, // 10^(119.5 / 20)
        {Method::kMicrophone, "0.001", 10.0f, 1e7},                   // 10 V / 1 µV/Pa
        {Method::kAccelerometer, "10000", 0.15625f, 0.015625},        // 0.15625 V / 10 V/g
    };
    for (const auto& [method, text, range, ratio] : cases) {
        SCOPED_TRACE(text);
        FrameSettings saved;
        TChannelCalibration& record = saved.Calibration[0];
        ASSERT_EQ(calibration::ApplyChannel(record, method, Typed(text), "", 0), "");
        record.DAQVoltageRange = range;
        calibration::RecomputeCalibration(record, std::nullopt);
        EXPECT_NEAR(record.CalRatio, ratio, ratio * 1e-4);
        WriteText(path, FormatCfgSettings(saved));
        FrameSettings read;
        ASSERT_TRUE(LoadCfgSettings(path, read, {}));
        EXPECT_EQ(read.Calibration[0].CalRatio, record.CalRatio);
        EXPECT_EQ(read.Calibration[0].TransducerSensitivityVolts, record.TransducerSensitivityVolts);
    }
}

TEST(SheetFieldRanges, AnUnchangedSheetStoresWhatItShowedWithoutRounding)
{
    MarkerOpts markers;
    markers.MarkerEnable[0] = 1;
    markers.MarkerFreq[0] = 1234.567f;  // placed by the cursor, not typed
    MarkerOpts markersAfter = markers;
    ASSERT_EQ(marker_options::Validate(marker_options::Fill(markers), markersAfter), "");
    EXPECT_EQ(markersAfter.MarkerFreq[0], 1234.567f);

    SpectrumOpts plot;
    plot.StartFreq = 12.345678f;
    SpectrumOpts plotAfter = plot;
    ASSERT_EQ(plot_options::Validate(plot_options::Fill(plot, 1), 1, plotAfter), "");
    EXPECT_EQ(plotAfter.StartFreq, 12.345678f);

    // A value the usual decimals already show exactly keeps its usual text.
    EXPECT_EQ(FloatFieldText(94.0f, 1), "94.0");
    EXPECT_EQ(FloatFieldText(1000.0f, 2), "1000.00");
    EXPECT_EQ(FloatFieldText(12.5f, 0), "12.5");
    EXPECT_EQ(FloatFieldText(0.0123f, 1), "0.0123");
}

TEST(SheetFieldRanges, NonFiniteAndHugeTextsInThePlotOptionsAndMarkersAreRefusedByNameAndNothingIsStored)
{
    // The field of the plot options page, the name its message starts with.
    const std::pair<std::string PlotOptionsForm::*, const char*> fields[] = {
        {&PlotOptionsForm::Top, "Plot Top"},          {&PlotOptionsForm::Range, "Plot Range"},
        {&PlotOptionsForm::Start, "Start Frequency"}, {&PlotOptionsForm::Stop, "Stop Frequency"},
        {&PlotOptionsForm::Interval, "Update Interval"},
    };
    for (const char* text : {"inf", "-inf", "nan", "1e39", "-1e39"}) {
        for (const auto& [field, name] : fields) {
            const SpectrumOpts before;
            SpectrumOpts opts = before;
            PlotOptionsForm form = plot_options::Fill(opts, 1);
            form.*field = text;
            const std::string message = plot_options::Validate(form, 1, opts);
            EXPECT_EQ(message.rfind(name, 0), 0u) << text << ": " << message;
            EXPECT_EQ(opts, before) << text << " in " << name;
        }

        const MarkerOpts before;
        MarkerOpts markers = before;
        MarkerOptionsForm form = marker_options::Fill(markers);
        form.Rows[5].Enabled = true;
        form.Rows[5].Frequency = text;
        const std::string message = marker_options::Validate(form, markers);
        EXPECT_EQ(message.rfind("Marker", 0), 0u) << text << ": " << message;
        EXPECT_EQ(markers, before) << text;
    }
}
