// The processing-settings sheet, Set Paths and File I/O Options: the
// frame's side of the settings dialogs.

#include "app/CMainFrame.h"

#include "app/core/TProcessingObjects.h"
#include "app/core/TRunControl.h"
#include "audio/DaqDevice.h"
#include "engine/SpectralData.h"
#include "platform/MessageBox.h"
#include "plot/TOverlaySourceSelectDialog.h"
#include "settings/RelativeCalibration.h"
#include "audio/TSoundInput.h"
#include "settings/IniSettingsFile.h"
#include "settings/ProcessingSheet.h"
#include "settings/SoundCalibrationRecorder.h"
#include "settings/dialogs/CDeviceDlg.h"
#include "settings/dialogs/CFileIOoptionsDlg.h"
#include "settings/dialogs/COptionsMain.h"
#include "settings/dialogs/CSetPathsDlg.h"
#include "utilities/CAnalysisView.h"

namespace {

// What the sheet's pages ask of the program.
class SheetServices final : public ProcessingSheetServices {
public:
    explicit SheetServices(CMainFrame& frame) : m_Frame(frame) {}

    std::optional<int> FindDaqInputDevice() override
    {
        const DaqSearchResult search = AsioAudioSystem::FindDaq();
        return search.found ? std::optional<int>(search.device) : std::nullopt;
    }
    bool IsDaqDevice(int device) override
    {
        const TSoundInput port(static_cast<std::uint32_t>(std::max(device, 0)), AudioSystem::kAsioDriverMode);
        return port.IsQuarnDAQ();
    }
    std::uint32_t ReadDaqSerialNumber() override { return m_Frame.Daq().ReadSerialNumber(); }
    void ReopenDaq() override { m_Frame.Daq().Reopen(); }
    std::unique_ptr<CalibrationRecorder> CreateCalibrationRecorder(int device) override
    {
        return std::make_unique<SoundCalibrationRecorder>(device, AudioSystem::kAsioDriverMode, &m_Frame.Daq());
    }
    std::string DataRoot() const override { return m_Frame.Paths().DataRoot; }
    void ShowHelp(int contextId) override { m_Frame.ShowHelp(contextId); }

private:
    CMainFrame& m_Frame;
};

// What OK of the sheet does to the frame.
class SheetHost final : public ProcessingSheetHost {
public:
    explicit SheetHost(CMainFrame& frame) : m_Frame(frame) {}

    void StopRun() override { m_Frame.OnStop(); }
    bool IsInputDaq() override
    {
        const SoundInputPort* port = m_Frame.RunControl().GetInputPort();
        return port != nullptr && port->IsQuarnDAQ();
    }
    void ConfigureDaq(const DaqOpts& options, int inputDevice, int outputDevice, int driverMode) override
    {
        m_Frame.Daq().ResetCachedConfig();
        m_Frame.Daq().ConfigureInput(options, inputDevice, outputDevice, driverMode == AudioSystem::kAsioDriverMode);
    }
    void CreateSpectrumPlot(int channel) override { m_Frame.CreateSpectrumPlot(channel); }
    void CloseSpectrumPlot(int channel) override { m_Frame.CloseSpectrumPlot(channel); }
    void RecalcLayout() override { m_Frame.RecalcLayout(); }
    void ReinitInput() override { m_Frame.ReinitInput(); }

private:
    CMainFrame& m_Frame;
};

} // namespace

void CMainFrame::OnProcessingSettings(int startPage)
{
    // The pages record from the input and the new settings need a new port:
    // no run may go on meanwhile. It is not started again: the next Run
    // starts it on the new settings.
    SheetHost host(*this);
    if (IsRunning())
        host.StopRun();
    ProcessingSheetRecords records = ProcessingSheetRecords::From(m_Settings);
    SheetServices services(*this);
    COptionsMain sheet(records, services, startPage, this);
    m_Sheet = &sheet;
    const bool accepted = sheet.exec() == QDialog::Accepted;
    if (accepted)
        processing_sheet::ApplyOk(m_Settings, records, host);
}

void CMainFrame::NotifySheetOfDeviceChange()
{
    if (m_Sheet != nullptr)
        m_Sheet->DevicePage().OnDeviceChange();
}

void CMainFrame::OnSetPaths()
{
    CSetPathsDlg dialog(m_Settings.m_DataPaths, m_Paths.DataRoot, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_Settings.m_DataPathsInUse = m_Settings.m_DataPaths;
    SaveIniSettings(m_Paths.IniPath(), m_Settings);
}

void CMainFrame::OnFileIOOptions()
{
    FileIOOpts copy = m_Settings.FileIO;
    CFileIOoptionsDlg dialog(copy, [this](int id) { ShowHelp(id); }, this);
    if (dialog.exec() == QDialog::Accepted)
        m_Settings.FileIO = copy;
}

namespace {
// Peak hold or live data for a relative calibration: asked once, kept for
// the rest of the run of the program. 0 live, 1 peak hold.
std::uint8_t g_RelativeSource = 0;
} // namespace

bool CMainFrame::SetRelativeCalibration(int channel, int bin, bool confirm)
{
    if ((channel != 0 && channel != 1) || m_Processing == nullptr)
        return false;
    SpectralData* data = m_Processing->GetDisplayData(channel);
    if (data == nullptr)
        return false;
    OnStop();
    const bool independent = m_Settings.Processing.IndependentScalingAndCalibration != 0;
    const int c = independent ? channel : 0;
    if (confirm && m_Settings.Calibration[c].IsEnabled != 0 &&
        platform::ShowMessageBox("This will change the current calibration.  Do you want to continue?",
                                 platform::MessageIcon::Warning,
                                 platform::MessageButtons::YesNo) != platform::MessageResult::Yes)
        return false;
    if (confirm) {
        if (m_Settings.Spectrum[c].PeakHold != 0) {
            TOverlaySourceSelectDialog source(this, &g_RelativeSource);
            if (source.exec() != QDialog::Accepted)
                return false;
        } else {
            g_RelativeSource = 0;
        }
    }
    const auto line = static_cast<std::uint32_t>(std::max(bin, 0));
    const float value = g_RelativeSource != 0 ? data->GetHoldValue(line) : data->GetValue(line);
    const calibration::RelativeResult result = calibration::ApplyRelativeCalibration(
        m_Settings.Calibration, channel, independent, value, m_Settings.Scaling[c].AmpScaleType, CurrentInputRange());
    if (result.refusal) {
        platform::ShowMessageBox(*result.refusal, platform::MessageIcon::Error);
        return false;
    }
    data->AddOffset(result.offsetDb, m_Settings.Calibration[channel]);
    ResetView(c);
    // The viewers that show levels read the new unit at once, not at the next run.
    for (int kind : {kSlotPeakAmplitude, kSlotTotalPower})
        if (CAnalysisView* viewer = Viewer(kind))
            viewer->UpdateResults();
    return true;
}

std::optional<float> CMainFrame::CurrentInputRange()
{
    const SoundInputPort* port = m_Run != nullptr ? m_Run->GetInputPort() : nullptr;
    if (port == nullptr || !port->IsQuarnDAQ())
        return std::nullopt;
    return DaqDevice::InputRangeForGain(m_Settings.Daq.DAQ_InputGain);
}
