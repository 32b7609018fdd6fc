// Data logging in the running program on the simulated module, whose inputs
// hear the generator's 1 kHz tone: set up in the sheet from the side bar,
// written while the analyzer runs, closed by Stop, and read back as CSV by
// Python's csv module.

#include "tests/app/FrameTestSupport.h"

#include "app/CDataLoggingMainDlg.h"
#include "app/CSidebar.h"
#include "app/CStatusbar.h"
#include "app/SidebarButtons.h"
#include "app/core/TDataLog.h"
#include "app/core/TProcessingObjects.h"
#include "widgets/CToolBtn.h"
#include "engine/SpectralData.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

using frame_test::FrameHarness;
using frame_test::WaitFor;

namespace {

// What the operator does in the sheet once it is up: log the left channel's
// peak frequency, peak level and band power from 100 Hz to 20 kHz every
// second, without threshold, into files named "Tone_…".
void FillSheet(CDataLoggingMainDlg& sheet)
{
    CDataLogSetupDlg& page = *sheet.Page(0);
    auto* enable = page.findChild<QCheckBox*>("2156");
    if (!enable->isChecked())
        enable->click();
    auto* apply = page.findChild<QCheckBox*>("2319");
    if (apply->isChecked())
        apply->click();
    page.findChild<QLineEdit*>("2315")->setText("100");
    page.findChild<QLineEdit*>("2316")->setText("20000");
    page.findChild<QLineEdit*>("2314")->setText("1");
    page.findChild<QLineEdit*>("2317")->setText("Tone");
    auto* list = page.findChild<QListWidget*>("2318");
    for (int row = 0; row < list->count(); ++row)
        list->item(row)->setCheckState(row <= 2 ? Qt::Checked : Qt::Unchecked);
    sheet.findChild<QPushButton*>("1")->click();
}

} // namespace

TEST(MainFrameDataLog, TheToneIsLoggedAtItsFrequencyInEveryRecordAndTheFileReadsAsCsv)
{
    FrameHarness h(frame_test::ToneSettings());
    CMainFrame& frame = *h.frame;
    ASSERT_TRUE(frame_test::OpenGenerator(frame));

    // The side bar's Data Logging... stops a run before the sheet opens.
    frame.OnStart();
    ASSERT_TRUE(frame.IsRunning());
    bool filled = false;
    frame_test::OnModal<CDataLoggingMainDlg>([&filled](CDataLoggingMainDlg& sheet) {
        FillSheet(sheet);
        filled = true;
    });
    CToolBtn* dataLog = frame.Sidebar()->Button(SidebarButtons::IDC_DATA_LOG);
    QTest::mouseClick(dataLog, Qt::LeftButton);
    ASSERT_TRUE(filled);
    EXPECT_FALSE(frame.IsRunning());
    EXPECT_EQ(frame.Settings().DataLog.Channel[0].Enable, 1);
    EXPECT_FALSE(dataLog->IsLatched()) << "logging shows only while the analyzer runs";

    // Run: the folder is offered and made, the file opens, records follow.
    h.messages.texts.clear();
    frame.OnStart();
    ASSERT_TRUE(frame.IsRunning());
    const auto questions = [&] {
        return std::count_if(h.messages.texts.begin(), h.messages.texts.end(), [](const std::string& text) {
            return text.find("The data logging folder does not exist") != std::string::npos;
        });
    };
    EXPECT_EQ(questions(), 1);
    EXPECT_TRUE(dataLog->IsLatched());
    const std::string path = frame.DataLog().OpenFilePath(0);
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(std::filesystem::path(path).parent_path(), std::filesystem::path(h.folder.Root() + "Log"));
    // Header and two records: each line is on disk as soon as it is written.
    ASSERT_TRUE(WaitFor([&] {
        const std::string text = ReadText(path);
        return std::count(text.begin(), text.end(), '\n') >= 5;
    }));
    EXPECT_EQ(frame.Statusbar()->StatusText(), "Logging...");
    const float spacing = frame.Processing().GetLoggingData(0)->GetLineSpacing();
    frame.OnStop();
    EXPECT_FALSE(dataLog->IsLatched());
    const std::size_t messages = h.messages.texts.size();
    QTest::qWait(50);
    EXPECT_EQ(h.messages.texts.size(), messages) << "no failure was reported: " << h.messages.texts.back();
    EXPECT_EQ(questions(), 1);

    // Python's csv module reads it: every record has the header's fields and
    // the peak frequency within one line of 1 kHz.
    const std::string script = h.folder.Root() + "check_log.py";
    std::ofstream(script) << "import csv, sys\n"
                             "rows = list(csv.reader(open(sys.argv[1], newline='')))\n"
                             "assert rows[0][0].startswith('Logging Start Time: '), rows[0]\n"
                             "assert rows[1][0].startswith('Frequency Span: '), rows[1]\n"
                             "names = rows[2]\n"
                             "assert names == ['Time', 'Peak Freq', 'Peak Level', 'RMS Total Power Flat'], names\n"
                             "assert rows[-1][0].startswith('Logging Stop Time: '), rows[-1]\n"
                             "records = rows[3:-1]\n"
                             "assert len(records) >= 2, len(records)\n"
                             "for r in records:\n"
                             "    assert len(r) == len(names), r\n"
                             "    assert abs(float(r[1]) - 1000.0) <= float(sys.argv[2]), r\n"
                             "    float(r[2]); float(r[3])\n";
    if (std::system("python3 -c 'import csv' >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "no python3 here to read the file";
    const std::string command = "python3 " + script + " '" + path + "' " + std::to_string(spacing);
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
}
