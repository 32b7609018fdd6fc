// The output-level dialog's logic: the DAQ module's fixed full scale, the
// units offered, and the checks per unit.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "utilities/siggenlogic/TOutputLevelOptions.h"

namespace {

using Options = TOutputLevelOptions;

SigGenOutputSettings Levels(std::int32_t unit, float left, float right, float fullScale = 1.0f,
                            std::uint16_t option = 0)
{
    return {left, right, unit, option, fullScale};
}

std::vector<std::int32_t> Units(const std::vector<Options::UnitEntry>& entries)
{
    std::vector<std::int32_t> units;
    for (const auto& e : entries)
        units.push_back(e.Unit);
    return units;
}

} // namespace

TEST(OutputLevelOptions, TheDaqModuleTurnsRelativeLevelsIntoHalfAVoltAndUnitsFollowTheFullScale)
{
    SigGenOutputSettings stored = Levels(Options::kDbFullScale, -6.0f, 0.0f, 2.5f, 1);
    Options::ApplyDaqOutput(stored);
    EXPECT_EQ(stored, Levels(Options::kVoltsRms, 0.5f, 0.5f));
    // Full scale itself (0 dB) is no voltage either.
    SigGenOutputSettings full = Levels(Options::kDbFullScale, 0.0f, 0.0f);
    Options::ApplyDaqOutput(full);
    EXPECT_EQ(full, Levels(Options::kVoltsRms, 0.5f, 0.5f));
    // A positive percentage is kept as a voltage, unchecked.
    SigGenOutputSettings percent = Levels(Options::kPercentFullScale, 50.0f, -1.0f);
    Options::ApplyDaqOutput(percent);
    EXPECT_EQ(percent, Levels(Options::kVoltsRms, 50.0f, 0.5f));
    // Absolute units stay as they are.
    SigGenOutputSettings dbv = Levels(Options::kDbV, -20.0f, -10.0f, 3.0f, 1);
    Options::ApplyDaqOutput(dbv);
    EXPECT_EQ(dbv, Levels(Options::kDbV, -20.0f, -10.0f));

    // The units offered follow what is known of the full scale.
    EXPECT_EQ(Units(Options::OfferedUnits(false, false)), (std::vector{0, 1}));
    EXPECT_EQ(Units(Options::OfferedUnits(false, true)), (std::vector{0, 1}));
    EXPECT_EQ(Units(Options::OfferedUnits(true, false)), (std::vector{0, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(Units(Options::OfferedUnits(true, true)), (std::vector{2, 3, 4, 5, 6}));

    const auto entries = Options::OfferedUnits(true, true);
    EXPECT_EQ(Options::SelectedEntry(entries, Options::kDbV), 2);
    EXPECT_EQ(Options::SelectedEntry(entries, Options::kDbFullScale), 0) << "a unit not offered selects the first";
}

TEST(OutputLevelOptions, ChecksPerUnit)
{
    struct CheckCase {
        const char* name;
        SigGenOutputSettings settings;
        std::string message;
    };
    const std::string dbfs = "Output Level must be between 0.0 and -96 dB";
    const std::string percent = "Output Level must be between 0.0 and 100 percent";
    const std::string volts = "Output Level must be between 0.0 and 2.000000 volts";
    const std::string millivolts = "Output Level must be between 0.0 and 2000.000000 millivolts";
    // 20·log10(2) = 6.0206; the dBu top adds 2.21395.
    const std::string dbv = "Output Level must be between 6.020600 and -89.979401 dBV";
    const std::string dbmv = "Output Level must be between 66.020599 and -29.979401 dBmV";
    const std::string dbu = "Output Level must be between 8.234550 and -87.765450 dBu";
    const float kTopDbV = 20.0f * std::log10(2.0f);
    const CheckCase cases[] = {
        {"0 and -96 dBFS", Levels(0, 0.0f, -96.0f), ""},
        {"above 0 dBFS", Levels(0, 0.1f, -6.0f), dbfs},
        {"right below -96 dBFS", Levels(0, -6.0f, -96.1f), dbfs},
        {"100 percent", Levels(1, 100.0f, 0.001f), ""},
        {"0 percent", Levels(1, 0.0f, 50.0f), percent},
        {"full-scale volts", Levels(2, 2.0f, 0.5f, 2.0f), ""},
        {"above full-scale volts", Levels(2, 2.01f, 0.5f, 2.0f), volts},
        {"0 millivolts", Levels(3, 0.0f, 5.0f, 2.0f), millivolts},
        {"top millivolts", Levels(3, 2000.0f, 5.0f, 2.0f), ""},
        {"dBV at full scale", Levels(4, 6.0206f, -80.0f, 2.0f), ""},
        {"dBV 96 dB down is refused", Levels(4, kTopDbV - 96.0f, -80.0f, 2.0f), dbv},
        {"dBmV above the top", Levels(5, 66.1f, 0.0f, 2.0f), dbmv},
        {"dBu just below the top", Levels(6, 8.2f, 0.0f, 2.0f), ""},
        {"dBu above the top", Levels(6, 8.3f, 0.0f, 2.0f), dbu},
        {"no full scale with volts known", Levels(2, 0.5f, 0.5f, 0.0f, 0),
         "Full Scale Level must be greater than 0.0 volts"},
        {"no full scale while unknown", Levels(0, -6.0f, -6.0f, 0.0f, 1), ""},
        // Beyond what the settings file keeps.
        {"an endless full scale", Levels(0, -6.0f, -6.0f, std::numeric_limits<float>::infinity(), 0),
         "Full Scale Level must be at most 1000000 volts and at least 0.000001 volts"},
        {"a full scale of 2 MV", Levels(0, -6.0f, -6.0f, 2e6f, 0),
         "Full Scale Level must be at most 1000000 volts and at least 0.000001 volts"},
    };
    for (const CheckCase& c : cases)
        EXPECT_EQ(Options::Check(c.settings).value_or(""), c.message) << c.name;
}
