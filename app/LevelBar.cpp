#include "app/LevelBar.h"

#include "app/LevelMeters.h"

#include <algorithm>

int LevelBar::BarHeight(int paneHeight)
{
    return (paneHeight - 6) / 2;
}

int LevelBar::Length(int paneWidth, std::int32_t level)
{
    const long long length = static_cast<long long>(paneWidth) * level / 100;
    return static_cast<int>(std::clamp<long long>(length, 0, std::max(0, paneWidth - 1)));
}

bool LevelBar::IsOverload(std::int32_t level)
{
    return level >= LevelMeters::kOverloadLevel;
}

QRgb LevelBar::PixelColour(int x, int paneWidth)
{
    if (x % 4 == 0)
        return qRgb(128, 128, 128);
    // x ≥ 0.98·w, in integers so that the edge of the red zone is exact.
    if (100LL * x >= 98LL * paneWidth)
        return qRgb(255, 0, 0);
    const int g = paneWidth > 0 ? static_cast<int>(255LL * x / paneWidth) : 0;
    return qRgb(g, 255 - g / 3, 0);
}

std::vector<QRgb> LevelBar::Row(int paneWidth, std::int32_t level)
{
    const int length = Length(paneWidth, level);
    std::vector<QRgb> row(static_cast<std::size_t>(std::max(length, 1)), 0);
    for (int x = 1; x < length; ++x)
        row[static_cast<std::size_t>(x)] = PixelColour(x, paneWidth);
    return row;
}
