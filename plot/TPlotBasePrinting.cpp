// Printing and the clipboard bitmap of TPlotBase.
#include "plot/TPlotBase.h"

#include "plot/LabelFont.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPaintDevice>
#include <QPainter>
#include <QPixmap>

#include <utility>

void TPlotBase::PrintToDC(QPainter& dc, const PrintOpts* options, bool resetAfter, std::uint16_t)
{
    const PlotRect client = ClientRect();
    QPaintDevice* device = dc.device();
    const int unitsPerInch = device != nullptr ? device->logicalDpiY() : 96;

    // One drawing unit is one device unit while the page is drawn.
    dc.save();
    dc.resetTransform();

    // Labels an eighth of an inch high, whatever the printer's resolution.
    int fontHeight = static_cast<int>(unitsPerInch * 0.125);
    QFont font = CreateLabelFont(fontHeight, device);
    std::swap(m_LabelFont, font);
    std::swap(m_LabelFontHeight, fontHeight);
    m_Printing = true;

    LayoutPlotAreas(dc, options != nullptr ? *options : PrintOpts{});
    Redraw(dc, true, client);

    m_Printing = false;
    std::swap(m_LabelFont, font);
    std::swap(m_LabelFontHeight, fontHeight);
    dc.restore();

    if (resetAfter) {
        InvalidatePlot();
        // The page layout is still in force until this puts the screen's back.
        ResetView();
    }
}

void TPlotBase::LayoutPlotAreas(QPainter&, PrintOpts) {}

QImage TPlotBase::RenderClipboardBitmap()
{
    const int strip = std::max(0, m_Margins.ToolStripHeight);
    const QRect below(0, strip, width(), height() - strip);
    if (below.isEmpty())
        return {};
    // grab() draws the widgets themselves rather than reading the screen, so
    // children hidden just before (the spectrum plot's corner buttons) are
    // already gone without waiting for the screen to catch up.
    QImage image = grab(below).toImage().convertToFormat(QImage::Format_RGB32);

    // One black pixel along the image's edge, in the image's own pixels.
    const int w = image.width();
    const int h = image.height();
    const QRgb black = qRgb(0, 0, 0);
    for (int x = 0; x < w; ++x) {
        image.setPixel(x, 0, black);
        image.setPixel(x, h - 1, black);
    }
    for (int y = 0; y < h; ++y) {
        image.setPixel(0, y, black);
        image.setPixel(w - 1, y, black);
    }
    return image;
}

void TPlotBase::CopyToClipboard()
{
    const QImage image = RenderClipboardBitmap();
    QClipboard* clipboard = QGuiApplication::clipboard();
    // Without a clipboard nothing is copied and nothing is said.
    if (image.isNull() || clipboard == nullptr)
        return;
    clipboard->setImage(image);
}
