// The margins group of the print annotation dialog: two rows of two, each
// edit right of its own caption and clear of the other pair.
#include "plot/CPrintAnnotationDialog.h"
#include "settings/PrintOpts.h"
#include "tests/support/Screenshot.h"
#include "tests/support/WidgetPlace.h"

#include <QLabel>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <string>

TEST(PrintAnnotationLayout, EachMarginEditStandsRightOfItsCaptionInTwoRowsOfTwo)
{
    PrintOpts options;
    CPrintAnnotationDialog dialog(nullptr, &options);
    dialog.show();
    SaveScreenshot(dialog, "print_annotation_dialog");
    const char* captions[4] = {"Left:", "Right:", "Top:", "Bottom:"};
    QRect label[4], edit[4];
    for (int i = 0; i < 4; ++i) {
        const QLabel* caption = nullptr;
        for (const QLabel* l : dialog.findChildren<QLabel*>())
            if (l->text() == QString::fromLatin1(captions[i]))
                caption = l;
        ASSERT_NE(caption, nullptr) << captions[i];
        label[i] = PlaceIn(dialog, *caption);
        edit[i] = PlaceIn(dialog, *dialog.MarginEdit(i));
    }
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(captions[i]);
        EXPECT_LE(label[i].right(), edit[i].left()) << "the caption ends before its edit";
        EXPECT_TRUE(label[i].top() < edit[i].bottom() && edit[i].top() < label[i].bottom()) << "on the edit's row";
    }
    // Left and Right share the first row, Top and Bottom the second; the
    // right-hand pair stands clear right of the left-hand edits.
    EXPECT_EQ(std::pair(edit[0].top(), edit[2].top() > edit[0].bottom()), std::pair(edit[1].top(), true));
    EXPECT_EQ(edit[2].top(), edit[3].top());
    EXPECT_LE(edit[0].right(), label[1].left());
    EXPECT_LE(edit[2].right(), label[3].left());
}
