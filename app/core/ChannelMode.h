#pragma once
// The thirteen channel modes (ChannelProcessing 0 … 12): which objects each
// needs and what the dual-channel object is called. Modes 1 … 12 need a
// two-channel format.

#include <cstdint>
#include <string>

namespace channel_mode {

enum Mode : std::uint16_t {
    kLeft = 0,
    kRight = 1,
    kBoth = 2,
    kAverage = 3,
    kRatioLeftRight = 4,
    kRatioRightLeft = 5,
    kCrossLeftRight = 6,
    kCrossRightLeft = 7,
    kTransferLeftRight = 8,
    kTransferRightLeft = 9,
    kCoherence = 10,
    kTransferCoherenceLeftRight = 11,
    kTransferCoherenceRightLeft = 12,
};
inline constexpr std::uint16_t kModeCount = 13;

inline bool IsValid(std::uint16_t mode) { return mode < kModeCount; }
// Modes 3 … 12 derive a function of both channels into the dual-channel object
// (mode 10 creates it without using it).
inline bool HasDualObject(std::uint16_t mode) { return mode >= kAverage && mode < kModeCount; }
inline bool HasCoherenceObject(std::uint16_t mode) { return mode >= kCoherence && mode < kModeCount; }
// Modes whose functions put the right channel first.
inline bool IsRightFirst(std::uint16_t mode)
{
    return mode == kRatioRightLeft || mode == kCrossRightLeft || mode == kTransferRightLeft ||
           mode == kTransferCoherenceRightLeft;
}
inline bool IsTransferName(std::uint16_t mode)
{
    return mode == kRatioLeftRight || mode == kRatioRightLeft || mode == kTransferLeftRight ||
           mode == kTransferRightLeft || mode == kTransferCoherenceLeftRight ||
           mode == kTransferCoherenceRightLeft;
}

// The dual-channel object's name from the two channel names (each up to 40
// characters); empty for a mode whose object is not named.
std::string DualObjectName(std::uint16_t mode, const char* leftName, const char* rightName);

} // namespace channel_mode
