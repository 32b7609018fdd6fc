// The overlay column of the spectrum plot and the overlay dialogs, driven by
// real clicks: Set stores the live spectrum, On shows a slot, the composite
// is built and shown, files drawn at the rows worked out by hand, on screen
// and on paper; the dialogs' checks.
#include "QuarnPlotTestSupport.h"

#include "plot/TCompositeOverlayDialog.h"
#include "plot/TOverlayDialog.h"
#include "plot/TOverlaySourceSelectDialog.h"
#include "plot/overlay/OverlaySlots.h"
#include "plot/QuarnPlotLayout.h"
#include "settings/PrintOpts.h"
#include "settings/DataPaths.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

namespace {

using namespace quarn_test;

// Answers the next modal dialog once it is open: accept, or reject.
void AnswerNextDialog(bool accept, const std::function<void(QDialog&)>& before = {})
{
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, accept, before] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            poll->deleteLater();
            if (before)
                before(*dialog);
            if (accept)
                dialog->accept();
            else
                dialog->reject();
        }
    });
    poll->start(10);
}

// A plot of a 1 kHz tone at -20 dB over a -100 dB floor, dB axis 0 … -140,
// with the overlay folder in a temporary directory.
struct OverlayPlot : TonePlot {
    OverlayPlot() : TonePlot(ScalingOpts::kLogarithmic, ScalingOpts::kFftLog, -20.0f, -100.0f)
    {
        records.Spectrum.PeakHold = 0;
        paths.Set(DataPaths::kOverlay, Folder());
        inUse = paths;
        Make(1000, 520).SetDataPaths(&paths, &inUse);
    }
    std::string Folder() const { return dir.path().toStdString(); }
    std::string File(const std::string& name) const { return Folder() + "/" + name; }
    // The pane row of a dB value, as the axis maps it: 0 dB at the top,
    // -140 dB at the bottom.
    int Y(double dB) const
    {
        const PlotRect r = plot->PaneRect(0);
        return r.bottom - static_cast<int>(r.Height() * (dB + 140.0) / 140.0);
    }

    QTemporaryDir dir;
    DataPaths paths;
    DataPaths inUse;
};

TEST(OverlayPlot, SetStoresTheSpectrumOnShowsFilesAtTheirRowsAndCIsTheComposite)
{
    OverlayPlot o;
    TQuarnPlot& plot = *o.plot;

    // Set on slot 2 with peak hold off: no question, the live spectrum.
    QTest::mouseClick(plot.OverlayStoreButton(0, 1), Qt::LeftButton);
    EXPECT_EQ(plot.OverlayTitle(0, 1), "Overlay 2");
    // 1000 − 62 − 170 columns: the floor in every column but the tone's.
    const int width = plot.PaneRect(0).Width();
    ASSERT_EQ(width, 768);
    const std::vector<PlotPoint>& stored = plot.OverlayPoints(0, 1);
    EXPECT_EQ(PointsOnRow(stored, o.Y(-100.0)), width);
    EXPECT_EQ(PointsOnRow(stored, o.Y(-20.0)), 1);

    // Two hand-made files, shown with their On boxes; slot 1 with +10 dB.
    WriteText(o.File("L1.ovl"), ";Flat -40\n20\t-40\n1000\t-40\n24000\t-40\n");
    WriteText(o.File("L3.ovl"), ";Flat -60\r\n20\t-60\r\n1000\t-60\r\n24000\t-60\r\n");
    o.records.Spectrum.Overlay[0].Offset1 = 10.0f;
    QTest::mouseClick(plot.OverlayShowBox(0, 0), Qt::LeftButton);
    QTest::mouseClick(plot.OverlayShowBox(0, 2), Qt::LeftButton);
    EXPECT_EQ(PointsOnRow(plot.OverlayPoints(0, 0), o.Y(-30.0)), width + 1) << "every column at -40 + 10 dB";
    EXPECT_EQ(PointsOnRow(plot.OverlayPoints(0, 2), o.Y(-60.0)), width + 1);
    EXPECT_EQ(plot.OverlayTitle(0, 2), "Flat -60");

    // C: the average of 1 and 3 as amplitudes, 20·log10((10^-1.5 + 10^-3) / 2)
    // = -35.67 dB, through the composite dialog; drawn white, as its default
    // black would vanish on the black pane.
    o.records.Spectrum.Overlay[6].Color = 0xFFFFFF;
    AnswerNextDialog(true, [](QDialog& d) {
        auto& dialog = dynamic_cast<TCompositeOverlayDialog&>(d);
        dialog.AverageButton()->setChecked(true);
        dialog.AverageBox(0)->setChecked(true);
        dialog.AverageBox(2)->setChecked(true);
    });
    QTest::mouseClick(plot.OverlayStoreButton(0, 6), Qt::LeftButton);
    EXPECT_EQ(o.records.Spectrum.IncludeInAverage1[0], 1);
    EXPECT_EQ(PointsOnRow(plot.OverlayPoints(0, 6), o.Y(-35.67)), width + 1);

    // On again hides a slot.
    QTest::mouseClick(plot.OverlayShowBox(0, 2), Qt::LeftButton);
    EXPECT_TRUE(plot.OverlayPoints(0, 2).empty());

    // A composite that can no longer be formed keeps its file: slot 3 is
    // gone, one input is left.
    const std::string composite = ReadText(o.File("L7.ovl"));
    std::filesystem::remove(o.File("L3.ovl"));
    MessageLog messages;
    AnswerNextDialog(true);
    QTest::mouseClick(plot.OverlayStoreButton(0, 6), Qt::LeftButton);
    EXPECT_EQ(messages.texts.size(), 1u) << "the composite could not be formed";
    EXPECT_EQ(ReadText(o.File("L7.ovl")), composite);
}

// A letter page at 100 dpi as the plot prints it.
QImage PrintedPage(TQuarnPlot& plot)
{
    QImage page(1100, 850, QImage::Format_RGB32);
    page.setDotsPerMeterX(3937);
    page.setDotsPerMeterY(3937);
    page.fill(Qt::white);
    PrintOpts options;
    QPainter painter(&page);
    plot.PrintToDC(painter, &options, true, 0);
    return page;
}

// Whether anything but white lies in the band where the title line of the
// printed page's pane stands: the pane's top 1.2 inches below the 1-inch
// margin, a font an eighth of an inch high above it.
bool TitleBandInked(const QImage& page)
{
    const PlotAreas areas = PrintedPlotAreas(1100, 850, 100, 100, PrintOpts{}, 1);
    for (int y = areas.Pane1.top - 12 - 3; y < areas.Pane1.top - 3; ++y)
        for (int x = areas.Pane1.left; x < areas.Pane1.right; ++x)
            if (page.pixel(x, y) != qRgb(255, 255, 255))
                return true;
    return false;
}

TEST(OverlayPlot, OverlaysTheirLegendAndTheTitleLineTheSettingsFileAsksForArePrinted)
{
    OverlayPlot o;
    WriteText(o.File("L1.ovl"), ";Reference mic\n20\t-40\n1000\t-40\n24000\t-40\n");
    o.records.Spectrum.Overlay[0].Show1 = 1;
    o.records.Spectrum.Overlay[0].Color = 0xFF0000;
    o.plot->ResetView();
    const std::string ini = o.File("Talvenor.ini");
    o.plot->SetIniPath(ini);
    const QImage page = PrintedPage(*o.plot);
    // The blue overlay (0x00BBGGRR) across the page's pane, and its sample
    // line in the legend beside it: 150/600 inch at 100 dpi, both ends.
    std::vector<int> blueRows;
    for (int y = 0; y < page.height(); ++y) {
        int blue = 0;
        for (int x = 0; x < page.width(); ++x)
            blue += page.pixelColor(x, y) == QColor(0, 0, 255) ? 1 : 0;
        if (blue > 0)
            blueRows.push_back(blue);
    }
    ASSERT_EQ(blueRows.size(), 2u);
    EXPECT_EQ(blueRows[0], 26) << "the legend's sample line";
    EXPECT_GT(blueRows[1], 600) << "the overlay across the pane";
    EXPECT_FALSE(o.plot->OverlayPoints(0, 0).empty()) << "screen points again after printing";

    EXPECT_TRUE(TitleBandInked(page)) << "no settings file: the title is printed";
    WriteText(ini, "[FileIO]\r\nPrintPlotTitle=False\r\n");
    EXPECT_FALSE(TitleBandInked(PrintedPage(*o.plot)));
}

TEST(OverlayDialogs, OverlayOptionsChecksEverythingBeforeWritingAFile)
{
    OverlayPlot o;
    WriteText(o.File("L2.ovl"), ";Reference\n20\t-40\n1000\t-40\n24000\t-40\n");
    SpectrumOpts copy = o.records.Spectrum;
    TOverlayDialog dialog(nullptr, &copy, o.Folder(), 0, 1, 1, &o.inUse, {});
    EXPECT_EQ(dialog.LegendEdit(1)->text(), QStringLiteral("Reference"));

    MessageLog messages;
    dialog.LegendEdit(0)->setText(QStringLiteral("Typed first"));
    dialog.OffsetEdit(3)->setText(QStringLiteral("100.5"));
    dialog.accept();
    EXPECT_EQ(messages.texts, std::vector<std::string>{"Overlay Offset must be between -100 and +100 dB"});
    EXPECT_FALSE(std::filesystem::exists(o.File("L1.ovl"))) << "no title written before the checks pass";
    dialog.OffsetEdit(3)->setText(QStringLiteral("99.5"));
    dialog.LegendSizeEdit()->setText(QStringLiteral("24"));

    // Load... imports a microphone file into slot 5; a broken one changes nothing.
    WriteText(o.File("mic.mic"), ";Mic 4190\n20\t0\n1000\t0.5\n20000\t-2\n");
    WriteText(o.File("bad.mic"), ";Bad\n20\t0\n");
    std::string chosen = o.File("bad.mic");
    TOverlayDialog::SetFileChooser([&chosen](QWidget*, bool, const QString&) { return QString::fromStdString(chosen); });
    dialog.LoadButton(4)->click();
    EXPECT_FALSE(std::filesystem::exists(o.File("L5.ovl")));
    EXPECT_EQ(messages.texts.size(), 2u);
    chosen = o.File("mic.mic");
    dialog.OffsetEdit(4)->setText(QStringLiteral("12"));
    dialog.LoadButton(4)->click();
    TOverlayDialog::SetFileChooser({});
    EXPECT_EQ(dialog.LegendEdit(4)->text(), QStringLiteral("Mic 4190"));
    EXPECT_EQ(dialog.OffsetEdit(4)->text(), QStringLiteral("0.0"));
    EXPECT_EQ(overlay_slots::ReadTitle(o.File("L5.ovl")), "Mic 4190");

    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(copy.OverlayLegendSize, 24);
    EXPECT_FLOAT_EQ(copy.Overlay[3].Offset1, 99.5f);
    EXPECT_EQ(ReadText(o.File("L1.ovl")), ";Typed first\r\n") << "a slot without data keeps its legend";
    EXPECT_EQ(overlay_slots::ReadTitle(o.File("L2.ovl")), "Reference");
}

// The averaging path and the source question of Set are driven through the
// plot (here and in the main window's test); here subtraction and refusals.
TEST(OverlayDialogs, CompositeChecksAndSourceChoice)
{
    MessageLog messages;
    CompositeSetup setup{1, {}, 3, 1};
    TCompositeOverlayDialog composite(nullptr, &setup, {});
    EXPECT_TRUE(composite.ColumnButton(0, 1)->isChecked() && composite.ColumnButton(1, 3)->isChecked())
        << "4 minus 2";
    EXPECT_FALSE(composite.AverageBox(0)->isEnabled());
    composite.ColumnButton(0, 3)->setChecked(true);
    composite.accept();
    composite.AverageButton()->setChecked(true);
    composite.AverageBox(2)->setChecked(true);
    composite.accept();
    EXPECT_EQ(messages.texts, (std::vector<std::string>{"Cannot Subtract an overlay from itself",
                                                        "At least 2 overlays must be selected for averaging"}));
    EXPECT_EQ(setup, (CompositeSetup{1, {}, 3, 1})) << "refused: the caller's copy is untouched";

    std::uint8_t choice = 1;
    TOverlaySourceSelectDialog source(nullptr, &choice);
    EXPECT_TRUE(source.PeakHoldButton()->isChecked());
    source.SpectralButton()->setChecked(true);
    source.reject();
    EXPECT_EQ(choice, 1) << "Cancel leaves the choice";
}

} // namespace
