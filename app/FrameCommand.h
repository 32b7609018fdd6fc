#pragma once
// Commands the bars send to the main frame. Numbered commands keep the
// frame's command numbers (menu, accelerators and bars share them); the
// frame operations the bars call directly get numbers above the 16-bit
// command range, so they can never collide with one.

#include <cstdint>

enum class FrameCommand : std::uint32_t {
    Start = 57765,
    Stop = 57766,
    OptionsPlotOptions = 57768,
    // The processing-settings sheet on the page shown last.
    OptionsProcessingSettings = 57769,
    FilePrint = 57782,
    SignalGenerator = 57811,
    UtilityPeakFrequency = 57813,
    UtilityPeakAmplitude = 57814,
    UtilityTotalPower = 57815,
    ReinitInput = 57914,
    // The closed plots the analysis shows open again.
    ReopenPlots = 57918,
    Recorder = 57922,
    CalibrationSettings = 57916,

    // The processing-settings sheet on a given page: 0 settings,
    // 1 calibration, 2 devices.
    ProcessingSettingsPage0 = 0x10000,
    ProcessingSettingsPage1,
    ProcessingSettingsPage2,
    DataLoggingSettings,
    // The display averaging starts afresh.
    ResetAveraging,
};
