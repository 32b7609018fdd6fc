#pragma once
// A sound input port: it streams the device into a ring buffer on the
// driver's thread, and the GUI thread takes the latest block out of it.

#include <cstdint>
#include <optional>
#include <string>

#include "audio/SoundPort.h"

class TWaveFile;
struct TriggerOpts;

class SoundInputPort : public SoundPort {
public:
    // recording: the recorder's file, which then receives the input as it
    // arrives, or null. The trigger record is not owned and must outlive the run.
    virtual bool PrepareInput(TWaveFile* recording, std::uint32_t blockLength, TriggerOpts* trigger) = 0;
    virtual bool Start() = 0;
    // Frames the ring holds.
    virtual std::int32_t GetSamplesAvailable() = 0;
    // Frames the driver has delivered since the input was prepared; the same
    // count as at the last read means nothing new has arrived.
    virtual std::uint64_t GetFramesDelivered() = 0;
    // The most recent n frames of each channel whose array is given, oldest
    // first, as sign-extended sample codes.
    virtual bool ReadLatest(std::uint32_t n, std::int32_t* left, std::int32_t* right) = 0;

    // How the device is delivering: buffers handed over so far (a count
    // that wraps), whether its driver asked to be reset since the start
    // (its device or server has gone), and the input frames its driver lost
    // since the start (overruns, xruns, a stalled machine; still answered
    // after the stop), and how long one of its buffers lasts (0: not
    // known). Unset when the port cannot tell; the run then never judges
    // the device to have stopped.
    struct DeliveryState {
        std::uint32_t Buffers = 0;
        bool ResetRequested = false;
        std::int64_t FramesLost = 0;
        double BufferSeconds = 0.0;
    };
    virtual std::optional<DeliveryState> GetDeliveryState() { return std::nullopt; }
    // The name the operator knows the device by.
    virtual std::string GetDeviceName() { return {}; }
};
