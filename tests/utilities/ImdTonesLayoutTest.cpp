// The IMD dialog's table: the two standard sets' frequencies and ratio
// stand in the columns of the custom set's low, high and ratio fields.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>

#include "tests/support/Screenshot.h"
#include "tests/support/WidgetPlace.h"
#include "utilities/CIMDtones.h"

TEST(ImdTonesLayout, TheStandardSetsStandInTheColumnsOfTheCustomFields)
{
    IMDSettings imd;
    CIMDtones dialog(nullptr, &imd, 24000);
    dialog.show();
    SaveScreenshot(dialog, "imd_tones_dialog");
    const QRect columns[3] = {PlaceIn(dialog, *dialog.findChild<QLineEdit*>("1933")),
                              PlaceIn(dialog, *dialog.findChild<QLineEdit*>("1934")),
                              PlaceIn(dialog, *dialog.findChild<QLineEdit*>("1935"))};
    const char* const standard[2][3] = {{"250", "8020", "4:1"}, {"60", "7000", "4:1"}};
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 3; ++column) {
            SCOPED_TRACE(testing::Message() << "row " << row << ", column " << column);
            // The two "4:1" labels: the first for row 0, the second for row 1.
            const QLabel* label = nullptr;
            int seen = 0;
            for (const QLabel* l : dialog.findChildren<QLabel*>())
                if (l->text() == QString::fromLatin1(standard[row][column]) && (column < 2 || seen++ == row))
                    label = l;
            ASSERT_NE(label, nullptr);
            const QRect r = PlaceIn(dialog, *label);
            const int centre = r.center().x();
            EXPECT_TRUE(centre >= columns[column].left() - 20 && centre <= columns[column].right() + 20)
                << "centre " << centre << " over the field at " << columns[column].left() << " … "
                << columns[column].right();
            EXPECT_LT(r.bottom(), columns[column].top()) << "above the custom row";
        }
    }
}

// Each set is one row: its radio button, then its frequencies and ratio
// level with it; the three rows stand top to bottom in order.
TEST(ImdTonesLayout, EachSetIsOneRowBesideItsRadioButton)
{
    IMDSettings imd;
    CIMDtones dialog(nullptr, &imd, 24000);
    dialog.show();
    int radioCentres[3] = {};
    for (int i = 0; i < 3; ++i) {
        const QWidget* radio = dialog.findChild<QWidget*>(QString::number(1930 + i));
        ASSERT_NE(radio, nullptr) << i;
        radioCentres[i] = PlaceIn(dialog, *radio).center().y();
    }
    EXPECT_LT(radioCentres[0], radioCentres[1]);
    EXPECT_LT(radioCentres[1], radioCentres[2]);
    const auto levelWith = [&](const QWidget& w, int row) {
        EXPECT_NEAR(PlaceIn(dialog, w).center().y(), radioCentres[row], 3) << w.objectName().toStdString() << " "
                                                                              << w.property("text").toString().toStdString();
    };
    for (const char* id : {"1933", "1934", "1935"})
        levelWith(*dialog.findChild<QLineEdit*>(id), 2);
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
        if (label->text() == "250" || label->text() == "8020")
            levelWith(*label, 0);
        if (label->text() == "60" || label->text() == "7000")
            levelWith(*label, 1);
        if (label->text() == ":1")
            levelWith(*label, 2);
    }
}
