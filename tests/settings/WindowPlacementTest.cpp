#include "settings/WindowPlacement.h"
#include "settings/WindowSlots.h"

#include <gtest/gtest.h>

#include "settings/TextField.h"

namespace {

constexpr DesktopSize kDesktop{1920, 1080};

// The stored text reads back as written; a window off the desktop is brought onto it.
TEST(WindowPlacementTest, ParsingKeepsTheWindowOnTheDesktop)
{
    EXPECT_EQ(WindowPlacement::FrameDefault(kDesktop).Format(), "0, 1, {-1,-1}, {-1,-1}, {0,0,1920,1052}");
    const auto parsed = WindowPlacement::Parse("2, 1, {3,4}, {5,6}, {7,8,900,700}", kDesktop, false);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->Format(), "2, 1, {3,4}, {5,6}, {7,8,900,700}");
    auto p = WindowPlacement::Parse("0, 1, {-1,-1}, {-8,-8}, {-20,-30,500,400}", kDesktop, false);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->Format(), "0, 1, {0,0}, {0,0}, {0,0,500,400}");

    p = WindowPlacement::Parse("0, 1, {0,0}, {0,0}, {2500,1300,2900,1500}", {1280, 800}, false);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->normal, (PlacementRect{640, 400, 2900, 1500}));

    // Stored minimized: shown normally, unless the main window is minimized now.
    EXPECT_EQ(WindowPlacement::Parse("0, 2, {0,0}, {0,0}, {1,2,3,4}", kDesktop, false)->showCmd, 1);
    EXPECT_EQ(WindowPlacement::Parse("0, 2, {0,0}, {0,0}, {1,2,3,4}", kDesktop, true)->showCmd, 6);
    EXPECT_EQ(WindowPlacement::Parse("0, 3, {0,0}, {0,0}, {1,2,3,4}", kDesktop, false)->showCmd, 3);

    // Whatever numbers a text yields are used; the rest are 0.
    p = WindowPlacement::Parse("0, 1, {5,6}, junk", kDesktop, false);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->Format(), "0, 1, {5,6}, {0,0}, {0,0,0,0}");
    EXPECT_FALSE(WindowPlacement::Parse("0,", kDesktop, false));
    EXPECT_FALSE(WindowPlacement::Parse("", kDesktop, false));
}

TEST(WindowSlotsTest, StoringAndReadingFollowTheWindows)
{
    WindowSlots slots;
    EXPECT_FALSE(slots.IsOpen(kSlotRecorder));
    WindowPlacement where;
    where.showCmd = 1;
    where.normal = {10, 20, 310, 220};
    slots.Store(kSlotRecorder, &where);
    EXPECT_TRUE(slots.IsOpen(kSlotRecorder));
    EXPECT_STREQ(slots.Find(kSlotRecorder)->Placement, "0, 1, {0,0}, {0,0}, {10,20,310,220}");

    // Closed since: marked closed, placement kept for the next opening.
    slots.Store(kSlotRecorder, nullptr);
    EXPECT_FALSE(slots.IsOpen(kSlotRecorder));
    EXPECT_STREQ(slots.Find(kSlotRecorder)->Placement, "0, 1, {0,0}, {0,0}, {10,20,310,220}");
    EXPECT_FALSE(slots.PlacementToRestore(kSlotRecorder, kDesktop, false));
    EXPECT_EQ(slots.GetSavedWindowRect(kSlotRecorder, {1, 1, 2, 2}, kDesktop), (PlacementRect{10, 20, 310, 220}));

    slots.Store(kSlotMainWindow, nullptr);
    EXPECT_TRUE(slots.IsOpen(kSlotMainWindow));

    // A plot window (id 2) has no slot.
    const WindowSlots before = slots;
    slots.Store(2, &where);
    EXPECT_EQ(slots, before);
    EXPECT_FALSE(slots.IsOpen(2));
    EXPECT_EQ(slots.GetSavedWindowRect(2, {1, 1, 2, 2}, kDesktop), (PlacementRect{1, 1, 2, 2}));
}

TEST(WindowSlotsTest, SavedRectanglesAreClampedOrDefault)
{
    WindowSlots slots;
    const PlacementRect fallback{5, 5, 405, 305};
    bool maximized = true;
    EXPECT_EQ(slots.GetSavedWindowRect(kSlotTotalPower, fallback, kDesktop, &maximized), fallback);
    EXPECT_FALSE(maximized);

    SetTextField(slots.Find(kSlotTotalPower)->Placement, "0, 3, {-1,-1}, {-8,-8}, {3000,-40,3400,300}");
    EXPECT_EQ(slots.GetSavedWindowRect(kSlotTotalPower, fallback, kDesktop, &maximized),
              (PlacementRect{960, 0, 3400, 300}));
    EXPECT_TRUE(maximized);

    slots.Find(kSlotTotalPower)->Open = 1;
    EXPECT_TRUE(slots.PlacementToRestore(kSlotTotalPower, kDesktop, false));

    SetTextField(slots.Find(kSlotTotalPower)->Placement, "ab");
    EXPECT_EQ(slots.GetSavedWindowRect(kSlotTotalPower, fallback, kDesktop), fallback);
    EXPECT_FALSE(slots.PlacementToRestore(kSlotTotalPower, kDesktop, false));
}

} // namespace
