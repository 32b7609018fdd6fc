#include "plot/TLimitScroll.h"

#include <QLineEdit>

TLimitScroll::TLimitScroll(QWidget* parent) : QScrollBar(Qt::Vertical, parent)
{
    // Three positions with the thumb held in the middle: both arrows stay
    // live (a bar without a range ignores its arrows) and the thumb shows
    // nothing of a value the bar does not keep.
    setRange(0, 2);
    setPageStep(1);
    setValue(1);
    connect(this, &QAbstractSlider::actionTriggered, this, &TLimitScroll::OnAction);
    connect(this, &QAbstractSlider::valueChanged, this, [this](int value) {
        if (value != 1)
            setValue(1);
    });
}

TLimitScroll::TLimitScroll(QWidget* parent, int id, int left, int top, int right, int bottom, QLineEdit* buddy,
                           float maximum, float minimum, float step)
    : TLimitScroll(parent)
{
    setObjectName(QString::number(id));
    setGeometry(left, top, right - left, bottom - top);
    setVisible(false);
    Attach(buddy, maximum, minimum, step, LimitStep::kAdd);
}

void TLimitScroll::Attach(QLineEdit* buddy, float maximum, float minimum, float step, std::uint32_t mode)
{
    m_Buddy = buddy;
    m_Limits.Maximum = maximum;
    m_Limits.Minimum = minimum;
    m_Limits.Step = step;
    m_Limits.Mode = mode;
    m_Limits.Decimals = 0;
}

void TLimitScroll::OnAction(int action)
{
    // On a vertical bar the upper arrow subtracts: it raises the number.
    if (action == QAbstractSlider::SliderSingleStepSub)
        StepUp();
    else if (action == QAbstractSlider::SliderSingleStepAdd)
        StepDown();
}

void TLimitScroll::StepUp()
{
    if (m_Buddy != nullptr)
        Write(m_Limits.StepUpText(m_Buddy->text().toStdString()));
}

void TLimitScroll::StepDown()
{
    if (m_Buddy != nullptr)
        Write(m_Limits.StepDownText(m_Buddy->text().toStdString()));
}

void TLimitScroll::Write(const std::string& text)
{
    m_Buddy->setText(QString::fromStdString(text));
    emit Stepped();
}
