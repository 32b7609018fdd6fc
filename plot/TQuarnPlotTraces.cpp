// The per-frame update of TQuarnPlot: the display interval, the live and
// peak-hold points of each pane, the power meters, and the painting of the
// panes' contents (grids, traces, markers) into the back buffer. The full
// redraw paints the same contents through PaintPaneContents.
#include "plot/TQuarnPlot.h"

#include "plot/AmplitudeMapping.h"
#include "plot/CDataView.h"
#include "plot/DisplayInterval.h"
#include "plot/MarkerLabel.h"
#include "plot/PlotColours.h"
#include "plot/PlotText.h"
#include "plot/PowerMeter.h"
#include "plot/TablePoints.h"
#include "plot/TracePoints.h"
#include "plot/WideTrace.h"

#include "engine/ScalingOpts.h"
#include "platform/Clock.h"
#include "engine/SpectralData.h"
#include "settings/MarkerOpts.h"
#include "settings/SpectrumOpts.h"
#include "settings/TextField.h"

#include <QLine>
#include <QPainter>
#include <QPolygon>
#include <QRegion>

#include <algorithm>

namespace {

QRect ToQRect(const PlotRect& r)
{
    return QRect(r.left, r.top, r.Width(), r.Height());
}

class LiveValues : public TraceValueSource {
public:
    explicit LiveValues(const SpectralData& data) : m_Data(data) {}
    float MaxValue(int first, int last) const override { return m_Data.GetMaxValue(first, last); }

private:
    const SpectralData& m_Data;
};

class HeldValues : public TraceValueSource {
public:
    explicit HeldValues(const SpectralData& data) : m_Data(data) {}
    float MaxValue(int first, int last) const override { return m_Data.GetHoldMax(first, last); }

private:
    const SpectralData& m_Data;
};

// A wide solid pen on the back buffer, filled by FillWidePolyline rather
// than Qt's stroker. False, drawing nothing, where the painter asks for
// more than it does: a printer, rotation or shear, translucent ink,
// another pen style or blending.
bool FillWideTrace(QPainter& dc, const QRect& clip, const std::vector<PlotPoint>& points, const QPen& pen)
{
    if (pen.widthF() <= 1 || pen.isCosmetic() || pen.style() != Qt::SolidLine || pen.capStyle() != Qt::SquareCap ||
        pen.joinStyle() != Qt::BevelJoin || pen.brush().style() != Qt::SolidPattern || pen.color().alpha() != 255)
        return false;
    if (dc.testRenderHint(QPainter::Antialiasing) || dc.opacity() != 1.0 ||
        dc.compositionMode() != QPainter::CompositionMode_SourceOver)
        return false;
    QPaintDevice* device = dc.device();
    if (device == nullptr || device->devType() != QInternal::Image)
        return false;
    auto* image = static_cast<QImage*>(device);
    const QImage::Format format = image->format();
    if (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32 &&
        format != QImage::Format_ARGB32_Premultiplied)
        return false;
    const QTransform t = dc.deviceTransform();
    if (t.type() > QTransform::TxScale || t.m11() != t.m22() || t.m11() <= 0)
        return false;
    const QRect area = t.mapRect(QRectF(clip)).toAlignedRect() & image->rect();
    const PlotRect pixels{area.left(), area.top(), area.right() + 1, area.bottom() + 1};
    // The memory the painter itself draws into: bits() could detach a
    // shared image and leave the painter's copy untouched.
    auto* bits = reinterpret_cast<std::uint32_t*>(const_cast<uchar*>(image->constBits()));
    FillWidePolyline(points, PixelMapping{t.m11(), t.dx(), t.dy()}, pen.widthF(), pixels, pen.color().rgb(),
                     PixelRows{bits, image->bytesPerLine() / 4});
    return true;
}

} // namespace

void TQuarnPlot::UpdateDisplay(float seconds)
{
    if (m_Trace1 == nullptr || m_Spectrum == nullptr)
        return;
    if (!AdmitDisplayFrame(m_LastUpdateTime, seconds, m_Spectrum->IntervalFlag != 0, m_Spectrum->IntervalSecs))
        return;
    if (m_DataView != nullptr)
        m_DataView->InvalidateValues();
    if (m_PointCapacity == 0 || window()->isMinimized())
        return;
    ComputeTraces();
    PaintFrame();
}

bool TQuarnPlot::OctaveBars() const
{
    return m_Spectrum->PlotType == 1 && m_Scaling->FreqScaleType == ScalingOpts::kOctave;
}

void TQuarnPlot::ComputeTraces()
{
    if (m_Trace1 == nullptr || m_Spectrum == nullptr || m_PointCapacity == 0)
        return;
    for (int pane = 0; pane < PaneCountShown(); ++pane)
        ComputePaneTraces(pane);
}

const SpectralData* TQuarnPlot::ShownTrace(int pane)
{
    SpectralData* data = Trace(pane);
    if (data == nullptr || m_SmoothingWidth <= 1 || !CanSmooth() || data->IsOctaveMode())
        return data;
    // Smoothing rewrites the levels it reads: the readouts must keep the
    // spectrum as measured, and a hold smoothed in place would spread a
    // little further on every frame.
    std::unique_ptr<SpectralData>& copy = m_Smoothed[static_cast<std::size_t>(PaneIndex(pane))];
    if (copy == nullptr)
        copy = SpectralData::NewCopyTarget();
    if (!data->CopyResultsTo(*copy))
        return data;
    copy->SmoothAcrossBins(m_SmoothingWidth);
    return copy.get();
}

bool TQuarnPlot::ComputePaneTraces(int pane)
{
    const SpectralData* data = ShownTrace(pane);
    if (data == nullptr)
        return false;
    const PlotRect r = PaneRect(pane);
    AmplitudeMapping mapping(m_Scaling->AmpScaleType, EffectivePlotTop(), m_Spectrum->PlotRange,
                             IsCoherencePane(pane));
    const TraceStyle style{m_Spectrum->PlotType, m_Scaling->FreqScaleType == ScalingOpts::kOctave};
    const bool hold = m_Spectrum->PeakHold != 0;
    PaneTraces& traces = m_Panes[PaneIndex(pane)];
    // Two traces of a point a column each: a search among the rows beats a
    // logarithm per point.
    if (traces.Rows.Prepare(mapping, r.Height()))
        mapping.UseRowTable(&traces.Rows);

    bool computed = false;
    if (!style.Octave || style.PlotType == 1) {
        computed = ComputeTracePoints(m_Columns, r, style, mapping, LiveValues(*data), m_PointCapacity, traces.Live);
        if (hold)
            ComputeTracePoints(m_Columns, r, style, mapping, HeldValues(*data), m_PointCapacity, traces.Hold);
    } else {
        const BinFrequencyFn binFrequency = [data](int bin) {
            return data->GetBinFrequency(static_cast<std::uint32_t>(std::max(bin, 0)));
        };
        m_BandTable.Fill(*data, false);
        computed = ComputeTablePoints(m_BandTable, m_Columns, r, style, mapping, binFrequency, m_PointCapacity,
                                      traces.Live);
        if (hold) {
            m_BandTable.Fill(*data, true);
            ComputeTablePoints(m_BandTable, m_Columns, r, style, mapping, binFrequency, m_PointCapacity, traces.Hold);
        }
    }
    UpdatePowerMeter(pane);
    return computed;
}

void TQuarnPlot::UpdatePowerMeter(int pane)
{
    SpectralData* data = Trace(pane);
    if (data == nullptr || m_Spectrum->ShowPowerMeter == 0)
        return;
    const BinRange bins = PowerMeterBins(*data, *m_Scaling, m_Spectrum->StartFreq, m_Spectrum->StopFreq);
    const std::uint16_t scale = m_Scaling->AmpScaleType;
    const float power = data->GetBandPower(bins.First, bins.Last, scale, -1, false);
    const int height = PaneRect(pane).Height();
    PaneTraces& traces = m_Panes[PaneIndex(pane)];
    if (const auto live = PowerMeterHeight(power, scale, m_Spectrum->PlotTop, m_Spectrum->PlotRange, height))
        traces.MeterLive = *live;
    // The hold bar holds what the live bar shows, as the Peak Hold choice
    // holds the trace, and never stands below the live bar.
    const float heldPower = traces.MeterHeld.Update(power, scale, m_Spectrum->PeakHold, platform::SteadySeconds());
    const auto held = PowerMeterHeight(heldPower, scale, m_Spectrum->PlotTop, m_Spectrum->PlotRange, height);
    traces.MeterHold = std::max(traces.MeterLive, held.value_or(0));
}

void TQuarnPlot::PaintFrame()
{
    // A stale image is drawn whole here, from the points just computed.
    QImage& image = BackBuffer();
    QPainter dc(&image);
    dc.setRenderHint(QPainter::Antialiasing, false);
    const PlotRect client = ClientRect();
    // What is painted below, and no more: the plot's children beside the
    // panes stay as they are.
    QRegion dirty;
    for (int pane = 0; pane < PaneCountShown(); ++pane) {
        if (Trace(pane) == nullptr)
            continue;
        const PlotRect r = PaneRect(pane);
        const TraceExtents now = MeasureTraces(pane, r);
        const QRegion region = FrameRegion(pane, r, now);
        m_LastFrameRegion[PaneIndex(pane)] = region;
        dc.setClipRegion(region);
        PaintPaneContents(dc, pane, r, &now);
        dc.setClipping(false);
        dirty += region;
        if (m_Spectrum->ShowPowerMeter != 0) {
            const PlotRect bar = PowerMeterBar(r, false, 0);
            dc.fillRect(ToQRect(bar), ColorFromRef(m_Spectrum->BackgroundColor));
            DrawPowerMeterBars(dc, pane);
            dirty += ToQRect(bar);
        }
        if (m_Spectrum->ShowRMSLevel != 0) {
            // The readout shares its row with the title line: both again.
            const int top = r.top - m_LabelFontHeight - 3;
            dc.fillRect(QRect(r.left, top, r.Width(), m_LabelFontHeight + 2), m_BackgroundBrush);
            DrawTitleLine(dc, pane, client);
            DrawLevelReadout(dc, pane, client);
            // The text's own pixels may reach a little past the row.
            dirty += QRect(r.left - 2, top - 1, r.Width() + 4, m_LabelFontHeight + 4);
        }
    }
    dc.end();
    ShowBackBuffer(dirty);
    ++m_TraceFrames;
}

void TQuarnPlot::PaintPaneContents(QPainter& dc, int pane, const PlotRect& clip, const TraceExtents* measured)
{
    const PlotRect r = PaneRect(pane);
    const PaneTraces& traces = m_Panes[PaneIndex(pane)];
    PaintBackground(dc, r, clip);
    DrawVerticalGrid(dc, r, clip);
    DrawHorizontalGrid(dc, pane, clip);
    if (m_Spectrum->PeakHold != 0)
        DrawTrace(dc, r, clip, traces.Hold, m_Spectrum->PeakColor, kHoldTrace);
    DrawTrace(dc, r, clip, traces.Live, m_Spectrum->LineColor, kLiveTrace);
    // Bars would hide the grid: it goes over them.
    if (OctaveBars()) {
        DrawVerticalGrid(dc, r, clip);
        DrawHorizontalGrid(dc, pane, clip);
    }
    DrawOverlays(dc, pane, clip);
    DrawMarkers(dc, pane, clip);
    if (!m_Printing)
        m_Panes[PaneIndex(pane)].Drawn = measured != nullptr ? *measured : MeasureTraces(pane, r);
}

TraceExtents TQuarnPlot::MeasureTraces(int pane, const PlotRect& r) const
{
    // A two-pixel pen and its square caps reach two pixels past the line.
    constexpr int kPad = 2;
    const PaneTraces& traces = m_Panes[PaneIndex(pane)];
    TraceExtents extents;
    extents.Start(r);
    if (m_Spectrum->PeakHold != 0)
        extents.Add(traces.Hold, kPad);
    extents.Add(traces.Live, kPad);
    const int p = PaneIndex(pane);
    for (int n = 0; n < kOverlaySlots; ++n) {
        const SpectrumOverlayEntry& entry = m_Spectrum->Overlay[n];
        if ((p == 0 ? entry.Show1 : entry.Show2) != 0)
            extents.Add(m_Overlays[p][n].Points, kPad);
    }
    return extents;
}

QRegion TQuarnPlot::FrameRegion(int pane, const PlotRect& r, const TraceExtents& now) const
{
    bool markers = false;
    for (std::size_t m = 0; m_Markers != nullptr && m < MarkerOpts::kMarkerCount; ++m)
        markers = markers || m_Markers->MarkerEnable[m] != 0;
    // Bars reach down to the pane's bottom; markers and their labels move
    // with the trace: those frames repaint the whole pane.
    if (markers || m_Spectrum->PlotType != 0 || OctaveBars())
        return ToQRect(r);
    QRegion region;
    for (const PlotRect& rect : TraceExtents::Union(m_Panes[PaneIndex(pane)].Drawn, now))
        region += ToQRect(rect);
    return region;
}

void TQuarnPlot::DrawTrace(QPainter& dc, const PlotRect& clip, const PlotRect& update,
                           const std::vector<PlotPoint>& points, std::uint32_t colour, int traceId)
{
    if (points.empty() || (!m_Printing && !clip.Intersects(update)))
        return;
    dc.save();
    dc.setClipRect(ToQRect(clip));

    QColor ink = ColorFromRef(colour);
    QPen pen;
    if (m_Printing) {
        pen.setWidth(std::max(1, Paper(4)));
        if (IsColourPage(dc)) {
            if (colour == 0xFFFFFF)
                ink = ColorFromRef(0xC0C0C0);
        } else {
            ink = Qt::black;
            pen.setStyle(MonochromeTraceStyle(traceId));
        }
    } else {
        std::uint8_t thick = m_Spectrum->DrawThickOverlays;
        if (traceId == kLiveTrace)
            thick = m_Spectrum->DrawThickSpectrum;
        else if (traceId == kHoldTrace)
            thick = m_Spectrum->DrawThickPeakHold;
        pen.setWidth(thick == 1 ? 2 : 1);
    }
    pen.setColor(ink);
    dc.setPen(pen);

    const auto toPolygon = [&points] {
        QPolygon polygon(static_cast<int>(points.size()));
        for (std::size_t i = 0; i < points.size(); ++i)
            polygon.setPoint(static_cast<int>(i), points[i].x, points[i].y);
        return polygon;
    };

    const bool bars = traceId < 0 && OctaveBars();
    const bool barOutline = traceId < 0 && m_Spectrum->PlotType == 1 && !bars;
    if (barOutline && !m_Printing && pen.width() == 1) {
        // The outline of narrowband bars goes down to the bottom and up again
        // at every bar's edge; one line over the union of the two sets the
        // same pixels for half the work.
        DrawBarOutline(dc, points);
    } else if (m_Printing) {
        // Two halves that share their middle point, as a page's driver may
        // limit the length of one line.
        const QPolygon polygon = toPolygon();
        const int half = polygon.size() / 2;
        dc.drawPolyline(polygon.constData(), half + 1);
        dc.drawPolyline(polygon.constData() + half, polygon.size() - half);
    } else if (bars) {
        for (int bar = 0; bar < BarCount(points.size()); ++bar) {
            const PlotRect rect = BarRect(points, bar);
            dc.fillRect(QRect(rect.left + 1, rect.top, rect.Width() - 2, rect.Height()), ink);
        }
    } else if (!FillWideTrace(dc, ToQRect(clip), points, pen)) {
        dc.drawPolyline(toPolygon());
    }
    dc.restore();
}

void TQuarnPlot::DrawBarOutline(QPainter& dc, const std::vector<PlotPoint>& points)
{
    const int count = BarCount(points.size());
    if (count == 0)
        return;
    m_LineScratch.clear();
    const PlotRect first = BarRect(points, 0);
    m_LineScratch.push_back(QLine(first.left, first.top, first.left, first.bottom));
    for (int bar = 0; bar < count; ++bar) {
        const PlotRect r = BarRect(points, bar);
        m_LineScratch.push_back(QLine(r.left, r.top, r.right, r.top));
        int top = r.top;
        if (bar + 1 < count)
            top = std::min(top, BarRect(points, bar + 1).top);
        m_LineScratch.push_back(QLine(r.right, top, r.right, r.bottom));
    }
    dc.drawLines(m_LineScratch.data(), static_cast<int>(m_LineScratch.size()));
}

void TQuarnPlot::DrawMarkers(QPainter& dc, int pane, const PlotRect& clip)
{
    SpectralData* data = Trace(pane);
    const PlotRect r = PaneRect(pane);
    PaneTraces& traces = m_Panes[PaneIndex(pane)];
    traces.LabelBoxes.fill({});
    if (data == nullptr || m_Markers == nullptr || m_Columns.Empty())
        return;
    if (!m_Printing && (m_Columns.Count() < r.Width() || !r.Intersects(clip)))
        return;
    const AmplitudeMapping mapping(m_Scaling->AmpScaleType, EffectivePlotTop(), m_Spectrum->PlotRange,
                                   IsCoherencePane(pane));
    if (!mapping.IsValid())
        return;

    const bool thick = m_Spectrum->DrawThickMarkers != 0;
    // White markers, made for a dark screen, would vanish on white paper.
    const bool paperBlack = m_Printing && (!IsColourPage(dc) || m_Spectrum->MarkerColor == 0xFFFFFF);
    const QColor ink = paperBlack ? QColor(Qt::black) : ColorFromRef(m_Spectrum->MarkerColor);
    dc.save();
    // Labels stay inside the pane on paper too, clear of the title line.
    dc.setClipRect(ToQRect(r));
    dc.setPen(QPen(ink, m_Printing ? std::max(1, Paper(2)) : (thick ? 2 : 1)));
    dc.setBrush(Qt::NoBrush);
    const int fontHeight = m_LabelFontHeight + (thick ? 2 : 0);
    dc.setFont(ArialFont(fontHeight, dc.device()));
    const QFontMetrics metrics = dc.fontMetrics();
    const bool dB = m_Scaling->AmpScaleType == ScalingOpts::kLogarithmic;
    const bool useHold = m_Markers->PeakHoldFlag != 0 && m_Spectrum->PeakHold != 0;

    for (std::size_t m = 0; m < MarkerOpts::kMarkerCount; ++m) {
        if (m_Markers->MarkerEnable[m] == 0)
            continue;
        const float frequency = m_Markers->MarkerFreq[m];
        // Off the columns the marker stands far left of the pane, clipped away.
        const int column = m_Columns.FrequencyToColumn(frequency);
        const std::uint32_t bin = data->GetBinIndex(frequency);
        const float value = useHold ? data->GetHoldValue(bin) : data->GetValue(bin);
        const PlotPoint tip{r.left + column, r.bottom - mapping.Row(value, r.Height()) - 1};

        const auto triangle = MarkerTriangle(tip);
        QPolygon shape;
        for (const PlotPoint& p : triangle)
            shape << QPoint(p.x, p.y);
        dc.drawPolyline(shape);
        const bool labelled = m_Markers->LabelType[m] != 0;
        const QString text = labelled ? QString::fromStdString(MarkerLabelText(
                                            m_Markers->LabelType[m], frequency, value, dB,
                                            TextFieldView(m_Markers->CustomLabel[m])))
                                      : QString();
        const int textWidth = metrics.horizontalAdvance(text);
        // Inside the pane, on screen and on paper: a label cut at an edge
        // reads as another value.
        const PlotRect box = MarkerLabelBoxInPane(tip, fontHeight, textWidth, metrics.height(), r);
        // A label pushed down against the top edge shortens the stem under it.
        int stemTop = tip.y - marker_shape::kStemTop;
        if (labelled && box.bottom < tip.y)
            stemTop = std::max(stemTop, std::min(box.bottom + 1, tip.y - marker_shape::kTriangleHeight));
        dc.drawLine(tip.x, tip.y - marker_shape::kTriangleHeight, tip.x, stemTop);

        if (!labelled)
            continue;
        DrawTextAt(dc, box.left + 2, box.top, TextAnchor::Left, text);
        dc.drawPolyline(QPolygon({QPoint(box.left, box.top), QPoint(box.right, box.top), QPoint(box.right, box.bottom),
                                  QPoint(box.left, box.bottom), QPoint(box.left, box.top)}));
        traces.LabelBoxes[m] = box;
    }
    dc.restore();
}
