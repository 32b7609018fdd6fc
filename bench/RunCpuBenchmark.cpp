// What a running analyzer costs: the whole program (application object,
// main frame, both spectrum plots, bars, the three analysis viewers, the
// simulated module's driver thread) started on an X display on a throw-away
// data folder, Run pressed on the side bar as the operator does, then left
// running. Measured over the run: the process's CPU time as a share of one
// core, acquisition steps per second beside the driver buffers per second,
// and trace frames per second of each plot (at most 50 at the default
// display interval). When the benchmark started its own X server, that
// server's CPU share is given too (what drawing costs on the display side).
//
// The display: the one in DISPLAY; without one, a private Xvfb started for
// the run (scripts/install-deps.sh installs it). QT_QPA_PLATFORM=offscreen
// in the environment measures without any display instead.
//
// Cases: one channel at 192 kHz, two channels at 192 kHz, two at 48 kHz.
// --seconds=N sets the measuring time (default 30).
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
#include "settings/WindowSlots.h"
#include "plot/TQuarnPlot.h"
#include "bench/QtBenchmarkMain.h"

#include <QApplication>
#include <QByteArray>
#include <QEventLoop>
#include <QTest>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

double g_Seconds = 30.0;
pid_t g_XServer = 0;

// A private Xvfb on the first free display number, which the server
// itself picks and writes to the pipe (-displayfd). 0 when none started.
pid_t StartXvfb()
{
    int fds[2];
    if (::pipe(fds) != 0)
        return 0;
    const pid_t pid = ::fork();
    if (pid < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        return 0;
    }
    if (pid == 0) {
        ::close(fds[0]);
        const std::string fd = std::to_string(fds[1]);
        ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1920x1200x24", "-nolisten", "tcp",
                 static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(fds[1]);
    std::string number;
    char c = 0;
    while (::read(fds[0], &c, 1) == 1 && c != '\n')
        number += c;
    ::close(fds[0]);
    if (number.empty()) {
        ::kill(pid, SIGTERM);
        ::waitpid(pid, nullptr, 0);
        return 0;
    }
    ::setenv("DISPLAY", (":" + number).c_str(), 1);
    return pid;
}

void StopXvfb()
{
    if (g_XServer == 0)
        return;
    ::kill(g_XServer, SIGTERM);
    ::waitpid(g_XServer, nullptr, 0);
    g_XServer = 0;
}

// CPU seconds (user + system) of another process of ours; 0 when unknown.
double ChildCpuSeconds(pid_t pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const auto close = text.rfind(')');
    if (close == std::string::npos)
        return 0.0;
    std::istringstream fields(text.substr(close + 2));
    std::string field;
    double utime = 0.0, stime = 0.0;
    // After the name: state is field 3; utime and stime are fields 14 and 15.
    for (int index = 3; fields >> field && index <= 15; ++index) {
        if (index == 14)
            utime = std::strtod(field.c_str(), nullptr);
        if (index == 15)
            stime = std::strtod(field.c_str(), nullptr);
    }
    return (utime + stime) / double(::sysconf(_SC_CLK_TCK));
}

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
        // A desktop-sized window, as an operator keeps it.
        frame.setGeometry(0, 0, 1600, 1000);
        // What an operator watches: the viewers beside the plots.
        for (int kind : {kSlotPeakFrequency, kSlotPeakAmplitude, kSlotTotalPower})
            frame.OnUtilityViewer(kind);
        RunEventsFor(1.0);
        QTest::mouseClick(frame.Sidebar()->Button(SidebarButtons::IDC_RUN), Qt::LeftButton);
        // Past the start's own work and the first blocks.
        RunEventsFor(2.0);
        if (!frame.IsRunning()) {
            state.SkipWithError("Run did not start");
            application.ExitInstance();
            break;
        }

        auto plotFrames = [&frame](int channel) -> std::uint64_t {
            const TQuarnPlot* plot = frame.Plot(channel);
            return plot != nullptr ? plot->GetTraceFrameCount() : 0;
        };
        const std::uint32_t steps0 = frame.GetFrameCounter();
        const std::uint64_t frames0[2] = {plotFrames(0), plotFrames(1)};
        const double server0 = g_XServer != 0 ? ChildCpuSeconds(g_XServer) : 0.0;
        const double cpu0 = ProcessCpuSeconds();
        const double wall0 = SteadySeconds();
        RunEventsFor(g_Seconds);
        const double wall = SteadySeconds() - wall0;
        const double cpu = ProcessCpuSeconds() - cpu0;
        const double server = g_XServer != 0 ? ChildCpuSeconds(g_XServer) - server0 : 0.0;
        const std::uint32_t steps = frame.GetFrameCounter() - steps0;
        state.SetIterationTime(wall);

        state.counters["cpu_pct"] = 100.0 * cpu / wall;
        state.counters["steps_per_s"] = steps / wall;
        state.counters["buffers_per_s"] = BuffersPerSecond(rate);
        state.counters["plot1_fps"] = double(plotFrames(0) - frames0[0]) / wall;
        state.counters["plot2_fps"] = frame.Plot(1) != nullptr ? double(plotFrames(1) - frames0[1]) / wall : 0.0;
        if (g_XServer != 0)
            state.counters["xserver_cpu_pct"] = 100.0 * server / wall;
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
    // The program as a user runs it draws on a display: xcb, on a private
    // Xvfb when there is no display to draw on.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        if (qEnvironmentVariableIsEmpty("DISPLAY")) {
            g_XServer = StartXvfb();
            if (g_XServer == 0) {
                std::fprintf(stderr, "run_cpu_bench: no X display and Xvfb could not be started "
                                     "(scripts/install-deps.sh installs it)\n");
                return 1;
            }
        }
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("xcb"));
    }
    const int result =
        RunQtBenchmarks(argc, argv, "--seconds=", [](const char* value) { g_Seconds = std::strtod(value, nullptr); });
    StopXvfb();
    return result;
}
