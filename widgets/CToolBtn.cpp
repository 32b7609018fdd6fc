#include "widgets/CToolBtn.h"

#include "widgets/ButtonBitmap.h"
#include "widgets/ButtonColours.h"
#include "widgets/ToolTipWindow.h"

#include <QCursor>
#include <QEvent>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>

CToolBtn::CToolBtn(QWidget* parent, std::uint32_t id, const QString& upName, const QString& downName,
                   const QString& greyName, const QString& tipText)
    : QAbstractButton(parent)
    , id_(id)
    , upName_(upName)
    , downName_(downName)
    , greyName_(greyName)
{
    if (ToolTipTracker::AcceptsTipText(tipText))
        tipText_ = tipText;
    setAccessibleName(tipText_);
    setFocusPolicy(Qt::TabFocus);
    // Hover tips need moves without a button held.
    setMouseTracking(true);
    setGeometry(0, 0, 1, 1);

    hoverTimer_.setInterval(kTipTimerMs);
    shownTimer_.setInterval(kTipTimerMs);
    connect(&hoverTimer_, &QTimer::timeout, this, [this] { OnTimer(IDT_TIP_HOVER); });
    connect(&shownTimer_, &QTimer::timeout, this, [this] { OnTimer(IDT_TIP_SHOWN); });
    connect(this, &QAbstractButton::clicked, this, [this] { emit Command(id_); });
    connect(this, &QAbstractButton::pressed, this, &CToolBtn::HideTip);

    LoadBitmaps();
    // A visible child, also when the owner adds it to a window already shown.
    if (parentWidget() != nullptr)
        show();
}

// The tip window is a child of the button and goes with it.
CToolBtn::~CToolBtn() = default;

void CToolBtn::LoadBitmaps()
{
    const ButtonColours colours = ButtonColours::FromPalette(palette());
    loadedRatio_ = devicePixelRatioF();
    upBitmap_ = ButtonBitmap::Load(upName_, loadedRatio_, colours);
    downBitmap_ = ButtonBitmap::Load(downName_, loadedRatio_, colours);
    greyBitmap_ = ButtonBitmap::Load(greyName_, loadedRatio_, colours);
    const QSizeF size = upBitmap_.deviceIndependentSize();
    width_ = static_cast<int>(std::lround(size.width()));
    height_ = static_cast<int>(std::lround(size.height()));
    update();
}

void CToolBtn::SetGreyed()
{
    if (HasGreyBitmap())
        ChangeState(greyed_, true);
}

void CToolBtn::ClearGreyed()
{
    ChangeState(greyed_, false);
}

void CToolBtn::SetLatched(bool latched)
{
    if (latched)
        SetLatch();
    else
        ClearLatch();
}

void CToolBtn::SetLatch()
{
    ChangeState(latched_, true);
}

void CToolBtn::ClearLatch()
{
    ChangeState(latched_, false);
}

void CToolBtn::ChangeState(bool& flag, bool value)
{
    if (flag == value)
        return;
    flag = value;
    // A button that changes its look never leaves a stale tip behind.
    HideTip();
    update();
}

ToolBtnImage CToolBtn::ShownImage() const
{
    return ChooseToolBtnImage(greyed_, HasGreyBitmap(), latched_, isDown());
}

const QImage& CToolBtn::BitmapFor(ToolBtnImage image) const
{
    switch (image) {
    case ToolBtnImage::Grey:
        return greyBitmap_;
    case ToolBtnImage::Down:
        return downBitmap_;
    case ToolBtnImage::Up:
        break;
    }
    return upBitmap_;
}

void CToolBtn::paintEvent(QPaintEvent*)
{
    // Moved to a screen of another density: draw from the matching drawings.
    if (!qFuzzyCompare(loadedRatio_, devicePixelRatioF()))
        LoadBitmaps();

    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Button));
    const QImage& bitmap = BitmapFor(ShownImage());
    if (!bitmap.isNull()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        const qreal scale = bitmap.devicePixelRatio();
        painter.drawImage(QRectF(0, 0, width_, height_), bitmap,
                          QRectF(0, 0, width_ * scale, height_ * scale));
    }
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::ButtonText), 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(3, 3, -4, -4));
    }
}

void CToolBtn::mouseMoveEvent(QMouseEvent* event)
{
    const bool inside = rect().contains(event->position().toPoint());
    switch (tracker_.OnMouseMove(inside, event->globalPosition().toPoint())) {
    case ToolTipTracker::Action::RestartHoverWait:
        hoverTimer_.start();
        break;
    case ToolTipTracker::Action::HideTip:
        HideTip();
        break;
    case ToolTipTracker::Action::ShowTip:
    case ToolTipTracker::Action::None:
        break;
    }
    QAbstractButton::mouseMoveEvent(event);
}

void CToolBtn::mousePressEvent(QMouseEvent* event)
{
    // Other buttons are swallowed here, so that a right click on a button
    // never reaches the bar beneath it.
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    QAbstractButton::mousePressEvent(event);
}

void CToolBtn::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    QAbstractButton::mouseReleaseEvent(event);
}

void CToolBtn::leaveEvent(QEvent* event)
{
    // The cursor left before the wait ended: no tip is due. A shown tip
    // goes at the next check of IDT_TIP_SHOWN.
    hoverTimer_.stop();
    QAbstractButton::leaveEvent(event);
}

void CToolBtn::hideEvent(QHideEvent* event)
{
    HideTip();
    QAbstractButton::hideEvent(event);
}

void CToolBtn::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange)
        LoadBitmaps();
    QAbstractButton::changeEvent(event);
}

void CToolBtn::OnTimer(int timerId)
{
    if (timerId == IDT_TIP_HOVER) {
        if (tracker_.OnHoverTimer(QCursor::pos()) != ToolTipTracker::Action::ShowTip)
            return;
        hoverTimer_.stop();
        HideTip();
        ShowTip();
        if (tracker_.IsTipShown())
            shownTimer_.start();
    } else if (timerId == IDT_TIP_SHOWN) {
        const bool inside = rect().contains(mapFromGlobal(QCursor::pos()));
        if (tracker_.OnShownTimer(inside) == ToolTipTracker::Action::HideTip)
            HideTip();
    }
}

void CToolBtn::ShowTip()
{
    if (tracker_.IsTipShown() || tipText_.isEmpty())
        return;
    if (tip_ == nullptr)
        tip_ = new ToolTipWindow(this);
    tip_->SetText(tipText_);
    const QRect buttonOnScreen(mapToGlobal(QPoint(0, 0)), size());
    tip_->setGeometry(ToolTipTracker::TipRect(buttonOnScreen, tip_->TextSize()));
    tip_->show();
    tip_->raise();
    tracker_.SetTipShown(true);
    hoverTimer_.stop();
}

void CToolBtn::HideTip()
{
    hoverTimer_.stop();
    shownTimer_.stop();
    if (tracker_.IsTipShown()) {
        if (tip_ != nullptr)
            tip_->hide();
        tracker_.SetTipShown(false);
    }
}
