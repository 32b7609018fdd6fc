#pragma once
// Where the bars and the two spectrum plots go inside the main frame's
// client area. The frame lays its children out itself, so that a hidden bar
// gives its room to the plots.

struct LayoutRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const LayoutRect&) const = default;
};

struct FrameLayoutInput {
    int clientWidth = 0;
    int clientHeight = 0;
    bool sidebarShown = true;
    bool toolbarShown = false;
    bool statusbarShown = true;
    bool plot1Exists = false;
    bool plot2Exists = false;
};

struct FrameLayout {
    static constexpr int kSidebarWidth = 90;
    static constexpr int kToolbarHeight = 32;
    static constexpr int kStatusbarHeight = 26;

    LayoutRect sidebar;
    LayoutRect toolbar;
    LayoutRect statusbar;
    // Below the tool bar, right of the side bar, above the status bar.
    LayoutRect plotArea;
    // Empty for a plot that does not exist.
    LayoutRect plot1;
    LayoutRect plot2;

    // With both plots each takes an integer half of the plot area, plot 1
    // on top; plot 1 alone takes all of it; plot 2 alone the lower half.
    // The side bar runs from below the tool bar down to the status bar, so
    // that the tool bar never covers its lamps.
    static FrameLayout Compute(const FrameLayoutInput& in);
};
