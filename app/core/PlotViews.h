#pragma once
// The two spectrum plots (channel 0 and 1) as the processing and the run
// control drive them. Either plot may be closed; the calls name a plot that
// exists (HasPlot) except where noted.

class SpectralData;

class PlotViews {
public:
    virtual ~PlotViews() = default;
    virtual bool HasPlot(int channel) const = 0;
    // The objects the plot (and its data-values window) draws; null unbinds.
    virtual void SetSpectralData(int channel, SpectralData* trace1, SpectralData* trace2) = 0;
    virtual void ResetView(int channel) = 0;
    virtual void SetTimeAxis(int channel, bool timeAxis) = 0;
    // Per processed block; blockTime in steady seconds (wave seconds in playback).
    virtual void UpdateDisplay(int channel, double blockTime) = 0;
};
