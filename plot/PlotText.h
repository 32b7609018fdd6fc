#pragma once
// Text placed by a reference point the way the plot's labels are: left of,
// centred on or right of x, with the top of the text's line at y.

class QPainter;
class QString;

enum class TextAnchor { Left, Centre, Right };

// Draws with the painter's font and pen; returns the text's width.
int DrawTextAt(QPainter& dc, int x, int y, TextAnchor anchor, const QString& text);
