#include "utilities/CTriangular.h"

#include <QFormLayout>
#include <QLineEdit>

#include "utilities/siggenlogic/SigGenText.h"
#include "utilities/siggenlogic/TSigGenChecks.h"

CTriangular::CTriangular(QWidget* parent, TriangularSettings* section, std::int32_t nyquist)
    : CSigGenDialog(parent, "Triangular Signal Settings", kHelpContext), section_(section), nyquist_(nyquist),
      frequency_(MakeEdit(1937, siggen_text::Format62(section->FreqHz)))
{
    auto* content = new QFormLayout;
    AddField(content, "Frequency (Hz)", frequency_);
    SetContent(content);
}

bool CTriangular::OnOK()
{
    TriangularSettings read = *section_;
    read.FreqHz = ReadReal(frequency_, kEditBuffer);
    if (const CheckResult refusal = TSigGenChecks::CheckTriangular(read, nyquist_)) {
        Refuse(*refusal);
        return false;
    }
    *section_ = read;
    return true;
}
