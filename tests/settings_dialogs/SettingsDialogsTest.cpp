// The processing-settings sheet and its pages, Set Paths and File I/O
// Options, driven through their controls against fake services.

#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <memory>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

#include <filesystem>

#include "audio/TWaveData.h"
#include "settings/Calibration.h"
#include "settings/CfgSettingsFile.h"
#include "settings/FrameSettings.h"
#include "settings/IniSettingsFile.h"
#include "settings/TextField.h"
#include "settings/dialogs/CCalibrationDlgSPL.h"
#include "settings/dialogs/CDeviceDlg.h"
#include "settings/dialogs/CFileIOoptionsDlg.h"
#include "settings/dialogs/COptionsMain.h"
#include "settings/dialogs/CSetPathsDlg.h"
#include "settings/dialogs/CSettingsDlg.h"
#include "tests/support/PlatformTestSupport.h"
#include "tests/support/Screenshot.h"

namespace {

class FailingRecorder final : public CalibrationRecorder {
public:
    bool Start(const TWaveFormat&, const DaqOpts&, std::uint64_t) override { return false; }
    double RecordedSeconds() const override { return 0.0; }
    void Stop() override {}
    const TWaveData* Recording() const override { return nullptr; }
};

// Hands over a whole recording at once: a 1 kHz calibrator tone at 5 % of
// full scale on both channels.
class ToneRecorder final : public CalibrationRecorder {
public:
    bool Start(const TWaveFormat& format, const DaqOpts&, std::uint64_t frames) override
    {
        m_Wave = std::make_unique<TWaveData>(frames, format);
        for (std::uint64_t i = 0; i < frames; ++i) {
            const double v = 0.05 * format.MaxValue * std::sin(2.0 * M_PI * 1000.0 * double(i) / format.SamplingRate);
            for (int channel = 0; channel < format.NumChannels; ++channel)
                m_Wave->PutSample(static_cast<std::int32_t>(std::lround(v)), i, channel);
        }
        return true;
    }
    double RecordedSeconds() const override { return m_Wave ? 10.0 : 0.0; }
    void Stop() override {}
    const TWaveData* Recording() const override { return m_Wave.get(); }

private:
    std::unique_ptr<TWaveData> m_Wave;
};

class FakeServices final : public ProcessingSheetServices {
public:
    bool daqPresent = true;
    bool tone = false;
    std::string dataRoot = "/nonexistent/";
    std::vector<int> help;
    int reopens = 0;
    std::optional<int> FindDaqInputDevice() override { return daqPresent ? std::optional<int>(0) : std::nullopt; }
    bool IsDaqDevice(int) override { return daqPresent; }
    std::uint32_t ReadDaqSerialNumber() override { return 4711; }
    void ReopenDaq() override { ++reopens; }
    std::unique_ptr<CalibrationRecorder> CreateCalibrationRecorder(int) override
    {
        if (tone)
            return std::make_unique<ToneRecorder>();
        return std::make_unique<FailingRecorder>();
    }
    std::string DataRoot() const override { return dataRoot; }
    void ShowHelp(int id) override { help.push_back(id); }
};

template <typename W>
W* Find(QWidget& parent, int id)
{
    return parent.findChild<W*>(QStringLiteral("id%1").arg(id));
}

} // namespace

TEST(ProcessingSheetWindow, PagesShowTheirRecordsRefusalsNameTheFieldAndOneChannelKeepsTheRightFields)
{
    MessageLog messages;
    FakeServices services;
    FrameSettings settings;
    settings.Processing.Format.Set(48000, 2, 3);
    ProcessingSheetRecords records = ProcessingSheetRecords::From(settings);
    COptionsMain sheet(records, services, 0);
    sheet.show();
    for (int page = 0; page < 3; ++page) {
        sheet.Pages().setCurrentIndex(page);
        QTest::mouseClick(Find<QPushButton>(sheet, 302), Qt::LeftButton);
    }
    EXPECT_EQ(services.help, (std::vector<int>{240, 750, 410}));
    EXPECT_EQ(Find<QComboBox>(sheet, 2008)->currentText(), "48000");
    EXPECT_EQ(Find<QLabel>(sheet, 2277)->text(), "Serial Number: 4711");
    EXPECT_EQ(Find<QComboBox>(sheet, 1317)->currentData().toInt(), 16);

    // A calibration recording that cannot start is reported and the page reset.
    CCalibrationDlgSPL& calibration = sheet.CalibrationPage();
    EXPECT_TRUE(Find<QRadioButton>(calibration, 2280)->isEnabled()) << "two channels: the right one is calibrated too";
    Find<QRadioButton>(calibration, 2279)->click();
    Find<QLineEdit>(calibration, 2300)->setText("94.0");
    auto* perform = Find<QPushButton>(calibration, 1657);
    QTest::mouseClick(perform, Qt::LeftButton);
    ASSERT_EQ(messages.texts.size(), 1u);
    EXPECT_NE(messages.texts[0].find("could not be started"), std::string::npos);
    EXPECT_FALSE(calibration.IsRecording());
    EXPECT_EQ(perform->text().toStdString(), CCalibrationDlgSPL::kPerformText);
    EXPECT_FALSE(Find<QProgressBar>(calibration, 2332)->isVisible());

    // A hydrophone's sensitivity is checked on OK; only a calibrator is measured.
    messages.texts.clear();
    Find<QRadioButton>(calibration, 2307)->click();
    EXPECT_FALSE(perform->isEnabled());
    Find<QLineEdit>(calibration, 2300)->setText("5");
    sheet.accept();
    EXPECT_NE(sheet.result(), QDialog::Accepted);
    EXPECT_EQ(messages.texts, (std::vector<std::string>{"Hydrophone Sensitivity must be less than zero."}));
    Find<QLineEdit>(calibration, 2300)->setText("-200");
    messages.texts.clear();

    // A bad custom span, seen from another page: the settings page
    // comes back. Ids are unique within a page only, as in the dialog templates.
    CSettingsDlg& page = sheet.SettingsPage();
    Find<QRadioButton>(page, 2298)->click();
    Find<QLineEdit>(page, 2299)->setText("1000");
    Find<QLineEdit>(page, 2300)->setText("1000");
    sheet.accept();
    EXPECT_NE(sheet.result(), QDialog::Accepted);
    EXPECT_EQ(sheet.ActivePage(), 0);
    EXPECT_EQ(messages.texts, (std::vector<std::string>{"The stop frequency must be greater than the start frequency"}));
    Find<QLineEdit>(page, 2300)->setText("2000");

    // One channel greys the right channel's controls; OK keeps their fields.
    const ScalingOpts right = records.Scaling[1];
    const std::uint16_t rightSpeed = records.Processing.AverageSpeed[1];
    Find<QComboBox>(sheet, 2183)->setCurrentIndex(0);
    for (int id : {2184, 2130, 1310, 1311, 1312})
        EXPECT_FALSE(Find<QComboBox>(sheet, id)->isEnabled()) << id;
    EXPECT_FALSE(Find<QRadioButton>(sheet, 2303)->isEnabled());
    Find<QComboBox>(sheet, 2130)->setCurrentIndex(0);
    Find<QComboBox>(sheet, 2008)->setCurrentIndex(1);
    sheet.accept();
    EXPECT_EQ(sheet.result(), QDialog::Accepted);
    const TWaveFormat& format = records.Processing.Format;
    EXPECT_EQ(std::tuple(format.NumChannels, format.SamplingRate, format.BytesPerSample), std::tuple(1, 96000u, 3))
        << "24 bits kept";
    EXPECT_EQ(records.Scaling[1], right);
    EXPECT_EQ(records.Processing.AverageSpeed[1], rightSpeed);
    EXPECT_EQ(records.Calibration[0].TransducerSensitivityVolts, -200.0f);
    EXPECT_STREQ(records.Calibration[0].ChannelName, "Microphone") << "the title edit kept its text";
}

TEST(ProcessingSheetWindow, ACalibrationWhoseHistoryCannotBeWrittenStandsAndSaysTheHistoryWasNotWritten)
{
    MessageLog messages;
    FakeServices services;
    services.tone = true;
    // A folder where the history file should be.
    const TempFolder data;
    services.dataRoot = data.Root();
    std::filesystem::create_directories(data.Root() + "MicCalibrationHistory.txt");
    FrameSettings settings;
    settings.Processing.Format.Set(48000, 2, 3);
    ProcessingSheetRecords records = ProcessingSheetRecords::From(settings);
    COptionsMain sheet(records, services, 0);
    sheet.show();
    sheet.Pages().setCurrentIndex(1);
    CCalibrationDlgSPL& calibration = sheet.CalibrationPage();
    Find<QRadioButton>(calibration, 2279)->click();
    Find<QLineEdit>(calibration, 2300)->setText("94.0");
    QTest::mouseClick(Find<QPushButton>(calibration, 1657), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !calibration.IsRecording(); }, 10000));
    ASSERT_EQ(messages.texts.size(), 2u);
    EXPECT_EQ(messages.texts[0].rfind("The calibration was successful!", 0), 0u) << messages.texts[0];
    EXPECT_EQ(messages.texts[1], "The calibration history was not written: " + data.Root() +
                                     "MicCalibrationHistory.txt: " + std::strerror(EISDIR) + ".");
    EXPECT_NEAR(records.Calibration[0].PctFullScale, 0.05f, 0.002f) << "the calibration stands";
    EXPECT_TRUE(std::filesystem::is_directory(data.Root() + "MicCalibrationHistory.txt"));
}

TEST(ProcessingSheetWindow, WithoutTheModuleTheDevicePageHidesItsControlsAndABurstOfNoticesReopensOnce)
{
    MessageLog messages;
    FakeServices services;
    services.daqPresent = false;
    FrameSettings settings;
    ProcessingSheetRecords records = ProcessingSheetRecords::From(settings);
    records.Daq.DAQ_InputGain = 64;
    CDeviceDlg page(records, services);
    page.show();
    EXPECT_EQ(Find<QLabel>(page, 2278)->text(), "Device Status: DAQ is NOT connected");
    EXPECT_FALSE(Find<QComboBox>(page, 1317)->isVisible());
    EXPECT_FALSE(Find<QCheckBox>(page, 2313)->isEnabled()) << "a choice OK would ignore is greyed";
    Find<QCheckBox>(page, 2313)->setChecked(false);
    EXPECT_TRUE(page.ApplySettings());
    EXPECT_EQ(records.Daq.DAQ_InputGain, 64);
    EXPECT_EQ(records.Daq.DAQ_PowerDownFlag, 1);

    // The module is plugged in: a burst of notices reopens it once, after the burst.
    services.daqPresent = true;
    for (int notice = 0; notice < 3; ++notice) {
        page.OnDeviceChange();
        QTest::qWait(500);
    }
    EXPECT_EQ(services.reopens, 0) << "not while notices keep coming";
    EXPECT_TRUE(QTest::qWaitFor([&] { return services.reopens > 0; }, 5000));
    QTest::qWait(300);
    EXPECT_EQ(services.reopens, 1);
    EXPECT_EQ(Find<QLabel>(page, 2278)->text(), "Device Status: DAQ connected");
    EXPECT_TRUE(Find<QCheckBox>(page, 2313)->isEnabled());
}

TEST(PathDialogsWindow, FileOptionsRefuseAnOutOfRangeTimeAndSetPathsDefaultsPointUnderTheDataRoot)
{
    MessageLog messages;
    FileIOOpts options;
    CFileIOoptionsDlg dialog(options, [](int) {});
    dialog.show();
    EXPECT_FALSE(Find<QCheckBox>(dialog, 1998)->isEnabled()) << "no backup of a memory recording";
    for (int inert : {2001, 2002, 2003, 2156})
        EXPECT_FALSE(Find<QWidget>(dialog, inert)->isEnabled()) << inert << ": nothing acts on it yet";
    Find<QRadioButton>(dialog, 1997)->click();
    EXPECT_TRUE(Find<QCheckBox>(dialog, 1998)->isEnabled());
    Find<QLineEdit>(dialog, 2000)->setText("3601");
    dialog.accept();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(messages.texts, (std::vector<std::string>{"The RAM recording time must be less than 3600 seconds."}));
    Find<QLineEdit>(dialog, 2000)->setText("3600");
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(options.WaveFileMode, 1u);

    // Set Paths defaults point under the data root.
    DataPaths paths;
    paths.Build("/tmp/talvenor-unused/");
    CSetPathsDlg pathsDialog(paths, "/tmp/root/");
    pathsDialog.show();
    QTest::mouseClick(Find<QPushButton>(pathsDialog, 1994), Qt::LeftButton);
    EXPECT_EQ(Find<QLineEdit>(pathsDialog, 1988)->text(), "/tmp/root/Overlay");
    EXPECT_EQ(Find<QLineEdit>(pathsDialog, 1989)->text(), "/tmp/root/Log");
}

namespace {

class QuietHost final : public ProcessingSheetHost {
public:
    void StopRun() override {}
    bool IsInputDaq() override { return false; }
    void ConfigureDaq(const DaqOpts&, int, int, int) override {}
    void CreateSpectrumPlot(int) override {}
    void CloseSpectrumPlot(int) override {}
    void RecalcLayout() override {}
    void ReinitInput() override {}
};

// The sheet opened on the settings' copies and closed with OK, as the frame does.
bool SheetOk(FrameSettings& settings, FakeServices& services)
{
    ProcessingSheetRecords records = ProcessingSheetRecords::From(settings);
    COptionsMain sheet(records, services, 1);
    sheet.show();
    sheet.accept();
    if (sheet.result() != QDialog::Accepted)
        return false;
    QuietHost host;
    processing_sheet::ApplyOk(settings, records, host);
    return true;
}

} // namespace

TEST(ProcessingSheetWindow, EachCalibrationMethodShowsItsOwnValueAndAbsurdValuesAreRefusedByName)
{
    MessageLog messages;
    FakeServices services;
    FrameSettings settings;
    settings.Processing.Format.Set(48000, 2, 3);
    // Left: a 114 dB calibrator; the record still holds a 50 mV/Pa microphone.
    TChannelCalibration& left = settings.Calibration[0];
    left.CalCreateMode = calibration::kModeCalibrator;
    left.RefUnits = calibration::kUnitPascals;
    left.RefLevel = 114.0f;
    left.TransducerSensitivityVolts = 0.05f;
    // Right: a hydrophone.
    TChannelCalibration& right = settings.Calibration[1];
    right.CalCreateMode = calibration::kModeSensitivity;
    right.RefUnits = calibration::kUnitHydrophonePascals;
    right.TransducerSensitivityVolts = -200.0f;
    ProcessingSheetRecords records = ProcessingSheetRecords::From(settings);
    CCalibrationDlgSPL page(records, services);
    page.show();
    auto* leftValue = Find<QLineEdit>(page, 2300);
    auto* rightValue = Find<QLineEdit>(page, 2315);
    EXPECT_EQ(leftValue->text(), "114.0");
    EXPECT_EQ(rightValue->text(), "-200.0");
    SaveScreenshot(page, "calibration_page_hydrophone");

    // Radio, the value field it shows: volts per pascal are no hydrophone's dB.
    const std::tuple<int, QLineEdit*, const char*> shown[] = {
        {2306, leftValue, "50.0"},  {2307, leftValue, ""},       {2312, leftValue, "50.0"},
        {2279, leftValue, "114.0"}, {2280, rightValue, "94.0"},  {2311, rightValue, ""},
        {2313, rightValue, "-200.0"}, {2314, rightValue, ""},
    };
    for (const auto& [radio, field, text] : shown) {
        Find<QRadioButton>(page, radio)->click();
        EXPECT_EQ(field->text(), text) << radio;
    }
    // What is typed stays with its method while the page is open.
    Find<QRadioButton>(page, 2306)->click();
    leftValue->setText("12.5");
    Find<QRadioButton>(page, 2279)->click();
    EXPECT_EQ(leftValue->text(), "114.0");
    Find<QRadioButton>(page, 2306)->click();
    EXPECT_EQ(leftValue->text(), "12.5");

    // Left radio (or right), text, message: refused, and nothing stored.
    const std::tuple<int, const char*, const char*> refusals[] = {
        {2279, "inf", "Microphone calibrator level must be at most 200 dB SPL."},
        {2279, "940", "Microphone calibrator level must be at most 200 dB SPL."},
        {2279, "nan", "Microphone calibrator level must be greater than zero."},
        {2306, "inf", "Microphone Sensitivity must be between 0.001 and 10000 mV/Pa."},
        {2306, "1e39", "Microphone Sensitivity must be between 0.001 and 10000 mV/Pa."},
        {2307, "-inf", "Hydrophone Sensitivity must be at least -240 dB re 1 V/\u00b5Pa."},
        {2312, "1e-9", "Accelerometer Sensitivity must be between 0.001 and 10000 mV/g."},
        {2313, "-1e39", "Right channel hydrophone sensitivity must be at least -240 dB re 1 V/\u00b5Pa."},
    };
    for (const auto& [radio, text, message] : refusals) {
        Find<QRadioButton>(page, 2279)->click();
        leftValue->setText("94.0");
        Find<QRadioButton>(page, 2313)->click();
        rightValue->setText("-200");
        ASSERT_TRUE(page.ApplyCalibration());
        const TChannelCalibration before[2] = {records.Calibration[0], records.Calibration[1]};
        messages.texts.clear();
        Find<QRadioButton>(page, radio)->click();
        (radio == 2313 ? rightValue : leftValue)->setText(text);
        EXPECT_FALSE(page.ApplyCalibration()) << text;
        EXPECT_EQ(messages.texts, (std::vector<std::string>{message}));
        for (int c = 0; c < 2; ++c) {
            EXPECT_EQ(std::tuple(records.Calibration[c].RefLevel, records.Calibration[c].TransducerSensitivityVolts,
                                 records.Calibration[c].CalRatio),
                      std::tuple(before[c].RefLevel, before[c].TransducerSensitivityVolts, before[c].CalRatio))
                << text;
        }
    }
}

TEST(ProcessingSheetWindow, AHydrophoneCalibrationSurvivesSaveRestartAndOk)
{
    MessageLog messages;
    FakeServices services;
    const TempFolder folder;
    const std::string path = folder.Path("talvenor.cfg");
    FrameSettings settings;
    settings.Daq.DAQ_InputGain = 1;  // 10 V
    TChannelCalibration& hydrophone = settings.Calibration[0];
    hydrophone.CalCreateMode = calibration::kModeSensitivity;
    hydrophone.RefUnits = calibration::kUnitHydrophonePascals;
    hydrophone.TransducerSensitivityVolts = -200.0f;
    hydrophone.DAQVoltageRange = 10.0f;
    calibration::RecomputeCalibration(hydrophone, std::nullopt);
    ASSERT_FLOAT_EQ(hydrophone.CalRatio, 100000.0f);  // 10 V / 10^((-200 + 120) / 20)
    ASSERT_TRUE(SaveCfgSettings(path, settings));

    for (int start = 0; start < 2; ++start) {
        FrameSettings restarted;
        restarted.Daq.DAQ_InputGain = 1;
        ASSERT_TRUE(LoadCfgSettings(path, restarted, {}));
        EXPECT_EQ(restarted.Calibration[0].TransducerSensitivityVolts, -200.0f);
        EXPECT_FLOAT_EQ(restarted.Calibration[0].CalRatio, 100000.0f);
        ASSERT_TRUE(SheetOk(restarted, services)) << (messages.texts.empty() ? "" : messages.texts[0]);
        EXPECT_EQ(restarted.Calibration[0].TransducerSensitivityVolts, -200.0f);
        EXPECT_FLOAT_EQ(restarted.Calibration[0].CalRatio, 100000.0f);
        ASSERT_TRUE(SaveCfgSettings(path, restarted));
    }
    EXPECT_TRUE(messages.texts.empty());
}

TEST(ProcessingSheetWindow, ChannelTitlesKeepTheirUtf8BytesThroughThreeOksAndARestart)
{
    MessageLog messages;
    FakeServices services;
    const TempFolder folder;
    const std::string path = folder.Path("talvenor.cfg");
    // Typed, stored: a title longer than its field ends before a character, not inside one.
    std::string typedLong, storedLong;
    for (int i = 0; i < 25; ++i)
        typedLong += "\u00c4";
    for (int i = 0; i < 19; ++i)
        storedLong += "\u00c4";
    const std::pair<std::string, std::string> titles[] = {
        {"Mikrofon S\u00fcd", "Mikrofon S\u00fcd"}, {"Gr\u00f6\u00dfe", "Gr\u00f6\u00dfe"},
        {"\u65e5\u672c", "\u65e5\u672c"}, {typedLong, storedLong}};
    for (const auto& [typed, stored] : titles) {
        FrameSettings settings;
        {
            ProcessingSheetRecords records = ProcessingSheetRecords::From(settings);
            COptionsMain sheet(records, services, 1);
            sheet.show();
            Find<QLineEdit>(sheet.CalibrationPage(), 2330)->setText(QString::fromStdString(typed));
            sheet.accept();
            ASSERT_EQ(sheet.result(), QDialog::Accepted);
            QuietHost host;
            processing_sheet::ApplyOk(settings, records, host);
        }
        for (int ok = 0; ok < 3; ++ok)
            ASSERT_TRUE(SheetOk(settings, services));
        ASSERT_TRUE(SaveCfgSettings(path, settings));
        FrameSettings restarted;
        ASSERT_TRUE(LoadCfgSettings(path, restarted, {}));
        ASSERT_TRUE(SheetOk(restarted, services));
        EXPECT_EQ(TextFieldView(restarted.Calibration[0].ChannelName), stored);
    }
    EXPECT_TRUE(messages.texts.empty());

    // Typing stops where the field is full: 13 three-byte characters fill its 39 bytes.
    FrameSettings settings;
    ProcessingSheetRecords records = ProcessingSheetRecords::From(settings);
    CCalibrationDlgSPL page(records, services);
    page.show();
    auto* title = Find<QLineEdit>(page, 2330);
    title->clear();
    for (int i = 0; i < 20; ++i)
        QTest::sendKeyEvent(QTest::Click, title, Qt::Key_unknown, QString(QChar(0x65E5)), Qt::NoModifier);
    EXPECT_EQ(title->text(), QString(13, QChar(0x65E5)));
}

TEST(PathDialogsWindow, SetPathsKeepsAFolderThatIsNotUtf8AndAsksBeforeMakingAMissingOne)
{
    MessageLog messages;
    const TempFolder folder;
    const std::string root = folder.Root();
    const std::string odd = root + "data\xE9/Log";
    std::filesystem::create_directories(odd);
    std::filesystem::create_directories(root + "Overlay");
    DataPaths paths;
    paths.Build(root);
    paths.Set(DataPaths::kLog, odd);

    {
        CSetPathsDlg dialog(paths, root);
        dialog.show();
        SaveScreenshot(dialog, "set_paths_not_utf8");
        dialog.accept();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
    EXPECT_EQ(paths.Get(DataPaths::kLog), odd);
    EXPECT_FALSE(std::filesystem::exists(root + "data\xEF\xBF\xBD")) << "no folder under a replaced name";
    EXPECT_TRUE(messages.texts.empty());

    // Stored in the .ini and read at the next start, still byte for byte.
    FrameSettings saved;
    saved.m_DataPaths = paths;
    ASSERT_TRUE(SaveIniSettings(root + "talvenor.ini", saved));
    FrameSettings restarted;
    LoadIniSettings(root + "talvenor.ini", IniLocation{root, false}, restarted);
    EXPECT_EQ(restarted.m_DataPaths.Get(DataPaths::kLog), odd);

    // A mistyped folder: asked first; No keeps the dialog open and makes nothing.
    const std::string typo = root + "Lgo";
    CSetPathsDlg dialog(paths, root);
    dialog.show();
    Find<QLineEdit>(dialog, 1989)->setText(QString::fromStdString(typo));
    messages.answer = platform::MessageResult::No;
    dialog.accept();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    ASSERT_EQ(messages.requests.size(), 1u);
    EXPECT_EQ(messages.requests[0].buttons, platform::MessageButtons::YesNo);
    EXPECT_NE(messages.requests[0].text.find("\"" + typo + "\" does not exist"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(typo));
    EXPECT_EQ(paths.Get(DataPaths::kLog), odd);

    messages.answer = platform::MessageResult::Yes;
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(std::filesystem::is_directory(typo));
    EXPECT_EQ(paths.Get(DataPaths::kLog), typo);
}

// The status bar's menu offers more rates than the sheet lists; OK for
// another change keeps the rate in use, whichever it is.
TEST(ProcessingSheetWindow, OkKeepsARateTheSheetDoesNotListAndTheListedOnesStayOffered)
{
    MessageLog messages;
    FakeServices services;
    for (const std::uint32_t rate : {8000u, 44100u, 96000u}) {
        FrameSettings settings;
        settings.Processing.Format.Set(rate, 1, 2);
        ProcessingSheetRecords records = ProcessingSheetRecords::From(settings);
        COptionsMain sheet(records, services, 0);
        sheet.show();
        auto* rates = Find<QComboBox>(sheet, 2008);
        EXPECT_EQ(rates->currentText().toStdString(), std::to_string(rate));
        for (const int listed : {192000, 96000, 48000})
            EXPECT_GE(rates->findData(listed), 0) << listed;
        sheet.accept();
        EXPECT_EQ(sheet.result(), QDialog::Accepted) << rate;
        EXPECT_EQ(records.Processing.Format.SamplingRate, rate);
    }
    EXPECT_TRUE(messages.texts.empty());
}

TEST(ProcessingSheetWindow, ACustomSpanThatIsNotAFiniteFrequencyIsRefusedByChannelAndFieldAndNotStored)
{
    MessageLog messages;
    FakeServices services;
    FrameSettings settings;
    settings.Processing.Format.Set(48000, 2, 3);
    // Left and right start and stop edits, the text typed, the message.
    const std::tuple<int, const char*, const char*> cases[] = {
        {2299, "1e39", "The left channel's custom span Start (Hz) must be at most 1000000 Hz"},
        {2300, "inf", "The left channel's custom span Stop (Hz) must be at most 1000000 Hz"},
        {2305, "inf", "The right channel's custom span Stop (Hz) must be at most 1000000 Hz"},
        {2304, "nan", "The start and stop frequencies must be greater than zero"},
    };
    for (const auto& [edit, text, message] : cases) {
        ProcessingSheetRecords records = ProcessingSheetRecords::From(settings);
        COptionsMain sheet(records, services, 1);
        sheet.show();
        CSettingsDlg& page = sheet.SettingsPage();
        for (int radio : {2298, 2303})
            Find<QRadioButton>(page, radio)->click();
        Find<QLineEdit>(page, edit)->setText(text);
        messages.texts.clear();
        sheet.accept();
        EXPECT_NE(sheet.result(), QDialog::Accepted) << text;
        EXPECT_EQ(sheet.ActivePage(), 0);
        EXPECT_EQ(messages.texts, (std::vector<std::string>{message}));
        for (int c = 0; c < 2; ++c) {
            EXPECT_EQ(std::pair(records.Scaling[c].UtilityFreqCustomStart, records.Scaling[c].UtilityFreqCustomStop),
                      std::pair(settings.Scaling[c].UtilityFreqCustomStart, settings.Scaling[c].UtilityFreqCustomStop))
                << text;
        }
    }
}

// Leaving a page whose fields are refused keeps it, with one message: going
// back to it is no second attempt to leave.
TEST(ProcessingSheetWindow, LeavingARefusedPageShowsOneMessageAndStays)
{
    MessageLog messages;
    FakeServices services;
    FrameSettings settings;
    settings.Processing.Format.Set(48000, 2, 3);
    ProcessingSheetRecords records = ProcessingSheetRecords::From(settings);
    COptionsMain sheet(records, services, 0);
    sheet.show();
    CSettingsDlg& page = sheet.SettingsPage();
    Find<QRadioButton>(page, 2298)->click();
    Find<QLineEdit>(page, 2299)->setText("1000");
    Find<QLineEdit>(page, 2300)->setText("1000");
    sheet.Pages().setCurrentIndex(1);
    EXPECT_EQ(sheet.ActivePage(), 0);
    EXPECT_EQ(messages.texts, (std::vector<std::string>{"The stop frequency must be greater than the start frequency"}));
    // Mended, the page lets go.
    Find<QLineEdit>(page, 2300)->setText("2000");
    sheet.Pages().setCurrentIndex(1);
    EXPECT_EQ(sheet.ActivePage(), 1);
    EXPECT_EQ(messages.texts.size(), 1u);
}

// The device page's Defaults: the recommended range, transducer power on
// both inputs and low power at exit.
TEST(ProcessingSheetWindow, DevicePageDefaultsPowerBothTransducers)
{
    FakeServices services;
    FrameSettings settings;
    ProcessingSheetRecords records = ProcessingSheetRecords::From(settings);
    records.Daq.DAQ_IEPE_Left = records.Daq.DAQ_IEPE_Right = records.Daq.DAQ_PowerDownFlag = 0;
    CDeviceDlg page(records, services);
    page.ResetDefaults();
    ASSERT_TRUE(page.ApplySettings());
    EXPECT_EQ(std::vector<int>({records.Daq.DAQ_IEPE_Left, records.Daq.DAQ_IEPE_Right, records.Daq.DAQ_PowerDownFlag}),
              std::vector<int>({1, 1, 1}));
    EXPECT_EQ(Find<QComboBox>(page, 1317)->currentText().toStdString(), "+/-625 mVolts (53 dBmVrms)");
    EXPECT_EQ(records.Daq.DAQ_InputGain, 16);
}
