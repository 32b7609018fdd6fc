// Creation, records, layout, reset view and the visible span of TQuarnPlot.
#include "plot/TQuarnPlot.h"

#include "plot/AmplitudeMapping.h"
#include "plot/AmplitudeTicks.h"
#include "plot/CDataView.h"
#include "plot/FrequencyTicks.h"
#include "plot/PlotScroll.h"
#include "plot/QuarnPlotLayout.h"
#include "plot/TracePoints.h"

#include "widgets/CToolBtn.h"
#include "engine/ScalingOpts.h"
#include "engine/SpectralData.h"
#include "engine/TProcessingSettings.h"
#include "settings/SpectrumOpts.h"

#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace {

constexpr std::size_t kTitleMax = 259;
// Paper distances are given as printer pixels at this resolution.
constexpr int kPaperReferenceDpi = 600;

// Channel modes whose lower pane (11, 12) or every pane (10) shows coherence.
constexpr std::uint16_t kCoherenceMode = 10;
constexpr std::uint16_t kTransferCoherenceLeftRight = 11;
constexpr std::uint16_t kTransferCoherenceRightLeft = 12;

} // namespace

TQuarnPlot::TQuarnPlot(QWidget* parent) : TPlotBase(parent)
{
    m_Margins.ToolStripHeight = quarn_layout::kToolStripHeight;
    m_Margins.Top = quarn_layout::kToolStripHeight + quarn_layout::kTitleBand;
    m_Margins.Left = quarn_layout::kLeftMargin;
    m_Margins.Right = quarn_layout::kBaseRightMargin;
    m_Margins.PaneGap = quarn_layout::kPaneGap;
    m_XLabelWidth = quarn_layout::kXLabelWidth;
    m_YLabelWidth = quarn_layout::kYLabelWidth;
    m_XFormat = 4;
    m_YFormat = 2;
    m_XUnit = " Hz";
    SetPaneCount(1);
    // The plot acts on its own commands; the owner hears every one too.
    connect(this, &TQuarnPlot::Command, this, &TQuarnPlot::OnCommand);
    connect(this, &TQuarnPlot::Command, this, [this](std::uint32_t id) { OnOverlayCommand(id); });
    connect(this, &TQuarnPlot::Command, this, &TQuarnPlot::OnDialogCommand);
}

// The controls are children of the window and go with it.
TQuarnPlot::~TQuarnPlot() = default;

bool TQuarnPlot::Create(std::string_view title, const QRect& rect, TProcessingSettings* settings,
                        ScalingOpts* scaling, MarkerOpts* markers, SpectrumOpts* spectrum, SpectralData* trace1,
                        SpectralData* trace2, int channel)
{
    if (settings == nullptr || scaling == nullptr || markers == nullptr || spectrum == nullptr)
        return false;
    m_Title = std::string(title.substr(0, std::min(title.size(), kTitleMax)));
    m_Settings = settings;
    m_Scaling = scaling;
    m_Markers = markers;
    m_Spectrum = spectrum;
    m_Trace1 = trace1;
    m_Trace2 = trace2;
    m_Channel = channel == 1 ? 1 : 0;
    m_TraceCount = trace1 != nullptr && trace2 != nullptr ? 2 : 1;
    ApplyMargins();
    m_Resetting = false;
    m_Creating = true;
    setGeometry(rect);
    InitResources();
    show();
    return true;
}

void TQuarnPlot::SetSpectralData(SpectralData* trace1, SpectralData* trace2)
{
    m_Trace1 = trace1;
    m_Trace2 = trace2;
    if (m_DataView != nullptr)
        m_DataView->SetSource(trace1, trace2);
    // The points were computed from the objects just let go.
    for (PaneTraces& pane : m_Panes) {
        pane.Live.clear();
        pane.Hold.clear();
    }
    InvalidatePlot();
}

void TQuarnPlot::SetIniPath(std::string path)
{
    m_IniPath = std::move(path);
}

void TQuarnPlot::ShowToolStrip(bool show)
{
    if (m_Spectrum == nullptr)
        return;
    m_Spectrum->ShowToolbar = show ? 1 : 0;
    m_Margins.ToolStripHeight = show ? quarn_layout::kToolStripHeight : 0;
    m_Margins.Top = m_Margins.ToolStripHeight + quarn_layout::kTitleBand;
    ShowToolStripControls(show);
    if (show)
        LayoutToolStrip();
    ResetView();
}

void TQuarnPlot::SetTimeAxis(bool)
{
    m_XUnit = " Hz";
}

void TQuarnPlot::SetFrequencyRange(float f1, float f2)
{
    if (m_Trace1 == nullptr || m_Spectrum == nullptr)
        return;
    const float low = m_Trace1->GetStartFrequency();
    const float high = m_Trace1->GetEndFrequency();
    f1 = std::max(f1, low);
    f2 = std::min(f2, high);
    if (!(f2 > f1)) {
        f1 = low;
        f2 = high;
    }
    m_SpanStart = static_cast<int>(m_Trace1->GetBinIndex(f1));
    m_SpanEnd = static_cast<int>(m_Trace1->GetBinIndex(f2));
    // The reset view takes the span from the record, so the record holds it.
    m_Spectrum->StartFreq = f1;
    m_Spectrum->StopFreq = f2;
    ResetView();
}

void TQuarnPlot::ApplyMargins()
{
    if (m_Spectrum == nullptr)
        return;
    const int strip = m_Margins.ToolStripHeight;
    m_Margins = QuarnScreenMargins(*m_Spectrum);
    // The strip's height follows ShowToolStrip, which also shows the controls.
    m_Margins.ToolStripHeight = strip;
    m_Margins.Top = strip + quarn_layout::kTitleBand;
}

void TQuarnPlot::ResetView()
{
    if (m_Creating || m_Resetting || m_Spectrum == nullptr)
        return;
    m_Resetting = true;

    ShowToolStrip(m_Spectrum->ShowToolbar != 0);
    ApplyMargins();
    m_TraceCount = m_Trace1 != nullptr && m_Trace2 != nullptr ? 2 : 1;
    SetPaneCount(m_TraceCount);
    SetFrequencyRange(m_Spectrum->StartFreq, m_Spectrum->StopFreq);
    ApplyFieldsForAmpScale(false);
    LatchPlotTypeButton();
    SyncPeakHoldList();

    TPlotBase::ResetView();

    CToolBtn* zoomMode = ToolButton(401);
    if (zoomMode != nullptr && zoomMode->IsLatched()) {
        zoomMode->ClearLatch();
        SetZoomMode(false);
    }
    PlaceCornerButtons();
    SyncOverlayShowBoxes();
    LayoutOverlayControls();
    ResetPointArrays();
    LoadOverlays();
    // The update at time 0: the panes are repainted whole below anyway.
    ComputeTraces();
    setWindowTitle(QString::fromStdString(m_Title));
    InvalidatePlot();
    m_Resetting = false;
}

void TQuarnPlot::UpdateScrollRange()
{
    if (m_Trace1 == nullptr) {
        m_ScrollMax = 0;
        return;
    }
    const int total = static_cast<int>(m_Trace1->GetEndBin()) - static_cast<int>(m_Trace1->GetStartBin());
    m_ScrollMax = std::max(0, total - (m_SpanEnd - m_SpanStart));
}

void TQuarnPlot::UpdateSpan()
{
    if (m_Trace1 == nullptr || m_Spectrum == nullptr) {
        m_Columns.Clear();
        m_FrequencyTicks.clear();
        m_AmplitudeTicks.clear();
        m_CoherenceTicks.clear();
        return;
    }
    const int dataFirst = static_cast<int>(m_Trace1->GetStartBin());
    const int dataLast = static_cast<int>(m_Trace1->GetEndBin());
    m_SpanStart = std::max(m_SpanStart, dataFirst);
    m_SpanEnd = std::min(m_SpanEnd, dataLast);
    if (m_SpanStart >= m_SpanEnd) {
        m_SpanStart = dataFirst;
        m_SpanEnd = dataLast;
    }

    // On paper the scroll bar and the buttons belong to the screen.
    if (!m_Printing) {
        const bool whole = m_SpanStart == dataFirst && m_SpanEnd == dataLast;
        if (whole) {
            HideScrollBar();
        } else {
            ShowScrollBar();
            // Positions count from the data's first bin, so every bin can be
            // scrolled to.
            if (ScrollBar() != nullptr)
                ScrollBar()->setValue(m_SpanStart - dataFirst);
        }
        for (std::uint32_t id : {401u, 403u})
            if (CToolBtn* button = ToolButton(id))
                button->ClearGreyed();
        for (std::uint32_t id : {404u, 402u})
            if (CToolBtn* button = ToolButton(id)) {
                if (whole)
                    button->SetGreyed();
                else
                    button->ClearGreyed();
            }
    }

    if (m_SpanStart == dataFirst)
        m_Spectrum->StartFreq = m_Trace1->GetStartFrequency();
    if (m_SpanEnd == dataLast)
        m_Spectrum->StopFreq = m_Trace1->GetEndFrequency();
    m_Spectrum->StopFreq = std::min(m_Spectrum->StopFreq, m_Trace1->GetEndFrequency());
    m_Spectrum->StartFreq = std::max(m_Spectrum->StartFreq, m_Trace1->GetStartFrequency());
    RebuildTables();
}

void TQuarnPlot::RebuildTables()
{
    const int width = m_Areas.Plot.Width();
    const SpectralData* data = m_Trace1;
    m_Columns.Build(m_Spectrum->StartFreq, m_Spectrum->StopFreq, width, m_Scaling->FreqScaleType,
                    [data](float f) { return data->GetBinIndex(f); });
    const int gap = m_Printing ? Paper(frequency_ticks::kPaperLabelGap) : frequency_ticks::kScreenLabelGap;
    // Measured in the font the axis draws with, so wide labels never touch.
    const QFontMetrics metrics = m_Printing ? QFontMetrics(m_LabelFont, m_PageDevice) : QFontMetrics(m_LabelFont);
    const LabelWidthFn labelWidth = [&metrics](const std::string& label) {
        return metrics.horizontalAdvance(QString::fromStdString(label));
    };
    m_FrequencyTicks = BuildFrequencyTicks(m_Spectrum->StartFreq, m_Spectrum->StopFreq,
                                           m_Scaling->FreqScaleType == ScalingOpts::kFftLinear, width, gap, m_Columns,
                                           labelWidth);
    BuildAmplitudeTicks();
    m_CoherenceTicks = BuildCoherenceTicks(PaneRect(0).Height());
}

void TQuarnPlot::BuildAmplitudeTicks()
{
    const int height = PaneRect(0).Height();
    const int gap = m_Printing ? Paper(amplitude_ticks::kPaperLabelGap) : amplitude_ticks::kScreenLabelGap;
    switch (m_Scaling->AmpScaleType) {
    case ScalingOpts::kLogMagnitude:
        m_AmplitudeTicks = BuildLogTicks(m_Spectrum->PlotTop, m_Spectrum->PlotRange, height, gap);
        break;
    case ScalingOpts::kLogarithmic:
        m_AmplitudeTicks = BuildLinearDbTicks(m_Spectrum->PlotTop, m_Spectrum->PlotRange, true, height, gap);
        break;
    default: {
        const float top = EffectivePlotTop();
        m_AmplitudeTicks = BuildLinearDbTicks(top, top, false, height, gap);
        break;
    }
    }
}

void TQuarnPlot::ResetPointArrays()
{
    m_PointCapacity = std::max(0, trace_points::kPointsPerColumn * m_Areas.Plot.Width());
    for (PaneTraces& pane : m_Panes) {
        pane.Live.clear();
        pane.Hold.clear();
        pane.Live.reserve(static_cast<std::size_t>(m_PointCapacity));
        pane.Hold.reserve(static_cast<std::size_t>(m_PointCapacity));
        pane.LabelBoxes.fill({});
        pane.MeterHeld.Reset();
    }
}

void TQuarnPlot::LayoutPlotAreas(QPainter& dc, PrintOpts options)
{
    QPaintDevice* device = dc.device();
    if (device == nullptr)
        return;
    m_PageDevice = device;
    m_PageDpiX = device->logicalDpiX();
    m_PageDpiY = device->logicalDpiY();
    m_Areas = PrintedPlotAreas(device->width(), device->height(), m_PageDpiX, m_PageDpiY, options, PaneCountShown());
    // The tables again for the page's width and height, and the traces.
    UpdateSpan();
    ResetPointArrays();
    LoadOverlays();
    ComputeTraces();
}

int TQuarnPlot::Paper(int pixelsAt600) const
{
    return pixelsAt600 * m_PageDpiY / kPaperReferenceDpi;
}

PlotRect TQuarnPlot::PaneRect(int pane) const
{
    if (m_PaneCount != 2)
        return m_Areas.Plot;
    return pane == 1 ? m_Areas.Pane2 : m_Areas.Pane1;
}

bool TQuarnPlot::IsCoherencePane(int pane) const
{
    if (m_Settings == nullptr)
        return false;
    const std::uint16_t mode = m_Settings->ChannelProcessing;
    if (mode == kCoherenceMode)
        return true;
    return pane == 1 && (mode == kTransferCoherenceLeftRight || mode == kTransferCoherenceRightLeft);
}

float TQuarnPlot::EffectivePlotTop()
{
    if (m_Scaling->AmpScaleType == ScalingOpts::kLinear)
        m_Spectrum->PlotTop = AmplitudeMapping::UsableLinearTop(m_Spectrum->PlotTop);
    return m_Spectrum->PlotTop;
}

void TQuarnPlot::resizeEvent(QResizeEvent* event)
{
    TPlotBase::resizeEvent(event);
    if (m_Creating || m_Spectrum == nullptr)
        return;
    LayoutToolStrip();
    LayoutOverlayControls();
}

void TQuarnPlot::OnHScroll(int code, int position)
{
    QScrollBar* bar = ScrollBar();
    if (m_Trace1 == nullptr || bar == nullptr || m_Spectrum == nullptr)
        return;
    const auto span = static_cast<std::uint32_t>(std::max(0, m_SpanEnd - m_SpanStart));
    const auto target = ScrollTargetPosition(code, bar->value(), span, position);
    if (!target)
        return;
    bar->setValue(ClampScrollPosition(*target, bar->maximum()));
    const int first = static_cast<int>(m_Trace1->GetStartBin()) + bar->value();
    const int last = first + static_cast<int>(span);
    m_SpanStart = first;
    m_SpanEnd = last;
    m_Spectrum->StartFreq = m_Trace1->GetBinFrequency(static_cast<std::uint32_t>(first));
    m_Spectrum->StopFreq = m_Trace1->GetBinFrequency(static_cast<std::uint32_t>(last));
    ResetView();
}
