#include "plot/PlotPrinting.h"

#include "plot/LabelFont.h"
#include "plot/PrintPageParts.h"
#include "plot/TPlotBase.h"
#include "settings/PrintOpts.h"

#include <QPageSetupDialog>
#include <QFontMetrics>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>

void ChoosePlotPrinter(QPrinter& printer, const QString& pdfPath)
{
    if (!QPrinterInfo::defaultPrinter().isNull())
        return;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdfPath);
}

bool RunPlotPrintDialog(QPrinter& printer, QWidget* parent)
{
    // Without a printer the pages go to the program's PDF file; the dialog,
    // which offers no file of its own, must not take that away.
    const bool toFile = printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty();
    const QString file = printer.outputFileName();
    QPrintDialog dialog(&printer, parent);
    // Every plot is printed: no page numbers, no selection, no file.
    dialog.setOptions(QAbstractPrintDialog::PrintShowPageSize | QAbstractPrintDialog::PrintCollateCopies);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    if (toFile && printer.outputFileName().isEmpty() && printer.printerName().isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
    }
    return true;
}

bool RunPlotPageSetupDialog(QPrinter& printer, QWidget* parent)
{
    QPageSetupDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

std::vector<std::size_t> PrintPageSequence(std::size_t pages, int copies, bool collate, bool reverse)
{
    std::vector<std::size_t> order;
    const auto count = static_cast<std::size_t>(std::max(copies, 1));
    order.reserve(pages * count);
    const auto page = [pages, reverse](std::size_t k) { return reverse ? pages - 1 - k : k; };
    if (collate) {
        for (std::size_t c = 0; c < count; ++c)
            for (std::size_t k = 0; k < pages; ++k)
                order.push_back(page(k));
    } else {
        for (std::size_t k = 0; k < pages; ++k)
            order.insert(order.end(), count, page(k));
    }
    return order;
}

bool PrintPlotPage(TPlotBase& plot, QPrinter& printer, const PrintOpts& options)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    plot.PrintToDC(painter, &options, true, 0);
    return painter.end();
}

namespace {

void DrawPageAnnotations(QPainter& dc, const PrintPageParts& parts, const PrintOpts& options,
                         const std::string& timeText)
{
    QPaintDevice* device = dc.device();
    QFont font = CreateLabelFont(parts.FontHeight, device);
    dc.setPen(Qt::black);

    // The header, right-aligned at the top right, in italics.
    QFont italic = font;
    italic.setItalic(true);
    dc.setFont(italic);
    const auto rightAligned = [&dc, &parts](int y, const QString& text) {
        dc.drawText(QRect(0, y, parts.HeaderRight, parts.LineSpacing * 2), Qt::AlignRight | Qt::AlignTop, text);
    };
    rightAligned(parts.HeaderLine1Y, QStringLiteral("Printed By: Talvenor Mobile"));
    rightAligned(parts.HeaderLine2Y, QString::fromStdString(timeText));

    // The titles, centred.
    dc.setFont(font);
    const auto centred = [&dc, &parts, device](int y, const char* text) {
        const int width = device->width();
        dc.drawText(QRect(parts.TitleCenterX - width, y, 2 * width, parts.LineSpacing * 2),
                    Qt::AlignHCenter | Qt::AlignTop, QString::fromUtf8(text));
    };
    centred(parts.Title1Y, options.Annotation1);
    centred(parts.Title2Y, options.Annotation2);

    if (parts.CommentBox.IsEmpty())
        return;
    for (std::size_t k = 0; k < PrintOpts::kCommentCount; ++k) {
        const int y = parts.CommentFirstY + static_cast<int>(k) * parts.LineSpacing;
        dc.drawText(QPoint(parts.CommentX, y + QFontMetrics(font, device).ascent()),
                    QString::fromUtf8(options.Comment[k]));
    }
    const PlotRect& box = parts.CommentBox;
    dc.setBrush(Qt::NoBrush);
    dc.drawRect(QRect(box.left, box.top, box.Width(), box.Height()));
}

} // namespace

bool PrintPlotPages(std::span<TPlotBase* const> plots, QPrinter& printer, const PrintOpts& options,
                    const std::string& timeText)
{
    printer.setDocName(QStringLiteral("Talvenor Mobile"));
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    std::vector<TPlotBase*> shown;
    for (TPlotBase* plot : plots)
        if (plot != nullptr)
            shown.push_back(plot);
    // A printer system makes the copies itself; a PDF file gets them here.
    const int copies = printer.supportsMultipleCopies() ? 1 : printer.copyCount();
    bool first = true;
    for (const std::size_t index : PrintPageSequence(shown.size(), copies, printer.collateCopies(),
                                                     printer.pageOrder() == QPrinter::LastPageFirst)) {
        TPlotBase* plot = shown[index];
        if (!first)
            printer.newPage();
        first = false;
        QPaintDevice* device = painter.device();
        const PrintPageParts parts =
            LayoutPrintPage(device->width(), device->height(), device->logicalDpiX(), device->logicalDpiY(), options);
        DrawPageAnnotations(painter, parts, options, timeText);
        // This page's plot stands above the comment block; the user's own
        // margin is not touched.
        PrintOpts page = options;
        page.MarginBottom = parts.PlotMarginBottom;
        plot->PrintToDC(painter, &page, true, 0);
    }
    return painter.end();
}
