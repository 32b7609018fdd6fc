#pragma once
// The utility windows a run starts, stops and refreshes: the signal
// generator, whose output runs with the analysis, and the recorder, whose
// file a run records into or plays back.

#include <cstdint>

class TWaveFile;

class RunUtilities {
public:
    // The recorder's states.
    enum RecorderState : std::uint32_t { kRecorderStopped = 0, kRecorderRecording = 1, kRecorderPlaying = 2 };

    virtual ~RunUtilities() = default;

    virtual bool HasGenerator() const = 0;
    virtual bool IsGeneratorPlaying() const = 0;
    // Starts the generator's output when it is idle and not building.
    virtual void StartGenerator() = 0;
    virtual void StopGeneratorOutput() = 0;

    virtual bool HasRecorder() const = 0;
    virtual std::uint32_t GetRecorderState() const = 0;
    virtual void SetRecorderState(std::uint32_t state) = 0;
    // Null when the recorder holds no file.
    virtual TWaveFile* GetRecorderWaveFile() = 0;
    virtual void UpdateRecorderPosition() = 0;
    virtual void UpdateRecorderButtons() = 0;
};
