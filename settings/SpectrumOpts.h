#pragma once
// What one spectrum plot shows and how: plot type, grids, amplitude top and
// range, frequency span, colours, readouts, peak hold, the seven overlays
// with their composite, tool strip and legend, line widths and the display
// interval. Two live in the main frame, one per plot.
// Belongs with the plot code; lives here until that layer exists, since the
// settings files must read and write it first.

#include <cstddef>
#include <cstdint>

struct SpectrumOverlayEntry {
    std::uint8_t Show1 = 0;
    std::uint8_t Show2 = 0;
    // 0x00BBGGRR
    std::uint32_t Color = 0;
    // dB, per pane
    float Offset1 = 0.0f;
    float Offset2 = 0.0f;

    bool operator==(const SpectrumOverlayEntry&) const = default;
};

struct SpectrumOpts {
    // Entries 0 … 5 are the stored overlays 1 … 6, entry 6 the composite "C".
    static constexpr std::size_t kOverlayCount = 7;

    // 0 line, 1 bar, 2 stepped bar
    std::uint16_t PlotType = 0;
    std::uint8_t ShowToolbar = 1;
    std::uint8_t GridYEnabled = 1;
    std::uint8_t GridXEnabled = 1;
    // Display units: the top amplitude; in dB mode the span down to the
    // bottom, in log mode the bottom value, unused in linear mode.
    float PlotTop = 100.0f;
    float PlotRange = 100.0f;
    // Hz
    float StartFreq = 1000.0f;
    float StopFreq = 95000.0f;
    // Colours are 0x00BBGGRR.
    std::uint32_t BackgroundColor = 0x000000;
    std::uint32_t PeakColor = 0x0000FF;
    std::uint32_t LineColor = 0x00FF00;
    std::uint32_t GridColor = 0x808080;
    std::uint32_t MarkerColor = 0xFFFFFF;
    std::uint8_t ShowRMSLevel = 0;
    std::uint8_t ShowPowerMeter = 1;
    // 0 Off, 1 Fast, 2 Medium, 3 Slow, 4 Forever
    std::uint16_t PeakHold = 2;
    std::uint8_t ShowOverlayControls = 1;
    // Characters of 8 px.
    std::uint16_t OverlayLegendSize = 8;
    SpectrumOverlayEntry Overlay[kOverlayCount] = {{0, 0, 0xFF0000}, {0, 0, 0xAEAE00}, {0, 0, 0x800080},
                                                   {0, 0, 0xFF00FF}, {0, 0, 0x004080}, {0, 0, 0x4080FF},
                                                   {0, 0, 0x000000}};
    std::uint16_t CompositeType1 = 0;
    std::uint8_t IncludeInAverage1[kOverlayCount] = {};
    std::uint16_t DifferenceIndex1_1 = 0;
    std::uint16_t DifferenceIndex1_2 = 0;
    std::uint16_t CompositeType2 = 0;
    std::uint8_t IncludeInAverage2[kOverlayCount] = {};
    std::uint16_t DifferenceIndex2_1 = 0;
    std::uint16_t DifferenceIndex2_2 = 0;
    std::uint8_t GrabCursorFlag = 1;
    std::uint8_t IntervalFlag = 1;
    // Shortest time between trace updates, seconds.
    float IntervalSecs = 0.02f;
    std::uint8_t DrawThickSpectrum = 0;
    std::uint8_t DrawThickPeakHold = 0;
    std::uint8_t DrawThickOverlays = 0;
    std::uint8_t DrawThickMarkers = 1;

    static constexpr std::uint16_t kPeakHoldForever = 4;
    static constexpr std::uint16_t kLastPlotType = 2;

    // The main frame's starting values for plot 0 (left) or 1 (right).
    static SpectrumOpts FrameDefaults(int plot);

    bool operator==(const SpectrumOpts&) const = default;
};
