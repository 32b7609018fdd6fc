#pragma once
// The small window a tool button shows as its hover tip: black text on
// white in a one-pixel black frame. Desktops do not let a program draw on
// the screen itself, so the tip is a frameless tool-tip window of its own.

#include <QString>
#include <QWidget>

class ToolTipWindow : public QWidget {
public:
    explicit ToolTipWindow(QWidget* owner);

    void SetText(const QString& text);
    const QString& Text() const { return text_; }
    // Size of the text in the tip's font.
    QSize TextSize() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
};
