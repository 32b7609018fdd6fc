#include "utilities/recorderlogic/DataGridCells.h"

#include <algorithm>
#include <cstring>

void DataGridCells::SetSize(int rows, int columns)
{
    if (rows >= 0 && rows < kMaxCells)
        m_Rows = static_cast<std::uint16_t>(rows);
    if (columns >= 0 && columns < kMaxCells)
        m_Columns = static_cast<std::uint16_t>(columns);
}

bool DataGridCells::InRange(int row, int column)
{
    return row >= 0 && row < kMaxCells && column >= 0 && column < kMaxCells;
}

void DataGridCells::SetCellText(int row, int column, std::string_view text)
{
    DataGridCell* cell = MutableCell(row, column);
    if (cell == nullptr)
        return;
    const std::size_t length = std::min(text.size(), kTextLimit);
    std::memcpy(cell->Text, text.data(), length);
    cell->Text[length] = '\0';
}

std::string_view DataGridCells::CellText(int row, int column) const
{
    return InRange(row, column) ? std::string_view(Cell(row, column).Text) : std::string_view();
}

const DataGridCell& DataGridCells::Cell(int row, int column) const
{
    static const DataGridCell kNone{};
    return InRange(row, column) ? m_Cells[static_cast<std::size_t>(row * kMaxCells + column)] : kNone;
}

DataGridCell* DataGridCells::MutableCell(int row, int column)
{
    return InRange(row, column) ? &m_Cells[static_cast<std::size_t>(row * kMaxCells + column)] : nullptr;
}

std::uint32_t DataGridCells::ColourRgb(std::uint16_t index, std::uint32_t buttonFace)
{
    switch (index) {
    case 0: return 0xFFFFFF;
    case 1: return 0x008000;
    case 2: return 0xFF0000;
    case 3: return buttonFace;
    case 5: return 0xB2B200;
    case 6: return 0x00FFFF;
    case 7: return 0xB49664;
    default: return 0x000000;
    }
}
