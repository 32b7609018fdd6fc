#pragma once
// The data-logging sheet's rules without its widgets: what the measurement
// list and the threshold-type box offer, how a page's texts are checked and
// read into a channel's LoggingOpts, the Defaults button's values, the
// newest log file of a channel, and which program shows a log file.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "settings/DataLogSettings.h"

namespace data_log_sheet {

struct Entry {
    const char* text;
    int id;
};

inline constexpr Entry kListRows[] = {
    {"Peak Frequency in span", 0},       {"Peak Level in span", 1},
    {"RMS Total Power Flat in span", 25}, {"RMS Total Power A in span", 26},
    {"RMS Total Power B in span", 27},    {"RMS Total Power C in span", 28},
};
inline constexpr int kListRowCount = 6;

inline constexpr Entry kThresholdTypes[] = {
    {"Peak Level in span", 1},          {"RMS Total Power Flat in span", 25}, {"RMS Total Power A in span", 26},
    {"RMS Total Power B in span", 27}, {"RMS Total Power C in span", 28},
};
inline constexpr int kThresholdTypeCount = 5;

// The threshold box's entry for a measurement id; entry 0 when none offers it.
int ThresholdEntryFor(std::uint32_t type);

// "%6.2f", "%6.1f", "%6.4f" as the page shows its numbers.
std::string FormatField(float value, int decimals);

// What one page holds when OK is pressed.
struct PageInput {
    bool enable = false;
    std::string fileName;
    bool rowChecked[kListRowCount] = {};
    std::string interval;
    std::string start;
    std::string stop;
    bool applyThreshold = false;
    std::string level;
    int thresholdEntry = 0;
};

enum class Field { kNone, kFileName, kList, kInterval, kStart, kStop, kLevel };

struct Verdict {
    bool ok = true;
    std::string message;
    // The control to put the focus on.
    Field field = Field::kNone;
};

// Reads the page into opts as far as the checks pass (fields read before a
// failure stay read). Checked whether or not the channel is enabled.
Verdict Validate(const PageInput& input, LoggingOpts& opts);

// The Defaults button: the channel's starting selection and values, the
// file-name stem from the channel's name.
void ApplyDefaults(int channel, std::string_view channelName, LoggingOpts& opts);

// The newest "<stem>_….csv" in folder (by modification time); empty when none.
std::string LatestLogFile(const std::string& folder, std::string_view stem);

struct ViewerChoice {
    enum Kind { kDesktopDefault, kProgram, kMissing };
    Kind kind = kDesktopDefault;
    // kProgram: the program to run; kMissing: the message to show.
    std::string program;
    std::string message;
};

// The configured log viewer: empty or the old default "Notepad.exe" leave
// it to the desktop; another name is looked up (findProgram gives its path,
// or empty when there is no such program).
ViewerChoice ChooseLogViewer(std::string_view configured,
                             const std::function<std::string(const std::string&)>& findProgram);

} // namespace data_log_sheet
