#pragma once
// The hover-tip rules of the tool button, apart from its timers and windows:
// a tip appears once the cursor has rested on the button for one timer
// period, and goes when a later check finds the cursor off the button.

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

class ToolTipTracker {
public:
    // A tip text this long or longer is dropped: the button then has no tip.
    static constexpr int kMaxTipLength = 80;
    // Gap between the button's bottom edge and the tip.
    static constexpr int kTipGap = 4;

    enum class Action { None, RestartHoverWait, ShowTip, HideTip };

    static bool AcceptsTipText(const QString& text) { return text.size() < kMaxTipLength; }

    // The tip's screen rectangle: from the button's horizontal centre, kTipGap
    // pixels below its bottom edge, 4 pixels of margin each side of the text
    // and 1 above and below.
    static QRect TipRect(const QRect& buttonOnScreen, const QSize& textSize);

    // A move inside the button while no tip is shown notes the position and
    // restarts the wait; a move reported outside (the mouse is captured)
    // removes the tip; moves over a shown tip change nothing.
    Action OnMouseMove(bool inside, const QPoint& screenPos);
    // The wait ends: a tip only when the cursor has not moved since.
    Action OnHoverTimer(const QPoint& cursorScreenPos) const;
    // Periodic check while a tip is shown.
    Action OnShownTimer(bool cursorInside) const;

    bool IsTipShown() const { return tipShown_; }
    void SetTipShown(bool shown) { tipShown_ = shown; }
    QPoint HoverPosition() const { return hoverPos_; }

private:
    QPoint hoverPos_;
    bool tipShown_ = false;
};
