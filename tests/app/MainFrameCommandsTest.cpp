// The frame's menus, accelerators and commands: what is live and what is
// greyed until its window exists, Alt+R against the "P&rint" mnemonic, the
// generator window opened and closed through the frame, help and documents.

#include "tests/app/FrameTestSupport.h"

#include "app/CHelpWindow.h"
#include "app/core/FrameMenus.h"

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QTextBrowser>
#include <QWindow>

#include <set>

// Every command the frame carries out can be found: in a menu, on a key or
// on a button the user sees. Walks the frame's own command table, so a
// command switched on later needs its way in too. Then the keys, the view,
// utilities, help and documents menus act, and Exit closes.
TEST(MainFrameCommands, EveryLiveCommandIsReachedTheKeysMenusAndGeneratorWindowActAndExitCloses)
{
    FrameHarness h;
    CMainFrame& frame = *h.frame;
    const auto popup = [&](int index) { return frame.menuBar()->actions().at(index)->menu(); };
    // The generator from its menu item (each menu item is its command's one
    // action), so that saving its signal is live too.
    QAction* generator = frame.ActionFor(kSignalGenerator);
    generator->trigger();
    ASSERT_NE(frame.SignalGenerator(), nullptr);
    EXPECT_TRUE(generator->isChecked());
    QAction* lock = frame.ActionFor(kLockGeneratorChannels);
    const bool locked = lock->isChecked();
    lock->trigger();
    EXPECT_EQ(lock->isChecked(), !locked);
    EXPECT_EQ(frame.Settings().LockSignalGeneratorChannels != 0, !locked);

    std::set<std::uint32_t> reached;
    std::function<void(const QMenu&)> walk = [&](const QMenu& menu) {
        for (QAction* action : menu.actions()) {
            if (action->menu() != nullptr)
                walk(*action->menu());
            else if (action->isVisible() && action->isEnabled())
                reached.insert(action->objectName().remove(QStringLiteral("Command")).toUInt());
        }
    };
    for (QAction* title : frame.menuBar()->actions())
        if (title->isVisible() && title->isEnabled() && title->menu() != nullptr)
            walk(*title->menu());
    for (const frame_menus::Accelerator& key : frame_menus::Accelerators())
        reached.insert(key.id);
    for (const SidebarButtonEntry& entry : SidebarButtons::kButtons)
        if (frame.Sidebar()->isVisible() && frame.Sidebar()->Button(entry.id)->isEnabled())
            reached.insert(static_cast<std::uint32_t>(entry.command));
    for (const ToolbarButtonEntry& entry : ToolbarButtons::kButtons)
        if (entry.command && frame.Toolbar()->isVisible() && frame.Toolbar()->Button(entry.id)->isEnabled())
            reached.insert(static_cast<std::uint32_t>(*entry.command));
    for (std::uint32_t id : {57782u, 57769u, 57813u, 57665u, 57784u, 57831u, 57923u})
        EXPECT_TRUE(frame.ActionFor(id)->isEnabled()) << id;
    ASSERT_FALSE(frame_menus::BuiltCommands().empty());
    for (std::uint32_t id : frame_menus::BuiltCommands()) {
        QAction* action = frame.ActionFor(id);
        ASSERT_NE(action, nullptr) << id;
        EXPECT_TRUE(!action->isEnabled() || reached.count(id)) << "command " << id << " is live, nothing reaches it";
    }

    // The keys act: F2 stops then starts, F3 stops; Alt+R is the accelerator's.
    // They go to the window as the keyboard's would, to its focus.
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    QWindow* keyboard = frame.windowHandle();
    QTest::keyClick(keyboard, Qt::Key_F2);
    EXPECT_TRUE(frame.IsRunning()) << "F2: stop, then start";
    QTest::keyClick(keyboard, Qt::Key_F3);
    EXPECT_FALSE(frame.IsRunning());
    QTest::keyClick(keyboard, Qt::Key_R, Qt::AltModifier);
    EXPECT_TRUE(frame.IsRunning()) << "the accelerator wins the key";
    EXPECT_FALSE(popup(0)->isVisible());
    QTest::keyClick(keyboard, Qt::Key_S, Qt::AltModifier);
    EXPECT_FALSE(frame.IsRunning());

    // Alt pressed and let go puts the menu bar in keyboard mode; R then opens
    // "P&rint" by its mnemonic: Run's key is Alt and R held together only,
    // as the filter that takes it for every window leaves R alone.
    QTest::keyPress(keyboard, Qt::Key_Alt, Qt::NoModifier);
    QTest::keyRelease(keyboard, Qt::Key_Alt, Qt::NoModifier);
    QTest::keyClick(keyboard, Qt::Key_R, Qt::NoModifier);
    EXPECT_TRUE(WaitFor([&] { return popup(0)->isVisible(); }, 2000)) << "Alt, let go, then R opens Print";
    EXPECT_FALSE(frame.IsRunning());
    popup(0)->close();
    ASSERT_TRUE(WaitFor([&] { return !popup(0)->isVisible(); }, 2000));
    // Then held together again: Run, and no menu.
    QTest::keyClick(keyboard, Qt::Key_R, Qt::AltModifier);
    EXPECT_TRUE(frame.IsRunning()) << "Alt+R after the menu was used";
    EXPECT_FALSE(popup(0)->isVisible());
    QTest::keyClick(keyboard, Qt::Key_S, Qt::AltModifier);
    ASSERT_FALSE(frame.IsRunning());

    frame.ActionFor(kToggleToolbar)->trigger();
    EXPECT_TRUE(frame.Toolbar()->isVisible() && frame.ActionFor(kToggleToolbar)->isChecked());
    EXPECT_TRUE(frame.ActionFor(kToggleSidebar)->isChecked());

    // The generator: a tool window over the frame, latching the tool bar's
    // Generate button; a new analysis format reaches the open window.
    CSigGen* window = frame.SignalGenerator();
    CToolBtn* generate = frame.Toolbar()->Button(ToolbarButtons::IDC_GENERATE);
    EXPECT_EQ(window->parentWidget(), &frame);
    EXPECT_TRUE(generate->IsLatched());
    lock->trigger();
    ASSERT_TRUE(WaitFor([&] { return frame_test::GeneratorBuilt(frame); }));
    ASSERT_EQ(window->GetChannels(), 1u);
    frame.SetAnalysisFormat(TWaveFormat(48000, 2, 3));
    frame.ReinitInput();
    ASSERT_TRUE(WaitFor([&] { return frame_test::GeneratorBuilt(frame); }));
    EXPECT_EQ(window->GetChannels(), 2u);
    // Its own close box: the window asks, the frame stores and deletes it.
    window->move(150, 100);
    ASSERT_EQ(window->geometry().topLeft(), QPoint(152, 102)) << "the offscreen frame is 2 pixels wide";
    window->close();
    EXPECT_EQ(frame.SignalGenerator(), window) << "not deleted inside its own close handler";
    ASSERT_TRUE(WaitFor([&] { return frame.SignalGenerator() == nullptr; }));
    const WindowSlots& windowSlots = frame.Settings().Windows;
    EXPECT_FALSE(windowSlots.IsOpen(kSlotSignalGenerator)) << "closed: the next start does not re-open it";
    // Its own area is stored, inside the frame moved to (150, 100).
    const PlacementRect stored = windowSlots.GetSavedWindowRect(kSlotSignalGenerator, {}, {800, 600});
    EXPECT_EQ(QPoint(stored.left, stored.top), QPoint(150, 100) + QPoint(2, 2));
    EXPECT_FALSE(generate->IsLatched() || generator->isChecked());
    EXPECT_FALSE(frame.ActionFor(kSaveGeneratorWave)->isEnabled()) << "no window, nothing to save";
    // The tool bar's button opens it again where it stood; Close All Utilities closes it.
    QTest::mouseClick(generate, Qt::LeftButton, {}, QPoint(14, 14));
    ASSERT_NE(frame.SignalGenerator(), nullptr);
    EXPECT_EQ(frame.SignalGenerator()->frameGeometry().topLeft(), QPoint(150, 100));
    EXPECT_TRUE(frame.ActionFor(kSaveGeneratorWave)->isEnabled());
    frame.OnCommand(kCloseAllUtilities);
    EXPECT_EQ(frame.SignalGenerator(), nullptr);

    // Help opens its pages in one window, by context with the contents as
    // the fallback; the documents and the web site open outside.
    frame.OnCommand(57831);
    CHelpWindow* help = frame.HelpWindow();
    ASSERT_TRUE(help != nullptr && help->isVisible());
    EXPECT_EQ(help->CurrentFile(), "index.html");
    frame.OnCommand(57862);
    EXPECT_EQ(frame.HelpWindow(), help) << "one help window";
    EXPECT_EQ(help->CurrentFile(), "getting-started.html");
    frame.ShowHelp(750);
    EXPECT_EQ(help->CurrentFile(), "calibration.html");
    frame.ShowHelp(999);
    EXPECT_EQ(help->CurrentFile(), "index.html");

    frame.OnCommand(57832);
    QTest::keyClicks(help->SearchField(), "calibrator");
    ASSERT_GT(help->SearchResults()->count(), 0);
    EXPECT_EQ(help->SearchResults()->item(0)->text(), "Calibration");

    for (std::uint32_t document : {57835u, 57837u, 57836u})
        frame.OnCommand(document);
    ASSERT_EQ(h.opened.size(), 3u);
    EXPECT_EQ(h.opened[0].toLocalFile().toStdString(), h.folder.Root() + "bin/readme.txt");
    EXPECT_EQ(h.opened[1].toLocalFile().toStdString(), h.folder.Root() + "bin/disclaim.txt");
    EXPECT_EQ(h.opened[2].scheme(), "https");

    frame.OnCommand(57665);
    EXPECT_TRUE(frame.HelpWindow() == nullptr || !frame.HelpWindow()->isVisible());
    EXPECT_FALSE(frame.isVisible()) << "Exit closes the frame";
}
