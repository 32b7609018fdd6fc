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
    // The red text starts an inset of 2 + 16 / 4 pixels into its cell
    // (which starts at x = 1), in row 2.
    const QImage drawn = grid.grab().toImage();
    int firstTextColumn = drawn.width();
    for (int y = 34; y < 51; ++y)
        for (int x = 0; x < drawn.width(); ++x)
            if (const QColor p = drawn.pixelColor(x, y); p.red() > 128 && p.green() < 100)
                firstTextColumn = std::min(firstTextColumn, x);
    EXPECT_GE(firstTextColumn, 7);
    EXPECT_LT(firstTextColumn, 10) << "the text is drawn";
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

// Text of any size keeps clear of the grid's border on both sides when the
// grid is as wide as ColumnWidthFor asks: small rows and rows so tall that
// the letters are large.
TEST(DataGridWidget, TextOfEverySizeIsDrawnInsideTheBorderWithRoomToSpare)
{
    for (const char* text : {"no data yet", "1000.0 Hz", "-999.00 dBV A"}) {
        for (int rowHeight : {16, 24, 48, 90}) {
            SCOPED_TRACE(std::string(text) + " at row height " + std::to_string(rowHeight));
            const int fontHeight = data_grid::MetricsFor({0, 0, 100, rowHeight}, 1, 1)->fontHeight;
            const int width = CDataGrid::ColumnWidthFor(QString::fromLatin1(text), fontHeight);
            QWidget parent;
            parent.resize(width, rowHeight);
            CDataGrid grid(&parent);
            grid.setGeometry(0, 0, width, rowHeight);
            grid.SetSize(1, 1);
            grid.SetCellText(0, 0, text);
            parent.show();
            const QImage drawn = grid.grab().toImage();
            int left = drawn.width(), right = -1;
            // Inside the border: the text's dark pixels.
            for (int y = 1; y < drawn.height() - 1; ++y)
                for (int x = 1; x < drawn.width() - 1; ++x)
                    if (qGray(drawn.pixel(x, y)) < 128) {
                        left = std::min(left, x);
                        right = std::max(right, x);
                    }
            ASSERT_GE(right, left) << "the text is drawn";
            // Clear of the border by at least 3 pixels and a fifth of the font.
            const int margin = std::max(3, fontHeight / 5);
            EXPECT_GE(left, margin) << "left gap";
            EXPECT_LE(right, width - 1 - margin) << "right gap";
            if (rowHeight == 48)
                SaveScreenshot(grid, "data_grid_margins");
        }
    }
}
