#include "app/CSidebar.h"

#include "app/SidebarButtons.h"
#include "app/SidebarState.h"
#include "widgets/ButtonBitmap.h"
#include "widgets/ButtonColours.h"
#include "widgets/CToolBtn.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>

CSidebar::CSidebar(QWidget* parent, SidebarFrame& frame)
    : QWidget(parent)
    , frame_(frame)
{
    setObjectName(QStringLiteral("Sidebar"));
    setGeometry(0, 0, SidebarState::kWidth, 500);
    LoadLogo();
    CreateControls();
}

void CSidebar::CreateControls()
{
    for (const SidebarButtonEntry& entry : SidebarButtons::kButtons) {
        auto* button = new CToolBtn(this, entry.id, QString::fromLatin1(entry.upName),
                                    QString::fromLatin1(entry.downName), {}, QString::fromLatin1(entry.tip));
        button->setGeometry(entry.x, entry.y, entry.width, entry.height);
        connect(button, &CToolBtn::Command, this, &CSidebar::OnButtonCommand);
        buttons_.push_back(button);
    }
    UpdateRunState();
}

void CSidebar::UpdateRunState()
{
    const SidebarLatches latches = SidebarState::Latches(frame_.IsRunning(), frame_.IsDataLoggingActive());
    Button(SidebarButtons::IDC_RUN)->SetLatched(latches.run);
    Button(SidebarButtons::IDC_STOP)->SetLatched(latches.stop);
    Button(SidebarButtons::IDC_DATA_LOG)->SetLatched(latches.dataLog);
}

void CSidebar::UpdateAll()
{
    UpdateRunState();
}

void CSidebar::ReloadBitmaps()
{
    for (CToolBtn* button : buttons_)
        button->LoadBitmaps();
    LoadLogo();
    update();
}

CToolBtn* CSidebar::Button(std::uint32_t id) const
{
    for (CToolBtn* button : buttons_) {
        if (button->GetId() == id)
            return button;
    }
    return nullptr;
}

QSize CSidebar::sizeHint() const
{
    return QSize(SidebarState::kWidth, 500);
}

void CSidebar::LoadLogo()
{
    logo_ = ButtonBitmap::Load(QStringLiteral("SIDEBAR_LOGO"), devicePixelRatioF(),
                               ButtonColours::FromPalette(palette()));
}

void CSidebar::OnButtonCommand(std::uint32_t id)
{
    FrameCommand command{};
    if (SidebarButtons::CommandFor(id, command))
        frame_.ExecuteCommand(command);
}

void CSidebar::paintEvent(QPaintEvent*)
{
    if (!logo_.isNull() && !qFuzzyCompare(logo_.devicePixelRatio(), devicePixelRatioF()))
        LoadLogo();

    QPainter painter(this);
    const int right = SidebarState::kWidth - 1;
    painter.fillRect(rect(), palette().color(QPalette::Button));
    // Separators in the shadow colour rather than black: they divide, they
    // should not draw the eye.
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawLine(right, 0, right, height() - 1);
    painter.drawLine(0, SidebarState::kRunRowLine, right, SidebarState::kRunRowLine);

    if (SidebarState::ShowsLogo(height()) && !logo_.isNull()) {
        const int top = SidebarState::LogoTop(height());
        painter.drawImage(QPointF(0, top), logo_);
        painter.drawLine(0, top - 1, right, top - 1);
    }
}

void CSidebar::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton)
        frame_.ExecuteCommand(FrameCommand::ResetAveraging);
}

void CSidebar::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The press before it has already restarted the averaging.
    if (event->button() == Qt::LeftButton)
        frame_.ExecuteCommand(FrameCommand::OptionsProcessingSettings);
}

void CSidebar::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange)
        LoadLogo();
    QWidget::changeEvent(event);
}
