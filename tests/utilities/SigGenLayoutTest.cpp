// The generator window's controls where its layout table puts them: Run,
// Level, the two type lists and their Details buttons in the full layout;
// the lists (and Run) grow by what their longest item needs, and what
// stands right of them moves over by as much.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>

#include <algorithm>
#include <memory>

#include "tests/utilities/SigGenWindowTestSupport.h"
#include "utilities/CSigGen.h"

using namespace siggen_window_test;

TEST(SigGenLayout, TheFullLayoutPlacesEachControlAsItsTableSays)
{
    FakeSigGenFrame frame;
    MessageCapture capture;
    auto window = std::make_unique<CSigGen>(&frame, nullptr);
    frame.window = window.get();
    ASSERT_TRUE(window->Create(QPoint(40, 60)));
    ASSERT_TRUE(WaitForBuildShown(*window));
    auto at = [&](int id) { return window->findChild<QWidget*>(QString::number(id))->geometry(); };
    // The lists are as wide as their longest item needs, at least 90.
    const int extra = at(CSigGen::kLeftTypeId).width() - 90;
    const int needed = window->findChild<QComboBox*>(QString::number(CSigGen::kLeftTypeId))->sizeHint().width();
    EXPECT_EQ(extra, std::max(0, needed - 90));
    EXPECT_EQ(at(CSigGen::kRunId), QRect(4, 4, 106 + extra, 26));
    EXPECT_EQ(at(CSigGen::kLevelId), QRect(116 + extra, 4, 90, 26));
    EXPECT_EQ(at(CSigGen::kLeftTypeId).topLeft(), QPoint(20, 36));
    EXPECT_EQ(at(CSigGen::kLeftDetailsId), QRect(116 + extra, 36, 90, 23));
    EXPECT_EQ(at(CSigGen::kRightTypeId), QRect(20, 64, 90 + extra, at(CSigGen::kLeftTypeId).height()));
    EXPECT_EQ(at(CSigGen::kRightDetailsId), QRect(116 + extra, 64, 90, 23));
    EXPECT_EQ(at(CSigGen::kStopId), QRect(4, 4, 42, 26));
    window.reset();
}
