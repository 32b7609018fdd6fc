// The ink of a marker and its label: the marker colour on screen, white
// included (the pane is dark); on paper the marker colour, except white,
// which would vanish on the page and is printed black.
#include "QuarnPlotTestSupport.h"
#include "settings/PrintOpts.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

using namespace quarn_test;

int CountColour(const QImage& image, const QRect& area, QRgb colour)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += image.pixel(x, y) == colour ? 1 : 0;
    return count;
}

struct MarkedTone : TonePlot {
    explicit MarkedTone(std::uint32_t markerColour) : TonePlot(ScalingOpts::kLogarithmic, ScalingOpts::kFftLinear, -20.0f, -100.0f)
    {
        records.Spectrum.MarkerColor = markerColour;
        records.Spectrum.PeakHold = 0;
        records.Markers.MarkerEnable[0] = 1;
        records.Markers.MarkerFreq[0] = 1000.0f;
        records.Markers.LabelType[0] = MarkerOpts::kFrequencyAndAmplitude;
        Make(1000, 520).UpdateDisplay(0.0f);
    }
    // The pane as drawn on screen.
    QImage Screen() const { return plot->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    // A letter page at 100 dpi.
    QImage Paper() const
    {
        QImage page(1100, 850, QImage::Format_RGB32);
        page.setDotsPerMeterX(3937);
        page.setDotsPerMeterY(3937);
        page.fill(Qt::white);
        PrintOpts options;
        QPainter painter(&page);
        plot->PrintToDC(painter, &options, true, 0);
        return page;
    }
};

} // namespace

TEST(MarkerInk, ScreenMarkersTakeTheirColourPaperTurnsOnlyWhiteToBlack)
{
    // Colours as the records hold them, 0x00BBGGRR.
    const MarkedTone white(0xFFFFFF), red(0x0000FF);
    const PlotRect p = white.plot->PaneRect(0);
    const QRect pane(p.left, p.top, p.Width(), p.Height());
    EXPECT_GT(CountColour(white.Screen(), pane, qRgb(255, 255, 255)), 20) << "white on the dark pane";
    EXPECT_GT(CountColour(red.Screen(), pane, qRgb(255, 0, 0)), 20);

    const QImage whitePaper = white.Paper(), redPaper = red.Paper();
    const QRect page = whitePaper.rect();
    EXPECT_GT(CountColour(redPaper, page, qRgb(255, 0, 0)), 20) << "a colour page prints the colour";
    EXPECT_EQ(CountColour(whitePaper, page, qRgb(255, 0, 0)), 0);
    // White ink would leave the page as it was where the marker stands:
    // the printed page of the white marker has more black than the red one's.
    EXPECT_GT(CountColour(whitePaper, page, qRgb(0, 0, 0)), CountColour(redPaper, page, qRgb(0, 0, 0)));
}
