#pragma once
// What the side bar shows, worked out from the frame's state: which buttons
// are latched and where the logo goes.

struct SidebarLatches {
    bool run = false;
    bool stop = true;
    bool dataLog = false;

    bool operator==(const SidebarLatches&) const = default;
};

namespace SidebarState {

inline constexpr int kWidth = 90;
// Run and Stop sit above this line.
inline constexpr int kRunRowLine = 30;
inline constexpr int kLogoWidth = 98;
inline constexpr int kLogoHeight = 81;
// Bars this high or lower have no room for the logo under the buttons.
inline constexpr int kLogoMinHeight = 411;

// Run and Stop are a pair of state lamps, exactly one latched; "Data
// Logging..." is latched while the analyzer runs with logging active.
SidebarLatches Latches(bool running, bool dataLoggingActive);

bool ShowsLogo(int clientHeight);
// Top edge of the logo, whose bottom sits on the bar's bottom edge.
int LogoTop(int clientHeight);

} // namespace SidebarState
