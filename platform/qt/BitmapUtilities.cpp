#include "platform/qt/BitmapUtilities.h"

#include <QImage>
#include <QPaintDevice>
#include <QPixmap>

namespace {
std::uint32_t Extent(int pixels)
{
    return pixels > 0 ? static_cast<std::uint32_t>(pixels) : 0u;
}
} // namespace

bool IsColorDevice(const QPaintDevice* device)
{
    if (device == nullptr)
        return false;
    return device->depth() >= 2 || device->colorCount() >= 3;
}

std::uint32_t GetBitmapWidth(const QPixmap* bitmap)
{
    return bitmap ? Extent(bitmap->width()) : 0u;
}

std::uint32_t GetBitmapHeight(const QPixmap* bitmap)
{
    return bitmap ? Extent(bitmap->height()) : 0u;
}

std::uint32_t GetBitmapWidth(const QImage* bitmap)
{
    return bitmap ? Extent(bitmap->width()) : 0u;
}

std::uint32_t GetBitmapHeight(const QImage* bitmap)
{
    return bitmap ? Extent(bitmap->height()) : 0u;
}
