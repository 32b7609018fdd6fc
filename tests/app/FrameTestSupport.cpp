#include "tests/app/FrameTestSupport.h"

#include "app/core/FrameCommandIds.h"
#include "app/core/TProcessingObjects.h"
#include "engine/SpectralData.h"
#include "engine/ScalingOpts.h"
#include "settings/CfgSettingsFile.h"
#include "utilities/CSigGen.h"
#include "platform/MessageBox.h"
#include "plot/AmplitudeMapping.h"
#include "plot/TQuarnPlot.h"

#include <algorithm>
#include <cstdlib>
#include <cmath>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>

#include <fstream>
#include <iterator>
#include <unistd.h>

namespace frame_test {

FrameSettings ToneSettings(std::uint32_t rate)
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

namespace {
int folderCount = 0;
}

QuietRoom::QuietRoom()
{
    setenv("TALVENOR_DAQSIM_AMBIENT", "0", 1);
}

QuietRoom::~QuietRoom()
{
    unsetenv("TALVENOR_DAQSIM_AMBIENT");
}

::testing::AssertionResult TraceShowsTone(const TQuarnPlot& plot, int pane, std::uint16_t ampScale, float plotTop,
                                          float plotRange, float frequency, float level)
{
    const std::vector<PlotPoint>& points = plot.LivePoints(pane);
    if (points.empty())
        return ::testing::AssertionFailure() << "no live trace";
    const PlotRect rect = plot.PaneRect(pane);
    const PlotPoint top = *std::min_element(points.begin(), points.end(),
                                            [](const PlotPoint& a, const PlotPoint& b) { return a.y < b.y; });
    const int column = rect.left + plot.FrequencyToColumn(frequency);
    const AmplitudeMapping mapping(ampScale, plotTop, plotRange, false);
    const float shown = mapping.ValueAt(rect.bottom - top.y, rect.Height());
    const auto dB = [ampScale](double v) { return ampScale == 1 ? v : 20.0 * std::log10(std::max(v, 1e-30)); };
    if (std::abs(top.x - column) > 1)
        return ::testing::AssertionFailure() << "peak at x " << top.x << ", the tone's column is " << column;
    if (std::abs(dB(shown) - dB(level)) > 1.5)
        return ::testing::AssertionFailure() << "peak reads " << shown << ", the tone " << level;
    return ::testing::AssertionSuccess() << "peak at x " << top.x << " reads " << shown;
}

bool WaitFor(const std::function<bool()>& done, int limitMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > limitMs)
            return false;
        QTest::qWait(10);
    }
    return true;
}

DataFolder::DataFolder()
{
    root_ = std::filesystem::temp_directory_path() /
            ("talvenor_frame_" + std::to_string(::getpid()) + "_" + std::to_string(++folderCount));
    std::filesystem::remove_all(root_);
    std::filesystem::create_directories(root_ / "bin");
    std::filesystem::create_directories(root_ / "docs");
}

DataFolder::~DataFolder()
{
    std::error_code error;
    std::filesystem::remove_all(root_, error);
}

std::string DataFolder::ReadFile(const std::string& path) const
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void DataFolder::WriteFile(const std::string& path, const std::string& bytes) const
{
    std::ofstream(path, std::ios::binary) << bytes;
}

MessageLog::MessageLog()
{
    platform::SetMessageBoxHook([this](const platform::MessageBoxRequest& request) {
        texts.push_back(request.text);
        return request.buttons == platform::MessageButtons::YesNo ||
                       request.buttons == platform::MessageButtons::YesNoCancel
                   ? platform::MessageResult::Yes
                   : platform::MessageResult::Ok;
    });
}

MessageLog::~MessageLog()
{
    platform::SetMessageBoxHook({});
}

Peak DisplayPeak(CMainFrame& frame, int channel, float from, float to)
{
    const SpectralData& shown = *frame.Processing().GetDisplayData(channel);
    Peak peak;
    shown.FindPeak(shown.GetBinIndex(from), shown.GetBinIndex(to), &peak.frequency, &peak.level);
    return peak;
}

bool OpenGenerator(CMainFrame& frame)
{
    frame.OnCommand(frame_command::kSignalGenerator);
    return WaitFor([&] {
        CSigGen* window = frame.SignalGenerator();
        return window != nullptr && !window->IsBuilding() && window->GetWaveData() != nullptr;
    });
}

FrameHarness::FrameHarness(bool create)
{
    if (create)
        Start();
}

FrameHarness::FrameHarness(const FrameSettings& cfg)
{
    EXPECT_TRUE(SaveCfgSettings(folder.CfgPath(), cfg));
    Start();
}

FrameHarness::~FrameHarness()
{
    Finish();
}

CMainFrame::Options FrameHarness::Options()
{
    CMainFrame::Options options;
    options.programPath = folder.ProgramPath();
    options.documentsFolder = folder.Root() + "docs";
    options.showSplash = false;
    options.watchDevices = false;
    options.openExternal = [this](const QUrl& url) { opened.push_back(url); };
    return options;
}

void FrameHarness::Start()
{
    frame = std::make_unique<CMainFrame>(Options());
    frame->Create();
    frame->resize(1000, 700);
    frame->show();
    QCoreApplication::processEvents();
}

void FrameHarness::Finish()
{
    if (!frame)
        return;
    frame->close();
    frame.reset();
}

} // namespace frame_test
