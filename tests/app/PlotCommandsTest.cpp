// What the spectrum plot's menu and the print and configuration dialogs do
// through the running frame on the simulated module.

#include "tests/app/FrameTestSupport.h"
#include "tests/support/PopupMenus.h"

#include "plot/TOverlaySourceSelectDialog.h"
#include "settings/WindowSlots.h"
#include "utilities/CAnalysisView.h"
#include "utilities/CDataGrid.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>

#include <fstream>
#include <iterator>

namespace {

// A column of a pane whose line is `bin`, in the middle of the columns
// that show it.
int ColumnOfBin(const TQuarnPlot& plot, std::uint32_t bin)
{
    const PlotRect area = plot.Areas().Plot;
    int first = -1, last = -1;
    for (int x = area.left; x < area.right; ++x)
        if (plot.GetColumnBin(x) == static_cast<std::int32_t>(bin)) {
            first = first < 0 ? x : first;
            last = x;
        }
    return (first + last) / 2;
}

float ViewerLevel(CMainFrame& frame, int row)
{
    return std::stof(std::string(frame.Viewer(kSlotPeakAmplitude)->Grid()->Cells().CellText(row, 0)));
}

} // namespace

TEST(PlotCommands, SetRelativeCalibrationFromTheMenuMakesTheClickedLevelZeroDbOnThatPanesChannel)
{
    setenv("TALVENOR_DAQSIM_AMBIENT", "0", 1);
    // One plot of two panes (the transfer function above its coherence),
    // the right tone 6 dB below the left one; a span a few lines wide each
    // side. The upper pane calibrates the left channel, the lower the right.
    FrameSettings s = frame_test::ToneSettings();
    s.SigGenOutput.OutputLevelR = -12.0f;
    for (int c = 0; c < 2; ++c) {
        s.Spectrum[c].StartFreq = 985.0f;
        s.Spectrum[c].StopFreq = 1015.0f;
        s.Scaling[c].UtilityFreqSpanType = 2;
        s.Scaling[c].UtilityFreqCustomStart = 500.0f;
        s.Scaling[c].UtilityFreqCustomStop = 2000.0f;
    }
    FrameHarness h(s);
    CMainFrame& frame = *h.frame;
    frame.OnUtilityViewer(kSlotPeakAmplitude);
    ASSERT_NE(frame.Viewer(kSlotPeakAmplitude), nullptr);
    ASSERT_TRUE(frame_test::OpenGenerator(frame));
    const auto run = [&frame] {
        frame.OnStart();
        return WaitFor([&, n = frame.GetFrameCounter()] { return frame.GetFrameCounter() >= n + 12; });
    };
    // Right-clicks the column of the channel's tone in a pane and chooses
    // the command; calibration is on, so the question comes first (answered
    // Yes), then the source: live data.
    const auto calibrate = [&](TQuarnPlot& plot, int pane, int channel) {
        const SpectralData& shown = *frame.Processing().GetDisplayData(channel);
        const std::uint32_t tone = shown.GetBinIndex(frame_test::DisplayPeak(frame, channel, 990.0f, 1010.0f).frequency);
        const PlotRect r = plot.PaneRect(pane);
        h.messages.texts.clear();
        OnModal<TOverlaySourceSelectDialog>([](TOverlaySourceSelectDialog& source) {
            source.SpectralButton()->click();
            source.accept();
        });
        ChooseFromMenu(plot, QPoint(ColumnOfBin(plot, tone), (r.top + r.bottom) / 2), {"Set Relative Calibration"});
        ASSERT_EQ(h.messages.texts.size(), 1u) << pane;
        EXPECT_EQ(h.messages.texts[0], "This will change the current calibration.  Do you want to continue?");
        EXPECT_FALSE(frame.IsRunning());
        EXPECT_STREQ(frame.Settings().Calibration[channel].LabelLinear, "Relative Level") << pane;
        EXPECT_NEAR(frame_test::DisplayPeak(frame, channel, 990.0f, 1010.0f).level, 0.0f, 0.05f) << pane;
    };

    // Both channels, a plot each: the left plot's tone becomes 0 dB, and
    // the open viewer reads it without a new run.
    ASSERT_TRUE(run());
    ASSERT_NE(frame.Plot(0), nullptr);
    calibrate(*frame.Plot(0), 0, 0);
    EXPECT_NEAR(ViewerLevel(frame, 0), 0.0f, 0.05f);
    // The next run measures in the new unit, and names it.
    ASSERT_TRUE(run());
    EXPECT_NEAR(frame_test::DisplayPeak(frame, 0, 990.0f, 1010.0f).level, 0.0f, 0.05f);
    EXPECT_NEAR(ViewerLevel(frame, 0), 0.0f, 0.05f);
    EXPECT_NE(frame.Viewer(kSlotPeakAmplitude)->Grid()->Cells().CellText(0, 0).find("dBr"), std::string::npos)
        << frame.Viewer(kSlotPeakAmplitude)->Grid()->Cells().CellText(0, 0);
    frame.OnStop();

    // Transfer function with coherence: one plot of two panes, whose lower
    // pane calibrates the right channel.
    frame.Settings().Processing.ChannelProcessing = 11;
    frame.Processing().BuildProcessing();
    ASSERT_TRUE(run());
    TQuarnPlot& plot = *frame.Plot(0);
    ASSERT_EQ(plot.TraceCount(), 2);
    calibrate(plot, 1, 1);
    // The right channel's tone, 6 dB below the left one, took its own
    // record: half the left one's fraction of full scale.
    EXPECT_NEAR(frame.Settings().Calibration[1].PctFullScale / frame.Settings().Calibration[0].PctFullScale, 0.5f,
                0.01f);

    // Answering No changes nothing.
    const TChannelCalibration kept = frame.Settings().Calibration[0];
    h.messages.answer = platform::MessageResult::No;
    const PlotRect pane = plot.PaneRect(0);
    ChooseFromMenu(plot, QPoint(pane.left + 5, (pane.top + pane.bottom) / 2), {"Set Relative Calibration"});
    EXPECT_EQ(frame.Settings().Calibration[0].PctFullScale, kept.PctFullScale);
    frame.OnSignalGenerator();
    unsetenv("TALVENOR_DAQSIM_AMBIENT");
}

namespace {

// Pages of a PDF file: its page objects.
int PdfPages(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    const std::string pdf((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // Qt's expressions: std::regex trips GCC 12's uninitialised-use warning under the sanitizers.
    const QRegularExpression page(QStringLiteral("/Type\\s*/Page[^s]"));
    int pages = 0;
    for (auto it = page.globalMatch(QString::fromLatin1(pdf.data(), static_cast<qsizetype>(pdf.size()))); it.hasNext();
         it.next())
        ++pages;
    return pages;
}

} // namespace

TEST(PlotCommands, PrintingOffersNoPageRangesAndPrintsEveryCopy)
{
    FrameHarness h(frame_test::ToneSettings());
    CMainFrame& frame = *h.frame;
    QPrinter& printer = frame.Printer();
    const std::string pdf = h.folder.Root() + "copies.pdf";
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf));

    bool rangeOffered = true;
    bool fileOffered = true;
    OnModal<QPrintDialog>([&](QPrintDialog& dialog) {
        rangeOffered = dialog.testOption(QAbstractPrintDialog::PrintPageRange);
        fileOffered = dialog.testOption(QAbstractPrintDialog::PrintToFile);
        // The dialog's own controls for a range of pages stay hidden.
        for (const char* name : {"printRange", "pageRange", "printSelection", "printCurrentPage"}) {
            if (auto* control = dialog.findChild<QWidget*>(QString::fromLatin1(name))) {
                EXPECT_FALSE(control->isVisibleTo(&dialog) && control->isEnabled()) << name;
            }
        }
        if (auto* copies = dialog.findChild<QSpinBox*>(QStringLiteral("copies")))
            copies->setValue(2);
        SaveScreenshot(dialog, "print_dialog");
        dialog.accept();
    });
    OnModal<QDialog>([](QDialog& annotations) { annotations.accept(); });
    frame.PrintPlots();
    EXPECT_FALSE(rangeOffered);
    EXPECT_FALSE(fileOffered);
    ASSERT_EQ(printer.copyCount(), 2);
    // Two plots, each on a page of its own, twice.
    EXPECT_EQ(PdfPages(pdf), 4);
}

TEST(PlotCommands, SaveConfigurationAddsCfgToATypedNameBeforeItAsksAboutOverwriting)
{
    FrameHarness h;
    CMainFrame& frame = *h.frame;
    const std::string folder = h.folder.Root();
    QString startName;
    const auto type = [&](const QString& name) {
        return [&, name](QFileDialog& dialog) {
            auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            startName = edit->text();
            dialog.setDirectory(QString::fromStdString(folder));
            edit->setText(name);
            static_cast<QDialog&>(dialog).accept();
        };
    };
    OnModal<QFileDialog>(type(QStringLiteral("myconfig")));
    frame.OnCommand(57785);
    EXPECT_EQ(startName, QStringLiteral("*.cfg"));
    EXPECT_TRUE(std::filesystem::exists(folder + "myconfig.cfg"));
    EXPECT_FALSE(std::filesystem::exists(folder + "myconfig"));

    // Saving "myconfig" again asks about "myconfig.cfg", the file it replaces.
    QString question;
    OnModal<QMessageBox>([&](QMessageBox& box) {
        question = box.text();
        if (QAbstractButton* yes = box.button(QMessageBox::Yes))
            yes->click();
    });
    OnModal<QFileDialog>(type(QStringLiteral("myconfig")));
    frame.OnCommand(57785);
    EXPECT_TRUE(question.contains(QStringLiteral("myconfig.cfg"))) << question.toStdString();
}
