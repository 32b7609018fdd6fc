#pragma once
// The main frame as the recorder window sees it. The frame owns the window,
// creates it from its recorder toggle (and at start-up when slot 10 was
// open), and connects TRecorder::ClosingUtility to that toggle, queued.
// Recording is the frame's acquisition with the recorder's file as its
// recording target; playback is the frame's playback of that file.
//
// Everything here is called on the GUI thread.

#include <optional>

struct FrameSettings;

class RecorderFrame {
public:
    // The frame's records: the analysis format, the calibration, the file
    // I/O options and the wave folders; opening a file changes the format,
    // the calibration and the channel mode.
    virtual FrameSettings& GetSettings() = 0;

    virtual bool IsAnalyzerRunning() const = 0;
    // The frame's common stop (acquisition and the generator's output).
    virtual void StopAnalyzer() = 0;
    virtual bool IsPlaybackRunning() const = 0;
    virtual void StopPlayback() = 0;
    // Starts acquisition, which records into the recorder's file while the
    // recorder's state is recording; false (reported) when it did not start.
    virtual bool StartRecordingInput() = 0;
    // Plays the recorder's file through the analysis from its position.
    virtual bool StartPlayback() = 0;
    // A new input port and processing for the analysis format.
    virtual void ReinitInput() = 0;
    // The full-scale volts of the current input range when the input is the
    // DAQ module; nothing for another device. A calibration taken from a
    // file is moved to this range.
    virtual std::optional<float> CurrentInputRange() = 0;

protected:
    ~RecorderFrame() = default;
};
