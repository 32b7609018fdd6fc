#pragma once
// Every setting the main frame keeps from one run to the next, in one
// place: what the .cfg file carries, what the .ini file carries, and the
// frame defaults they start from. The frame owns one of these; dialogs edit
// copies of its records and copy them back on OK.

#include <cstdint>

#include "format/TChannelCalibration.h"
#include "engine/ScalingOpts.h"
#include "engine/TProcessingSettings.h"
#include "audio/DaqOpts.h"
#include "settings/DataLogSettings.h"
#include "settings/DataPaths.h"
#include "settings/FileIOOpts.h"
#include "settings/MarkerOpts.h"
#include "settings/PrintOpts.h"
#include "settings/RunControlOpts.h"
#include "settings/SeriesOpts.h"
#include "settings/SigGenSettings.h"
#include "settings/SpectrumOpts.h"
#include "settings/TriggerOpts.h"
#include "settings/WindowSlots.h"

struct FrameSettings {
    // .cfg [Device]
    std::int32_t SoundCardDriverMode = 1;
    std::int32_t m_InputDevice = 0;
    std::int32_t m_OutputDevice = 0;
    DaqOpts Daq;
    // .cfg [Toolbars]
    std::uint8_t m_ShowSidebar = 1;
    std::uint8_t m_ShowToolbar = 0;
    std::uint8_t m_ShowStatusbar = 1;
    PrintOpts Print;
    // .cfg [Mode]; this program has one operating mode.
    std::uint16_t OpMode = 1;
    // .cfg [Settings]
    TProcessingSettings Processing;
    std::uint8_t LockSignalGeneratorChannels = 0;
    // Index 0 is the left channel (or plot 1), 1 the right (or plot 2).
    ScalingOpts Scaling[2];
    TChannelCalibration Calibration[2];
    TriggerOpts Trigger;
    RunControlOpts RunControl;
    MarkerOpts Markers[2];
    SeriesOpts Series;
    SpectrumOpts Spectrum[2];
    DataLogSettings DataLog;
    WindowSlots Windows;
    SigGenOutputSettings SigGenOutput;
    SigGenChannelSettings SigGenChannel[2];
    // .ini
    FileIOOpts FileIO;
    DataPaths m_DataPaths;
    // What the file dialogs, the data log and the recorder use.
    DataPaths m_DataPathsInUse;

    // The frame's defaults, before any file is read. The main window's
    // placement needs the desktop and is set by the frame
    // (WindowPlacement::FrameDefault).
    FrameSettings();

    // What the frame does after reading the .cfg at start-up, and what a
    // configuration loaded later must therefore do too: scaling and
    // calibration per channel, both channels analysed.
    void ApplyStartupFixups();
};
