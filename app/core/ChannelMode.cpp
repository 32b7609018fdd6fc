#include "app/core/ChannelMode.h"

#include <cstdio>
#include <cstring>

#include "format/TChannelCalibration.h"

namespace channel_mode {

namespace {

// Calibration names fill their 40 bytes without a terminator when they are
// that long; reading stops at the field's end.
std::string ChannelNameText(const char* name)
{
    if (name == nullptr)
        return {};
    return std::string(name, strnlen(name, TChannelCalibration::kChannelNameSize));
}

} // namespace

std::string DualObjectName(std::uint16_t mode, const char* leftName, const char* rightName)
{
    const char* format = nullptr;
    if (mode == kAverage)
        format = "Average (%s and %s)";
    else if (IsTransferName(mode))
        format = "Transfer Function (%s/%s)";
    else if (mode == kCrossLeftRight || mode == kCrossRightLeft)
        format = "Cross Spectrum (%s*%s)";
    if (format == nullptr)
        return {};

    std::string first = ChannelNameText(leftName);
    std::string second = ChannelNameText(rightName);
    if (IsRightFirst(mode))
        first.swap(second);
    char text[256];
    std::snprintf(text, sizeof text, format, first.c_str(), second.c_str());
    return text;
}

} // namespace channel_mode
