#pragma once
// What the output-level dialog offers and accepts: the units for what the
// operator knows of the sound card, each unit's default level, the DAQ
// module's fixed full scale, and the checks on OK.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "settings/SigGenSettings.h"

class TOutputLevelOptions {
public:
    enum Unit : std::int32_t {
        kDbFullScale = 0,
        kPercentFullScale = 1,
        kVoltsRms = 2,
        kMillivoltsRms = 3,
        kDbV = 4,
        kDbmV = 5,
        kDbu = 6,
    };

    struct UnitEntry {
        const char* Text;
        std::int32_t Unit;
    };

    // The DAQ module's output is 1 V rms at full scale, so its levels are
    // offered in volts: relative units become volts, and a level that is not
    // a voltage (0 dBFS and below) becomes 0.5 V.
    static void ApplyDaqOutput(SigGenOutputSettings& settings);

    // fullScaleKnown: "Level (Volts RMS)" is chosen (FSOption 0). Without a
    // known full scale only the relative units make sense; the DAQ module's
    // output is offered in absolute units only.
    static std::vector<UnitEntry> OfferedUnits(bool fullScaleKnown, bool isDaq);
    // The entry showing `unit`, the first when none does.
    static int SelectedEntry(const std::vector<UnitEntry>& entries, std::int32_t unit);

    // The level both edits take when the unit changes.
    static const char* DefaultLevelText(std::int32_t unit);

    // The first failing check's message, or nothing when the record may be
    // stored.
    static std::optional<std::string> Check(const SigGenOutputSettings& settings);
};
