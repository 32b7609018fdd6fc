#pragma once
// The small floating "Spectral Data" window of a spectrum plot: one row per
// FFT line of the data, its frequency and the displayed (averaged) value of
// the plot's first trace, and of its second trace when it has one. It reads
// the spectral-data objects at paint time and keeps no copy of the values;
// the plot invalidates the value columns after each new spectrum.
//
// The plot owns it: closing the window only tells the plot (Closing), which
// deletes it once the close has returned.

#include <QFont>
#include <QWidget>

#include <cstdint>
#include <string>
#include <vector>

class QScrollBar;
class SpectralData;
struct TProcessingSettings;

class CDataView : public QWidget {
    Q_OBJECT

public:
    static constexpr int kScrollBarId = 109;
    static constexpr int kWidth = 234;
    static constexpr int kHeight = 218;

    // A tool window over owner; settings gives the channel mode (may be null).
    CDataView(QWidget* owner, const TProcessingSettings* settings);

    // At (x, y) in screen coordinates, kWidth × kHeight; shows it.
    bool Create(int x, int y, const SpectralData* source, const SpectralData* second);
    void SetTitle();
    void SetSource(const SpectralData* source, const SpectralData* second);
    // The value columns below the header: the frequencies stay as they are.
    void InvalidateValues();

    QScrollBar* ScrollBar() const { return m_ScrollBar; }
    int ScrollPosition() const;

    // What painting writes: column 0 frequency, 1 and 2 values; row 0 is
    // the header.
    struct Cell {
        int Column = 0;
        int Row = 0;
        std::string Text;
    };
    std::vector<Cell> Cells() const;

signals:
    // The close box was used; the owner deletes the window.
    void Closing(CDataView* view);

protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void UpdateScrollRange();
    void DrawGrid(QPainter& dc, const QRect& client);
    void DrawValues(QPainter& dc);

    const TProcessingSettings* m_Settings;
    const SpectralData* m_Source = nullptr;
    const SpectralData* m_Second = nullptr;
    QFont m_Font;
    QScrollBar* m_ScrollBar;
};
