#pragma once
// The base of the analyzer's plot windows. It owns everything a plot needs
// apart from its data: the layout of one plot area under a tool strip, split
// into one pane or two stacked panes; the sunken frames around the panes; a
// horizontal scroll bar shown on demand; the measurement cursor and the
// drag-to-zoom selection with their readouts; printing; and a bitmap copy
// for the clipboard. The spectrum plot derives from it and fills in the
// virtual operations; by itself the base answers neutral values (zeros, a
// fixed span of 0 … 100) so that it runs alone.
//
// Drawing goes to an image first (Redraw, which a derived plot extends);
// paint events show that image with the cursor or zoom marks inverted over
// it and the readout labels on top. The marks are state, not pixels, so
// taking them away never leaves anything behind.

#include "plot/PlotCursorHooks.h"
#include "plot/PlotCursorTracker.h"
#include "plot/PlotLayout.h"
#include "plot/PlotPointers.h"
#include "plot/PlotRect.h"
#include "settings/PrintOpts.h"

#include <QBrush>
#include <QFont>
#include <QImage>
#include <QWidget>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

class QPainter;
class QScrollBar;

class TPlotBase : public QWidget, public PlotCursorHooks {
    Q_OBJECT

public:
    static constexpr int kScrollBarHeight = 12;
    static constexpr int kScreenLabelFontHeight = 15;

    explicit TPlotBase(QWidget* parent = nullptr);
    ~TPlotBase() override;

    // --- Layout and scroll bar ---
    // Plot and pane rectangles from the client area; a client area too small
    // for the margins keeps the previous ones.
    virtual void LayoutPlotArea();
    // Creates the scroll bar on the first call (hidden), places it under the
    // plot and sets its range to 0 … the scroll maximum.
    virtual void UpdateScrollBar();
    // 12 while the scroll bar is shown on the screen, else 0.
    virtual int GetScrollBarHeight() const;
    virtual void ShowScrollBar();
    virtual void HideScrollBar();

    // --- Zoom selection and visible span ---
    void TrackSelection(int x, int y) override;
    // The base leaves zoom mode; a derived plot applies the selection first.
    void ZoomToRect(const PlotRect& zoomRect) override;
    // The base shows the span 0 … 100.
    virtual void UpdateSpan();
    // The base scrolls over 0 … 100.
    virtual void UpdateScrollRange();
    // 1 or 2; anything else, or the current count, changes nothing.
    virtual void SetPaneCount(int count);
    void ClearSelection() override;
    // The background of the desktop's window colour, taken again after a
    // palette change.
    virtual void RefreshBackgroundBrush();

    // --- Drawing ---
    virtual std::string FormatAxisNumber(float value, std::uint32_t code, std::string_view unit) const;
    // The flag is true at every call; screen or paper is decided by IsPrinting().
    virtual void DrawPaneFrames(QPainter& dc, bool flag, const PlotRect& clip);
    virtual void PaintPlot(QPainter& dc, bool flag, const PlotRect& clip);
    // Draws nothing; a derived plot calls it last in its redraw.
    virtual void DrawWatermark(QPainter& dc, const PlotRect& plot, const PlotRect& clip);

    // --- Values under the cursor: neutral answers of the base ---
    float GetXValueAt(int x, int y) override;
    float GetYValueAt(int x, int y) override;
    std::uint16_t GetHarmonicCount(int x, int y) override;
    PlotPoint GetHarmonicPoint(std::uint16_t n, int x, int y) override;
    PlotPoint GetUpperSidebandPoint(std::uint16_t n, int x1, int y1, int x2, int y2) override;
    PlotPoint GetLowerSidebandPoint(std::uint16_t n, int x1, int y1, int x2, int y2) override;
    std::uint16_t GetCursorAxis() override;
    void SnapCursorPoint(PlotPoint& point) override;
    // Around the drawing of the marks: a derived plot may change the painter.
    // After each arrow-key step of a held cursor (point in client pixels); a
    // derived plot may move the point, e.g. onto its trace.
    virtual void MoveCursorByKey(PlotPoint& point);
    virtual void BeginCursorDraw(QPainter& dc);
    virtual void EndCursorDraw(QPainter& dc);

    // --- Life cycle ---
    // Pointer shapes and the label font, then ResetView. A derived plot
    // calls it once its own members are ready.
    virtual void InitResources();
    // Pane frames, then the tool strip band.
    virtual void Redraw(QPainter& dc, bool flag, const PlotRect& clip);
    // Layout, scroll bar and span again; ends by asking the owner to refresh
    // its caption (TitleRefreshRequested).
    virtual void ResetView();
    // Per processed block: the base redraws the panes at once.
    virtual void UpdateDisplay(float seconds);

    // --- Printing ---
    // Draws the plot on a page: a label font an eighth of an inch high, the
    // printing flag, the derived plot's page layout, then Redraw. With
    // resetAfter the screen state comes back at once (the system always
    // asks for that); pagePart selects nothing.
    virtual void PrintToDC(QPainter& dc, const PrintOpts* options, bool resetAfter, std::uint16_t pagePart);
    // Places the panes on the page; the base leaves them.
    virtual void LayoutPlotAreas(QPainter& dc, PrintOpts options);

    // Kind queries; the spectrum plot answers true to the second.
    virtual bool IsKind1() const { return false; }
    virtual bool IsKind2() const { return false; }
    virtual bool IsKind3() const { return false; }
    virtual bool IsKind4() const { return false; }
    virtual bool IsKind5() const { return false; }
    virtual void GetYRange(float& low, float& high);

    // --- Mouse, as the window's events arrive (client pixels) ---
    virtual void OnMouseMove(Qt::KeyboardModifiers keys, int x, int y);
    void OnLButtonDown(Qt::KeyboardModifiers keys, int x, int y);
    // Ends a held cursor or a zoom drag; the spectrum plot's right-button
    // menu calls it to end a held cursor at its own click point.
    void OnLButtonUp(Qt::KeyboardModifiers keys, int x, int y);

    // --- Other operations ---
    void SetIdle();
    void ClearIdle();
    bool IsIdle() const { return m_Idle; }
    // Tick labels by the value's magnitude; see AxisNumberFormat.h.
    static void FormatReadout(float value, char* out, std::size_t capacity);
    PlotRect GetPlotRectAt(int x, int y) const override;
    PlotRect GetPlotRect() const override { return m_Areas.Plot; }
    // A sunken frame: dark top and left, light bottom and right; black on
    // paper. Width 0 is the device's thinnest line.
    void DrawFrame3D(QPainter& dc, const PlotRect& rect, int lineWidth) const;
    // The watermark logo's corner at the top right inside the plot; empty
    // without a logo image.
    void UpdateLogoRect();
    // Puts RenderClipboardBitmap on the clipboard.
    void CopyToClipboard();
    // Everything below the tool strip as shown now, framed by one black
    // pixel along its edge.
    QImage RenderClipboardBitmap();

    // --- State for owners, derived plots and tests ---
    int PaneCount() const { return m_PaneCount; }
    const PlotAreas& Areas() const { return m_Areas; }
    const PlotMargins& Margins() const { return m_Margins; }
    const PlotRect& LogoRect() const { return m_LogoRect; }
    bool IsPrinting() const { return m_Printing; }
    const QFont& LabelFont() const { return m_LabelFont; }
    int LabelFontHeight() const { return m_LabelFontHeight; }
    const PlotCursorTracker& Cursor() const { return m_Cursor; }
    bool ZoomMode() const { return m_Cursor.ZoomMode(); }
    void SetZoomMode(bool on) { m_Cursor.SetZoomMode(on); }
    bool ScrollBarShown() const { return m_ScrollBarShown; }
    QScrollBar* ScrollBar() const { return m_ScrollBar; }
    int ScrollPosition() const { return m_ScrollPos; }
    int SpanStart() const { return m_SpanStart; }
    int SpanEnd() const { return m_SpanEnd; }
    int ScrollMaximum() const { return m_ScrollMax; }

    // The plot's image as Redraw left it, drawn again first when something
    // invalidated it. A derived plot may draw per-block changes into it and
    // then call ShowBackBuffer.
    QImage& BackBuffer();
    void ShowBackBuffer(const PlotRect& area);
    // Just the parts painted anew, so that the children over the rest of
    // the plot (tool strip, overlay buttons) are not painted again.
    void ShowBackBuffer(const QRegion& area);
    // Redraw before the next paint; the area is repainted (all when empty).
    void InvalidatePlot(const PlotRect& area = {});

signals:
    // The owner's caption may have to change (the main frame refreshes it).
    void TitleRefreshRequested();

protected:
    // Notices of the plot's own scroll bar (codes in PlotScroll.h).
    virtual void OnHScroll(int code, int position);
    std::string ReadoutText(PlotAxis axis, float value) override;
    PlotRect ClientRect() const { return {0, 0, width(), height()}; }

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // Left and right arrows step a held measurement cursor by a column (ten
    // with Shift). The drawn cross moves; the pointer stays, as not every
    // desktop lets a program move it.
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

    QFont m_LabelFont;
    int m_LabelFontHeight = 0;
    QBrush m_BackgroundBrush;
    bool m_Printing = false;
    bool m_Idle = true;
    PlotPointers m_Pointers;
    // Set by InitResources: readouts are drawn only from then on.
    bool m_ResourcesReady = false;
    int m_PaneCount = 2;
    PlotMargins m_Margins;
    PlotAreas m_Areas;
    PlotRect m_LogoRect;
    int m_XLabelWidth = 60;
    int m_XLabelHeight = 17;
    int m_YLabelWidth = 60;
    int m_YLabelHeight = 17;
    PlotCursorTracker m_Cursor{*this};
    bool m_ScrollBarShown = false;
    QScrollBar* m_ScrollBar = nullptr;
    int m_ScrollPos = 0;
    int m_SpanStart = 0;
    int m_SpanEnd = 0;
    int m_ScrollMax = 0;
    // Seconds; a derived UpdateDisplay throttles with it, ResetView clears it.
    float m_LastUpdateTime = 0.0f;
    std::uint32_t m_XFormat = 101;
    std::uint32_t m_YFormat = 101;
    // Written behind the readout numbers (" Hz").
    std::string m_XUnit;
    std::string m_YUnit;

private:
    void ApplyPointer(PlotPointer pointer);
    void CancelTracking();
    void PaintMarks(QPainter& painter);
    void RenderBackBuffer();

    QImage m_BackBuffer;
    bool m_BackBufferStale = true;
};
