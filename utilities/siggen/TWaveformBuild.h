#pragma once
// One build of the generator's waveform: prepared on the thread that asks
// for it (the user files are opened and the format chosen there), then run
// once, on the building thread or directly.

#include <atomic>
#include <cstdint>
#include <memory>

#include "audio/TWaveData.h"
#include "utilities/siggen/TPinkWave.h"
#include "utilities/siggen/TSigGenBuildListener.h"
#include "utilities/siggen/TSigGenBuildRequest.h"
#include "utilities/siggen/TSigGenOutputFormat.h"
#include "utilities/siggen/TUserWave.h"

class TWaveformBuild {
public:
    static constexpr const char* kMemoryMessage =
        "Signal Generator - insufficient memory available to build selected waveform.";

    TWaveformBuild(const TSigGenBuildRequest& request, std::shared_ptr<const TPinkWave> pink,
                   std::uint64_t buildId = 0);

    // The format the window reports (its rate, width and channels) and
    // offers to the parameter dialogs, Nyquist being SampleRate / 2.
    static TSigGenOutputFormat PreviewOutputFormat(const TSigGenBuildRequest& request);

    const TSigGenOutputFormat& GetOutputFormat() const { return Format; }
    // The longer channel's length, made even.
    std::uint64_t GetBufferFrames() const { return BufferFrames; }

    // Builds every channel into a new buffer and fills `result`. The buffer
    // comes back only when the build completed; its cursor is at frame 0
    // and all of it counts as data. Call once.
    std::unique_ptr<TWaveData> Run(const std::atomic<bool>& cancel, TSigGenBuildListener* listener,
                                   TSigGenBuildResult& result);

private:
    // Opens the user file of each channel that plays one.
    void OpenUserFiles();

    TSigGenBuildRequest Request;
    std::shared_ptr<const TPinkWave> Pink;
    std::uint64_t BuildId = 0;
    std::unique_ptr<TUserWave> User[2];
    TSigGenOutputFormat Format;
    std::uint64_t BufferFrames = 0;
};
