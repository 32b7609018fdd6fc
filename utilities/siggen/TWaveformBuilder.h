#pragma once
// Builds the generator's waveform on a worker thread and owns the result.
//
// Used from one thread (the window's). A new build, StopBuild and the
// destructor first cancel a running build and join its thread, so the
// buffer is never freed or replaced while the worker writes it. The
// listener must outlive the builder: a build cancelled by the destructor
// still reports its end.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

#include "audio/TWaveData.h"
#include "utilities/siggen/TPinkWave.h"
#include "utilities/siggen/TSigGenBuildListener.h"
#include "utilities/siggen/TSigGenBuildRequest.h"
#include "utilities/siggen/TSigGenOutputFormat.h"
#include "utilities/siggen/TWaveformBuild.h"

class TWaveformBuilder {
public:
    // How long WaitForBuild waits: 101 polls of 100 ms, as the window
    // always has before it gives up on playing or saving.
    static constexpr std::chrono::milliseconds kBuildWait{10100};

    explicit TWaveformBuilder(TSigGenBuildListener* listener = nullptr);
    ~TWaveformBuilder();
    TWaveformBuilder(const TWaveformBuilder&) = delete;
    TWaveformBuilder& operator=(const TWaveformBuilder&) = delete;

    // The recording the pink-noise signals play; taken by each later build.
    void SetPinkWave(std::shared_ptr<const TPinkWave> pink) { Pink = std::move(pink); }

    // Ends a running build (cancel, join), drops the old buffer, opens the
    // user files and chooses the format here, then builds on a new thread.
    // Returns the build's number, which its completion carries.
    std::uint64_t StartBuild(const TSigGenBuildRequest& request);

    // Asks a running build to stop at its next 1000 frames; returns at once.
    void CancelBuild() { Cancel = true; }
    bool IsCancelRequested() const { return Cancel.load(); }
    bool IsBuilding() const { return Building.load(); }

    // Cancels a running build and waits for its thread to end.
    void StopBuild();
    // Waits for a running build to end without cancelling it.
    void JoinBuild();
    // Waits up to kBuildWait for a running build; true when it is still
    // running (the caller then abandons playing or saving).
    bool WaitForBuild();

    // The built buffer; null while building and after a build that did not
    // complete.
    TWaveData* GetWaveData();
    // Of the latest build started.
    const TSigGenOutputFormat& GetOutputFormat() const { return Format; }
    std::uint64_t GetBufferFrames() const { return BufferFrames; }

private:
    void RunBuild();

    TSigGenBuildListener* Listener;
    std::shared_ptr<const TPinkWave> Pink;
    std::atomic<bool> Cancel{false};
    std::atomic<bool> Building{false};
    std::uint64_t LastBuildId = 0;
    TSigGenOutputFormat Format;
    std::uint64_t BufferFrames = 0;

    // Lives from StartBuild until the worker is joined.
    std::unique_ptr<TWaveformBuild> Build;
    std::thread Worker;

    // Guards Wave against the worker's hand-over; Finished signals it.
    std::mutex Mutex;
    std::condition_variable Finished;
    std::unique_ptr<TWaveData> Wave;
};
