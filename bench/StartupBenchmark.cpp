// The program's start as a user meets it, measured on the whole process:
// from spawning the executable to its first window on the screen (the
// splash), and to its main window. The main frame's trace lines (through
// TALVENOR_TRACE) mark the moments; the program runs on a throw-away data
// folder, off screen, with the simulated module, and is ended once its main
// window is up.
//
// "ms" is the time to the first shown window; "main_ms" the time to the
// main window, which includes the splash's two seconds by design;
// "work_ms" is main_ms without the time the splash stood on its own.

#include <benchmark/benchmark.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <optional>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

struct StartTimes {
    double splashShown = -1.0;
    double splashClosed = -1.0;
    double mainShown = -1.0;
};

double MsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The program copied into <tmp>/bin, so that its data root is the
// throw-away <tmp>/ and no user's settings are read.
std::filesystem::path PrepareProgram()
{
    const auto root = std::filesystem::temp_directory_path() / ("talvenor_start_" + std::to_string(::getpid()));
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root / "bin");
    std::filesystem::copy_file(TALVENOR_PROGRAM, root / "bin" / "talvenor");
    return root;
}

std::optional<StartTimes> StartOnce(const std::filesystem::path& program)
{
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        return std::nullopt;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);

    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry = *e;
        if (entry.rfind("QT_QPA_PLATFORM=", 0) != 0 && entry.rfind("TALVENOR_TRACE=", 0) != 0)
            env.push_back(entry);
    }
    env.push_back("QT_QPA_PLATFORM=offscreen");
    env.push_back("TALVENOR_TRACE=1");
    std::vector<char*> envp;
    for (std::string& entry : env)
        envp.push_back(entry.data());
    envp.push_back(nullptr);
    std::string path = program.string();
    char* argv[] = {path.data(), nullptr};

    const Clock::time_point start = Clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    if (spawned != 0) {
        ::close(pipeFds[0]);
        return std::nullopt;
    }

    StartTimes times;
    std::string pending;
    while (times.mainShown < 0.0 && MsSince(start) < 30000.0) {
        pollfd fd{pipeFds[0], POLLIN, 0};
        if (::poll(&fd, 1, 100) <= 0)
            continue;
        char buffer[4096];
        const ssize_t n = ::read(pipeFds[0], buffer, sizeof buffer);
        if (n <= 0)
            break;
        const double now = MsSince(start);
        pending.append(buffer, static_cast<std::size_t>(n));
        std::size_t end;
        while ((end = pending.find('\n')) != std::string::npos) {
            const std::string line = pending.substr(0, end);
            pending.erase(0, end + 1);
            if (line == "Splash shown")
                times.splashShown = now;
            else if (line == "Splash closed")
                times.splashClosed = now;
            else if (line == "Main window shown")
                times.mainShown = now;
        }
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    ::close(pipeFds[0]);
    if (times.splashShown < 0.0 || times.mainShown < 0.0)
        return std::nullopt;
    return times;
}

void BM_ProgramStart(benchmark::State& state)
{
    const std::filesystem::path root = PrepareProgram();
    double mainMs = 0.0;
    double workMs = 0.0;
    for (auto _ : state) {
        const std::optional<StartTimes> times = StartOnce(root / "bin" / "talvenor");
        if (!times) {
            state.SkipWithError("the program did not show its windows");
            break;
        }
        state.SetIterationTime(times->splashShown / 1000.0);
        mainMs += times->mainShown;
        workMs += times->mainShown - (times->splashClosed - times->splashShown);
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["main_ms"] = runs > 0 ? mainMs / runs : 0.0;
    state.counters["work_ms"] = runs > 0 ? workMs / runs : 0.0;
    std::filesystem::remove_all(root);
}

} // namespace

BENCHMARK(BM_ProgramStart)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
