#pragma once
// Where the bitmaps drawn by resources/tools/draw_bitmaps.py live in the Qt
// resource system. Names are the program's resource names ("RunUp",
// "SIDEBAR_LOGO"); each exists at scale 1 and at scale 2 for high-density
// screens.

#include <QString>

// ":/bitmaps/<name>.png" for scale 1, ":/bitmaps/<name>@2x.png" for scale 2.
QString BitmapResourcePath(const QString& name, int scale);
