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

void ChoosePlotPrinter(QPrinter& printer, const QString& pdfPath)
{
    if (!QPrinterInfo::defaultPrinter().isNull())
        return;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdfPath);
}

bool RunPlotPrintDialog(QPrinter& printer, QWidget* parent)
{
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool RunPlotPageSetupDialog(QPrinter& printer, QWidget* parent)
{
    QPageSetupDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
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
    bool first = true;
    for (TPlotBase* plot : plots) {
        if (plot == nullptr)
            continue;
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
