#pragma once
// A main frame on a throw-away data folder, with the simulated module, no
// splash, no device watcher, message boxes and external launches recorded.
// The program "lies" in <root>/bin, so its data root is <root>/.

#include "app/CMainFrame.h"
#include "app/CSidebar.h"
#include "app/CStatusbar.h"
#include "app/CToolbar2.h"
#include "app/SidebarButtons.h"
#include "app/ToolbarButtons.h"
#include "app/core/FrameCommandIds.h"
#include "app/core/TProcessingObjects.h"
#include "audio/TASIOSoundPort.h"
#include "engine/SpectralData.h"
#include "plot/TQuarnPlot.h"
#include "settings/CfgSettingsFile.h"
#include "settings/FrameSettings.h"
#include "tests/support/ModalDialogs.h"
#include "tests/support/PlatformTestSupport.h"
#include "tests/support/Screenshot.h"
#include "utilities/CSigGen.h"
#include "widgets/CToolBtn.h"

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

using namespace frame_command;

namespace frame_test {

// A quick analysis for tests that play through the simulated module's
// loopback: 48 kHz stereo, dB amplitudes on linear lines, the generator
// playing 1 kHz at -6 dBFS on both channels.
inline FrameSettings ToneSettings(std::uint32_t rate = 48000)
{
    FrameSettings s;
    s.Processing.Format.Set(rate, 2, 3);
    for (int c = 0; c < 2; ++c) {
        s.Scaling[c].AmpScaleType = ScalingOpts::kLogarithmic;
        s.Scaling[c].FreqScaleType = ScalingOpts::kFftLinear;
        s.SigGenChannel[c].SigType = kSigTone1kHz;
    }
    s.SigGenOutput.OutputLevel = -6.0f;
    s.SigGenOutput.OutputLevelR = -6.0f;
    return s;
}

// Polls the event loop until done or the limit passes; generous for loaded
// machines and sanitizer builds.
inline bool WaitFor(const std::function<bool()>& done, int limitMs = 30000)
{
    return QTest::qWaitFor(done, limitMs);
}

// A temporary folder with the program's bin/ and the documents' docs/.
struct DataFolder : TempFolder {
    DataFolder()
    {
        std::filesystem::create_directories(folder / "bin");
        std::filesystem::create_directories(folder / "docs");
    }
    std::string Root() const { return folder.string() + "/"; }
    std::string IniPath() const { return Root() + "talvenor.ini"; }
    std::string CfgPath() const { return Root() + "talvenor.cfg"; }
};

// Records message boxes while it lives; questions get `answer`, notes OK;
// `whileShown` runs as each box is up.
struct MessageLog {
    MessageLog()
    {
        platform::SetMessageBoxHook([this](const platform::MessageBoxRequest& request) {
            requests.push_back(request);
            texts.push_back(request.text);
            if (whileShown)
                whileShown();
            return request.buttons == platform::MessageButtons::Ok ? platform::MessageResult::Ok : answer;
        });
    }
    ~MessageLog() { platform::SetMessageBoxHook({}); }
    std::vector<std::string> texts;
    // Caption, icon and buttons as well.
    std::vector<platform::MessageBoxRequest> requests;
    platform::MessageResult answer = platform::MessageResult::Yes;
    std::function<void()> whileShown;
};

struct Peak {
    float frequency = 0.0f;
    float level = 0.0f;
};

// The strongest line of a channel's display spectrum between two frequencies.
inline Peak DisplayPeak(CMainFrame& frame, int channel, float from = 500.0f, float to = 2000.0f)
{
    const SpectralData& shown = *frame.Processing().GetDisplayData(channel);
    Peak peak;
    shown.FindPeak(shown.GetBinIndex(from), shown.GetBinIndex(to), &peak.frequency, &peak.level);
    return peak;
}

// The highest point (smallest y) of a drawn trace that has points.
inline PlotPoint TopPoint(const std::vector<PlotPoint>& points)
{
    return *std::min_element(points.begin(), points.end(), [](auto& a, auto& b) { return a.y < b.y; });
}

// The generator window is open and its build has ended with a signal.
inline bool GeneratorBuilt(const CMainFrame& frame)
{
    CSigGen* window = frame.SignalGenerator();
    return window != nullptr && !window->IsBuilding() && window->GetWaveData() != nullptr;
}

// Opens the generator window and waits for its first signal.
inline bool OpenGenerator(CMainFrame& frame)
{
    frame.OnCommand(kSignalGenerator);
    return WaitFor([&] { return GeneratorBuilt(frame); });
}

struct FrameHarness {
    explicit FrameHarness(bool create = true)
    {
        if (create)
            Start();
    }
    // Starts on a settings file holding `cfg`.
    explicit FrameHarness(const FrameSettings& cfg)
    {
        EXPECT_TRUE(SaveCfgSettings(folder.CfgPath(), cfg));
        Start();
    }
    ~FrameHarness() { Finish(); }

    // Makes, creates and shows the frame.
    void Start()
    {
        CMainFrame::Options options;
        options.programPath = folder.Root() + "bin/talvenor";
        options.documentsFolder = folder.Root() + "docs";
        options.showSplash = false;
        options.watchDevices = false;
        if (hookExternal)
            options.openExternal = [this](const QUrl& url) {
                opened.push_back(url);
                return externalOpens;
            };
        frame = std::make_unique<CMainFrame>(options);
        frame->Create();
        frame->resize(1000, 700);
        frame->show();
        QCoreApplication::processEvents();
    }
    // Closes and deletes the frame, which writes the settings files.
    void Finish()
    {
        if (frame)
            frame->close();
        frame.reset();
    }

    DataFolder folder;
    MessageLog messages;
    std::vector<QUrl> opened;
    // Set before Start: false leaves documents to the desktop's opener.
    bool hookExternal = true;
    // What the recorded opener answers: false, no handler.
    bool externalOpens = true;
    std::unique_ptr<CMainFrame> frame;
};

} // namespace frame_test

using frame_test::FrameHarness;
using frame_test::WaitFor;
