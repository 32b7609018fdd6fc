// Starting builds and taking their reports.

#include "utilities/CSigGen.h"

#include <QPushButton>

#include "widgets/ProgressSignals.h"
#include "platform/MessageBox.h"
#include "settings/FrameSettings.h"
#include "utilities/siggen/TWaveformBuild.h"

TSigGenBuildRequest CSigGen::MakeRequest()
{
    const FrameSettings& settings = Settings();
    TSigGenBuildRequest request;
    request.AnalyzerFormat = settings.Processing.Format;
    request.SoundCardDriverMode = settings.SoundCardDriverMode;
    request.LockSignalGeneratorChannels = settings.LockSignalGeneratorChannels;
    request.Output = settings.SigGenOutput;
    request.Channel[0] = settings.SigGenChannel[0];
    request.Channel[1] = settings.SigGenChannel[1];
    return request;
}

void CSigGen::ApplyOutputFormat(const TSigGenOutputFormat& format)
{
    m_SampleRate = format.SampleRate;
    m_BitsPerSample = format.BitsPerSample;
    m_Channels = format.Channels;
}

void CSigGen::UpdateOutputFormat()
{
    ApplyOutputFormat(TWaveformBuild::PreviewOutputFormat(MakeRequest()));
}

void CSigGen::StartBuild()
{
    // The new build drops the buffer, which no port may still be playing.
    if (m_PSoundOutput != nullptr) {
        m_OneShotTimer.stop();
        ReleasePort();
        m_Playing = false;
        UpdateLayout();
    }
    if (m_ControlsCreated) {
        m_PRunButton->setEnabled(false);
        m_PStopButton->setEnabled(false);
    }
    m_BuildShown = true;
    UpdateCaption();
    ShowProgress();
    m_CurrentBuild = m_Builder.StartBuild(MakeRequest());
    ApplyOutputFormat(m_Builder.GetOutputFormat());
}

void CSigGen::OnBuildProgress(int percent)
{
    ProgressSignals* progress = m_PFrame->GetProgressSignals();
    if (m_BuildShown && progress != nullptr)
        emit progress->ProgressSet(percent);
}

void CSigGen::OnBuildFinished(const TSigGenBuildResult& result)
{
    // A build that a newer one replaced has nothing left to say.
    if (result.BuildId != m_CurrentBuild)
        return;
    m_BuildShown = false;
    if (m_ControlsCreated) {
        m_PRunButton->setEnabled(true);
        m_PStopButton->setEnabled(true);
    }
    UpdateCaption();
    UpdateDetailsButtons();
    HideProgress();
    for (const std::string& message : result.Messages)
        platform::ShowMessageBox(message);
}

void CSigGen::ShowProgress()
{
    if (ProgressSignals* progress = m_PFrame->GetProgressSignals())
        emit progress->ProgressShow();
}

void CSigGen::HideProgress()
{
    if (ProgressSignals* progress = m_PFrame->GetProgressSignals())
        emit progress->ProgressHide();
}
