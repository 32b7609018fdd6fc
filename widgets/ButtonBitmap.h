#pragma once
// Loading a button bitmap from the resources and recolouring it to the
// desktop palette, so that bitmaps drawn in the classic grey scheme blend
// with whatever face colour the desktop uses.

#include "widgets/ButtonColours.h"

#include <QImage>
#include <QString>

class ButtonBitmap {
public:
    // Bitmaps at least this many pixels wide are logos: only their white
    // pixels take the face colour, so the drawing itself keeps its colours.
    static constexpr int kLogoWidth = 101;

    // The bitmap named `name` at the scale that suits the device pixel ratio
    // (the 2x drawing above ratio 1 when there is one), recoloured. A null
    // image when the name is empty or no such bitmap exists.
    static QImage Load(const QString& name, qreal devicePixelRatio, const ButtonColours& colours);

    // Small bitmaps: light grey becomes the face colour, white the highlight,
    // dark grey the shadow and black the text colour. Each pixel is judged by
    // the colour it had before, so a pixel already replaced is never matched
    // again. Alpha is kept; width is judged in device-independent pixels.
    static void Recolour(QImage& image, const ButtonColours& colours);
};
