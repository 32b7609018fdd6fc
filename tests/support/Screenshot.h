#pragma once
// Saves what a widget renders as a PNG under the build folder's screenshots/,
// so a reviewer can look at what a widget test saw.

#include <string>

class QImage;
class QWidget;

// Returns the path written, or an empty string when saving failed.
std::string SaveScreenshot(QWidget& widget, const std::string& name);

// The same for a picture a test drew itself.
std::string SaveScreenshot(const QImage& image, const std::string& name);
