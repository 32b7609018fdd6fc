#include "widgets/ToolTipTracker.h"

QRect ToolTipTracker::TipRect(const QRect& buttonOnScreen, const QSize& textSize)
{
    const int left = buttonOnScreen.left() + buttonOnScreen.width() / 2;
    const int top = buttonOnScreen.top() + buttonOnScreen.height() + kTipGap;
    return QRect(left, top, textSize.width() + 8, textSize.height() + 2);
}

ToolTipTracker::Action ToolTipTracker::OnMouseMove(bool inside, const QPoint& screenPos)
{
    if (!inside)
        return Action::HideTip;
    if (tipShown_)
        return Action::None;
    hoverPos_ = screenPos;
    return Action::RestartHoverWait;
}

ToolTipTracker::Action ToolTipTracker::OnHoverTimer(const QPoint& cursorScreenPos) const
{
    return cursorScreenPos == hoverPos_ ? Action::ShowTip : Action::None;
}

ToolTipTracker::Action ToolTipTracker::OnShownTimer(bool cursorInside) const
{
    return cursorInside ? Action::None : Action::HideTip;
}
