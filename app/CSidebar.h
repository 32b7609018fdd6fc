#pragma once
// The strip down the left of the main frame: the Run and Stop lamps, four
// shortcut buttons and the product logo. A click on the bar's own surface
// restarts the display averaging; a double click opens the processing
// settings.

#include "app/SidebarFrame.h"

#include <QImage>
#include <QWidget>

#include <cstdint>
#include <vector>

class CToolBtn;

class CSidebar : public QWidget {
    Q_OBJECT

public:
    static constexpr std::uint32_t kWindowId = 101;

    // Creates the bar 90 x 500 and its buttons, latched from the frame's state.
    CSidebar(QWidget* parent, SidebarFrame& frame);

    // Latches Run or Stop, and "Data Logging...", from the frame's state; the
    // frame calls it at start, stop, logging start and stop and after the
    // generator or recorder opens or closes.
    void UpdateRunState();
    // After the input is re-initialised.
    void UpdateAll();
    // After a change of the desktop's colours.
    void ReloadBitmaps();

    // The button with this id, or null.
    CToolBtn* Button(std::uint32_t id) const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void CreateControls();
    void LoadLogo();
    void OnButtonCommand(std::uint32_t id);

    SidebarFrame& frame_;
    std::vector<CToolBtn*> buttons_;
    QImage logo_;
};
