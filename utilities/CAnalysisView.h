#pragma once
// One of the three analysis viewers (Peak Frequency, Peak Amplitude, Total
// Power): a small sizable tool window whose data grid shows one readout
// per analysed channel, refreshed by the frame after every block, with
// "Copy to clipboard" on a right click.

#include <QRect>
#include <QWidget>

#include <cstdint>

#include "utilities/AnalysisViewFrame.h"

class CDataGrid;

class CAnalysisView : public QWidget {
    Q_OBJECT

public:
    static constexpr int kCopyCommand = 101;
    static constexpr int kMinRowHeight = 16;
    static constexpr int kMaxRowHeight = 48;

    CAnalysisView(AnalysisViewFrame* frame, QWidget* parent);
    ~CAnalysisView() override;

    // The window at the rectangle (outer corner and client size), its grid
    // and its first readouts; kind 7, 8 or 9.
    bool Create(const QRect& rect, int kind);
    void SetKind();
    // Layout, minimum size and readouts, after a change of mode or device.
    void Refresh();
    void LayoutGrid();
    int CountChannels();
    void UpdateResults();
    void CopyToClipboard();

    int Kind() const { return m_Kind; }
    CDataGrid* Grid() const { return m_Grid; }
    int RowHeight() const { return m_RowHeight; }

signals:
    // The close box: the frame closes the viewer through its toggle.
    void ClosingUtility(CAnalysisView* window);
    // The viewer widened itself for a longer text: it may now reach past
    // the screen's edge or over a neighbour.
    void Widened(CAnalysisView* window);

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Also wide enough that the longest text the readout can show, and every
    // text it shows now, fits at the font the height gives.
    void EnforceMinimumSize();
    QString WidestText() const;
    void OnCopyMenu(const QPoint& point);

    AnalysisViewFrame* m_Frame;
    CDataGrid* m_Grid = nullptr;
    int m_Kind = 0;
    bool m_Shown[2] = {};
    int m_RowHeight = kMinRowHeight;
    // The longest cell text, in characters, the width was last checked for.
    std::size_t m_CheckedChars = 0;
};
