#pragma once
// The strip of 28 x 28 bitmap buttons along the top of the main frame. The
// frame keeps it built and in step with its windows even while the settings
// keep it hidden.

#include "app/ToolbarFrame.h"

#include <QWidget>

#include <cstdint>
#include <vector>

class CToolBtn;

class CToolbar2 : public QWidget {
    Q_OBJECT

public:
    static constexpr std::uint32_t kWindowId = 102;
    static constexpr int kHeight = 32;

    CToolbar2(QWidget* parent, ToolbarFrame& frame);

    void LayoutButtons();
    // Latches the trigger, generator, spectrum and viewer buttons from the
    // frame; the frame calls it after any window opens or closes.
    void SyncButtonStates();
    // Ignored for the ids that do not show a state.
    void SetButtonLatch(std::uint32_t id, bool latched);
    // After a change of the desktop's colours.
    void ReloadBitmaps();

    bool HasButtons() const { return created_; }
    // The button with this id, or null.
    CToolBtn* Button(std::uint32_t id) const;
    const std::vector<CToolBtn*>& Buttons() const { return buttons_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void CreateButtons();
    void OnButtonCommand(std::uint32_t id);

    ToolbarFrame& frame_;
    std::vector<CToolBtn*> buttons_;
    bool created_ = false;
};
