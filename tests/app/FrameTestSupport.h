#pragma once
// A main frame on a throw-away data folder, with the simulated module, no
// splash, no device watcher, message boxes and external launches recorded.
// The program "lies" in <root>/bin, so its data root is <root>/.

#include "app/CMainFrame.h"
#include "settings/FrameSettings.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace frame_test {

// A quick analysis for tests that play through the simulated module's
// loopback: 48 kHz stereo, dB amplitudes on linear lines, the generator
// playing 1 kHz at -6 dBFS on both channels.
FrameSettings ToneSettings(std::uint32_t rate = 48000);

// Polls the event loop until done or the limit passes; generous for loaded
// machines and sanitizer builds.
bool WaitFor(const std::function<bool()>& done, int limitMs = 30000);

class DataFolder {
public:
    DataFolder();
    ~DataFolder();
    DataFolder(const DataFolder&) = delete;
    DataFolder& operator=(const DataFolder&) = delete;

    std::string Root() const { return root_.string() + "/"; }
    std::string ProgramPath() const { return (root_ / "bin" / "talvenor").string(); }
    std::string IniPath() const { return Root() + "talvenor.ini"; }
    std::string CfgPath() const { return Root() + "talvenor.cfg"; }
    std::string ReadFile(const std::string& path) const;
    void WriteFile(const std::string& path, const std::string& bytes) const;

private:
    std::filesystem::path root_;
};

// Records message boxes (answering the first button) for its lifetime.
class MessageLog {
public:
    MessageLog();
    ~MessageLog();
    std::vector<std::string> texts;
};

// The highest point of a pane's live trace stands on the column of
// `frequency` (within a column) at `level` in display units (within 1.5 dB),
// read back through the pane's own amplitude axis.
::testing::AssertionResult TraceShowsTone(const TQuarnPlot& plot, int pane, std::uint16_t ampScale, float plotTop,
                                          float plotRange, float frequency, float level);

// While it lives, the simulated module hears no room: for checks finer than
// its floor allows (a level to a few hundredths of a dB).
struct QuietRoom {
    QuietRoom();
    ~QuietRoom();
    QuietRoom(const QuietRoom&) = delete;
    QuietRoom& operator=(const QuietRoom&) = delete;
};

// Runs `act` on the next modal window of that type once it is up (from
// inside its exec); rejects it afterwards if `act` left it open, so that a
// failing check never hangs the test.
template <typename Window>
void OnModal(std::function<void(Window&)> act)
{
    auto* timer = new QTimer;
    timer->setInterval(20);
    // One that never sees its window must not take the next test's.
    QTimer::singleShot(20000, timer, [timer] { timer->deleteLater(); });
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        auto* window = qobject_cast<Window*>(QApplication::activeModalWidget());
        if (window == nullptr)
            return;
        timer->stop();
        timer->deleteLater();
        act(*window);
        if (window->isVisible())
            static_cast<QDialog*>(window)->reject();
    });
    timer->start();
}

struct Peak {
    float frequency = 0.0f;
    float level = 0.0f;
};
// The strongest line of a channel's display spectrum between two frequencies.
Peak DisplayPeak(CMainFrame& frame, int channel, float from = 500.0f, float to = 2000.0f);

// Opens the generator window and waits for its first signal.
bool OpenGenerator(CMainFrame& frame);

struct FrameHarness {
    explicit FrameHarness(bool create = true);
    // Starts on a settings file holding `cfg`.
    explicit FrameHarness(const FrameSettings& cfg);
    ~FrameHarness();

    CMainFrame::Options Options();
    // Makes, creates and shows the frame.
    void Start();
    // Closes and deletes the frame, which writes the settings files.
    void Finish();

    DataFolder folder;
    MessageLog messages;
    std::vector<QUrl> opened;
    std::unique_ptr<CMainFrame> frame;
};

} // namespace frame_test
