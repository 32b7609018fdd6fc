#pragma once
// The processing-settings sheet without its windows: the records it edits,
// the checks and mappings of its Settings page, the page it opens on, and
// what OK does to the running program. The frame supplies what only it can
// do through ProcessingSheetHost.

#include <optional>
#include <string>

#include "audio/DaqOpts.h"
#include "format/TChannelCalibration.h"
#include "engine/ScalingOpts.h"
#include "engine/TProcessingSettings.h"

struct FrameSettings;

// The copies the sheet's pages edit; nothing reaches the frame before OK.
struct ProcessingSheetRecords {
    TProcessingSettings Processing;
    ScalingOpts Scaling[2];
    TChannelCalibration Calibration[2];
    DaqOpts Daq;
    // Handed to the pages, never copied back.
    int InputDevice = 0;
    int OutputDevice = 0;
    int DriverMode = 1;

    static ProcessingSheetRecords From(const FrameSettings& settings);
};

class ProcessingSheetHost {
public:
    virtual ~ProcessingSheetHost() = default;
    virtual void StopRun() = 0;
    // The current input port is the DAQ module.
    virtual bool IsInputDaq() = 0;
    // Forgets the module's cached configuration and writes this one.
    virtual void ConfigureDaq(const DaqOpts& options, int inputDevice, int outputDevice, int driverMode) = 0;
    virtual void CreateSpectrumPlot(int channel) = 0;
    virtual void CloseSpectrumPlot(int channel) = 0;
    virtual void RecalcLayout() = 0;
    // New port in the new format, new processing objects.
    virtual void ReinitInput() = 0;
};

namespace processing_sheet {

enum Page { kSettingsPage = 0, kCalibrationPage = 1, kDevicePage = 2 };
inline constexpr int kHelpContext[3] = {240, 750, 410};

// The page the sheet opens on: the argument, or for −1 the page that was
// active when the sheet last closed with OK.
int StartPage(int requested);
void RememberPage(int page);

// The frequency-scaling combo: 0 "1/1 Octave", 1 "1/3 Octave", 2 "FFT
// Linear", 3 "FFT Logarithmic".
int FreqScaleItem(const ScalingOpts& scaling);
void SetFreqScaleItem(ScalingOpts& scaling, int item);

// The custom span's check for a channel (0 left, 1 right); the message of
// the failing check, or nothing. Each frequency lies in (0, 1 MHz].
std::optional<std::string> CheckCustomSpan(float start, float stop, int channel = 0);

// The Settings page's Defaults, into the copies.
void ResetSettingsDefaults(ProcessingSheetRecords& records);

// OK: copies the records back into the frame's settings, sets both
// calibrations to the new range and re-derives them, writes the DAQ
// module's configuration when it is the input, opens or closes the right
// plot when the channel count changed, and re-initialises the input.
void ApplyOk(FrameSettings& settings, const ProcessingSheetRecords& edited, ProcessingSheetHost& host);

} // namespace processing_sheet
