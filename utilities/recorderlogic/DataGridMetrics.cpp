#include "utilities/recorderlogic/DataGridMetrics.h"

#include <algorithm>

namespace data_grid {

std::optional<Metrics> MetricsFor(const Rect& item, int rows, int columns)
{
    if (rows <= 0 || columns <= 0)
        return std::nullopt;
    Metrics m;
    m.rowHeight = static_cast<int>(static_cast<double>(item.bottom - item.top) / rows + 0.5);
    m.columnWidth = static_cast<int>(static_cast<double>(item.right - item.left) / columns + 0.5);
    m.fontHeight = m.rowHeight <= 20 ? m.rowHeight - 1 : static_cast<int>(0.9 * m.rowHeight);
    return m;
}

Rect TextCell(const Rect& item, const Metrics& m, int row, int column)
{
    Rect cell;
    cell.left = item.left + 1 + column * m.columnWidth;
    cell.right = std::min(cell.left - 1 + m.columnWidth, item.right);
    cell.top = item.top + row * m.rowHeight;
    cell.bottom = std::min(cell.top + m.rowHeight, item.bottom);
    return cell;
}

int TextBaseline(const Rect& cell)
{
    return cell.bottom - (cell.bottom - cell.top) / 6;
}

int TextInset(int fontHeight)
{
    return 2 + std::max(fontHeight, 0) / 4;
}

Rect EdgeCell(const Rect& item, const Metrics& m, int row, int column)
{
    Rect cell;
    cell.left = item.left + column * m.columnWidth;
    cell.right = std::min(cell.left + m.columnWidth, item.right);
    cell.top = item.top + row * m.rowHeight;
    cell.bottom = std::min(cell.top + m.rowHeight, item.bottom);
    return cell;
}

std::optional<std::pair<int, int>> HitCell(int x, int y, int rowHeight, int columnWidth)
{
    if (rowHeight == 0 || columnWidth == 0)
        return std::nullopt;
    return std::pair{static_cast<int>(static_cast<double>(y) / rowHeight),
                     static_cast<int>(static_cast<double>(x) / columnWidth)};
}

ViewerSize ViewerSizeFor(int clientHeight, int nonClientHeight, int rows, int columns)
{
    rows = std::max(rows, 1);
    if (columns < 1)
        columns = 2;
    ViewerSize size;
    size.rowHeight = std::clamp(clientHeight / rows, 16, 48);
    size.minWidth = (3 * size.rowHeight + 20) * columns;
    size.minHeight = size.rowHeight * rows + nonClientHeight;
    return size;
}

bool IsColourDevice(int planes, long long colours, int bitsPerPixel)
{
    return planes > 1 || colours > 2 || bitsPerPixel > 1;
}

} // namespace data_grid
