// Run control and device changes, and what the bars and the run control
// ask of the frame.

#include "app/CMainFrame.h"

#include "app/CSidebar.h"
#include "app/CStatusbar.h"
#include "app/CToolbar2.h"
#include "app/core/TDataLog.h"
#include "app/core/TProcessingObjects.h"
#include "app/core/TRunControl.h"
#include "plot/TQuarnPlot.h"
#include "utilities/CSigGen.h"

#include <algorithm>

void CMainFrame::OnStart()
{
    StartRun(false);
}

void CMainFrame::StartRun(bool restart)
{
    // A refresh armed while stopped, or by a notice during the start, would
    // delete the input port of the run that starts now.
    m_DeviceChange.Cancel();
    const bool outer = !m_Starting;
    m_Starting = true;
    if (restart)
        m_Run->OnRestart();
    else
        m_Run->OnStart();
    if (outer)
        m_Starting = false;
}

void CMainFrame::OnStop()
{
    m_Run->OnStop();
}

void CMainFrame::ReinitInput()
{
    // The new port and objects must not be fed by a timer still running on
    // the old ones.
    if (m_Run->IsRunning() || m_Run->IsPlayback())
        OnStop();
    m_Run->RecreateInputPort();
    TProcessingSettings& p = m_Settings.Processing;
    p.ChannelProcessing = p.Format.NumChannels == 2 ? 2 : 0;
    m_Processing->BuildProcessing();
    p.UpdateDelaySamples();
    // A switch to two channels shows the right channel's plot at once, not
    // only after the next start.
    if (m_FirstShown)
        SyncPlotsWithMode();
    AfterInputChange();
    // The generator plays in the analysis format, which may have changed.
    if (m_SigGen != nullptr)
        m_SigGen->RefreshFromSettings();
    // The viewers show a row per channel the new mode analyses.
    RefreshUtilityWindows();
}

void CMainFrame::AfterInputChange()
{
    UpdateTitle();
    UpdateBarsMenu();
    UpdatePlotsMenu();
    if (m_Sidebar != nullptr)
        m_Sidebar->UpdateAll();
    if (m_Statusbar != nullptr)
        m_Statusbar->UpdateStatus(CStatusbar::kUpdateAll);
}

bool CMainFrame::OnDeviceChange()
{
    NotifySheetOfDeviceChange();
    return m_DeviceChange.OnDeviceChange();
}

void CMainFrame::OnDeviceChangeTimer()
{
    m_DeviceChange.OnTimer();
    if (m_Statusbar != nullptr)
        m_Statusbar->UpdateStatus(CStatusbar::kUpdateAll);
}

bool CMainFrame::DeviceRefresh::IsRunning() const
{
    return m_Frame.m_Starting || m_Frame.m_Run->IsRunning() || m_Frame.m_Run->IsPlayback();
}

void CMainFrame::DeviceRefresh::ReleaseInputPort()
{
    m_Frame.m_Run->ReleaseInputPort();
}

bool CMainFrame::DeviceRefresh::HasOutputPort() const
{
    return m_Frame.m_Run->GetOutputPort() != nullptr;
}

void CMainFrame::DeviceRefresh::ReleaseOutputPort()
{
    if (SoundOutputPort* port = m_Frame.m_Run->GetOutputPort())
        port->Stop();
    m_Frame.m_Run->SetOutputPort(nullptr);
}

// ---- What the bars ask ------------------------------------------------------

bool CMainFrame::IsRunning() const
{
    return m_Run != nullptr && m_Run->IsRunning();
}

bool CMainFrame::IsDataLoggingActive() const
{
    return m_Settings.DataLog.Active != 0;
}

bool CMainFrame::IsDataLogWriting() const
{
    return m_DataLog != nullptr && m_DataLog->IsWriting();
}

bool CMainFrame::IsTriggerEnabled() const
{
    return m_Settings.Trigger.Enable != 0;
}

bool CMainFrame::HasSpectrumPlot() const
{
    return m_Plot[0] != nullptr || m_Plot[1] != nullptr;
}

bool CMainFrame::IsPlaybackOn() const
{
    return m_Run != nullptr && m_Run->IsPlayback();
}

std::uint32_t CMainFrame::GetFrameCounter() const
{
    return m_Run != nullptr ? m_Run->GetFrameCounter() : 0;
}

std::uint32_t CMainFrame::GetFFTSize() const
{
    return m_Settings.Processing.FFTsize;
}

bool CMainFrame::HasInputPort() const
{
    return m_Run != nullptr && m_Run->GetInputPort() != nullptr;
}

void CMainFrame::EnsureInputPort()
{
    // A device change while stopped takes the port; the next Run would make
    // a new one, but the format menu asks now.
    if (m_Run == nullptr || m_Run->GetInputPort() != nullptr || m_Starting || m_Run->IsRunning() ||
        m_Run->IsPlayback())
        return;
    m_Run->RecreateInputPort();
}

std::optional<std::uint32_t> CMainFrame::GetInputSamplesAvailable() const
{
    if (!HasInputPort())
        return std::nullopt;
    return static_cast<std::uint32_t>(std::max(m_Run->GetInputPort()->GetSamplesAvailable(), 0));
}

bool CMainFrame::CheckInputFormat(std::uint32_t rate, std::uint16_t bytesPerSample, std::uint16_t channels) const
{
    return HasInputPort() && m_Run->GetInputPort()->CheckFormat(TWaveFormat(rate, channels, bytesPerSample));
}

std::optional<std::int32_t> CMainFrame::GetPeakValue(int channel) const
{
    const TSampleBuffer* buffer = m_Processing != nullptr ? m_Processing->GetSampleBuffer(channel) : nullptr;
    if (buffer == nullptr)
        return std::nullopt;
    return buffer->GetPeakValue();
}

void CMainFrame::IncrementOverloadCount(int channel)
{
    if (m_Run != nullptr)
        m_Run->CountOverload(channel);
}

TWaveFormat CMainFrame::GetAnalysisFormat() const
{
    return m_Settings.Processing.Format;
}

void CMainFrame::SetAnalysisFormat(const TWaveFormat& format)
{
    m_Settings.Processing.Format = format;
}

void CMainFrame::SetChannelMode(int mode)
{
    m_Settings.Processing.ChannelProcessing = static_cast<std::uint16_t>(mode);
}

// ---- What the run control asks ---------------------------------------------

void CMainFrame::UpdateRunState()
{
    if (m_Sidebar != nullptr)
        m_Sidebar->UpdateRunState();
    if (m_Toolbar != nullptr)
        m_Toolbar->SyncButtonStates();
}

void CMainFrame::UpdateStatus(StatusMode mode)
{
    if (m_Statusbar != nullptr)
        m_Statusbar->UpdateStatus(static_cast<int>(mode));
}

void CMainFrame::SetPlotsActive()
{
    for (TQuarnPlot* plot : m_Plot)
        if (plot != nullptr)
            plot->ClearIdle();
}

void CMainFrame::SetPlotsIdle()
{
    for (TQuarnPlot* plot : m_Plot)
        if (plot != nullptr)
            plot->SetIdle();
}

bool CMainFrame::HasPlot(int channel) const
{
    return Plot(channel) != nullptr;
}

void CMainFrame::SetSpectralData(int channel, SpectralData* trace1, SpectralData* trace2)
{
    if (TQuarnPlot* plot = Plot(channel))
        plot->SetSpectralData(trace1, trace2);
}

void CMainFrame::ResetView(int channel)
{
    if (TQuarnPlot* plot = Plot(channel))
        plot->ResetView();
}

void CMainFrame::SetTimeAxis(int channel, bool timeAxis)
{
    if (TQuarnPlot* plot = Plot(channel))
        plot->SetTimeAxis(timeAxis);
}

float CMainFrame::PlotSeconds(double blockTime) const
{
    // A time of 0 would force an update; the first block is never that early.
    constexpr float kEarliest = 0.001f;
    if (m_Run->IsPlayback())
        return static_cast<float>(blockTime);
    return std::max(static_cast<float>(blockTime - m_TimeBase), kEarliest);
}

void CMainFrame::UpdateDisplay(int channel, double blockTime)
{
    if (TQuarnPlot* plot = Plot(channel))
        plot->UpdateDisplay(PlotSeconds(blockTime));
}
