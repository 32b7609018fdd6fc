#pragma once
// The spectrum plot's geometry that does not need a window: its margins,
// where the plot areas go on a printed page, and where the tool strip's and
// the overlay legend's controls stand.

#include "plot/PlotLayout.h"
#include "plot/PlotRect.h"

#include <cstdint>

struct PrintOpts;
struct SpectrumOpts;

namespace quarn_layout {

inline constexpr int kToolStripHeight = 30;
// Between the tool strip and the plot top: the title line.
inline constexpr int kTitleBand = 20;
inline constexpr int kLeftMargin = 62;
inline constexpr int kBaseRightMargin = 40;
inline constexpr int kLegendCharWidth = 8;
inline constexpr int kPowerMeterWidth = 66;
inline constexpr int kPaneGap = 20;
// Cursor readout label boxes.
inline constexpr int kXLabelWidth = 90;
inline constexpr int kYLabelWidth = 58;

// Tool-strip buttons: 28 × 28 at y = 1.
inline constexpr int kButtonSize = 28;
inline constexpr int kButtonTop = 1;
// Fields: edits 56 × 20 with a 12 × 20 spinner right after, and the peak
// hold list 72 wide.
inline constexpr int kEditWidth = 56;
inline constexpr int kEditHeight = 20;
inline constexpr int kSpinWidth = 12;
inline constexpr int kTopEditX = 381;
inline constexpr int kRangeEditX = 527;
inline constexpr int kPeakHoldListX = 673;
inline constexpr int kPeakHoldListWidth = 72;
// The strip's width up to the peak hold list's right edge, with a small gap:
// a narrower plot would cut its last controls off.
inline constexpr int kToolStripWidth = kPeakHoldListX + kPeakHoldListWidth + 6;

// Overlay rows: 16 px apart from 22 px below the pane's top.
inline constexpr int kOverlayRowTop = 22;
inline constexpr int kOverlayRowStep = 16;
inline constexpr int kOverlayRows = 7;
inline constexpr int kOverlayButtonSize = 14;
inline constexpr int kOverlayOptionsWidth = 64;
inline constexpr int kOverlayOptionsHeight = 18;
inline constexpr int kCornerButtonSize = 10;

} // namespace quarn_layout

// 40, plus 8 per legend character with the overlay controls, plus 66 with
// the power meter.
int QuarnRightMargin(const SpectrumOpts& options);

// The margins for the tool strip shown or hidden.
PlotMargins QuarnScreenMargins(const SpectrumOpts& options);

// The plot areas on a page of width × height device pixels at the given
// resolution, inside the print margins, leaving room for the axes' labels.
// Two panes are a tenth of an inch apart each way from the middle.
PlotAreas PrintedPlotAreas(int pageWidth, int pageHeight, int dotsPerInchX, int dotsPerInchY,
                           const PrintOpts& options, int paneCount);

// x of a tool-strip button by command id (401 … 511, 480); −1 for others.
int ToolButtonX(std::uint32_t id);

// The overlay controls' column beside the plot area, and row n's top in a pane.
int OverlayColumnX(const PlotRect& plot, bool powerMeter);
int OverlayRowY(const PlotRect& pane, int row);

// The three corner buttons: tool strip (top left), power meter and overlay
// controls (bottom right).
PlotRect ToolStripCornerButton(const PlotRect& client, int toolStripHeight);
PlotRect PowerMeterCornerButton(const PlotRect& client, const PlotRect& plot);
PlotRect OverlayCornerButton(const PlotRect& client, const PlotRect& plot, int rightMargin);
