#pragma once
// How a build reports to its window. Both calls come on the building
// thread: an implementation passes them on to the GUI thread (queued) and
// must not wait for that thread, which may itself be waiting for the build
// to end.

#include "utilities/siggen/TSigGenBuildResult.h"

class TSigGenBuildListener {
public:
    virtual ~TSigGenBuildListener() = default;

    // 0 … 99 through each channel, every 1000 frames.
    virtual void OnBuildProgress(int percent) = 0;
    // Once per build, cancelled and failed builds included.
    virtual void OnBuildFinished(const TSigGenBuildResult& result) = 0;
};
