#include "app/core/FrameMenus.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "app/core/FrameCommandIds.h"

namespace frame_menus {

namespace {

using namespace frame_command;

constexpr MenuItem kPrintItems[] = {
    {"&Print...", kFilePrint},
    {"Prin&t Setup...", kFilePrintSetup},
    {"Annotations and &Margins...", kPrintAnnotations},
    {nullptr, 0},
    {"&Open Configuration...", kOpenConfiguration},
    {"Sa&ve Configuration...", kSaveConfiguration},
    {nullptr, 0},
    {"Set Pat&hs...", kSetPaths},
    {"File &I/O Options...", kFileIOOptions},
    {nullptr, 0},
    {"E&xit", kAppExit},
};

constexpr MenuItem kOptionsItems[] = {
    {"Processing Settings...\tF4", kProcessingSettings},
    {"Plot Options...\tF5", kPlotOptions},
    {"Data &Logging...", kDataLoggingSettings},
    {nullptr, 0},
    {"Re&initialize Input", kReinitInput},
};

// The bars and the plots' tool strips, with check marks while shown.
constexpr MenuItem kViewItems[] = {
    {"&Side Bar", kToggleSidebar},
    {"&Tool Bar", kToggleToolbar},
    {"Status &Bar", kToggleStatusbar},
    {"&Plot Tool Strips", kTogglePlotToolStrips},
    {nullptr, 0},
    {"&Close All Plots", kCloseAllPlots},
    {"Re&open Plots", kReopenPlots},
};

constexpr MenuItem kUtilitiesItems[] = {
    {"Peak &Frequency", kPeakFrequency},
    {"Peak &Amplitude", kPeakAmplitude},
    {"Total &Power", kTotalPower},
    {"&Recorder", kRecorder},
    {nullptr, 0},
    {"Signal &Generator", kSignalGenerator},
    {"&Save Signal...", kSaveGeneratorWave},
    {"&Lock Signal Generator Channels", kLockGeneratorChannels},
    {nullptr, 0},
    {"&Close All Utilities", kCloseAllUtilities},
};

constexpr MenuItem kHelpItems[] = {
    {"&Contents...\tF1", kHelpContents},
    {"&Getting Started", kGettingStarted},
    {"&Search for Help on...", kHelpSearch},
    {nullptr, 0},
    {"Go to Website...", kGoToWebsite},
    {nullptr, 0},
    {"&Release Notes...", kReleaseNotes},
    {"&License Agreement...", kShowDisclaimer},
    {nullptr, 0},
    {"&About", kAppAbout},
};

constexpr MenuPopup kMenuBar[] = {
    // R is also Run's accelerator (Alt+R): held together, Alt and R run; Alt
    // pressed and let go, then R, opens this menu.
    {"P&rint", kPrintItems},
    {"&Options", kOptionsItems},
    {"&View", kViewItems},
    {"&Utilities", kUtilitiesItems},
    {"&Help", kHelpItems},
};

constexpr Accelerator kAccelerators[] = {
    {"F1", kHelpContents},  {"F2", kRestart},     {"F3", kStopCommand},
    {"F4", kProcessingSettings}, {"F5", kPlotOptions}, {"F9", kCalibrationSettings},
    {"Ctrl+P", kFilePrint}, {"Alt+R", kStart},    {"Alt+S", kStop},
};

// Run control, the frame's own windows and bars, help and documents, and the
// signal generator window with its commands, the recorder and the three
// viewers (closing all utilities closes them), printing, the plot options,
// the data logging, the processing-settings sheet and the path and
// file-option dialogs.
constexpr std::uint32_t kBuilt[] = {
    kAppExit,         kStart,           kStop,           kRestart,        kStopCommand,
    kAppAbout,        kHelpContents,    kHelpSearch,     kGettingStarted, kReleaseNotes,
    kShowDisclaimer,  kGoToWebsite,     kToggleSidebar,  kToggleToolbar,  kToggleStatusbar,
    kTogglePlotToolStrips, kReinitInput, kCloseAllPlots, kReopenPlots, kSaveConfiguration, kOpenConfiguration,
    kSignalGenerator, kSaveGeneratorWave, kLockGeneratorChannels, kCloseAllUtilities, kPlotOptions,
    kFilePrint,       kFilePrintSetup,  kPrintAnnotations,
    kRecorder,        kPeakFrequency,   kPeakAmplitude,  kTotalPower,
    kDataLoggingSettings,
    kProcessingSettings, kCalibrationSettings, kSetPaths, kFileIOOptions,
};

} // namespace

std::span<const MenuPopup> MenuBar()
{
    return kMenuBar;
}

std::span<const Accelerator> Accelerators()
{
    return kAccelerators;
}

std::span<const std::uint32_t> BuiltCommands()
{
    return kBuilt;
}

bool IsCommandBuilt(std::uint32_t id)
{
    return std::find(std::begin(kBuilt), std::end(kBuilt), id) != std::end(kBuilt);
}

char Mnemonic(const char* text)
{
    if (text == nullptr)
        return 0;
    for (const char* p = text; *p != '\0' && *p != '\t'; ++p) {
        if (*p != '&')
            continue;
        if (p[1] == '&') {
            ++p;
            continue;
        }
        return p[1] == '\0' ? 0 : static_cast<char>(std::toupper(static_cast<unsigned char>(p[1])));
    }
    return 0;
}

bool ClashesWithMenuMnemonic(const Accelerator& accelerator)
{
    const std::string_view keys = accelerator.keys;
    constexpr std::string_view kAlt = "Alt+";
    if (keys.size() != kAlt.size() + 1 || keys.substr(0, kAlt.size()) != kAlt)
        return false;
    const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(keys.back())));
    for (const MenuPopup& popup : kMenuBar) {
        if (Mnemonic(popup.title) == letter)
            return true;
    }
    return false;
}

} // namespace frame_menus
