// Pictures of the spectrum plot for a reviewer, under the build folder's
// screenshots/: each amplitude scale, each frequency scale, the two-pane
// coherence mode, markers, and the printed page (PNG and PDF).
#include "QuarnPlotTestSupport.h"

#include "tests/support/Screenshot.h"

#include "plot/PlotPrinting.h"
#include "settings/TextField.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPrinter>

#include <gtest/gtest.h>

namespace {

using namespace quarn_test;

constexpr int kWidth = 1000;
constexpr int kHeight = 520;

std::vector<float> Tone1k(int block)
{
    return ToneWithHarmonics(1000.0, 0.5, 3.0, 7 + block);
}

void Save(TQuarnPlot* plot, const std::string& name)
{
    ASSERT_NE(plot, nullptr) << name;
    plot->UpdateDisplay(0.0f);
    QApplication::processEvents();
    EXPECT_FALSE(SaveScreenshot(*plot, name).empty()) << name;
}

void SetMarker(MarkerOpts& markers, int m, float hz, std::uint32_t label, const char* custom = "")
{
    markers.MarkerEnable[m] = 1;
    markers.MarkerFreq[m] = hz;
    markers.LabelType[m] = label;
    SetTextField(markers.CustomLabel[m], custom);
}

// Two blocks of a signal through the chain, with peak hold, on a plot.
struct Picture {
    std::unique_ptr<SpectralData> Data;
    std::unique_ptr<TQuarnPlot> Plot;
};

Picture TonePicture(PlotRecords& records, const std::function<std::vector<float>(int)>& make = Tone1k)
{
    Picture picture{MakeData(records), nullptr};
    picture.Data->SetPeakHoldMode(2);
    RunBlocks(*picture.Data, 2, make);
    picture.Plot = MakePlot(records, picture.Data.get(), nullptr, kWidth, kHeight);
    return picture;
}

TEST(QuarnPlotScreenshotTest, AmplitudeScales)
{
    const char* names[] = {"quarn_amplitude_linear", "quarn_amplitude_db", "quarn_amplitude_log"};
    for (std::uint16_t amp : {ScalingOpts::kLinear, ScalingOpts::kLogarithmic, ScalingOpts::kLogMagnitude}) {
        PlotRecords records(amp, ScalingOpts::kFftLog);
        Save(TonePicture(records).Plot.get(), names[amp]);
    }
}

TEST(QuarnPlotScreenshotTest, FrequencyScales)
{
    PlotRecords linear(ScalingOpts::kLogarithmic, ScalingOpts::kFftLinear);
    linear.Spectrum.StartFreq = 0.0f;
    linear.Spectrum.StopFreq = 24000.0f;
    const Picture wide = TonePicture(linear);
    Save(wide.Plot.get(), "quarn_frequency_linear");
    // Zoomed in: the scroll bar appears under the pane.
    wide.Plot->SetFrequencyRange(500.0f, 3500.0f);
    Save(wide.Plot.get(), "quarn_frequency_linear_zoomed");

    PlotRecords log(ScalingOpts::kLogarithmic, ScalingOpts::kFftLog);
    log.Spectrum.PlotType = 2;
    Save(TonePicture(log).Plot.get(), "quarn_frequency_log_stepped");

    const char* names[] = {"quarn_third_octave_line", "quarn_third_octave_bars", "quarn_third_octave_stepped"};
    for (std::uint16_t type : {0, 1, 2}) {
        PlotRecords records(ScalingOpts::kLogarithmic, ScalingOpts::kOctave);
        records.Scaling.OctaveNumber = 3;
        records.Spectrum.PlotType = type;
        records.Spectrum.PlotTop = 0.0f;
        records.Spectrum.PlotRange = 100.0f;
        Save(TonePicture(records, [](int block) { return ToneWithHarmonics(1000.0, 0.5, 300.0, 11 + block); })
                 .Plot.get(),
             names[type]);
    }
}

TEST(QuarnPlotScreenshotTest, TwoPaneTransferAndCoherence)
{
    PlotRecords records(ScalingOpts::kLogarithmic, ScalingOpts::kFftLog);
    records.Settings.ChannelProcessing = 11;
    records.Settings.AverageBlocks = {8, 8};
    records.Spectrum.PlotTop = 20.0f;
    records.Spectrum.PlotRange = 80.0f;
    records.Spectrum.PeakHold = 0;
    SpectralData transfer(records.Settings, records.Scaling, 0, false);
    SpectralData coherence(records.Settings, records.Scaling, 0, false);
    transfer.SetName("Transfer Function (Left/Right)");
    coherence.SetName("Coherence");
    RunTransferWithCoherence(transfer, coherence, records, 8);

    auto plot = MakePlot(records, &transfer, &coherence, kWidth, 640);
    ASSERT_NE(plot, nullptr);
    ASSERT_EQ(plot->TraceCount(), 2);
    Save(plot.get(), "quarn_two_pane_coherence");
}

TEST(QuarnPlotScreenshotTest, Markers)
{
    PlotRecords records(ScalingOpts::kLogarithmic, ScalingOpts::kFftLinear);
    records.Spectrum.StartFreq = 0.0f;
    records.Spectrum.StopFreq = 8000.0f;
    records.Spectrum.ShowRMSLevel = 1;
    // Room above the tone for its marker's label.
    records.Spectrum.PlotTop = 20.0f;
    records.Spectrum.PlotRange = 150.0f;
    SetMarker(records.Markers, 0, 1000.0f, MarkerOpts::kFrequencyAndAmplitude);
    SetMarker(records.Markers, 1, 2000.0f, MarkerOpts::kAmplitude);
    SetMarker(records.Markers, 2, 3000.0f, MarkerOpts::kFrequency);
    SetMarker(records.Markers, 3, 5000.0f, MarkerOpts::kCustom, "5th harmonic");
    Save(TonePicture(records).Plot.get(), "quarn_markers");
}

TEST(QuarnPlotScreenshotTest, PrintedPageAsImageAndPdf)
{
    PlotRecords records(ScalingOpts::kLogarithmic, ScalingOpts::kFftLog);
    records.Spectrum.PlotTop = 20.0f;
    records.Spectrum.PlotRange = 150.0f;
    SetMarker(records.Markers, 0, 1000.0f, MarkerOpts::kFrequencyAndAmplitude);
    const Picture picture = TonePicture(records);
    TQuarnPlot* plot = picture.Plot.get();
    ASSERT_NE(plot, nullptr);
    plot->UpdateDisplay(0.0f);
    const PlotAreas screen = plot->Areas();

    // A landscape letter page at 100 dots per inch, for the eye.
    QImage page(1100, 850, QImage::Format_RGB32);
    page.setDotsPerMeterX(3937);
    page.setDotsPerMeterY(3937);
    page.fill(Qt::white);
    PrintOpts options;
    QPainter painter(&page);
    plot->PrintToDC(painter, &options, true, 0);
    painter.end();
    QLabel sheet;
    sheet.setPixmap(QPixmap::fromImage(page));
    sheet.resize(page.size());
    EXPECT_FALSE(SaveScreenshot(sheet, "quarn_printed_page").empty());
    EXPECT_EQ(plot->Areas(), screen);

    // The same page as the print path writes it without a printer.
    const QString pdf = QStringLiteral(TALVENOR_PLOT_SCREENSHOT_DIR "/quarn_printed_page.pdf");
    QDir().mkpath(QFileInfo(pdf).path());
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setResolution(600);
    printer.setPageOrientation(QPageLayout::Landscape);
    ASSERT_TRUE(PrintPlotPage(*plot, printer, options));
    EXPECT_GT(QFileInfo(pdf).size(), 1000);
    EXPECT_EQ(plot->Areas(), screen);
}

} // namespace
