#pragma once
// What the file-reader fuzz targets share: a scratch folder for the readers
// that go through real files, a check that stops the run, and a quiet
// message-box hook (a refused file must not wait for a click).

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

#include <sanitizer/common_interface_defs.h>

#include "platform/MessageBox.h"

namespace fuzz {

// run-fuzzer.sh names the folder (in memory where the system has one).
inline const std::string& ScratchFolder()
{
    static const std::string folder = [] {
        const char* named = std::getenv("TALVENOR_FUZZ_SCRATCH");
        std::string f = named != nullptr ? named : "/tmp/talvenor-fuzz-" + std::to_string(::getpid());
        if (::mkdir(f.c_str(), 0700) != 0 && errno != EEXIST)
            std::abort();
        return f;
    }();
    return folder;
}

inline std::string ScratchFile(const char* name)
{
    return ScratchFolder() + "/" + name;
}

// A failed check is a crash libFuzzer keeps as an artifact.
inline void Check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

inline void WriteBytes(const std::string& path, std::string_view bytes)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    Check(f != nullptr);
    Check(std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size());
    Check(std::fclose(f) == 0);
}

// Keeps notes a reader writes to stderr for each bad field out of the
// fuzzer's log, while sanitizer reports still reach the log.
class QuietStderr {
public:
    QuietStderr() : m_Saved(::dup(2))
    {
        const int null = ::open("/dev/null", O_WRONLY);
        if (null >= 0) {
            ::dup2(null, 2);
            ::close(null);
        }
    }
    ~QuietStderr()
    {
        if (m_Saved >= 0) {
            ::dup2(m_Saved, 2);
            ::close(m_Saved);
        }
    }
    QuietStderr(const QuietStderr&) = delete;
    QuietStderr& operator=(const QuietStderr&) = delete;

private:
    int m_Saved;
};

inline void SilenceMessages()
{
    // Sanitizer reports go to a copy of stderr that QuietStderr leaves open.
    static const int report = ::dup(2);
    __sanitizer_set_report_fd(reinterpret_cast<void*>(static_cast<std::intptr_t>(report)));
    platform::SetMessageBoxHook([](const platform::MessageBoxRequest&) { return platform::MessageResult::Ok; });
}

// Two readings of one number written with six decimals: apart by at most
// half the last decimal plus the rounding of each reading.
inline bool SameAtSixDecimals(float a, float b)
{
    const double slack = 0.5e-6 + 4.0 * std::ldexp(1.0, -24) * std::fmax(std::fabs(a), std::fabs(b));
    return std::fabs(static_cast<double>(a) - static_cast<double>(b)) <= slack;
}

} // namespace fuzz
