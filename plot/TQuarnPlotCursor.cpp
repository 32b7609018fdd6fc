// What the base's measurement cursor asks of TQuarnPlot: the frequency of a
// pixel column, the amplitude under the cursor, and where harmonics and
// sidebands of a cursor frequency fall.
#include "plot/TQuarnPlot.h"

#include "plot/AmplitudeMapping.h"
#include "plot/AxisNumberFormat.h"
#include "plot/PlotMarkLines.h"

#include "engine/ScalingOpts.h"
#include "engine/SpectralData.h"
#include "settings/SpectrumOpts.h"

#include <algorithm>
#include <cmath>

float TQuarnPlot::GetColumnFrequency(int x) const
{
    if (m_Trace1 == nullptr)
        return 0.0f;
    return m_Columns.ColumnFrequency(x - m_Areas.Plot.left);
}

std::int32_t TQuarnPlot::GetColumnBin(int x) const
{
    if (m_Trace1 == nullptr || m_Columns.Empty())
        return 0;
    return m_Columns.ColumnBin(x - m_Areas.Plot.left);
}

int TQuarnPlot::FrequencyToColumn(float frequency) const
{
    if (m_Trace1 == nullptr)
        return ColumnBinTable::kNoColumn;
    return m_Columns.FrequencyToColumn(frequency);
}

float TQuarnPlot::GetXValueAt(int x, int)
{
    return m_Trace1 == nullptr ? 0.0f : GetColumnFrequency(x);
}

float TQuarnPlot::GetYValueAt(int x, int y)
{
    const PlotRect pane = GetPlotRectAt(x, y);
    if (pane.IsEmpty() || m_Spectrum == nullptr || m_Scaling == nullptr)
        return 0.0f;
    const int paneIndex = m_PaneCount == 2 && pane == m_Areas.Pane2 ? 1 : 0;
    const SpectralData* data = Trace(paneIndex);

    float value = 0.0f;
    if (m_Spectrum->GrabCursorFlag != 0) {
        if (data != nullptr)
            value = data->GetMaxValue(GetColumnBin(x - 1), GetColumnBin(x));
    } else {
        const AmplitudeMapping mapping(m_Scaling->AmpScaleType, m_Spectrum->PlotTop, m_Spectrum->PlotRange,
                                       IsCoherencePane(paneIndex));
        value = mapping.ValueAt(pane.bottom - y, pane.Height());
    }
    if (m_Scaling->AmpScaleType == ScalingOpts::kLogarithmic)
        m_YFormat = 2;
    else
        m_YFormat = value < 0.01f ? axis_format::kExponent : 3;
    return value;
}

std::uint16_t TQuarnPlot::GetHarmonicCount(int x, int y)
{
    const float f = GetXValueAt(x, y);
    if (f == 0.0f || m_Spectrum == nullptr)
        return 0;
    return SaturatedHarmonicCount(static_cast<double>(m_Spectrum->StopFreq) / f);
}

PlotPoint TQuarnPlot::GetHarmonicPoint(std::uint16_t n, int x, int y)
{
    return {FrequencyToColumn(n * GetXValueAt(x, y)), y};
}

PlotPoint TQuarnPlot::GetUpperSidebandPoint(std::uint16_t n, int x1, int y1, int x2, int y2)
{
    const float f1 = GetXValueAt(x1, y1);
    const float d = std::fabs(GetXValueAt(x2, y2) - f1);
    return {FrequencyToColumn(f1 + n * d), y2};
}

PlotPoint TQuarnPlot::GetLowerSidebandPoint(std::uint16_t n, int x1, int y1, int x2, int y2)
{
    const float f1 = GetXValueAt(x1, y1);
    const float d = std::fabs(GetXValueAt(x2, y2) - f1);
    return {FrequencyToColumn(f1 - n * d), y2};
}

std::uint16_t TQuarnPlot::GetCursorAxis()
{
    return 0;
}

void TQuarnPlot::MoveCursorByKey(PlotPoint& point)
{
    SnapCursorPoint(point);
}

void TQuarnPlot::SnapCursorPoint(PlotPoint& point)
{
    if (m_Trace1 == nullptr || m_Spectrum == nullptr || m_Scaling == nullptr || m_Spectrum->GrabCursorFlag == 0)
        return;
    const PlotRect pane = GetPlotRectAt(point.x, point.y);
    if (pane.IsEmpty())
        return;
    const int paneIndex = m_PaneCount == 2 && pane == m_Areas.Pane2 ? 1 : 0;
    const SpectralData* data = Trace(paneIndex);
    if (data == nullptr)
        return;
    const float value = data->GetMaxValue(GetColumnBin(point.x - 1), GetColumnBin(point.x));
    const AmplitudeMapping mapping(m_Scaling->AmpScaleType, m_Spectrum->PlotTop, m_Spectrum->PlotRange,
                                   IsCoherencePane(paneIndex));
    point.y = std::clamp(pane.bottom - mapping.Row(value, pane.Height()), pane.top, pane.bottom - 1);
}
