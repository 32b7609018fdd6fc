// The marker options and the data-values window of TQuarnPlot.
#include "plot/TQuarnPlot.h"

#include "plot/CDataView.h"
#include "plot/TMarkerOptionsDialog.h"

namespace {

constexpr std::uint32_t kMarkerOptionsButton = 511;
constexpr std::uint32_t kMarkerOptionsCommand = 860;
constexpr std::uint32_t kViewDataValues = 804;
// The window stands this far right of and below the plot area's corner.
constexpr int kDataViewOffset = 20;

} // namespace

void TQuarnPlot::OnDialogCommand(std::uint32_t id)
{
    if (id == kMarkerOptionsButton || id == kMarkerOptionsCommand)
        OnMarkerOptions();
    else if (id == kViewDataValues)
        OnViewDataValues();
}

void TQuarnPlot::OnMarkerOptions()
{
    if (m_Markers == nullptr)
        return;
    TMarkerOptionsDialog dialog(this, m_Markers);
    if (dialog.exec() == QDialog::Accepted)
        InvalidatePlot();
}

void TQuarnPlot::OnViewDataValues()
{
    if (m_DataView != nullptr) {
        delete m_DataView;
        m_DataView = nullptr;
        return;
    }
    const QPoint corner =
        mapToGlobal(QPoint(m_Areas.Plot.left + kDataViewOffset, m_Areas.Plot.top + kDataViewOffset));
    m_DataView = new CDataView(this, m_Settings);
    // Queued: the window is deleted after its close handler has returned.
    connect(m_DataView, &CDataView::Closing, this, &TQuarnPlot::OnDataViewClosing, Qt::QueuedConnection);
    m_DataView->Create(corner.x(), corner.y(), m_Trace1, m_Trace2);
}

void TQuarnPlot::OnDataViewClosing(CDataView* view)
{
    if (view == nullptr || view != m_DataView)
        return;
    delete m_DataView;
    m_DataView = nullptr;
}
