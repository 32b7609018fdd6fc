#pragma once
// A window's placement and its text form in the configuration file,
// "flags, show, {minX,minY}, {maxX,maxY}, {left,top,right,bottom}" in screen
// pixels, as files written by earlier versions hold it.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct PlacementRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    bool operator==(const PlacementRect&) const = default;
};

struct DesktopSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
};

struct WindowPlacement {
    // Show states as the text stores them.
    static constexpr std::int32_t kShowNormal = 1;
    static constexpr std::int32_t kShowMinimized = 2;
    static constexpr std::int32_t kShowMaximized = 3;
    static constexpr std::int32_t kMinimize = 6;

    std::int32_t flags = 0;
    std::int32_t showCmd = 0;
    std::int32_t minX = 0;
    std::int32_t minY = 0;
    std::int32_t maxX = 0;
    std::int32_t maxY = 0;
    PlacementRect normal;

    bool operator==(const WindowPlacement&) const = default;

    std::string Format() const;

    // Reads the text's numbers in order; those the text does not hold stay
    // 0. Every position is then kept on the desktop: negative values become
    // 0, a left edge beyond the desktop's width moves to half the width and
    // a top beyond its height to half the height. A window stored minimized
    // comes back shown normally, or minimized while the main window is
    // minimized itself. Nothing for a text shorter than 3 characters.
    static std::optional<WindowPlacement> Parse(std::string_view text, DesktopSize desktop,
                                                bool mainWindowMinimized);

    // The main window's placement before any was stored: at the desktop's
    // top left, its full width, its height less a task bar.
    static WindowPlacement FrameDefault(DesktopSize desktop);
};
