#pragma once
// Colours of the plot records on the screen and on paper: the records keep
// Windows colour values (0x00BBGGRR); a monochrome printer tells traces and
// overlays apart by their line style instead.

#include <QColor>
#include <QPen>

#include <cstdint>

class QPainter;

inline QColor ColorFromRef(std::uint32_t ref)
{
    return QColor(static_cast<int>(ref & 0xFF), static_cast<int>((ref >> 8) & 0xFF),
                  static_cast<int>((ref >> 16) & 0xFF));
}

// The colour a line of `colour` is drawn in on `background` (both
// 0x00BBGGRR): its own, unless every component lies within 0x30 of the
// background's, where the line would vanish (the composite overlay's black
// on the default black plot); then white on a dark background, black on a
// light one. The records keep the colour they hold.
std::uint32_t VisibleColour(std::uint32_t colour, std::uint32_t background);

// False only for a printer set to grey scale; images and the screen are in
// colour.
bool IsColourPage(QPainter& dc);

// Traces on a monochrome page by trace id: overlays 1 … 4 dashed, dotted,
// dash-dot, dash-dot-dot; the rest solid.
Qt::PenStyle MonochromeTraceStyle(int traceId);

// The legend's sample lines on a monochrome page, rows 1 … 7 (index 0 … 6):
// dash, dot, dash-dot, dash-dot-dot, dash, dot, dash-dot-dot.
Qt::PenStyle MonochromeOverlayStyle(int row);
