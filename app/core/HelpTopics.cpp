#include "app/core/HelpTopics.h"

#include <algorithm>
#include <iterator>

namespace help_topics {

namespace {

// In reading order: the contents list shows them so.
constexpr HelpTopic kTopics[] = {
    {880, "getting-started.html", "Getting Started"},
    {130, "spectrum-plot.html", "The Spectrum Plot"},
    {240, "processing-settings.html", "Processing Settings"},
    {410, "device.html", "Input and Output Device"},
    {750, "calibration.html", "Calibration"},
    {110, "plot-options.html", "Plot Options"},
    {120, "overlays.html", "Overlays"},
    {820, "data-folders.html", "Data Folders and File Options"},
    {430, "data-logging.html", "Data Logging"},
    {620, "recorder.html", "Recorder"},
    {630, "analysis-viewers.html", "Analysis Viewers"},
    {600, "generator-output-level.html", "Generator Output Level"},
    {530, "signal-tones.html", "Tones"},
    {520, "signal-imd-tones.html", "Intermodulation Tones"},
    {550, "signal-tone-burst.html", "Tone Burst"},
    {560, "signal-noise-burst.html", "Noise Burst"},
    {510, "signal-frequency-sweep.html", "Frequency Sweep"},
    {515, "signal-frequency-step.html", "Frequency Step"},
    {500, "signal-level-sweep.html", "Level Sweep"},
    {460, "signal-square.html", "Square Wave Signal"},
    {480, "signal-triangular.html", "Triangular Signal"},
    {490, "signal-sawtooth.html", "Sawtooth Signal"},
    {470, "signal-pulse.html", "Pulse Signal"},
    {450, "signal-user-wave.html", "User Defined Signal"},
};

} // namespace

std::span<const HelpTopic> All()
{
    return kTopics;
}

const HelpTopic* Find(int contextId)
{
    const auto it = std::find_if(std::begin(kTopics), std::end(kTopics),
                                 [contextId](const HelpTopic& topic) { return topic.contextId == contextId; });
    return it == std::end(kTopics) ? nullptr : &*it;
}

const char* FileFor(int contextId)
{
    const HelpTopic* topic = Find(contextId);
    return topic != nullptr ? topic->file : kContentsFile;
}

} // namespace help_topics
