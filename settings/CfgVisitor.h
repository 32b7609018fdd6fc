#pragma once
// One walk over every key of the .cfg file, in the file's order, shared by
// the reader and the writer so that the two can never disagree about a
// section, a key, a type or a default. Each call names the section, the
// key, the field and the text a reader uses when the key is missing.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "settings/FrameSettings.h"

class CfgVisitor {
public:
    virtual ~CfgVisitor() = default;

    virtual void Int32(std::string_view section, std::string_view key, std::int32_t& field,
                       std::string_view defaultValue) = 0;
    // Written as the signed 32-bit value of the same bits.
    virtual void UInt32(std::string_view section, std::string_view key, std::uint32_t& field,
                        std::string_view defaultValue) = 0;
    // Read as a 32-bit integer of which the low 16 bits are kept.
    virtual void UInt16(std::string_view section, std::string_view key, std::uint16_t& field,
                        std::string_view defaultValue) = 0;
    // 0 or 1; any non-zero number reads as 1.
    virtual void Flag(std::string_view section, std::string_view key, std::uint8_t& field,
                      std::string_view defaultValue) = 0;
    // Six decimals when written; any decimal notation read.
    virtual void Float(std::string_view section, std::string_view key, float& field,
                       std::string_view defaultValue) = 0;
    // A field of size characters, terminator included.
    virtual void Text(std::string_view section, std::string_view key, char* field, std::size_t size,
                      std::string_view defaultValue) = 0;
    // "SamplingRate", "BytesPerSample" and "NumChannels", read together.
    virtual void Format(std::string_view section, TWaveFormat& format) = 0;
    // A key that is written but never read back.
    virtual void WriteOnlyFlag(std::string_view section, std::string_view key, std::uint8_t value) = 0;

    template <std::size_t N>
    void Text(std::string_view section, std::string_view key, char (&field)[N], std::string_view defaultValue)
    {
        Text(section, key, field, N, defaultValue);
    }
};

// Every key of the file, in the order the writer writes them.
void VisitCfgKeys(FrameSettings& settings, CfgVisitor& visitor);
