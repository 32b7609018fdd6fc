// The plot dialogs as widgets: the limit-scroll arrows, the plot options
// sheet's pages, the marker dialog's rows and the data-values window of a plot.
#include "QuarnPlotTestSupport.h"

#include "plot/CDataView.h"
#include "plot/CPlotOptionsMain.h"
#include "plot/CPrintAnnotationDialog.h"
#include "plot/TCompositeOverlayDialog.h"
#include "plot/TLimitScroll.h"
#include "plot/TMarkerOptionsDialog.h"
#include "plot/TOverlayDialog.h"
#include "plot/TOverlaySourceSelectDialog.h"
#include "settings/DataPaths.h"
#include "settings/PrintOpts.h"
#include "settings/TextField.h"
#include "tests/support/ModalDialogs.h"
#include "tests/support/PopupMenus.h"
#include "widgets/CToolBtn.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using namespace quarn_test;

// A dB left plot and a log right plot.
struct SheetRecords {
    SpectrumOpts spectrum[2] = {SpectrumOpts::FrameDefaults(0), SpectrumOpts::FrameDefaults(1)};
    MarkerOpts markers[2];
    std::array<CPlotOptionsMain::Page, 2> pages{{{&spectrum[0], &markers[0], 1}, {&spectrum[1], &markers[1], 2}}};
};

// The checks themselves are the form's; opening on the asking plot's page
// and the colour buttons are the main window's test. Here the pages' wiring.
TEST(PlotOptionsSheetTest, TheIntervalChoiceRefusalsOnTheirOwnTabAndAPageNeverShown)
{
    MessageLog messages;
    SheetRecords r;
    const SpectrumOpts leftBefore = r.spectrum[0];
    CPlotOptionsMain sheet(nullptr, 2, 1, r.pages);
    sheet.show();
    CPlotOptionsSpectrum& right = *sheet.SpectrumPage(1);
    EXPECT_FALSE(sheet.SpectrumPage(0)->IsInitialised());
    EXPECT_TRUE(right.findChild<QCheckBox*>("ShowRMSLevel")->isHidden()) << "no RMS level on a log plot";
    // Start above Stop, the two fields in one column.
    const QRect start = right.findChild<QLineEdit*>("StartFreq")->geometry();
    const QRect stop = right.findChild<QLineEdit*>("StopFreq")->geometry();
    EXPECT_EQ(std::pair(stop.left(), stop.width()), std::pair(start.left(), start.width()));
    EXPECT_GT(stop.top(), start.bottom());
    // Each field's caption on its row: "Plot Range" beside the range.
    const QRect rangeCaption = right.findChild<QLabel*>("PlotRangeLabel")->geometry();
    const QRect range = right.findChild<QLineEdit*>("PlotRange")->geometry();
    EXPECT_NEAR(rangeCaption.center().y(), range.center().y(), range.height() / 2);
    EXPECT_LT(rangeCaption.right(), range.left());
    // The page's groups side by side and one under the other, none over another.
    const QList<QGroupBox*> groups = right.findChildren<QGroupBox*>();
    ASSERT_GE(groups.size(), 4);
    for (QGroupBox* a : groups)
        for (QGroupBox* b : groups)
            if (a != b && a->parentWidget() == b->parentWidget()) {
                EXPECT_FALSE(a->geometry().intersects(b->geometry()))
                    << a->title().toStdString() << " over " << b->title().toStdString();
            }
    // The four display boxes in one column, one under the other.
    int above = -1;
    for (const char* name : {"GridXEnabled", "GridYEnabled", "ShowToolbar", "ShowOverlayControls"}) {
        const QRect box = right.findChild<QCheckBox*>(name)->geometry();
        EXPECT_GT(box.top(), above) << name;
        EXPECT_EQ(box.left(), right.findChild<QCheckBox*>("GridXEnabled")->geometry().left()) << name;
        above = box.bottom();
    }

    // "As often as possible" disables the interval and its spin; Defaults
    // enables them again.
    auto* interval = right.findChild<QLineEdit*>("IntervalSecs");
    QTest::mouseClick(right.findChild<QRadioButton*>("AsOftenAsPossible"), Qt::LeftButton);
    EXPECT_FALSE(interval->isEnabled());
    EXPECT_FALSE(right.findChild<TLimitScroll*>("IntervalSpin")->isEnabled());
    QTest::mouseClick(right.findChild<QPushButton*>("Defaults"), Qt::LeftButton);
    EXPECT_TRUE(interval->isEnabled());

    // A refusal: the message over the page; the sheet stays.
    right.findChild<QLineEdit*>("StartFreq")->setText(QStringLiteral("0"));
    EXPECT_FALSE(sheet.ValidateAndClose());
    EXPECT_EQ(messages.texts, std::vector<std::string>{"Start Frequency must be greater than zero"});
    EXPECT_TRUE(sheet.isVisible());
    // Fixed, OK: the left page was never shown and changes nothing.
    right.findChild<QLineEdit*>("StartFreq")->setText(QStringLiteral("2"));
    EXPECT_TRUE(sheet.ValidateAndClose());
    EXPECT_EQ(r.spectrum[0], leftBefore);
    EXPECT_EQ(r.spectrum[1].StartFreq, 2.0f);

    // Opened on the left page: a refusal there brings its own tab back.
    SheetRecords l;
    CPlotOptionsMain leftSheet(nullptr, 2, 0, l.pages);
    leftSheet.show();
    leftSheet.Tabs()->setCurrentIndex(1);
    leftSheet.SpectrumPage(0)->findChild<QLineEdit*>("StartFreq")->setText(QStringLiteral("0"));
    EXPECT_FALSE(leftSheet.ValidateAndClose());
    EXPECT_EQ(leftSheet.Tabs()->currentIndex(), 0);
}

// Each control of the page holds its own field: a form written to the page
// reads back as it was, whichever boxes are on, and the buttons named for a
// plot type and the interval choice are the ones checked. A plot type past
// the last shows as the last.
TEST(PlotOptionsSheetTest, EachControlOfThePageHoldsItsOwnField)
{
    SheetRecords r;
    CPlotOptionsSpectrum page(nullptr, 0, 1, &r.spectrum[0], &r.markers[0]);
    page.FillOnce();
    const char* typeNames[] = {"LineGraph", "BarGraph", "SteppedBarGraph"};
    for (int n = 0; n < 8; ++n) {
        // Boxes on and off in a different pattern each time.
        const auto bit = [n](int i) { return ((n >> (i % 3)) & 1) != (i % 2 == 1); };
        PlotOptionsForm form;
        form.PlotType = static_cast<std::uint16_t>(n % 3);
        form.GridX = bit(0);
        form.GridY = bit(1);
        form.ShowToolbar = bit(2);
        form.ShowOverlayControls = bit(3);
        form.GrabCursor = bit(4);
        form.PowerMeter = bit(5);
        for (int t = 0; t < PlotOptionsForm::kThickCount; ++t)
            form.Thick[t] = bit(6 + t);
        form.Top = "-1" + std::to_string(n);
        form.Range = "12" + std::to_string(n);
        form.Start = "2" + std::to_string(n);
        form.Stop = "200" + std::to_string(n);
        form.SpecificInterval = n % 2 == 0;
        form.Interval = "0.5" + std::to_string(n);
        form.PeakHold = static_cast<std::uint16_t>(n % 5);
        page.WriteForm(form);
        EXPECT_EQ(page.ReadForm(), form) << n;
        for (int t = 0; t < 3; ++t)
            EXPECT_EQ(page.findChild<QRadioButton*>(typeNames[t])->isChecked(), t == form.PlotType) << n;
        EXPECT_EQ(page.findChild<QRadioButton*>("SpecificInterval")->isChecked(), form.SpecificInterval) << n;
        EXPECT_EQ(page.findChild<QRadioButton*>("AsOftenAsPossible")->isChecked(), !form.SpecificInterval) << n;
        EXPECT_EQ(page.findChild<QLineEdit*>("IntervalSecs")->isEnabled(), form.SpecificInterval) << n;
    }
    PlotOptionsForm beyond;
    beyond.PlotType = 7;
    page.WriteForm(beyond);
    EXPECT_EQ(page.ReadForm().PlotType, 2);
}

// Each colour button edits its own colour, starting from it, and its swatch
// shows it (the record keeps 0x00BBGGRR).
TEST(PlotOptionsSheetTest, EachColourButtonChangesItsOwnColourAndSwatch)
{
    SheetRecords r;
    SpectrumOpts& s = r.spectrum[0];
    CPlotOptionsSpectrum page(nullptr, 0, 1, &s, &r.markers[0]);
    page.FillOnce();
    struct Button {
        const char* name;
        std::uint32_t SpectrumOpts::*field;
    } buttons[] = {{"LineColor", &SpectrumOpts::LineColor},
                   {"PeakColor", &SpectrumOpts::PeakColor},
                   {"BackgroundColor", &SpectrumOpts::BackgroundColor},
                   {"GridColor", &SpectrumOpts::GridColor},
                   {"MarkerColor", &SpectrumOpts::MarkerColor}};
    std::uint32_t offered = 0, next = 0;
    page.SetColourChooser([&](QWidget*, std::uint32_t current) -> std::optional<std::uint32_t> {
        offered = current;
        return next;
    });
    for (int c = 0; c < 5; ++c) {
        SCOPED_TRACE(buttons[c].name);
        const SpectrumOpts before = s;
        next = 0x103050u + 0x010101u * static_cast<std::uint32_t>(c);  // blue 0x10, green 0x30, red 0x50, …
        page.OnColour(c);
        EXPECT_EQ(offered, before.*buttons[c].field);
        SpectrumOpts expected = before;
        expected.*buttons[c].field = next;
        EXPECT_EQ(s, expected);
        const QLabel* swatch = page.findChild<QLabel*>(QString::fromLatin1(buttons[c].name) + "Swatch");
        ASSERT_NE(swatch, nullptr);
        EXPECT_EQ(swatch->palette().color(QPalette::Window), QColor(0x50 + c, 0x30 + c, 0x10 + c));
    }
}

// A colour button asks the colour dialog: Cancel keeps the colour, OK
// stores the one chosen as 0x00BBGGRR.
TEST(PlotOptionsSheetTest, AColourChosenInTheColourDialogIsStoredAsBlueGreenRed)
{
    SheetRecords r;
    r.spectrum[1].LineColor = 0x00FF00;
    CPlotOptionsMain sheet(nullptr, 2, 1, r.pages);
    sheet.show();
    for (const bool ok : {false, true}) {
        OnModal<QColorDialog>([ok](QColorDialog& colours) {
            colours.setCurrentColor(QColor(0x12, 0x34, 0x56));
            ok ? colours.accept() : colours.reject();
        });
        sheet.SpectrumPage(1)->OnColour(0);
    }
    ASSERT_TRUE(sheet.ValidateAndClose());
    EXPECT_EQ(r.spectrum[1].LineColor, 0x563412u);
}

TEST(MarkerOptionsDialogTest, RowsEnableAsTheirBoxesAndTypesAndARefusalWritesNothing)
{
    MessageLog messages;
    MarkerOpts m;
    m.MarkerEnable[1] = 1;
    m.MarkerFreq[1] = 1500.0f;
    m.LabelType[1] = MarkerOpts::kCustom;
    SetTextField(m.CustomLabel[1], "Fan");
    TMarkerOptionsDialog dialog(nullptr, &m);
    dialog.show();
    // Frequency and custom label of markers 1 and 2, enabled by their boxes and types.
    const auto enabled = [&dialog] {
        return std::vector({dialog.FrequencyEdit(0)->isEnabled(), dialog.CustomEdit(0)->isEnabled(),
                            dialog.FrequencyEdit(1)->isEnabled(), dialog.CustomEdit(1)->isEnabled()});
    };
    EXPECT_EQ(enabled(), std::vector({false, false, true, true}));
    dialog.LabelList(1)->setCurrentIndex(3);
    QTest::mouseClick(dialog.EnableBox(0), Qt::LeftButton);
    EXPECT_EQ(enabled(), std::vector({true, false, true, false})) << "marker 1 is labelled Amplitude";

    // Marker 3 at 0 Hz: refused, and marker 1's change is not written.
    dialog.FrequencyEdit(0)->setText(QStringLiteral("250"));
    QTest::mouseClick(dialog.EnableBox(2), Qt::LeftButton);
    dialog.FrequencyEdit(2)->setText(QStringLiteral("0"));
    const MarkerOpts before = m;
    dialog.accept();
    EXPECT_EQ(m, before);
    EXPECT_EQ(messages.texts, std::vector<std::string>{"Marker Frequency must be greater than zero"});
    EXPECT_TRUE(dialog.isVisible());

    QTest::mouseClick(dialog.EnableBox(2), Qt::LeftButton);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(m.MarkerFreq[0], 250.0f);
    EXPECT_EQ(m.MarkerEnable[2], 0u);
}

// Each row's swatch shows its colour. Return in an offset field is the
// dialog's OK, never one of the rows' file buttons: no file dialog opens
// and the dialog closes accepted with the offset stored.
TEST(OverlayOptionsDialogTest, SwatchesShowTheirColoursAndReturnInAnOffsetFieldIsOk)
{
    QTemporaryDir folder;
    int asked = 0;
    TOverlayDialog::SetFileChooser([&](QWidget*, bool, const QString&) {
        ++asked;
        return QString();
    });
    SpectrumOpts options;
    options.Overlay[3].Color = 0x0000FF;
    TOverlayDialog dialog(nullptr, &options, folder.path().toStdString(), 0, 0, 1, nullptr, {});
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    // 0x00BBGGRR: the fourth swatch is red.
    std::vector<QLabel*> swatches;
    for (QLabel* label : dialog.findChildren<QLabel*>())
        if (label->size() == QSize(36, 18))
            swatches.push_back(label);
    ASSERT_EQ(swatches.size(), static_cast<std::size_t>(TOverlayDialog::kRows));
    std::sort(swatches.begin(), swatches.end(), [](QLabel* a, QLabel* b) { return a->y() < b->y(); });
    const QImage shown = dialog.grab().toImage();
    EXPECT_EQ(shown.pixel(swatches[3]->mapTo(&dialog, QPoint(18, 9))), qRgb(255, 0, 0));
    // Change... stores the chosen colour as 0x00BBGGRR.
    OnModal<QColorDialog>([](QColorDialog& colours) {
        colours.setCurrentColor(QColor(0x12, 0x34, 0x56));
        colours.accept();
    });
    QPushButton* change = nullptr;
    for (QPushButton* button : dialog.findChildren<QPushButton*>())
        if (button->text() == QStringLiteral("Change...") && std::abs(button->y() - swatches[1]->y()) < 10)
            change = button;
    ASSERT_NE(change, nullptr);
    change->click();
    EXPECT_EQ(options.Overlay[1].Color, 0x563412u);
    dialog.OffsetEdit(0)->setFocus();
    dialog.OffsetEdit(0)->setText(QStringLiteral("3.00"));
    QTest::keyClick(dialog.OffsetEdit(0), Qt::Key_Return);
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FLOAT_EQ(options.Overlay[0].Offset1, 3.0f);
    TOverlayDialog::SetFileChooser({});
}

// The plot's overlay options: Cancel leaves the plot's record as it was,
// OK stores what the dialog holds.
TEST(OverlayOptionsDialogTest, FromThePlotCancelKeepsTheRecordAndOkStoresIt)
{
    QTemporaryDir folder;
    DataPaths paths;
    paths.Set(DataPaths::kOverlay, folder.path().toStdString());
    DataPaths inUse = paths;
    TonePlot tone(ScalingOpts::kLogarithmic, ScalingOpts::kFftLinear, -20.0f, -100.0f);
    tone.records.Spectrum.ShowOverlayControls = 1;
    TQuarnPlot& plot = tone.Make(1000, 520);
    plot.SetDataPaths(&paths, &inUse);
    const auto setOffset = [](bool ok) {
        OnModal<TOverlayDialog>([ok](TOverlayDialog& dialog) {
            dialog.OffsetEdit(2)->setText(QStringLiteral("-6.50"));
            if (ok)
                dialog.accept();
            else
                dialog.reject();
        });
    };
    plot.show();
    setOffset(false);
    QTest::mouseClick(plot.OverlayOptionsButton(0), Qt::LeftButton);
    EXPECT_EQ(tone.records.Spectrum.Overlay[2].Offset1, 0.0f);
    setOffset(true);
    QTest::mouseClick(plot.OverlayOptionsButton(0), Qt::LeftButton);
    EXPECT_EQ(tone.records.Spectrum.Overlay[2].Offset1, -6.5f);
}

// A Set while peak hold is off stores the live spectrum, and the next
// question (with peak hold on again) starts on the live spectrum, whatever
// was chosen before.
TEST(OverlaySourceMemoryTest, ASetWithPeakHoldOffMakesTheNextQuestionStartOnTheSpectrum)
{
    QTemporaryDir folder;
    DataPaths paths;
    paths.Set(DataPaths::kOverlay, folder.path().toStdString());
    DataPaths inUse = paths;
    TonePlot tone(ScalingOpts::kLogarithmic, ScalingOpts::kFftLinear, -20.0f, -100.0f);
    tone.records.Spectrum.PeakHold = 1;
    TQuarnPlot& plot = tone.Make(1000, 520);
    plot.SetDataPaths(&paths, &inUse);
    const auto answer = [](bool hold, bool* startedOnHold) {
        OnModal<TOverlaySourceSelectDialog>([=](TOverlaySourceSelectDialog& dialog) {
            if (startedOnHold != nullptr)
                *startedOnHold = dialog.PeakHoldButton()->isChecked();
            QTest::mouseClick(hold ? dialog.PeakHoldButton() : dialog.SpectralButton(), Qt::LeftButton);
            QTest::mouseClick(dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok), Qt::LeftButton);
        });
    };
    answer(true, nullptr);
    plot.StoreOverlay(1, 0, true, false);
    bool startedOnHold = false;
    answer(true, &startedOnHold);
    plot.StoreOverlay(1, 3, true, false);
    EXPECT_TRUE(startedOnHold) << "the hold, as chosen last";
    tone.records.Spectrum.PeakHold = 0;
    plot.StoreOverlay(1, 1, true, false);
    tone.records.Spectrum.PeakHold = 1;
    startedOnHold = true;
    answer(false, &startedOnHold);
    plot.StoreOverlay(1, 2, true, false);
    EXPECT_FALSE(startedOnHold);
    EXPECT_TRUE(QFile::exists(folder.filePath(QStringLiteral("L3.ovl"))));
}

// In a two-pane plot the lower pane's Set stores the lower trace (channel
// 1, its own file) and shows it in that pane only: the lower trace's floor
// of -100 dB on its row of the 0 … -140 dB axis, not the upper one's -60.
TEST(OverlayLowerPaneTest, TheLowerPanesSetStoresAndShowsTheLowerTrace)
{
    QTemporaryDir folder;
    DataPaths paths;
    paths.Set(DataPaths::kOverlay, folder.path().toStdString());
    DataPaths inUse = paths;
    PlotRecords records(ScalingOpts::kLogarithmic, ScalingOpts::kFftLinear);
    records.Spectrum.PeakHold = 0;
    records.Spectrum.ShowOverlayControls = 1;
    auto upper = MakeData(records, 0);
    auto lower = MakeData(records, 1);
    SetKnownSpectrum(*upper, 1000.0f, -20.0f, -60.0f);
    SetKnownSpectrum(*lower, 1000.0f, -20.0f, -100.0f);
    auto plot = MakePlot(records, upper.get(), lower.get(), 1000, 1000);
    plot->SetDataPaths(&paths, &inUse);
    plot->show();
    QTest::mouseClick(plot->OverlayStoreButton(1, 0), Qt::LeftButton);
    EXPECT_EQ(std::pair(records.Spectrum.Overlay[0].Show1, records.Spectrum.Overlay[0].Show2),
              std::pair(std::uint8_t{0}, std::uint8_t{1}));
    EXPECT_TRUE(plot->OverlayPoints(0, 0).empty());
    const PlotRect pane = plot->PaneRect(1);
    const int floorRow = pane.bottom - pane.Height() * 40 / 140;
    EXPECT_GT(PointsOnRow(plot->OverlayPoints(1, 0), floorRow), pane.Width() / 2);
    // Its show box hides it and shows it again: the record's flag 0, then 1.
    QTest::mouseClick(plot->OverlayShowBox(1, 0), Qt::LeftButton);
    EXPECT_EQ(records.Spectrum.Overlay[0].Show2, 0u);
    EXPECT_TRUE(plot->OverlayPoints(1, 0).empty());
    QTest::mouseClick(plot->OverlayShowBox(1, 0), Qt::LeftButton);
    EXPECT_EQ(records.Spectrum.Overlay[0].Show2, 1u);
    EXPECT_FALSE(plot->OverlayPoints(1, 0).empty());
}

// Six stored slots to average, and six on each side of a subtraction; the
// stored setup shows checked: slots 2 and 5 averaged, 4 from 1.
TEST(CompositeOverlayDialogTest, SixSlotsInEachColumnAndTheStoredChoicesShow)
{
    CompositeSetup composite;
    composite.CompositeType = CompositeSetup::kDifference;
    composite.IncludeInAverage[1] = composite.IncludeInAverage[4] = 1;
    composite.DifferenceIndex1 = 3;
    composite.DifferenceIndex2 = 0;
    TCompositeOverlayDialog dialog(nullptr, &composite, {});
    std::vector<int> checked;
    for (int n = 0; n < 6; ++n)
        if (dialog.AverageBox(n)->isChecked())
            checked.push_back(n);
    EXPECT_EQ(checked, std::vector({1, 4}));
    EXPECT_TRUE(dialog.SubtractButton()->isChecked());
    EXPECT_TRUE(dialog.ColumnButton(0, 0)->isChecked()) << "the one subtracted";
    EXPECT_TRUE(dialog.ColumnButton(1, 3)->isChecked()) << "the one it is subtracted from";
    // Only the chosen operation's buttons can be used.
    EXPECT_EQ(std::pair(dialog.AverageBox(0)->isEnabled(), dialog.ColumnButton(1, 5)->isEnabled()),
              std::pair(false, true));
    dialog.AverageButton()->click();
    EXPECT_EQ(std::pair(dialog.AverageBox(0)->isEnabled(), dialog.ColumnButton(1, 5)->isEnabled()),
              std::pair(true, false));
    // OK stores the six boxes and the two columns; the seventh entry, which
    // no box shows, stays.
    dialog.AverageBox(2)->setChecked(true);
    dialog.accept();
    EXPECT_EQ(std::vector(std::begin(composite.IncludeInAverage), std::end(composite.IncludeInAverage)),
              std::vector<std::uint8_t>({0, 1, 1, 0, 1, 0, 0}));
    EXPECT_EQ(std::tuple(composite.CompositeType, composite.DifferenceIndex1, composite.DifferenceIndex2),
              std::tuple(CompositeSetup::kAverage, std::uint16_t{3}, std::uint16_t{0}));
    EXPECT_EQ(dialog.findChildren<QCheckBox*>().size(), 6);
    EXPECT_EQ(dialog.findChildren<QRadioButton*>().size(), 2 + 2 * 6);
    for (int n = 0; n < 6; ++n) {
        const QString number = QString::number(n + 1);
        EXPECT_EQ(dialog.AverageBox(n)->text(), number);
        EXPECT_EQ(dialog.ColumnButton(0, n)->text(), number);
        EXPECT_EQ(dialog.ColumnButton(1, n)->text(), number);
    }
}

// Two channels: the second's values fill the third column once the window
// reaches past its left edge at 200 px, not while it ends there.
TEST(DataViewTest, TheSecondChannelsColumnShowsOnceTheWindowReachesIt)
{
    PlotRecords records(ScalingOpts::kLogarithmic, ScalingOpts::kFftLinear);
    auto left = MakeData(records, 0);
    auto right = MakeData(records, 1);
    SetKnownSpectrum(*left, 1000.0f, -6.0f, -90.0f);
    SetKnownSpectrum(*right, 1000.0f, -6.0f, -90.0f);
    auto plot = MakePlot(records, left.get(), right.get(), 1000, 1000);
    plot->show();
    plot->OnViewDataValues();
    CDataView* view = plot->DataView();
    ASSERT_NE(view, nullptr);
    const auto thirdColumnValues = [&] {
        const std::vector<CDataView::Cell> cells = view->Cells();
        return std::count_if(cells.begin(), cells.end(), [](const CDataView::Cell& c) { return c.Column == 2 && c.Row > 0; });
    };
    view->resize(200, 200);
    EXPECT_EQ(thirdColumnValues(), 0);
    view->resize(201, 200);
    EXPECT_EQ(thirdColumnValues(), 200 / 18 - 1);
    plot->OnViewDataValues();
}

TEST(DataViewTest, ThePlotsWindowListsItsLinesFollowsScrollingClosesThroughThePlotAndTheSpinnersStep)
{
    TonePlot t(ScalingOpts::kLogarithmic, ScalingOpts::kFftLinear, -6.0f, -90.0f);
    TQuarnPlot* plot = &t.Make(1000, 500);
    const SpectralData* data = t.data.get();
    plot->show();
    plot->OnViewDataValues();
    CDataView* view = plot->DataView();
    ASSERT_NE(view, nullptr);
    // 20 px right of and below the plot area's top left corner.
    const PlotRect area = plot->Areas().Plot;
    EXPECT_EQ(view->pos(), plot->mapToGlobal(QPoint(area.left + 20, area.top + 20)));
    // Scrolled so that the 1 kHz line is the fourth row, found once (the
    // running program's window is checked on a live tone).
    const auto line = data->GetBinIndex(1000.0f);
    view->ScrollBar()->setValue(static_cast<int>(line - data->GetStartBin()) - 3);
    const std::vector<CDataView::Cell> cells = view->Cells();
    ASSERT_EQ(cells[1].Text, "dB");
    // As many rows as the window holds under its heading: 18 px a row.
    int lastRow = 0;
    for (const CDataView::Cell& c : cells)
        lastRow = std::max(lastRow, c.Row);
    EXPECT_EQ(lastRow, view->height() / 18 - 1);
    const auto fourth = [](const CDataView::Cell& c) { return c.Column == 0 && c.Row == 4; };
    const auto cell = std::find_if(cells.begin(), cells.end(), fourth);
    ASSERT_EQ(std::count_if(cells.begin(), cells.end(), fourth), 1);
    EXPECT_NEAR(std::stod(cell->Text), 1000.0, kLineSpacing / 2);
    EXPECT_EQ((cell + 1)->Text, "-6.00");

    // Taller: fewer rows left to scroll to; the close box leaves it to the plot.
    view->resize(234, 218 + 36);
    const int rows = static_cast<int>(data->GetEndBin()) + 2 - static_cast<int>(data->GetStartBin());
    EXPECT_EQ(view->ScrollBar()->maximum(), rows - (218 + 36) / 18);
    // 254 pixels hold the header row and 13 rows of values; scrolled to the
    // end, the last line of the data is on the last of them.
    view->ScrollBar()->setValue(0);
    const std::vector<CDataView::Cell> top = view->Cells();
    EXPECT_EQ(top.size(), 2u + 2 * 13);
    EXPECT_EQ(top.back().Row, 13);
    EXPECT_NEAR(std::stod(top[2].Text), data->GetStartBin() * kLineSpacing, 0.01) << "the first line first";
    view->ScrollBar()->setValue(view->ScrollBar()->maximum());
    const std::vector<CDataView::Cell> bottom = view->Cells();
    ASSERT_EQ(bottom.size(), 2u + 2 * 13);
    EXPECT_NEAR(std::stod(bottom[bottom.size() - 2].Text), data->GetEndBin() * kLineSpacing, 0.01);
    view->close();
    EXPECT_EQ(plot->DataView(), view);
    QApplication::processEvents();
    EXPECT_EQ(plot->DataView(), nullptr);
    plot->OnViewDataValues();
    ASSERT_NE(plot->DataView(), nullptr);
    plot->OnViewDataValues();
    EXPECT_EQ(plot->DataView(), nullptr);
    // Command 804 (the menu's "View Data Values") opens and closes it too.
    emit plot->Command(804);
    EXPECT_NE(plot->DataView(), nullptr);
    emit plot->Command(804);
    EXPECT_EQ(plot->DataView(), nullptr);

    // The spinner arrows (the top's upper, the range's lower) step the fields
    // by 5 dB with two decimals, each step a command as an edit is.
    QSignalSpy commands(plot, &TQuarnPlot::Command);
    QTest::mouseClick(plot->PlotTopSpin(), Qt::LeftButton, {}, QPoint(plot->PlotTopSpin()->width() / 2, 3));
    EXPECT_EQ(plot->PlotTopEdit()->text(), QStringLiteral("5.00"));
    QWidget* range = plot->PlotRangeSpin();
    QTest::mouseClick(range, Qt::LeftButton, {}, QPoint(range->width() / 2, range->height() - 3));
    EXPECT_EQ(plot->PlotRangeEdit()->text(), QStringLiteral("135.00"));
    ASSERT_EQ(commands.count(), 2);
    EXPECT_EQ(std::vector({commands[0][0].toUInt(), commands[1][0].toUInt()}), std::vector({450u, 452u}));
}

// The plot's own ways to its dialogs: the strip's Marker Options button and
// the menu's "Marker Options..." open the marker dialog on the plot's record
// (OK keeps what it changed); "View Data Values" opens the values window 20
// pixels right of and below the plot area's corner, and closes it again.
TEST(PlotDialogCommands, MarkerOptionsFromTheStripAndTheMenuAndDataValuesFromTheMenu)
{
    TonePlot t(ScalingOpts::kLogarithmic, ScalingOpts::kFftLinear, -6.0f, -90.0f);
    TQuarnPlot& plot = t.Make(1000, 500);
    plot.show();
    int opened = 0;
    const auto showRow = [&opened](int row) {
        return [&opened, row](TMarkerOptionsDialog& dialog) {
            ++opened;
            dialog.EnableBox(row)->setChecked(true);
            dialog.FrequencyEdit(row)->setText(QStringLiteral("500"));
            dialog.accept();
        };
    };
    OnModal<TMarkerOptionsDialog>(showRow(2));
    QTest::mouseClick(plot.ToolButton(511), Qt::LeftButton);
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(t.records.Markers.MarkerEnable[2], 1u);

    const PlotRect area = plot.Areas().Plot;
    const QPoint inside(area.left + 50, area.top + 50);
    OnModal<TMarkerOptionsDialog>(showRow(3));
    ChooseFromMenu(plot, inside, {"Marker &Options..."});
    EXPECT_EQ(opened, 2);
    EXPECT_EQ(t.records.Markers.MarkerEnable[3], 1u);
    EXPECT_EQ(t.records.Markers.MarkerFreq[3], 500.0f);

    ChooseFromMenu(plot, inside, {"&View Data Values"});
    ASSERT_NE(plot.DataView(), nullptr);
    EXPECT_EQ(plot.DataView()->pos(), plot.mapToGlobal(QPoint(area.left + 20, area.top + 20)));
    ChooseFromMenu(plot, inside, {"&View Data Values"});
    EXPECT_EQ(plot.DataView(), nullptr);
}

// With two traces the window has a third column, the second trace's
// values, once it is wider than 200 pixels.
TEST(DataViewTest, TheSecondTracesValuesFillTheThirdColumnOfAWideWindow)
{
    PlotRecords records(ScalingOpts::kLogarithmic, ScalingOpts::kFftLinear);
    auto upper = MakeData(records, 0);
    auto lower = MakeData(records, 1);
    SetKnownSpectrum(*upper, 1000.0f, -6.0f, -90.0f);
    SetKnownSpectrum(*lower, 1000.0f, -12.0f, -80.0f);
    auto plot = MakePlot(records, upper.get(), lower.get(), 1000, 800);
    plot->show();
    plot->OnViewDataValues();
    CDataView* view = plot->DataView();
    ASSERT_NE(view, nullptr);
    const auto line = upper->GetBinIndex(1000.0f);
    view->ScrollBar()->setValue(static_cast<int>(line - upper->GetStartBin()) - 3);
    const auto texts = [view](int column, int row) {
        std::vector<std::string> found;
        for (const CDataView::Cell& c : view->Cells())
            if (c.Column == column && c.Row == row)
                found.push_back(c.Text);
        return found;
    };
    for (const auto& [width, third] : {std::pair{201, true}, {200, false}}) {
        view->resize(width, CDataView::kHeight);
        SCOPED_TRACE(width);
        EXPECT_EQ(texts(2, 0), std::vector<std::string>{"dB"});
        EXPECT_EQ(texts(1, 4), std::vector<std::string>{"-6.00"});
        EXPECT_EQ(texts(1, 3), std::vector<std::string>{"-90.00"});
        EXPECT_EQ(texts(2, 4), third ? std::vector<std::string>{"-12.00"} : std::vector<std::string>{});
        EXPECT_EQ(texts(2, 3), third ? std::vector<std::string>{"-80.00"} : std::vector<std::string>{});
    }
    // Down to the data's last line, in both columns.
    view->resize(201, CDataView::kHeight);
    view->ScrollBar()->setValue(view->ScrollBar()->maximum());
    const int last = view->Cells().back().Row;
    EXPECT_EQ(texts(1, last), std::vector<std::string>{"-90.00"});
    EXPECT_EQ(texts(2, last), std::vector<std::string>{"-80.00"});
    // A transfer function with its coherence: the second column is the coherence.
    records.Settings.ChannelProcessing = 11;
    EXPECT_EQ(texts(2, 0), std::vector<std::string>{"coherence"});
    EXPECT_EQ(texts(1, 0), std::vector<std::string>{"dB"});
    plot->OnViewDataValues();
}

// Every shown control of a window, as "name" or the class and text.
std::string ControlName(const QWidget& w)
{
    std::string name = w.metaObject()->className();
    if (!w.objectName().isEmpty())
        return name + " " + w.objectName().toStdString();
    if (const auto* label = qobject_cast<const QLabel*>(&w))
        return name + " \"" + label->text().toStdString() + "\"";
    if (const auto* button = qobject_cast<const QAbstractButton*>(&w))
        return name + " \"" + button->text().toStdString() + "\"";
    return name;
}

// No two shown children of one parent share a pixel, and each lies within
// its parent: a control put in a taken cell, or spanning past its row,
// shows as an overlap. Qt's own inner parts are only looked into.
void ExpectNothingOverlaps(const QWidget& parent, const QWidget& window)
{
    std::vector<const QWidget*> shown;
    for (const QObject* o : parent.children()) {
        const auto* w = qobject_cast<const QWidget*>(o);
        if (w == nullptr || w->isWindow() || !w->isVisibleTo(&window))
            continue;
        if (w->objectName().startsWith("qt_")) {
            ExpectNothingOverlaps(*w, window);
            continue;
        }
        shown.push_back(w);
        EXPECT_TRUE(parent.rect().contains(w->geometry())) << ControlName(*w) << " leaves " << ControlName(parent);
        ExpectNothingOverlaps(*w, window);
    }
    for (std::size_t i = 0; i < shown.size(); ++i)
        for (std::size_t j = i + 1; j < shown.size(); ++j)
            EXPECT_FALSE(shown[i]->geometry().intersects(shown[j]->geometry()))
                << ControlName(*shown[i]) << " overlaps " << ControlName(*shown[j]);
}

TEST(PlotDialogLayouts, NoControlOfAPlotDialogCoversAnother)
{
    SheetRecords r;
    CPlotOptionsMain sheet(nullptr, 2, 0, r.pages);
    PrintOpts print;
    CPrintAnnotationDialog annotation(nullptr, &print);
    MarkerOpts markers;
    TMarkerOptionsDialog marker(nullptr, &markers);
    CompositeSetup setup;
    TCompositeOverlayDialog composite(nullptr, &setup, {});
    TOverlayDialog overlay(nullptr, &r.spectrum[0], "", 0, 0, 1, nullptr, {});
    for (QWidget* window : std::initializer_list<QWidget*>{&sheet, &annotation, &marker, &composite, &overlay}) {
        SCOPED_TRACE(window->metaObject()->className());
        window->show();
        ExpectNothingOverlaps(*window, *window);
        window->hide();
    }
    // The thick-line boxes two to a row: 1 and 3 on the left, 2 and 4 on the right.
    sheet.show();
    const auto box = [&sheet](int t) { return sheet.SpectrumPage(0)->findChild<QCheckBox*>(QStringLiteral("Thick%1").arg(t)); };
    EXPECT_EQ(std::pair(box(0)->x(), box(1)->x()), std::pair(box(2)->x(), box(3)->x()));
    EXPECT_LT(box(0)->x(), box(1)->x());
    EXPECT_EQ(std::pair(box(0)->y(), box(2)->y()), std::pair(box(1)->y(), box(3)->y()));
    EXPECT_LT(box(0)->y(), box(2)->y());
    // Columns stand under their headings: the marker rows' fields under
    // "Frequency (Hz)", "Label Type" and "Custom Label", the composite's
    // subtraction choice over its first column and Average over its boxes.
    marker.show();
    const auto heading = [&marker](const char* text) {
        for (const QLabel* label : marker.findChildren<QLabel*>())
            if (label->text() == QString::fromLatin1(text))
                return label->x();
        return -1;
    };
    for (int row = 0; row < 8; ++row) {
        EXPECT_EQ(marker.FrequencyEdit(row)->x(), heading("Frequency (Hz)")) << row;
        EXPECT_EQ(marker.LabelList(row)->x(), heading("Label Type")) << row;
        EXPECT_EQ(marker.CustomEdit(row)->x(), heading("Custom Label")) << row;
        EXPECT_LT(marker.EnableBox(row)->x(), marker.FrequencyEdit(row)->x()) << row;
    }
    composite.show();
    EXPECT_EQ(composite.SubtractButton()->x(), composite.ColumnButton(0, 0)->x());
    EXPECT_EQ(composite.AverageButton()->x(), composite.AverageBox(0)->x());
    for (int n = 0; n < 6; ++n) {
        const int row = composite.AverageBox(n)->geometry().center().y();
        EXPECT_EQ(composite.ColumnButton(0, n)->geometry().center().y(), row) << n;
        EXPECT_EQ(composite.ColumnButton(1, n)->geometry().center().y(), row) << n;
        EXPECT_LT(composite.ColumnButton(0, n)->x(), composite.ColumnButton(1, n)->x()) << n;
    }
}

} // namespace
