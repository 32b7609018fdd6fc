#pragma once
// The utility windows a run works with, as this build has them: the signal
// generator and the recorder come with their own parts of the program, and
// until then there is never one open (their commands are disabled), so a
// run has no generator output to start and no recording to feed.

#include "app/core/RunUtilities.h"

class NoUtilityWindows final : public RunUtilities {
public:
    bool HasGenerator() const override { return false; }
    bool IsGeneratorPlaying() const override { return false; }
    void StartGenerator() override {}
    void StopGeneratorOutput() override {}

    bool HasRecorder() const override { return false; }
    std::uint32_t GetRecorderState() const override { return kRecorderStopped; }
    void SetRecorderState(std::uint32_t) override {}
    TWaveFile* GetRecorderWaveFile() override { return nullptr; }
    void UpdateRecorderPosition() override {}
    void UpdateRecorderButtons() override {}
};
