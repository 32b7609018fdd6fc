#pragma once
// The bar along the bottom of the main frame: the run-state text, the two
// input level meters, a progress bar shown over the text while the signal
// generator builds a waveform, and a menu (opened from the text) that picks
// the analysis sample rate, width and channel count.

#include "app/LevelMeters.h"
#include "app/ProgressFilter.h"
#include "app/StatusbarFrame.h"
#include "app/StatusbarLayout.h"

#include <QWidget>

#include <cstdint>
#include <memory>
#include <string>

class ProgressSignals;
class QMenu;
class QPainter;
class QProgressBar;

class CStatusbar : public QWidget {
    Q_OBJECT

public:
    static constexpr std::uint32_t kWindowId = 103;
    static constexpr std::uint32_t kProgressId = 510;

    // Refresh modes of UpdateStatus.
    static constexpr int kUpdateText = 1;
    static constexpr int kUpdateAll = 2;
    static constexpr int kUpdateLevels = 3;

    CStatusbar(QWidget* parent, StatusbarFrame& frame);
    ~CStatusbar() override;

    // kUpdateText: rebuild the text and repaint it only when it differs from
    // the text last painted. kUpdateAll: lay out, rebuild the text, read the
    // levels and repaint the whole bar. kUpdateLevels: read the levels and
    // repaint the meters when a level moved.
    void UpdateStatus(int mode);

    // Only 0 … 99, and only a position other than the last one set.
    void SetProgress(int position);
    // Progress raised on any thread arrives here, in order, on this one.
    void ConnectProgress(const ProgressSignals& progress);

    // The format menu as a click on the text would open it.
    std::unique_ptr<QMenu> BuildFormatMenu();
    void OnFormatCommand(std::uint32_t command);

    const std::string& StatusText() const { return statusText_; }
    const std::string& PaintedText() const { return paintedText_; }
    const LevelMeters& Levels() const { return levels_; }
    const StatusbarLayout& Layout() const { return layout_; }
    const QProgressBar* ProgressControl() const { return progress_; }

    QSize sizeHint() const override;

public slots:
    void OnProgressShow();
    void OnProgressSet(int percent);
    void OnProgressHide();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void DoLayout();
    void RepaintNow(const QRect& rect);
    void DrawSunkenFrame(QPainter& painter, const QRect& rect) const;
    void DrawLevels(QPainter& painter) const;

    StatusbarFrame& frame_;
    StatusbarLayout layout_;
    LevelMeters levels_;
    ProgressFilter progressFilter_;
    std::string statusText_;
    std::string paintedText_;
    QProgressBar* progress_ = nullptr;
};
