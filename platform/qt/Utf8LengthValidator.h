#pragma once
// Holds an edit's text to what a fixed-size field of the records keeps: the
// limit counts UTF-8 bytes, not characters, so that a title in any script
// is never cut after OK; a keystroke that would not fit is refused.

#include <QValidator>

class Utf8LengthValidator : public QValidator {
    Q_OBJECT

public:
    Utf8LengthValidator(int maxBytes, QObject* parent) : QValidator(parent), m_MaxBytes(maxBytes) {}

    State validate(QString& input, int& position) const override;

private:
    int m_MaxBytes;
};
