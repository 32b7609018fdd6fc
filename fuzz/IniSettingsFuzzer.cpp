// libFuzzer target: any bytes, read as the .ini settings file.
//
// The settings it gives, saved over a copy of the same file and read again,
// are the same; and every key the program does not write reads the same
// from the saved file as from the original, so nothing a user added is lost.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "platform/AsciiCase.h"
#include "platform/ProfileFile.h"
#include "settings/IniSettingsFile.h"

namespace {

using fuzz::Check;

struct Key {
    std::string section;
    std::string key;
};

// Keys the writer sets, as section and key.
const std::vector<Key>& WrittenKeys()
{
    static const std::vector<Key> keys = {
        {"Install", "Default"},
        {"Paths", "ovl"},
        {"Paths", "log"},
        {"FileIO", "WaveFileMode"},
        {"FileIO", "MaxRamRecordingTimeSecs"},
        {"FileIO", "MakeBackup"},
        {"FileIO", "IncludeCalibrationData"},
        {"FileIO", "RecordIOBufferSizeSecs"},
        {"FileIO", "RealTimeIOBufferSizeSecs"},
        {"FileIO", "RealTimeWaveBufferEnableFlag"},
        {"FileIO", "RealTimeWaveBufferLengthSecs"},
        {"FileIO", "MaxDiskRecordingSizeBytes"},
        {"FileIO", "AutoReopenOnLaunch"},
    };
    return keys;
}

bool Written(std::string_view section, std::string_view key)
{
    for (const Key& k : WrittenKeys())
        if (platform::EqualNoCase(k.section, section) && platform::EqualNoCase(k.key, key))
            return true;
    return false;
}

std::string_view Trimmed(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

// Section and key names as a reader of the file would see them; a rough
// reading is enough, since both files are asked the same questions.
std::vector<Key> KeysOf(std::string_view bytes)
{
    std::vector<Key> keys;
    std::string section;
    while (!bytes.empty() && keys.size() < 64) {
        const std::size_t end = bytes.find('\n');
        const std::string_view line = Trimmed(bytes.substr(0, end));
        bytes = end == std::string_view::npos ? std::string_view() : bytes.substr(end + 1);
        if (!line.empty() && line.front() == '[') {
            section = std::string(Trimmed(line.substr(1, line.find(']') - 1)));
        } else if (const std::size_t equals = line.find('='); equals != std::string_view::npos) {
            keys.push_back({section, std::string(Trimmed(line.substr(0, equals)))});
        }
    }
    return keys;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::SilenceMessages();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string input = fuzz::ScratchFile("input.ini");
    const std::string output = fuzz::ScratchFile("saved.ini");
    fuzz::WriteBytes(input, bytes);
    fuzz::WriteBytes(output, bytes);
    const IniLocation location{fuzz::ScratchFolder() + "/", false};

    FrameSettings first;
    FrameSettings second;
    {
        const fuzz::QuietStderr quiet;
        LoadIniSettings(input, location, first);
        Check(SaveIniSettings(output, first));
        LoadIniSettings(output, location, second);
    }
    Check(second.FileIO == first.FileIO);
    Check(second.m_DataPaths == first.m_DataPaths);
    Check(second.m_DataPathsInUse == first.m_DataPathsInUse);

    const platform::ProfileFile before(input);
    const platform::ProfileFile after(output);
    for (const Key& k : KeysOf(bytes)) {
        if (Written(k.section, k.key))
            continue;
        Check(before.GetString(k.section, k.key, "\x01missing", 1024) ==
              after.GetString(k.section, k.key, "\x01missing", 1024));
    }
    return 0;
}
