#pragma once
// The tool bar's thirty 28 x 28 buttons, in the order of their x position.
// Each button's bitmaps are its stem followed by "Up" and "Dn", and "Gr"
// where it has a grey one.

#include "app/FrameCommand.h"

#include <array>
#include <cstdint>
#include <optional>

struct ToolbarButtonEntry {
    int x;
    std::uint32_t id;
    const char* stem;
    bool hasGrey;
    const char* tip;
    // What a click does; none for the buttons whose click does nothing.
    std::optional<FrameCommand> command;
};

namespace ToolbarButtons {

inline constexpr int kButtonY = 2;
inline constexpr int kButtonSize = 28;

inline constexpr std::uint32_t IDC_SPECTRUM = 302;
inline constexpr std::uint32_t IDC_TRIGGER = 404;
inline constexpr std::uint32_t IDC_GENERATE = 501;
inline constexpr std::uint32_t IDC_PEAK_FREQ = 502;
inline constexpr std::uint32_t IDC_PEAK_AMP = 503;
inline constexpr std::uint32_t IDC_TOTAL_PWR = 504;

inline constexpr std::array<ToolbarButtonEntry, 30> kButtons{{
    {3, 201, "FileNew", true, "Record New Wave Files", std::nullopt},
    {33, 202, "FileOpen", true, "Open one or more Wave Files", std::nullopt},
    {63, 203, "FileSave", true, "Save one or more Wave Files", std::nullopt},
    {101, 204, "Print", true, "Print Current Plot", FrameCommand::FilePrint},
    {139, 301, "TimeSeries", false, "View Time Series Plot", std::nullopt},
    {169, IDC_SPECTRUM, "Spectrum", false, "View Spectrum Plot", FrameCommand::ReopenPlots},
    {199, 303, "Phase", false, "View Phase Plot", std::nullopt},
    {229, 304, "Gram", false, "View Spectrogram Plot", std::nullopt},
    {259, 305, "Surface", false, "View 3-D Surface Plot", std::nullopt},
    {297, 401, "Settings", false, "FFT Processing Settings", FrameCommand::ProcessingSettingsPage0},
    {327, 402, "Scaling", false, "Scaling Options", std::nullopt},
    {357, 403, "Calibrate", false, "Amplitude Calibration Settings", FrameCommand::ProcessingSettingsPage1},
    {387, IDC_TRIGGER, "Trigger", false, "Triggering Options", std::nullopt},
    {417, 407, "RunOpts", false, "Run Control Options", std::nullopt},
    {447, 406, "Device", false, "Device Options", FrameCommand::ProcessingSettingsPage2},
    {485, IDC_GENERATE, "Generate", false, "Signal Generator", FrameCommand::SignalGenerator},
    {523, IDC_PEAK_FREQ, "PeakFreq", false, "Peak Frequency", FrameCommand::UtilityPeakFrequency},
    {553, IDC_PEAK_AMP, "PeakAmp", false, "Peak Amplitude", FrameCommand::UtilityPeakAmplitude},
    {583, IDC_TOTAL_PWR, "TotalPwr", false, "Total Power", FrameCommand::UtilityTotalPower},
    {621, 505, "THD_", false, "Total Harmonic Distortion", std::nullopt},
    {651, 506, "THD_N_", false, "Total Harmonic Distortion + Noise", std::nullopt},
    {681, 507, "THDFreq", false, "THD+N vs Frequency", std::nullopt},
    {719, 508, "IMD_", false, "InterModulation Distortion", std::nullopt},
    {749, 509, "SNR_", false, "Signal to Noise Ratio", std::nullopt},
    {779, 515, "Leq", false, "Equivalent Noise Levels (Leq)", std::nullopt},
    {817, 513, "Macro", false, "Macro Command Processor", std::nullopt},
    {847, 514, "DataLog", false, "Data Logging Setup", std::nullopt},
    {885, 510, "Delay", true, "Delay Finder Utility", std::nullopt},
    {915, 511, "Reverb", false, "Reverberation Utility", std::nullopt},
    {945, 512, "PhaseScope", false, "Phase Scope Utility", std::nullopt},
}};

// The table entry of a button id, or null.
const ToolbarButtonEntry* Find(std::uint32_t id);

} // namespace ToolbarButtons
