// The data grid as drawn: an empty grid draws only its field and border and
// takes no clicks; a drawn one reports the cell under a double click.

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "tests/support/Screenshot.h"
#include "utilities/CDataGrid.h"

TEST(DataGridWidget, AnEmptyGridDrawsItsBorderOnlyAndADrawnOneReportsTheCellClicked)
{
    QWidget parent;
    parent.resize(200, 100);
    CDataGrid grid(&parent);
    grid.setGeometry(0, 0, 200, 100);
    parent.show();
    QSignalSpy clicks(&grid, &CDataGrid::GridDoubleClicked);
    QSignalSpy menus(&grid, &CDataGrid::GridContextMenu);

    grid.SetSize(0, 1);
    const QImage empty = grid.grab().toImage();
    EXPECT_EQ(grid.RowHeight(), 0);
    EXPECT_EQ(empty.pixelColor(100, 50), QColor(Qt::white));
    EXPECT_EQ(empty.pixelColor(0, 50), QColor(Qt::black)) << "the border";
    QTest::mouseClick(&grid, Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_EQ(menus.count(), 0) << "nothing drawn, nothing to click on";

    grid.SetSize(6, 1);
    grid.SetCellText(2, 0, "1000.0 Hz");
    grid.Cells().MutableCell(2, 0)->TextColour = 2;
    EXPECT_FALSE(SaveScreenshot(grid, "data_grid").empty());
    EXPECT_EQ(grid.RowHeight(), 17);  // 100 / 6 + 0.5
    QTest::mouseDClick(&grid, Qt::LeftButton, {}, QPoint(5, 47));
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_EQ(std::pair(clicks[0][0].toInt(), clicks[0][1].toInt()), std::pair(2, 0));
    QTest::mouseClick(&grid, Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_EQ(menus.count(), 1);
}
