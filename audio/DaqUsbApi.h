#pragma once
// The DAQ module's USB control library, as a plugin exports it: one function,
// kDaqUsbApiName, answering a table of its calls. The original library's
// ordinal of each call is noted beside it; every argument is 32-bit except
// the buffers. Plain C types, so that a real module's library can be wrapped
// into this table without our headers.

#include <cstdint>

inline constexpr std::int32_t kDaqVendorId = 0x20B1;
inline constexpr std::int32_t kDaqProductId = 0x2027;
inline constexpr std::int32_t kDaqMaxDevices = 256;
inline constexpr std::int32_t kDaqDeviceRecordSize = 528;
inline constexpr std::int32_t kDaqDeviceInfoSize = 196;
// The register write's mask argument, and what a failed register read answers.
inline constexpr std::int32_t kDaqRegisterMask = 0xFFFF;
inline constexpr std::int32_t kDaqFailedRead = 0xFFFF;
// Vendor request for the parameter memory.
inline constexpr std::int32_t kDaqParameterRequest = 0x19;

extern "C" {

struct DaqUsbApi {
    // sizeof(DaqUsbApi) as the library was built; a smaller table is refused.
    std::uint32_t Size;
    // How long the module needs after a boot or suspend (1500 for the real
    // module); the host waits this long.
    std::uint32_t SettleMilliseconds;
    // 30: the number of modules found; the list receives maxDevices records
    // of kDaqDeviceRecordSize bytes.
    std::int32_t (*FindDevices)(std::int32_t vendorId, std::int32_t productId, void* deviceList,
                                std::int32_t maxDevices);
    // 50
    std::int32_t (*OpenDevice)(void* deviceList);
    // 60: fills kDaqDeviceInfoSize bytes.
    std::int32_t (*GetDeviceInfo)(void* info);
    // 74: nonzero while the firmware runs.
    std::int32_t (*IsFirmwareRunning)();
    // 71: 0 boots the firmware; 1 after SuspendDevice leaves the module in its low-power state.
    std::int32_t (*BootDevice)(std::int32_t mode);
    // 73
    std::int32_t (*SuspendDevice)();
    // 52
    std::int32_t (*CloseDevice)();
    // 102: nonzero while the connection is usable.
    std::int32_t (*IsLinkAlive)();
    // 104: the 16-bit input-configuration register; kDaqFailedRead on failure.
    std::int32_t (*ReadInputConfig)();
    // 103: 1 on success.
    std::int32_t (*WriteInputConfig)(std::int32_t mask, std::int32_t value);
    // 66: nonzero on success.
    std::int32_t (*VendorRequest)(std::int32_t direction, std::int32_t recipient, std::int32_t type,
                                  std::int32_t target, std::int32_t request, void* data,
                                  std::int32_t dataLength, void* reply, std::int32_t replyLength);
};

using DaqUsbApiFunction = const DaqUsbApi* (*)();

} // extern "C"

inline constexpr const char* kDaqUsbApiName = "TalvenorDaqUsbApi";
