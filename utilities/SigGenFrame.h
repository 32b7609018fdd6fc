#pragma once
// The main frame as the signal generator window sees it. The frame owns the
// window, creates it from its generator toggle (and at start-up when slot 6
// was open), and connects CSigGen::ClosingUtility to that toggle, queued, so
// that the window is deleted after its close handler has returned.
//
// Everything here is called on the GUI thread.

#include <memory>

#include "audio/SoundOutputPort.h"

struct FrameSettings;
class ProgressSignals;

class SigGenFrame {
public:
    // The frame's records. The window reads the analyzer's format
    // (Processing.Format), SoundCardDriverMode, m_OutputDevice,
    // LockSignalGeneratorChannels and the wave folder of m_DataPathsInUse;
    // it edits SigGenOutput and SigGenChannel[0], [1] in place.
    virtual FrameSettings& GetSettings() = 0;

    virtual bool IsAnalyzerRunning() const = 0;
    // The frame's common stop (CMainFrame::OnStop): acquisition, then the
    // generator's output through CSigGen::StopOutput, then the data logs.
    virtual void StopAnalyzer() = 0;

    // A new output port on that device, not yet opened; null when none can
    // be made. The window keeps it while it plays and deletes it to stop.
    virtual std::unique_ptr<SoundOutputPort> CreateOutputPort(int device, int driverMode) = 0;

    // The status bar's progress signals; null while there is no status bar.
    virtual ProgressSignals* GetProgressSignals() = 0;

    // Opens the help page of a dialog's context id.
    virtual void ShowHelp(int contextId) = 0;

protected:
    ~SigGenFrame() = default;
};
