// Printed pages: where the header, titles and comment block stand, what the
// annotation dialog's fields store, and a two-plot job rendered from its PDF.
#include "DemoPlot.h"
#include "plot/PlotMarkLines.h"
#include "plot/PlotPointers.h"
#include "plot/PlotPrinting.h"
#include "plot/PlotScroll.h"
#include "plot/PrintAnnotationFields.h"
#include "plot/PrintPageParts.h"
#include "settings/PrintOpts.h"
#include "settings/TextField.h"

#include <QApplication>
#include <QFocusEvent>
#include <QImage>
#include <QPageSize>
#include <QPrinter>
#include <QScrollBar>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

QImage Shot(QWidget& widget)
{
    QApplication::processEvents();
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QRgb Inverted(QRgb c)
{
    return qRgb(255 - qRed(c), 255 - qGreen(c), 255 - qBlue(c));
}

TEST(TPlotBaseTest, TheCursorLeavesNothingBehindTheScrollBarSitsInTheLowestFrameAndScrollsAndTheBitmapIsFramed)
{
    DemoPlot Plot(1);
    Plot.show();
    const QImage before = Shot(Plot);
    const PlotRect pane = Plot.Areas().Pane1;
    const int x = pane.left + 100;
    Plot.OnLButtonDown({}, x, pane.top + 20);
    ASSERT_TRUE(Plot.Cursor().Tracking());
    const PlotPoint at = Plot.Cursor().LastPoint();
    // Pulled to the plot's own row.
    EXPECT_EQ(at, (PlotPoint{x, pane.top + DemoPlot::kPulledRow}));

    const QImage during = Shot(Plot);
    EXPECT_EQ(during.pixel(pane.left + 10, at.y), Inverted(before.pixel(pane.left + 10, at.y)));
    EXPECT_EQ(during.pixel(x, pane.bottom - 3), Inverted(before.pixel(x, pane.bottom - 3)));
    // One pixel wide and high.
    EXPECT_EQ(during.pixel(x + 1, pane.bottom - 3), before.pixel(x + 1, pane.bottom - 3));
    EXPECT_EQ(during.pixel(pane.left + 10, at.y + 1), before.pixel(pane.left + 10, at.y + 1));
    // The readout labels: black outline, white inside, above and left of the pane.
    const PlotRect xLabel = XReadoutRect(pane, x, 90, 17);
    EXPECT_EQ(during.pixel(xLabel.left, xLabel.top), qRgb(0, 0, 0));
    EXPECT_EQ(during.pixel(xLabel.left + 2, xLabel.bottom - 2), qRgb(255, 255, 255));
    // A one-pixel outline: white from the second pixel in.
    EXPECT_EQ(during.pixel(xLabel.left + 1, xLabel.top + 1), qRgb(255, 255, 255));
    EXPECT_EQ(during.pixel(xLabel.right - 2, xLabel.bottom - 2), qRgb(255, 255, 255));
    const PlotRect yLabel = YReadoutRect(pane, at.y, 58, 17);
    EXPECT_EQ(during.pixel(yLabel.right - 1, yLabel.top), qRgb(0, 0, 0));

    // Released outside the pane, far from where the marks are.
    Plot.OnLButtonUp({}, 5, 5);
    EXPECT_FALSE(Plot.Cursor().Tracking());
    EXPECT_EQ(Shot(Plot), before);

    // Focus loss ends a drag, leaving nothing behind.
    Plot.OnLButtonDown(Qt::ShiftModifier, pane.left + 40, pane.top + 40);
    ASSERT_TRUE(Plot.Cursor().HarmonicMode());
    QFocusEvent focusOut(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(&Plot, &focusOut);
    EXPECT_FALSE(Plot.Cursor().Tracking());
    EXPECT_EQ(Shot(Plot), before);

    // A plot never closes itself.
    EXPECT_FALSE(Plot.close());
    EXPECT_TRUE(Plot.isVisible());

    const PlotRect plot = Plot.Areas().Plot;
    Plot.ShowScrollBar();
    EXPECT_EQ(Plot.Areas().Plot.bottom, plot.bottom - 12);
    EXPECT_EQ(Plot.ScrollBar()->geometry(), QRect(plot.left, plot.bottom - 12, plot.Width(), 12));
    // The span follows the bar by pages and the thumb, not a thumb still
    // dragged: a page is a quarter of the span, rounded; unknown notices stay put.
    EXPECT_EQ(ScrollTargetPosition(plot_scroll::kPageRight, 10, 103, 0), 35);
    EXPECT_EQ(ScrollTargetPosition(9, 10, 100, 77), 10);
    Plot.OnHScroll(plot_scroll::kThumbTrack, 40);
    EXPECT_EQ(Plot.SpanStart(), 0);
    Plot.OnHScroll(plot_scroll::kThumbPosition, 40);
    EXPECT_EQ(Plot.SpanEnd(), 140);
    EXPECT_EQ(Plot.ScrollPosition(), 40);
    Plot.OnHScroll(plot_scroll::kPageLeft, 0);
    EXPECT_EQ(Plot.SpanStart(), 15);
    Plot.OnHScroll(plot_scroll::kPageLeft, 0);
    EXPECT_EQ(Plot.SpanStart(), 0);
    Plot.OnHScroll(plot_scroll::kThumbPosition, 1000);
    EXPECT_EQ(Plot.SpanStart(), 400);
    Plot.HideScrollBar();
    EXPECT_EQ(Plot.Areas().Plot, plot);
    EXPECT_FALSE(Plot.ScrollBar()->isVisible());

    Plot.resize(500, 330);
    const QImage window = Shot(Plot);
    const QImage bitmap = Plot.RenderClipboardBitmap();
    ASSERT_EQ(bitmap.size(), QSize(500, 300));
    for (const QPoint p : {QPoint(0, 0), QPoint(499, 0), QPoint(0, 299), QPoint(499, 299), QPoint(250, 0),
                           QPoint(250, 299), QPoint(0, 150), QPoint(499, 150)})
        EXPECT_EQ(bitmap.pixel(p), qRgb(0, 0, 0)) << p.x() << "," << p.y();
    EXPECT_EQ(bitmap.pixel(1, 1), window.pixel(1, 31));
    EXPECT_EQ(bitmap.pixel(300, 200), window.pixel(300, 230));
}

// A press that picks up the cursor repaints the plot at once, before any
// move: the cross shows where the button went down.
TEST(TPlotBaseTest, APressThatStartsTheCursorRepaints)
{
    struct PaintCounter : QObject {
        bool eventFilter(QObject*, QEvent* event) override
        {
            count += event->type() == QEvent::Paint ? 1 : 0;
            return false;
        }
        int count = 0;
    };
    DemoPlot plot(1);
    plot.show();
    QApplication::processEvents();
    PaintCounter counter;
    plot.installEventFilter(&counter);
    const PlotRect pane = plot.Areas().Pane1;
    plot.OnLButtonDown({}, pane.left + 50, pane.top + 20);
    ASSERT_TRUE(plot.Cursor().Tracking());
    QApplication::processEvents();
    EXPECT_GT(counter.count, 0);
    plot.OnLButtonUp({}, pane.left + 50, pane.top + 20);
}

// The pointers' pixels, black on a white halo: the plot's cross 19 pixels
// each way on (15, 15); zoom mode's 5-pixel cross on (4, 4) and the 20 by 20
// frame from (9, 9) to (28, 28).
TEST(PlotPointersTest, TheCrossesAndTheZoomFrameHaveTheirSizes)
{
    const PlotPointers pointers = CreatePlotPointers(1.0);
    struct Shape {
        const char* what;
        QCursor cursor;
        QPoint hot;
        int black;
        QRect bounds;
        QPoint halo;
    };
    const Shape shapes[] = {
        {"plot cross", pointers.Plot, {15, 15}, 19 + 18, QRect(QPoint(6, 6), QPoint(24, 24)), {25, 15}},
        {"zoom cross and frame", pointers.Zoom, {4, 4}, 5 + 4 + 4 * 19, QRect(QPoint(2, 2), QPoint(28, 28)), {29, 28}},
    };
    for (const Shape& shape : shapes) {
        SCOPED_TRACE(shape.what);
        EXPECT_EQ(shape.cursor.hotSpot(), shape.hot);
        const QImage image = shape.cursor.pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(image.size(), QSize(32, 32));
        int black = 0;
        QRect bounds;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                if (image.pixel(x, y) == qRgba(0, 0, 0, 255)) {
                    ++black;
                    bounds |= QRect(x, y, 1, 1);
                }
        EXPECT_EQ(black, shape.black);
        EXPECT_EQ(bounds, shape.bounds);
        // The halo: white just past a line's end.
        EXPECT_EQ(image.pixel(shape.halo), qRgba(255, 255, 255, 255));
    }
    // Dragging the cursor shows no pointer.
    EXPECT_EQ(pointers.Drag.shape(), Qt::BlankCursor);
}

PrintOpts CommentedOptions()
{
    PrintOpts options;
    SetTextField(options.Annotation1, "Loudspeaker A");
    SetTextField(options.Annotation2, "1 m, on axis");
    for (std::size_t k = 0; k < PrintOpts::kCommentCount; ++k)
        SetTextField(options.Comment[k], "Comment line " + std::to_string(k + 1));
    options.EnableCommentBlock = 1;
    return options;
}

TEST(PrintPages, PartsStandWhereTheMarginsPutThemAndAnnotationFieldsReadAsTheDialogPromises)
{
    // A landscape letter page at 600 dpi, one-inch margins.
    const PrintPageParts parts = LayoutPrintPage(6600, 5100, 600, 600, CommentedOptions());
    // A 9-point font 75 dots high, lines 1.1 × 75 apart (truncated), the
    // header's right edge at 6600 − 600 − 10, its second line 600 + 2 × 82 + 6.
    EXPECT_EQ(std::vector({parts.FontHeight, parts.LineSpacing, parts.HeaderRight, parts.HeaderLine1Y,
                           parts.HeaderLine2Y, parts.TitleCenterX, parts.Title2Y, parts.CommentFirstY}),
              std::vector({75, 82, 5990, 606, 770, 3300, 688, 3670}));
    // The block: 1.4 inch of lines above the 1-inch margin.
    EXPECT_EQ(parts.CommentBox, (PlotRect{600, 5100 - 1440, 6000, 4500}));
    // 2.4 inches, not the whole 2 that would put the plot over the block.
    EXPECT_FLOAT_EQ(parts.PlotMarginBottom, 2.4f);

    PrintOpts plain = CommentedOptions();
    plain.EnableCommentBlock = 0;
    plain.MarginBottom = 0.5f;
    const PrintPageParts noBlock = LayoutPrintPage(6600, 5100, 600, 600, plain);
    EXPECT_TRUE(noBlock.CommentBox.IsEmpty());
    EXPECT_FLOAT_EQ(noBlock.PlotMarginBottom, 0.5f);

    PrintOpts options = CommentedOptions();
    PrintAnnotationFields fields = AnnotationFieldsFrom(options);
    EXPECT_EQ(fields.Margins[0], "1.00");
    EXPECT_EQ(fields.Comments.substr(0, 29), "Comment line 1\nComment line 2");
    EXPECT_TRUE(fields.CommentBlock);
    EXPECT_FALSE(AnnotationFieldsFrom(plain).CommentBlock);
    EXPECT_EQ(std::vector({AnnotationFieldsFrom(plain).Title2, AnnotationFieldsFrom(plain).Margins[3]}),
              std::vector<std::string>({"1 m, on axis", "0.50"}));

    fields.Title1 = std::string(100, 'x');
    fields.Margins = {"abc", "0.75in", "nan", "-1e39"};
    fields.Comments = "one\r\ntwo\n\n4\n5\n6\n7\n8\n9\n10\neleven";
    fields.CommentBlock = false;
    ApplyAnnotationFields(fields, options);
    EXPECT_EQ(TextFieldView(options.Annotation1), std::string(79, 'x'));
    // No number, the number in front, not finite, out of range.
    EXPECT_EQ(std::vector({options.MarginLeft, options.MarginRight, options.MarginTop, options.MarginBottom}),
              std::vector({0.0f, 0.75f, 0.0f, 0.0f}));
    // CR LF is one line end; the eleventh line is dropped.
    EXPECT_EQ(std::vector<std::string_view>({TextFieldView(options.Comment[0]), TextFieldView(options.Comment[2]),
                                             TextFieldView(options.Comment[9])}),
              std::vector<std::string_view>({"one", "", "10"}));
    EXPECT_EQ(options.EnableCommentBlock, 0);
    fields.CommentBlock = true;
    ApplyAnnotationFields(fields, options);
    EXPECT_EQ(options.EnableCommentBlock, 1);
}

// Pixels darker than mid-grey in the rectangle given as page fractions.
int DarkPixels(const QImage& page, double x0, double y0, double x1, double y1)
{
    int dark = 0;
    for (int y = static_cast<int>(y0 * page.height()); y < static_cast<int>(y1 * page.height()); ++y)
        for (int x = static_cast<int>(x0 * page.width()); x < static_cast<int>(x1 * page.width()); ++x)
            dark += qGray(page.pixel(x, y)) < 128 ? 1 : 0;
    return dark;
}

TEST(PrintPages, TwoPlotsPrintTwoPagesWithHeaderAndCommentsAndComeBackAsTheyWere)
{
    QTemporaryDir folder;
    DemoPlot left(1);
    DemoPlot right(2);
    right.ShowScrollBar();
    const QFont screenFont = right.LabelFont();
    const PlotAreas leftScreen = left.Areas();
    const PlotAreas rightScreen = right.Areas();

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString pdf = folder.filePath("plots.pdf");
    printer.setOutputFileName(pdf);
    printer.setResolution(300);
    printer.setPageSize(QPageSize(QPageSize::Letter));
    printer.setPageOrientation(QPageLayout::Landscape);
    const PrintOpts options = CommentedOptions();
    TPlotBase* plots[] = {&left, &right};
    ASSERT_TRUE(PrintPlotPages(plots, printer, options, "Sun Dec  6 21:31:34 2026"));

    // The user's options and the screen come back as they were.
    EXPECT_EQ(options, CommentedOptions());
    EXPECT_EQ(left.Areas(), leftScreen);
    EXPECT_EQ(right.Areas(), rightScreen);
    EXPECT_FALSE(left.IsPrinting());
    EXPECT_EQ(right.LabelFont(), screenFont);
    EXPECT_EQ(right.GetScrollBarHeight(), 12);
    // On paper an eighth-inch font (37.5 dots, truncated) and each plot
    // ending above its page's comment block.
    ASSERT_EQ(left.Printed.size(), 1u);
    ASSERT_EQ(right.Printed.size(), 1u);
    EXPECT_EQ(right.Printed[0].LabelFontHeight, 37);
    const int blockTop = printer.height() - (static_cast<int>(300 * 1.4) + 300);
    EXPECT_LT(left.Printed[0].Areas.Plot.bottom, blockTop);
    EXPECT_LT(right.Printed[0].Areas.Pane2.bottom, blockTop);
    EXPECT_LT(left.Printed[0].Sequence, right.Printed[0].Sequence) << "the first plot's page first";
    // Last page first, to another file: the second plot's page comes first.
    {
        QPrinter reversed(QPrinter::HighResolution);
        reversed.setOutputFormat(QPrinter::PdfFormat);
        reversed.setOutputFileName(folder.filePath("reversed.pdf"));
        reversed.setPageOrder(QPrinter::LastPageFirst);
        ASSERT_TRUE(PrintPlotPages(plots, reversed, options, "Sun Dec  6 21:31:34 2026"));
        ASSERT_EQ(left.Printed.size(), 2u);
        ASSERT_EQ(right.Printed.size(), 2u);
        EXPECT_GT(left.Printed[1].Sequence, right.Printed[1].Sequence);
    }

    const std::string stem = folder.filePath("page").toStdString();
    const std::string command = "pdftoppm -r 60 -gray '" + pdf.toStdString() + "' '" + stem + "' 2>&1";
    if (std::system(command.c_str()) != 0)
        GTEST_SKIP() << "pdftoppm is not installed";
    for (const char* suffix : {"-1.pgm", "-2.pgm"}) {
        // Landscape letter: 11 × 8.5 inches with one-inch margins.
        const QImage page(QString::fromStdString(stem + suffix));
        ASSERT_GT(page.width(), page.height()) << suffix;
        // The header's two lines at the top right, inside the margins.
        EXPECT_GT(DarkPixels(page, 0.60, 1.0 / 8.5, 1.0 - 1.0 / 11, 1.7 / 8.5), 0) << suffix;
        // The comment block's box and lines between 1 and 2.4 inches up;
        // the margin beside it stays white.
        EXPECT_GT(DarkPixels(page, 1.1 / 11, 1.0 - 2.35 / 8.5, 0.5, 1.0 - 1.05 / 8.5), 20) << suffix;
        EXPECT_EQ(DarkPixels(page, 0.0, 1.0 - 2.3 / 8.5, 0.8 / 11, 1.0), 0) << suffix;
    }
    // Only two pages.
    EXPECT_FALSE(std::ifstream(stem + "-3.pgm").good());
}

// A page that cannot be started (a PDF in a folder that does not exist) is
// reported as not printed, alone or with others.
TEST(PrintPages, APageThatCannotBeStartedIsReportedAsNotPrinted)
{
    QTemporaryDir folder;
    DemoPlot plot(1);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(folder.filePath("missing/plot.pdf"));
    EXPECT_FALSE(PrintPlotPage(plot, printer, PrintOpts{}));
    TPlotBase* plots[] = {&plot};
    EXPECT_FALSE(PrintPlotPages(plots, printer, PrintOpts{}, "Sun Dec  6 21:31:34 2026"));
    EXPECT_TRUE(plot.Printed.empty());
}

} // namespace
