#pragma once
// Device and bitmap queries of the drawing code.

#include <cstdint>

class QImage;
class QPaintDevice;
class QPixmap;

// True when the device can show colour: at least 2 bits per pixel or at
// least 3 colours in its colour table. Qt has no colour planes (a device's
// depth already counts every bit of a pixel), so the planes test of older
// display drivers has nothing to look at. A null device is not a colour one.
bool IsColorDevice(const QPaintDevice* device);

// Size of a bitmap in pixels; 0 for a null pointer or a null bitmap.
std::uint32_t GetBitmapWidth(const QPixmap* bitmap);
std::uint32_t GetBitmapHeight(const QPixmap* bitmap);
std::uint32_t GetBitmapWidth(const QImage* bitmap);
std::uint32_t GetBitmapHeight(const QImage* bitmap);
