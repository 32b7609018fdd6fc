#pragma once
// The data grid's and the viewers' arithmetic: row and column sizes, the
// font height, where each cell's text and edges go, which cell a click
// hits, and the smallest size a viewer may take.

#include <optional>
#include <utility>

namespace data_grid {

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const Rect&) const = default;
};

struct Metrics {
    int rowHeight = 0;
    int columnWidth = 0;
    int fontHeight = 0;
};

// The sizes of a draw of `rows` x `columns` cells in `item`, divided in
// floating point and rounded half up; none for an empty grid, which has
// nothing to divide among (only its white field and border are drawn).
std::optional<Metrics> MetricsFor(const Rect& item, int rows, int columns);

// The clipped rectangle a cell's fill and text go in, and the text's
// baseline.
Rect TextCell(const Rect& item, const Metrics& m, int row, int column);
int TextBaseline(const Rect& cell);
// How far a cell's text starts right of the cell's left edge, and the room
// left free after it: grows with the font, so that large text keeps clear
// of the border as small text does.
int TextInset(int fontHeight);
// The rectangle a cell's edges are drawn on.
Rect EdgeCell(const Rect& item, const Metrics& m, int row, int column);

// The (row, column) under a point; none before the first draw.
std::optional<std::pair<int, int>> HitCell(int x, int y, int rowHeight, int columnWidth);

// A viewer's row height for its client height (16..48 pixels), and its
// smallest outer size.
struct ViewerSize {
    int rowHeight = 16;
    int minWidth = 0;
    int minHeight = 0;
};
ViewerSize ViewerSizeFor(int clientHeight, int nonClientHeight, int rows, int columns);

// A device of one plane with two colours and one bit per pixel is
// monochrome: its text is black, red text bold. Anything more is colour.
bool IsColourDevice(int planes, long long colours, int bitsPerPixel);

} // namespace data_grid
