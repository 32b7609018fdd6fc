#include "utilities/CDataGrid.h"

#include "utilities/recorderlogic/DataGridMetrics.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace {

QColor ColourOf(std::uint16_t index, const QWidget& widget)
{
    const std::uint32_t rgb = DataGridCells::ColourRgb(index, widget.palette().button().color().rgb() & 0xFFFFFF);
    return QColor::fromRgb(static_cast<QRgb>(0xFF000000u | rgb));
}

// A one-pixel line between two points on a row or a column, both ends
// included, as a one-pixel pen draws it: a fill is far cheaper than a
// stroke, and the grid is repainted at every acquisition step.
void PixelLine(QPainter& painter, int x1, int y1, int x2, int y2)
{
    painter.fillRect(std::min(x1, x2), std::min(y1, y2), std::abs(x2 - x1) + 1, std::abs(y2 - y1) + 1, Qt::black);
}

} // namespace

CDataGrid::CDataGrid(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Data"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CDataGrid::SetSize(int rows, int columns)
{
    m_Cells.SetSize(rows, columns);
    InvalidateColumn(-1);
}

void CDataGrid::InvalidateColumn(int column)
{
    if (m_Cells.Columns() == 0)
        return;
    if (column < 0)
        update();
    else
        update(column * m_ColumnWidth, 0, m_ColumnWidth, height());
}

QFont CDataGrid::CellFont(int fontHeight)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(std::max(fontHeight, 1));
    return font;
}

int CDataGrid::ColumnWidthFor(const QString& text, int fontHeight)
{
    // The text starts an inset into its column (past the column's line);
    // as much again, and a little for the letters' overhang, keep its last
    // letter off the line at the right.
    const QFontMetrics metrics(CellFont(fontHeight));
    const int inset = data_grid::TextInset(fontHeight);
    return metrics.horizontalAdvance(text) + 1 + 2 * inset + std::max(3, metrics.averageCharWidth() / 4);
}

bool CDataGrid::ScreenIsMonochrome() const
{
    // The screen's depth is its bits per pixel, on one plane with as many
    // colours as those bits tell.
    const QScreen* shownOn = screen();
    if (shownOn == nullptr)
        return false;
    const int bits = shownOn->depth();
    const long long colours = bits >= 62 ? std::numeric_limits<long long>::max() : 1LL << std::max(bits, 0);
    return !data_grid::IsColourDevice(1, colours, bits);
}

void CDataGrid::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const bool monochrome = m_Monochrome || ScreenIsMonochrome();
    const data_grid::Rect item{0, 0, width(), height()};
    painter.fillRect(rect(), Qt::white);
    const int rows = m_Cells.Rows();
    const int columns = m_Cells.Columns();

    // An empty grid has no rows to divide the height among: the white
    // field and the border only.
    const std::optional<data_grid::Metrics> metrics = data_grid::MetricsFor(item, rows, columns);
    if (metrics) {
        m_RowHeight = metrics->rowHeight;
        m_ColumnWidth = metrics->columnWidth;
        if (m_FontHeight != metrics->fontHeight) {
            // Made once per size: resolving a font costs more than drawing its text.
            m_FontHeight = metrics->fontHeight;
            m_NormalFont = CellFont(metrics->fontHeight);
            m_BoldFont = m_NormalFont;
            m_BoldFont.setWeight(QFont::Bold);
        }
        const QFont& normal = m_NormalFont;
        const QFont& bold = m_BoldFont;
        for (int row = 0; row < rows; ++row) {
            for (int column = 0; column < columns; ++column) {
                const DataGridCell& cell = m_Cells.Cell(row, column);
                const data_grid::Rect r = data_grid::TextCell(item, *metrics, row, column);
                const QRect box(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
                painter.save();
                painter.setClipRect(box);
                painter.fillRect(box, ColourOf(cell.BackColour, *this));
                painter.setPen(monochrome ? QColor(Qt::black) : ColourOf(cell.TextColour, *this));
                painter.setFont(monochrome && cell.TextColour == 2 ? bold : normal);
                painter.drawText(r.left + data_grid::TextInset(metrics->fontHeight), data_grid::TextBaseline(r),
                                 QString::fromUtf8(cell.Text));
                painter.restore();
            }
        }
        for (int row = 0; row < rows; ++row) {
            for (int column = 0; column < columns; ++column) {
                const DataGridCell& cell = m_Cells.Cell(row, column);
                const data_grid::Rect e = data_grid::EdgeCell(item, *metrics, row, column);
                if (cell.LeftEdge)
                    PixelLine(painter, e.left, e.bottom, e.left, e.top);
                if (cell.TopEdge)
                    PixelLine(painter, e.left, e.top, e.right, e.top);
                if (cell.RightEdge)
                    PixelLine(painter, e.right, e.top, e.right, e.bottom);
                if (cell.BottomEdge)
                    PixelLine(painter, e.right, e.bottom, e.left, e.bottom);
            }
        }
    } else {
        m_RowHeight = 0;
        m_ColumnWidth = 0;
    }
    // The border: the outline a one-pixel pen draws round the widget.
    const int right = width() - 1, bottom = height() - 1;
    PixelLine(painter, 0, 0, right, 0);
    PixelLine(painter, 0, bottom, right, bottom);
    PixelLine(painter, 0, 0, 0, bottom);
    PixelLine(painter, right, 0, right, bottom);
}

void CDataGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    if (const auto cell = data_grid::HitCell(p.x(), p.y(), m_RowHeight, m_ColumnWidth)) {
        emit GridDoubleClicked(cell->first, cell->second);
        QWidget::mouseDoubleClickEvent(event);
    }
}

void CDataGrid::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        if (m_RowHeight != 0 && m_ColumnWidth != 0) {
            emit GridContextMenu(event->position().toPoint());
            QWidget::mousePressEvent(event);
        }
        return;
    }
    QWidget::mousePressEvent(event);
}
