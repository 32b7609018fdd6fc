#pragma once
// The plot's label font: "Arial" (or the desktop's stand-in for it) sized so
// that a line of text, ascent and descent together, is the given height on
// the device it is drawn on, as a font cell of that height would be.

#include <QFont>

class QPaintDevice;

// A null device measures for the screen.
QFont CreateLabelFont(int cellHeight, QPaintDevice* device);
