// libFuzzer target: any bytes, read as a .cfg configuration file.
//
// Every setting it gives is finite, and saving the settings and reading the
// saved file again gives the same settings: the same text when saved once
// more.

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "fuzz/FuzzSupport.h"
#include "settings/CfgSettingsFile.h"
#include "settings/CfgVisitor.h"

namespace {

using fuzz::Check;

// Walks the keys and stops at a non-finite number.
class FiniteCheck : public CfgVisitor {
public:
    void Int32(std::string_view, std::string_view, std::int32_t&, std::string_view) override {}
    void UInt32(std::string_view, std::string_view, std::uint32_t&, std::string_view) override {}
    void UInt16(std::string_view, std::string_view, std::uint16_t&, std::string_view) override {}
    void Flag(std::string_view, std::string_view, std::uint8_t& field, std::string_view) override
    {
        Check(field <= 1);
    }
    void Float(std::string_view, std::string_view, float& field, std::string_view) override
    {
        Check(std::isfinite(field));
    }
    void Text(std::string_view, std::string_view, char* field, std::size_t size, std::string_view) override
    {
        Check(::strnlen(field, size) < size);
    }
    void Format(std::string_view, TWaveFormat&) override {}
    void WriteOnlyFlag(std::string_view, std::string_view, std::uint8_t) override {}
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::SilenceMessages();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string input = fuzz::ScratchFile("input.cfg");
    const std::string output = fuzz::ScratchFile("saved.cfg");
    fuzz::WriteBytes(input, std::string_view(reinterpret_cast<const char*>(data), size));

    FrameSettings first;
    Check(LoadCfgSettings(input, first, {}));
    FiniteCheck finite;
    VisitCfgKeys(first, finite);

    Check(SaveCfgSettings(output, first));
    FrameSettings second;
    Check(LoadCfgSettings(output, second, {}));
    Check(FormatCfgSettings(second) == FormatCfgSettings(first));
    return 0;
}
