#pragma once
// A main frame for the generator window without the program around it: its
// settings records, a run flag the test sets, output ports that record what
// they are asked, the status bar's progress and the help requests; and a
// recorder of message boxes.

#include "tests/support/ModalDialogs.h"

#include <QApplication>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "widgets/ProgressSignals.h"
#include "platform/MessageBox.h"
#include "settings/FrameSettings.h"
#include "utilities/CSigGen.h"
#include "utilities/SigGenFrame.h"

namespace siggen_window_test {

// What the ports of one frame were asked, in order ("open 48000/2/2",
// "prepare loop", "start", "stop", "deleted").
struct PortLog {
    std::vector<std::string> calls;
    bool openOk = true;
    bool isDaq = false;
    bool lastLoop = false;
};

class FakeOutputPort final : public SoundOutputPort {
public:
    explicit FakeOutputPort(PortLog& log) : log(log) {}
    ~FakeOutputPort() override { log.calls.push_back("deleted"); }
    bool Open(const TWaveFormat& f) override
    {
        log.calls.push_back("open " + std::to_string(f.GetSampleRate()) + "/" + std::to_string(f.GetChannels()) + "/"
                            + std::to_string(f.GetBytesPerSample()));
        return log.openOk;
    }
    void Close() override { log.calls.push_back("close"); }
    bool SetFormat(const TWaveFormat&) override { return true; }
    bool IsSampleRateSupported(const TWaveFormat&) override { return true; }
    bool IsQuarnDAQ() const override { return log.isDaq; }
    void Stop() override { log.calls.push_back("stop"); }
    bool PreparePlayback(TWaveData*, bool loop, std::int64_t first, std::int64_t end) override
    {
        log.lastLoop = loop;
        log.calls.push_back(std::string(loop ? "prepare loop " : "prepare once ") + std::to_string(first) + " "
                            + std::to_string(end));
        return true;
    }
    bool Start() override
    {
        log.calls.push_back("start");
        return true;
    }

    PortLog& log;
};

class FakeSigGenFrame final : public SigGenFrame {
public:
    // A stereo 16-bit analyzer at 48000 Hz under ASIO.
    FakeSigGenFrame()
    {
        settings.Processing.Format = TWaveFormat(48000, 2, 2);
        settings.SoundCardDriverMode = 1;
        settings.m_OutputDevice = 3;
    }

    FrameSettings& GetSettings() override { return settings; }
    bool IsAnalyzerRunning() const override { return running; }
    // As the frame's common stop: the analysis, then the generator's output.
    void StopAnalyzer() override
    {
        ++analyzerStops;
        running = false;
        if (window != nullptr)
            window->StopOutput();
    }
    std::unique_ptr<SoundOutputPort> CreateOutputPort(int device, int driverMode) override
    {
        ports.calls.push_back("create " + std::to_string(device) + "/" + std::to_string(driverMode));
        return std::make_unique<FakeOutputPort>(ports);
    }
    ProgressSignals* GetProgressSignals() override { return &progress; }
    void ShowHelp(int contextId) override { help.push_back(contextId); }

    FrameSettings settings;
    bool running = false;
    int analyzerStops = 0;
    CSigGen* window = nullptr;
    PortLog ports;
    ProgressSignals progress;
    std::vector<int> help;
};

// Records the text of every message box while it lives; answers OK.
class MessageCapture {
public:
    MessageCapture()
    {
        platform::SetMessageBoxHook([this](const platform::MessageBoxRequest& request) {
            messages.push_back(request.text);
            return platform::MessageResult::Ok;
        });
    }
    ~MessageCapture() { platform::SetMessageBoxHook({}); }

    std::vector<std::string> messages;
};

// Processes events until the window's latest build has reported its end,
// or a generous minute has gone; false then.
inline bool WaitForBuildShown(CSigGen& window)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (window.IsBuilding() || window.windowTitle() == CSigGen::kBuildingCaption) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

} // namespace siggen_window_test
