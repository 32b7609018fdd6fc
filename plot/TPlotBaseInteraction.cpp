// The mouse, the zoom selection and the scroll bar of TPlotBase.
#include "plot/TPlotBase.h"

#include "plot/PlotMarkLines.h"
#include "plot/PlotScroll.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace {

// Qt reports fractional positions on scaled screens; a pixel is the one the
// position falls in.
QPoint PixelOf(const QMouseEvent* event)
{
    const QPointF p = event->position();
    return QPoint(static_cast<int>(std::floor(p.x())), static_cast<int>(std::floor(p.y())));
}

int ScrollCodeOf(int action)
{
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        return plot_scroll::kLineLeft;
    case QAbstractSlider::SliderSingleStepAdd:
        return plot_scroll::kLineRight;
    case QAbstractSlider::SliderPageStepSub:
        return plot_scroll::kPageLeft;
    case QAbstractSlider::SliderPageStepAdd:
        return plot_scroll::kPageRight;
    case QAbstractSlider::SliderMove:
        return plot_scroll::kThumbTrack;
    default:
        // To the ends, from the scroll bar's own menu: not a notice the
        // plot moves by.
        return -1;
    }
}

} // namespace

void TPlotBase::ApplyPointer(PlotPointer pointer)
{
    switch (pointer) {
    case PlotPointer::Unchanged:
        return;
    case PlotPointer::Plot:
        setCursor(m_Pointers.Plot);
        return;
    case PlotPointer::Drag:
        setCursor(m_Pointers.Drag);
        return;
    case PlotPointer::Zoom:
        setCursor(m_Pointers.Zoom);
        return;
    case PlotPointer::Arrow:
        setCursor(m_Pointers.Arrow);
        return;
    }
}

void TPlotBase::OnLButtonDown(Qt::KeyboardModifiers keys, int x, int y)
{
    const bool wasShowing = m_Cursor.Tracking();
    const PlotPointer pointer =
        m_Cursor.Press(keys.testFlag(Qt::ControlModifier), keys.testFlag(Qt::ShiftModifier), x, y);
    ApplyPointer(pointer);
    if (wasShowing || m_Cursor.Tracking())
        update();
}

void TPlotBase::OnMouseMove(Qt::KeyboardModifiers, int x, int y)
{
    const PlotPointer pointer = m_Cursor.Move(x, y);
    ApplyPointer(pointer);
    if (m_Cursor.Tracking())
        update();
}

void TPlotBase::OnLButtonUp(Qt::KeyboardModifiers, int x, int y)
{
    const PlotPointer pointer = m_Cursor.Release(x, y);
    ApplyPointer(pointer);
    // The labels stand outside the panes, over the margins: all of it goes.
    update();
}

void TPlotBase::CancelTracking()
{
    if (!m_Cursor.Tracking())
        return;
    m_Cursor.Cancel();
    ApplyPointer(PlotPointer::Plot);
    update();
}

void TPlotBase::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QPoint p = PixelOf(event);
    OnLButtonDown(event->modifiers(), p.x(), p.y());
}

void TPlotBase::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = PixelOf(event);
    OnMouseMove(event->modifiers(), p.x(), p.y());
}

void TPlotBase::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    const QPoint p = PixelOf(event);
    OnLButtonUp(event->modifiers(), p.x(), p.y());
}

void TPlotBase::MoveCursorByKey(PlotPoint&) {}

void TPlotBase::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (!m_Cursor.CursorShown() || (key != Qt::Key_Left && key != Qt::Key_Right)) {
        QWidget::keyPressEvent(event);
        return;
    }
    const int step = event->modifiers().testFlag(Qt::ShiftModifier) ? 10 : 1;
    PlotPoint point = m_Cursor.LastPoint();
    point.x += key == Qt::Key_Left ? -step : step;
    const PlotRect& pane = m_Cursor.HeldPane();
    if (!pane.IsEmpty())
        point.x = std::clamp(point.x, pane.left, pane.right - 1);
    MoveCursorByKey(point);
    OnMouseMove(Qt::NoModifier, point.x, point.y);
}

void TPlotBase::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    // A popup menu over a held cursor (the spectrum plot's copy menu) keeps
    // the cursor; the menu's owner ends it.
    if (event->reason() != Qt::PopupFocusReason)
        CancelTracking();
}

void TPlotBase::TrackSelection(int x, int)
{
    m_Cursor.SetZoomRect(TrackSelectionRect(m_Cursor.ZoomRect(), x, m_Areas.Plot));
}

void TPlotBase::ZoomToRect(const PlotRect&)
{
    m_Cursor.SetZoomMode(false);
}

void TPlotBase::ClearSelection()
{
    m_Cursor.SetZoomRect({});
    m_Cursor.SetZoomMode(false);
}

void TPlotBase::UpdateSpan()
{
    m_SpanStart = 0;
    m_SpanEnd = 100;
}

void TPlotBase::UpdateScrollRange()
{
    m_ScrollMax = 100;
}

int TPlotBase::GetScrollBarHeight() const
{
    return m_ScrollBarShown && !m_Printing ? kScrollBarHeight : 0;
}

void TPlotBase::UpdateScrollBar()
{
    UpdateScrollRange();
    if (m_ScrollBar == nullptr) {
        m_ScrollBar = new QScrollBar(Qt::Horizontal, this);
        m_ScrollBar->hide();
        // The span follows the thumb when it is let go, not while dragged.
        m_ScrollBar->setTracking(false);
        connect(m_ScrollBar, &QScrollBar::actionTriggered, this, [this](int action) {
            const int code = ScrollCodeOf(action);
            if (code >= 0)
                OnHScroll(code, m_ScrollBar->sliderPosition());
            else
                m_ScrollBar->setSliderPosition(m_ScrollBar->value());
        });
        connect(m_ScrollBar, &QScrollBar::sliderReleased, this,
                [this] { OnHScroll(plot_scroll::kThumbPosition, m_ScrollBar->sliderPosition()); });
    } else {
        m_ScrollPos = m_ScrollBar->value();
    }
    const PlotRect& plot = m_Areas.Plot;
    m_ScrollBar->setGeometry(plot.left, plot.bottom, std::max(0, plot.Width()), kScrollBarHeight);
    m_ScrollBar->setRange(0, std::max(0, m_ScrollMax));
    // A thumb as wide as the share of the whole range that the span shows.
    m_ScrollBar->setPageStep(std::max(1, m_SpanEnd - m_SpanStart));
    m_ScrollBar->setEnabled(true);
}

void TPlotBase::ShowScrollBar()
{
    if (m_ScrollBarShown)
        return;
    if (m_ScrollBar == nullptr)
        UpdateScrollBar();
    m_ScrollBarShown = true;
    m_ScrollBar->show();
    LayoutPlotArea();
    UpdateScrollBar();
    InvalidatePlot();
}

void TPlotBase::HideScrollBar()
{
    if (!m_ScrollBarShown)
        return;
    m_ScrollBarShown = false;
    if (m_ScrollBar != nullptr)
        m_ScrollBar->hide();
    LayoutPlotArea();
    UpdateScrollBar();
    InvalidatePlot();
}

void TPlotBase::OnHScroll(int code, int position)
{
    if (m_ScrollBar == nullptr)
        return;
    const auto span = static_cast<std::uint32_t>(m_SpanEnd - m_SpanStart);
    const auto target = ScrollTargetPosition(code, m_ScrollBar->value(), span, position);
    if (!target)
        return;
    m_ScrollBar->setValue(ClampScrollPosition(*target, m_ScrollBar->maximum()));
    m_SpanStart = m_ScrollBar->value();
    m_SpanEnd = static_cast<int>(static_cast<std::int64_t>(m_SpanStart) + span);
    ResetView();
}
