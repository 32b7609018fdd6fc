#include "DemoPlot.h"

#include "plot/PlotPrinting.h"

#include <QFile>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Page objects of a PDF file: "/Type /Page" but not "/Type /Pages".
int PdfPageCount(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray pdf = file.readAll();
    const QByteArray tag("/Type /Page");
    int pages = 0;
    for (qsizetype at = pdf.indexOf(tag); at >= 0; at = pdf.indexOf(tag, at + 1)) {
        const qsizetype next = at + tag.size();
        if (next >= pdf.size() || pdf[next] != 's')
            ++pages;
    }
    return pages;
}

// Printing at 600 dpi through the print path: an eighth-inch font, no scroll
// bar on paper, one PDF page, and the screen's state restored afterwards.
TEST(PlotPrintingTest, APageAt600DpiUsesAnEighthInchFontAndRestoresTheScreen)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    DemoPlot plot(2);
    plot.ShowScrollBar();
    const PlotAreas screenAreas = plot.Areas();
    const QFont screenFont = plot.LabelFont();
    ASSERT_EQ(plot.LabelFontHeight(), 15);

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(folder.filePath("plot.pdf"));
    printer.setResolution(600);
    PrintOpts options;
    options.MarginLeft = 0.5f;
    ASSERT_TRUE(PrintPlotPage(plot, printer, options));
    EXPECT_EQ(PdfPageCount(folder.filePath("plot.pdf")), 1);

    ASSERT_EQ(plot.Printed.size(), 1u);
    EXPECT_EQ(plot.Printed[0].LabelFontHeight, 75);
    EXPECT_TRUE(plot.Printed[0].Printing);
    EXPECT_EQ(plot.Printed[0].Areas.Plot.left, static_cast<int>(0.5 * 600 + 0.75 * 600));
    EXPECT_EQ(plot.Printed[0].Areas.Pane1.Height(), plot.Printed[0].Areas.Pane2.Height());

    EXPECT_EQ(plot.LabelFontHeight(), 15);
    EXPECT_EQ(plot.LabelFont(), screenFont);
    EXPECT_FALSE(plot.IsPrinting());
    EXPECT_EQ(plot.Areas(), screenAreas);
    EXPECT_EQ(plot.GetScrollBarHeight(), 12);
}

TEST(PlotPrintingTest, WithoutResetAfterThePageLayoutStays)
{
    DemoPlot plot(1);
    const PlotAreas screenAreas = plot.Areas();
    QImage page(1240, 1754, QImage::Format_RGB32);
    page.setDotsPerMeterX(5906);
    page.setDotsPerMeterY(5906);
    page.fill(Qt::white);
    QPainter painter(&page);
    plot.PrintToDC(painter, nullptr, false, 0);
    painter.end();
    EXPECT_EQ(plot.Printed.at(0).LabelFontHeight, 18);
    EXPECT_NE(plot.Areas(), screenAreas);
    EXPECT_EQ(plot.LabelFontHeight(), 15);
    plot.ResetView();
    EXPECT_EQ(plot.Areas(), screenAreas);
}

} // namespace
