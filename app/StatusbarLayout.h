#pragma once
// Where the status bar's parts go: the run-state text at the left, the
// level-meter pane across the rest. The format menu opens from the text.

#include <QRect>

struct StatusbarLayout {
    static constexpr int kHeight = 26;
    static constexpr int kPaneCount = 1;
    // The text area's width where the status font is the narrow face it was
    // laid out for; a wider face widens it (see CStatusbar).
    static constexpr int kTextWidth = 117;

    QRect textRect;
    QRect paneRect;
    // Clicking here opens the format menu.
    QRect formatArea;

    static StatusbarLayout Compute(int clientWidth, int textWidth = kTextWidth);
};
