// The source question of an overlay's Set: with peak hold on the plot asks
// whether to store the hold or the live spectrum; Cancel stores nothing and
// leaves the remembered choice, OK stores what was chosen.
#include "QuarnPlotTestSupport.h"
#include "plot/TOverlaySourceSelectDialog.h"
#include "settings/DataPaths.h"
#include "tests/support/ModalDialogs.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using namespace quarn_test;

void Click(TOverlaySourceSelectDialog& dialog, QDialogButtonBox::StandardButton which)
{
    QPushButton* button = dialog.findChild<QDialogButtonBox*>()->button(which);
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
}

TEST(OverlaySource, TheDialogShowsTheChoiceOkWritesItAndCancelLeavesIt)
{
    for (std::uint8_t start : {0, 1}) {
        SCOPED_TRACE(int{start});
        std::uint8_t choice = start;
        TOverlaySourceSelectDialog dialog(nullptr, &choice);
        EXPECT_EQ(std::pair(dialog.PeakHoldButton()->isChecked(), dialog.SpectralButton()->isChecked()),
                  std::pair(start == 1, start == 0));
        dialog.show();
        // The other source clicked, then Cancel.
        QTest::mouseClick(start == 1 ? dialog.SpectralButton() : dialog.PeakHoldButton(), Qt::LeftButton);
        Click(dialog, QDialogButtonBox::Cancel);
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        EXPECT_EQ(choice, start) << "Cancel leaves the choice";

        dialog.show();
        Click(dialog, QDialogButtonBox::Ok);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(choice, 1 - start) << "OK takes the source clicked";
    }
}

// A plot of a 1 kHz tone at -20 dB over a -100 dB floor, dB axis 0 … -140,
// peak hold on (the hold holds nothing yet), overlays in a temporary folder.
TEST(OverlaySource, SetWithPeakHoldOnAsksCancelStoresNothingOkStoresTheChosenSource)
{
    TonePlot tone(ScalingOpts::kLogarithmic, ScalingOpts::kFftLog, -20.0f, -100.0f);
    tone.records.Spectrum.PeakHold = 1;
    QTemporaryDir dir;
    DataPaths paths, inUse;
    paths.Set(DataPaths::kOverlay, dir.path().toStdString());
    inUse = paths;
    TQuarnPlot& plot = tone.Make(1000, 520);
    plot.SetDataPaths(&paths, &inUse);
    const std::string file = dir.path().toStdString() + "/L2.ovl";

    int asked = 0;
    OnModal<TOverlaySourceSelectDialog>([&](TOverlaySourceSelectDialog& dialog) {
        ++asked;
        QTest::mouseClick(dialog.SpectralButton(), Qt::LeftButton);
        Click(dialog, QDialogButtonBox::Cancel);
    });
    QTest::mouseClick(plot.OverlayStoreButton(0, 1), Qt::LeftButton);
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(std::filesystem::exists(file)) << "Cancel abandons the Set";
    EXPECT_TRUE(plot.OverlayPoints(0, 1).empty());

    // OK on the live spectrum: the floor in every column but the tone's.
    OnModal<TOverlaySourceSelectDialog>([&](TOverlaySourceSelectDialog& dialog) {
        ++asked;
        QTest::mouseClick(dialog.SpectralButton(), Qt::LeftButton);
        Click(dialog, QDialogButtonBox::Ok);
    });
    QTest::mouseClick(plot.OverlayStoreButton(0, 1), Qt::LeftButton);
    EXPECT_EQ(asked, 2);
    ASSERT_TRUE(std::filesystem::exists(file));
    const PlotRect pane = plot.PaneRect(0);
    const int floorRow = pane.bottom - static_cast<int>(pane.Height() * 40.0 / 140.0);
    EXPECT_EQ(PointsOnRow(plot.OverlayPoints(0, 1), floorRow), pane.Width());
    const std::string live = ReadText(file);

    // The next question starts on the live spectrum, as chosen; OK on the
    // empty hold stores something else.
    OnModal<TOverlaySourceSelectDialog>([&](TOverlaySourceSelectDialog& dialog) {
        ++asked;
        EXPECT_TRUE(dialog.SpectralButton()->isChecked()) << "the last choice is remembered";
        QTest::mouseClick(dialog.PeakHoldButton(), Qt::LeftButton);
        Click(dialog, QDialogButtonBox::Ok);
    });
    QTest::mouseClick(plot.OverlayStoreButton(0, 1), Qt::LeftButton);
    EXPECT_EQ(asked, 3);
    EXPECT_NE(ReadText(file), live) << "the hold, not the live spectrum";
}

} // namespace
