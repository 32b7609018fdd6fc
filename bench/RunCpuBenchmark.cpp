// What a running analyzer costs: the whole program (application object,
// main frame, plots, bars, the simulated module's driver thread) started
// off screen on a throw-away data folder, Run pressed on the side bar as
// the operator does, then left running. Measured over the run: the
// process's CPU time as a share of one core, and acquisition steps per
// second beside the driver buffers per second and the display interval's
// limit of 50 a second.
//
// Cases: one channel at 192 kHz, two channels at 192 kHz, two at 48 kHz.
// --seconds=N sets the measuring time (default 30). Under Xvfb set
// QT_QPA_PLATFORM=xcb; otherwise the program draws off screen.
//
//   build/bench/run_cpu_bench --seconds=30

#include "app/CMainFrame.h"
#include "app/CQuarnApp.h"
#include "app/CSidebar.h"
#include "app/SidebarButtons.h"
#include "widgets/CToolBtn.h"
#include "platform/MessageBox.h"
#include "settings/CfgSettingsFile.h"
#include "settings/FrameSettings.h"
#include "bench/QtBenchmarkMain.h"

#include <QApplication>
#include <QByteArray>
#include <QEventLoop>
#include <QTest>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

double g_Seconds = 30.0;

double ProcessCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

double SteadySeconds()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// Runs the event loop for a while, as the program's own loop would.
void RunEventsFor(double seconds)
{
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(seconds * 1000.0), &loop, &QEventLoop::quit);
    loop.exec();
}

// The simulated module's preferred buffer at a rate (its driver's table).
double BuffersPerSecond(std::uint32_t rate)
{
    const double frames = rate <= 48000 ? 512 : rate <= 96000 ? 1024 : 2048;
    return rate / frames;
}

// Arguments: channels, sample rate.
void BM_RunningProgram(benchmark::State& state)
{
    const auto channels = static_cast<std::uint16_t>(state.range(0));
    const auto rate = static_cast<std::uint32_t>(state.range(1));
    const auto root = std::filesystem::temp_directory_path() /
                      ("talvenor_cpu_" + std::to_string(::getpid()) + "_" + std::to_string(channels) + "_" +
                       std::to_string(rate));
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root / "bin");
    std::filesystem::create_directories(root / "docs");
    FrameSettings settings;
    settings.Processing.Format.Set(rate, channels, 3);
    if (!SaveCfgSettings((root / "talvenor.cfg").string(), settings)) {
        state.SkipWithError("cannot write the settings");
        return;
    }

    for (auto _ : state) {
        CQuarnApp application;
        // The calibration reminder must not wait for a click.
        platform::SetMessageBoxHook([](const platform::MessageBoxRequest&) { return platform::MessageResult::Ok; });
        CMainFrame::Options options;
        options.programPath = (root / "bin" / "talvenor").string();
        options.documentsFolder = (root / "docs").string();
        options.showSplash = false;
        if (!application.InitInstance(options)) {
            state.SkipWithError("the main window was not built");
            break;
        }
        CMainFrame& frame = *application.MainFrame();
        RunEventsFor(1.0);
        QTest::mouseClick(frame.Sidebar()->Button(SidebarButtons::IDC_RUN), Qt::LeftButton);
        // Past the start's own work and the first blocks.
        RunEventsFor(2.0);
        if (!frame.IsRunning()) {
            state.SkipWithError("Run did not start");
            application.ExitInstance();
            break;
        }

        const std::uint32_t steps0 = frame.GetFrameCounter();
        const double cpu0 = ProcessCpuSeconds();
        const double wall0 = SteadySeconds();
        RunEventsFor(g_Seconds);
        const double wall = SteadySeconds() - wall0;
        const double cpu = ProcessCpuSeconds() - cpu0;
        const std::uint32_t steps = frame.GetFrameCounter() - steps0;
        state.SetIterationTime(wall);

        state.counters["cpu_pct"] = 100.0 * cpu / wall;
        state.counters["steps_per_s"] = steps / wall;
        state.counters["buffers_per_s"] = BuffersPerSecond(rate);
        frame.OnStop();
        application.ExitInstance();
    }
    platform::SetMessageBoxHook({});
    std::filesystem::remove_all(root);
}

} // namespace

BENCHMARK(BM_RunningProgram)
    ->Args({1, 192000})
    ->Args({2, 192000})
    ->Args({2, 48000})
    ->ArgNames({"channels", "rate"})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

int main(int argc, char** argv)
{
    return RunQtBenchmarks(argc, argv, "--seconds=", [](const char* value) { g_Seconds = std::strtod(value, nullptr); });
}
