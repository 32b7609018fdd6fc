#pragma once
// The main frame as the status bar sees it: the run state it shows, the
// levels it meters and the analysis format its menu changes.

#include "app/FrameCommandTarget.h"
#include "format/TWaveFormat.h"

#include <cstdint>
#include <optional>

class StatusbarFrame : public virtual FrameCommandTarget {
public:
    virtual bool IsRunning() const = 0;
    virtual bool IsPlaybackOn() const = 0;
    // Blocks processed since the last start.
    virtual std::uint32_t GetFrameCounter() const = 0;
    virtual std::uint32_t GetFFTSize() const = 0;
    // The data log is writing at least one file.
    virtual bool IsDataLogWriting() const { return false; }

    // The input port can be gone at any time (a device change deletes it).
    virtual bool HasInputPort() const = 0;
    // Makes a new input port when a stopped analyzer has none and one can be
    // had, so that the format menu has a port to ask.
    virtual void EnsureInputPort() {}
    // Samples waiting in the input port's ring buffer; nullopt without a port.
    virtual std::optional<std::uint32_t> GetInputSamplesAvailable() const = 0;
    // Whether the input port accepts this format; false without a port.
    virtual bool CheckInputFormat(std::uint32_t rate, std::uint16_t bytesPerSample,
                                  std::uint16_t channels) const = 0;

    // Peak level of a channel's sample buffer in logarithmic percent of full
    // scale; nullopt when that buffer does not exist.
    virtual std::optional<std::int32_t> GetPeakValue(int channel) const = 0;
    virtual void IncrementOverloadCount(int channel) = 0;

    virtual TWaveFormat GetAnalysisFormat() const = 0;
    virtual void SetAnalysisFormat(const TWaveFormat& format) = 0;
    // Channel processing mode of the processing settings (2: both channels).
    virtual void SetChannelMode(int mode) = 0;

protected:
    ~StatusbarFrame() = default;
};
