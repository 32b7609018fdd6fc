#pragma once
// The main frame's menu bar and accelerator table as data, and which
// commands this build can carry out. The Qt frame builds its actions from
// these tables; a command whose window is not in this program yet is
// shown but disabled.

#include <array>
#include <cstdint>
#include <span>

namespace frame_menus {

struct MenuItem {
    // "&" marks the mnemonic; the text after a tab is the shortcut shown.
    const char* text;
    // 0: a separator.
    std::uint32_t id;
};

struct MenuPopup {
    const char* title;
    std::span<const MenuItem> items;
};

struct Accelerator {
    // Portable key text ("F1", "Ctrl+P", "Alt+R").
    const char* keys;
    std::uint32_t id;
};

// The menu bar, popups in order.
std::span<const MenuPopup> MenuBar();
std::span<const Accelerator> Accelerators();

// The commands this build carries out; every other command is disabled
// wherever it appears.
bool IsCommandBuilt(std::uint32_t id);
std::span<const std::uint32_t> BuiltCommands();

// The mnemonic letter of a title or item ("P&rint" → 'R'), upper-cased; 0
// without one.
char Mnemonic(const char* text);

// An "Alt+<letter>" accelerator whose letter is also the mnemonic of a menu
// bar title: both would claim the key, so the frame has to settle it. Run's
// Alt+R and the Print menu's R are the one such pair.
bool ClashesWithMenuMnemonic(const Accelerator& accelerator);

} // namespace frame_menus
