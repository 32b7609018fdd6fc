#include "utilities/CSigGen.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFocusEvent>
#include <QPainter>
#include <QPushButton>
#include <QScopedValueRollback>

#include <algorithm>

#include "platform/MessageBox.h"
#include "settings/FrameSettings.h"
#include "utilities/siggen/TPinkWave.h"
#include "utilities/siggenlogic/TSigGenPlayRules.h"
#include "utilities/siggenlogic/TSigGenTypeList.h"

namespace {

constexpr int kFontPixels = 13;
constexpr int kComboHeight = 23;

// Control rectangles of the full layout, in client pixels.
constexpr QRect kRunRect{4, 4, 106, 26};
constexpr QRect kStopRect{4, 4, 42, 26};
constexpr QRect kLevelRect{116, 4, 90, 26};
constexpr QRect kLeftTypeRect{20, 36, 90, kComboHeight};
constexpr QRect kLeftDetailsRect{116, 36, 90, 23};
constexpr QRect kRightTypeRect{20, 64, 90, kComboHeight};
constexpr QRect kRightDetailsRect{116, 64, 90, 23};

} // namespace

CSigGen::CSigGen(SigGenFrame* frame, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_PFrame(frame), m_Builder(&m_Relay)
{
    setObjectName("SigGen");
    setWindowTitle(kCaption);
    m_Channels = Settings().Processing.Format.GetChannels();
    m_Font.setFamily("Arial");
    m_Font.setPixelSize(kFontPixels);
    m_OneShotTimer.setSingleShot(true);
    connect(&m_OneShotTimer, &QTimer::timeout, this, &CSigGen::OnTimer);
    connect(&m_Relay, &SigGenBuildRelay::BuildProgress, this, &CSigGen::OnBuildProgress, Qt::QueuedConnection);
    connect(&m_Relay, &SigGenBuildRelay::BuildFinished, this, &CSigGen::OnBuildFinished, Qt::QueuedConnection);
}

CSigGen::~CSigGen()
{
    // The frame may be going too: stop our own port without reaching it.
    m_Builder.StopBuild();
    m_OneShotTimer.stop();
    ReleasePort();
}

bool CSigGen::Create(const QPoint& topLeft)
{
    // The corner of the window's own area, as its placement is stored;
    // move() would put the frame's corner there before the window is shown.
    setGeometry(QRect(topLeft, size()));
    CreateControls();
    return true;
}

QPushButton* CSigGen::MakeButton(int id, const QString& text)
{
    auto* button = new QPushButton(text, this);
    button->setObjectName(QString::number(id));
    button->setFont(m_Font);
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

void CSigGen::CreateControls()
{
    m_PRunButton = MakeButton(kRunId, "Run");
    m_PStopButton = MakeButton(kStopId, "Stop");
    m_PLevelButton = MakeButton(kLevelId, "Level");
    m_PLeftDetailsButton = MakeButton(kLeftDetailsId, "Details...");
    m_PRightDetailsButton = MakeButton(kRightDetailsId, "Details...");
    m_PStopButton->hide();
    m_PLeftTypeCombo = new QComboBox(this);
    m_PRightTypeCombo = new QComboBox(this);
    m_PLeftTypeCombo->setObjectName(QString::number(kLeftTypeId));
    m_PRightTypeCombo->setObjectName(QString::number(kRightTypeId));
    for (QComboBox* combo : {m_PLeftTypeCombo, m_PRightTypeCombo}) {
        combo->setFont(m_Font);
        combo->setMaxVisibleItems(16);
    }
    m_PRightTypeCombo->installEventFilter(this);

    connect(m_PRunButton, &QPushButton::clicked, this, &CSigGen::OnRunButton);
    connect(m_PStopButton, &QPushButton::clicked, this, &CSigGen::StopGenerator);
    connect(m_PLevelButton, &QPushButton::clicked, this, &CSigGen::OnLevel);
    connect(m_PLeftDetailsButton, &QPushButton::clicked, this, &CSigGen::OnDetailsLeft);
    connect(m_PRightDetailsButton, &QPushButton::clicked, this, &CSigGen::OnDetailsRight);
    connect(m_PLeftTypeCombo, &QComboBox::activated, this, &CSigGen::OnSelChangeLeftType);
    connect(m_PRightTypeCombo, &QComboBox::activated, this, &CSigGen::OnSelChangeRightType);

    CreateTypeCombo(0);
    CreateTypeCombo(1);
    // The left list always holds every entry: widen the lists (and the
    // window) only as far as this style needs to show the longest one.
    m_PLeftTypeCombo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_ListExtraWidth = std::max(0, m_PLeftTypeCombo->sizeHint().width() - kLeftTypeRect.width());

    auto pink = std::make_shared<TPinkWave>();
    if (pink->LoadDefault())
        m_Builder.SetPinkWave(std::move(pink));
    else
        platform::ShowMessageBox("Failure Loading Resources - insufficient memory.");

    UpdateOutputFormat();
    StartBuild();

    show();
    m_ControlsCreated = true;
    UpdateLayout();
}

void CSigGen::CreateTypeCombo(int channel)
{
    QComboBox* combo = channel == 0 ? m_PLeftTypeCombo : m_PRightTypeCombo;
    const FrameSettings& settings = Settings();
    const auto contents = TSigGenTypeList::For(channel, settings.SigGenChannel[channel].SigType, m_Channels,
                                               settings.LockSignalGeneratorChannels != 0);
    combo->clear();
    for (const TSigGenTypeEntry& entry : contents.Entries)
        combo->addItem(entry.Text, entry.SigType);
    combo->setCurrentIndex(contents.Selected);
}

void CSigGen::UpdateLayout()
{
    if (!m_ControlsCreated)
        return;
    const QScopedValueRollback rearranging(m_Rearranging, true);
    const bool full = !m_Playing;
    const int extra = m_ListExtraWidth;
    m_PRunButton->setGeometry(kRunRect.adjusted(0, 0, extra, 0));
    m_PStopButton->setGeometry(kStopRect);
    m_PLevelButton->setGeometry(kLevelRect.translated(extra, 0));
    m_PLeftTypeCombo->setGeometry(kLeftTypeRect.adjusted(0, 0, extra, 0));
    m_PLeftDetailsButton->setGeometry(kLeftDetailsRect.translated(extra, 0));
    m_PRightTypeCombo->setGeometry(kRightTypeRect.adjusted(0, 0, extra, 0));
    m_PRightDetailsButton->setGeometry(kRightDetailsRect.translated(extra, 0));
    for (QWidget* control : {static_cast<QWidget*>(m_PRunButton), static_cast<QWidget*>(m_PLevelButton),
                             static_cast<QWidget*>(m_PLeftTypeCombo), static_cast<QWidget*>(m_PLeftDetailsButton),
                             static_cast<QWidget*>(m_PRightTypeCombo), static_cast<QWidget*>(m_PRightDetailsButton)})
        control->setVisible(full);
    m_PStopButton->setVisible(!full);
    if (!full)
        m_PStopButton->setEnabled(true);
    // Hiding the control that had the focus passed it down the chain; it
    // belongs on the button that now starts or stops the signal.
    (full ? m_PRunButton : m_PStopButton)->setFocus(Qt::OtherFocusReason);
    setFixedSize(full ? GetFullClientSize() : kPlayingSize - kNonClientSize);
    UpdateCaption();
    UpdateDetailsButtons();
}

QSize CSigGen::GetFullClientSize() const
{
    return kFullSize - kNonClientSize + QSize(m_ListExtraWidth, 0);
}

void CSigGen::UpdateCaption()
{
    // A playing window is too small for a caption.
    if (m_Playing)
        setWindowTitle(QString());
    else
        setWindowTitle(m_BuildShown ? kBuildingCaption : kCaption);
}

void CSigGen::UpdateDetailsButtons()
{
    if (!m_ControlsCreated)
        return;
    const FrameSettings& settings = Settings();
    const bool locked = settings.LockSignalGeneratorChannels != 0;
    for (int channel = 0; channel < 2; ++channel) {
        QPushButton* button = channel == 0 ? m_PLeftDetailsButton : m_PRightDetailsButton;
        button->setEnabled(TSigGenPlayRules::IsDetailsEnabled(channel, settings.SigGenChannel[channel].SigType,
                                                              m_Channels, locked));
    }
}

void CSigGen::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Button));
    if (m_Playing)
        return;
    painter.setFont(m_Font);
    painter.setPen(palette().color(QPalette::ButtonText));
    const QFontMetrics metrics(m_Font);
    // Top-left aligned text, as the labels beside the two lists.
    painter.drawText(QPoint(6, 40 + metrics.ascent()), "L");
    if (m_Channels == 2)
        painter.drawText(QPoint(6, 68 + metrics.ascent()), "R");
}

void CSigGen::closeEvent(QCloseEvent* event)
{
    // Nothing may write the buffer once the window starts to go.
    m_Builder.StopBuild();
    StopGenerator();
    emit ClosingUtility(this);
    // The frame deletes the window through its toggle; it does not close itself.
    event->ignore();
}

bool CSigGen::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_PRightTypeCombo && event->type() == QEvent::FocusIn && !m_Rearranging) {
        // Only the operator moving into the list raises the notice: not focus
        // coming back from the notice itself, nor focus that hiding the
        // control that held it passes on.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::MouseFocusReason || reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason
            || reason == Qt::ShortcutFocusReason)
            OnRightTypeFocus();
    }
    return QWidget::eventFilter(watched, event);
}

void CSigGen::OnRightTypeFocus()
{
    const FrameSettings& settings = Settings();
    const char* notice = TSigGenPlayRules::RightChannelNotice(settings.LockSignalGeneratorChannels != 0,
                                                             settings.Processing.Format.GetChannels());
    if (notice != nullptr)
        platform::ShowMessageBox(notice, platform::MessageIcon::Information);
}
