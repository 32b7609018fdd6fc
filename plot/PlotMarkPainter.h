#pragma once
// Puts the cursor and zoom marks and the readout labels over a plot's image.

#include "plot/PlotMarkLines.h"
#include "plot/PlotRect.h"

class QFont;
class QPainter;
class QString;

// Inverts the pixels of every line, so a mark shows over any trace or
// background colour. Lines that coincide invert each other back, as the
// same marks drawn one after another by pixel inversion would.
void InvertMarkLines(QPainter& painter, const PlotMarkLines& lines);

// A readout label: a black outline filled white, the text centred one pixel
// below the label's top.
void DrawReadoutLabel(QPainter& painter, const PlotRect& rect, const QString& text, const QFont& font);
