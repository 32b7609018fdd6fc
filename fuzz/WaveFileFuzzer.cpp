// libFuzzer target: any bytes, opened as a wave file in both modes.
//
// Beyond not crashing, every file that opens must survive a round trip:
// saved under a new name and read again, it gives the same samples and the
// same calibration block.

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "audio/TWaveFile.h"
#include "platform/MessageBox.h"

namespace {

// The reader goes through real files; run-fuzzer.sh names a scratch folder
// (in memory where the system has one).
std::string ScratchFolder()
{
    const char* folder = std::getenv("TALVENOR_FUZZ_SCRATCH");
    return folder != nullptr ? folder : "/tmp/talvenor-fuzz-" + std::to_string(::getpid());
}

void Check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

void Exercise(TWaveFile& file)
{
    const std::uint64_t frames = file.GetNumFrames();
    std::vector<std::uint8_t> block(file.FramesToBytes(64) + 16);
    const std::uint64_t count = frames < 64 ? frames : 64;
    const std::uint64_t first = frames - count;
    for (int channel : {0, 1, TWaveData::kAllChannels})
        file.ReadSamples(block.data(), first, count, channel);
    file.SetPosition(first);
    file.ReadData(block.data(), block.size());
    for (std::uint64_t f : {std::uint64_t{0}, frames / 2, frames - 1, frames})
        for (int channel : {0, 1, 2})
            file.GetSample(f, channel, (f & 1) != 0);
    TChannelCalibration record;
    file.GetCalibration(record, 0);
    file.GetCalibration(record, 1);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    platform::SetMessageBoxHook([](const platform::MessageBoxRequest&) { return platform::MessageResult::Ok; });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string folder = ScratchFolder();
    static const bool made = ::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
    if (!made)
        return 0;
    const std::string input = folder + "/input.wav";
    const std::string output = folder + "/output.wav";
    if (std::FILE* f = std::fopen(input.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }

    {
        TWaveFile streamed(input, TWaveFile::kStreamMode, false, folder);
        if (!streamed.Failed)
            Exercise(streamed);
    }

    TWaveFile memory(input, TWaveFile::kMemoryMode, false, folder);
    if (memory.Failed)
        return 0;
    Exercise(memory);

    memory.SetFileName(output);
    Check(memory.Save());
    TWaveFile again(output, TWaveFile::kMemoryMode, false, folder);
    Check(!again.Failed);
    Check(again.GetFormat() == memory.GetFormat());
    Check(again.GetNumFrames() == memory.GetNumFrames());
    Check(std::memcmp(again.GetBuffer(), memory.GetBuffer(), memory.GetSizeBytes()) == 0);
    Check(again.HasCalibration == memory.HasCalibration);
    TWaveCalibration before;
    TWaveCalibration after;
    memory.GetCalibrationBlock(before);
    again.GetCalibrationBlock(after);
    Check(!memory.HasCalibration || before == after);
    return 0;
}
