// Overlays in the running program: a 1 kHz tone from the generator, heard by
// the simulated module, is stored with Set and shown with On; after the tone
// moves to 2 kHz the pane shows the stored 1 kHz overlay and the live 2 kHz
// trace, each at the column worked out from the span and the pane's width.
#include "tests/app/FrameTestSupport.h"
#include "tests/support/Screenshot.h"

#include "app/core/FrameCommandIds.h"
#include "app/core/TProcessingObjects.h"
#include "engine/SpectralData.h"
#include "plot/TOverlaySourceSelectDialog.h"
#include "plot/TQuarnPlot.h"
#include "settings/CfgSettingsFile.h"
#include "utilities/CSigGen.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

using frame_test::FrameHarness;
using frame_test::WaitFor;
using namespace frame_command;

namespace {

constexpr float kSpanStart = 0.0f;
constexpr float kSpanStop = 4000.0f;

// The x of the highest point (smallest y) of a trace.
int PeakX(const std::vector<PlotPoint>& points)
{
    const auto top = std::min_element(points.begin(), points.end(),
                                      [](const PlotPoint& a, const PlotPoint& b) { return a.y < b.y; });
    return top == points.end() ? -1 : top->x;
}

} // namespace

TEST(MainFrameOverlay, SetStoresTheOneKilohertzToneAndItStaysWhileTheLiveToneMovesToTwo)
{
    FrameHarness h(false);
    FrameSettings s = frame_test::ToneSettings();
    ASSERT_TRUE(SaveCfgSettings(h.folder.CfgPath(), s));
    std::filesystem::create_directories(h.folder.Root() + "Overlay");
    h.Start();
    CMainFrame& frame = *h.frame;

    ASSERT_TRUE(frame_test::OpenGenerator(frame));
    CSigGen* generator = frame.SignalGenerator();
    const auto built = [&] { return !generator->IsBuilding() && generator->GetWaveData() != nullptr; };
    frame.OnStart();
    // Each Run builds new display objects: asked for afresh each time.
    const auto leftPeak = [&frame] { return frame_test::DisplayPeak(frame, 0, 500.0f, 3000.0f).frequency; };
    ASSERT_TRUE(WaitFor([&] { return frame.GetFrameCounter() >= 6 && std::fabs(leftPeak() - 1000.0f) < 2; }));

    // Set on slot 1: asked for the source (peak hold is on), live data taken.
    TQuarnPlot* plot = frame.Plot(0);
    ASSERT_NE(plot, nullptr);
    plot->SetFrequencyRange(kSpanStart, kSpanStop);
    // The data's first line is the lowest frequency shown.
    const double start = frame.Settings().Spectrum[0].StartFreq;
    ASSERT_EQ(frame.Settings().Spectrum[0].StopFreq, kSpanStop);
    // The source question of Set, answered "Spectral Data".
    frame_test::OnModal<TOverlaySourceSelectDialog>([](TOverlaySourceSelectDialog& dialog) {
        dialog.SpectralButton()->setChecked(true);
        dialog.accept();
    });
    QTest::mouseClick(plot->OverlayStoreButton(0, 0), Qt::LeftButton);
    const std::string file = h.folder.Root() + "Overlay/L1.ovl";
    ASSERT_TRUE(std::filesystem::exists(file));
    EXPECT_TRUE(plot->OverlayShowBox(0, 0)->isChecked()) << "On";
    EXPECT_EQ(plot->OverlayTitle(0, 0), "Overlay 1");

    // The generator moves to one tone at 2 kHz.
    frame.OnStop();
    for (int c = 0; c < 2; ++c) {
        SigGenChannelSettings& channel = frame.Settings().SigGenChannel[c];
        channel.SigType = kSigMultipleTones;
        channel.Tones[0] = {1, 2000.0f};
        for (std::size_t t = 1; t < SigGenChannelSettings::kToneCount; ++t)
            channel.Tones[t].ToneEnable = 0;
    }
    generator->RefreshFromSettings();
    ASSERT_TRUE(WaitFor(built));
    frame.OnStart();
    ASSERT_TRUE(WaitFor([&] { return std::fabs(leftPeak() - 2000.0f) < 2; }));
    frame.OnStop();
    plot->UpdateDisplay(0.0f);

    // Column c of a pane W wide shows start + c·(stop − start)/(W − 1) Hz;
    // the tone's column is the first that reaches it, drawn at x = left + c
    // (a point carries its column's value to the next column's x).
    const PlotRect pane = plot->PaneRect(0);
    const double hzPerColumn = (kSpanStop - start) / (pane.Width() - 1);
    const int x1k = pane.left + static_cast<int>(std::ceil((1000.0 - start) / hzPerColumn));
    const int x2k = pane.left + static_cast<int>(std::ceil((2000.0 - start) / hzPerColumn));
    EXPECT_NEAR(PeakX(plot->OverlayPoints(0, 0)), x1k, 1) << "the stored 1 kHz tone";
    EXPECT_NEAR(PeakX(plot->LivePoints(0)), x2k, 1) << "the live 2 kHz tone";
    EXPECT_FALSE(std::filesystem::exists(h.folder.Root() + "Overlay/R1.ovl")) << "the right plot's slots untouched";
    SaveScreenshot(frame, "main_frame_overlay_1k_live_2k");
}
