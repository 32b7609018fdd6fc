#pragma once
// The 16-byte class id under which a driver is registered, written as
// "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}". Header-only, because driver
// plugins compare the id they are asked for with their own.

#include <array>
#include <cstdint>
#include <string_view>

struct AsioClassId {
    std::array<std::uint8_t, 16> Bytes{};

    // Hex digits of either case, braces optional; false for anything else.
    static constexpr bool Parse(std::string_view text, AsioClassId& id)
    {
        if (text.size() == 38 && text.front() == '{' && text.back() == '}')
            text = text.substr(1, 36);
        if (text.size() != 36)
            return false;
        AsioClassId parsed;
        std::size_t nibble = 0;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const char c = text[i];
            if (i == 8 || i == 13 || i == 18 || i == 23) {
                if (c != '-')
                    return false;
                continue;
            }
            int value = -1;
            if (c >= '0' && c <= '9')
                value = c - '0';
            else if (c >= 'a' && c <= 'f')
                value = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F')
                value = c - 'A' + 10;
            if (value < 0)
                return false;
            std::uint8_t& byte = parsed.Bytes[nibble / 2];
            byte = static_cast<std::uint8_t>(nibble % 2 == 0 ? value << 4 : byte | value);
            ++nibble;
        }
        id = parsed;
        return true;
    }

    bool operator==(const AsioClassId&) const = default;
};
