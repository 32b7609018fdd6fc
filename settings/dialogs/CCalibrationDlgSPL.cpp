#include "settings/dialogs/CCalibrationDlgSPL.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "audio/DaqDevice.h"
#include "audio/TWaveData.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "platform/NumberText.h"
#include "platform/qt/Utf8LengthValidator.h"
#include "settings/Calibration.h"
#include "settings/CalibrationMeasure.h"
#include "settings/CalibrationMethods.h"
#include "settings/FloatFieldBounds.h"
#include "settings/dialogs/DialogIds.h"

using calibration::Method;

namespace {

struct ChannelIds {
    int method[4];
    int caption;
    int value;
    int perform;
    int progress;
    int title;
};
constexpr ChannelIds kIds[2] = {
    {{2279, 2306, 2307, 2312}, 2302, 2300, 1657, 2332, 2330},
    {{2280, 2311, 2313, 2314}, 2316, 2315, 1658, 2333, 2331},
};

// A value the page refuses is told under the page's own caption.
constexpr const char* kRefusalCaption = "Calibration Error";

constexpr int kTickMs = 100;
// A recording whose position has not moved for this many ticks has stopped.
constexpr int kStallTicks = 30;

} // namespace

CCalibrationDlgSPL::CCalibrationDlgSPL(ProcessingSheetRecords& records, ProcessingSheetServices& services,
                                       QWidget* parent)
    : QWidget(parent), m_Records(records), m_Services(services)
{
    setWindowTitle(tr("Calibration"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(BuildChannel(0));
    layout->addWidget(BuildChannel(1));
    layout->addStretch(1);
    m_Timer.setSingleShot(true);
    connect(&m_Timer, &QTimer::timeout, this, [this] { OnTimer(); });
    LoadControls();
}

CCalibrationDlgSPL::~CCalibrationDlgSPL()
{
    AbortCalibration();
}

QWidget* CCalibrationDlgSPL::BuildChannel(int ch)
{
    ChannelControls& c = m_Channel[ch];
    const ChannelIds& ids = kIds[ch];
    auto* box = new QGroupBox(ch == 0 ? QStringLiteral("Calibration Type and Method") : QString());
    auto* grid = new QGridLayout(box);
    int row = 0;
    if (ch == 1) {
        c.labels << WithId(new QLabel(QStringLiteral("---------- Right Channel ----------")), 2322);
        grid->addWidget(c.labels.back(), row++, 0, 1, 3);
    }
    c.group = new QButtonGroup(this);
    for (int m = 0; m < 4; ++m) {
        c.method[m] = WithId(new QRadioButton(QString::fromUtf8(calibration::EntryOf(Method(m)).radioText)),
                             ids.method[m]);
        c.group->addButton(c.method[m], m);
        grid->addWidget(c.method[m], row + m / 2, m % 2);
    }
    row += 2;
    auto* values = new QGroupBox(QStringLiteral("Calibration Values"));
    auto* valueGrid = new QGridLayout(values);
    c.caption = WithId(new QLabel(QStringLiteral("Microphone Calibrator Level (SPL)")), ids.caption);
    c.value = WithId(new QLineEdit, ids.value);
    c.perform = WithId(new QPushButton(QStringLiteral("&Perform Calibration (approximately 10 seconds)")), ids.perform);
    c.progress = WithId(new QProgressBar, ids.progress);
    c.progress->setRange(0, 100);
    valueGrid->addWidget(c.caption, 0, 0);
    valueGrid->addWidget(c.value, 0, 1);
    valueGrid->addWidget(c.perform, 1, 0);
    valueGrid->addWidget(c.progress, 1, 1);
    grid->addWidget(values, row++, 0, 1, 3);
    auto* titleBox = new QGroupBox(QStringLiteral("Channel Title (shown on top of plot)"));
    auto* titleLayout = new QVBoxLayout(titleBox);
    c.title = WithId(new QLineEdit, ids.title);
    c.title->setValidator(new Utf8LengthValidator(TChannelCalibration::kChannelNameSize - 1, c.title));
    titleLayout->addWidget(c.title);
    grid->addWidget(titleBox, row++, 0, 1, 3);

    connect(c.group, &QButtonGroup::idClicked, this, [this] {
        if (!m_Loading)
            UpdateControls();
    });
    connect(c.perform, &QPushButton::clicked, this, [this, ch] { StartCalibration(ch); });
    return box;
}

void CCalibrationDlgSPL::ShowMethodValue(int ch, int method)
{
    ChannelControls& c = m_Channel[ch];
    if (method == c.shown || method < 0 || method >= 4)
        return;
    if (c.shown >= 0)
        c.valueText[c.shown] = c.value->text();
    c.shown = method;
    c.value->setText(c.valueText[method]);
}

float CCalibrationDlgSPL::EditedRange() const
{
    return DaqDevice::InputRangeForGain(m_Records.Daq.DAQ_InputGain);
}

std::optional<float> CCalibrationDlgSPL::InputRange() const
{
    if (!m_Services.IsDaqDevice(m_Records.InputDevice))
        return std::nullopt;
    return EditedRange();
}

void CCalibrationDlgSPL::LoadControls()
{
    for (int ch = 0; ch < 2; ++ch) {
        ChannelControls& c = m_Channel[ch];
        const TChannelCalibration& r = m_Records.Calibration[ch];
        const Method method = calibration::MethodOf(r);
        c.group->setExclusive(false);
        for (QRadioButton* radio : c.method)
            radio->setChecked(false);
        c.group->setExclusive(true);
        if (method != Method::kNone)
            c.method[static_cast<int>(method)]->setChecked(true);
        // Each method keeps its own text while the page is open; a method
        // the record holds no value for starts empty.
        for (int m = 0; m < 4; ++m) {
            const std::optional<float> stored = calibration::StoredValueOf(r, Method(m));
            c.valueText[m] = stored ? QString::fromStdString(calibration::ValueFieldText(*stored)) : QString();
        }
        c.shown = static_cast<int>(method);
        c.value->setText(c.shown >= 0 ? c.valueText[c.shown] : QString());
        c.title->setText(QString::fromUtf8(r.ChannelName, static_cast<qsizetype>(::strnlen(r.ChannelName, 40))));
        c.progress->setValue(0);
        c.progress->hide();
    }
    m_Loading = false;
    UpdateControls();
}

void CCalibrationDlgSPL::UpdateControls()
{
    const bool two = m_Records.Processing.Format.NumChannels == 2;
    for (int ch = 0; ch < 2; ++ch) {
        ChannelControls& c = m_Channel[ch];
        const bool on = ch == 0 || two;
        for (QRadioButton* radio : c.method)
            radio->setEnabled(on);
        for (QLabel* label : c.labels)
            label->setEnabled(on);
        c.caption->setEnabled(on);
        c.value->setEnabled(on);
        c.title->setEnabled(on);
        const int checked = c.group->checkedId();
        // The value field follows the method: each shows its own value.
        ShowMethodValue(ch, checked);
        if (checked >= 0) {
            const auto& item = calibration::EntryOf(Method(checked));
            c.caption->setText(QString::fromUtf8(item.valueCaption));
            if (!m_Recording || m_Calibrating != ch)
                c.perform->setEnabled(on && item.canPerform);
            calibration::SelectMethod(m_Records.Calibration[ch], Method(checked));
        } else {
            c.perform->setEnabled(false);
        }
        if (!on)
            c.perform->setEnabled(false);
    }
}

bool CCalibrationDlgSPL::ApplyCalibration()
{
    const int channels = m_Records.Processing.Format.NumChannels == 2 ? 2 : 1;
    for (int ch = 0; ch < channels; ++ch) {
        const ChannelControls& c = m_Channel[ch];
        const float value = ToFloatField(platform::ParseFloatPrefix(c.value->text().toStdString()));
        const std::string failure = calibration::ApplyChannel(m_Records.Calibration[ch], Method(c.group->checkedId()),
                                                              value, c.title->text().toStdString(), ch);
        if (!failure.empty()) {
            platform::ShowMessageBox(kRefusalCaption, failure, platform::MessageIcon::Error);
            return false;
        }
    }
    const std::optional<float> range = InputRange();
    for (TChannelCalibration& record : m_Records.Calibration)
        calibration::RecomputeCalibration(record, range);
    AbortCalibration();
    return true;
}

void CCalibrationDlgSPL::ResetDefaults()
{
    AbortCalibration();
    calibration::ResetCalibrationDefaults(m_Records.Calibration);
    LoadControls();
}

void CCalibrationDlgSPL::StartCalibration(int ch)
{
    if (m_Recording) {
        AbortCalibration();
        return;
    }
    if (!ApplyCalibration())
        return;
    m_Calibrating = ch;
    m_Channel[0].perform->setEnabled(false);
    const std::optional<int> device = m_Services.FindDaqInputDevice();
    if (!device) {
        platform::ShowMessageBox(
            "The Talvenor DAQ was not detected on your system.  Please plug the device into the USB port.",
            platform::MessageIcon::Error);
        return;
    }
    ChannelControls& c = m_Channel[ch];
    c.progress->setValue(0);
    c.progress->show();
    c.perform->setText(QString::fromUtf8(kAbortText));
    c.perform->setEnabled(true);

    const TWaveFormat& format = m_Records.Processing.Format;
    const std::uint64_t frames = std::uint64_t(format.SamplingRate) * kRecordSeconds + 32768;
    m_Recorder = m_Services.CreateCalibrationRecorder(*device);
    if (!m_Recorder || !m_Recorder->Start(format, m_Records.Daq, frames)) {
        m_Recording = true;  // so that the reset below releases what exists
        FailRecording("The calibration recording could not be started: the input device did not open in the "
                      "selected sampling format.");
        return;
    }
    m_Recording = true;
    m_LastSeconds = 0.0;
    m_StalledTicks = 0;
    m_Timer.start(kTickMs);
}

void CCalibrationDlgSPL::OnTimer()
{
    if (!m_Recording || !m_Recorder)
        return;
    const double seconds = m_Recorder->RecordedSeconds();
    m_Channel[m_Calibrating].progress->setValue(static_cast<int>(seconds * 100.0 / kRecordSeconds));
    m_StalledTicks = seconds > m_LastSeconds ? 0 : m_StalledTicks + 1;
    m_LastSeconds = seconds;
    if (m_StalledTicks >= kStallTicks) {
        FailRecording("The calibration recording stopped: no input arrived from the device.");
        return;
    }
    if (seconds <= 9.8) {
        m_Timer.start(kTickMs);
        return;
    }
    m_Channel[m_Calibrating].progress->setValue(100);
    // The full bar stays a moment, without holding the GUI.
    QTimer::singleShot(250, this, [this] { FinishRecording(); });
}

void CCalibrationDlgSPL::FinishRecording()
{
    if (!m_Recording)
        return;
    m_Channel[m_Calibrating].progress->setValue(0);
    m_Recording = false;
    m_Recorder->Stop();
    EvaluateCalibration();
}

void CCalibrationDlgSPL::EvaluateCalibration()
{
    for (ChannelControls& c : m_Channel) {
        c.progress->setValue(0);
        c.progress->hide();
        c.perform->setText(QString::fromUtf8(kPerformText));
    }
    TChannelCalibration& record = m_Records.Calibration[m_Calibrating];
    // A refused measurement leaves the calibration as it was: OK would
    // otherwise derive the ratio from the level that was refused.
    const float previous = record.PctFullScale;
    const TWaveData* wave = m_Recorder ? m_Recorder->Recording() : nullptr;
    calibration::CalibrationTone tones[2];
    const bool measured = wave != nullptr && calibration::MeasureCalibrationFile(
                                                 *wave, m_Calibrating == 0 ? &record : nullptr,
                                                 m_Calibrating == 1 ? &record : nullptr, tones);
    m_Recorder.reset();
    if (!measured) {
        FailRecording("The calibration recording is too short to be measured.");
        return;
    }
    const float range = EditedRange();
    const calibration::CalibrationVerdict verdict =
        calibration::JudgeCalibration(record.PctFullScale, range, &tones[m_Calibrating]);
    if (!verdict.accepted)
        record.PctFullScale = previous;
    platform::ShowMessageBox(verdict.message,
                             verdict.accepted ? platform::MessageIcon::Information : platform::MessageIcon::Error);
    if (verdict.accepted) {
        record.DAQVoltageRange = m_Services.IsDaqDevice(m_Records.InputDevice) ? range : 0.0f;
        calibration::RecomputeCalibration(record, InputRange());
        // The calibration stands without its history line, but the user is told.
        std::string failure;
        if (!calibration::AppendHistory(
                m_Services.DataRoot(),
                calibration::HistoryLine(platform::CurrentClock().Now(), range, record.RefLevel, verdict.millivolts),
                &failure))
            platform::ShowMessageBox(failure, platform::MessageIcon::Warning);
    }
    UpdateControls();
}

void CCalibrationDlgSPL::FailRecording(const std::string& message)
{
    AbortCalibration();
    platform::ShowMessageBox(message, platform::MessageIcon::Error);
}

void CCalibrationDlgSPL::AbortCalibration()
{
    if (!m_Recording)
        return;
    m_Recording = false;
    m_Timer.stop();
    m_Recorder.reset();
    for (ChannelControls& c : m_Channel) {
        c.progress->setValue(0);
        c.progress->hide();
        c.perform->setText(QString::fromUtf8(kPerformText));
    }
    UpdateControls();
}
