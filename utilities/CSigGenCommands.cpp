// The commands that change the signal: a type chosen, its details edited,
// the output level set. Each cancels a running build first, since the
// build it would finish is about to be replaced.

#include "utilities/CSigGen.h"

#include <QComboBox>

#include "settings/FrameSettings.h"
#include "utilities/CSigGenOutputLevelDlg.h"
#include "utilities/SigGenChannelDialog.h"

void CSigGen::OnSelChangeLeftType(int entry)
{
    const int sigType = m_PLeftTypeCombo->itemData(entry).toInt();
    if (sigType < 0)
        return;
    CancelBuild();
    Settings().SigGenChannel[0].SigType = sigType;
    StopGenerator();
    EditChannelSettings(0);
    UpdateDetailsButtons();
    StartBuild();
}

void CSigGen::OnSelChangeRightType(int entry)
{
    const FrameSettings& settings = Settings();
    if (settings.Processing.Format.GetChannels() < 2 || settings.LockSignalGeneratorChannels != 0)
        return;
    // "N/A" stands for no type.
    const int sigType = m_PRightTypeCombo->itemData(entry).toInt();
    if (sigType < 0)
        return;
    CancelBuild();
    Settings().SigGenChannel[1].SigType = sigType;
    StopGenerator();
    EditChannelSettings(1);
    UpdateDetailsButtons();
    StartBuild();
}

void CSigGen::OnDetails(int channel)
{
    const bool wasPlaying = m_Playing;
    CancelBuild();
    StopGenerator();
    EditChannelSettings(channel);
    // Rebuilt whether or not the dialog changed anything.
    StartBuild();
    if (wasPlaying)
        StartGenerator();
}

bool CSigGen::EditChannelSettings(int channel)
{
    StopGenerator();
    UpdateOutputFormat();
    const auto nyquist = static_cast<std::int32_t>(m_SampleRate / 2);
    FrameSettings& settings = Settings();
    SigGenChannelSettings& channelSettings = settings.SigGenChannel[channel == 1 ? 1 : 0];
    if (channelSettings.SigType == kSigDTMF)
        return false;
    const QString waveFolder = QString::fromStdString(std::string(settings.m_DataPathsInUse.Get(DataPaths::kWave)));
    const std::unique_ptr<CSigGenDialog> dialog = CreateChannelDialog(this, channelSettings, nyquist, waveFolder);
    if (dialog == nullptr)
        return true;
    dialog->SetHelpHandler([this](int context) { m_PFrame->ShowHelp(context); });
    return dialog->exec() == QDialog::Accepted;
}

void CSigGen::OnLevel()
{
    CancelBuild();
    StopGenerator();
    FrameSettings& settings = Settings();
    SigGenOutputSettings levels = settings.SigGenOutput;
    // A port of its own just to learn whether the output is the DAQ module.
    const std::unique_ptr<SoundOutputPort> probe =
        m_PFrame->CreateOutputPort(settings.m_OutputDevice, settings.SoundCardDriverMode);
    const bool isDaq = probe != nullptr && probe->IsQuarnDAQ();
    CSigGenOutputLevelDlg dialog(this, &levels, isDaq);
    dialog.SetHelpHandler([this](int context) { m_PFrame->ShowHelp(context); });
    if (dialog.exec() != QDialog::Accepted)
        return;
    settings.SigGenOutput = levels;
    RefreshFromSettings();
}

void CSigGen::RefreshFromSettings()
{
    StopGenerator();
    StartBuild();
    if (m_ControlsCreated) {
        CreateTypeCombo(0);
        CreateTypeCombo(1);
        UpdateDetailsButtons();
    }
    update();
}
