#pragma once
// Damaged settings for the tests that start from them: the .cfg text of the
// defaults with every number replaced by one hostile text ("nan", "1e39"),
// and every float field of the settings by key, as the file names them.

#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "settings/CfgSettingsFile.h"
#include "settings/CfgVisitor.h"

namespace hostile_cfg {

// Number keys take the values in turn (text keys too, when textToo is
// set). Floats are written with a decimal point, integers without one.
inline std::string EveryNumberFrom(const std::vector<std::string>& values, bool floatsOnly = false,
                                   bool textToo = false)
{
    std::size_t next = 0;
    std::istringstream in(FormatCfgSettings(FrameSettings{}));
    std::string out;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::size_t eq = line.find('=');
        const std::string old = eq != std::string::npos ? line.substr(eq + 1) : std::string();
        // Plain decimal numbers, as the defaults are written.
        const bool number = !old.empty() && old.find_first_not_of("-.0123456789") == std::string::npos
                         && (!floatsOnly || old.find('.') != std::string::npos);
        if (eq != std::string::npos && (number || textToo))
            line = line.substr(0, eq + 1) + values[next++ % values.size()];
        out += line + "\r\n";
    }
    return out;
}

struct FloatField {
    std::string Key;
    float Value;
    bool operator==(const FloatField&) const = default;
    friend void PrintTo(const FloatField& f, std::ostream* os) { *os << f.Key << "=" << f.Value; }
};

inline std::vector<FloatField> FloatFields(const FrameSettings& settings)
{
    class Collector final : public CfgVisitor {
    public:
        void Int32(std::string_view, std::string_view, std::int32_t&, std::string_view) override {}
        void UInt32(std::string_view, std::string_view, std::uint32_t&, std::string_view) override {}
        void UInt16(std::string_view, std::string_view, std::uint16_t&, std::string_view) override {}
        void Flag(std::string_view, std::string_view, std::uint8_t&, std::string_view) override {}
        void Float(std::string_view section, std::string_view key, float& field, std::string_view) override
        {
            fields.push_back({std::string(section) + "/" + std::string(key), field});
        }
        void Text(std::string_view, std::string_view, char*, std::size_t, std::string_view) override {}
        void Format(std::string_view, TWaveFormat&) override {}
        void WriteOnlyFlag(std::string_view, std::string_view, std::uint8_t) override {}
        std::vector<FloatField> fields;
    } collector;
    FrameSettings copy = settings;
    VisitCfgKeys(copy, collector);
    return collector.fields;
}

} // namespace hostile_cfg
