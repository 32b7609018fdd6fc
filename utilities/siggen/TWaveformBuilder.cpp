#include "utilities/siggen/TWaveformBuilder.h"

#include <system_error>

TWaveformBuilder::TWaveformBuilder(TSigGenBuildListener* listener) : Listener(listener)
{
}

TWaveformBuilder::~TWaveformBuilder()
{
    StopBuild();
}

std::uint64_t TWaveformBuilder::StartBuild(const TSigGenBuildRequest& request)
{
    StopBuild();
    {
        std::lock_guard lock(Mutex);
        Wave.reset();
    }
    Cancel = false;
    Building = true;
    Build = std::make_unique<TWaveformBuild>(request, Pink, ++LastBuildId);
    Format = Build->GetOutputFormat();
    BufferFrames = Build->GetBufferFrames();
    try {
        Worker = std::thread([this] { RunBuild(); });
    } catch (const std::system_error&) {
        // No thread to be had: build here rather than never.
        RunBuild();
    }
    return LastBuildId;
}

void TWaveformBuilder::RunBuild()
{
    TSigGenBuildResult result;
    std::unique_ptr<TWaveData> built = Build->Run(Cancel, Listener, result);
    {
        std::lock_guard lock(Mutex);
        Wave = std::move(built);
        Building = false;
    }
    Finished.notify_all();
    if (Listener != nullptr)
        Listener->OnBuildFinished(result);
}

void TWaveformBuilder::StopBuild()
{
    Cancel = true;
    JoinBuild();
}

void TWaveformBuilder::JoinBuild()
{
    if (Worker.joinable())
        Worker.join();
    Build.reset();
}

bool TWaveformBuilder::WaitForBuild()
{
    std::unique_lock lock(Mutex);
    return !Finished.wait_for(lock, kBuildWait, [this] { return !Building.load(); });
}

TWaveData* TWaveformBuilder::GetWaveData()
{
    std::lock_guard lock(Mutex);
    return Building ? nullptr : Wave.get();
}
