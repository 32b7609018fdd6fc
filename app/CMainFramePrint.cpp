// The frame's print commands: Print… (Ctrl+P and the tool bar's printer),
// Print Setup… and Annotations and Margins….
#include "app/CMainFrame.h"

#include "plot/CPrintAnnotationDialog.h"
#include "plot/PlotPrinting.h"
#include "plot/TQuarnPlot.h"

#include "platform/MessageBox.h"

#include <QFile>

#include <ctime>

namespace {

// The C library's 24-character time text ("Sun Dec  6 21:31:34 2026"),
// in English whatever the desktop's language.
std::string PrintTime()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32] = {};
    if (asctime_r(&local, text) == nullptr)
        return {};
    std::string line(text);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.pop_back();
    return line;
}

} // namespace

QPrinter& CMainFrame::Printer()
{
    if (m_Printer == nullptr) {
        m_Printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        // The first job offers landscape; whatever the user picks later stays.
        m_Printer->setPageOrientation(QPageLayout::Landscape);
        ChoosePlotPrinter(*m_Printer,
                          QFile::decodeName(QByteArray::fromStdString(m_Paths.DataRoot + m_Paths.ProgramStem + ".pdf")));
    }
    return *m_Printer;
}

void CMainFrame::PrintPlots()
{
    if (IsRunning())
        OnStop();
    QPrinter& printer = Printer();
    if (!RunPlotPrintDialog(printer, this))
        return;
    CPrintAnnotationDialog annotations(this, &m_Settings.Print);
    if (annotations.exec() != QDialog::Accepted)
        return;
    PrintPlotsTo(printer);
}

bool CMainFrame::PrintPlotsTo(QPrinter& printer)
{
    std::vector<TPlotBase*> plots;
    for (TQuarnPlot* plot : m_Plot)
        if (plot != nullptr)
            plots.push_back(plot);
    // Nothing draws into the plots while their pages are made.
    setEnabled(false);
    const bool printed = PrintPlotPages(plots, printer, m_Settings.Print, PrintTime());
    setEnabled(true);
    if (!printed) {
        const std::string target = printer.outputFileName().isEmpty() ? printer.printerName().toStdString()
                                                                       : printer.outputFileName().toStdString();
        platform::ShowMessageBox("Printing - the printer or file could not be opened: " + target);
    }
    return printed;
}

void CMainFrame::OnFilePrintSetup()
{
    if (IsRunning())
        OnStop();
    RunPlotPageSetupDialog(Printer(), this);
}

void CMainFrame::OnPrintAnnotations()
{
    if (IsRunning())
        OnStop();
    CPrintAnnotationDialog dialog(this, &m_Settings.Print);
    dialog.exec();
}
