#include "widgets/ButtonColours.h"

#include <QPalette>

ButtonColours ButtonColours::FromPalette(const QPalette& palette)
{
    // Light and Dark are the roles Qt fills from the system's 3-D highlight
    // and shadow colours on desktops that have them.
    ButtonColours colours;
    colours.Face = palette.color(QPalette::Button).rgb();
    colours.Highlight = palette.color(QPalette::Light).rgb();
    colours.Shadow = palette.color(QPalette::Dark).rgb();
    colours.Text = palette.color(QPalette::ButtonText).rgb();
    return colours;
}
