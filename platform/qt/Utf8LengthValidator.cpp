#include "platform/qt/Utf8LengthValidator.h"

QValidator::State Utf8LengthValidator::validate(QString& input, int&) const
{
    return input.toUtf8().size() <= m_MaxBytes ? Acceptable : Invalid;
}
