#include "utilities/CAnalysisView.h"

#include "engine/SpectralData.h"
#include "format/TChannelCalibration.h"
#include "settings/FrameSettings.h"
#include "utilities/CDataGrid.h"
#include "utilities/recorderlogic/AnalysisViewText.h"
#include "utilities/recorderlogic/DataGridMetrics.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMenu>

#include <cstring>
#include <vector>

CAnalysisView::CAnalysisView(AnalysisViewFrame* frame, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_Frame(frame)
{
    setWindowTitle(QStringLiteral("Analysis Viewer"));
}

CAnalysisView::~CAnalysisView() = default;

bool CAnalysisView::Create(const QRect& rect, int kind)
{
    m_Kind = kind;
    setObjectName(QStringLiteral("AnalysisViewer%1").arg(kind));
    // The window's own area, as its placement is stored.
    setGeometry(rect);
    if (m_Grid == nullptr) {
        m_Grid = new CDataGrid(this);
        m_Grid->setGeometry(0, 0, 100, 20);
        connect(m_Grid, &CDataGrid::GridContextMenu, this, &CAnalysisView::OnCopyMenu);
    }
    // Its rows and one column before the first size check: the grid's own
    // two columns would have the viewer widened to twice its width.
    m_Grid->SetSize(CountChannels(), 1);
    m_Grid->show();
    show();
    SetKind();
    return true;
}

void CAnalysisView::SetKind()
{
    if (const char* name = analysis_view::Name(m_Kind))
        setWindowTitle(QString::fromLatin1(name));
    Refresh();
}

void CAnalysisView::Refresh()
{
    LayoutGrid();
    EnforceMinimumSize();
    UpdateResults();
}

void CAnalysisView::LayoutGrid()
{
    if (m_Grid == nullptr)
        return;
    m_Grid->setGeometry(0, 0, width(), height());
    m_Grid->SetSize(CountChannels(), 1);
    // Rows may have come or gone: the whole grid, whatever the texts.
    m_Grid->InvalidateColumn(-1);
    UpdateResults();
}

int CAnalysisView::CountChannels()
{
    int count = 0;
    for (int i = 0; i < 2; ++i) {
        m_Shown[i] = m_Frame != nullptr && m_Frame->GetModeProcessor(i) != nullptr;
        count += m_Shown[i] ? 1 : 0;
    }
    return count;
}

namespace {

// The cells in use, row by row: the store holds far more than a viewer shows.
std::vector<DataGridCell> UsedCells(const DataGridCells& cells)
{
    std::vector<DataGridCell> used;
    used.reserve(static_cast<std::size_t>(cells.Rows()) * static_cast<std::size_t>(cells.Columns()));
    for (int row = 0; row < cells.Rows(); ++row)
        for (int column = 0; column < cells.Columns(); ++column)
            used.push_back(cells.Cell(row, column));
    return used;
}

bool SameCells(const std::vector<DataGridCell>& a, const std::vector<DataGridCell>& b)
{
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(DataGridCell)) == 0);
}

} // namespace

void CAnalysisView::UpdateResults()
{
    if (m_Grid == nullptr || m_Frame == nullptr)
        return;
    FrameSettings& settings = m_Frame->GetSettings();
    analysis_view::Sources sources;
    for (int i = 0; i < 2; ++i) {
        sources.processors[static_cast<std::size_t>(i)] = m_Shown[i] ? m_Frame->GetModeProcessor(i) : nullptr;
        sources.scaling[i] = &settings.Scaling[i];
        sources.spectrum[i] = &settings.Spectrum[i];
    }
    const std::vector<DataGridCell> before = UsedCells(m_Grid->Cells());
    if (const std::optional<std::string> caption = analysis_view::UpdateResults(m_Kind, sources, m_Grid->Cells()))
        setWindowTitle(QString::fromStdString(*caption));
    // A longer text than any the width was checked for: widen, never clip.
    for (int row = 0; row < m_Grid->Cells().Rows(); ++row) {
        if (m_Grid->Cells().CellText(row, 0).size() > m_CheckedChars) {
            EnforceMinimumSize();
            break;
        }
    }
    // A step that leaves every text as it was needs no painting.
    if (!SameCells(before, UsedCells(m_Grid->Cells())))
        m_Grid->InvalidateColumn(0);
}

QString CAnalysisView::WidestText() const
{
    // Each shown channel has its own unit: the longer one decides.
    std::string widest = analysis_view::WidestText(m_Kind, "", 0);
    for (int i = 0; m_Frame != nullptr && i < 2; ++i) {
        if (const SpectralData* data = m_Frame->GetModeProcessor(i)) {
            std::string text = analysis_view::WidestText(m_Kind, ShownUnitLabel(data->GetUnitLabel(true)).c_str(),
                                                         m_Frame->GetSettings().Scaling[i].TotalPowerWeighting);
            if (text.size() > widest.size())
                widest = std::move(text);
        }
    }
    return QString::fromUtf8(widest);
}

void CAnalysisView::EnforceMinimumSize()
{
    if (m_Grid == nullptr)
        return;
    const DataGridCells& cells = m_Grid->Cells();
    const data_grid::ViewerSize size = data_grid::ViewerSizeFor(height(), 0, cells.Rows(), cells.Columns());
    m_RowHeight = size.rowHeight;
    int minWidth = size.minWidth;
    const int newHeight = std::max(height(), size.minHeight);
    if (const auto metrics = data_grid::MetricsFor({0, 0, width(), newHeight}, cells.Rows(), cells.Columns())) {
        const QString widest = WidestText();
        int column = std::max(CDataGrid::ColumnWidthFor(widest, metrics->fontHeight),
                              CDataGrid::ColumnWidthFor(QString::fromLatin1(analysis_view::kNoDataText),
                                                        metrics->fontHeight));
        m_CheckedChars = std::max(static_cast<std::size_t>(widest.size()),
                                  std::string_view(analysis_view::kNoDataText).size());
        for (int row = 0; row < cells.Rows(); ++row) {
            const std::string_view text = cells.CellText(row, 0);
            m_CheckedChars = std::max(m_CheckedChars, text.size());
            column = std::max(column, CDataGrid::ColumnWidthFor(
                                          QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())),
                                          metrics->fontHeight));
        }
        minWidth = std::max(minWidth, column * cells.Columns());
    }
    if (width() < minWidth || height() < size.minHeight) {
        const bool wider = width() < minWidth;
        resize(std::max(width(), minWidth), newHeight);
        if (wider)
            emit Widened(this);
    }
}

void CAnalysisView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    EnforceMinimumSize();
    if (m_Grid != nullptr)
        m_Grid->setGeometry(0, 0, width(), height());
}

void CAnalysisView::CopyToClipboard()
{
    if (m_Grid == nullptr)
        return;
    // The shown rows and the one after them, as the copy has always held.
    const int lines = CountChannels() + 1;
    QGuiApplication::clipboard()->setText(QString::fromStdString(analysis_view::ClipboardText(m_Grid->Cells(), lines)));
}

void CAnalysisView::OnCopyMenu(const QPoint& point)
{
    QMenu menu(this);
    QAction* copy = menu.addAction(QStringLiteral("Copy to clipboard"));
    copy->setObjectName(QStringLiteral("Command%1").arg(kCopyCommand));
    if (menu.exec(m_Grid->mapToGlobal(point)) == copy)
        CopyToClipboard();
}

void CAnalysisView::closeEvent(QCloseEvent* event)
{
    if (m_Frame != nullptr)
        emit ClosingUtility(this);
    event->ignore();
}
