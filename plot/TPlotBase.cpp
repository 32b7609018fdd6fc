#include "plot/TPlotBase.h"

#include "plot/AxisNumberFormat.h"
#include "plot/LabelFont.h"
#include "plot/PlotMarkLines.h"
#include "plot/PlotMarkPainter.h"

#include <QCloseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QScrollBar>

#include <algorithm>

namespace {

// Named as the other bitmap resources are; no logo gives an empty corner.
const char* const kWatermarkLogo = ":/bitmaps/WATERMARK_LOGO.png";

QRect ToQRect(const PlotRect& r)
{
    return QRect(r.left, r.top, r.Width(), r.Height());
}

} // namespace

TPlotBase::TPlotBase(QWidget* parent) : QWidget(parent)
{
    m_BackgroundBrush = QBrush(palette().color(QPalette::Window));
    // Every pixel comes from the plot's image.
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Pointer shapes follow the pointer without a button held.
    setMouseTracking(true);
    // Focus, so that losing it can end a drag.
    setFocusPolicy(Qt::ClickFocus);
}

TPlotBase::~TPlotBase() = default;

void TPlotBase::LayoutPlotArea()
{
    ComputePlotLayout(ClientRect(), m_Margins, m_PaneCount, GetScrollBarHeight(), m_Areas);
}

void TPlotBase::SetPaneCount(int count)
{
    if ((count == 1 || count == 2) && count != m_PaneCount)
        m_PaneCount = count;
}

PlotRect TPlotBase::GetPlotRectAt(int x, int y) const
{
    return PaneAt(m_Areas, m_PaneCount, x, y);
}

void TPlotBase::RefreshBackgroundBrush()
{
    m_BackgroundBrush = QBrush(palette().color(QPalette::Window));
    InvalidatePlot();
}

std::string TPlotBase::FormatAxisNumber(float value, std::uint32_t code, std::string_view unit) const
{
    return ::FormatAxisNumber(value, code, unit);
}

void TPlotBase::FormatReadout(float value, char* out, std::size_t capacity)
{
    ::FormatReadout(value, out, capacity);
}

std::string TPlotBase::ReadoutText(PlotAxis axis, float value)
{
    if (axis == PlotAxis::X)
        return FormatAxisNumber(value, m_XFormat, m_XUnit);
    return FormatAxisNumber(value, m_YFormat, m_YUnit);
}

void TPlotBase::DrawFrame3D(QPainter& dc, const PlotRect& r, int lineWidth) const
{
    const QColor light = m_Printing ? QColor(Qt::black) : palette().color(QPalette::Light);
    const QColor dark = m_Printing ? QColor(Qt::black) : palette().color(QPalette::Dark);
    dc.save();
    if (lineWidth <= 0) {
        QPen pen(light, 0);
        dc.setPen(pen);
        dc.drawLine(r.left, r.bottom, r.right, r.bottom);
        dc.drawLine(r.right, r.bottom, r.right, r.top);
        pen.setColor(dark);
        dc.setPen(pen);
        dc.drawLine(r.right, r.top, r.left, r.top);
        dc.drawLine(r.left, r.top, r.left, r.bottom);
    } else {
        // Bands of whole pixels centred on the edges as a pen of that width
        // would draw them, which stay sharp at any screen density.
        const int w = lineWidth;
        const int h = w / 2;
        dc.fillRect(QRect(r.left - h, r.bottom - h, r.Width() + w, w), light);
        dc.fillRect(QRect(r.right - h, r.top - h, w, r.Height() + w), light);
        dc.fillRect(QRect(r.left - h, r.top - h, r.Width(), w), dark);
        dc.fillRect(QRect(r.left - h, r.top - h, w, r.Height()), dark);
    }
    dc.restore();
}

void TPlotBase::DrawPaneFrames(QPainter& dc, bool, const PlotRect& clip)
{
    const int width = m_Printing ? 0 : 2;
    const int scrollBar = GetScrollBarHeight();
    // The scroll bar sits inside the lowest frame.
    if (m_PaneCount != 2) {
        if (clip.Intersects(m_Areas.Plot) || m_Printing)
            DrawFrame3D(dc, m_Areas.Plot.ExtendedDown(scrollBar).Inflated(1), width);
        return;
    }
    if (clip.Intersects(m_Areas.Pane1) || m_Printing)
        DrawFrame3D(dc, m_Areas.Pane1.Inflated(1), width);
    if (clip.Intersects(m_Areas.Pane2) || m_Printing)
        DrawFrame3D(dc, m_Areas.Pane2.ExtendedDown(scrollBar).Inflated(1), width);
}

void TPlotBase::PaintPlot(QPainter& dc, bool, const PlotRect& clip)
{
    if (m_Printing)
        return;
    const PlotRect strip{0, 0, width(), m_Margins.ToolStripHeight};
    if (!clip.Intersects(strip))
        return;
    dc.save();
    dc.fillRect(ToQRect(strip), palette().color(QPalette::Window));
    dc.fillRect(QRect(strip.left, strip.top, strip.Width(), 1), Qt::white);
    dc.fillRect(QRect(strip.left, strip.bottom, strip.Width(), 1), Qt::black);
    dc.restore();
}

void TPlotBase::DrawWatermark(QPainter&, const PlotRect&, const PlotRect&) {}

float TPlotBase::GetXValueAt(int, int)
{
    return 0.0f;
}

float TPlotBase::GetYValueAt(int, int)
{
    return 0.0f;
}

std::uint16_t TPlotBase::GetHarmonicCount(int, int)
{
    return 0;
}

PlotPoint TPlotBase::GetHarmonicPoint(std::uint16_t, int, int)
{
    return {};
}

PlotPoint TPlotBase::GetUpperSidebandPoint(std::uint16_t, int, int, int, int)
{
    return {};
}

PlotPoint TPlotBase::GetLowerSidebandPoint(std::uint16_t, int, int, int, int)
{
    return {};
}

std::uint16_t TPlotBase::GetCursorAxis()
{
    return 0;
}

void TPlotBase::SnapCursorPoint(PlotPoint&) {}

void TPlotBase::BeginCursorDraw(QPainter&) {}

void TPlotBase::EndCursorDraw(QPainter&) {}

void TPlotBase::GetYRange(float& low, float& high)
{
    low = 0.0f;
    high = 0.0f;
}

void TPlotBase::InitResources()
{
    m_Pointers = CreatePlotPointers(devicePixelRatioF());
    m_LabelFont = CreateLabelFont(kScreenLabelFontHeight, this);
    m_LabelFontHeight = kScreenLabelFontHeight;
    setCursor(m_Pointers.Arrow);
    m_ResourcesReady = true;
    UpdateLogoRect();
    ResetView();
}

void TPlotBase::Redraw(QPainter& dc, bool flag, const PlotRect& clip)
{
    DrawPaneFrames(dc, flag, clip);
    PaintPlot(dc, flag, clip);
}

void TPlotBase::ResetView()
{
    m_LastUpdateTime = 0.0f;
    LayoutPlotArea();
    UpdateScrollBar();
    UpdateSpan();
    InvalidatePlot();
    emit TitleRefreshRequested();
}

void TPlotBase::UpdateDisplay(float)
{
    InvalidatePlot();
    repaint();
}

void TPlotBase::SetIdle()
{
    m_Idle = true;
    if (!m_LogoRect.IsEmpty())
        InvalidatePlot(m_LogoRect);
}

void TPlotBase::ClearIdle()
{
    m_Idle = false;
    if (!m_LogoRect.IsEmpty())
        InvalidatePlot(m_LogoRect);
}

void TPlotBase::UpdateLogoRect()
{
    const QImage logo(QString::fromLatin1(kWatermarkLogo));
    if (logo.isNull()) {
        m_LogoRect = {};
        return;
    }
    const QSize size = logo.deviceIndependentSize().toSize();
    const PlotRect& plot = m_Areas.Plot;
    m_LogoRect = {plot.right - 1 - size.width(), plot.top + 1, plot.right - 1, plot.top + 1 + size.height()};
}

QImage& TPlotBase::BackBuffer()
{
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (QSizeF(size()) * ratio).toSize();
    if (m_BackBufferStale || m_BackBuffer.size() != pixels || m_BackBuffer.devicePixelRatio() != ratio) {
        if (m_BackBuffer.size() != pixels)
            m_BackBuffer = QImage(pixels, QImage::Format_RGB32);
        m_BackBuffer.setDevicePixelRatio(ratio);
        RenderBackBuffer();
    }
    return m_BackBuffer;
}

void TPlotBase::RenderBackBuffer()
{
    m_BackBufferStale = false;
    if (m_BackBuffer.isNull())
        return;
    QPainter painter(&m_BackBuffer);
    painter.fillRect(rect(), m_BackgroundBrush);
    Redraw(painter, true, ClientRect());
}

void TPlotBase::ShowBackBuffer(const PlotRect& area)
{
    if (area.IsEmpty())
        update();
    else
        update(ToQRect(area));
}

void TPlotBase::ShowBackBuffer(const QRegion& area)
{
    if (!area.isEmpty())
        update(area);
}

void TPlotBase::InvalidatePlot(const PlotRect& area)
{
    m_BackBufferStale = true;
    ShowBackBuffer(area);
}

void TPlotBase::paintEvent(QPaintEvent* event)
{
    const QImage& buffer = BackBuffer();
    QPainter painter(this);
    if (!m_Cursor.Tracking()) {
        // Each rectangle of the region, in bands of rows: Qt hands a larger
        // copy to its thread pool, whose wake-ups cost more than the copy
        // itself at the display rate, and the rectangles leave out what lies
        // between the panes and meters a frame redraws.
        constexpr int kBandRows = 64;
        const qreal ratio = buffer.devicePixelRatio();
        for (const QRect& area : event->region()) {
            for (int top = area.top(); top <= area.bottom(); top += kBandRows) {
                const QRect band(area.left(), top, area.width(), std::min(kBandRows, area.bottom() + 1 - top));
                painter.drawImage(band, buffer, QRectF(QPointF(band.topLeft()) * ratio, QSizeF(band.size()) * ratio));
            }
        }
        return;
    }
    QImage frame = buffer;
    {
        QPainter framePainter(&frame);
        PaintMarks(framePainter);
    }
    painter.drawImage(QPointF(0, 0), frame);
}

void TPlotBase::PaintMarks(QPainter& painter)
{
    BeginCursorDraw(painter);
    InvertMarkLines(painter, CurrentMarkLines(m_Cursor, *this));
    EndCursorDraw(painter);

    const PlotPoint p = m_Cursor.LastPoint();
    if (!m_Cursor.CursorShown() || !m_ResourcesReady || p.x == 0 || p.y == 0)
        return;
    const PlotRect& pane = m_Cursor.HeldPane();
    DrawReadoutLabel(painter, XReadoutRect(pane, p.x, m_XLabelWidth, m_XLabelHeight),
                     QString::fromStdString(m_Cursor.XReadoutText()), m_LabelFont);
    DrawReadoutLabel(painter, YReadoutRect(pane, p.y, m_YLabelWidth, m_YLabelHeight),
                     QString::fromStdString(m_Cursor.YReadoutText()), m_LabelFont);
}

void TPlotBase::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    ResetView();
    UpdateLogoRect();
    InvalidatePlot();
}

void TPlotBase::closeEvent(QCloseEvent* event)
{
    // A plot never closes itself; its owner destroys it.
    event->ignore();
}

void TPlotBase::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        RefreshBackgroundBrush();
    else if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        CancelTracking();
}
