// Rules the frame keeps: the analyzer after the processing-settings sheet,
// the calibration page's refusals, the data source remembered by an export
// and a relative calibration, the tool bar's buttons without an action, the
// status bar's format menu while stopped, and Run's key from the generator.

#include "tests/app/FrameTestSupport.h"

#include "plot/TOverlaySourceSelectDialog.h"
#include "settings/dialogs/CCalibrationDlgSPL.h"
#include "settings/dialogs/COptionsMain.h"

#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>

#include <functional>
#include <string>

namespace {

std::string RunState(const CMainFrame& frame)
{
    return frame.IsRunning() ? "running" : "stopped";
}

std::string IconName(platform::MessageIcon icon)
{
    return icon == platform::MessageIcon::Error ? "error icon" : "another icon";
}

// Runs, then opens the sheet and closes it with OK or Cancel.
std::string StateAfterSheet(FrameHarness& h, bool ok)
{
    CMainFrame& frame = *h.frame;
    frame.OnStart();
    if (!WaitFor([&] { return frame.GetFrameCounter() >= 1; }))
        return "never ran";
    OnModal<COptionsMain>([ok](COptionsMain& sheet) { ok ? sheet.accept() : sheet.reject(); });
    frame.OnProcessingSettings(0);
    return RunState(frame);
}

// A hydrophone sensitivity above zero, refused by OK of the sheet.
std::string RefusalOfTheCalibrationPage(FrameHarness& h)
{
    OnModal<COptionsMain>([](COptionsMain& sheet) {
        CCalibrationDlgSPL& page = sheet.CalibrationPage();
        page.findChild<QRadioButton*>("id2307")->click();
        page.findChild<QLineEdit*>("id2300")->setText("5");
        sheet.accept();
    });
    h.frame->OnProcessingSettings(1);
    if (h.messages.requests.empty())
        return "no message";
    const platform::MessageBoxRequest& last = h.messages.requests.back();
    return last.caption + ", " + IconName(last.icon) + ": " + last.text;
}

std::string Offered(bool fromHold)
{
    return fromHold ? "Peak Hold Data" : "Spectral Data";
}

// Copy As Text with peak hold on (Peak Hold Data chosen), then off, then on
// again: what the last question offers.
std::string ExportSourceAfterPeakHoldOff(FrameHarness& h)
{
    CMainFrame& frame = *h.frame;
    TQuarnPlot& plot = *frame.Plot(0);
    std::vector<std::string> offers;
    plot.SetSourceChooser([&](QWidget*, bool fromHold) -> std::optional<bool> {
        offers.push_back(Offered(fromHold));
        return true;
    });
    for (std::uint8_t hold : {1, 0, 1}) {
        frame.Settings().Spectrum[0].PeakHold = hold;
        plot.CopyAsText();
    }
    plot.SetSourceChooser({});
    return offers.size() == 2 ? "the next question offers " + offers[1] : "asked " + std::to_string(offers.size());
}

// The same sequence for Set Relative Calibration on the left plot.
std::string RelativeSourceAfterPeakHoldOff(FrameHarness& h)
{
    CMainFrame& frame = *h.frame;
    frame.OnStart();
    if (!WaitFor([&] { return frame.GetFrameCounter() >= 2; }))
        return "never ran";
    const std::uint32_t bin = frame.Processing().GetDisplayData(0)->GetBinIndex(1000.0f);
    std::vector<std::string> offers;
    for (std::uint8_t hold : {1, 0, 1}) {
        frame.Settings().Spectrum[0].PeakHold = hold;
        if (hold != 0)
            OnModal<TOverlaySourceSelectDialog>([&](TOverlaySourceSelectDialog& source) {
                offers.push_back(Offered(source.PeakHoldButton()->isChecked()));
                source.PeakHoldButton()->click();
                source.accept();
            });
        frame.SetRelativeCalibration(0, static_cast<int>(bin), true);
    }
    return offers.size() == 2 ? "the next question offers " + offers[1] : "asked " + std::to_string(offers.size());
}

std::string ButtonState(CMainFrame& frame, std::uint32_t id)
{
    const ToolbarButtonEntry* entry = ToolbarButtons::Find(id);
    CToolBtn* button = frame.Toolbar()->Button(id);
    if (entry == nullptr || button == nullptr)
        return "missing";
    std::string state = std::to_string(id) + (button->isEnabled() ? " live" : " greyed");
    if (!entry->command)
        return state + ", no action";
    return state + (*entry->command == FrameCommand::ReopenPlots ? ", Reopen Plots" : ", another action");
}

// The tool bar shown; its record and data-logging buttons clicked.
std::string ToolbarButtonsWithoutAction(FrameHarness& h)
{
    CMainFrame& frame = *h.frame;
    frame.OnCommand(kToggleToolbar);
    if (!frame.Toolbar()->isVisible())
        return "tool bar hidden";
    for (std::uint32_t id : {201u, 514u})
        QTest::mouseClick(frame.Toolbar()->Button(id), Qt::LeftButton, {}, QPoint(14, 14));
    std::string state = ButtonState(frame, 201) + "; " + ButtonState(frame, 514) + "; " + ButtonState(frame, 302);
    if (frame.Recorder() != nullptr)
        state += "; the recorder opened";
    return state;
}

// The status bar's format menu as a click opens it: for each of its three
// submenus, whether it is live and how many items it offers.
std::string FormatMenuOffer(CMainFrame& frame)
{
    CStatusbar& bar = *frame.Statusbar();
    QTest::mouseClick(&bar, Qt::LeftButton, {}, bar.Layout().formatArea.center());
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr)
        return "no menu";
    std::string offer;
    for (QAction* action : menu->actions()) {
        const QMenu* sub = action->menu();
        if (sub == nullptr)
            continue;
        int checked = 0;
        for (const QAction* item : sub->actions())
            checked += item->isChecked() ? 1 : 0;
        offer += (offer.empty() ? "" : ", ") + action->text().toStdString() + ": " +
                 (sub->isEnabled() && !sub->actions().isEmpty() ? "offered" : "nothing") +
                 (checked == 1 ? "" : " (" + std::to_string(checked) + " checked)");
    }
    menu->close();
    return offer;
}

// An action of the format menu by its text, chosen as a click would.
bool ChooseFormat(CMainFrame& frame, const QString& text)
{
    std::unique_ptr<QMenu> menu = frame.Statusbar()->BuildFormatMenu();
    for (QAction* title : menu->actions())
        if (title->menu() != nullptr)
            for (QAction* item : title->menu()->actions())
                if (item->text() == text && item->isEnabled()) {
                    item->trigger();
                    return true;
                }
    return false;
}

constexpr const char* kAllOffered = "Sample Rate: offered, Sample Width: offered, Channels: offered";

} // namespace

// Each case on a frame of its own: the case, then the state it must leave.
TEST(FrameRules, EachCaseLeavesTheFrameInItsState)
{
    struct Row {
        const char* rule;
        std::function<std::string(FrameHarness&)> act;
        std::string expected;
    };
    const Row rows[] = {
        {"the sheet closed with OK leaves the analyzer stopped",
         [](FrameHarness& h) { return StateAfterSheet(h, true); }, "stopped"},
        {"the sheet closed with Cancel leaves the analyzer stopped",
         [](FrameHarness& h) { return StateAfterSheet(h, false); }, "stopped"},
        {"a calibration value refused on OK is told under the page's caption", RefusalOfTheCalibrationPage,
         "Calibration Error, error icon: Hydrophone Sensitivity must be less than zero."},
        {"an export with peak hold off makes the remembered choice live", ExportSourceAfterPeakHoldOff,
         "the next question offers Spectral Data"},
        {"a relative calibration with peak hold off makes the remembered choice live", RelativeSourceAfterPeakHoldOff,
         "the next question offers Spectral Data"},
        {"the tool bar's buttons without an action are greyed and do nothing", ToolbarButtonsWithoutAction,
         "201 greyed, no action; 514 greyed, no action; 302 live, Reopen Plots"},
    };
    for (const Row& row : rows) {
        FrameHarness h(frame_test::ToneSettings());
        EXPECT_EQ(row.act(h), row.expected) << row.rule;
        h.frame->OnStop();
    }
}

// The format menu offers rates, widths and channel counts whenever the
// analyzer is stopped: at a fresh start (the device not opened yet), after a
// Stop, and after a device change has taken the input port (the refresh runs
// from the debounce timer, fired here at once). A choice while stopped sets
// the format and makes a new input without starting.
TEST(FrameRules, TheFormatMenuOffersTheFormatsWhileStopped)
{
    FrameHarness h(frame_test::ToneSettings());
    CMainFrame& frame = *h.frame;
    EXPECT_EQ(FormatMenuOffer(frame), kAllOffered) << "fresh start";

    frame.OnStart();
    ASSERT_TRUE(WaitFor([&] { return frame.GetFrameCounter() >= 1; }));
    EXPECT_EQ(FormatMenuOffer(frame), kAllOffered) << "running";
    frame.OnStop();
    EXPECT_EQ(FormatMenuOffer(frame), kAllOffered) << "stopped";

    frame.OnDeviceChange();
    ASSERT_TRUE(frame.IsDeviceRefreshPending());
    frame.OnDeviceChangeTimer();
    ASSERT_EQ(frame.DeviceRefreshCount(), 1);
    ASSERT_FALSE(frame.HasInputPort()) << "the refresh takes the port";
    EXPECT_EQ(FormatMenuOffer(frame), kAllOffered) << "after a device change";
    EXPECT_TRUE(frame.HasInputPort());

    frame.OnDeviceChange();
    frame.OnDeviceChangeTimer();
    ASSERT_TRUE(ChooseFormat(frame, QStringLiteral("96000 Hz")));
    EXPECT_EQ(frame.Settings().Processing.Format.SamplingRate, 96000u);
    EXPECT_FALSE(frame.IsRunning()) << "a choice while stopped does not start";
    EXPECT_TRUE(frame.HasInputPort());
    ASSERT_TRUE(ChooseFormat(frame, QStringLiteral("16 Bit")));
    EXPECT_EQ(frame.Settings().Processing.Format.BytesPerSample, 2u);
    EXPECT_FALSE(frame.IsRunning());
}

// Alt+R runs the analyzer from the generator's window too, just after its
// Run played two channels: the key reaches the program as a real key event
// of that window, and no menu takes it.
TEST(FrameRules, AltRRunsFromTheGeneratorWindowPlayingTwoChannels)
{
    FrameHarness h(frame_test::ToneSettings());
    CMainFrame& frame = *h.frame;
    ASSERT_EQ(frame.Settings().Processing.Format.NumChannels, 2);
    ASSERT_TRUE(frame_test::OpenGenerator(frame));
    CSigGen& generator = *frame.SignalGenerator();
    generator.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&generator));
    auto* run = generator.findChild<QPushButton*>(QString::number(CSigGen::kRunId));
    ASSERT_NE(run, nullptr);
    QTest::mouseClick(run, Qt::LeftButton);
    ASSERT_TRUE(WaitFor([&] { return generator.IsPlaying(); }));
    ASSERT_FALSE(frame.IsRunning());
    ASSERT_TRUE(generator.isActiveWindow());

    QTest::keyClick(generator.windowHandle(), Qt::Key_R, Qt::AltModifier);
    QTest::qWait(100);
    EXPECT_TRUE(frame.IsRunning());
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << "a menu opened";
    for (QAction* title : frame.menuBar()->actions())
        EXPECT_FALSE(title->menu() != nullptr && title->menu()->isVisible()) << title->text().toStdString();

    // From the frame too, after Alt+S there.
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    QTest::keyClick(frame.windowHandle(), Qt::Key_S, Qt::AltModifier);
    EXPECT_FALSE(frame.IsRunning());
    QTest::keyClick(frame.windowHandle(), Qt::Key_R, Qt::AltModifier);
    EXPECT_TRUE(frame.IsRunning());
    frame.OnStop();
}
