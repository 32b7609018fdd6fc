#pragma once
// The spectrum plot window: one channel's live spectrum, or two traces in
// two stacked panes in the dual-channel modes, with its tool strip, the
// overlay controls and the power meter at its right, grids, amplitude and
// frequency axes with their ticks, a title line and the markers.
//
// The tables behind the drawing (columns to bins, ticks, trace points) are
// plain code (ColumnBinTable, FrequencyTicks, AmplitudeTicks, TracePoints);
// the window computes them and paints their results. Each processed frame
// repaints only the panes, the meters and the level readouts into the
// base's back-buffer image, at most once per display interval, so a frame
// costs little and nothing flickers; everything else is drawn by the full
// redraw when the image is invalidated.
//
// The split by concern:
//   TQuarnPlot.cpp           creation, records, layout, reset view and span
//   TQuarnPlotToolStrip.cpp  the tool strip, overlay and corner controls
//   TQuarnPlotRedraw.cpp     the full redraw: axes, grids, titles, meter, legend
//   TQuarnPlotTraces.cpp     the per-frame update: points, traces, markers
//   TQuarnPlotCursor.cpp     what the cursor and the zoom ask of the plot
//   TQuarnPlotCommands.cpp   the commands: zoom, fields, peak hold, styles,
//                            autoscale, markers, clearing, corner buttons
//   TQuarnPlotMenu.cpp       the right-button menus, export and clipboard
//   TQuarnPlotOverlays.cpp   the overlays: store, composite, show, options
//   TQuarnPlotDialogs.cpp    marker options and the data-values window

#include "plot/AmplitudeMapping.h"
#include "plot/BandTraceTable.h"
#include "plot/ColumnBinTable.h"
#include "plot/PlotTick.h"
#include "plot/PowerMeter.h"
#include "plot/SpectrumExport.h"
#include "plot/ToolStripFields.h"
#include "plot/TraceExtents.h"
#include "plot/TPlotBase.h"
#include "plot/overlay/OverlayTables.h"
#include "plot/overlay/TOverlayData.h"

#include <QLine>
#include <QRegion>

#include <array>
#include <functional>
#include <optional>
#include <set>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class CToolBtn;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class CDataView;
class QMouseEvent;
class SpectralData;
struct DataPaths;
class TLimitScroll;
struct MarkerOpts;
struct ScalingOpts;
struct SpectrumOpts;
struct TProcessingSettings;

class TQuarnPlot : public TPlotBase {
    Q_OBJECT

public:
    // Trace ids of DrawTrace: the live trace, the peak hold, overlays 0 … 6.
    static constexpr int kLiveTrace = -1;
    static constexpr int kHoldTrace = -2;
    static constexpr int kToolButtonCount = 10;
    static constexpr int kOverlaySlots = 7;
    // Commands that open the plot options sheet on this plot's page.
    static constexpr std::uint32_t kOptionsButton = 420;
    static constexpr std::uint32_t kPropertiesCommand = 1500;

    explicit TQuarnPlot(QWidget* parent = nullptr);
    ~TQuarnPlot() override;

    // --- Creation and data (the main frame) ---
    // Keeps the pointers (the records and data stay the frame's), builds the
    // tool strip and shows the plot in rect. Title: "Spectrum", or
    // "Spectrum - Left" / "Spectrum - Right" side by side. trace2 is set in
    // the dual-channel modes only.
    bool Create(std::string_view title, const QRect& rect, TProcessingSettings* settings, ScalingOpts* scaling,
                MarkerOpts* markers, SpectrumOpts* spectrum, SpectralData* trace1, SpectralData* trace2, int channel);
    // New objects after the frame rebuilt its processing; a reset view follows.
    void SetSpectralData(SpectralData* trace1, SpectralData* trace2);
    // The settings (.ini) file, where printing looks up "PrintPlotTitle".
    void SetIniPath(std::string path);
    void ShowToolStrip(bool show);
    // The x axis stays in Hz whatever is asked.
    void SetTimeAxis(bool timeAxis);
    // The visible span, limited to the data's range; then a reset view.
    void SetFrequencyRange(float f1, float f2);

    // --- The base's operations ---
    void RefreshBackgroundBrush() override;
    void InitResources() override;
    void Redraw(QPainter& dc, bool flag, const PlotRect& clip) override;
    void ResetView() override;
    // Per processed frame (t in seconds); t = 0 forces an update.
    void UpdateDisplay(float seconds) override;
    // Trace frames painted since creation (the benchmarks' frame rate).
    std::uint64_t GetTraceFrameCount() const { return m_TraceFrames; }
    // What the last frame repainted of a pane (0 or 1).
    const QRegion& LastFrameRegion(int pane) const { return m_LastFrameRegion[PaneIndex(pane)]; }
    void UpdateSpan() override;
    void UpdateScrollRange() override;
    void PaintPlot(QPainter& dc, bool flag, const PlotRect& clip) override;
    void LayoutPlotAreas(QPainter& dc, PrintOpts options) override;
    bool IsKind2() const override { return true; }

    // --- Cursor hooks ---
    float GetXValueAt(int x, int y) override;
    float GetYValueAt(int x, int y) override;
    std::uint16_t GetHarmonicCount(int x, int y) override;
    PlotPoint GetHarmonicPoint(std::uint16_t n, int x, int y) override;
    PlotPoint GetUpperSidebandPoint(std::uint16_t n, int x1, int y1, int x2, int y2) override;
    PlotPoint GetLowerSidebandPoint(std::uint16_t n, int x1, int y1, int x2, int y2) override;
    std::uint16_t GetCursorAxis() override;
    // With "Pull Cursor To Trace" the cursor's point sits on the trace at its
    // column, so that its cross and value box stand where the value it reads
    // is drawn (kept inside the pane); otherwise the point stays.
    void SnapCursorPoint(PlotPoint& point) override;
    // With "Pull Cursor To Trace", an arrow-key step lands on the trace.
    void MoveCursorByKey(PlotPoint& point) override;

    // --- Commands (TQuarnPlotCommands.cpp, TQuarnPlotMenu.cpp) ---
    // Acts on the plot's own command ids; the others (options, help, data
    // values, overlays) are the owner's, which receives every Command.
    void OnCommand(std::uint32_t id);
    void OnZoomInMode();
    void OnZoomIn2x();
    void OnZoomOut2x();
    void OnZoomFull();
    // The end of a zoom-mode drag.
    void ZoomToRect(const PlotRect& zoomRect) override;
    void OnPlotTopChanged();
    // While typing the value is stored as it stands; a dB range raised to its
    // minimum is written back into the field when the typing is finished.
    void OnPlotRangeChanged(bool finished = false);
    void OnPeakHoldChanged();
    // 0 line, 1 bar, 2 stepped bar.
    void SetPlotType(std::uint16_t type);
    void Autoscale();
    // Rounded top and bottom of the data between the bins; false when the
    // data or its span gives no meaningful scale.
    bool ComputeAutoscale(const SpectralData* data, std::uint32_t first, std::uint32_t last, float& top,
                          float& bottom) const;
    void OnClearSpectrum();
    void OnClearPeakHold();
    void OnPullCursorToTrace();
    // m 0 … 7, at the column of the last right click.
    void SetMarker(int m);
    void ClearMarker(int m);
    // The right-button menu at a client point (the held-cursor menu while
    // the cursor is held).
    void OnContextMenu(int x, int y);
    void CopyAsText();
    void WriteTextFile();
    void OnCopyBitmap();
    // The measurement cursor's frequency and amplitude as clipboard text.
    void CopyCursorValues();
    // A right-button menu item the owner acts on is greyed unless enabled
    // here (1500 properties, 1501 help).
    void SetOwnerCommandEnabled(std::uint32_t id, bool enabled);
    // Where Write to Text File saves; the save dialog by default. An empty
    // answer cancels.
    using SaveFileChooser = std::function<std::string(QWidget* parent)>;
    void SetSaveFileChooser(SaveFileChooser chooser) { m_SaveFileChooser = std::move(chooser); }
    // Whether an export takes the held values when peak hold is on; the
    // source dialog by default, nothing for Cancel.
    using SourceChooser = std::function<std::optional<bool>(QWidget* parent, bool fromHold)>;
    void SetSourceChooser(SourceChooser chooser) { m_SourceChooser = std::move(chooser); }
    // The last right-click point.
    PlotPoint LastRightClick() const { return m_RightClick; }
    // Command 872: the channel and line a relative calibration takes at the
    // last right click. Pane 2 of a two-pane plot is channel 1; a point
    // outside the columns takes line 1.
    struct CalibrationPoint {
        int Channel = 0;
        std::int32_t Bin = 0;
    };
    CalibrationPoint RelativeCalibrationPoint() const;
    // Commands 830 … 837: the shown traces (live and peak hold) averaged over
    // 1, 3, … 15 lines on every update; 1 is off. Readouts, markers and the
    // meters keep reading the unsmoothed spectrum.
    void SetSmoothingWidth(int lines);
    int SmoothingWidth() const { return m_SmoothingWidth; }
    // Only narrowband lines on a dB axis can be smoothed.
    bool CanSmooth() const;
    // The spinners' set-ups as the fields last configured them.
    const SpinSetup& TopSpinSetup() const { return m_TopSpinSetup; }
    const SpinSetup& RangeSpinSetup() const { return m_RangeSpinSetup; }
    // One spinner step on a field (the spinners' arrows): up or down.
    void StepField(bool topField, bool up);

    // --- Column conversions (x in client pixels) ---
    float GetColumnFrequency(int x) const;
    std::int32_t GetColumnBin(int x) const;
    // Counted from the plot area's left edge; ColumnBinTable::kNoColumn
    // outside the table or without data.
    int FrequencyToColumn(float frequency) const;

    // --- State for the frame, later commands and tests ---
    const std::string& Title() const { return m_Title; }
    int Channel() const { return m_Channel; }
    int TraceCount() const { return m_TraceCount; }
    SpectralData* Trace(int pane) const { return pane == 1 ? m_Trace2 : m_Trace1; }
    // Pane 0 is the upper (or only) pane, 1 the lower.
    PlotRect PaneRect(int pane) const;
    bool IsCoherencePane(int pane) const;
    const ColumnBinTable& ColumnTable() const { return m_Columns; }
    const PlotTicks& FrequencyTicks() const { return m_FrequencyTicks; }
    const PlotTicks& AmplitudeTicks() const { return m_AmplitudeTicks; }
    const PlotTicks& CoherenceTicks() const { return m_CoherenceTicks; }
    const std::vector<PlotPoint>& LivePoints(int pane) const { return m_Panes[PaneIndex(pane)].Live; }
    const std::vector<PlotPoint>& HoldPoints(int pane) const { return m_Panes[PaneIndex(pane)].Hold; }
    int PointCapacity() const { return m_PointCapacity; }
    // Live bar height of a pane's power meter, pixels.
    int MeterHeight(int pane) const { return m_Panes[PaneIndex(pane)].MeterLive; }
    // The label boxes of the markers as last drawn (empty when not drawn).
    const std::array<PlotRect, 8>& MarkerLabelBoxes(int pane) const { return m_Panes[PaneIndex(pane)].LabelBoxes; }
    CToolBtn* ToolButton(std::uint32_t id) const;
    QLineEdit* PlotTopEdit() const { return m_TopEdit; }
    QLineEdit* PlotRangeEdit() const { return m_RangeEdit; }
    TLimitScroll* PlotTopSpin() const { return m_TopSpin; }
    TLimitScroll* PlotRangeSpin() const { return m_RangeSpin; }
    QComboBox* PeakHoldList() const { return m_PeakHoldList; }
    // "Plot Range:", or "Plot Bottom:" on a log axis.
    const QString& RangeCaption() const { return m_RangeCaption; }
    // 0 tool strip, 1 power meter, 2 overlay controls.
    QPushButton* CornerButton(int which) const { return m_Corner[which]; }
    QPushButton* OverlayStoreButton(int pane, int slot) const { return m_Store[PaneIndex(pane)][slot]; }
    QCheckBox* OverlayShowBox(int pane, int slot) const { return m_Show[PaneIndex(pane)][slot]; }
    QPushButton* OverlayOptionsButton(int pane) const { return m_OverlayOptions[PaneIndex(pane)]; }

    // --- Overlays (TQuarnPlotOverlays.cpp); panes here are 1 or 2 ---
    // The frame's data folders: the configured overlay folder holds the slot
    // files; the in-use copy's overlay entry is where the overlay dialogs'
    // file dialogs start, and follows the folder last chosen.
    void SetDataPaths(const DataPaths* configured, DataPaths* inUse);
    // Stores the pane's live spectrum or peak hold in slot 0 … 5 and shows it.
    void StoreOverlay(int pane, int slot, bool ask, bool fromPeakHold);
    // The composite dialog (when ask), then the composite built and shown.
    void SetupCompositeOverlay(int pane, bool ask);
    // Rebuilds the pane's composite file while the composite is shown; false
    // when it cannot be formed (the old file then stays).
    bool BuildCompositeOverlay(int pane);
    // Follows the slot's show box: loads and shows the slot, or hides it.
    void ToggleOverlay(int pane, int slot);
    // Every shown overlay of both panes again, and the legend's titles.
    void LoadOverlays();
    void OnOverlayOptions(int pane);
    const std::string& OverlayFolder() const { return m_OverlayFolder; }
    // By pane index 0 (upper) or 1 (lower), as the other accessors.
    const std::vector<PlotPoint>& OverlayPoints(int pane, int slot) const
    {
        return m_Overlays[PaneIndex(pane)][slot].Points;
    }
    const TOverlayData* OverlayTable(int pane, int slot) const { return m_Overlays[PaneIndex(pane)][slot].Table; }
    // How many times a slot file was read for its table.
    int OverlayFileReads() const { return m_OverlayFiles.Reads(); }
    const std::string& OverlayTitle(int pane, int slot) const { return m_OverlayTitles[PaneIndex(pane)][slot]; }
    // --- Marker options and the data-values window (TQuarnPlotDialogs.cpp) ---
    // Commands 511 and 860: the marker dialog on the plot's own record.
    void OnMarkerOptions();
    // Command 804: opens the data-values window, or closes the open one.
    void OnViewDataValues();
    // The window's close box: it goes once its close has returned.
    void OnDataViewClosing(CDataView* view);
    CDataView* DataView() const { return m_DataView; }

signals:
    // A tool-strip, overlay or corner control was used; the interaction
    // commands act on the id.
    void Command(std::uint32_t id);
    // A dialog's Help button: the page of that context id.
    void HelpRequested(int contextId);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void OnHScroll(int code, int position) override;

private:
    struct PaneTraces {
        std::vector<PlotPoint> Live;
        std::vector<PlotPoint> Hold;
        int MeterLive = 0;
        int MeterHold = 0;
        PowerMeterHold MeterHeld;
        std::array<PlotRect, 8> LabelBoxes{};
        // The log axis's rows, kept while its ends and the height stay.
        LogRowTable Rows;
        // Where the traces last drawn into the back buffer stand.
        TraceExtents Drawn;
    };

    static int PaneIndex(int pane) { return pane == 1 ? 1 : 0; }
    int PaneCountShown() const { return m_PaneCount == 2 ? 2 : 1; }
    // Distances on paper are given for 600 dpi and scale with the page.
    int Paper(int pixelsAt600) const;

    // Tables (TQuarnPlot.cpp)
    void RebuildTables();
    void BuildAmplitudeTicks();
    void ResetPointArrays();
    void ApplyMargins();

    // Tool strip and controls (TQuarnPlotToolStrip.cpp)
    void CreateToolStrip();
    void CreateOverlayControls();
    void LayoutToolStrip();
    void LayoutOverlayControls();
    void PlaceCornerButtons();
    void ApplyFieldsForAmpScale(bool atCreation);
    // TQuarnPlotDialogs.cpp
    void OnDialogCommand(std::uint32_t id);
    void LatchPlotTypeButton();
    void ShowToolStripControls(bool show);
    void SyncPeakHoldList();
    void SyncOverlayShowBoxes();

    // The full redraw (TQuarnPlotRedraw.cpp)
    void DrawPane(QPainter& dc, int pane, bool lowest, const PlotRect& clip);
    void PaintBackground(QPainter& dc, const PlotRect& pane, const PlotRect& clip);
    void DrawTitleLine(QPainter& dc, int pane, const PlotRect& clip);
    void DrawLevelReadout(QPainter& dc, int pane, const PlotRect& clip);
    bool OnScreenPixels(const QPainter& dc) const;
    void DrawVerticalGrid(QPainter& dc, const PlotRect& pane, const PlotRect& clip);
    void DrawHorizontalGrid(QPainter& dc, int pane, const PlotRect& clip);
    void DrawAmplitudeAxis(QPainter& dc, int pane, const PlotRect& clip);
    void DrawFrequencyAxis(QPainter& dc, const PlotRect& pane, const PlotRect& clip);
    void DrawPowerMeterFrame(QPainter& dc, int pane, bool lowest, const PlotRect& clip);
    void DrawPowerMeterBars(QPainter& dc, int pane);
    void DrawOverlayLegend(QPainter& dc, int pane, const PlotRect& clip);
    const PlotTicks& PaneAmplitudeTicks(int pane) const;
    QFont ArialFont(int height, QPaintDevice* device) const;

    // The per-frame update (TQuarnPlotTraces.cpp)
    void ComputeTraces();
    bool ComputePaneTraces(int pane);
    // Where the pane's traces, hold and shown overlays stand now.
    TraceExtents MeasureTraces(int pane, const PlotRect& r) const;
    // What a frame repaints of a pane: where its traces stood and stand,
    // or the whole pane when anything else in it may move (markers, bars).
    QRegion FrameRegion(int pane, const PlotRect& r, const TraceExtents& now) const;
    void UpdatePowerMeter(int pane);
    // The pane's data as its traces show it: smoothed into a copy of its
    // own while smoothing is on, else the data itself.
    const SpectralData* ShownTrace(int pane);
    void PaintFrame();
    // `measured`: where the pane's traces stand, when the caller knows already.
    void PaintPaneContents(QPainter& dc, int pane, const PlotRect& clip, const TraceExtents* measured = nullptr);
    void DrawTrace(QPainter& dc, const PlotRect& clip, const PlotRect& update, const std::vector<PlotPoint>& points,
                   std::uint32_t colour, int traceId);
    void DrawBarOutline(QPainter& dc, const std::vector<PlotPoint>& points);
    void DrawMarkers(QPainter& dc, int pane, const PlotRect& clip);
    float EffectivePlotTop();
    bool OctaveBars() const;

    // Commands (TQuarnPlotCommands.cpp, TQuarnPlotMenu.cpp)
    bool ApplySpan(std::uint32_t first, std::uint32_t last);
    void AfterAmplitudeChange();
    void ConfigureSpinner(TLimitScroll* spinner, const SpinSetup& setup);
    spectrum_export::ExportRows ExportRowsShown() const;
    // Overlays (TQuarnPlotOverlays.cpp)
    struct OverlaySlotState {
        // Owned by m_OverlayFiles; null while the slot is hidden.
        TOverlayData* Table = nullptr;
        std::vector<PlotPoint> Points;
    };
    bool OnOverlayCommand(std::uint32_t id);
    bool OverlayPaneUsable(int pane) const;
    std::uint8_t& OverlayShowFlag(int pane, int slot);
    void LoadOverlay(int pane, int slot);
    void UnloadOverlay(int pane, int slot);
    void RefreshOverlayTitles();
    // Shows the reports of bad slot files once no button is held: a modal
    // box inside a spinner's repeat would hide the release from it.
    void QueueOverlayReports();
    void SyncOverlayFolder();
    void ShowOverlayReports();
    void DrawOverlays(QPainter& dc, int pane, const PlotRect& clip);
    void InvalidateOverlayPane(int pane);
    CompositeSetup PaneCompositeSetup(int pane) const;
    void SetPaneCompositeSetup(int pane, const CompositeSetup& setup);

    std::string m_Title;
    TProcessingSettings* m_Settings = nullptr;
    ScalingOpts* m_Scaling = nullptr;
    MarkerOpts* m_Markers = nullptr;
    SpectrumOpts* m_Spectrum = nullptr;
    SpectralData* m_Trace1 = nullptr;
    SpectralData* m_Trace2 = nullptr;
    int m_Channel = 0;
    int m_TraceCount = 1;
    bool m_Creating = false;
    bool m_Resetting = false;

    ColumnBinTable m_Columns;
    PlotTicks m_FrequencyTicks;
    PlotTicks m_AmplitudeTicks;
    PlotTicks m_CoherenceTicks;
    int m_PointCapacity = 0;
    std::uint64_t m_TraceFrames = 0;
    std::array<QRegion, 2> m_LastFrameRegion;
    std::array<PaneTraces, 2> m_Panes;
    BandTraceTable m_BandTable;
    std::vector<QLine> m_LineScratch;
    // Overlay legend rows per pane: the slot files' titles.
    std::array<std::array<std::string, kOverlaySlots>, 2> m_OverlayTitles;
    std::array<std::array<OverlaySlotState, kOverlaySlots>, 2> m_Overlays;
    OverlayTables m_OverlayFiles;
    bool m_OverlayReportsQueued = false;
    const DataPaths* m_DataPaths = nullptr;
    DataPaths* m_DataPathsInUse = nullptr;
    std::string m_OverlayFolder;

    std::array<CToolBtn*, kToolButtonCount> m_Buttons{};
    QLineEdit* m_TopEdit = nullptr;
    QLineEdit* m_RangeEdit = nullptr;
    TLimitScroll* m_TopSpin = nullptr;
    TLimitScroll* m_RangeSpin = nullptr;
    QComboBox* m_PeakHoldList = nullptr;
    std::array<std::array<QPushButton*, kOverlaySlots>, 2> m_Store{};
    std::array<std::array<QCheckBox*, kOverlaySlots>, 2> m_Show{};
    std::array<QPushButton*, 2> m_OverlayOptions{};
    std::array<QPushButton*, 3> m_Corner{};
    SpinSetup m_TopSpinSetup;
    SpinSetup m_RangeSpinSetup;
    PlotPoint m_RightClick;
    int m_SmoothingWidth = 1;
    std::array<std::unique_ptr<SpectralData>, 2> m_Smoothed;
    std::set<std::uint32_t> m_OwnerCommands;
    SaveFileChooser m_SaveFileChooser;
    SourceChooser m_SourceChooser;
    QString m_RangeCaption;
    QFont m_TinyFont;
    QFont m_MeterFont;
    std::string m_IniPath;
    CDataView* m_DataView = nullptr;
    // The page and its resolution while printing.
    QPaintDevice* m_PageDevice = nullptr;
    int m_PageDpiX = 600;
    int m_PageDpiY = 600;
};
