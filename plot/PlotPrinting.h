#pragma once
// Where a printed plot goes and how a page is started: the desktop's
// default printer, or a PDF file when it has none, chosen through the
// print and page setup dialogs.

#include <QString>

class QPrinter;
class QWidget;
class TPlotBase;
struct PrintOpts;

// Sends the printer's output to a PDF file at pdfPath when the desktop
// knows no printer; leaves a configured printer alone.
void ChoosePlotPrinter(QPrinter& printer, const QString& pdfPath);

// The print dialog; true on OK.
bool RunPlotPrintDialog(QPrinter& printer, QWidget* parent);

// The page setup dialog; true on OK.
bool RunPlotPageSetupDialog(QPrinter& printer, QWidget* parent);

// Prints one plot on one page; false when the printer cannot be opened.
bool PrintPlotPage(TPlotBase& plot, QPrinter& printer, const PrintOpts& options);
