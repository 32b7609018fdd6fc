#include "plot/PlotPrinting.h"

#include "plot/TPlotBase.h"
#include "settings/PrintOpts.h"

#include <QPageSetupDialog>
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
