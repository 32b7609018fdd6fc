#pragma once
// The side bar's six buttons: ids, bitmaps, tips, places and commands.

#include "app/FrameCommand.h"

#include <array>
#include <cstdint>

struct SidebarButtonEntry {
    std::uint32_t id;
    const char* upName;
    const char* downName;
    const char* tip;
    int x;
    int y;
    int width;
    int height;
    FrameCommand command;
};

namespace SidebarButtons {

inline constexpr std::uint32_t IDC_RUN = 401;
inline constexpr std::uint32_t IDC_STOP = 402;
inline constexpr std::uint32_t IDC_SETTINGS = 430;
inline constexpr std::uint32_t IDC_CALIBRATE = 431;
inline constexpr std::uint32_t IDC_DEVICE = 432;
inline constexpr std::uint32_t IDC_DATA_LOG = 435;

inline constexpr std::array<SidebarButtonEntry, 6> kButtons{{
    {IDC_RUN, "RunUp", "RunDown", "Run analyzer", 4, 1, 40, 28, FrameCommand::Start},
    {IDC_STOP, "StopUp", "StopDown", "Stop analyzer", 46, 1, 40, 28, FrameCommand::Stop},
    {IDC_SETTINGS, "SettingsUp", "SettingsDn", "Processing Settings...", 4, 33, 80, 28,
     FrameCommand::ProcessingSettingsPage0},
    {IDC_CALIBRATE, "CalibrateUp", "CalibrateDn", "Calibrate Input Level...", 4, 63, 80, 28,
     FrameCommand::CalibrationSettings},
    {IDC_DEVICE, "DeviceUp", "DeviceDn", "Input and Output Device Settings...", 4, 93, 80, 28,
     FrameCommand::ProcessingSettingsPage2},
    {IDC_DATA_LOG, "DataLogUp", "DataLogDn", "Data Logging...", 4, 123, 80, 28,
     FrameCommand::DataLoggingSettings},
}};

// The command of a button id; false for an id the bar does not hold.
bool CommandFor(std::uint32_t id, FrameCommand& command);

} // namespace SidebarButtons
