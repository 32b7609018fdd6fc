#pragma once
// The desktop colours that button bitmaps are recoloured to: the palette's
// stand-ins for the system button-face, button-highlight, button-shadow and
// button-text colours.

#include <QRgb>

class QPalette;

struct ButtonColours {
    QRgb Face = qRgb(192, 192, 192);
    QRgb Highlight = qRgb(255, 255, 255);
    QRgb Shadow = qRgb(128, 128, 128);
    QRgb Text = qRgb(0, 0, 0);

    static ButtonColours FromPalette(const QPalette& palette);

    bool operator==(const ButtonColours&) const = default;
};
