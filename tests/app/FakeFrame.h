#pragma once
// A main frame stand-in for the bar tests: plain state the test sets, and a
// record of every command a bar sends; Start and Stop set the running flag.

#include "app/SidebarFrame.h"
#include "app/StatusbarFrame.h"
#include "app/ToolbarFrame.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class FakeFrame final : public SidebarFrame, public ToolbarFrame, public StatusbarFrame {
public:
    bool running = false;
    bool playback = false;
    bool dataLoggingActive = false;
    bool logWriting = false;
    bool triggerEnabled = false;
    bool signalGenerator = false;
    bool spectrumPlot = false;
    bool peakFrequencyViewer = false;
    bool peakAmplitudeViewer = false;
    bool totalPowerViewer = false;
    std::uint32_t frameCounter = 0;
    std::uint32_t fftSize = 65536;
    bool inputPort = true;
    std::uint32_t samplesAvailable = 0;
    std::array<std::optional<std::int32_t>, 2> peaks{0, 0};
    std::array<int, 2> overloads{0, 0};
    TWaveFormat format{48000, 1, 2};
    int channelMode = 0;
    // Which formats the input port accepts (rate, bytes per sample, channels).
    std::function<bool(std::uint32_t, std::uint16_t, std::uint16_t)> accepts = [](auto, auto, auto) { return true; };

    std::vector<FrameCommand> commands;
    // Format changes and commands in the order they happened.
    std::vector<std::string> events;

    void ExecuteCommand(FrameCommand command) override
    {
        commands.push_back(command);
        events.push_back("command " + std::to_string(static_cast<std::uint32_t>(command)));
        if (command == FrameCommand::Start || command == FrameCommand::Stop)
            running = command == FrameCommand::Start;
    }

    bool IsRunning() const override { return running; }
    bool IsDataLoggingActive() const override { return dataLoggingActive; }
    bool IsDataLogWriting() const override { return logWriting; }

    bool IsTriggerEnabled() const override { return triggerEnabled; }
    bool HasSignalGenerator() const override { return signalGenerator; }
    bool HasSpectrumPlot() const override { return spectrumPlot; }
    bool HasPeakFrequencyViewer() const override { return peakFrequencyViewer; }
    bool HasPeakAmplitudeViewer() const override { return peakAmplitudeViewer; }
    bool HasTotalPowerViewer() const override { return totalPowerViewer; }

    bool IsPlaybackOn() const override { return playback; }
    std::uint32_t GetFrameCounter() const override { return frameCounter; }
    std::uint32_t GetFFTSize() const override { return fftSize; }
    bool HasInputPort() const override { return inputPort; }
    std::optional<std::uint32_t> GetInputSamplesAvailable() const override
    {
        if (!inputPort)
            return std::nullopt;
        return samplesAvailable;
    }
    bool CheckInputFormat(std::uint32_t rate, std::uint16_t bytes, std::uint16_t channels) const override
    {
        return inputPort && accepts(rate, bytes, channels);
    }
    std::optional<std::int32_t> GetPeakValue(int channel) const override { return peaks[channel]; }
    void IncrementOverloadCount(int channel) override { ++overloads[channel]; }
    TWaveFormat GetAnalysisFormat() const override { return format; }
    void SetAnalysisFormat(const TWaveFormat& value) override
    {
        format = value;
        events.push_back("format");
    }
    void SetChannelMode(int mode) override
    {
        channelMode = mode;
        events.push_back("channel mode " + std::to_string(mode));
    }
};
