// The overlays of TQuarnPlot: the commands of the overlay column (Set, On,
// the composite's "C" and Options...), storing a spectrum in a slot file,
// building the composite file, loading the shown slots into point arrays
// for the pane, and drawing them. The files and tables themselves are the
// plain code of plot/overlay.
#include "plot/TQuarnPlot.h"

#include "plot/AmplitudeMapping.h"
#include "plot/PlotColours.h"
#include "plot/TCompositeOverlayDialog.h"
#include "plot/TLimitScroll.h"
#include "plot/TOverlayDialog.h"
#include "plot/TOverlaySourceSelectDialog.h"
#include "plot/TablePoints.h"
#include "plot/overlay/OverlaySlots.h"

#include "engine/ScalingOpts.h"
#include "engine/SpectralData.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "settings/DataPaths.h"
#include "settings/SpectrumOpts.h"

#include <QApplication>
#include <QCheckBox>
#include <QPainter>
#include <QTimer>

#include <algorithm>

namespace {

constexpr std::uint32_t kFirstStore[2] = {1201, 1211};
constexpr std::uint32_t kFirstShow[2] = {1221, 1231};
constexpr std::uint32_t kOptions[2] = {1400, 1401};
constexpr int kCompositeSlot = overlay_slots::kCompositeSlot;

// Whether the last store asked for took the peak hold; kept for the run.
bool g_StoreFromPeakHold = false;

// A table as the point generation reads it.
class OverlayPointTable : public TracePointTable {
public:
    explicit OverlayPointTable(const TOverlayData& table) : m_Table(table) {}
    float GetValueAt(float frequency) const override { return m_Table.GetValueAt(frequency); }
    float GetBandValue(float f1, float f2) const override { return m_Table.GetBandValue(f1, f2); }
    bool IsStraightLine() const override { return m_Table.IsSplineOff(); }

private:
    const TOverlayData& m_Table;
};

// A wait cursor while files are read and written.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace

void TQuarnPlot::SetDataPaths(const DataPaths* configured, DataPaths* inUse)
{
    m_DataPaths = configured;
    m_DataPathsInUse = inUse;
    m_OverlayFolder = configured != nullptr ? std::string(configured->Get(DataPaths::kOverlay)) : std::string();
    LoadOverlays();
    InvalidatePlot();
}

bool TQuarnPlot::OnOverlayCommand(std::uint32_t id)
{
    if (m_Creating || m_Resetting)
        return false;
    for (int p = 0; p < 2; ++p) {
        const int pane = p + 1;
        if (id >= kFirstStore[p] && id < kFirstStore[p] + kOverlaySlots) {
            const int slot = static_cast<int>(id - kFirstStore[p]);
            if (slot == kCompositeSlot)
                SetupCompositeOverlay(pane, true);
            else
                StoreOverlay(pane, slot, true, false);
            return true;
        }
        if (id >= kFirstShow[p] && id < kFirstShow[p] + kOverlaySlots) {
            ToggleOverlay(pane, static_cast<int>(id - kFirstShow[p]));
            return true;
        }
        if (id == kOptions[p]) {
            OnOverlayOptions(pane);
            return true;
        }
    }
    return false;
}

bool TQuarnPlot::OverlayPaneUsable(int pane) const
{
    return m_Spectrum != nullptr && (pane == 1 || (pane == 2 && m_PaneCount == 2));
}

std::uint8_t& TQuarnPlot::OverlayShowFlag(int pane, int slot)
{
    SpectrumOverlayEntry& entry = m_Spectrum->Overlay[slot];
    return pane == 2 ? entry.Show2 : entry.Show1;
}

CompositeSetup TQuarnPlot::PaneCompositeSetup(int pane) const
{
    const SpectrumOpts& o = *m_Spectrum;
    CompositeSetup s;
    const bool lower = pane == 2;
    s.CompositeType = lower ? o.CompositeType2 : o.CompositeType1;
    std::copy_n(lower ? o.IncludeInAverage2 : o.IncludeInAverage1, 7, s.IncludeInAverage);
    s.DifferenceIndex1 = lower ? o.DifferenceIndex2_1 : o.DifferenceIndex1_1;
    s.DifferenceIndex2 = lower ? o.DifferenceIndex2_2 : o.DifferenceIndex1_2;
    return s;
}

void TQuarnPlot::SetPaneCompositeSetup(int pane, const CompositeSetup& s)
{
    SpectrumOpts& o = *m_Spectrum;
    const bool lower = pane == 2;
    (lower ? o.CompositeType2 : o.CompositeType1) = s.CompositeType;
    std::copy_n(s.IncludeInAverage, 7, lower ? o.IncludeInAverage2 : o.IncludeInAverage1);
    (lower ? o.DifferenceIndex2_1 : o.DifferenceIndex1_1) = s.DifferenceIndex1;
    (lower ? o.DifferenceIndex2_2 : o.DifferenceIndex1_2) = s.DifferenceIndex2;
}

void TQuarnPlot::StoreOverlay(int pane, int slot, bool ask, bool fromPeakHold)
{
    if (slot < 0 || slot >= overlay_slots::kStoredSlots || !OverlayPaneUsable(pane))
        return;
    SpectralData* data = Trace(pane - 1);
    if (data == nullptr)
        return;
    if (m_DataPaths != nullptr)
        m_OverlayFolder = std::string(m_DataPaths->Get(DataPaths::kOverlay));
    // An empty folder is refused with the same message as a missing one.
    if (!FolderExists(m_OverlayFolder.c_str(), 1))
        return;

    if (m_Spectrum->PeakHold == 0) {
        g_StoreFromPeakHold = false;
    } else if (fromPeakHold) {
        g_StoreFromPeakHold = true;
    } else if (ask) {
        std::uint8_t choice = g_StoreFromPeakHold ? 1 : 0;
        TOverlaySourceSelectDialog dialog(this, &choice);
        if (dialog.exec() != QDialog::Accepted)
            return;
        g_StoreFromPeakHold = choice == 1;
    }
    const bool hold = g_StoreFromPeakHold && m_Spectrum->PeakHold != 0;

    {
        WaitCursor wait;
        const float offset = pane == 2 ? m_Spectrum->Overlay[slot].Offset2 : m_Spectrum->Overlay[slot].Offset1;
        if (!overlay_slots::StoreSpectrum(m_OverlayFolder, m_Channel, pane, slot, *data, offset, hold)) {
            platform::ShowMessageBox("The overlay file \"" +
                                         overlay_slots::SlotPath(m_OverlayFolder, m_Channel, pane, slot) +
                                         "\" could not be written.",
                                     platform::MessageIcon::Error);
            return;
        }
        OverlayShowFlag(pane, slot) = 1;
        if (QCheckBox* box = m_Show[pane - 1][slot])
            box->setChecked(true);
        LoadOverlays();
    }
    InvalidateOverlayPane(pane);
}

void TQuarnPlot::SetupCompositeOverlay(int pane, bool ask)
{
    if (!OverlayPaneUsable(pane))
        return;
    if (ask) {
        CompositeSetup setup = PaneCompositeSetup(pane);
        TCompositeOverlayDialog dialog(this, &setup, [this](int context) { emit HelpRequested(context); });
        if (dialog.exec() != QDialog::Accepted)
            return;
        SetPaneCompositeSetup(pane, setup);
    }
    OverlayShowFlag(pane, kCompositeSlot) = 1;
    if (QCheckBox* box = m_Show[pane - 1][kCompositeSlot])
        box->setChecked(true);
    if (ask && Trace(pane - 1) != nullptr && !m_OverlayFolder.empty() && !BuildCompositeOverlay(pane))
        platform::ShowMessageBox("The composite overlay could not be formed: it needs two different overlays that "
                                 "hold data. The composite file is unchanged.",
                                 platform::MessageIcon::Error);
    ToggleOverlay(pane, kCompositeSlot);
}

bool TQuarnPlot::BuildCompositeOverlay(int pane)
{
    if (!OverlayPaneUsable(pane) || OverlayShowFlag(pane, kCompositeSlot) == 0 || m_OverlayFolder.empty())
        return false;
    const SpectralData* data = Trace(pane - 1);
    if (data == nullptr)
        return false;
    std::array<float, overlay_slots::kStoredSlots> offsets{};
    for (int n = 0; n < overlay_slots::kStoredSlots; ++n)
        offsets[n] = pane == 2 ? m_Spectrum->Overlay[n].Offset2 : m_Spectrum->Overlay[n].Offset1;
    const overlay_slots::LoadStyle style{data->GetFreqScaleType(),
                                         m_Scaling->AmpScaleType == ScalingOpts::kLogMagnitude};
    SyncOverlayFolder();
    const bool built = m_OverlayFiles.BuildComposite(pane, *data, offsets, style, PaneCompositeSetup(pane));
    QueueOverlayReports();
    return built;
}

void TQuarnPlot::ToggleOverlay(int pane, int slot)
{
    if (slot < 0 || slot >= kOverlaySlots || !OverlayPaneUsable(pane))
        return;
    const QCheckBox* box = m_Show[pane - 1][slot];
    const bool shown = box != nullptr ? box->isChecked() : OverlayShowFlag(pane, slot) != 0;
    OverlayShowFlag(pane, slot) = shown ? 1 : 0;
    if (slot == kCompositeSlot) {
        // The composite is built from the others as they stand.
        LoadOverlays();
    } else if (shown) {
        LoadOverlay(pane, slot);
        RefreshOverlayTitles();
    } else {
        UnloadOverlay(pane, slot);
    }
    InvalidateOverlayPane(pane);
}

void TQuarnPlot::UnloadOverlay(int pane, int slot)
{
    OverlaySlotState& state = m_Overlays[pane - 1][slot];
    state.Table = nullptr;
    state.Points.clear();
    state.Points.shrink_to_fit();
    m_OverlayFiles.Drop(pane, slot);
}

void TQuarnPlot::LoadOverlay(int pane, int slot)
{
    OverlaySlotState& state = m_Overlays[pane - 1][slot];
    state.Points.clear();
    const SpectralData* data = Trace(pane - 1);
    if (m_OverlayFolder.empty() || data == nullptr || m_Scaling == nullptr) {
        UnloadOverlay(pane, slot);
        return;
    }
    const SpectrumOverlayEntry& entry = m_Spectrum->Overlay[slot];
    const overlay_slots::LoadStyle style{data->GetFreqScaleType(),
                                         m_Scaling->AmpScaleType == ScalingOpts::kLogMagnitude};
    // The table read before stays while its file is unchanged: only the
    // points, which follow the pane's size, span and scale, are made anew.
    SyncOverlayFolder();
    state.Table = m_OverlayFiles.Table(pane, slot, style, pane == 2 ? entry.Offset2 : entry.Offset1);
    QueueOverlayReports();
    // A file that was reported draws nothing rather than a line at 0.
    if (state.Table == nullptr || !state.Table->GetProblem().empty()) {
        state.Points.shrink_to_fit();
        return;
    }
    const PlotRect r = PaneRect(pane - 1);
    const int capacity = 4 * std::max(0, r.Width());
    const AmplitudeMapping mapping(m_Scaling->AmpScaleType, EffectivePlotTop(), m_Spectrum->PlotRange,
                                   IsCoherencePane(pane - 1));
    const TraceStyle traceStyle{m_Spectrum->PlotType, m_Scaling->FreqScaleType == ScalingOpts::kOctave};
    const BinFrequencyFn binFrequency = [data](int bin) {
        return data->GetBinFrequency(static_cast<std::uint32_t>(std::max(bin, 0)));
    };
    state.Points.reserve(static_cast<std::size_t>(capacity));
    if (!ComputeTablePoints(OverlayPointTable(*state.Table), m_Columns, r, traceStyle, mapping, binFrequency,
                            capacity, state.Points))
        state.Points.clear();
    state.Points.shrink_to_fit();
}

void TQuarnPlot::LoadOverlays()
{
    if (m_Creating || m_Spectrum == nullptr)
        return;
    WaitCursor wait;
    for (int pane = 1; pane <= 2; ++pane) {
        if (!OverlayPaneUsable(pane)) {
            for (int n = 0; n < kOverlaySlots; ++n)
                UnloadOverlay(pane, n);
            continue;
        }
        // The stored slots first, so the composite is built from the tables
        // just loaded and is shown as it stands now. While the composite is
        // shown, hidden stored slots keep their tables for its next build.
        const bool composite = OverlayShowFlag(pane, kCompositeSlot) != 0;
        for (int n = 0; n < overlay_slots::kStoredSlots; ++n) {
            if (OverlayShowFlag(pane, n) != 0) {
                LoadOverlay(pane, n);
            } else if (composite) {
                m_Overlays[pane - 1][n].Table = nullptr;
                m_Overlays[pane - 1][n].Points.clear();
            } else {
                UnloadOverlay(pane, n);
            }
        }
        BuildCompositeOverlay(pane);
        if (composite)
            LoadOverlay(pane, kCompositeSlot);
        else
            UnloadOverlay(pane, kCompositeSlot);
    }
    RefreshOverlayTitles();
}

void TQuarnPlot::RefreshOverlayTitles()
{
    SyncOverlayFolder();
    for (int p = 0; p < 2; ++p)
        for (int n = 0; n < kOverlaySlots; ++n)
            m_OverlayTitles[p][n] = m_OverlayFiles.Title(p + 1, n);
}

void TQuarnPlot::SyncOverlayFolder()
{
    if (m_OverlayFiles.Folder() == m_OverlayFolder && m_OverlayFiles.Channel() == m_Channel)
        return;
    // Another folder or channel forgets every table: no slot may keep pointing at one.
    for (auto& pane : m_Overlays)
        for (OverlaySlotState& state : pane)
            state.Table = nullptr;
    m_OverlayFiles.SetFolder(m_OverlayFolder, m_Channel);
}

void TQuarnPlot::QueueOverlayReports()
{
    if (m_OverlayReportsQueued || !m_OverlayFiles.HasReports())
        return;
    m_OverlayReportsQueued = true;
    // Never from inside the step that loaded the file: after it returns.
    QTimer::singleShot(0, this, [this] { ShowOverlayReports(); });
}

void TQuarnPlot::ShowOverlayReports()
{
    m_OverlayReportsQueued = false;
    if (!m_OverlayFiles.HasReports())
        return;
    const auto spinners = findChildren<TLimitScroll*>();
    const bool repeating = std::any_of(spinners.begin(), spinners.end(),
                                       [](const TLimitScroll* spinner) { return spinner->IsRepeating(); });
    if (repeating || QApplication::mouseButtons() != Qt::NoButton) {
        // A spinner or a button still held: wait for its release.
        m_OverlayReportsQueued = true;
        QTimer::singleShot(200, this, [this] { ShowOverlayReports(); });
        return;
    }
    std::string text;
    for (const std::string& report : m_OverlayFiles.TakeReports())
        text += (text.empty() ? "" : "\n\n") + report;
    platform::ShowMessageBox(text, platform::MessageIcon::Error);
}

void TQuarnPlot::OnOverlayOptions(int pane)
{
    if (!OverlayPaneUsable(pane) || m_Scaling == nullptr)
        return;
    SpectrumOpts copy = *m_Spectrum;
    const SpectralData* data = Trace(pane - 1);
    const std::uint16_t scale = data != nullptr ? data->GetFreqScaleType() : m_Scaling->FreqScaleType;
    TOverlayDialog dialog(this, &copy, m_OverlayFolder, m_Channel, scale, pane, m_DataPathsInUse,
                          [this](int context) { emit HelpRequested(context); });
    if (dialog.exec() != QDialog::Accepted)
        return;
    *m_Spectrum = copy;
    // The reset view takes the legend's width into the margins and reloads
    // the overlays.
    ResetView();
    LoadOverlays();
    InvalidatePlot();
}

void TQuarnPlot::DrawOverlays(QPainter& dc, int pane, const PlotRect& clip)
{
    const int p = PaneIndex(pane);
    const PlotRect r = PaneRect(pane);
    for (int n = 0; n < kOverlaySlots; ++n) {
        const SpectrumOverlayEntry& entry = m_Spectrum->Overlay[n];
        if ((p == 0 ? entry.Show1 : entry.Show2) == 0)
            continue;
        // Paper is white, and the printed trace has its own rule for white.
        const std::uint32_t colour =
            m_Printing ? entry.Color : VisibleColour(entry.Color, m_Spectrum->BackgroundColor);
        DrawTrace(dc, r, clip, m_Overlays[p][n].Points, colour, n);
    }
}

void TQuarnPlot::InvalidateOverlayPane(int)
{
    // The pane with its overlays and the legend strip beside it: the whole
    // image is redrawn, which costs no more than the two parts.
    InvalidatePlot();
}
