// The plots in the running program. Overlays: a 1 kHz tone from the
// generator, heard by the simulated module, is stored with Set and shown with
// On; after the tone moves to 2 kHz the pane shows the stored 1 kHz overlay
// and the live 2 kHz trace, each at the column worked out from the span and
// the pane's width. Options: F5 and a plot's Options button open the sheet on
// copies of the records; OK re-applies only the plots whose records changed.
// Then the settings sheet and the configuration files on the same frame.

#include "tests/app/FrameTestSupport.h"

#include "plot/CPlotOptionsMain.h"
#include "plot/TOverlaySourceSelectDialog.h"
#include "settings/dialogs/COptionsMain.h"
#include "settings/dialogs/CSettingsDlg.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

TEST(MainFramePlots, AStoredOverlayStaysWhileTheToneMovesOptionsReapplyTheChangedPlotAndSettingsSheetsAct)
{
    FrameHarness h(frame_test::ToneSettings());
    CMainFrame& frame = *h.frame;
    std::filesystem::create_directories(h.folder.Root() + "Overlay");
    ASSERT_TRUE(frame_test::OpenGenerator(frame));
    frame.OnStart();
    // Each Run builds new display objects: asked for afresh each time.
    const auto leftPeak = [&frame] { return frame_test::DisplayPeak(frame, 0, 500.0f, 3000.0f).frequency; };
    ASSERT_TRUE(WaitFor([&] { return frame.GetFrameCounter() >= 6 && std::fabs(leftPeak() - 1000.0f) < 2; }));

    // Set on slot 1: asked for the source (peak hold is on), live data taken.
    TQuarnPlot* plot = frame.Plot(0);
    TQuarnPlot* right = frame.Plot(1);
    ASSERT_NE(right, nullptr);
    plot->SetFrequencyRange(0.0f, 4000.0f);
    // The data's first line is the lowest frequency shown.
    const double start = frame.Settings().Spectrum[0].StartFreq;
    ASSERT_EQ(frame.Settings().Spectrum[0].StopFreq, 4000.0f);
    OnModal<TOverlaySourceSelectDialog>([](TOverlaySourceSelectDialog& dialog) {
        dialog.SpectralButton()->setChecked(true);
        dialog.accept();
    });
    QTest::mouseClick(plot->OverlayStoreButton(0, 0), Qt::LeftButton);
    ASSERT_TRUE(std::filesystem::exists(h.folder.Root() + "Overlay/L1.ovl"));
    EXPECT_TRUE(plot->OverlayShowBox(0, 0)->isChecked()) << "On";

    // The generator moves to one tone at 2 kHz.
    frame.OnStop();
    for (int c = 0; c < 2; ++c) {
        SigGenChannelSettings& channel = frame.Settings().SigGenChannel[c];
        channel.SigType = kSigMultipleTones;
        channel.Tones[0] = {1, 2000.0f};
        for (std::size_t t = 1; t < SigGenChannelSettings::kToneCount; ++t)
            channel.Tones[t].ToneEnable = 0;
    }
    frame.SignalGenerator()->RefreshFromSettings();
    ASSERT_TRUE(WaitFor([&] { return frame_test::GeneratorBuilt(frame); }));
    frame.OnStart();
    ASSERT_TRUE(WaitFor([&] { return std::fabs(leftPeak() - 2000.0f) < 2; }));
    frame.OnStop();
    plot->UpdateDisplay(0.0f);

    // Column c of a pane W wide shows start + c·(stop − start)/(W − 1) Hz;
    // the tone's column is the first that reaches it, drawn at x = left + c
    // (a point carries its column's value to the next column's x).
    const PlotRect pane = plot->PaneRect(0);
    const double hzPerColumn = (4000.0 - start) / (pane.Width() - 1);
    const int x1k = pane.left + static_cast<int>(std::ceil((1000.0 - start) / hzPerColumn));
    const int x2k = pane.left + static_cast<int>(std::ceil((2000.0 - start) / hzPerColumn));
    ASSERT_FALSE(plot->OverlayPoints(0, 0).empty() || plot->LivePoints(0).empty());
    EXPECT_NEAR(frame_test::TopPoint(plot->OverlayPoints(0, 0)).x, x1k, 1) << "the stored 1 kHz tone";
    EXPECT_NEAR(frame_test::TopPoint(plot->LivePoints(0)).x, x2k, 1) << "the live 2 kHz tone";
    EXPECT_FALSE(std::filesystem::exists(h.folder.Root() + "Overlay/R1.ovl")) << "the right plot's slots untouched";
    SaveScreenshot(frame, "main_frame_overlay_1k_live_2k");

    // Changed behind the right plot's back: only a reset view would show it.
    frame.Settings().Scaling[1].AmpScaleType = ScalingOpts::kLogMagnitude;
    const SpectrumOpts rightBefore = frame.Settings().Spectrum[1];
    // F5: the sheet on the left page; a new span; OK.
    bool started = false;
    OnModal<CPlotOptionsMain>([&](CPlotOptionsMain& sheet) {
        started = sheet.Tabs()->currentIndex() == 0 && sheet.PageCount() == 2;
        sheet.SpectrumPage(0)->findChild<QLineEdit*>("StartFreq")->setText(QStringLiteral("500"));
        sheet.SpectrumPage(0)->findChild<QLineEdit*>("StopFreq")->setText(QStringLiteral("1500"));
        sheet.SpectrumPage(0)->findChild<QComboBox*>(QStringLiteral("PeakHold"))->setCurrentIndex(4);
        sheet.accept();
    });
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    QTest::keyClick(&frame, Qt::Key_F5);
    EXPECT_TRUE(started);
    EXPECT_EQ(frame.Settings().Spectrum[0].StartFreq, 500.0f);
    // Each channel's display object holds as its own plot.
    ASSERT_EQ(frame.Settings().Processing.IndependentScalingAndCalibration, 1);
    EXPECT_EQ(frame.Processing().GetDisplayData(0)->GetPeakHoldMode(), SpectrumOpts::kPeakHoldForever);
    EXPECT_EQ(frame.Processing().GetDisplayData(1)->GetPeakHoldMode(), rightBefore.PeakHold);
    EXPECT_EQ(plot->FrequencyToColumn(500.0f), 0) << "the axis is redrawn for 500 … 1500 Hz";
    EXPECT_EQ(frame.Settings().Spectrum[1], rightBefore);
    EXPECT_EQ(right->RangeCaption(), QStringLiteral("Plot Range:")) << "the unchanged plot was not reset";

    // The right plot's Options button: its own page. A colour chosen, then
    // Cancel: nothing changes; the same and OK: now the right plot is reset.
    frame.SetPlotOptionsColourChooser([](QWidget*, std::uint32_t) -> std::optional<std::uint32_t> { return 0x0000AA; });
    for (const bool ok : {false, true}) {
        bool onRightPage = false;
        OnModal<CPlotOptionsMain>([&](CPlotOptionsMain& sheet) {
            onRightPage = sheet.Tabs()->currentIndex() == 1;
            sheet.SpectrumPage(1)->OnColour(0);
            ok ? sheet.accept() : sheet.reject();
        });
        right->ToolButton(TQuarnPlot::kOptionsButton)->click();
        EXPECT_TRUE(onRightPage);
    }
    EXPECT_EQ(frame.Settings().Spectrum[1].LineColor, 0x0000AAu);
    EXPECT_EQ(right->RangeCaption(), QStringLiteral("Plot Bottom:"));

    // Keys and bar buttons open the settings sheet on their page; the
    // configuration commands save and load through the file dialogs; a new
    // rate while running stops the run, and the next Run is at that rate.
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    std::vector<int> pages;
    const auto record = [&](COptionsMain& sheet) { pages.push_back(sheet.ActivePage()); };
    OnModal<COptionsMain>(record);
    QTest::keyClick(&frame, Qt::Key_F9);
    OnModal<COptionsMain>([&](COptionsMain& sheet) {
        record(sheet);
        sheet.Pages().setCurrentIndex(2);
        sheet.accept();
    });
    QTest::mouseClick(frame.Sidebar()->Button(SidebarButtons::IDC_SETTINGS), Qt::LeftButton);
    OnModal<COptionsMain>(record);
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    QTest::keyClick(&frame, Qt::Key_F4);
    OnModal<COptionsMain>(record);
    QTest::mouseClick(frame.Sidebar()->Button(SidebarButtons::IDC_CALIBRATE), Qt::LeftButton);
    // F9 opens the calibration page; an OK on the device page makes F4 open it.
    EXPECT_EQ(pages, (std::vector<int>{1, 0, 2, 1}));

    const std::string saved = h.folder.Root() + "speed-fast.cfg";
    const auto choose = [&](QFileDialog& dialog) {
        dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QString::fromStdString(saved));
        static_cast<QDialog&>(dialog).accept();
    };
    frame.Settings().Processing.AverageSpeed[0] = 1;
    OnModal<QFileDialog>(choose);
    frame.OnCommand(57785);
    ASSERT_TRUE(std::filesystem::exists(saved));
    frame.Settings().Processing.AverageSpeed[0] = 3;
    OnModal<QFileDialog>(choose);
    frame.OnCommand(57786);
    EXPECT_EQ(frame.Settings().Processing.AverageSpeed[0], 1);

    frame.OnStart();
    ASSERT_TRUE(WaitFor([&] { return frame.GetFrameCounter() >= 2; }));
    ASSERT_NEAR(frame.Processing().GetDisplayData(0)->GetLineSpacing(), 48000.0f / 65536, 1e-4f);
    OnModal<COptionsMain>([](COptionsMain& sheet) {
        auto* rate = sheet.SettingsPage().findChild<QComboBox*>("id2008");
        rate->setCurrentIndex(rate->findText("96000"));
        sheet.accept();
    });
    frame.OnProcessingSettings(0);
    EXPECT_FALSE(frame.IsRunning()) << "the sheet leaves the analyzer stopped";
    frame.OnStart();
    EXPECT_EQ(frame.Settings().Processing.Format.SamplingRate, 96000u);
    EXPECT_NEAR(frame.Processing().GetDisplayData(0)->GetLineSpacing(), 96000.0f / 65536, 1e-4f);
    const std::uint32_t before = frame.GetFrameCounter();
    EXPECT_TRUE(WaitFor([&] { return frame.GetFrameCounter() >= before + 2; })) << "blocks flow at the new rate";
    frame.OnStop();
}
