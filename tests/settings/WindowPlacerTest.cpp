// Window placements through a window manager that frames windows as a
// desktop does (a title bar above the client area, thin borders): what a
// slot stores comes back as the same client area after a save, a restart
// and another, for every window kind, and a window opened at a default
// corner moves clear of the others' frames.

#include "settings/CfgSettingsFile.h"
#include "settings/FrameSettings.h"
#include "settings/PendingPlacement.h"
#include "settings/WindowPlacer.h"
#include "tests/support/PlatformTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr screen_fit::FrameMargins kFrame{1, 20, 1, 1};
constexpr PlacementRect kScreen{0, 0, 1600, 1000};

// A window before and after the manager framed it. The manager puts the
// client area where the program asks (a position given before mapping),
// and the frame round it.
class FramedWindow final : public PlacedWindow {
public:
    explicit FramedWindow(PlacementRect client, screen_fit::FrameMargins frame = kFrame)
        : m_Client(client), m_Margins(frame)
    {
    }

    void Map() { m_Framed = true; }
    void Maximize(const PlacementRect& whole)
    {
        m_Normal = m_Client;
        m_Client = whole;
        m_Show = WindowPlacement::kShowMaximized;
    }

    PlacementRect Client() const override { return m_Client; }
    PlacementRect Frame() const override
    {
        if (!m_Framed)
            return m_Client;
        return {m_Client.left - m_Margins.left, m_Client.top - m_Margins.top, m_Client.right + m_Margins.right,
                m_Client.bottom + m_Margins.bottom};
    }
    PlacementRect NormalClient() const override
    {
        return m_Show == WindowPlacement::kShowMaximized ? m_Normal : m_Client;
    }
    int ShowCommand() const override { return m_Show; }
    PlacementRect Available() const override { return kScreen; }
    int TitleBarHeight() const override { return 24; }
    void SetClient(const PlacementRect& client) override { m_Client = client; }

private:
    PlacementRect m_Client;
    screen_fit::FrameMargins m_Margins;
    PlacementRect m_Normal;
    bool m_Framed = false;
    int m_Show = WindowPlacement::kShowNormal;
};

PlacementRect Sized(int left, int top, int width, int height)
{
    return {left, top, left + width, top + height};
}

bool Overlap(const PlacementRect& a, const PlacementRect& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool Within(const PlacementRect& inner, const PlacementRect& outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right
        && inner.bottom <= outer.bottom;
}

} // namespace

// The generator saved at y = 424 must open at 424 again, not 404, then 384.
TEST(WindowPlacer, EveryWindowKindComesBackToItsClientAreaThroughSavesAndRestarts)
{
    const struct {
        const char* name;
        int id;
        PlacementRect client;  // where the user left it
        bool ownSize;          // the window sizes itself; its saved size is not applied
    } kinds[] = {
        {"main window", kSlotMainWindow, Sized(40, 30, 1200, 800), false},
        {"generator", kSlotSignalGenerator, Sized(696, 424, 216, 120), true},
        {"peak frequency", kSlotPeakFrequency, Sized(690, 200, 180, 72), false},
        {"peak amplitude", kSlotPeakAmplitude, Sized(900, 300, 260, 96), false},
        {"total power", kSlotTotalPower, Sized(1300, 600, 220, 72), false},
        {"recorder", kSlotRecorder, Sized(400, 300, 218, 102), true},
    };
    TempFolder folder;
    const std::string path = folder.Path("placements.cfg");
    for (const auto& kind : kinds) {
        FramedWindow window(kind.client);
        window.Map();
        FrameSettings settings;
        for (int restart = 0; restart < 3; ++restart) {
            const WindowPlacement stored = WindowPlacer::Capture(window);
            settings.Windows.Store(kind.id, &stored);
            ASSERT_TRUE(SaveCfgSettings(path, settings)) << kind.name;
            FrameSettings read;
            ASSERT_TRUE(LoadCfgSettings(path, read, {})) << kind.name;
            const PlacementRect fallback = Sized(0, 0, 100, 100);
            const PlacementRect saved = read.Windows.GetSavedWindowRect(kind.id, fallback, {1600, 1000});

            // A new window, not yet framed, of its own size when it sizes itself.
            FramedWindow reopened(Sized(0, 0, kind.client.right - kind.client.left,
                                        kind.client.bottom - kind.client.top));
            WindowPlacer::Open(reopened, saved, kind.ownSize);
            reopened.Map();
            EXPECT_EQ(reopened.Client(), kind.client) << kind.name << " after restart " << restart + 1;
            EXPECT_TRUE(Within(reopened.Frame(), kScreen)) << kind.name;
            window = reopened;
            settings = read;
        }
    }
}

TEST(WindowPlacer, AMaximisedWindowStoresItsNormalAreaAndAWindowFromALargerScreenComesOnScreen)
{
    FramedWindow main(Sized(100, 80, 900, 600));
    main.Map();
    main.Maximize(Sized(0, 20, 1600, 980));
    const WindowPlacement stored = WindowPlacer::Capture(main);
    EXPECT_EQ(stored.showCmd, WindowPlacement::kShowMaximized);
    EXPECT_EQ(stored.normal, Sized(100, 80, 900, 600));

    // Saved on a wider, taller screen: the frame and its title bar land on this one.
    const struct {
        PlacementRect saved;
        PlacementRect opened;
    } cases[] = {
        {Sized(1500, 900, 300, 200), Sized(1600 - 1 - 300, 1000 - 1 - 200, 300, 200)},
        {Sized(0, 0, 300, 200), Sized(1, 20, 300, 200)},
        {Sized(10, 10, 2000, 1200), Sized(1, 20, 1598, 979)},
    };
    for (const auto& c : cases) {
        FramedWindow window(Sized(0, 0, 50, 50));
        window.Map();
        WindowPlacer::Open(window, c.saved, false);
        EXPECT_EQ(window.Client(), c.opened);
        EXPECT_TRUE(Within(window.Frame(), kScreen));
    }

    // A window that sizes itself opens at the saved corner in its own size,
    // not the saved one.
    FramedWindow generator(Sized(0, 0, 250, 140));
    generator.Map();
    WindowPlacer::Open(generator, Sized(696, 424, 216, 120), true);
    EXPECT_EQ(generator.Client(), Sized(696, 424, 250, 140));
}

// At their default corners the viewers sit closer than a title bar apart
// and the last reaches the generator: each opens clear of the frames of
// those already open, the generator's Stop button included.
TEST(WindowPlacer, WindowsOpeningAtDefaultCornersClearEachOthersFrames)
{
    std::vector<FramedWindow> windows;
    windows.reserve(4);
    const PlacementRect defaults[] = {Sized(696, 444, 216, 120), Sized(690, 200, 180, 72),
                                      Sized(690, 280, 180, 72), Sized(690, 360, 220, 72)};
    for (const PlacementRect& corner : defaults) {
        FramedWindow& window = windows.emplace_back(corner);
        std::vector<const PlacedWindow*> others;
        for (const FramedWindow& other : windows)
            others.push_back(&other);
        WindowPlacer::MoveClearOf(window, others);
        window.Map();
    }
    for (std::size_t a = 0; a < windows.size(); ++a) {
        EXPECT_TRUE(Within(windows[a].Frame(), kScreen)) << a;
        for (std::size_t b = a + 1; b < windows.size(); ++b)
            EXPECT_FALSE(Overlap(windows[a].Frame(), windows[b].Frame())) << a << " and " << b;
    }
    EXPECT_EQ(windows[0].Client(), defaults[0]) << "the first keeps its corner";
}

// The main window is placed before the manager frames it, so a start only
// guesses its margins (a 24-pixel title bar, no borders), while Open
// Configuration meets the real ones: a 20-pixel title bar, 1-pixel sides and
// a 5-pixel bottom edge. Once framed, a start puts the window where Open
// Configuration does, and what it stores comes back unchanged.
TEST(WindowPlacer, TheMainWindowOpensAtOneAreaAtAStartARestartAndOpenConfiguration)
{
    constexpr screen_fit::FrameMargins kThickBottom{1, 20, 1, 5};
    EXPECT_EQ(WindowPlacement::FrameDefault({1600, 1000}).normal, Sized(0, 0, 1600, 972));
    const struct {
        const char* name;
        PlacementRect saved;
        PlacementRect opened;
    } cases[] = {
        // The whole desktop less 28: a border narrower on each side, below its title bar.
        {"fresh default", Sized(0, 0, 1600, 972), Sized(1, 20, 1598, 972)},
        {"left by the user", Sized(100, 80, 1000, 700), Sized(100, 80, 1000, 700)},
        {"from a larger screen", Sized(10, 10, 2000, 1200), Sized(1, 20, 1598, 975)},
    };
    TempFolder folder;
    const std::string path = folder.Path("main.cfg");
    for (const auto& c : cases) {
        PlacementRect saved = c.saved;
        for (int start = 0; start < 3; ++start) {
            // Qt's size for a window not placed yet.
            FramedWindow window(Sized(0, 0, 640, 480), kThickBottom);
            PendingPlacement pending;
            pending.Open(window, saved);
            window.Map();
            pending.Framed(window);
            EXPECT_EQ(window.Client(), c.opened) << c.name << ", start " << start + 1;
            EXPECT_TRUE(Within(window.Frame(), kScreen)) << c.name << ", start " << start + 1;

            // Save Configuration, then Open Configuration of that file.
            FrameSettings settings;
            const WindowPlacement stored = WindowPlacer::Capture(window);
            settings.Windows.Store(kSlotMainWindow, &stored);
            ASSERT_TRUE(SaveCfgSettings(path, settings)) << c.name;
            FrameSettings read;
            ASSERT_TRUE(LoadCfgSettings(path, read, {})) << c.name;
            const auto restored = read.Windows.PlacementToRestore(kSlotMainWindow, {1600, 1000}, false);
            ASSERT_TRUE(restored.has_value()) << c.name;
            EXPECT_EQ(restored->normal, c.opened) << c.name << ": read back as stored";
            pending.Open(window, restored->normal);
            EXPECT_FALSE(pending.IsPending()) << c.name << ": a framed window knows its margins";
            EXPECT_EQ(window.Client(), c.opened) << c.name << ", Open Configuration after start " << start + 1;

            // The next start reads the same file.
            saved = restored->normal;
        }
    }
}

// A window maximised or minimised by the time it is framed keeps that state.
TEST(WindowPlacer, AWindowMaximisedBeforeItIsFramedIsNotOpenedAgain)
{
    FramedWindow window(Sized(0, 0, 640, 480));
    PendingPlacement pending;
    pending.Open(window, Sized(0, 0, 1600, 972));
    EXPECT_TRUE(pending.IsPending());
    window.Map();
    window.Maximize(Sized(0, 20, 1600, 980));
    pending.Framed(window);
    EXPECT_EQ(window.Client(), Sized(0, 20, 1600, 980));
    EXPECT_FALSE(pending.IsPending());
}
