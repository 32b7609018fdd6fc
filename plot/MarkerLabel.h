#pragma once
// What a marker shows: its shape (a small triangle whose tip sits on the
// trace, and a stem above it), the label text chosen by the marker's label
// type, and where that label and its box stand above the stem.

#include "plot/PlotPoint.h"
#include "plot/PlotRect.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace marker_shape {

// Rows above the tip: the triangle's top and the stem's end.
inline constexpr int kTriangleHeight = 8;
inline constexpr int kStemTop = 20;
inline constexpr int kTriangleHalfWidth = 3;
// The label's top stands this far above the stem's end (plus a font height).
inline constexpr int kLabelRise = 19;

} // namespace marker_shape

// Label type 1 "%3.2f Hz", 2 "%3.2f dB" (dB scaling) or "%3.2f", 3 both
// joined by "/", 4 the custom text; anything else, and an empty text, a
// single blank (so a label box is still drawn).
std::string MarkerLabelText(std::uint32_t labelType, float frequency, float value, bool dBScale,
                            std::string_view customLabel);

// The closed triangle: tip, upper left, upper right, tip again.
std::array<PlotPoint, 4> MarkerTriangle(PlotPoint tip);

// The text's top-left corner: centred over the tip, a font height and the
// rise above the stem.
PlotPoint MarkerLabelOrigin(PlotPoint tip, int fontHeight, int textWidth);

// The box drawn around the label: the text's extent widened by 2 px on each
// side with its bottom raised by 1.
PlotRect MarkerLabelBox(PlotPoint tip, int fontHeight, int textWidth, int textHeight);

// The box kept whole inside the pane (right and bottom exclusive), so that
// no label is cut at an edge and read as another value: slid sideways at
// the left and right edges; near the top against the top edge while the
// triangle stays clear below it, else just below the tip. The text's
// top-left corner is 2 px in from the box's left and on its top. A marker
// off the pane's columns keeps its box, clipped away with it.
PlotRect MarkerLabelBoxInPane(PlotPoint tip, int fontHeight, int textWidth, int textHeight, const PlotRect& pane);
