#include "widgets/ButtonBitmap.h"

#include "resources/BitmapResources.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr QRgb kLightGrey = 0xC0C0C0;
constexpr QRgb kWhite = 0xFFFFFF;
constexpr QRgb kDarkGrey = 0x808080;
constexpr QRgb kBlack = 0x000000;

// Antialiased edges are stored premultiplied by the renderer and come back
// a few levels off once un-premultiplied; the fainter the pixel, the larger
// the error. Opaque pixels must match exactly. The reference colours are at
// least 63 levels apart, so the allowance never confuses two of them.
int Tolerance(int alpha)
{
    if (alpha >= 255)
        return 0;
    return std::min(30, 255 / (2 * alpha) + 2);
}

bool Matches(QRgb pixel, QRgb reference, int tolerance)
{
    return std::abs(qRed(pixel) - qRed(reference)) <= tolerance
        && std::abs(qGreen(pixel) - qGreen(reference)) <= tolerance
        && std::abs(qBlue(pixel) - qBlue(reference)) <= tolerance;
}

QRgb WithAlpha(QRgb colour, int alpha)
{
    return qRgba(qRed(colour), qGreen(colour), qBlue(colour), alpha);
}

} // namespace

QImage ButtonBitmap::Load(const QString& name, qreal devicePixelRatio, const ButtonColours& colours)
{
    if (name.isEmpty())
        return {};
    QImage image;
    qreal scale = 1.0;
    if (devicePixelRatio > 1.0 && image.load(BitmapResourcePath(name, 2)))
        scale = 2.0;
    else if (!image.load(BitmapResourcePath(name, 1)))
        return {};
    image = image.convertToFormat(QImage::Format_ARGB32);
    image.setDevicePixelRatio(scale);
    Recolour(image, colours);
    return image;
}

void ButtonBitmap::Recolour(QImage& image, const ButtonColours& colours)
{
    if (image.isNull())
        return;
    if (image.format() != QImage::Format_ARGB32)
        image = image.convertToFormat(QImage::Format_ARGB32);
    const int logicalWidth = static_cast<int>(std::lround(image.width() / image.devicePixelRatio()));
    const bool logo = logicalWidth >= kLogoWidth;

    struct Mapping {
        QRgb from;
        QRgb to;
    };
    const Mapping small[] = {
        {kLightGrey, colours.Face},
        {kWhite, colours.Highlight},
        {kDarkGrey, colours.Shadow},
        {kBlack, colours.Text},
    };
    const Mapping logoOnly[] = {{kWhite, colours.Face}};
    const Mapping* begin = logo ? logoOnly : small;
    const Mapping* end = logo ? logoOnly + 1 : small + 4;

    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int alpha = qAlpha(line[x]);
            if (alpha == 0)
                continue;
            const int tolerance = Tolerance(alpha);
            for (const Mapping* m = begin; m != end; ++m) {
                if (Matches(line[x], m->from, tolerance)) {
                    line[x] = WithAlpha(m->to, alpha);
                    break;
                }
            }
        }
    }
}
