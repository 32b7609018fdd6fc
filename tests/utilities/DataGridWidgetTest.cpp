// The data grid as drawn: an empty grid draws only its field and border and
// takes no clicks; a drawn one reports the cell under a double click.

#include <gtest/gtest.h>

#include <QSignalSpy>

#include <algorithm>
#include <QTest>

#include "tests/support/Screenshot.h"
#include "utilities/CDataGrid.h"
#include "utilities/recorderlogic/DataGridMetrics.h"

#include <QScreen>

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
    // One pixel wide on every side.
    for (const QPoint& p : {QPoint(199, 50), QPoint(100, 0), QPoint(100, 99)})
        EXPECT_EQ(empty.pixelColor(p), QColor(Qt::black)) << p.x() << ", " << p.y();
    for (const QPoint& p : {QPoint(1, 50), QPoint(198, 50), QPoint(100, 1), QPoint(100, 98)})
        EXPECT_EQ(empty.pixelColor(p), QColor(Qt::white)) << p.x() << ", " << p.y();
    QTest::mouseClick(&grid, Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_EQ(menus.count(), 0) << "nothing drawn, nothing to click on";

    grid.SetSize(6, 1);
    grid.SetCellText(2, 0, "1000.0 Hz");
    grid.Cells().MutableCell(2, 0)->TextColour = 2;
    EXPECT_FALSE(SaveScreenshot(grid, "data_grid").empty());
    EXPECT_EQ(grid.RowHeight(), 17);  // 100 / 6 + 0.5
    // The red text starts two pixels into its cell (which starts at x = 1), in row 2.
    const QImage drawn = grid.grab().toImage();
    int firstTextColumn = drawn.width();
    for (int y = 34; y < 51; ++y)
        for (int x = 0; x < drawn.width(); ++x)
            if (const QColor p = drawn.pixelColor(x, y); p.red() > 128 && p.green() < 100)
                firstTextColumn = std::min(firstTextColumn, x);
    EXPECT_GE(firstTextColumn, 3);
    EXPECT_LT(firstTextColumn, 8) << "the text is drawn";
    QTest::mouseDClick(&grid, Qt::LeftButton, {}, QPoint(5, 47));
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_EQ(std::pair(clicks[0][0].toInt(), clicks[0][1].toInt()), std::pair(2, 0));
    QTest::mouseClick(&grid, Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_EQ(menus.count(), 1);
}

TEST(DataGridWidget, TheScreensDepthDecidesWhetherRedTextIsDrawnRedOrBoldBlack)
{
    // One plane of two colours at one bit per pixel is monochrome; more of
    // any of them is colour.
    struct Case {
        int planes;
        long long colours;
        int bits;
        bool colour;
    };
    for (const Case& c : {Case{1, 2, 1, false}, Case{1, 4, 2, true}, Case{2, 2, 1, true}, Case{1, 3, 1, true},
                          Case{1, 1LL << 24, 24, true}})
        EXPECT_EQ(data_grid::IsColourDevice(c.planes, c.colours, c.bits), c.colour)
            << c.planes << " " << c.colours << " " << c.bits;

    // The test screen has colours: red text is drawn red.
    QWidget parent;
    parent.resize(200, 40);
    CDataGrid grid(&parent);
    grid.setGeometry(0, 0, 200, 40);
    grid.SetSize(1, 1);
    grid.Cells().MutableCell(0, 0)->TextColour = 2;
    grid.SetCellText(0, 0, "WWWWWWWW");
    parent.show();
    ASSERT_NE(grid.screen(), nullptr);
    ASSERT_GT(grid.screen()->depth(), 1);
    EXPECT_FALSE(grid.ScreenIsMonochrome());
    const auto redPixels = [&grid] {
        const QImage image = grid.grab().toImage();
        int red = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor p = image.pixelColor(x, y);
                red += p.red() > 200 && p.green() < 80 && p.blue() < 80 ? 1 : 0;
            }
        return red;
    };
    EXPECT_GT(redPixels(), 0);
    // Drawn as on a monochrome screen: black, no red.
    grid.SetMonochrome(true);
    EXPECT_EQ(redPixels(), 0);
}
