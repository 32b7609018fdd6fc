#pragma once
// Where a printed plot goes and how a page is started: the desktop's
// default printer, or a PDF file when it has none, chosen through the
// print and page setup dialogs.

#include <QString>

#include <span>
#include <string>
#include <vector>

class QPrinter;
class QWidget;
class TPlotBase;
struct PrintOpts;

// Sends the printer's output to a PDF file at pdfPath when the desktop
// knows no printer; leaves a configured printer alone.
void ChoosePlotPrinter(QPrinter& printer, const QString& pdfPath);

// The print dialog; true on OK. It offers what the job honours: printer,
// page, copies, collation and order; not page ranges, a selection or
// printing to a file.
bool RunPlotPrintDialog(QPrinter& printer, QWidget* parent);

// The order the pages of a job go out in, as indexes of the plots: each
// copy of the whole set in turn when collated, else each page's copies
// together; last page first when reversed.
std::vector<std::size_t> PrintPageSequence(std::size_t pages, int copies, bool collate, bool reverse);

// The page setup dialog; true on OK.
bool RunPlotPageSetupDialog(QPrinter& printer, QWidget* parent);

// Prints one plot on one page; false when the printer cannot be opened.
bool PrintPlotPage(TPlotBase& plot, QPrinter& printer, const PrintOpts& options);

// The print job: each plot on a page of its own, with the header ("Printed
// By:" and timeText at the top right), the two title lines and, when
// enabled, the comment block, the plot laid out above it. The options are
// the user's and come back unchanged. Copies, collation and page order are
// the printer's settings; copies are made here only where the printer
// cannot make them (a PDF file). False when the printer cannot be opened.
bool PrintPlotPages(std::span<TPlotBase* const> plots, QPrinter& printer, const PrintOpts& options,
                    const std::string& timeText);
