#pragma once
// The one shared audio port: the device list, the loaded driver, the analysis
// format with its decimation ratio, the driver's double buffers, the input
// ring and the output source. The sound input and output ports hold it
// through a reference count, and one stream carries the inputs and the
// outputs together: starting either port starts both directions, stopping
// either stops both.
//
// Threads: the buffer switch, the output fill and the driver's messages run
// on the driver's thread, everything else on the GUI thread. The stream's
// set-up is published to the driver's thread by the release store of the
// running flag; a buffer switch does nothing unless it reads stopping clear
// and running set. Stop is synchronous: once it returns no buffer switch is
// running or will run, so the buffers, the ring and a recording file may be
// freed. Nothing here shows a message except the refusal of an analysis
// width the converter does not handle.

#include "audio/AsioDeviceList.h"
#include "audio/AsioTypes.h"
#include "audio/TAsioSampleCodec.h"
#include "audio/TInputStream.h"
#include "audio/TOutputSource.h"
#include "audio/TWaveData.h"
#include "platform/ZeroFilledArray.h"

#include <atomic>
#include <cstdint>

class TWaveFile;
struct TriggerOpts;

class TASIOSoundPort {
public:
    // Directions of Open.
    static constexpr int kDirectionInput = 2;
    static constexpr int kDirectionOutput = 1;
    // Mode bits: what the next start streams.
    static constexpr std::uint16_t kOutputPrepared = 1;
    static constexpr std::uint16_t kInputPrepared = 2;

    // The process's instance, made (and the drivers enumerated) on first use.
    static TASIOSoundPort* GetInstance();
    // Held by each sound port; the instance is destroyed when the count falls below 1.
    static void AddReference();
    static void ReleaseReference();
    static int GetReferenceCount();

    // Device-list queries, answered from the instance (made when absent).
    // The count enumerates the drivers again when none is loaded.
    static int GetDeviceCount();
    // The display name into a buffer of at least 256 characters; empty for
    // an invalid entry or an index outside 0 … 255.
    static void GetDeviceNameByIndex(int index, char* buffer);
    static bool HasChannels(int index);
    static bool IsQuarnDAQ(int index);

    virtual ~TASIOSoundPort();
    TASIOSoundPort(const TASIOSoundPort&) = delete;
    TASIOSoundPort& operator=(const TASIOSoundPort&) = delete;

    // Loads and initialises the entry's driver unless one is loaded. Input
    // and output must use the same driver. A running stream is halted first.
    bool Open(int device, int direction);
    // Sets the analysis format in any case, and the decimation ratio and
    // filter length for it; answers whether the rate is supported.
    bool SetFormat(std::uint32_t rate, std::uint16_t channels, std::uint16_t bytes);
    // The DAQ module takes its own list of rates in 2- or 3-byte samples;
    // another device must list the rate it will run at (the analysis rate
    // times the decimation ratio).
    bool IsSampleRateSupported(std::uint32_t rate, std::uint16_t bytes, std::uint16_t channels) const;
    // The same check for a device of the list, open or not.
    bool IsFormatSupportedOn(int device, std::uint32_t rate, std::uint16_t bytes, std::uint16_t channels) const;
    // Reloads the driver, sets and checks the device rate, creates the
    // buffers for what was prepared and starts the stream. True at once when
    // already running.
    bool Start();
    void Stop();
    // Stop, then unloads the driver.
    virtual void Close();

    // Input: the recording file (or null) receives every block as it
    // arrives; the ring is sized for reads of n frames and emptied. Refused
    // without a driver and while running.
    bool PrepareInput(TWaveFile* recording, std::int32_t n, TriggerOpts* trigger);
    std::int32_t GetSamplesAvailable() const { return Input.GetRing().GetSamplesAvailable(); }
    std::uint64_t GetFramesDelivered() const { return Input.GetRing().GetFramesDelivered(); }
    bool ReadLatest(std::int32_t n, std::int32_t* left, std::int32_t* right) const
    {
        return Input.GetRing().ReadLatest(n, left, right);
    }
    // Output: plays the wave from first to end (−1: its cursor, its frame
    // count), looped or once. Refused for a bad range and while running.
    bool PreparePlayback(TWaveData* wave, bool loop, std::int64_t first, std::int64_t end);

    const TWaveFormat& GetFormat() const { return Format; }
    bool IsFormatSet() const { return FormatSet != 0; }
    std::int32_t GetDecimationRatio() const { return DecimationRatio; }
    std::int32_t GetFilterTaps() const { return FilterTaps; }
    // The rate the device runs at: the analysis rate times the ratio.
    std::uint32_t GetDeviceRate() const { return Format.SamplingRate * static_cast<std::uint32_t>(DecimationRatio); }
    int GetCurrentDevice() const { return CurrentDevice; }
    int GetInputDevice() const { return InputDevice; }
    int GetOutputDevice() const { return OutputDevice; }
    bool IsDriverLoaded() const { return DriverLoaded != 0; }
    bool IsRunning() const { return Running.load(std::memory_order_acquire) != 0; }
    std::uint16_t GetModeBits() const { return ModeBits.load(std::memory_order_acquire); }
    // Frames per driver buffer of the stream last started.
    std::int32_t GetBufferFrames() const { return BufferFrames; }
    // Buffers the driver has handed over while running, ever (wraps).
    std::uint32_t GetBufferSwitchCount() const { return BufferSwitches.load(std::memory_order_relaxed); }
    // The driver asked to be reset since the last start: a driver does that
    // when its device or its server has gone away, and delivers no more.
    bool IsResetRequested() const { return ResetRequested.load(std::memory_order_acquire) != 0; }
    // Input frames the driver lost in the stream last started (overruns,
    // xruns, a stalled schedule), in frames of the analysis rate: asked of
    // the driver while it runs, kept from the stop on; 0 for a driver that
    // does not count.
    std::int64_t GetFramesLost() const;
    const TInputRing& GetRing() const { return Input.GetRing(); }
    const TOutputSource& GetOutputSource() const { return Output; }
    const AsioDeviceList& GetDeviceList() const { return Devices; }

    // The driver's entry points; each fetches the instance and forwards to it.
    static void BufferSwitch(std::int32_t index, ASIOBool directProcess);
    static void SampleRateDidChange(ASIOSampleRate rate);
    static std::int32_t AsioMessage(std::int32_t selector, std::int32_t value, void* message, double* options);
    static ASIOTime* BufferSwitchTimeInfo(ASIOTime* time, std::int32_t index, ASIOBool directProcess);

private:
    // Lets the enumeration set the first format without a second SetFormat.
    class FormatTarget final : public AsioFormatTarget {
    public:
        explicit FormatTarget(TASIOSoundPort& port) : Port(port) {}
        bool IsFormatSet() const override { return Port.IsFormatSet(); }
        void SetFormat(std::uint32_t rate, std::uint16_t channels, std::uint16_t bytes) override
        {
            Port.SetFormat(rate, channels, bytes);
        }

    private:
        TASIOSoundPort& Port;
    };

    TASIOSoundPort();
    // The instance or null, without making one (the driver's thread).
    static TASIOSoundPort* Existing();
    void EnumerateDevices();
    const AsioDeviceEntry* EntryAt(int index) const;

    // ASIOInit for ASIO version 2.
    static bool InitAsioDriver();
    // Start's steps.
    bool ReloadDriver();
    bool CreateBuffers();
    bool PrepareStreamBuffers();
    // Stops the driver once no buffer switch runs; keeps the buffers.
    void HaltStream();
    void DisposeBuffers();
    // The loaded driver's count, 0 when it keeps none.
    static std::int64_t AskFramesLost();

    // Driver's thread.
    void OnBufferSwitchTimeInfo(std::int32_t index);
    std::int32_t ProcessInput(std::int32_t index);
    void FillOutput(std::int32_t index);

    // GUI thread state.
    int CurrentDevice = -1;
    int InputDevice = -1;
    int OutputDevice = -1;
    std::uint8_t DriverLoaded = 0;
    std::uint8_t FormatSet = 0;
    TWaveFormat Format{48000, 2, 4};
    std::int32_t DecimationRatio = 1;
    std::int32_t FilterTaps = 99;
    AsioDeviceList Devices;

    // Shared with the driver's thread.
    std::atomic<std::uint8_t> Stopping{1};
    std::atomic<std::uint8_t> Running{0};
    // Buffer switches in progress; Stop waits for it to fall to 0.
    std::atomic<std::int32_t> InCallback{0};
    std::atomic<std::uint16_t> ModeBits{0};
    std::atomic<std::uint32_t> BufferSwitches{0};
    std::atomic<std::uint8_t> ResetRequested{0};
    // The driver's count of lost frames as the last stream stopped.
    std::int64_t FramesLostAtStop = 0;

    // The stream's set-up: written on the GUI thread while stopped, read by
    // the driver's thread while running.
    platform::ZeroFilledArray<ASIOBufferInfo> BufferInfos;
    std::int32_t InputChannels = 0;
    std::int32_t OutputChannels = 0;
    std::int32_t BufferFrames = 0;
    std::uint16_t StreamModes = 0;
    std::uint16_t StreamBytes = 3;
    TAsioSampleCodec::SampleSize InputSize;
    TAsioSampleCodec::SampleSize OutputSize;
    bool StreamOutputReady = false;
    TInputStream Input;
    TOutputSource Output;
};
