#pragma once
// The main frame's command numbers: menu items, accelerators and bar
// buttons share them.

#include <cstdint>

namespace frame_command {

inline constexpr std::uint32_t kAppExit = 57665;
inline constexpr std::uint32_t kStart = 57765;
inline constexpr std::uint32_t kStop = 57766;
inline constexpr std::uint32_t kPlotOptions = 57768;
inline constexpr std::uint32_t kProcessingSettings = 57769;
inline constexpr std::uint32_t kFilePrint = 57782;
inline constexpr std::uint32_t kFilePrintSetup = 57783;
inline constexpr std::uint32_t kAppAbout = 57784;
inline constexpr std::uint32_t kSaveConfiguration = 57785;
inline constexpr std::uint32_t kOpenConfiguration = 57786;
inline constexpr std::uint32_t kFileIOOptions = 57790;
inline constexpr std::uint32_t kPrintAnnotations = 57791;
inline constexpr std::uint32_t kSetPaths = 57792;
inline constexpr std::uint32_t kToggleSidebar = 57808;
inline constexpr std::uint32_t kToggleToolbar = 57809;
inline constexpr std::uint32_t kToggleStatusbar = 57810;
inline constexpr std::uint32_t kSignalGenerator = 57811;
inline constexpr std::uint32_t kSaveGeneratorWave = 57812;
inline constexpr std::uint32_t kPeakFrequency = 57813;
inline constexpr std::uint32_t kPeakAmplitude = 57814;
inline constexpr std::uint32_t kTotalPower = 57815;
inline constexpr std::uint32_t kCloseAllUtilities = 57830;
inline constexpr std::uint32_t kHelpContents = 57831;
inline constexpr std::uint32_t kHelpSearch = 57832;
inline constexpr std::uint32_t kReleaseNotes = 57835;
inline constexpr std::uint32_t kGoToWebsite = 57836;
inline constexpr std::uint32_t kShowDisclaimer = 57837;
inline constexpr std::uint32_t kToggleSeriesToolStrip = 57838;
inline constexpr std::uint32_t kTogglePlotToolStrips = 57839;
inline constexpr std::uint32_t kGettingStarted = 57862;
inline constexpr std::uint32_t kLockGeneratorChannels = 57877;
inline constexpr std::uint32_t kReinitInput = 57914;
inline constexpr std::uint32_t kCloseAllPlots = 57915;
inline constexpr std::uint32_t kCalibrationSettings = 57916;
// Opens the plots the analysis shows that are closed (after Close All Plots).
inline constexpr std::uint32_t kReopenPlots = 57918;
inline constexpr std::uint32_t kRestart = 57919;
inline constexpr std::uint32_t kStopCommand = 57920;
inline constexpr std::uint32_t kRecorder = 57922;
// The data-logging sheet (also the side bar's and tool bar's Data Log button).
inline constexpr std::uint32_t kDataLoggingSettings = 57923;

} // namespace frame_command
