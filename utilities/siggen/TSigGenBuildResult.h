#pragma once
// What a finished build reports to the window.

#include <cstdint>
#include <string>
#include <vector>

enum class TSigGenBuildStatus {
    // The buffer holds the whole signal.
    Completed,
    // Stopped by a cancel; no buffer.
    Cancelled,
    // The buffer could not be allocated; no buffer.
    OutOfMemory,
};

struct TSigGenBuildResult {
    // The number StartBuild returned for this build; a completion that
    // arrives after a newer build started is stale.
    std::uint64_t BuildId = 0;
    TSigGenBuildStatus Status = TSigGenBuildStatus::Completed;
    // Messages for the operator, in order (a user file that would not open,
    // a channel whose settings cannot be built, the memory failure). The
    // window shows them; the building thread shows nothing itself.
    std::vector<std::string> Messages;
};
