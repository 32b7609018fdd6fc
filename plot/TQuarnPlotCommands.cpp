// The spectrum plot's commands: zoom and span, the plot-top and plot-range
// fields with their spinners, the peak-hold list, the graph styles,
// autoscale, markers, clearing and the corner buttons. Each command that
// changes what is shown ends with an update at time 0 (past the display
// interval) and a redraw; one that changes the span ends with a reset view.
#include "plot/TQuarnPlot.h"

#include "plot/PlotAutoscale.h"
#include "plot/PlotFieldRules.h"
#include "plot/PlotZoom.h"
#include "plot/TLimitScroll.h"

#include "widgets/CToolBtn.h"
#include "engine/ScalingOpts.h"
#include "engine/SpectralData.h"
#include "settings/MarkerOpts.h"
#include "settings/SpectrumOpts.h"

#include "platform/NumberText.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>

#include <algorithm>

namespace {

constexpr std::uint32_t kZoomInMode = 401;
constexpr std::uint32_t kZoomFull = 402;
constexpr std::uint32_t kZoomIn2x = 403;
constexpr std::uint32_t kZoomOut2x = 404;
constexpr std::uint32_t kPlotTopField = 450;
constexpr std::uint32_t kPlotRangeField = 452;
constexpr std::uint32_t kStyleLine = 471;
constexpr std::uint32_t kStyleStepBar = 473;
constexpr std::uint32_t kAutoscaleButton = 480;
constexpr std::uint32_t kPeakHoldList = 510;
constexpr std::uint32_t kCopyAsText = 802;
constexpr std::uint32_t kSetMarker1 = 811;
constexpr std::uint32_t kSetMarker6 = 816;
constexpr std::uint32_t kClearSpectrum = 818;
constexpr std::uint32_t kClearPeakHold = 819;
constexpr std::uint32_t kAutoscaleMenu = 820;
constexpr std::uint32_t kSetMarker7 = 822;
constexpr std::uint32_t kSetMarker8 = 823;
constexpr std::uint32_t kClearMarker1 = 851;
constexpr std::uint32_t kClearMarker8 = 858;
constexpr std::uint32_t kClearAllMarkers = 859;
constexpr std::uint32_t kPullCursor = 870;
constexpr std::uint32_t kSmoothing1 = 830;
constexpr std::uint32_t kSmoothing15 = 837;
constexpr std::uint32_t kCopyBitmap = 1502;
constexpr std::uint32_t kCopyCursorValues = 1503;
constexpr std::uint32_t kCornerToolStrip = 1410;
constexpr std::uint32_t kCornerPowerMeter = 1411;
constexpr std::uint32_t kCornerOverlays = 1412;
constexpr std::uint32_t kWriteTextFile = 1520;
constexpr int kMarkers = static_cast<int>(MarkerOpts::kMarkerCount);

} // namespace

void TQuarnPlot::OnCommand(std::uint32_t id)
{
    if (id >= kSmoothing1 && id <= kSmoothing15) {
        SetSmoothingWidth(1 + 2 * static_cast<int>(id - kSmoothing1));
        return;
    }
    if (id >= kSetMarker1 && id <= kSetMarker6) {
        SetMarker(static_cast<int>(id - kSetMarker1));
        return;
    }
    if (id >= kClearMarker1 && id <= kClearMarker8) {
        ClearMarker(static_cast<int>(id - kClearMarker1));
        return;
    }
    if (id >= kStyleLine && id <= kStyleStepBar) {
        // Buttons 471, 472, 473 are the line, bar and stepped-bar styles.
        SetPlotType(static_cast<std::uint16_t>(id - kStyleLine));
        return;
    }
    switch (id) {
    case kZoomInMode: OnZoomInMode(); break;
    case kZoomFull: OnZoomFull(); break;
    case kZoomIn2x: OnZoomIn2x(); break;
    case kZoomOut2x: OnZoomOut2x(); break;
    case kPlotTopField: OnPlotTopChanged(); break;
    case kPlotRangeField: OnPlotRangeChanged(); break;
    case kAutoscaleButton:
    case kAutoscaleMenu: Autoscale(); break;
    case kPeakHoldList: OnPeakHoldChanged(); break;
    case kCopyAsText: CopyAsText(); break;
    case kWriteTextFile: WriteTextFile(); break;
    case kCopyBitmap: OnCopyBitmap(); break;
    case kCopyCursorValues: CopyCursorValues(); break;
    case kClearSpectrum: OnClearSpectrum(); break;
    case kClearPeakHold: OnClearPeakHold(); break;
    case kPullCursor: OnPullCursorToTrace(); break;
    case kSetMarker7: SetMarker(6); break;
    case kSetMarker8: SetMarker(7); break;
    case kClearAllMarkers:
        for (int m = 0; m < kMarkers; ++m)
            ClearMarker(m);
        break;
    case kCornerToolStrip:
    case kCornerPowerMeter:
    case kCornerOverlays: {
        if (m_Creating || m_Resetting || m_Spectrum == nullptr)
            break;
        std::uint8_t& flag = id == kCornerToolStrip    ? m_Spectrum->ShowToolbar
                             : id == kCornerPowerMeter ? m_Spectrum->ShowPowerMeter
                                                       : m_Spectrum->ShowOverlayControls;
        flag = flag != 0 ? 0 : 1;
        ResetView();
        if (id != kCornerToolStrip)
            if (CToolBtn* zoom = ToolButton(kZoomInMode))
                zoom->setFocus();
        break;
    }
    default:
        break;  // the owner's
    }
}

// ---- Zoom and span ---------------------------------------------------------

bool TQuarnPlot::ApplySpan(std::uint32_t first, std::uint32_t last)
{
    if (m_Trace1 == nullptr || m_Spectrum == nullptr)
        return false;
    m_SpanStart = static_cast<int>(first);
    m_SpanEnd = static_cast<int>(last);
    m_Spectrum->StartFreq = m_Trace1->GetBinFrequency(first);
    m_Spectrum->StopFreq = m_Trace1->GetBinFrequency(last);
    ResetView();
    return true;
}

void TQuarnPlot::OnZoomInMode()
{
    CToolBtn* button = ToolButton(kZoomInMode);
    if (button == nullptr)
        return;
    if (button->IsLatched()) {
        button->ClearLatch();
        SetZoomMode(false);
    } else {
        ClearSelection();
        SetZoomMode(true);
        button->SetLatch();
    }
}

namespace {

bool Greyed(const CToolBtn* button)
{
    return button != nullptr && button->IsGreyed();
}

} // namespace

void TQuarnPlot::OnZoomIn2x()
{
    if (m_Trace1 == nullptr || Greyed(ToolButton(kZoomIn2x)))
        return;
    if (const auto span = plot_zoom::ZoomIn2x({m_SpanStart, m_SpanEnd}))
        ApplySpan(static_cast<std::uint32_t>(span->First), static_cast<std::uint32_t>(span->Last));
}

void TQuarnPlot::OnZoomOut2x()
{
    if (m_Trace1 == nullptr || Greyed(ToolButton(kZoomOut2x)))
        return;
    const BinSpan data{static_cast<int>(m_Trace1->GetStartBin()), static_cast<int>(m_Trace1->GetEndBin())};
    if (const auto span = plot_zoom::ZoomOut2x({m_SpanStart, m_SpanEnd}, data))
        ApplySpan(static_cast<std::uint32_t>(span->First), static_cast<std::uint32_t>(span->Last));
}

void TQuarnPlot::OnZoomFull()
{
    if (m_Trace1 == nullptr || Greyed(ToolButton(kZoomFull)))
        return;
    const BinSpan data{static_cast<int>(m_Trace1->GetStartBin()), static_cast<int>(m_Trace1->GetEndBin())};
    if (const auto span = plot_zoom::ZoomFull({m_SpanStart, m_SpanEnd}, data))
        ApplySpan(static_cast<std::uint32_t>(span->First), static_cast<std::uint32_t>(span->Last));
}

void TQuarnPlot::ZoomToRect(const PlotRect& zoomRect)
{
    if (m_Trace1 == nullptr || m_Spectrum == nullptr)
        return;
    const int left = std::min(zoomRect.left, zoomRect.right);
    const int right = std::max(zoomRect.left, zoomRect.right);
    const float f1 = GetColumnFrequency(left);
    const float f2 = GetColumnFrequency(right);
    const auto bins = plot_zoom::ZoomToBins(static_cast<int>(m_Trace1->GetBinIndex(f1)),
                                            static_cast<int>(m_Trace1->GetBinIndex(f2)));
    if (!bins)
        return;  // too narrow: zoom mode stays on for another try
    m_SpanStart = bins->First;
    m_SpanEnd = bins->Last;
    m_Spectrum->StartFreq = f1;
    m_Spectrum->StopFreq = f2;
    ResetView();
    if (CToolBtn* button = ToolButton(kZoomInMode))
        button->ClearLatch();
    TPlotBase::ZoomToRect(zoomRect);
}

// ---- Fields and spinners ---------------------------------------------------

void TQuarnPlot::ConfigureSpinner(TLimitScroll* spinner, const SpinSetup& setup)
{
    if (spinner == nullptr)
        return;
    spinner->SetRange(setup.Maximum, setup.Minimum);
    spinner->SetStep(setup.Step, setup.Multiply ? LimitStep::kMultiply : LimitStep::kAdd);
    spinner->SetPrecision(setup.Decimals);
}

void TQuarnPlot::AfterAmplitudeChange()
{
    BuildAmplitudeTicks();
    // Overlays stand on the amplitude axis too.
    LoadOverlays();
    UpdateDisplay(0.0f);
    InvalidatePlot();
}

void TQuarnPlot::OnPlotTopChanged()
{
    if (m_Creating || m_Resetting || m_Spectrum == nullptr || m_Scaling == nullptr || m_TopEdit == nullptr)
        return;
    const plot_fields::FieldChange change = plot_fields::PlotTopChanged(
        m_Scaling->AmpScaleType, m_TopEdit->text().toStdString(), m_Spectrum->PlotRange);
    if (!change.Stored)
        return;
    m_TopSpinSetup = change.Spin;
    ConfigureSpinner(m_TopSpin, m_TopSpinSetup);
    m_Spectrum->PlotTop = *change.Stored;
    AfterAmplitudeChange();
}

void TQuarnPlot::OnPlotRangeChanged(bool finished)
{
    if (m_Creating || m_Resetting || m_Spectrum == nullptr || m_Scaling == nullptr || m_RangeEdit == nullptr)
        return;
    const plot_fields::FieldChange change = plot_fields::PlotRangeChanged(
        m_Scaling->AmpScaleType, m_RangeEdit->text().toStdString(), m_Spectrum->PlotTop);
    if (!change.Stored)
        return;
    m_RangeSpinSetup = change.Spin;
    ConfigureSpinner(m_RangeSpin, m_RangeSpinSetup);
    m_Spectrum->PlotRange = *change.Stored;
    if (change.FieldText && finished) {
        const QSignalBlocker quiet(m_RangeEdit);
        m_RangeEdit->setText(QString::fromStdString(*change.FieldText));
    }
    AfterAmplitudeChange();
}

void TQuarnPlot::StepField(bool topField, bool up)
{
    TLimitScroll* spin = topField ? m_TopSpin : m_RangeSpin;
    if (spin == nullptr || !spin->isEnabled())
        return;
    // The spinner writes the field and reports the step as a field command.
    if (up)
        spin->StepUp();
    else
        spin->StepDown();
}

// ---- Peak hold, styles, autoscale -------------------------------------------

void TQuarnPlot::OnPeakHoldChanged()
{
    if (m_Creating || m_Spectrum == nullptr || m_PeakHoldList == nullptr)
        return;
    const auto mode = static_cast<std::uint16_t>(m_PeakHoldList->currentData().toInt() & 0xFFFF);
    if (mode == m_Spectrum->PeakHold)
        return;
    m_Spectrum->PeakHold = mode;
    for (SpectralData* data : {m_Trace1, m_Trace2})
        if (data != nullptr)
            data->SetPeakHoldMode(mode);
    for (PaneTraces& pane : m_Panes)
        pane.Hold.clear();
    UpdateDisplay(0.0f);
    InvalidatePlot();
}

void TQuarnPlot::SetPlotType(std::uint16_t type)
{
    if (m_Spectrum == nullptr || type > SpectrumOpts::kLastPlotType)
        return;
    m_Spectrum->PlotType = type;
    LatchPlotTypeButton();
    ResetView();
    UpdateDisplay(0.0f);
    InvalidatePlot();
}

bool TQuarnPlot::ComputeAutoscale(const SpectralData* data, std::uint32_t first, std::uint32_t last, float& top,
                                  float& bottom) const
{
    if (data == nullptr || m_Spectrum == nullptr)
        return false;
    // The traces count in the visible bins only. While the power meter is
    // shown its total power (and the held one, with peak hold on) counts
    // too, so that its bar fits under the top.
    float max = 100.0f;
    if (m_Spectrum->PeakHold != 0)
        max = data->GetHoldMax(static_cast<int>(first), static_cast<int>(last));
    else
        data->FindPeak(first, last, nullptr, &max, 0);
    if (m_Spectrum->ShowPowerMeter != 0) {
        if (m_Spectrum->PeakHold != 0)
            max = std::max(max, data->GetHoldTotalPower());
        max = std::max(max, data->GetTotalPower());
    }
    float min = 0.0f;
    data->FindMinimum(first, last, nullptr, &min);
    const auto ends = plot_autoscale::RoundedEnds(data->GetAmpScaleType(), max, min, bottom);
    if (!ends)
        return false;
    top = ends->Top;
    bottom = ends->Bottom;
    return true;
}

void TQuarnPlot::Autoscale()
{
    if (m_Trace1 == nullptr || m_Spectrum == nullptr || (m_PaneCount == 2 && m_Trace2 == nullptr))
        return;
    const auto first = static_cast<std::uint32_t>(m_SpanStart);
    const auto last = static_cast<std::uint32_t>(m_SpanEnd);
    float top = 0.0f;
    float bottom = m_Spectrum->PlotTop - m_Spectrum->PlotRange;
    if (!ComputeAutoscale(m_Trace1, first, last, top, bottom))
        return;
    if (m_PaneCount == 2) {
        float top2 = 0.0f;
        float bottom2 = bottom;
        if (!ComputeAutoscale(m_Trace2, first, last, top2, bottom2))
            return;
        top = std::max(top, top2);
        bottom = std::min(bottom, bottom2);
    }
    const plot_autoscale::PlotScale scale =
        plot_autoscale::ScaleFromEnds(m_Trace1->GetAmpScaleType(), {top, bottom}, m_Spectrum->PlotRange);
    m_Spectrum->PlotTop = scale.PlotTop;
    m_Spectrum->PlotRange = scale.PlotRange;
    ResetView();
}

// ---- Markers and clearing ----------------------------------------------------

bool TQuarnPlot::CanSmooth() const
{
    return m_Scaling != nullptr && m_Scaling->AmpScaleType == ScalingOpts::kLogarithmic &&
           m_Scaling->FreqScaleType != ScalingOpts::kOctave;
}

void TQuarnPlot::SetSmoothingWidth(int lines)
{
    // Odd widths only: the line itself and as many on either side.
    lines = std::clamp(lines, 1, 15) | 1;
    if (lines == m_SmoothingWidth)
        return;
    m_SmoothingWidth = lines;
    if (lines == 1)
        m_Smoothed = {};
    UpdateDisplay(0.0f);
    InvalidatePlot();
}

TQuarnPlot::CalibrationPoint TQuarnPlot::RelativeCalibrationPoint() const
{
    CalibrationPoint point;
    point.Channel = m_Channel;
    if (m_PaneCount == 2 && PaneRect(1).Contains(m_RightClick))
        point.Channel = 1;
    point.Bin = GetColumnBin(m_RightClick.x);
    return point;
}

void TQuarnPlot::OnClearSpectrum()
{
    for (SpectralData* data : {m_Trace1, m_Trace2})
        if (data != nullptr)
            data->ClearSpectrum();
    UpdateDisplay(0.0f);
    InvalidatePlot();
}

void TQuarnPlot::OnClearPeakHold()
{
    for (SpectralData* data : {m_Trace1, m_Trace2})
        if (data != nullptr)
            data->ClearHold();
    for (PaneTraces& pane : m_Panes)
        pane.Hold.clear();
    UpdateDisplay(0.0f);
    InvalidatePlot();
}

void TQuarnPlot::OnPullCursorToTrace()
{
    if (m_Spectrum != nullptr)
        m_Spectrum->GrabCursorFlag = m_Spectrum->GrabCursorFlag == 1 ? 0 : 1;
}

void TQuarnPlot::SetMarker(int m)
{
    if (m_Markers == nullptr || m < 0 || m >= kMarkers)
        return;
    m_Markers->MarkerFreq[m] = GetColumnFrequency(m_RightClick.x);
    m_Markers->MarkerEnable[m] = 1;
    UpdateDisplay(0.0f);
    InvalidatePlot(m_Areas.Plot);
}

void TQuarnPlot::ClearMarker(int m)
{
    if (m_Markers == nullptr || m < 0 || m >= kMarkers)
        return;
    m_Markers->MarkerEnable[m] = 0;
    UpdateDisplay(0.0f);
    InvalidatePlot(m_Areas.Plot);
}
