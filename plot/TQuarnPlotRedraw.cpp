// The full redraw of TQuarnPlot: pane backgrounds, title lines, grids, the
// amplitude and frequency axes, the power meters, the overlay legend and the
// level readouts, around the traces and markers of TQuarnPlotTraces.cpp.
// The same code draws the screen and a printed page; on paper colours,
// distances and offsets take their paper values.
#include "plot/TQuarnPlot.h"

#include "plot/LabelFont.h"
#include "plot/PlotCaptions.h"
#include "plot/PlotColours.h"
#include "plot/PlotText.h"
#include "plot/PowerMeter.h"
#include "plot/QuarnPlotLayout.h"

#include "engine/ScalingOpts.h"
#include "format/TChannelCalibration.h"
#include "engine/SpectralData.h"
#include "platform/ProfileFile.h"
#include "settings/SpectrumOpts.h"

#include <QCheckBox>
#include <QPaintDevice>
#include <QPainter>
#include <QPushButton>

#include <algorithm>
#include <cstdlib>

namespace {

constexpr std::uint32_t kPaperGridColour = 0x808080;
// Pixels between two unlabelled horizontal grid lines at the least.
constexpr int kGridLineRoom = 4;

QRect ToQRect(const PlotRect& r)
{
    return QRect(r.left, r.top, r.Width(), r.Height());
}

// "PrintPlotTitle" in [FileIO] of the settings file; "FALSE" in any case
// leaves printed pages without a title line.
bool PrintTitleWanted(const std::string& iniPath)
{
    if (iniPath.empty())
        return true;
    const std::string value = platform::GetProfileString("FileIO", "PrintPlotTitle", "TRUE", 21, iniPath);
    return QString::fromStdString(value).compare(QStringLiteral("FALSE"), Qt::CaseInsensitive) != 0;
}

} // namespace

void TQuarnPlot::Redraw(QPainter& dc, bool flag, const PlotRect& clip)
{
    if (m_PointCapacity == 0 || m_Trace1 == nullptr || m_Spectrum == nullptr)
        return;
    TPlotBase::Redraw(dc, flag, clip);
    dc.save();
    dc.setRenderHint(QPainter::Antialiasing, false);
    if (PaneCountShown() == 1) {
        DrawPane(dc, 0, true, clip);
    } else {
        DrawPane(dc, 0, false, clip);
        DrawPane(dc, 1, true, clip);
    }
    // The lower edge of the left plot, against the frame's status bar.
    if (!m_Printing && m_Channel == 0) {
        const PlotRect client = ClientRect();
        dc.fillRect(QRect(client.left, client.bottom - 1, client.Width(), 1), palette().color(QPalette::Dark));
    }
    dc.restore();
    DrawWatermark(dc, m_Areas.Plot, clip);
}

void TQuarnPlot::DrawPane(QPainter& dc, int pane, bool lowest, const PlotRect& clip)
{
    if (Trace(pane) == nullptr)
        return;
    PaintPaneContents(dc, pane, clip);
    DrawTitleLine(dc, pane, clip);
    DrawAmplitudeAxis(dc, pane, clip);
    if (lowest)
        DrawFrequencyAxis(dc, PaneRect(pane), clip);
    if (m_Spectrum->ShowPowerMeter != 0) {
        DrawPowerMeterFrame(dc, pane, lowest, clip);
        DrawPowerMeterBars(dc, pane);
    }
    if (m_Printing || m_Spectrum->ShowOverlayControls != 0)
        DrawOverlayLegend(dc, pane, clip);
    if (m_Spectrum->ShowRMSLevel != 0)
        DrawLevelReadout(dc, pane, clip);
}

void TQuarnPlot::PaintBackground(QPainter& dc, const PlotRect& pane, const PlotRect& clip)
{
    if (m_Printing || !pane.Intersects(clip))
        return;
    dc.fillRect(ToQRect(pane), ColorFromRef(m_Spectrum->BackgroundColor));
}

QFont TQuarnPlot::ArialFont(int height, QPaintDevice* device) const
{
    if (!m_Printing && height == m_LabelFontHeight)
        return m_LabelFont;
    return CreateLabelFont(height, m_Printing ? device : nullptr);
}

void TQuarnPlot::DrawTitleLine(QPainter& dc, int pane, const PlotRect& clip)
{
    if (m_Printing && !PrintTitleWanted(m_IniPath))
        return;
    const PlotRect r = PaneRect(pane);
    if (clip.top >= r.top)
        return;
    const SpectralData* data = Trace(pane);
    dc.save();
    dc.setFont(m_LabelFont);
    dc.setPen(m_Printing ? QColor(Qt::black) : palette().color(QPalette::WindowText));
    const int y = r.top - m_LabelFontHeight - 3;
    const QString name = QString::fromUtf8(data->GetName());
    const bool level = m_Spectrum->ShowRMSLevel != 0;
    if (m_Scaling->SpectralDensityFlag != 0) {
        DrawTextAt(dc, r.right, y, TextAnchor::Right, QString::fromLatin1(DensityUnitText(m_Scaling->SpectralDensityType)));
        if (level)
            DrawTextAt(dc, r.left + r.Width() / 2, y, TextAnchor::Centre, name);
        else
            DrawTextAt(dc, r.left, y, TextAnchor::Left, name);
    } else if (level) {
        DrawTextAt(dc, r.right, y, TextAnchor::Right, name);
    } else {
        DrawTextAt(dc, r.left + r.Width() / 2, y, TextAnchor::Centre, name);
    }
    dc.restore();
}

void TQuarnPlot::DrawLevelReadout(QPainter& dc, int pane, const PlotRect& clip)
{
    const PlotRect r = PaneRect(pane);
    SpectralData* data = Trace(pane);
    if (data == nullptr || clip.top >= r.top)
        return;
    const float power = data->GetBandPower(static_cast<std::uint32_t>(std::max(0, m_SpanStart)),
                                           static_cast<std::uint32_t>(std::max(0, m_SpanEnd)),
                                           m_Scaling->AmpScaleType, -1, false);
    dc.save();
    dc.setFont(m_LabelFont);
    dc.setPen(m_Printing ? QColor(Qt::black) : palette().color(QPalette::WindowText));
    DrawTextAt(dc, r.left, r.top - m_LabelFontHeight - 3, TextAnchor::Left,
               QString::fromStdString(LevelReadoutText(m_Scaling->StandardWeighting, power)));
    dc.restore();
}

// Grid lines are one-pixel rows and columns on screen; there a plain fill
// covers the same pixels as the stroked line at a fraction of its cost.
bool TQuarnPlot::OnScreenPixels(const QPainter& dc) const
{
    return !m_Printing && dc.transform().isIdentity() && dc.device() != nullptr &&
           dc.device()->devicePixelRatio() == 1.0;
}

void TQuarnPlot::DrawVerticalGrid(QPainter& dc, const PlotRect& pane, const PlotRect& clip)
{
    if (m_Spectrum->GridXEnabled == 0 || m_FrequencyTicks.empty() || (!m_Printing && !pane.Intersects(clip)))
        return;
    dc.save();
    const QColor ink = ColorFromRef(m_Printing ? kPaperGridColour : m_Spectrum->GridColor);
    dc.setPen(QPen(ink, 0));
    const bool screenPixels = OnScreenPixels(dc);
    for (const PlotTick& tick : m_FrequencyTicks) {
        const int x = pane.left + tick.Pos;
        if (screenPixels)
            dc.fillRect(x, pane.top, 1, pane.bottom - pane.top, ink);
        else
            dc.drawLine(x, pane.top, x, pane.bottom - 1);
    }
    dc.restore();
}

void TQuarnPlot::DrawHorizontalGrid(QPainter& dc, int pane, const PlotRect& clip)
{
    const PlotRect r = PaneRect(pane);
    const PlotTicks& ticks = PaneAmplitudeTicks(pane);
    if (m_Spectrum->GridYEnabled == 0 || ticks.empty() || (!m_Printing && !r.Intersects(clip)))
        return;
    dc.save();
    const QColor ink = ColorFromRef(m_Printing ? kPaperGridColour : m_Spectrum->GridColor);
    dc.setPen(QPen(ink, 0));
    const bool screenPixels = OnScreenPixels(dc);
    // On a low pane a log axis has a tick every pixel or two; their lines
    // would merge into a grey band, so unlabelled ones keep a little room.
    const int room = m_Printing ? Paper(kGridLineRoom * 5) : kGridLineRoom;
    int lastLine = -1000000;
    for (const PlotTick& tick : ticks) {
        const int y = r.top + tick.Pos;
        // A tick on the pane's bottom edge belongs to the frame, not the pane.
        if (y >= r.bottom || (tick.Label.empty() && std::abs(y - lastLine) < room))
            continue;
        if (screenPixels)
            dc.fillRect(r.left, y, r.right - r.left, 1, ink);
        else
            dc.drawLine(r.left, y, r.right - 1, y);
        lastLine = y;
    }
    dc.restore();
}

const PlotTicks& TQuarnPlot::PaneAmplitudeTicks(int pane) const
{
    return IsCoherencePane(pane) ? m_CoherenceTicks : m_AmplitudeTicks;
}

void TQuarnPlot::DrawAmplitudeAxis(QPainter& dc, int pane, const PlotRect& clip)
{
    const PlotRect r = PaneRect(pane);
    if (clip.left > r.left)
        return;
    const QColor ink = m_Printing ? QColor(Qt::black) : palette().color(QPalette::WindowText);
    dc.save();
    dc.setPen(QPen(ink, 0));
    dc.setFont(m_LabelFont);

    if (pane == 0) {
        const QString label = IsCoherencePane(pane) ? QString::fromLatin1(kCoherenceUnitLabel)
                                                    : QString::fromStdString(ShownUnitLabel(m_Trace1->GetUnitLabel(false)));
        const PlotRect& plot = m_Areas.Plot;
        const int y = plot.top + plot.Height() / 2 + 6;
        const int x = m_Printing ? plot.left - static_cast<int>(0.65 * m_PageDpiX) : 4;
        dc.save();
        dc.setFont(ArialFont(m_LabelFontHeight, dc.device()));
        dc.translate(x, y);
        dc.rotate(-90.0);
        DrawTextAt(dc, 0, 0, TextAnchor::Centre, label);
        dc.restore();
    }

    const int labelRight = r.left - (m_Printing ? Paper(80) : 6);
    for (const PlotTick& tick : PaneAmplitudeTicks(pane)) {
        const int y = r.top + tick.Pos;
        dc.drawLine(r.left - 3, y, r.left - 1, y);
        if (!tick.Label.empty())
            DrawTextAt(dc, labelRight, y - m_LabelFontHeight / 2, TextAnchor::Right, QString::fromStdString(tick.Label));
    }
    dc.restore();
}

void TQuarnPlot::DrawFrequencyAxis(QPainter& dc, const PlotRect& pane, const PlotRect& clip)
{
    if (!m_Printing && pane.bottom > clip.bottom)
        return;
    const int s = GetScrollBarHeight();
    const QColor ink = m_Printing ? QColor(Qt::black) : palette().color(QPalette::WindowText);
    dc.save();
    dc.setPen(QPen(ink, 0));
    dc.setFont(m_LabelFont);
    const int axis = pane.bottom + s;
    const int labelTop = axis + (m_Printing ? Paper(20) : 3);
    // The power meter's caption stands beside the axis's right end: a label
    // centred on the last tick moves left to keep clear of it.
    const bool meter = !m_Printing && m_Spectrum->ShowPowerMeter != 0;
    const QFontMetrics metrics = dc.fontMetrics();
    // Two spaces' width apart, so the two read as separate words ("20.0k  Pwr").
    const int labelLimit = pane.right + power_meter::kScreenLeft - metrics.horizontalAdvance(QStringLiteral("  "));
    for (const PlotTick& tick : m_FrequencyTicks) {
        const int x = pane.left + tick.Pos;
        dc.drawLine(x, axis, x, axis + 2);
        if (tick.Label.empty())
            continue;
        const QString label = QString::fromStdString(tick.Label);
        const int width = metrics.horizontalAdvance(label);
        int left = x - width / 2;
        if (meter)
            left = std::min(left, labelLimit - width);
        DrawTextAt(dc, left, labelTop, TextAnchor::Left, label);
    }
    const QString title = QString::fromLatin1(kFrequencyAxisTitle);
    if (m_Printing) {
        DrawTextAt(dc, pane.left + pane.Width() / 2, axis + Paper(50) + m_LabelFontHeight, TextAnchor::Centre, title);
    } else {
        const PlotRect client = ClientRect();
        DrawTextAt(dc, client.left + client.Width() / 2, client.bottom - m_LabelFontHeight - 2, TextAnchor::Centre, title);
    }
    dc.restore();
}

void TQuarnPlot::DrawPowerMeterFrame(QPainter& dc, int pane, bool lowest, const PlotRect& clip)
{
    const PlotRect r = PaneRect(pane);
    const PlotRect area{r.right + power_meter::kScreenLeft, r.top, r.right + m_Margins.Right, r.bottom};
    if (!m_Printing && !area.Intersects(clip))
        return;
    const PlotRect bar = PowerMeterBar(r, m_Printing, m_PageDpiX);
    const int s = lowest ? GetScrollBarHeight() : 0;
    DrawFrame3D(dc, bar.ExtendedDown(s).Inflated(1), m_Printing ? 0 : 2);

    const QColor ink = m_Printing ? QColor(Qt::black) : palette().color(QPalette::WindowText);
    dc.save();
    dc.setPen(QPen(ink, 0));
    // The meter's labels share a narrow column with the overlay buttons.
    dc.setFont(m_Printing ? m_LabelFont : m_MeterFont);
    const int labelFontHeight = m_Printing ? m_LabelFontHeight : QFontMetrics(m_MeterFont).height();
    const int labelLeft = bar.right + (m_Printing ? Paper(60) : 6);
    for (const PlotTick& tick : m_AmplitudeTicks) {
        const int y = r.top + tick.Pos;
        dc.drawLine(bar.right + 1, y, bar.right + 3, y);
        if (!tick.Label.empty())
            DrawTextAt(dc, labelLeft, y - labelFontHeight / 2, TextAnchor::Left, QString::fromStdString(tick.Label));
    }
    dc.setFont(m_LabelFont);
    if (lowest)
        DrawTextAt(dc, bar.left, r.bottom + s + (m_Printing ? Paper(20) : 3), TextAnchor::Left,
                   QString::fromLatin1(PowerCaption(m_Scaling->TotalPowerWeighting)));
    if (!m_Printing)
        dc.fillRect(ToQRect(bar), ColorFromRef(m_Spectrum->BackgroundColor));
    dc.restore();
}

void TQuarnPlot::DrawPowerMeterBars(QPainter& dc, int pane)
{
    const PlotRect r = PaneRect(pane);
    const PlotRect bar = PowerMeterBar(r, m_Printing, m_PageDpiX);
    const PaneTraces& traces = m_Panes[PaneIndex(pane)];
    const bool colour = !m_Printing || IsColourPage(dc);
    const int maxHeight = std::max(1, r.Height() - 2);
    const auto drawBar = [&](int height, std::uint32_t colourRef) {
        const int h = std::clamp(height, 1, maxHeight);
        const QRect rect(bar.left + 2, r.bottom - h - 1, bar.Width() - 4, h);
        if (colour) {
            dc.fillRect(rect, ColorFromRef(colourRef));
        } else {
            dc.save();
            dc.setPen(QPen(Qt::black, 0));
            dc.setBrush(Qt::NoBrush);
            dc.drawRect(rect.adjusted(0, 0, -1, -1));
            dc.restore();
        }
    };
    if (m_Spectrum->PeakHold != 0)
        drawBar(traces.MeterHold, m_Spectrum->PeakColor);
    drawBar(traces.MeterLive, m_Spectrum->LineColor);
}

void TQuarnPlot::DrawOverlayLegend(QPainter& dc, int pane, const PlotRect& clip)
{
    const PlotRect r = PaneRect(pane);
    if (!m_Printing && clip.right < r.right)
        return;
    const int p = PaneIndex(pane);
    const bool meter = m_Spectrum->ShowPowerMeter != 0;
    dc.save();
    if (!m_Printing && pane == 0) {
        QFont heading = ArialFont(m_LabelFontHeight, dc.device());
        heading.setUnderline(true);
        dc.setFont(heading);
        dc.setPen(palette().color(QPalette::WindowText));
        const int x = r.right + m_Margins.Right / 2 + (meter ? 36 : 0);
        DrawTextAt(dc, x, r.top - m_LabelFontHeight, TextAnchor::Centre, QString::fromLatin1(kOverlayLegendHeading));
    }

    dc.setFont(m_LabelFont);
    const bool colour = !m_Printing || IsColourPage(dc);
    const int x0 = OverlayColumnX(m_Areas.Plot, meter);
    int printedRow = 0;
    for (int n = 0; n < kOverlaySlots; ++n) {
        const SpectrumOverlayEntry& entry = m_Spectrum->Overlay[n];
        const QString text = QString::fromStdString(m_OverlayTitles[p][n]);
        if (!m_Printing) {
            const int y = OverlayRowY(r, n);
            const QColor window = palette().color(QPalette::Window);
            const auto behind = static_cast<std::uint32_t>(window.red() | (window.green() << 8) | (window.blue() << 16));
            dc.setPen(ColorFromRef(VisibleColour(entry.Color, behind)));
            DrawTextAt(dc, x0 + 32, y - 8 + m_LabelFontHeight / 2, TextAnchor::Left, text);
            continue;
        }
        if ((pane == 0 ? entry.Show1 : entry.Show2) == 0)
            continue;
        std::uint32_t ref = entry.Color;
        if (ref == 0xFFFFFF)
            ref = 0xC0C0C0;
        const QColor ink = colour ? ColorFromRef(ref) : QColor(Qt::black);
        const int y = r.top + Paper(60) + printedRow * (m_LabelFontHeight + Paper(20));
        // Beyond the power meter's labels when there is a meter.
        const int sampleLeft = r.right + Paper(meter ? 560 : 60);
        QPen pen(ink, Paper(4));
        if (!colour)
            pen.setStyle(MonochromeOverlayStyle(n));
        dc.setPen(pen);
        dc.drawLine(sampleLeft, y + m_LabelFontHeight / 2, sampleLeft + Paper(150), y + m_LabelFontHeight / 2);
        dc.setPen(ink);
        DrawTextAt(dc, sampleLeft + Paper(200), y, TextAnchor::Left, text);
        ++printedRow;
    }

    if (!m_Printing && m_Store[p][0] != nullptr) {
        QFont small = ArialFont(std::max(6, m_LabelFontHeight - 2), dc.device());
        dc.setFont(small);
        dc.setPen(palette().color(QPalette::WindowText));
        const QPushButton* first = m_Store[p][0];
        const int top = first->y() - 10 + m_LabelFontHeight / 2;
        for (const auto& [dx, text] : {std::pair{1, QStringLiteral("Set")}, std::pair{16, QStringLiteral("On")}}) {
            dc.save();
            dc.translate(first->x() + dx, top);
            dc.rotate(-90.0);
            DrawTextAt(dc, 0, 0, TextAnchor::Left, text);
            dc.restore();
        }
    }
    dc.restore();
}
