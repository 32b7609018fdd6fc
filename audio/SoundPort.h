#pragma once
// The operations the run control needs from a sound port, as the audio
// layer's TSoundPort offers them. Every port of a device forwards to the one
// shared audio port, so stopping either direction stops both. The ports show
// no messages themselves: the caller words each failure.

#include "format/TWaveFormat.h"

class SoundPort {
public:
    virtual ~SoundPort() = default;
    // Opens the device; the format is set whatever the open gave.
    virtual bool Open(const TWaveFormat& format) = 0;
    virtual void Close() = 0;
    // True when the format's rate is supported.
    virtual bool SetFormat(const TWaveFormat& format) = 0;
    virtual bool IsSampleRateSupported(const TWaveFormat& format) = 0;
    // Whether the port's device takes the format, asked while stopped too,
    // before the device is open; by default the open device's answer.
    virtual bool CheckFormat(const TWaveFormat& format) { return IsSampleRateSupported(format); }
    // True when the port's device is the Talvenor DAQ module.
    virtual bool IsQuarnDAQ() const = 0;
    virtual void Stop() = 0;
};
