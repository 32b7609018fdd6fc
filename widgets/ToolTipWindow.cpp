#include "widgets/ToolTipWindow.h"

#include <QFontMetrics>
#include <QPainter>
#include <QToolTip>

ToolTipWindow::ToolTipWindow(QWidget* owner)
    : QWidget(owner, Qt::ToolTip | Qt::FramelessWindowHint)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // The desktop's tool-tip font: the classic tip font is smaller than any
    // face offers on a modern screen.
    setFont(QToolTip::font());
}

void ToolTipWindow::SetText(const QString& text)
{
    text_ = text;
    update();
}

QSize ToolTipWindow::TextSize() const
{
    const QFontMetrics metrics(font());
    return QSize(metrics.horizontalAdvance(text_), metrics.height());
}

void ToolTipWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setPen(Qt::black);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    const QFontMetrics metrics(font());
    painter.drawText(QPoint(4, 1 + metrics.ascent()), text_);
}
