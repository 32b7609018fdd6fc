#include "app/CToolbar2.h"

#include "app/ToolbarButtons.h"
#include "app/ToolbarState.h"
#include "widgets/CToolBtn.h"

#include <QPainter>

CToolbar2::CToolbar2(QWidget* parent, ToolbarFrame& frame)
    : QWidget(parent)
    , frame_(frame)
{
    setObjectName(QStringLiteral("Toolbar2"));
    // As wide as any frame can be; the frame's layout trims it.
    setGeometry(0, 0, 8000, kHeight);
    CreateButtons();
}

void CToolbar2::CreateButtons()
{
    for (const ToolbarButtonEntry& entry : ToolbarButtons::kButtons) {
        const QString stem = QString::fromLatin1(entry.stem);
        auto* button = new CToolBtn(this, entry.id, stem + "Up", stem + "Dn",
                                    entry.hasGrey ? stem + "Gr" : QString(), QString::fromLatin1(entry.tip));
        connect(button, &CToolBtn::Command, this, &CToolbar2::OnButtonCommand);
        buttons_.push_back(button);
    }
    LayoutButtons();
    created_ = true;
}

void CToolbar2::LayoutButtons()
{
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
        buttons_[i]->setGeometry(ToolbarButtons::kButtons[i].x, ToolbarButtons::kButtonY,
                                 ToolbarButtons::kButtonSize, ToolbarButtons::kButtonSize);
    }
    update();
}

void CToolbar2::SyncButtonStates()
{
    for (const ToolbarLatch& latch : ToolbarState::SyncLatches(frame_))
        SetButtonLatch(latch.id, latch.latched);
}

void CToolbar2::SetButtonLatch(std::uint32_t id, bool latched)
{
    if (!ToolbarState::IsLatchable(id))
        return;
    if (CToolBtn* button = Button(id))
        button->SetLatched(latched);
}

void CToolbar2::ReloadBitmaps()
{
    for (CToolBtn* button : buttons_)
        button->LoadBitmaps();
}

CToolBtn* CToolbar2::Button(std::uint32_t id) const
{
    for (CToolBtn* button : buttons_) {
        if (button->GetId() == id)
            return button;
    }
    return nullptr;
}

QSize CToolbar2::sizeHint() const
{
    const ToolbarButtonEntry& last = ToolbarButtons::kButtons.back();
    return QSize(last.x + ToolbarButtons::kButtonSize + 3, kHeight);
}

void CToolbar2::OnButtonCommand(std::uint32_t id)
{
    const ToolbarButtonEntry* entry = ToolbarButtons::Find(id);
    if (entry != nullptr && entry->command)
        frame_.ExecuteCommand(*entry->command);
}

void CToolbar2::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Button));
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawLine(width() - 1, 0, width() - 1, height() - 1);
    painter.drawLine(0, 0, 0, height() - 1);
}
