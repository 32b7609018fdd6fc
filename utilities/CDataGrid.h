#pragma once
// A small owner-drawn table: the first rows x columns of a fixed 60 x 60
// store of text cells, each with its own colours and edges, in an "Arial"
// font sized to the row height. A double click and a right click are
// passed to the parent as signals with the cell or the point.

#include <QFont>
#include <QWidget>

#include "utilities/recorderlogic/DataGridCells.h"

class CDataGrid : public QWidget {
    Q_OBJECT

public:
    explicit CDataGrid(QWidget* parent);

    // Values of 60 or more keep that dimension; then the whole grid repaints.
    void SetSize(int rows, int columns);
    // Does not repaint.
    void SetCellText(int row, int column, std::string_view text) { m_Cells.SetCellText(row, column, text); }
    // Repaints one column's strip; -1 the whole grid.
    void InvalidateColumn(int column);

    const DataGridCells& Cells() const { return m_Cells; }
    DataGridCells& Cells() { return m_Cells; }
    // 0 until the first draw (and while the grid is empty).
    int RowHeight() const { return m_RowHeight; }
    int ColumnWidth() const { return m_ColumnWidth; }
    // The font the cells are drawn in at a font height, and the width a
    // column needs to show a text in it whole, insets included.
    static QFont CellFont(int fontHeight);
    static int ColumnWidthFor(const QString& text, int fontHeight);
    // Draws as on a monochrome device (black text, red text bold) even on a
    // colour screen; a monochrome screen draws so anyway.
    void SetMonochrome(bool monochrome) { m_Monochrome = monochrome; }
    // Whether the screen the grid is shown on is monochrome.
    bool ScreenIsMonochrome() const;

signals:
    void GridDoubleClicked(int row, int column);
    void GridContextMenu(const QPoint& point);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    DataGridCells m_Cells;
    int m_RowHeight = 0;
    int m_ColumnWidth = 0;
    bool m_Monochrome = false;
    int m_FontHeight = -1;
    QFont m_NormalFont;
    QFont m_BoldFont;
};
