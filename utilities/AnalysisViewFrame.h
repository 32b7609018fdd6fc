#pragma once
// The main frame as an analysis viewer sees it: the objects the current
// channel mode analyses and the records the readouts are scaled by. The
// frame owns the viewers, creates them from their toggles (and at start-up
// when their slots were open), connects CAnalysisView::ClosingUtility to
// those toggles, queued, and refreshes them after every processed block.

struct FrameSettings;
class SpectralData;

class AnalysisViewFrame {
public:
    // The object of processor index 0 or 1 in the current channel mode, or
    // null when that index analyses nothing.
    virtual SpectralData* GetModeProcessor(int index) const = 0;
    // Scaling[0..1] and Spectrum[0..1] are read at every refresh.
    virtual FrameSettings& GetSettings() = 0;

protected:
    ~AnalysisViewFrame() = default;
};
