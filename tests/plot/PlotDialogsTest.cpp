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
#include "settings/PrintOpts.h"
#include "settings/TextField.h"
#include "tests/support/ModalDialogs.h"
#include "tests/support/PopupMenus.h"
#include "widgets/CToolBtn.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabWidget>
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

TEST(DataViewTest, ThePlotsWindowListsItsLinesFollowsScrollingClosesThroughThePlotAndTheSpinnersStep)
{
    TonePlot t(ScalingOpts::kLogarithmic, ScalingOpts::kFftLinear, -6.0f, -90.0f);
    TQuarnPlot* plot = &t.Make(1000, 500);
    const SpectralData* data = t.data.get();
    plot->show();
    plot->OnViewDataValues();
    CDataView* view = plot->DataView();
    ASSERT_NE(view, nullptr);
    // Scrolled so that the 1 kHz line is the fourth row, found once (the
    // running program's window is checked on a live tone).
    const auto line = data->GetBinIndex(1000.0f);
    view->ScrollBar()->setValue(static_cast<int>(line - data->GetStartBin()) - 3);
    const std::vector<CDataView::Cell> cells = view->Cells();
    ASSERT_EQ(cells[1].Text, "dB");
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
