#include "app/CStatusbar.h"

#include "app/FormatMenuModel.h"
#include "app/LevelBar.h"
#include "app/StatusbarText.h"
#include "widgets/ProgressSignals.h"

#include <QFontMetrics>
#include <QImage>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>

namespace {

const QColor kFrameLight(230, 230, 230);
const QColor kFrameDark(140, 140, 140);
// The longest text the bar shows.
const char* const kWidestText = "Acquiring Data (100%)";

QFont StatusFont()
{
    // Arial where the desktop has it or a face with its metrics, else the
    // desktop's sans serif.
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(13);
    return font;
}

// Room for the widest text with 4 pixels either side, so that no face
// clips it.
int TextWidth()
{
    return QFontMetrics(StatusFont()).horizontalAdvance(QString::fromLatin1(kWidestText)) + 8;
}

void AddItems(QMenu& menu, const std::vector<FormatMenuItem>& items, CStatusbar& bar)
{
    menu.setEnabled(!items.empty());
    for (const FormatMenuItem& item : items) {
        QAction* action = menu.addAction(QString::fromStdString(item.text));
        action->setCheckable(true);
        action->setChecked(item.checked);
        const std::uint32_t command = item.command;
        QObject::connect(action, &QAction::triggered, &bar, [&bar, command] { bar.OnFormatCommand(command); });
    }
}

} // namespace

CStatusbar::CStatusbar(QWidget* parent, StatusbarFrame& frame)
    : QWidget(parent)
    , frame_(frame)
{
    setObjectName(QStringLiteral("Statusbar"));
    setMouseTracking(true);
    layout_ = StatusbarLayout::Compute(8000, TextWidth());
    setGeometry(0, 0, 8000, StatusbarLayout::kHeight);

    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("Progress"));
    progress_->setRange(0, 100);
    progress_->setTextVisible(false);
    progress_->setGeometry(layout_.textRect);
    progress_->hide();
}

CStatusbar::~CStatusbar() = default;

QSize CStatusbar::sizeHint() const
{
    return QSize(400, StatusbarLayout::kHeight);
}

void CStatusbar::DoLayout()
{
    layout_ = StatusbarLayout::Compute(width(), TextWidth());
    levels_.ClearPrevious();
}

void CStatusbar::RepaintNow(const QRect& rect)
{
    if (isVisible())
        repaint(rect);
}

void CStatusbar::UpdateStatus(int mode)
{
    switch (mode) {
    case kUpdateText:
        statusText_ = StatusbarText::Build(frame_);
        if (statusText_ != paintedText_)
            RepaintNow(layout_.textRect);
        break;
    case kUpdateAll:
        DoLayout();
        statusText_ = StatusbarText::Build(frame_);
        levels_.Update(frame_);
        RepaintNow(rect());
        break;
    case kUpdateLevels:
        levels_.Update(frame_);
        if (levels_.Changed())
            RepaintNow(layout_.paneRect);
        break;
    default:
        break;
    }
}

void CStatusbar::SetProgress(int position)
{
    if (progress_ == nullptr || !progressFilter_.Accept(position))
        return;
    progress_->setValue(position);
    if (progress_->isVisible())
        progress_->repaint();
}

void CStatusbar::ConnectProgress(const ProgressSignals& progress)
{
    connect(&progress, &ProgressSignals::ProgressShow, this, &CStatusbar::OnProgressShow, Qt::QueuedConnection);
    connect(&progress, &ProgressSignals::ProgressSet, this, &CStatusbar::OnProgressSet, Qt::QueuedConnection);
    connect(&progress, &ProgressSignals::ProgressHide, this, &CStatusbar::OnProgressHide, Qt::QueuedConnection);
}

void CStatusbar::OnProgressShow()
{
    progress_->setValue(0);
    progressFilter_.Reset(0);
    progress_->show();
}

void CStatusbar::OnProgressSet(int percent)
{
    SetProgress(percent);
}

void CStatusbar::OnProgressHide()
{
    progress_->setValue(0);
    progressFilter_.Reset(0);
    progress_->hide();
}

std::unique_ptr<QMenu> CStatusbar::BuildFormatMenu()
{
    frame_.EnsureInputPort();
    auto menu = std::make_unique<QMenu>(this);
    AddItems(*menu->addMenu(tr("Sample Rate")), FormatMenuModel::RateItems(frame_), *this);
    AddItems(*menu->addMenu(tr("Sample Width")), FormatMenuModel::WidthItems(frame_), *this);
    AddItems(*menu->addMenu(tr("Channels")), FormatMenuModel::ChannelItems(frame_), *this);
    return menu;
}

void CStatusbar::OnFormatCommand(std::uint32_t command)
{
    FormatMenuModel::Execute(command, frame_);
}

void CStatusbar::resizeEvent(QResizeEvent*)
{
    DoLayout();
    progress_->setGeometry(layout_.textRect);
    SetProgress(0);
    UpdateStatus(kUpdateAll);
}

void CStatusbar::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !layout_.formatArea.contains(event->position().toPoint()))
        return;
    QMenu* menu = BuildFormatMenu().release();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(mapToGlobal(layout_.formatArea.topLeft()));
}

void CStatusbar::mouseMoveEvent(QMouseEvent* event)
{
    // The text gives no other sign that it opens a menu.
    const bool overMenu = layout_.formatArea.contains(event->position().toPoint());
    setCursor(overMenu ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void CStatusbar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Button));
    painter.setPen(Qt::white);
    painter.drawLine(0, 0, width() - 1, 0);

    DrawSunkenFrame(painter, layout_.textRect);
    DrawSunkenFrame(painter, layout_.paneRect);

    painter.setFont(StatusFont());
    painter.setPen(palette().color(QPalette::ButtonText));
    painter.setClipRect(layout_.textRect);
    const QString text = QString::fromStdString(statusText_);
    painter.drawText(QRect(layout_.textRect.left() + 4, 4, layout_.textRect.width() - 4, layout_.textRect.height()),
                     Qt::AlignLeft | Qt::AlignTop, text);
    painter.setClipping(false);
    // What the next text refresh compares with.
    paintedText_ = statusText_;

    DrawLevels(painter);
}

void CStatusbar::DrawSunkenFrame(QPainter& painter, const QRect& r) const
{
    // The corners are exclusive at the right and bottom edges.
    const int left = r.left();
    const int top = r.top();
    const int right = r.left() + r.width();
    const int bottom = r.top() + r.height();
    painter.setPen(kFrameLight);
    painter.drawLine(left, bottom, right, bottom);
    painter.drawLine(right, bottom, right, top + 1);
    painter.setPen(kFrameDark);
    painter.drawLine(right, top, left + 1, top);
    painter.drawLine(left, top, left, bottom - 1);
}

void CStatusbar::DrawLevels(QPainter& painter) const
{
    const QRect& pane = layout_.paneRect;
    const int w = pane.width();
    if (w <= 4)
        return;
    const int h = LevelBar::BarHeight(pane.height());
    for (int channel = 0; channel < 2; ++channel) {
        const int startX = pane.left() + 2;
        const int startY = channel == 0 ? pane.top() + 2 : pane.top() + h + 4;
        const std::int32_t level = levels_.Level(channel);
        if (LevelBar::IsOverload(level)) {
            painter.fillRect(QRect(QPoint(startX + 1, startY), QPoint(startX + w - 2, startY + h)), QColor(255, 0, 0));
            continue;
        }
        const std::vector<QRgb> row = LevelBar::Row(w, level);
        if (row.size() < 2)
            continue;
        QImage rowImage(static_cast<int>(row.size()) - 1, 1, QImage::Format_RGB32);
        for (std::size_t x = 1; x < row.size(); ++x)
            rowImage.setPixel(static_cast<int>(x) - 1, 0, row[x]);
        // The one-pixel row is repeated over the h rows below it.
        painter.drawImage(QRect(startX + 1, startY, rowImage.width(), h + 1), rowImage);
    }
}
