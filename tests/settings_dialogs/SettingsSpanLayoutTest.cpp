// The utility frequency span of each channel on the settings page: the
// three choices above one row of "Start (Hz)" and "Stop (Hz)", each field
// right of its caption.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include <string>
#include <utility>
#include <vector>

#include "settings/FrameSettings.h"
#include "settings/dialogs/CSettingsDlg.h"
#include "tests/support/Screenshot.h"
#include "tests/support/WidgetPlace.h"

namespace {


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
        start = PlaceIn(page, *edits[0]);
        stop = PlaceIn(page, *edits[1]);
        for (const QLabel* label : group->findChildren<QLabel*>()) {
            if (label->text() == QStringLiteral("Start (Hz)"))
                startCaption = PlaceIn(page, *label);
            if (label->text() == QStringLiteral("Stop (Hz)"))
                stopCaption = PlaceIn(page, *label);
        }
        for (const QRadioButton* choice : group->findChildren<QRadioButton*>())
            lowestChoice = lowestChoice.isNull() || PlaceIn(page, *choice).bottom() > lowestChoice.bottom()
                               ? PlaceIn(page, *choice)
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

// Each channel's stored span choice is the one checked; the right channel's
// captions carry their own ids.
TEST(SettingsSpanLayout, EachChannelChecksItsStoredChoiceAndTheRightCaptionsHaveTheirIds)
{
    const auto find = [](QWidget& page, int id) { return page.findChild<QWidget*>(QStringLiteral("id%1").arg(id)); };
    for (auto [left, right] : {std::pair<std::uint16_t, std::uint16_t>{0, 1}, {2, 0}, {1, 2}}) {
        SCOPED_TRACE(std::to_string(left) + " " + std::to_string(right));
        FrameSettings settings;
        settings.Processing.Format.Set(48000, 2, 2);
        settings.Scaling[0].UtilityFreqSpanType = left;
        settings.Scaling[1].UtilityFreqSpanType = right;
        ProcessingSheetRecords records = ProcessingSheetRecords::From(settings);
        CSettingsDlg page(records);
        for (int i = 0; i < 3; ++i) {
            const auto* leftChoice = qobject_cast<QRadioButton*>(find(page, 2296 + i));
            const auto* rightChoice = qobject_cast<QRadioButton*>(find(page, 2301 + i));
            ASSERT_TRUE(leftChoice != nullptr && rightChoice != nullptr) << i;
            EXPECT_EQ(leftChoice->isChecked(), i == left) << i;
            EXPECT_EQ(rightChoice->isChecked(), i == right) << i;
        }
        std::vector<std::string> captions;
        for (int id : {2322, 2323, 2324}) {
            const auto* caption = qobject_cast<QLabel*>(find(page, id));
            captions.push_back(caption != nullptr ? caption->text().toStdString() : "(none)");
        }
        EXPECT_EQ(captions, (std::vector<std::string>{"Right Channel", "Start (Hz)", "Stop (Hz)"}));
    }
}

// OK on the page sets the channel mode from the channel count: both
// channels side by side with two, the left alone with one.
TEST(SettingsSpanLayout, TheChannelCountSetsTheChannelMode)
{
    for (auto [index, mode] : {std::pair{1, 2}, {0, 0}}) {
        FrameSettings settings;
        settings.Processing.Format.Set(48000, 2, 2);
        settings.Processing.ChannelProcessing = 7;
        ProcessingSheetRecords records = ProcessingSheetRecords::From(settings);
        CSettingsDlg page(records);
        page.findChild<QComboBox*>(QStringLiteral("id2183"))->setCurrentIndex(index);
        ASSERT_TRUE(page.ApplySettings());
        EXPECT_EQ(records.Processing.ChannelProcessing, mode) << index;
    }
}
