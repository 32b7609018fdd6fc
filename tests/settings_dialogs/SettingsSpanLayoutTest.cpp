// The utility frequency span of each channel on the settings page: the
// three choices above one row of "Start (Hz)" and "Stop (Hz)", each field
// right of its caption.
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "settings/FrameSettings.h"
#include "settings/dialogs/CSettingsDlg.h"
#include "tests/support/Screenshot.h"

namespace {

QRect InPage(const QWidget& page, const QWidget& w)
{
    return QRect(w.mapTo(&page, QPoint(0, 0)), w.size());
}

bool SameRow(const QRect& a, const QRect& b)
{
    return a.top() < b.bottom() && b.top() < a.bottom();
}

} // namespace

TEST(SettingsSpanLayout, StartAndStopStandInOneRowUnderTheChoicesEachRightOfItsCaption)
{
    FrameSettings settings;
    settings.Processing.Format.Set(48000, 2, 2);
    ProcessingSheetRecords records = ProcessingSheetRecords::From(settings);
    CSettingsDlg page(records);
    page.resize(700, 600);
    page.show();
    SaveScreenshot(page, "settings_page_spans");
    int groups = 0;
    for (const QGroupBox* group : page.findChildren<QGroupBox*>()) {
        if (group->title() != QStringLiteral("Utility Frequency Span"))
            continue;
        ++groups;
        SCOPED_TRACE(groups);
        QRect start, stop, startCaption, stopCaption, lowestChoice;
        const QList<QLineEdit*> edits = group->findChildren<QLineEdit*>();
        ASSERT_EQ(edits.size(), 2);
        start = InPage(page, *edits[0]);
        stop = InPage(page, *edits[1]);
        for (const QLabel* label : group->findChildren<QLabel*>()) {
            if (label->text() == QStringLiteral("Start (Hz)"))
                startCaption = InPage(page, *label);
            if (label->text() == QStringLiteral("Stop (Hz)"))
                stopCaption = InPage(page, *label);
        }
        for (const QRadioButton* choice : group->findChildren<QRadioButton*>())
            lowestChoice = lowestChoice.isNull() || InPage(page, *choice).bottom() > lowestChoice.bottom()
                               ? InPage(page, *choice)
                               : lowestChoice;
        ASSERT_FALSE(startCaption.isNull() || stopCaption.isNull());
        EXPECT_TRUE(SameRow(start, startCaption) && SameRow(stop, stopCaption) && SameRow(start, stop));
        EXPECT_LE(startCaption.right(), start.left());
        EXPECT_LE(start.right(), stopCaption.left());
        EXPECT_LE(stopCaption.right(), stop.left());
        EXPECT_GT(start.top(), lowestChoice.bottom()) << "under the three choices";
    }
    EXPECT_EQ(groups, 2);
}
