#include "plot/CDataView.h"

#include "plot/DataViewTable.h"
#include "plot/LabelFont.h"

#include "engine/SpectralData.h"
#include "engine/TProcessingSettings.h"

#include <QCloseEvent>
#include <QPainter>
#include <QScrollBar>

using namespace data_view;

namespace {

constexpr int kFontHeight = 15;
// Text right ends within each 100-pixel column, and the top of a row's text.
constexpr int kTextRight = 98;
constexpr int kTextTop = 2;
// Column 3 shows values only when the window reaches beyond this.
constexpr int kThirdColumnEdge = 200;

} // namespace

CDataView::CDataView(QWidget* owner, const TProcessingSettings* settings)
    : QWidget(owner, Qt::Tool), m_Settings(settings), m_ScrollBar(new QScrollBar(Qt::Vertical, this))
{
    setObjectName(QStringLiteral("DataView"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_Font = CreateLabelFont(kFontHeight, nullptr);
    m_ScrollBar->setObjectName(QString::number(kScrollBarId));
    m_ScrollBar->setPageStep(kPageRows);
    m_ScrollBar->setSingleStep(1);
    // Every position change repaints: the rows start at the new line.
    connect(m_ScrollBar, &QScrollBar::valueChanged, this, [this] { update(); });
}

bool CDataView::Create(int x, int y, const SpectralData* source, const SpectralData* second)
{
    m_Source = source;
    m_Second = second;
    move(x, y);
    resize(kWidth, kHeight);
    UpdateScrollRange();
    m_ScrollBar->show();
    SetTitle();
    show();
    return true;
}

void CDataView::SetTitle()
{
    setWindowTitle(QStringLiteral("Spectral Data"));
}

void CDataView::SetSource(const SpectralData* source, const SpectralData* second)
{
    m_Source = source;
    m_Second = second;
    UpdateScrollRange();
    SetTitle();
    update();
}

void CDataView::InvalidateValues()
{
    update(QRect(kColumnWidth + 1, kRowHeight + 1, width(), height()));
}

int CDataView::ScrollPosition() const
{
    return m_ScrollBar->value();
}

void CDataView::UpdateScrollRange()
{
    const int maximum = m_Source != nullptr ? ScrollMaximum(m_Source->GetStartBin(), m_Source->GetEndBin(), height())
                                            : 0;
    m_ScrollBar->setRange(0, maximum);
}

void CDataView::closeEvent(QCloseEvent* event)
{
    // The plot deletes the window; it must not go inside its own close.
    event->ignore();
    emit Closing(this);
}

void CDataView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_ScrollBar->setGeometry(width() - kScrollBarWidth, 0, kScrollBarWidth, height());
    // A taller window leaves fewer rows to scroll to.
    UpdateScrollRange();
    update();
}

void CDataView::paintEvent(QPaintEvent*)
{
    QPainter dc(this);
    const QRect client = rect();
    dc.fillRect(client, Qt::white);
    DrawGrid(dc, client);
    DrawValues(dc);
}

void CDataView::DrawGrid(QPainter& dc, const QRect& client)
{
    dc.setPen(QPen(QColor(128, 128, 128), 1));
    for (int i = 0; i <= client.height() / kRowHeight; ++i)
        dc.drawLine(0, i * kRowHeight, client.width(), i * kRowHeight);
    for (int i = 0; i <= client.width() / kColumnWidth; ++i)
        dc.drawLine(i * kColumnWidth, 0, i * kColumnWidth, client.height());
}

std::vector<CDataView::Cell> CDataView::Cells() const
{
    std::vector<Cell> cells;
    if (m_Source == nullptr)
        return cells;
    const QRect client = rect();
    const std::uint16_t mode = m_Settings != nullptr ? m_Settings->ChannelProcessing : 0;
    cells.push_back({0, 0, "Hz"});
    cells.push_back({1, 0, ValueHeader(m_Source->GetAmpScaleType(), mode, false)});
    if (m_Second != nullptr)
        cells.push_back({2, 0, ValueHeader(m_Source->GetAmpScaleType(), mode, true)});

    const bool third = m_Second != nullptr && client.right() + 1 > kThirdColumnEdge;
    const std::uint32_t end = m_Source->GetEndBin();
    std::uint32_t line = m_Source->GetStartBin() + static_cast<std::uint32_t>(std::max(0, ScrollPosition()));
    for (int row = 1; row <= ValueRows(client.height()) && line <= end; ++row, ++line) {
        cells.push_back({0, row, FrequencyText(m_Source->GetBinFrequency(line))});
        cells.push_back({1, row, ValueText(m_Source->GetValue(line), m_Source->GetAmpScaleType())});
        if (third && line <= m_Second->GetEndBin())
            cells.push_back({2, row, ValueText(m_Second->GetValue(line), m_Second->GetAmpScaleType())});
    }
    return cells;
}

void CDataView::DrawValues(QPainter& dc)
{
    dc.setFont(m_Font);
    dc.setPen(Qt::black);
    for (const Cell& cell : Cells()) {
        const int right = kTextRight + cell.Column * kColumnWidth;
        dc.drawText(QRect(right - kColumnWidth, cell.Row * kRowHeight + kTextTop, kColumnWidth,
                          kRowHeight - kTextTop),
                    Qt::AlignRight | Qt::AlignTop, QString::fromStdString(cell.Text));
    }
}
