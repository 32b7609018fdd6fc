#include "utilities/siggen/TPinkWave.h"

#include <algorithm>
#include <filesystem>
#include <string_view>

#include "platform/RegularFile.h"

namespace {

namespace fs = std::filesystem;

constexpr std::uint64_t kHeaderBytes = 44;
// The shipped recording takes some 5 MB.
constexpr std::size_t kMaxFileBytes = std::size_t{64} << 20;

std::uint32_t ByteAt(std::string_view b, std::size_t at)
{
    return static_cast<std::uint8_t>(b[at]);
}

std::uint32_t U32At(std::string_view b, std::size_t at)
{
    return ByteAt(b, at) | ByteAt(b, at + 1) << 8 | ByteAt(b, at + 2) << 16 | ByteAt(b, at + 3) << 24;
}

std::uint16_t U16At(std::string_view b, std::size_t at)
{
    return static_cast<std::uint16_t>(ByteAt(b, at) | ByteAt(b, at + 1) << 8);
}

bool TagAt(std::string_view b, std::size_t at, const char* tag)
{
    return b.substr(at, 4) == std::string_view(tag, 4);
}

// The canonical header: "RIFF", "WAVE", a 16-byte "fmt " chunk of PCM mono
// 16-bit, then "data" at byte 36.
bool CanonicalHeader(std::string_view b)
{
    return b.size() >= kHeaderBytes && TagAt(b, 0, "RIFF") && TagAt(b, 8, "WAVE") && TagAt(b, 12, "fmt ")
        && U32At(b, 16) == 16 && U16At(b, 20) == 1 && U16At(b, 22) == 1 && U16At(b, 34) == 16
        && TagAt(b, 36, "data");
}

} // namespace

bool TPinkWave::Load(const std::string& path)
{
    Words.Free();
    std::string bytes;
    std::string reason;
    if (!platform::ReadWholeRegularFile(path, kMaxFileBytes, bytes, reason))
        return false;
    const std::string_view image(bytes);
    if (!CanonicalHeader(image))
        return false;

    const std::uint64_t dataEnd = std::min<std::uint64_t>(kHeaderBytes + U32At(image, 40), image.size());
    if (dataEnd <= kLoopOffset)
        return false;
    // Even, so that a buffer of exactly one loop needs no extra frame.
    const std::uint64_t words = ((dataEnd - kLoopOffset) / 2) & ~std::uint64_t{1};
    if (words == 0 || !Words.Allocate(words))
        return false;
    for (std::uint64_t j = 0; j < words; ++j) {
        const std::size_t at = kLoopOffset + 2 * j;
        Words[j] = static_cast<std::int16_t>(U16At(image, at));
    }
    return true;
}

std::vector<std::string> TPinkWave::DefaultLocations()
{
    std::vector<std::string> places;
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    if (!error) {
        places.push_back((program.parent_path() / kFileName).string());
        places.push_back((program.parent_path().parent_path() / "share" / "talvenor" / kFileName).string());
    }
    places.push_back((fs::path(TALVENOR_SOURCE_RESOURCES_DIR) / kFileName).string());
    return places;
}

bool TPinkWave::LoadDefault()
{
    for (const std::string& place : DefaultLocations()) {
        std::error_code error;
        if (fs::is_regular_file(place, error) && Load(place))
            return true;
    }
    return false;
}
