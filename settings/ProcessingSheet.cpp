#include "settings/ProcessingSheet.h"

#include <atomic>

#include "audio/DaqDevice.h"
#include "settings/Calibration.h"
#include "settings/FloatFieldBounds.h"
#include "settings/FrameSettings.h"

ProcessingSheetRecords ProcessingSheetRecords::From(const FrameSettings& settings)
{
    ProcessingSheetRecords r;
    r.Processing = settings.Processing;
    for (int c = 0; c < 2; ++c) {
        r.Scaling[c] = settings.Scaling[c];
        r.Calibration[c] = settings.Calibration[c];
    }
    r.Daq = settings.Daq;
    r.InputDevice = settings.m_InputDevice;
    r.OutputDevice = settings.m_OutputDevice;
    r.DriverMode = settings.SoundCardDriverMode;
    return r;
}

namespace processing_sheet {

namespace {
std::atomic<int> g_RememberedPage{kSettingsPage};
}

int StartPage(int requested)
{
    const int page = requested < 0 ? g_RememberedPage.load() : requested;
    return page >= kSettingsPage && page <= kDevicePage ? page : kSettingsPage;
}

void RememberPage(int page)
{
    if (page >= kSettingsPage && page <= kDevicePage)
        g_RememberedPage = page;
}

int FreqScaleItem(const ScalingOpts& scaling)
{
    switch (scaling.FreqScaleType) {
    case ScalingOpts::kOctave: return scaling.OctaveNumber == 1 ? 0 : 1;
    case ScalingOpts::kFftLog: return 3;
    default: return 2;
    }
}

void SetFreqScaleItem(ScalingOpts& scaling, int item)
{
    switch (item) {
    case 0:
        scaling.FreqScaleType = ScalingOpts::kOctave;
        scaling.OctaveNumber = 1;
        break;
    case 1:
        scaling.FreqScaleType = ScalingOpts::kOctave;
        scaling.OctaveNumber = 3;
        break;
    case 3: scaling.FreqScaleType = ScalingOpts::kFftLog; break;
    default: scaling.FreqScaleType = ScalingOpts::kFftLinear; break;
    }
}

std::optional<std::string> CheckCustomSpan(float start, float stop, int channel)
{
    if (!(start > 0.0f) || !(stop > 0.0f))
        return std::string("The start and stop frequencies must be greater than zero");
    const char* side = channel == 1 ? "right" : "left";
    for (const auto& [value, name] : {std::pair{start, "Start (Hz)"}, std::pair{stop, "Stop (Hz)"}}) {
        if (!field_ranges::kFrequencyHz.Contains(value))
            return std::string("The ") + side + " channel's custom span " + name + " must be at most "
                   + std::to_string(static_cast<long>(field_ranges::kHighestFrequencyHz)) + " Hz";
    }
    if (!(start < stop))
        return std::string("The stop frequency must be greater than the start frequency");
    return std::nullopt;
}

void ResetSettingsDefaults(ProcessingSheetRecords& records)
{
    TProcessingSettings& p = records.Processing;
    p.SetSheetDefaults();
    p.Format.Set(192000, 1, 3);
    for (int c = 0; c < 2; ++c) {
        ScalingOpts& s = records.Scaling[c];
        s.AmpScaleType = c == 0 ? 1 : 2;
        s.FreqScaleType = ScalingOpts::kFftLinear;
        s.OctaveNumber = 3;
        s.StandardWeighting = 0;
        s.TotalPowerWeighting = 0;
        s.UtilityFreqSpanType = 2;
        s.UtilityFreqCustomStart = c == 0 ? 900.0f : 1.0f;
        s.UtilityFreqCustomStop = c == 0 ? 95000.0f : 250.0f;
    }
}

void ApplyOk(FrameSettings& settings, const ProcessingSheetRecords& edited, ProcessingSheetHost& host)
{
    const std::uint16_t oldChannels = settings.Processing.Format.NumChannels;
    settings.Processing = edited.Processing;
    for (int c = 0; c < 2; ++c) {
        settings.Scaling[c] = edited.Scaling[c];
        settings.Calibration[c] = edited.Calibration[c];
    }
    settings.Daq = edited.Daq;

    const bool daqInput = host.IsInputDaq();
    const float range = DaqDevice::InputRangeForGain(settings.Daq.DAQ_InputGain);
    for (TChannelCalibration& record : settings.Calibration) {
        // A calibrator level measured at the old range is first moved to the
        // new one; the record then carries the new range.
        calibration::RecomputeCalibration(record, daqInput ? std::optional<float>(range) : std::nullopt);
        record.DAQVoltageRange = range;
        calibration::RecomputeCalibration(record, std::nullopt);
    }
    if (daqInput)
        host.ConfigureDaq(settings.Daq, edited.InputDevice, edited.OutputDevice, edited.DriverMode);

    const std::uint16_t newChannels = settings.Processing.Format.NumChannels;
    if (newChannels != oldChannels) {
        if (newChannels == 1)
            host.CloseSpectrumPlot(1);
        else
            host.CreateSpectrumPlot(1);
        host.RecalcLayout();
    }
    host.ReinitInput();
}

} // namespace processing_sheet
