#include "utilities/CAnalysisView.h"

#include "settings/FrameSettings.h"
#include "utilities/CDataGrid.h"
#include "utilities/recorderlogic/AnalysisViewText.h"
#include "utilities/recorderlogic/DataGridMetrics.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMenu>

#include <cstring>

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
    move(rect.topLeft());
    resize(rect.size());
    if (m_Grid == nullptr) {
        m_Grid = new CDataGrid(this);
        m_Grid->setGeometry(0, 0, 100, 20);
        connect(m_Grid, &CDataGrid::GridContextMenu, this, &CAnalysisView::OnCopyMenu);
    }
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

bool SameCells(const DataGridCells& a, const DataGridCells& b)
{
    if (a.Rows() != b.Rows() || a.Columns() != b.Columns())
        return false;
    for (int row = 0; row < a.Rows(); ++row)
        for (int column = 0; column < a.Columns(); ++column)
            if (std::memcmp(&a.Cell(row, column), &b.Cell(row, column), sizeof(DataGridCell)) != 0)
                return false;
    return true;
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
    const DataGridCells before = m_Grid->Cells();
    if (const std::optional<std::string> caption = analysis_view::UpdateResults(m_Kind, sources, m_Grid->Cells()))
        setWindowTitle(QString::fromStdString(*caption));
    // A step that leaves every text as it was needs no painting.
    if (!SameCells(before, m_Grid->Cells()))
        m_Grid->InvalidateColumn(0);
}

void CAnalysisView::EnforceMinimumSize()
{
    if (m_Grid == nullptr)
        return;
    const data_grid::ViewerSize size =
        data_grid::ViewerSizeFor(height(), 0, m_Grid->Cells().Rows(), m_Grid->Cells().Columns());
    m_RowHeight = size.rowHeight;
    if (width() < size.minWidth || height() < size.minHeight)
        resize(std::max(width(), size.minWidth), std::max(height(), size.minHeight));
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
