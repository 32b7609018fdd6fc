#include "utilities/CLevelSweep.h"

#include <QFormLayout>
#include <QLineEdit>

#include "utilities/siggenlogic/SigGenText.h"
#include "utilities/siggenlogic/TSigGenChecks.h"

CLevelSweep::CLevelSweep(QWidget* parent, LevelSweepSettings* section, std::int32_t nyquist)
    : CSigGenDialog(parent, "Level Sweep Settings", kHelpContext), section_(section), nyquist_(nyquist),
      start_(MakeEdit(1953, siggen_text::Format62(section->StartDB))),
      stop_(MakeEdit(1954, siggen_text::Format62(section->StopDB))),
      frequency_(MakeEdit(1955, siggen_text::Format62(section->FreqHz))),
      time_(MakeEdit(1956, std::to_string(section->TimeMSec)))
{
    auto* content = new QFormLayout;
    AddField(content, "Start level (dB)", start_);
    AddField(content, "Stop level (dB)", stop_);
    AddField(content, "Signal Frequency (Hz)", frequency_);
    AddField(content, "Sweep Time (msec)", time_);
    SetContent(content);
}

bool CLevelSweep::OnOK()
{
    LevelSweepSettings read = *section_;
    read.StartDB = ReadReal(start_, kEditBuffer);
    read.StopDB = ReadReal(stop_, kEditBuffer);
    read.FreqHz = ReadReal(frequency_, kEditBuffer);
    read.TimeMSec = ReadInteger(time_, kEditBuffer);
    if (const CheckResult refusal = TSigGenChecks::CheckLevelSweep(read, nyquist_)) {
        Refuse(*refusal);
        return false;
    }
    *section_ = read;
    return true;
}
