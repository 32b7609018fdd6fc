#include "utilities/siggenlogic/TOutputLevelOptions.h"

#include <cmath>

#include "platform/NumberText.h"
#include "settings/FloatFieldBounds.h"

namespace {

constexpr float kDbuOffset = 2.21395f;
constexpr float kLevelSpanDb = 96.0f;

bool LevelsWithin(const SigGenOutputSettings& s, float low, bool lowInclusive, float high)
{
    for (const float level : {s.OutputLevel, s.OutputLevelR}) {
        const bool aboveLow = lowInclusive ? level >= low : level > low;
        if (!(aboveLow && level <= high))
            return false;
    }
    return true;
}

// The logarithmic voltage units: full scale M in the unit, 96 dB below it.
std::optional<std::string> CheckLogUnit(const SigGenOutputSettings& s, float top, const char* unit)
{
    if (LevelsWithin(s, top - kLevelSpanDb, false, top))
        return std::nullopt;
    return "Output Level must be between " + platform::FormatFixed(top) + " and "
         + platform::FormatFixed(top - kLevelSpanDb) + " " + unit;
}

} // namespace

void TOutputLevelOptions::ApplyDaqOutput(SigGenOutputSettings& settings)
{
    settings.FSVoltage = 1.0f;
    settings.FSOption = 0;
    if (settings.OutputUnits != kDbFullScale && settings.OutputUnits != kPercentFullScale)
        return;
    settings.OutputUnits = kVoltsRms;
    if (settings.OutputLevel <= 0.0f)
        settings.OutputLevel = 0.5f;
    if (settings.OutputLevelR <= 0.0f)
        settings.OutputLevelR = 0.5f;
}

std::vector<TOutputLevelOptions::UnitEntry> TOutputLevelOptions::OfferedUnits(bool fullScaleKnown, bool isDaq)
{
    std::vector<UnitEntry> entries;
    if (!fullScaleKnown || !isDaq) {
        entries.push_back({"dB Full Scale", kDbFullScale});
        entries.push_back({"Percent Full Scale", kPercentFullScale});
    }
    if (fullScaleKnown) {
        entries.push_back({"Volts rms", kVoltsRms});
        entries.push_back({"Millivolts rms", kMillivoltsRms});
        entries.push_back({"dBV rms", kDbV});
        entries.push_back({"dBmV rms", kDbmV});
        entries.push_back({"dBu rms", kDbu});
    }
    return entries;
}

int TOutputLevelOptions::SelectedEntry(const std::vector<UnitEntry>& entries, std::int32_t unit)
{
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].Unit == unit)
            return static_cast<int>(i);
    }
    return 0;
}

const char* TOutputLevelOptions::DefaultLevelText(std::int32_t unit)
{
    switch (unit) {
    case kPercentFullScale:
    case kMillivoltsRms:
        return "100.0";
    case kVoltsRms:
        return "1.0";
    default:
        return "0.0";
    }
}

std::optional<std::string> TOutputLevelOptions::Check(const SigGenOutputSettings& s)
{
    if (s.FSOption != 1 && !(s.FSVoltage > 0.0f))
        return "Full Scale Level must be greater than 0.0 volts";
    // What the settings file keeps.
    if (s.FSOption != 1 && !field_ranges::kFullScaleVolts.Contains(s.FSVoltage))
        return "Full Scale Level must be at most 1000000 volts and at least 0.000001 volts";

    switch (s.OutputUnits) {
    case kDbFullScale:
        if (!LevelsWithin(s, -kLevelSpanDb, true, 0.0f))
            return "Output Level must be between 0.0 and -96 dB";
        break;
    case kPercentFullScale:
        if (!LevelsWithin(s, 0.0f, false, 100.0f))
            return "Output Level must be between 0.0 and 100 percent";
        break;
    case kVoltsRms:
        if (!LevelsWithin(s, 0.0f, false, s.FSVoltage))
            return "Output Level must be between 0.0 and " + platform::FormatFixed(s.FSVoltage) + " volts";
        break;
    case kMillivoltsRms: {
        const float top = 1000.0f * s.FSVoltage;
        if (!LevelsWithin(s, 0.0f, false, top))
            return "Output Level must be between 0.0 and " + platform::FormatFixed(top) + " millivolts";
        break;
    }
    case kDbV:
        return CheckLogUnit(s, 20.0f * std::log10(s.FSVoltage), "dBV");
    case kDbmV:
        return CheckLogUnit(s, 20.0f * std::log10(1000.0f * s.FSVoltage), "dBmV");
    case kDbu:
        return CheckLogUnit(s, 20.0f * std::log10(s.FSVoltage) + kDbuOffset, "dBu");
    default:
        break;
    }
    return std::nullopt;
}
