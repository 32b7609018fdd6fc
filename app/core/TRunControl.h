#pragma once
// Run and Stop as logic: starting and stopping acquisition, the acquisition
// timer's loop, one acquisition step (latest block → display pass → logging
// pass → plots, data log, status bar, viewers), and playback of the
// recorder's file through the same analysis. The frame owns one, forwards
// its commands and timer events to it, and implements the services.
//
// Times: block times are steady seconds (wave seconds in playback); the
// time of day goes only to the data log.

#include <cstdint>
#include <memory>
#include <string>

#include "app/core/InputDeliveryWatch.h"
#include "app/core/InputLossReport.h"
#include "app/core/RunServices.h"
#include "platform/ZeroFilledArray.h"

struct FrameSettings;
class SpectralData;
class TProcessingObjects;
class TSampleBuffer;
class TWaveFile;

class TRunControl {
public:
    // Re-arm intervals of the acquisition timer, and the processing budget
    // of one timer event.
    static constexpr std::uint32_t kFastIntervalMs = 10;
    static constexpr std::uint32_t kSlowestIntervalMs = 100;
    static constexpr std::uint32_t kEventBudgetMs = 100;
    static constexpr std::uint32_t kFirstPlaybackIntervalMs = 100;
    // A step needs this share of a block of new frames, or this much new
    // sound at the most; held lines fall one hold step per nominal interval.
    static constexpr std::uint32_t kStepsPerBlock = 16;
    static constexpr double kLongestStepWaitSeconds = 0.08;
    static constexpr double kNominalHoldStepSeconds = 0.02;

    TRunControl(FrameSettings& settings, TProcessingObjects& processing, const RunServices& services);
    ~TRunControl();
    TRunControl(const TRunControl&) = delete;
    TRunControl& operator=(const TRunControl&) = delete;

    // ---- Commands (Run, Stop, Restart) -----------------------------------
    void OnStart();
    // The common stop: acquisition, then the generator's output.
    void OnStop();
    void OnRestart();
    void OnStopCommand();

    // ---- Acquisition ------------------------------------------------------
    // True when acquisition runs; false, stopped and with no timer, after a
    // failure (each failure is reported in a message box).
    bool StartInput();
    void StopInput();
    // The acquisition timer's event.
    void OnTimer();
    // When the input device has stopped delivering (its driver asked to be
    // reset, or no buffer came for two blocks): stops the run, releases the
    // port so that the next Run opens the device afresh, tells the operator
    // which device and what happened, and answers true.
    bool StopIfInputFailed();
    // One acquisition step: 1 when a block was read and processed.
    std::uint8_t ProcessInputTick();
    // The latest block of the input port into the given buffers (either may
    // be null); 1 on success.
    std::uint8_t ReadInputBlocks(TSampleBuffer* left, TSampleBuffer* right);
    static void CopyTimeBlockToSpectrum(SpectralData* data, const TSampleBuffer* buffer);

    // ---- Playback of the recorder's file through the analysis -------------
    bool StartPlayback();
    bool ProcessPlaybackTick();
    bool StopPlayback();
    // Frames first … first+count−1 of one channel of the wave into the
    // buffer's first count samples, in the buffer's width. False when the
    // wave cannot be read, and with the buffer untouched when it is shorter
    // than count or has failed. A file of another width is read through
    // `codes`, which grows as needed and is kept for the next block.
    static bool ReadPlaybackChannel(TWaveFile& wave, TSampleBuffer& buffer, std::uint64_t first, std::uint64_t count,
                                    int channel, platform::ZeroFilledArray<std::int32_t>& codes);

    // ---- Ports ------------------------------------------------------------
    // Stops, closes and deletes the input port, then creates one on the DAQ
    // input device with the analysis format (what a re-initialisation does).
    void RecreateInputPort();
    // Stops, closes and deletes the input port (a device has gone).
    void ReleaseInputPort();
    SoundInputPort* GetInputPort() const { return m_PSoundIn.get(); }
    void SetOutputPort(std::unique_ptr<SoundOutputPort> port) { m_PSoundOut = std::move(port); }
    SoundOutputPort* GetOutputPort() const { return m_PSoundOut.get(); }

    // ---- Run state ----------------------------------------------------------
    bool IsRunning() const { return m_Running != 0; }
    bool IsPlayback() const { return m_Playback != 0; }
    std::uint32_t GetFrameCounter() const { return m_FrameCounter; }
    // Refreshes that saw channel 0 or 1 near full scale; the status bar counts them.
    std::uint32_t GetOverloadCount(int channel) const { return m_OverloadCount[channel == 1 ? 1 : 0]; }
    void CountOverload(int channel) { ++m_OverloadCount[channel == 1 ? 1 : 0]; }
    // Samples between successive blocks of a played file.
    std::uint32_t GetHopSize() const;

private:
    void ClearCounters();
    // The loss message of the run just stopped, or nothing when no input was lost.
    std::string FinishInputLossReport();
    // How far from where the loss report places a stretch it may truly lie:
    // a driver counts a loss by the buffer, and the count is read once a
    // timer interval.
    double LossEdgeSeconds(const SoundInputPort::DeliveryState& delivery) const;
    bool OpenInputPort();
    void StartNewLogDayIfDue();
    void WriteLogRecord(int channel, double blockTime, double timeOfDay);
    bool ProcessBothPasses(double blockTime);
    float HoldDecayScale(double blockTime);
    std::uint64_t NewFramesForAStep(std::uint32_t blockFrames) const;
    void CopyBlocksToSpectra();
    float* DisplayBlockFor(int channel, const TSampleBuffer* buffer, std::uint32_t count);

    FrameSettings& m_Settings;
    TProcessingObjects& m_Processing;
    RunServices m_Services;

    std::unique_ptr<SoundInputPort> m_PSoundIn;
    std::unique_ptr<SoundOutputPort> m_PSoundOut;

    InputDeliveryWatch m_InputWatch;
    InputLossReport m_InputLoss;
    std::uint8_t m_Running = 0;
    std::uint8_t m_Playback = 0;
    std::uint32_t m_FrameCounter = 0;
    std::uint32_t m_TimerIntervalMs = kFastIntervalMs;  // as the acquisition timer was last started
    std::uint32_t m_OverloadCount[2] = {};
    double m_PlaybackStart = 0.0;   // steady seconds
    float m_PlaybackOffset = 0.0f;  // wave seconds

    // What the last step read: no step reads the same frames twice.
    bool m_HasReadBlock = false;
    std::uint64_t m_LastReadDelivered = 0;
    bool m_HasHoldTime = false;
    double m_LastHoldTime = 0.0; // the previous step's block time
    // The read put the channel's block straight into its display object.
    bool m_DisplayBlockRead[2] = {false, false};

    // Kept from step to step: a block at 192 kHz is two 256 KB arrays.
    platform::ZeroFilledArray<std::int32_t> m_ReadLeft;
    platform::ZeroFilledArray<std::int32_t> m_ReadRight;
    // One channel's codes of a played file of another sample width.
    platform::ZeroFilledArray<std::int32_t> m_PlaybackCodes;
};
