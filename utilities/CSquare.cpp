#include "utilities/CSquare.h"

#include <QFormLayout>
#include <QLineEdit>

#include "utilities/siggenlogic/SigGenText.h"
#include "utilities/siggenlogic/TSigGenChecks.h"

CSquare::CSquare(QWidget* parent, SquareSettings* section, std::int32_t nyquist)
    : CSigGenDialog(parent, "Squarewave Settings", kHelpContext), section_(section), nyquist_(nyquist),
      frequency_(MakeEdit(1939, siggen_text::Format62(section->FreqHz))),
      duty_(MakeEdit(1940, std::to_string(section->DutyCyclePct)))
{
    auto* content = new QFormLayout;
    AddField(content, "Frequency (Hz)", frequency_);
    AddField(content, "Duty Cycle (%)", duty_);
    SetContent(content);
}

bool CSquare::OnOK()
{
    SquareSettings read = *section_;
    read.FreqHz = ReadReal(frequency_, kEditBuffer);
    read.DutyCyclePct = ReadInteger(duty_, kEditBuffer);
    if (const CheckResult refusal = TSigGenChecks::CheckSquare(read, nyquist_)) {
        Refuse(*refusal);
        return false;
    }
    *section_ = read;
    return true;
}
