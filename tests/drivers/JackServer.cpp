#include "tests/drivers/JackServer.h"

#include "audio/AsioDrivers.h"
#include "audio/AsioHost.h"
#include "audio/ShippedDriverIds.h"
#include "platform/Clock.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

JackServer::JackServer()
{
    static std::atomic<int> counter{0};
    ServerName = "talvenor-test-" + std::to_string(getpid()) + "-" + std::to_string(counter++);
    setenv("JACK_DEFAULT_SERVER", ServerName.c_str(), 1);
    // Clients of the same name on different servers would share a socket,
    // and so would a client named like its server.
    setenv("TALVENOR_JACK_CLIENT_NAME", ("client-" + ServerName).c_str(), 1);
    setenv("JACK_NO_AUDIO_RESERVATION", "1", 1);
    LogPath = (std::filesystem::temp_directory_path() / (ServerName + ".log")).string();
    // Blocks until no other test on this machine holds a server.
    LockFd = open("/tmp/talvenor-test-jackd.lock", O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (LockFd >= 0)
        flock(LockFd, LOCK_EX);
}

JackServer::~JackServer()
{
    Stop(SIGTERM);
    std::error_code error;
    std::filesystem::remove(LogPath, error);
    if (LockFd >= 0)
        close(LockFd);  // releases the lock
}

std::string JackServer::Log() const
{
    std::ostringstream text;
    text << "jackd " << ServerName << " printed:\n" << std::ifstream(LogPath).rdbuf();
    return text.str();
}

bool JackServer::Available()
{
    return std::system("command -v jackd > /dev/null 2>&1") == 0;
}

bool JackServer::Start(int rate, int period)
{
    if (Pid > 0)
        return false;
    Rate = rate;
    Period = period;
    const std::string rateText = std::to_string(rate);
    const std::string periodText = std::to_string(period);
    const char* args[] = {"jackd", "--no-realtime", "-n", ServerName.c_str(), "-d", "dummy",
                          "-r", rateText.c_str(), "-p", periodText.c_str(), nullptr};
    const pid_t parent = getpid();
    // Opened before fork: only async-signal-safe calls are allowed after it.
    const int log = open(LogPath.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    Pid = fork();
    if (Pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent)
            _exit(127);
        dup2(log, STDOUT_FILENO);  // dup2 clears close-on-exec on the copies
        dup2(log, STDERR_FILENO);
        execvp(args[0], const_cast<char* const*>(args));
        _exit(127);
    }
    close(log);
    return Pid > 0;
}

void JackServer::Signal(int signal)
{
    if (Pid > 0)
        kill(Pid, signal);
}

void JackServer::Stop(int signal)
{
    if (Pid <= 0)
        return;
    kill(Pid, signal);
    // A server held up acts on anything but a kill only once it goes on.
    if (signal != SIGKILL)
        kill(Pid, SIGCONT);
    const double end = platform::SteadySeconds() + 10.0;
    int status = 0;
    while (waitpid(Pid, &status, WNOHANG) == 0) {
        if (platform::SteadySeconds() > end) {
            kill(Pid, SIGKILL);
            waitpid(Pid, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    Pid = -1;
}

bool JackServer::WaitUntilDriverServes(double timeoutSeconds)
{
    const double end = platform::SteadySeconds() + timeoutSeconds;
    for (;;) {
        ASIODriverInfo info{};
        info.asioVersion = 2;
        const bool serves = loadAsioDriver(kJackDriverName) && ASIOInit(&info) == kAsioOk;
        ASIOExit();
        DeleteAsioDrivers();
        if (serves || platform::SteadySeconds() > end)
            return serves;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

namespace {
constexpr const char* kShmFolder = "/dev/shm";
} // namespace

void JackServer::RemoveLeftovers() const
{
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(kShmFolder, error)) {
        const std::string name = entry.path().filename().string();
        if (name.find("_" + ServerName + "_") != std::string::npos)
            std::filesystem::remove(entry.path(), error);
    }
}

bool JackServer::WaitForSocket(double timeoutSeconds) const
{
    const double end = platform::SteadySeconds() + timeoutSeconds;
    const std::string prefix = "jack_" + ServerName + "_";
    while (platform::SteadySeconds() < end) {
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(kShmFolder, error)) {
            if (entry.path().filename().string().starts_with(prefix))
                return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

void JackServer::CleanUpAfterKill()
{
    Stop(SIGKILL);
    RemoveLeftovers();
    if (Start(Rate, Period) && WaitForSocket(10.0)) {
        // Give the server a moment past its socket to finish registering.
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    Stop(SIGTERM);
    RemoveLeftovers();
}
