#pragma once
// The owner-drawn bitmap push button of the side bar, the tool bar, the
// About box's logo, the plots' tool strips and the recorder. It shows its
// up, down or grey bitmap, can be latched down to show a state, and shows a
// hover tip below itself once the cursor has rested on it. A click emits
// Command with the button's id.

#include "widgets/ToolBtnImage.h"
#include "widgets/ToolTipTracker.h"
#include "widgets/ToolTipWindow.h"

#include <QAbstractButton>
#include <QImage>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <cstdint>

class CToolBtn : public QAbstractButton {
    Q_OBJECT

public:
    static constexpr int IDT_TIP_HOVER = 201;
    static constexpr int IDT_TIP_SHOWN = 202;
    static constexpr int kTipTimerMs = 250;

    // Bitmaps are looked up by their resource names; a grey name may be
    // empty, and so may the tip (a tip of 80 characters or more is dropped).
    // The owner places and sizes the button afterwards.
    CToolBtn(QWidget* parent, std::uint32_t id, const QString& upName, const QString& downName,
             const QString& greyName = {}, const QString& tipText = {});
    ~CToolBtn() override;

    // Reloads the three bitmaps recoloured to the current palette and takes
    // the button's bitmap size from the up bitmap.
    void LoadBitmaps();

    // Does nothing for a button without a grey bitmap.
    void SetGreyed();
    void ClearGreyed();
    void SetLatched(bool latched);
    void SetLatch();
    void ClearLatch();

    void ShowTip();
    void HideTip();
    // The two tip timers' handler; public so that tests can drive it.
    void OnTimer(int timerId);

    std::uint32_t GetId() const { return id_; }
    bool IsGreyed() const { return greyed_; }
    bool IsLatched() const { return latched_; }
    bool HasGreyBitmap() const { return !greyBitmap_.isNull(); }
    // Size of the up bitmap in device-independent pixels; every bitmap is
    // drawn at this size.
    QSize BitmapSize() const { return QSize(width_, height_); }
    ToolBtnImage ShownImage() const;
    const QString& TipText() const { return tipText_; }
    bool IsTipShown() const { return tracker_.IsTipShown(); }
    // The tip's window while one has been shown, else null.
    const ToolTipWindow* TipWindow() const { return tip_; }

    QSize sizeHint() const override { return BitmapSize(); }

signals:
    void Command(std::uint32_t id);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    const QImage& BitmapFor(ToolBtnImage image) const;
    void ChangeState(bool& flag, bool value);

    std::uint32_t id_;
    QString upName_;
    QString downName_;
    QString greyName_;
    QString tipText_;
    QImage upBitmap_;
    QImage downBitmap_;
    QImage greyBitmap_;
    qreal loadedRatio_ = 0.0;
    int width_ = 0;
    int height_ = 0;
    bool greyed_ = false;
    bool latched_ = false;
    ToolTipTracker tracker_;
    QTimer hoverTimer_;
    QTimer shownTimer_;
    QPointer<ToolTipWindow> tip_;
};
