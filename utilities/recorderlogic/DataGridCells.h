#pragma once
// The data grid's fixed store of 60 x 60 text cells, each with its text and
// background colour index and four edge flags; only the first rows x
// columns are shown.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

struct DataGridCell {
    std::uint16_t TextColour = 4;
    std::uint16_t BackColour = 0;
    char Text[80] = {};
    std::uint8_t LeftEdge = 1;
    std::uint8_t TopEdge = 1;
    std::uint8_t RightEdge = 1;
    std::uint8_t BottomEdge = 1;
};

class DataGridCells {
public:
    static constexpr int kMaxCells = 60;
    static constexpr std::size_t kTextLimit = 79;

    // Each value below 60 replaces the current one; 60 or more keeps it.
    void SetSize(int rows, int columns);
    int Rows() const { return m_Rows; }
    int Columns() const { return m_Columns; }

    // Cut to 79 characters; indexes outside 0..59 are ignored.
    void SetCellText(int row, int column, std::string_view text);
    // Empty for indexes outside 0..59.
    std::string_view CellText(int row, int column) const;
    const DataGridCell& Cell(int row, int column) const;
    DataGridCell* MutableCell(int row, int column);

    // Red, green, blue of a colour index; index 3 is the caller's button
    // face (buttonFace), any unknown index black.
    static std::uint32_t ColourRgb(std::uint16_t index, std::uint32_t buttonFace);

private:
    static bool InRange(int row, int column);

    std::uint16_t m_Rows = 2;
    std::uint16_t m_Columns = 2;
    std::array<DataGridCell, kMaxCells * kMaxCells> m_Cells{};
};
