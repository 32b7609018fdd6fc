#pragma once
// How one channel's level bar is drawn in a meter pane of width w: a
// one-pixel row of colours, green through yellow towards red with a grey
// tick every fourth pixel, repeated down the bar's height; or, at an
// overload, a solid red block.

#include <QRgb>

#include <cstdint>
#include <vector>

namespace LevelBar {

// Height of each of the two bars in a pane of this height.
int BarHeight(int paneHeight);
// w·level/100, held within 0 … w−1.
int Length(int paneWidth, std::int32_t level);
bool IsOverload(std::int32_t level);
// Colour of pixel x of a bar in a pane of width w.
QRgb PixelColour(int x, int paneWidth);
// The row of a bar below overload: element x is the colour of pixel x for
// x = 1 … length−1 (element 0 is not drawn and is 0).
std::vector<QRgb> Row(int paneWidth, std::int32_t level);

} // namespace LevelBar
