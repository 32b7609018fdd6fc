#include "app/core/DataLogSheetRules.h"

#include <cmath>
#include <filesystem>
#include <system_error>

#include "app/core/DataLogText.h"
#include "platform/AsciiCase.h"
#include "platform/NumberText.h"
#include "settings/FloatFieldBounds.h"
#include "settings/TextField.h"

namespace data_log_sheet {

namespace {

constexpr std::size_t kNumberTextLimit = 40;

Verdict Refuse(std::string message, Field field)
{
    return Verdict{false, std::move(message), field};
}

float ReadNumber(const std::string& text)
{
    return static_cast<float>(platform::ParseFloatPrefix(std::string_view(text).substr(0, kNumberTextLimit)));
}

} // namespace

int ThresholdEntryFor(std::uint32_t type)
{
    for (int i = 0; i < kThresholdTypeCount; ++i)
        if (static_cast<std::uint32_t>(kThresholdTypes[i].id) == type)
            return i;
    return 0;
}

std::string FormatField(float value, int decimals)
{
    std::string text = platform::FormatFixed(value, decimals);
    if (text.size() < 6)
        text.insert(0, 6 - text.size(), ' ');
    return text;
}

Verdict Validate(const PageInput& in, LoggingOpts& opts)
{
    opts.Enable = in.enable ? 1 : 0;
    SetTextField(opts.LogFileName, in.fileName);
    if (TextFieldView(opts.LogFileName).empty())
        return Refuse("You must enter a filename.", Field::kFileName);

    bool any = false;
    for (int row = 0; row < kListRowCount; ++row) {
        opts.DataItem[kListRows[row].id] = in.rowChecked[row] ? 1 : 0;
        any = any || in.rowChecked[row];
    }
    if (opts.Enable && !any)
        return Refuse("You must select at least one data item.", Field::kList);

    const float interval = ReadNumber(in.interval);
    if (!(interval >= 1.0f && interval <= 3600.0f))
        return Refuse("The Logging Update Interval must be between 1.0 and 3600 seconds", Field::kInterval);
    opts.IntervalSecs = interval;

    const float start = ReadNumber(in.start);
    const float stop = ReadNumber(in.stop);
    // An endless span would put every line of the spectrum in it.
    if (!std::isfinite(start) || !std::isfinite(stop))
        return Refuse("The start and stop frequencies must be finite numbers.",
                      std::isfinite(start) ? Field::kStop : Field::kStart);
    // What the settings file keeps.
    if (stop > field_ranges::kHighestFrequencyHz)
        return Refuse("The start and stop frequencies must be at most 1000000 Hz.",
                      start > field_ranges::kHighestFrequencyHz ? Field::kStart : Field::kStop);
    if (!(stop > start))
        return Refuse("The stop frequency must be greater than the start frequency.", Field::kStop);
    if (!(start > 0.0f))
        return Refuse("The start frequency must be greater than zero", Field::kStart);
    opts.StartFreq = start;
    opts.StopFreq = stop;

    opts.bApplyThreshold = in.applyThreshold ? 1 : 0;
    const float level = ReadNumber(in.level);
    if (!std::isfinite(level))
        return Refuse("The Threshold Level must be a finite number.", Field::kLevel);
    // What the settings file keeps.
    if (!field_ranges::kReadingLevel.Contains(level))
        return Refuse("The Threshold Level must be between -1000000 and 1000000.", Field::kLevel);
    opts.ThresholdLevel = level;
    const int entry = in.thresholdEntry >= 0 && in.thresholdEntry < kThresholdTypeCount ? in.thresholdEntry : 0;
    opts.ThresholdType = static_cast<std::uint32_t>(kThresholdTypes[entry].id);
    return Verdict{};
}

void ApplyDefaults(int channel, std::string_view channelName, LoggingOpts& opts)
{
    std::fill(std::begin(opts.DataItem), std::end(opts.DataItem), std::uint8_t{0});
    SetTextField(opts.LogFileName, channelName);
    const LoggingOpts d = LoggingOpts::FrameDefaults(channel);
    opts.Enable = 1;
    opts.IntervalFlag = 1;
    opts.IntervalSecs = 1.0f;
    opts.bApplyThreshold = 1;
    opts.StartFreq = d.StartFreq;
    opts.StopFreq = d.StopFreq;
    opts.ThresholdLevel = d.ThresholdLevel;
    opts.ThresholdType = d.ThresholdType;
    std::copy(std::begin(d.DataItem), std::end(d.DataItem), std::begin(opts.DataItem));
    opts.bResetAverage = 1;
    opts.bResetPeakHold = 1;
}

std::string LatestLogFile(const std::string& folder, std::string_view stem)
{
    const std::string prefix = data_log_text::CleanStem(stem) + "_";
    std::error_code error;
    std::string best;
    std::filesystem::file_time_type newest{};
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        if (!entry.is_regular_file(error) || name.size() <= prefix.size() + 4 || name.compare(0, prefix.size(), prefix) != 0 ||
            name.compare(name.size() - 4, 4, ".csv") != 0)
            continue;
        const auto written = entry.last_write_time(error);
        if (best.empty() || written > newest || (written == newest && entry.path().string() > best)) {
            best = entry.path().string();
            newest = written;
        }
    }
    return best;
}

ViewerChoice ChooseLogViewer(std::string_view configured,
                             const std::function<std::string(const std::string&)>& findProgram)
{
    ViewerChoice choice;
    const std::string name(configured.substr(0, configured.find('\0')));
    if (name.empty() || platform::EqualNoCase(name, "Notepad.exe"))
        return choice;
    const std::string path = findProgram ? findProgram(name) : std::string();
    if (path.empty()) {
        choice.kind = ViewerChoice::kMissing;
        choice.message = "The log viewer program \"" + name +
                         "\" was not found. Name an installed program as LogViewerProgram in the [Logging] "
                         "section of the configuration file, or leave it empty to use the desktop's viewer.";
        return choice;
    }
    choice.kind = ViewerChoice::kProgram;
    choice.program = path;
    return choice;
}

} // namespace data_log_sheet
