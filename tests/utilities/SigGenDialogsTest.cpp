// The parameter, level and length dialogs: they show their section, store
// it only when their checks pass, stay open with the message otherwise,
// and keep the few oddities their operators rely on.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <cmath>
#include <cstring>
#include <tuple>
#include <utility>

#include "audio/TWaveData.h"
#include "tests/utilities/SigGenWindowTestSupport.h"
#include "utilities/CFreqStep.h"
#include "utilities/CFreqSweep.h"
#include "utilities/CIMDtones.h"
#include "utilities/CLevelSweep.h"
#include "utilities/CNoiseBurst.h"
#include "utilities/CPulse.h"
#include "utilities/CSaveSignalLengthDlg.h"
#include "utilities/CSawtooth.h"
#include "utilities/CSigGenOutputLevelDlg.h"
#include "utilities/CSquare.h"
#include "utilities/CToneBurst.h"
#include "utilities/CTones.h"
#include "utilities/CTriangular.h"
#include "utilities/CUserWaveDialog.h"

using siggen_window_test::MessageCapture;

namespace {

constexpr std::int32_t kNyquist = 24000;

template <typename T = QLineEdit>
T* Find(QWidget& dialog, int id)
{
    auto* control = dialog.findChild<T*>(QString::number(id));
    EXPECT_NE(control, nullptr) << id;
    return control;
}

// Types each text into the edit of its id.
void Type(QWidget& dialog, std::initializer_list<std::pair<int, const char*>> edits)
{
    for (const auto& [id, text] : edits)
        Find(dialog, id)->setText(text);
}

// Checks the radio buttons and check boxes of these ids.
void Check(QWidget& dialog, std::initializer_list<int> ids, bool on = true)
{
    for (int id : ids)
        Find<QAbstractButton>(dialog, id)->setChecked(on);
}

// Presses OK; true when the dialog closed with it.
bool PressOk(QDialog& dialog)
{
    dialog.show();
    dialog.accept();
    return !dialog.isVisible() && dialog.result() == QDialog::Accepted;
}

} // namespace

TEST(SigGenDialogs, ARefusalKeepsTheDialogOpenAndTheSectionUntouchedAndTonesAreStoredAsTyped)
{
    MessageCapture capture;
    ToneBurstSettings section;
    const ToneBurstSettings before = section;
    CToneBurst dialog(nullptr, &section, kNyquist);
    EXPECT_EQ(Find(dialog, 1893)->text(), "1000") << "the dialog shows what is stored";
    Type(dialog, {{1893, "0"}, {1890, "10"}});
    EXPECT_TRUE(!PressOk(dialog) && dialog.isVisible()) << "refused, and still open";
    EXPECT_EQ(section, before);
    EXPECT_EQ(capture.messages, std::vector<std::string>{"Frequency must be between 0 and 24000 Hz."});

    // Nyquist itself passes, and everything read is stored.
    Find(dialog, 1893)->setText("24000");
    EXPECT_TRUE(PressOk(dialog));
    EXPECT_EQ(section, (ToneBurstSettings{24000, 10, before.CycleTimeMsec}));

    // Disabled tones are stored as typed, and amplitudes follow the levels.
    ToneSettings tones[SigGenChannelSettings::kToneCount];
    for (std::size_t i = 0; i < SigGenChannelSettings::kToneCount; ++i)
        tones[i] = {0, 1000.0f * (i + 1), 0.0f};
    tones[0].ToneEnable = 1;
    CTones toneDialog(nullptr, tones, kNyquist);
    EXPECT_EQ(Find(toneDialog, 1910)->text() + "|" + Find(toneDialog, 1919)->text(), "2000.00|  0.00");
    // An enabled tone above 0 dB is refused: the dialog stays and the tones keep what they had.
    Type(toneDialog, {{1919, "+5"}});
    EXPECT_TRUE(!PressOk(toneDialog) && toneDialog.isVisible());
    EXPECT_EQ(tones[0].PwrDB, 0.0f);
    EXPECT_EQ(capture.messages.back(), "Relative Level must be between -96 and 0 dB.");
    Type(toneDialog, {{1919, "-6"}, {1912, "0"}, {1922, "+10"}});
    ASSERT_TRUE(PressOk(toneDialog));
    EXPECT_FLOAT_EQ(tones[0].ToneLinearAmplitude, std::pow(10.0f, -6.0f / 20.0f));
    EXPECT_EQ(tones[3], (ToneSettings{0, 0.0f, 10.0f, tones[3].ToneLinearAmplitude}));

    // IMD ratios are stored as typed and shown whole.
    IMDSettings imd;
    imd.IMDtype = 2;
    CIMDtones custom(nullptr, &imd, kNyquist);
    EXPECT_EQ(std::pair(Find<QRadioButton>(custom, 1932)->isChecked(), Find(custom, 1933)->text()),
              std::pair(true, QString(" 100.0")));
    Find(custom, 1935)->setText("2.5");
    ASSERT_TRUE(PressOk(custom));
    EXPECT_EQ(imd.PwrRatio, 2.5f);
    CIMDtones standard(nullptr, &imd, kNyquist);
    EXPECT_EQ(Find(standard, 1935)->text(), "2");
    // A standard set stores even a ratio the custom set refuses.
    Check(standard, {1930});
    Type(standard, {{1935, "50"}});
    ASSERT_TRUE(PressOk(standard));
    EXPECT_EQ(std::pair(int{imd.IMDtype}, imd.PwrRatio), std::pair(0, 50.0f));
}

namespace {

// Types `bad` into the edit `id`: OK is refused with `message`, the dialog
// stays and the section keeps what it had. Then `good` is taken and stored.
template <typename Dialog, typename Section, typename... Nyquist>
void RefusedThenTaken(int id, const char* bad, const char* good, const std::string& message, Nyquist... nyquist)
{
    MessageCapture capture;
    Section section;
    const Section before = section;
    Dialog dialog(nullptr, &section, nyquist...);
    Type(dialog, {{id, bad}});
    EXPECT_TRUE(!PressOk(dialog) && dialog.isVisible()) << bad;
    EXPECT_EQ(section, before) << bad;
    EXPECT_EQ(capture.messages, std::vector<std::string>{message}) << bad;
    Type(dialog, {{id, good}});
    EXPECT_TRUE(PressOk(dialog)) << good;
    EXPECT_FALSE(section == before) << good << " was stored";
}

} // namespace

TEST(SigGenDialogs, EveryParameterDialogRefusesWhatItsCheckRefusesAndStoresWhatPasses)
{
    const std::string frequency = "Frequency must be between 0 and 24000 Hz.";
    RefusedThenTaken<CNoiseBurst, NoiseBurstSettings>(1890, "0", "1", "Burst time must be greater than 0");
    RefusedThenTaken<CFreqSweep, FreqSweepSettings>(1956, "0", "600000",
                                                    "Sweep time must be between 1 and 600000 Milliseconds.", kNyquist);
    RefusedThenTaken<CFreqStep, FreqStepSettings>(1970, "600001", "600000",
                                                  "Step time must be between 1 and 600000 Milliseconds.", kNyquist);
    RefusedThenTaken<CLevelSweep, LevelSweepSettings>(1953, "0.5", "-96",
                                                      "Start Level must be between   0.00 and -96.00 dB.", kNyquist);
    RefusedThenTaken<CPulse, PulseSettings>(1942, "19", "20",
                                            "Pulse Width must be between 20 and 2000000 Micro Seconds.", kNyquist);
    RefusedThenTaken<CSawtooth, SawtoothSettings>(1895, "0", "24000", frequency, kNyquist);
    RefusedThenTaken<CTriangular, TriangularSettings>(1937, "24000.5", "24000", frequency, kNyquist);
    RefusedThenTaken<CSquare, SquareSettings>(1940, "100", "99", "Duty cycle must be between 1 and 99 Percent.",
                                              kNyquist);
}

TEST(SigGenDialogs, ChoicesReachTheSectionEmptyEditsReadAsZeroAndAPickedFileIsKept)
{
    FreqStepSettings step;
    step.OctaveNumber = 12;
    CFreqStep dialog(nullptr, &step, kNyquist);
    EXPECT_EQ(Find<QComboBox>(dialog, 1972)->currentText(), "1/12 Octave");
    Find<QComboBox>(dialog, 1972)->setCurrentIndex(7);
    Type(dialog, {{1958, ""}, {1959, "no number"}});
    Check(dialog, {1969});
    ASSERT_TRUE(PressOk(dialog));
    EXPECT_EQ(step.OctaveNumber, 96);
    EXPECT_EQ(std::tuple(step.FStartHz, step.FStopHz, step.ReturnStepFlag), std::tuple(0.0f, 0.0f, 1));

    // A stored fraction the list does not offer stays when nothing is chosen.
    step.OctaveNumber = 5;
    CFreqStep odd(nullptr, &step, kNyquist);
    ASSERT_TRUE(PressOk(odd));
    EXPECT_EQ(step.OctaveNumber, 5);

    PulseSettings pulse;
    CPulse pulseDialog(nullptr, &pulse, kNyquist);
    Type(pulseDialog, {{1942, "20"}, {1943, "21"}});
    Check(pulseDialog, {1944});
    ASSERT_TRUE(PressOk(pulseDialog));
    EXPECT_EQ(pulse, (PulseSettings{20, 21, 1}));

    // The return choice opens as stored: a jump back, or a sweep back.
    for (const std::uint16_t flag : {0, 1}) {
        FreqSweepSettings stored;
        stored.ReturnSweepFlag = flag;
        CFreqSweep shown(nullptr, &stored, kNyquist);
        EXPECT_EQ(Find<QRadioButton>(shown, 1962)->isChecked(), flag == 0);
        EXPECT_EQ(Find<QRadioButton>(shown, 1963)->isChecked(), flag == 1);
    }
    FreqSweepSettings sweep;
    CFreqSweep sweepDialog(nullptr, &sweep, kNyquist);
    Check(sweepDialog, {1961, 1963, 1964});
    ASSERT_TRUE(PressOk(sweepDialog));
    EXPECT_EQ(std::tuple(sweep.SweepType, sweep.ReturnSweepFlag, sweep.SingleSweepFlag), std::tuple(2, 1, 1));

    // Radio pairs map onto signed or indexed fields.
    SawtoothSettings saw;
    saw.Slope = -1;
    CSawtooth sawDialog(nullptr, &saw, kNyquist);
    EXPECT_TRUE(Find<QRadioButton>(sawDialog, 1897)->isChecked());
    Check(sawDialog, {1896});
    ASSERT_TRUE(PressOk(sawDialog));
    EXPECT_EQ(saw.Slope, 1);
    NoiseBurstSettings burst;
    CNoiseBurst burstDialog(nullptr, &burst);
    EXPECT_TRUE(Find<QRadioButton>(burstDialog, 1889)->isChecked());
    Check(burstDialog, {1888});
    ASSERT_TRUE(PressOk(burstDialog));
    EXPECT_EQ(burst.Type, 0);

    // A picked wave file is kept even when the dialog is cancelled.
    UserDefinedSettings user;
    std::strcpy(user.WaveFileName, "/old/name.wav");
    CUserWaveDialog picked(nullptr, user.WaveFileName, &user.RepeatFlag, "/data/Wave");
    EXPECT_EQ(Find(picked, 1947)->text(), "/old/name.wav");
    EXPECT_TRUE(Find<QCheckBox>(picked, 1978)->isChecked());
    QString startedIn;
    picked.SetFilePicker([&](QWidget*, const QString& folder) {
        startedIn = folder;
        return QString("/data/Wave/sweep.wav");
    });
    Find<QPushButton>(picked, 1946)->click();
    EXPECT_EQ(startedIn, "/data/Wave");
    Check(picked, {1978}, false);
    picked.show();
    picked.reject();
    EXPECT_STREQ(user.WaveFileName, "/data/Wave/sweep.wav");
    EXPECT_EQ(user.RepeatFlag, 1) << "the check box is stored only on OK";

    // OK keeps at most 259 characters of a typed name.
    CUserWaveDialog typed(nullptr, user.WaveFileName, &user.RepeatFlag, "/data/Wave");
    Find(typed, 1947)->setText(QString(300, 'x'));
    ASSERT_TRUE(PressOk(typed));
    EXPECT_EQ(std::strlen(user.WaveFileName), 259u);

    // A name that is not UTF-8 keeps its bytes through an OK without edits.
    std::strcpy(user.WaveFileName, "/data/Wave/t\xE9st.wav");
    CUserWaveDialog notUtf8(nullptr, user.WaveFileName, &user.RepeatFlag, "/data/Wave");
    ASSERT_TRUE(PressOk(notUtf8));
    EXPECT_STREQ(user.WaveFileName, "/data/Wave/t\xE9st.wav");
}

TEST(SigGenDialogs, OutputLevelUnitsFollowTheFullScaleChoice)
{
    SigGenOutputSettings levels;
    CSigGenOutputLevelDlg dialog(nullptr, &levels, false);
    dialog.show();
    QComboBox* units = Find<QComboBox>(dialog, 2224);
    EXPECT_EQ(std::pair(Find<QRadioButton>(dialog, 2225)->isChecked(), Find(dialog, 2227)->isEnabled()),
              std::pair(true, false));
    Find<QRadioButton>(dialog, 2226)->click();
    EXPECT_EQ(std::pair(units->count(), Find(dialog, 2227)->isEnabled()), std::pair(7, true));

    // Choosing a unit puts its default level into both edits.
    units->setCurrentIndex(3);
    emit units->activated(3);
    EXPECT_EQ(Find(dialog, 2223)->text(), "100.0");

    Type(dialog, {{2222, "250"}, {2227, "2.0"}});
    ASSERT_TRUE(PressOk(dialog));
    EXPECT_EQ(std::tuple(levels.OutputUnits, levels.OutputLevel, levels.FSVoltage, levels.FSOption),
              std::tuple(3, 250.0f, 2.0f, std::uint16_t{0}));
}

// The first unit of the list is stored like any other.
TEST(SigGenDialogs, OutputLevelStoresTheFirstUnitOfTheList)
{
    SigGenOutputSettings levels;
    levels.OutputUnits = 3;
    CSigGenOutputLevelDlg dialog(nullptr, &levels, false);
    dialog.show();
    Find<QRadioButton>(dialog, 2226)->click();
    QComboBox* units = Find<QComboBox>(dialog, 2224);
    units->setCurrentIndex(0);
    emit units->activated(0);
    const int first = units->itemData(0).toInt();
    ASSERT_NE(first, 3);
    Type(dialog, {{2227, "2.0"}});
    ASSERT_TRUE(PressOk(dialog));
    EXPECT_EQ(levels.OutputUnits, first);
}

// The saved signal's length: the buffer's seconds times the chosen
// multiplier, 1 … kMaxCopies; a stored count outside shows its nearest end.
TEST(SigGenDialogs, TheSavedLengthIsTheSignalsSecondsTimesTheMultiplier)
{
    const TWaveData second(48000, TWaveFormat(48000, 1, 2));
    const auto shown = [](CSaveSignalLengthDlg& dialog) {
        return std::pair(Find<QComboBox>(dialog, 2099)->currentText(), Find<QLabel>(dialog, 2100)->text());
    };
    for (const auto& [stored, multiplier] :
         {std::pair{1, 1}, std::pair{3, 3}, std::pair{0, 1}, std::pair{CSaveSignalLengthDlg::kMaxCopies + 5,
                                                                         CSaveSignalLengthDlg::kMaxCopies}}) {
        int copies = stored;
        CSaveSignalLengthDlg dialog(nullptr, &second, &copies);
        EXPECT_EQ(Find<QLabel>(dialog, 2098)->text().trimmed(), "1.00");
        EXPECT_EQ(shown(dialog).first, QString::number(multiplier)) << stored;
        EXPECT_EQ(shown(dialog).second.trimmed(), QString::number(multiplier) + ".00") << stored;
    }
    int copies = 1;
    CSaveSignalLengthDlg dialog(nullptr, &second, &copies);
    Find<QComboBox>(dialog, 2099)->setCurrentIndex(4);
    EXPECT_EQ(shown(dialog).second.trimmed(), "5.00");
    ASSERT_TRUE(PressOk(dialog));
    EXPECT_EQ(copies, 5);
}
