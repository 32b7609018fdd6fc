#include "utilities/TRecorder.h"

#include "widgets/CToolBtn.h"
#include "audio/TWaveFile.h"
#include "platform/MessageBox.h"
#include "platform/TimeText.h"
#include "settings/FrameSettings.h"
#include "utilities/CQueryCalibrationDlg.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace {

// The transport's client area below the menu.
constexpr int kClientWidth = 218;
constexpr int kTransportHeight = 56;
constexpr int kButtonWidth = 40;
constexpr int kButtonHeight = 32;
constexpr int kButtonX[] = {2, 44, 86, 128, 170};
constexpr int kLabelY = 38;

struct ButtonEntry {
    int id;
    const char* up;
    const char* down;
    const char* grey;
    const char* tip;
};

constexpr ButtonEntry kButtonEntries[] = {
    {TRecorder::kRecordId, "RecUp", "RecDown", "RecGrey", "Record file"},
    {TRecorder::kPlayId, "PlayUp", "PlayDown", "PlayGrey", "Playback file"},
    {TRecorder::kStopId, "StopUp_Rec", "StopDown_Rec", "StopGrey_Rec", "Stop recording file"},
    {TRecorder::kRewindId, "RwdUp", "RwdDown", "RwdGrey", "Rewind to the start of the file"},
    {TRecorder::kFastForwardId, "FwdUp", "FwdDown", "FwdGrey", "Fast Forward to the end of the file"},
};

const QString kWaveFilter = QStringLiteral("Wave Files (*.wav)");

QString DefaultChooser(QWidget* parent, TRecorder::FileDialog kind, const QString& given)
{
    // Without its closing separator a folder that is missing reads as a file
    // name: the dialog would propose "Wave" as the name to save under.
    const QString folder = given.isEmpty() || given.endsWith(QLatin1Char('/')) ? given : given + QLatin1Char('/');
    switch (kind) {
    case TRecorder::FileDialog::Open:
        return QFileDialog::getOpenFileName(parent, QStringLiteral("Open Wave File"), folder, kWaveFilter);
    case TRecorder::FileDialog::Delete:
        return QFileDialog::getOpenFileName(parent, QStringLiteral("Delete Wave Files"), folder, kWaveFilter);
    case TRecorder::FileDialog::SaveAs: {
        QFileDialog dialog(parent, QStringLiteral("Save Wave File"), folder, kWaveFilter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("wav"));
        return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty() ? dialog.selectedFiles().first()
                                                                                      : QString();
    }
    }
    return {};
}

bool DefaultCalibrationQuestion(QWidget* parent)
{
    bool disable = false;
    CQueryCalibrationDlg dialog(parent, &disable);
    dialog.exec();
    return disable;
}

} // namespace

TRecorder::TRecorder(RecorderFrame* frame, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_Frame(frame), m_Document(frame->GetSettings()), m_ChooseFile(DefaultChooser),
      m_AskCalibration(DefaultCalibrationQuestion)
{
    setObjectName(QStringLiteral("Recorder"));
    setWindowTitle(QString::fromLatin1(TRecorderDocument::kTitle));
    m_Font = QFont(QStringLiteral("Arial"));
    m_Font.setPixelSize(15);
}

TRecorder::~TRecorder()
{
    // Whatever runs on the file stops before the file goes; an unsaved
    // recording goes with the window only after CloseFile allowed it.
    OnStop();
}

bool TRecorder::Create(const QPoint& topLeft)
{
    // The corner of the window's own area, as its placement is stored;
    // move() would put the frame's corner there before the window is shown.
    setGeometry(QRect(topLeft, size()));
    CreateControls();
    show();
    m_Document.SetTitle(TRecorderDocument::kUntitledTitle);
    ApplyTitle();
    UpdateButtons();
    return true;
}

void TRecorder::CreateControls()
{
    m_Menu = new QMenuBar(this);
    m_Menu->setNativeMenuBar(false);
    QMenu* file = m_Menu->addMenu(QStringLiteral("File"));
    file->setObjectName(QStringLiteral("FileMenu"));
    const auto item = [this, file](const char* text, std::uint32_t id) {
        QAction* action = file->addAction(QString::fromLatin1(text));
        action->setObjectName(QStringLiteral("Command%1").arg(id));
        connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
    };
    item("&New", kFileNew);
    item("&Open...", kFileOpen);
    item("&Close", kFileClose);
    item("&Save...", kFileSave);
    item("Save &As...", kFileSaveAs);
    item("Delete...", kFileDelete);
    file->addSeparator();
    item("E&xit", kFileExit);
    const int top = m_Menu->sizeHint().height();
    m_Menu->setGeometry(0, 0, kClientWidth, top);

    for (std::size_t i = 0; i < m_Buttons.size(); ++i) {
        const ButtonEntry& item = kButtonEntries[i];
        auto* button = new CToolBtn(this, static_cast<std::uint32_t>(item.id), QString::fromLatin1(item.up),
                                    QString::fromLatin1(item.down), QString::fromLatin1(item.grey),
                                    QString::fromLatin1(item.tip));
        button->setGeometry(kButtonX[i], top + 1, kButtonWidth, kButtonHeight);
        button->show();
        connect(button, &CToolBtn::Command, this, [this](std::uint32_t id) { OnCommand(id); });
        m_Buttons[i] = button;
    }

    m_PositionBar = new QScrollBar(Qt::Horizontal, this);
    m_PositionBar->setObjectName(QStringLiteral("PositionBar%1").arg(kPositionBarId));
    m_PositionBar->setRange(0, kBarRange);
    m_PositionBar->setSingleStep(10);
    m_PositionBar->setPageStep(100);
    m_PositionBar->setGeometry(53, top + kLabelY, 112, 16);
    m_PositionBar->show();
    connect(m_PositionBar, &QScrollBar::actionTriggered, this,
            [this](int action) { OnScroll(action, m_PositionBar->sliderPosition()); });

    setFixedSize(kClientWidth, top + kTransportHeight);
}

CToolBtn* TRecorder::Button(int id) const
{
    const int index = id - kRecordId;
    return index >= 0 && index < static_cast<int>(m_Buttons.size()) ? m_Buttons[static_cast<std::size_t>(index)]
                                                                      : nullptr;
}

void TRecorder::ReloadBitmaps()
{
    for (CToolBtn* button : m_Buttons)
        if (button != nullptr)
            button->LoadBitmaps();
}

void TRecorder::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange)
        ReloadBitmaps();
    QWidget::changeEvent(event);
}

void TRecorder::ApplyTitle()
{
    setWindowTitle(QString::fromStdString(m_Document.Title()));
}

// ---- Buttons and position ------------------------------------------------------

void TRecorder::UpdateButtons()
{
    const recorder_buttons::Looks looks = recorder_buttons::For(m_Document.HasFile(), m_State);
    for (std::size_t i = 0; i < m_Buttons.size(); ++i) {
        CToolBtn* button = m_Buttons[i];
        if (button == nullptr)
            continue;
        button->ClearLatch();
        button->ClearGreyed();
        if (looks[i] == recorder_buttons::Look::Latched)
            button->SetLatch();
        else if (looks[i] == recorder_buttons::Look::Grey)
            button->SetGreyed();
    }
}

float TRecorder::TotalSeconds() const
{
    const TWaveFile* file = m_Document.File();
    return file != nullptr ? file->GetDataSeconds() : 0.0f;
}

float TRecorder::ElapsedSeconds() const
{
    const int position = m_PositionBar != nullptr ? m_PositionBar->value() : 0;
    return static_cast<float>(position) * TotalSeconds() / kBarRange;
}

QString TRecorder::ElapsedText() const
{
    return QString::fromLatin1(FormatTime(ElapsedSeconds(), 1, 0));
}

QString TRecorder::TotalText() const
{
    return QString::fromLatin1(FormatTime(TotalSeconds(), 1, 0));
}

void TRecorder::UpdatePosition()
{
    TWaveFile* file = m_Document.File();
    if (file != nullptr && m_State == kRecording) {
        // The memory follows the recording; when none can be had, or the
        // longest recording is reached, it stops and keeps what it has.
        const TRecorderDocument::Room room = m_Document.KeepRecordingRoom();
        if (room != TRecorderDocument::Room::Enough) {
            OnStop();
            m_Document.ReportRoom(room);
            return;
        }
    }
    if (file != nullptr && m_PositionBar != nullptr) {
        // The cursor already counts from the file's start: recording and
        // playback both move it on from where they began.
        const double t = file->GetCursorSeconds();
        const double total = file->GetDataSeconds();
        // Rounded: the cursor a bar step placed must read back as that step.
        const int position = total > 0.0 ? static_cast<int>(std::lround(t * kBarRange / total)) : 0;
        m_PositionBar->setValue(position);
    }
    update();
}

void TRecorder::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().button());
    painter.setFont(m_Font);
    painter.setPen(palette().buttonText().color());
    const int top = (m_Menu != nullptr ? m_Menu->height() : 0) + kLabelY;
    const QFontMetrics metrics(m_Font);
    const QString elapsed = ElapsedText();
    painter.drawText(49 - metrics.horizontalAdvance(elapsed), top + metrics.ascent(), elapsed);
    painter.drawText(169, top + metrics.ascent(), TotalText());
}

void TRecorder::OnScroll(int action, int value)
{
    if (m_PositionBar == nullptr)
        return;
    int position = m_PositionBar->value();
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub: position -= 10; break;
    case QAbstractSlider::SliderSingleStepAdd: position += 10; break;
    case QAbstractSlider::SliderPageStepSub: position -= 100; break;
    case QAbstractSlider::SliderPageStepAdd: position += 100; break;
    case QAbstractSlider::SliderMove: position = value; break;
    // The bar's own menu: its ends move the cursor too.
    case QAbstractSlider::SliderToMinimum: position = 0; break;
    case QAbstractSlider::SliderToMaximum: position = kBarRange; break;
    default: return;
    }
    position = std::clamp(position, 0, kBarRange);
    // The slider applies its own step after this; it must land here.
    m_PositionBar->setSliderPosition(position);
    m_PositionBar->setValue(position);
    if (TWaveFile* file = m_Document.File()) {
        file->SetPositionSeconds(static_cast<double>(position) * file->GetDataSeconds() / kBarRange);
        UpdatePosition();
    }
    update();
}

// ---- Transport ---------------------------------------------------------------------

void TRecorder::StopIfRunning()
{
    if (m_Frame->IsAnalyzerRunning() && !m_Frame->IsPlaybackRunning())
        m_Frame->StopAnalyzer();
    if (m_Frame->IsPlaybackRunning())
        m_Frame->StopPlayback();
}

void TRecorder::OnRecord()
{
    StopIfRunning();
    if (!m_Document.PrepareRecording()) {
        m_State = kStopped;
        ApplyTitle();
        UpdateButtons();
        UpdatePosition();
        return;
    }
    ApplyTitle();
    m_State = kRecording;
    if (m_Frame->StartRecordingInput())
        m_Document.File()->Modified = 1;
    else
        m_State = kStopped;
    UpdateButtons();
}

void TRecorder::OnPlay()
{
    StopIfRunning();
    if (!m_Document.HasFile()) {
        platform::ShowMessageBox(kNoFileMessage, platform::MessageIcon::Information);
        return;
    }
    if (m_Frame->StartPlayback())
        m_State = kPlaying;
    UpdateButtons();
}

void TRecorder::OnStop()
{
    if (m_State != kStopped || m_Frame->IsPlaybackRunning())
        StopIfRunning();
    m_State = kStopped;
    UpdatePosition();
    UpdateButtons();
}

void TRecorder::OnRewind()
{
    TWaveFile* file = m_Document.File();
    if (file == nullptr)
        return;
    if (m_State != kStopped)
        OnStop();
    file->Rewind();
    UpdatePosition();
}

void TRecorder::OnFastForward()
{
    TWaveFile* file = m_Document.File();
    if (file == nullptr)
        return;
    if (m_State != kStopped)
        OnStop();
    file->SeekDataEnd();
    UpdatePosition();
}

// ---- File --------------------------------------------------------------------------

QString TRecorder::Choose(FileDialog kind)
{
    return m_ChooseFile ? m_ChooseFile(this, kind, QString::fromStdString(m_Document.DialogFolder())) : QString();
}

TRecorderDocument::Prompts TRecorder::Prompts()
{
    TRecorderDocument::Prompts prompts;
    prompts.chooseSaveAsPath = [this] { return Choose(FileDialog::SaveAs).toStdString(); };
    prompts.askDisableCalibration = [this] { return m_AskCalibration && m_AskCalibration(this); };
    prompts.currentInputRange = [this] { return m_Frame->CurrentInputRange(); };
    return prompts;
}

bool TRecorder::CloseFile()
{
    if (m_State != kStopped)
        OnStop();
    const bool closed = m_Document.CloseFile(Prompts());
    ApplyTitle();
    UpdateButtons();
    UpdatePosition();
    return closed;
}

void TRecorder::OpenFile(const QString& path)
{
    if (path.size() <= 2)
        return;
    if (m_State != kStopped)
        OnStop();
    const bool opened = m_Document.Open(path.toStdString(), Prompts());
    ApplyTitle();
    UpdateButtons();
    UpdatePosition();
    // The analysis takes the file's format and channels.
    if (opened)
        m_Frame->ReinitInput();
}

void TRecorder::OnCommand(std::uint32_t id)
{
    switch (id) {
    case kRecordId: OnRecord(); return;
    case kPlayId: OnPlay(); return;
    case kStopId: OnStop(); return;
    case kRewindId: OnRewind(); return;
    case kFastForwardId: OnFastForward(); return;
    case kFileExit: emit ClosingUtility(this); return;
    default: break;
    }

    if (m_State != kStopped)
        OnStop();
    switch (id) {
    case kFileNew:
        if (CloseFile()) {
            m_Document.SetTitle(TRecorderDocument::kUntitledTitle);
            ApplyTitle();
        }
        break;
    case kFileOpen:
        // The current file goes first: a cancelled dialog leaves none.
        if (CloseFile()) {
            const QString path = Choose(FileDialog::Open);
            if (!path.isEmpty())
                OpenFile(path);
        }
        break;
    case kFileClose: CloseFile(); break;
    case kFileSave: m_Document.Save(Prompts()); break;
    case kFileSaveAs:
        if (m_Document.HasFile()) {
            const QString path = Choose(FileDialog::SaveAs);
            if (!path.isEmpty())
                m_Document.SaveAs(path.toStdString());
        }
        break;
    case kFileDelete: {
        const QString path = Choose(FileDialog::Delete);
        if (!path.isEmpty())
            m_Document.Delete(path.toStdString());
        break;
    }
    default: break;
    }
    ApplyTitle();
    UpdateButtons();
    UpdatePosition();
}

void TRecorder::closeEvent(QCloseEvent* event)
{
    emit ClosingUtility(this);
    // The frame closes the window through its toggle, after asking about
    // the file; it does not close itself.
    event->ignore();
}
