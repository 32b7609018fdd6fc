#include "app/core/TRunControl.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "app/core/TProcessingObjects.h"
#include "platform/MessageBox.h"
#include "platform/Trace.h"
#include "settings/FrameSettings.h"

namespace {

constexpr const char* kNotCalibratedMessage = "WARNING the microphone has not yet been calibrated!";
constexpr const char* kNoDeviceMessage =
    "The Talvenor DAQ was not detected on your system.  Please plug the device into the USB port.";
constexpr const char* kOpenFailedMessage =
    "Unable to open the Talvenor DAQ device.  Make sure that it is connected to the USB port";
constexpr const char* kInputRateMessage =
    "The current Sampling Rate is not supported by your sound card.  Please check the processing settings and "
    "the input device selection.";
constexpr const char* kNotTheDaqMessage =
    "The Calibration is setup to use the special features of the Talvenor DAQ hardware but it is not the "
    "selected device.\n\nPlease check the device and calibration settings.";
constexpr const char* kStartFailedMessage = "SoundIO - Failure starting input";

} // namespace

TRunControl::TRunControl(FrameSettings& settings, TProcessingObjects& processing, const RunServices& services)
    : m_Settings(settings), m_Processing(processing), m_Services(services)
{
}

TRunControl::~TRunControl()
{
    // The driver's thread may still be writing into a recording or reading
    // a played wave: both ports stop before they go.
    if (m_PSoundOut)
        m_PSoundOut->Stop();
    ReleaseInputPort();
}

void TRunControl::OnStart()
{
    StartInput();
}

void TRunControl::OnStop()
{
    StopInput();
    if (m_Services.Utilities.HasGenerator())
        m_Services.Utilities.StopGeneratorOutput();
}

void TRunControl::OnRestart()
{
    OnStop();
    OnStart();
}

void TRunControl::OnStopCommand()
{
    OnStop();
}

std::uint32_t TRunControl::GetHopSize() const
{
    return m_Settings.Processing.BlockHop();
}

void TRunControl::ClearCounters()
{
    m_FrameCounter = 0;
    m_OverloadCount[0] = m_OverloadCount[1] = 0;
    m_HasReadBlock = false;
    m_HasHoldTime = false;
}

void TRunControl::ReleaseInputPort()
{
    if (!m_PSoundIn)
        return;
    m_PSoundIn->Stop();
    m_PSoundIn->Close();
    m_PSoundIn.reset();
}

void TRunControl::RecreateInputPort()
{
    ReleaseInputPort();
    m_Settings.m_InputDevice = m_Services.Audio.FindDaqInputDevice();
    m_Settings.SoundCardDriverMode = AudioSystem::kAsioDriverMode;
    m_PSoundIn = m_Services.Audio.CreateInput(m_Settings.m_InputDevice, AudioSystem::kAsioDriverMode);
    if (m_PSoundIn)
        m_PSoundIn->SetFormat(m_Settings.Processing.Format);
}

// Steps that refuse a start: no device, a device that does not open, a rate
// it does not take.
bool TRunControl::OpenInputPort()
{
    const TWaveFormat& format = m_Settings.Processing.Format;
    if (m_Services.Audio.GetInputDeviceCount() == 0) {
        platform::ShowMessageBox(kNoDeviceMessage, platform::MessageIcon::Stop);
        return false;
    }
    if (!m_PSoundIn || !m_PSoundIn->Open(format)) {
        platform::ShowMessageBox(kOpenFailedMessage, platform::MessageIcon::Stop);
        return false;
    }
    if (!m_PSoundIn->IsSampleRateSupported(format)) {
        platform::ShowMessageBox(kInputRateMessage, platform::MessageIcon::Stop);
        return false;
    }
    return true;
}

bool TRunControl::StartInput()
{
    if (m_Running)
        return false;
    RunUtilities& utilities = m_Services.Utilities;
    if (utilities.HasGenerator())
        utilities.StopGeneratorOutput();
    if (m_Playback)
        StopPlayback();
    ReleaseInputPort();

    TProcessingSettings& processing = m_Settings.Processing;
    processing.UpdateDelaySamples();
    ClearCounters();

    m_Settings.m_InputDevice = m_Services.Audio.FindDaqInputDevice();
    const TChannelCalibration& left = m_Settings.Calibration[0];
    if (left.CalCreateMode == 0 && left.PctFullScale < 0.0f)
        platform::ShowMessageBox(kNotCalibratedMessage, platform::MessageIcon::Warning);

    m_PSoundIn = m_Services.Audio.CreateInput(m_Settings.m_InputDevice, AudioSystem::kAsioDriverMode);
    const bool isDaq = m_PSoundIn && m_PSoundIn->IsQuarnDAQ();
    if (m_PSoundIn) {
        m_PSoundIn->SetFormat(processing.Format);
        if (isDaq)
            m_Services.Daq.Reopen();
    }
    // A refused start leaves the port in place; the next start replaces it.
    if (!OpenInputPort())
        return false;

    m_Settings.Trigger.ClearRunState();
    m_Processing.BuildProcessing();
    m_Processing.ResetDisplays();
    ClearCounters();

    TWaveFile* recording = nullptr;
    if (utilities.HasRecorder() && utilities.GetRecorderState() == RunUtilities::kRecorderRecording)
        recording = utilities.GetRecorderWaveFile();
    if (isDaq)
        m_Services.Daq.ConfigureInput(m_Settings.Daq, m_Settings.m_InputDevice, m_Settings.m_OutputDevice, true);
    if (left.IsEnabled != 0 && left.CalCreateMode != 0 && !isDaq)
        platform::ShowMessageBox(kNotTheDaqMessage, platform::MessageIcon::Information);
    m_PSoundIn->PrepareInput(recording, processing.FFTsize, &m_Settings.Trigger);

    const bool generator = utilities.HasGenerator();
    if (generator)
        utilities.StartGenerator();
    if (!m_PSoundIn->Start()) {
        // Nothing else would tell the operator why Run did nothing, and the
        // generator would go on playing into a stopped analyzer.
        platform::ShowMessageBox(kStartFailedMessage, platform::MessageIcon::Error);
        if (generator)
            utilities.StopGeneratorOutput();
        return false;
    }

    m_Services.DataLog.StartDataLogging();
    const auto ticks = static_cast<std::uint32_t>(std::fmod(m_Services.Clock.SteadySeconds() * 1000.0, 4294967296.0));
    platform::Trace("StartInput() at Time = " + std::to_string(ticks) + "\n");
    m_Running = 1;
    if (const auto delivery = m_PSoundIn->GetDeliveryState()) {
        m_InputWatch.Start(m_Services.Clock.SteadySeconds(),
                           InputDeliveryWatch::LimitFor(processing.FFTsize, processing.Format.SamplingRate), *delivery);
        m_InputLoss.Start(m_Services.Clock.SteadySeconds(), m_Services.Clock.Now(), delivery->FramesLost,
                          processing.Format.SamplingRate, recording != nullptr, m_Settings.DataLog.Active != 0);
    }
    m_TimerIntervalMs = kFastIntervalMs;
    m_Services.Timer.Start(m_TimerIntervalMs);
    m_Services.Observer.UpdateRunState();
    m_Services.Observer.UpdateStatus(RunObserver::kWholeStatus);
    if (utilities.HasRecorder()) {
        utilities.UpdateRecorderPosition();
        utilities.UpdateRecorderButtons();
    }
    m_Services.Observer.SetPlotsActive();
    return true;
}

bool TRunControl::StopIfInputFailed()
{
    if (!m_Running || m_Playback || !m_PSoundIn)
        return false;
    const auto delivery = m_PSoundIn->GetDeliveryState();
    if (!delivery)
        return false;
    m_InputLoss.SetEdgeMargin(LossEdgeSeconds(*delivery));
    m_InputLoss.Note(m_Services.Clock.SteadySeconds(), delivery->FramesLost);
    const InputDeliveryWatch::Fault fault = m_InputWatch.Check(m_Services.Clock.SteadySeconds(), *delivery);
    if (fault == InputDeliveryWatch::Fault::None)
        return false;

    std::string device = m_PSoundIn->GetDeviceName();
    if (device.empty())
        device = "the input device";
    else
        device = "\"" + device + "\"";
    char what[96];
    if (fault == InputDeliveryWatch::Fault::ResetRequested)
        std::snprintf(what, sizeof what, "its driver asked to be reset (the device or its server has gone away)");
    else
        std::snprintf(what, sizeof what, "it delivered no sound for %.1f seconds", m_InputWatch.GetLimitSeconds());
    OnStop();
    ReleaseInputPort();
    platform::ShowMessageBox("The analysis has stopped: " + device + " stopped delivering sound; " + what
                                 + ".\n\nPress Run to start again once the device is back.",
                             platform::MessageIcon::Warning);
    return true;
}

double TRunControl::LossEdgeSeconds(const SoundInputPort::DeliveryState& delivery) const
{
    return delivery.BufferSeconds + m_TimerIntervalMs / 1000.0;
}

// Read after the port has stopped: a driver held up with the rest of the
// program counts the time up to the stop as it stops.
std::string TRunControl::FinishInputLossReport()
{
    const auto delivery = m_PSoundIn ? m_PSoundIn->GetDeliveryState() : std::nullopt;
    if (delivery)
        m_InputLoss.SetEdgeMargin(LossEdgeSeconds(*delivery));
    return m_InputLoss.Finish(m_Services.Clock.SteadySeconds(), delivery ? delivery->FramesLost : 0,
                              m_PSoundIn ? m_PSoundIn->GetDeviceName() : std::string());
}

void TRunControl::StopInput()
{
    RunUtilities& utilities = m_Services.Utilities;
    if (utilities.HasGenerator())
        utilities.StopGeneratorOutput();
    m_Services.Timer.Stop();
    if (m_PSoundIn)
        m_PSoundIn->Stop();
    const std::string lossReport = FinishInputLossReport();
    // Stopping during playback must end it too, or the playback flag would
    // stay set and the recorder's next Play would be refused.
    if (m_Playback)
        StopPlayback();
    m_Running = 0;
    m_Services.DataLog.StopDataLogging();
    m_Services.Observer.UpdateRunState();
    m_Services.Observer.UpdateStatus(RunObserver::kWholeStatus);
    if (utilities.HasRecorder()) {
        utilities.SetRecorderState(RunUtilities::kRecorderStopped);
        utilities.UpdateRecorderPosition();
        utilities.UpdateRecorderButtons();
    }
    m_Services.Observer.SetPlotsIdle();
    PlotViews& plots = m_Services.Plots;
    for (int plot = 0; plot < 2; ++plot)
        if (plots.HasPlot(plot))
            plots.ResetView(plot);
    // Told once the run has stopped whole: the box's own event loop must not
    // meet a half-stopped run.
    if (!lossReport.empty())
        platform::ShowMessageBox(lossReport, platform::MessageIcon::Warning);
}
