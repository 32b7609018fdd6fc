#pragma once
// A small vertical scroll bar used as a spin button beside a numeric edit
// field: its up arrow raises the field's number by a step (or multiplies it),
// its down arrow lowers it, always within a minimum and a maximum, and the
// field is rewritten with a fixed number of decimals. The bar keeps no value
// of its own: the field's text is the value.

#include "plot/LimitStep.h"

#include <QLineEdit>
#include <QPointer>
#include <QScrollBar>

#include <cstdint>


class TLimitScroll : public QScrollBar {
    Q_OBJECT

public:
    // Not bound yet: Attach names the field.
    explicit TLimitScroll(QWidget* parent = nullptr);
    // Placed at (left, top)–(right, bottom) of the parent, additive steps,
    // no decimals; hidden until the owner shows it.
    TLimitScroll(QWidget* parent, int id, int left, int top, int right, int bottom, QLineEdit* buddy, float maximum,
                 float minimum, float step);

    // Resets the precision to 0; owners set it after.
    void Attach(QLineEdit* buddy, float maximum, float minimum, float step, std::uint32_t mode);
    void SetPrecision(int decimals) { m_Limits.SetPrecision(decimals); }
    void SetStep(float step, std::uint32_t mode) { m_Limits.SetStep(step, mode); }
    void SetRange(float maximum, float minimum) { m_Limits.SetRange(maximum, minimum); }
    void StepUp();
    void StepDown();

    // An arrow held down: its steps repeat until the release.
    bool IsRepeating() const { return repeatAction() != SliderNoAction; }

    QLineEdit* Buddy() const { return m_Buddy; }
    const LimitStep& Limits() const { return m_Limits; }

signals:
    // The field was rewritten by a step.
    void Stepped();

private:
    void OnAction(int action);
    void Write(const std::string& text);

    QPointer<QLineEdit> m_Buddy;
    LimitStep m_Limits;
};
