#pragma once
// The port whose analysis format the device enumeration sets from the first
// usable driver, when the port has none yet.

#include <cstdint>

class AsioFormatTarget {
public:
    virtual ~AsioFormatTarget() = default;
    virtual bool IsFormatSet() const = 0;
    // Channels as the driver counts them; the port keeps what it can use.
    virtual void SetFormat(std::uint32_t rate, std::uint16_t channels, std::uint16_t bytesPerSample) = 0;
};
