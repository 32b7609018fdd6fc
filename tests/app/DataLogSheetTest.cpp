// The data-logging sheet as the operator works it: tabs per logged channel,
// the enable switch keeping the list's marks, Defaults on the shown tab,
// and OK staying open on the tab whose field it refuses.

#include "tests/support/PlatformTestSupport.h"
#include "tests/support/Screenshot.h"

#include "app/CDataLoggingMainDlg.h"
#include "settings/TextField.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <functional>

#include <gtest/gtest.h>

namespace {

template <typename T>
T* Control(QWidget& page, const char* id)
{
    T* control = page.findChild<T*>(QString::fromLatin1(id));
    EXPECT_NE(control, nullptr) << id;
    return control;
}

} // namespace

// Two tabs; the enable switch keeps the list's marks; Defaults act on the
// shown tab; OK shows the tab whose field it refuses and stays open.
TEST(DataLogSheet, TwoTabsTheSwitchKeepsTheMarksDefaultsActOnTheShownTabAndOkStaysOnARefusal)
{
    DataLogSettings settings;
    settings.Channel[1].ThresholdType = 50;  // not in the box
    settings.Channel[0].ThresholdType = 1;
    settings.Channel[0].Enable = 1;
    SetTextField(settings.Channel[0].LogFileName, "Mic");
    CDataLoggingMainDlg sheet(nullptr, &settings, {{0, "Left mic"}, {1, "Hydrophone"}}, CDataLogSetupDlg::Actions{},
                              std::function<void(int)>{});
    MessageLog messages;
    ASSERT_EQ(sheet.Tabs()->count(), 2);
    CDataLogSetupDlg& left = *sheet.Page(0);
    CDataLogSetupDlg& right = *sheet.Page(1);
    EXPECT_EQ(Control<QComboBox>(right, "2321")->currentText(), "Peak Level in span");
    EXPECT_EQ(Control<QLineEdit>(right, "2317")->text(), "Hydrophone") << "an empty stem takes the channel's name";
    EXPECT_EQ(Control<QLineEdit>(left, "2317")->text(), "Mic");
    sheet.resize(520, 640);
    sheet.show();
    sheet.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&sheet));
    SaveScreenshot(sheet, "data_logging_sheet");

    // Switched off, the marks are kept; switched on, they come back.
    auto* enable = Control<QCheckBox>(left, "2156");
    auto* list = Control<QListWidget>(left, "2318");
    ASSERT_TRUE(enable->isChecked());
    list->item(1)->setCheckState(Qt::Checked);
    enable->click();
    EXPECT_FALSE(list->isEnabled());
    enable->click();
    EXPECT_TRUE(list->isEnabled());
    EXPECT_TRUE(list->item(0)->checkState() == Qt::Checked && list->item(1)->checkState() == Qt::Checked);

    // Defaults on the left tab only, the threshold box included.
    sheet.Tabs()->setCurrentIndex(0);
    Control<QLineEdit>(right, "2314")->setText("7");
    sheet.findChild<QPushButton*>("301")->click();
    EXPECT_EQ(Control<QComboBox>(left, "2321")->currentText(), "RMS Total Power Flat in span");
    EXPECT_EQ(Control<QLineEdit>(left, "2317")->text(), "Left mic");
    EXPECT_EQ(Control<QLineEdit>(right, "2314")->text(), "7");
    EXPECT_EQ(list->item(1)->checkState(), Qt::Unchecked);
    EXPECT_EQ(list->item(2)->checkState(), Qt::Checked);

    Control<QCheckBox>(right, "2156")->click();
    Control<QLineEdit>(right, "2314")->setText("0.5");
    sheet.findChild<QPushButton*>("1")->click();
    EXPECT_TRUE(sheet.isVisible());
    EXPECT_EQ(sheet.Tabs()->currentWidget(), &right);
    EXPECT_TRUE(Control<QLineEdit>(right, "2314")->hasFocus()) << "the refused field takes the focus";
    EXPECT_EQ(messages.texts, std::vector<std::string>{"The Logging Update Interval must be between 1.0 and 3600 seconds"});
    Control<QLineEdit>(right, "2314")->setText("2");
    sheet.findChild<QPushButton*>("1")->click();
    EXPECT_EQ(sheet.result(), QDialog::Accepted);
    EXPECT_FLOAT_EQ(settings.Channel[1].IntervalSecs, 2.0f);
    EXPECT_EQ(settings.Channel[1].ThresholdType, 1u) << "what the box showed is what OK stores";
}
