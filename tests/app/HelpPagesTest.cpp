// The help pages as the program ships them: one per context id, each
// reachable from the contents, every link leading to a page that exists.

#include "app/CHelpWindow.h"
#include "app/CDataLoggingMainDlg.h"
#include "app/FormatMenuModel.h"
#include "app/core/FrameMenus.h"
#include "app/core/HelpTopics.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "plot/CPlotOptionsMain.h"
#include "plot/TCompositeOverlayDialog.h"
#include "plot/TOverlayDialog.h"
#include "plot/TOverlaySourceSelectDialog.h"
#include "plot/TMarkerOptionsDialog.h"
#include "settings/PathDialogsLogic.h"
#include "settings/SigGenSettings.h"
#include "settings/dialogs/CFileIOoptionsDlg.h"
#include "settings/dialogs/COptionsMain.h"
#include "settings/dialogs/CSetPathsDlg.h"
#include "tests/app/FrameTestSupport.h"
#include "tests/support/Screenshot.h"
#include "utilities/CSigGenOutputLevelDlg.h"
#include "utilities/TRecorder.h"
#include "utilities/recorderlogic/TRecorderDocument.h"
#include "utilities/siggenlogic/TSigGenPlayRules.h"
#include "utilities/siggenlogic/TSigGenTypeList.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QRegularExpression>
#include <QTextBrowser>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <set>

namespace {

QString ReadPage(const QString& file)
{
    QFile page(QStringLiteral(":/help/") + file);
    return page.open(QIODevice::ReadOnly) ? QString::fromUtf8(page.readAll()) : QString();
}

// A page's text as the reader sees it: tags dropped, entities decoded.
QString VisibleText(const QString& html)
{
    QString text = html;
    text.remove(QRegularExpression(QStringLiteral("<style>.*</style>"),
                                   QRegularExpression::DotMatchesEverythingOption));
    text.replace(QRegularExpression(QStringLiteral("<[^>]*>")), QStringLiteral(" "));
    text.replace(QStringLiteral("&lt;"), QStringLiteral("<")).replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    text.replace(QStringLiteral("&rarr;"), QStringLiteral("→")).replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return text.simplified();
}

// "&Lock Signal Generator Channels", "Processing Settings...\tF4": the words a page would use.
QString Caption(const char* text)
{
    QString caption = QString::fromLatin1(text).section(QLatin1Char('\t'), 0, 0).remove(QLatin1Char('&'));
    return caption.endsWith(QStringLiteral("...")) ? caption.chopped(3) : caption;
}

// "Print|Set Paths" → its command, for every item of the menu bar.
std::map<QString, std::uint32_t> MenuPaths()
{
    std::map<QString, std::uint32_t> paths;
    for (const frame_menus::MenuPopup& popup : frame_menus::MenuBar())
        for (const frame_menus::MenuItem& item : popup.items)
            if (item.id != 0)
                paths[Caption(popup.title) + QLatin1Char('|') + Caption(item.text)] = item.id;
    return paths;
}

// A caption as a page would name it: "&Defaults", "Channels:" and
// "Refresh..." read "Defaults", "Channels" and "Refresh".
QString CaptionWords(QString text)
{
    text = text.remove(QLatin1Char('&')).simplified();
    for (bool trimmed = true; trimmed;) {
        trimmed = false;
        for (const char* end : {"...", ":"}) {
            if (text.endsWith(QLatin1String(end))) {
                text = text.chopped(static_cast<qsizetype>(std::strlen(end))).trimmed();
                trimmed = true;
            }
        }
    }
    return text;
}

// Every text a window shows: its title, its labels, buttons, boxes, lists,
// tabs, menus and tips, each tab visited once, as pages fill as they are
// first shown.
void AddShownTexts(QWidget& window, std::set<QString>& texts)
{
    for (QTabWidget* tabs : window.findChildren<QTabWidget*>()) {
        for (int i = 0; i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            QCoreApplication::processEvents();
        }
    }
    texts.insert(CaptionWords(window.windowTitle()));
    for (const QLabel* label : window.findChildren<QLabel*>())
        texts.insert(CaptionWords(label->text()));
    for (const QAbstractButton* button : window.findChildren<QAbstractButton*>())
        texts.insert(CaptionWords(button->text()));
    for (const QGroupBox* box : window.findChildren<QGroupBox*>())
        texts.insert(CaptionWords(box->title()));
    for (const QComboBox* box : window.findChildren<QComboBox*>())
        for (int i = 0; i < box->count(); ++i)
            texts.insert(CaptionWords(box->itemText(i)));
    for (const QTabWidget* tabs : window.findChildren<QTabWidget*>())
        for (int i = 0; i < tabs->count(); ++i)
            texts.insert(CaptionWords(tabs->tabText(i)));
    for (const QListWidget* list : window.findChildren<QListWidget*>())
        for (int i = 0; i < list->count(); ++i)
            texts.insert(CaptionWords(list->item(i)->text()));
    for (const QAction* action : window.findChildren<QAction*>())
        texts.insert(CaptionWords(action->text()));
    for (const QWidget* widget : window.findChildren<QWidget*>()) {
        texts.insert(CaptionWords(widget->toolTip()));
        texts.insert(CaptionWords(widget->accessibleName()));
    }
}

// The bold (or italic) words of a page that name a control or a window;
// menu paths ("Options &gt; Plot Options...") have their own check.
QStringList BoldCaptions(const QString& html)
{
    QStringList captions;
    const QRegularExpression bold(QStringLiteral("<([bi])>(.*?)</\\1>"),
                                  QRegularExpression::DotMatchesEverythingOption);
    for (auto it = bold.globalMatch(html); it.hasNext();) {
        const QString words = VisibleText(it.next().captured(2));
        if (!words.contains(QLatin1Char('>')) && !words.contains(QStringLiteral("→")))
            captions.push_back(CaptionWords(words));
    }
    return captions;
}

// A caption names a shown text when it is all of it or its first words:
// "Perform Calibration" for "Perform Calibration (approximately 10 seconds)".
bool IsShown(const QString& caption, const std::set<QString>& texts)
{
    return std::any_of(texts.begin(), texts.end(), [&](const QString& text) {
        return text.startsWith(caption) &&
               (text.size() == caption.size() || !text.at(caption.size()).isLetterOrNumber());
    });
}

} // namespace

// Every topic has a page with its title, reached from the contents, whose
// links all resolve; and the pages send the user only to commands that act:
// every menu path ("Utilities → Signal Generator", "<Utilities><Lock Signal
// Generator Channels>") and every key they name belongs to a live command.
TEST(HelpPages, EveryTopicHasAPageWithItsTitleEveryLinkResolvesAndTheCommandsNamedAreLive)
{
    CHelpWindow window;  // registers the pages
    window.ShowContext(880);
    SaveScreenshot(window, "help_window");
    const std::map<QString, std::uint32_t> menuPaths = MenuPaths();
    std::map<QString, std::uint32_t> keys;
    for (const frame_menus::Accelerator& accelerator : frame_menus::Accelerators())
        keys[QString::fromLatin1(accelerator.keys)] = accelerator.id;

    const QString contents = ReadPage(QString::fromLatin1(help_topics::kContentsFile));
    const QRegularExpression link(QStringLiteral("href=\"([^\"#:]+\\.html)\""));
    const QRegularExpression arrowPath(QStringLiteral("\\b([A-Z]\\w*) → ([A-Z][\\w/]*(?: [A-Z][\\w/]*)*)"));
    const QRegularExpression bracketPath(QStringLiteral("<([^<>]+)><([^<>]+)>"));
    const QRegularExpression key(QStringLiteral("\\b((?:Alt|Ctrl|Shift)\\+\\w+|F\\d{1,2})\\b"));
    int pathsSeen = 0, keysSeen = 0;
    std::vector<HelpTopic> pages{{0, help_topics::kContentsFile, ""}};
    pages.insert(pages.end(), help_topics::All().begin(), help_topics::All().end());
    for (const HelpTopic& page : pages) {
        const QString file = QString::fromLatin1(page.file);
        SCOPED_TRACE(page.file);
        const QString html = ReadPage(file);
        ASSERT_FALSE(html.isEmpty());
        for (auto it = link.globalMatch(html); it.hasNext();) {
            const QString target = it.next().captured(1);
            EXPECT_FALSE(ReadPage(target).isEmpty()) << "broken link to " << target.toStdString();
        }
        if (page.contextId != 0) {
            EXPECT_TRUE(contents.contains(QStringLiteral("href=\"") + file + "\"")) << "not in the contents";
            EXPECT_TRUE(html.contains(QStringLiteral("<h1>") + page.title)) << "no title";
        }
        const QString text = VisibleText(html);
        for (const QRegularExpression* path : {&arrowPath, &bracketPath}) {
            for (auto it = path->globalMatch(text); it.hasNext();) {
                const auto match = it.next();
                ++pathsSeen;
                // The item is the longest run of capitalised words that names one.
                QStringList words = match.captured(2).split(QLatin1Char(' '));
                auto found = menuPaths.end();
                for (; !words.isEmpty() && found == menuPaths.end(); words.removeLast())
                    found = menuPaths.find(match.captured(1) + QLatin1Char('|') + words.join(QLatin1Char(' ')));
                ASSERT_NE(found, menuPaths.end()) << "no such menu item: " << match.captured(0).toStdString();
                EXPECT_TRUE(frame_menus::IsCommandBuilt(found->second))
                    << match.captured(0).toStdString() << " is greyed";
            }
        }
        for (auto it = key.globalMatch(text); it.hasNext();) {
            const QString name = it.next().captured(1);
            ++keysSeen;
            const auto found = keys.find(name);
            ASSERT_NE(found, keys.end()) << "no such key: " << name.toStdString();
            EXPECT_TRUE(frame_menus::IsCommandBuilt(found->second)) << name.toStdString() << " does nothing";
        }
    }
    EXPECT_GT(pathsSeen, 0);
    EXPECT_GT(keysSeen, 0);
}

// A message that sends the user to a menu item names one the menu bar holds
// and that acts: the folder messages, the generator's and the recorder's.
TEST(HelpPages, EveryMenuPathAMessageNamesIsInTheMenuBarAndLive)
{
    std::vector<std::string> messages{TSigGenPlayRules::kLockedMessage, TSigGenPlayRules::kMonoMessage,
                                      TRecorderDocument::kOpenFailedFormat};
    platform::SetMessageBoxHook([&](const platform::MessageBoxRequest& request) {
        messages.push_back(request.text);
        return platform::MessageResult::Ok;
    });
    EXPECT_FALSE(FolderExists("/nonexistent-talvenor-folder/Overlay", 1));
    platform::SetMessageBoxHook({});
    DataPaths paths;
    const auto refused = path_dialogs::ApplySetPaths(paths, "/proc/talvenor-cannot-be/Overlay", "/proc/x/Log");
    ASSERT_TRUE(refused.has_value());
    messages.push_back(*refused);
    ASSERT_EQ(messages.size(), 5u);

    const std::map<QString, std::uint32_t> menuPaths = MenuPaths();
    const QRegularExpression bracketPath(QStringLiteral("<([^<>]+)><([^<>]+)>"));
    int pathsSeen = 0;
    for (const std::string& message : messages) {
        for (auto it = bracketPath.globalMatch(QString::fromStdString(message)); it.hasNext();) {
            const auto match = it.next();
            ++pathsSeen;
            const auto found = menuPaths.find(match.captured(1) + QLatin1Char('|') + match.captured(2));
            ASSERT_NE(found, menuPaths.end()) << "no such menu item: " << match.captured(0).toStdString();
            EXPECT_TRUE(frame_menus::IsCommandBuilt(found->second)) << match.captured(0).toStdString();
        }
    }
    EXPECT_EQ(pathsSeen, 4) << "the lock, the mono note and the two folder messages name a menu item";
}

// Pages that describe lists the program builds say what the lists hold: a
// signal's page says whether the generator window's list offers it or it
// comes from a configuration file only, and the processing page names the
// status bar menu's rates.
TEST(HelpPages, SignalPagesAndTheRatePageAgreeWithTheListsTheProgramOffers)
{
    CHelpWindow window;  // registers the pages
    const std::pair<const char*, std::int32_t> signalPages[] = {
        {"signal-tones.html", kSigMultipleTones},      {"signal-imd-tones.html", kSigIMD},
        {"signal-tone-burst.html", kSigToneBurst},     {"signal-noise-burst.html", kSigNoiseBurst},
        {"signal-frequency-sweep.html", kSigFreqSweep}, {"signal-frequency-step.html", kSigFreqStep},
        {"signal-level-sweep.html", kSigLevelSweep},   {"signal-square.html", kSigSquare},
        {"signal-triangular.html", kSigTriangular},    {"signal-sawtooth.html", kSigSawtooth},
        {"signal-pulse.html", kSigPulse},              {"signal-user-wave.html", kSigUserWave},
    };
    const auto& list = TSigGenTypeList::QuickList();
    for (const auto& [file, type] : signalPages) {
        const QString text = VisibleText(ReadPage(QString::fromLatin1(file)));
        ASSERT_FALSE(text.isEmpty()) << file;
        const auto offered = std::find_if(list.begin(), list.end(), [&](const auto& e) { return e.SigType == type; });
        EXPECT_EQ(text.contains(QStringLiteral("comes only from a configuration file")), offered == list.end())
            << file;
        if (offered != list.end()) {
            EXPECT_TRUE(text.contains(QStringLiteral("Choose %1 in the generator window").arg(offered->Text))) << file;
        }
    }

    const QString processing = VisibleText(ReadPage(QStringLiteral("processing-settings.html")));
    const auto& rates = FormatMenuModel::kSampleRates;
    EXPECT_TRUE(processing.contains(QStringLiteral("from %1 to %2 Hz").arg(rates.front()).arg(rates.back())))
        << processing.toStdString();
}

// A page that describes a dialog names its controls as the dialog shows them:
// every bold caption on it is a text of one of the windows it describes (or an
// item of the menu bar, or a question's answer), so a renamed or removed control
// shows up here.
TEST(HelpPages, EveryBoldCaptionOfADialogsPageIsShownByThatDialog)
{
    FrameSettings cfg = frame_test::ToneSettings();
    // The right plot on a log magnitude scale, whose second field is "Plot Bottom".
    cfg.Scaling[1].AmpScaleType = ScalingOpts::kLogMagnitude;
    FrameHarness h(cfg);
    CMainFrame& frame = *h.frame;
    CHelpWindow help;  // registers the pages

    // The menu bar's items, and the answers of the program's questions.
    std::set<QString> menuTexts{QStringLiteral("Yes"), QStringLiteral("No"), QStringLiteral("OK"),
                                QStringLiteral("Cancel")};
    for (const frame_menus::MenuPopup& popup : frame_menus::MenuBar()) {
        menuTexts.insert(CaptionWords(Caption(popup.title)));
        for (const frame_menus::MenuItem& item : popup.items)
            if (item.id != 0)
                menuTexts.insert(CaptionWords(Caption(item.text)));
    }
    // The texts of the modal window a command opens, and of what `more` opens from it.
    using More = std::function<void(QDialog&, std::set<QString>&)>;
    const auto shownBy = [&]<typename Window>(std::uint32_t command, Window*, const More& more = {}) {
        std::set<QString> texts = menuTexts;
        bool opened = false;
        OnModal<Window>([&](Window& dialog) {
            opened = true;
            AddShownTexts(dialog, texts);
            if (more)
                more(dialog, texts);
        });
        frame.OnCommand(command);
        EXPECT_TRUE(opened) << command;
        return texts;
    };

    const std::set<QString> sheet = shownBy(kProcessingSettings, static_cast<COptionsMain*>(nullptr));
    // The Marker Options... button opens the marker dialog the page also describes.
    const std::set<QString> plotOptions = shownBy(
        kPlotOptions, static_cast<CPlotOptionsMain*>(nullptr), [](QDialog& dialog, std::set<QString>& texts) {
            auto* button = dialog.findChild<QPushButton*>(QStringLiteral("MarkerOptions"));
            ASSERT_NE(button, nullptr);
            bool opened = false;
            OnModal<TMarkerOptionsDialog>([&](TMarkerOptionsDialog& markers) {
                opened = true;
                AddShownTexts(markers, texts);
            });
            button->click();
            EXPECT_TRUE(opened);
        });
    const std::set<QString> dataLogging = shownBy(kDataLoggingSettings, static_cast<CDataLoggingMainDlg*>(nullptr));
    std::set<QString> folders = shownBy(kSetPaths, static_cast<CSetPathsDlg*>(nullptr));
    folders.merge(shownBy(kFileIOOptions, static_cast<CFileIOoptionsDlg*>(nullptr)));
    // The generator's level dialog as another sound device shows it, with its full-scale choice.
    std::set<QString> outputLevel = menuTexts;
    SigGenOutputSettings output;
    CSigGenOutputLevelDlg outputDialog(nullptr, &output, false);
    AddShownTexts(outputDialog, outputLevel);

    // The overlay column of a plot and the dialogs it opens.
    std::set<QString> overlays = menuTexts;
    ASSERT_NE(frame.Plot(0), nullptr);
    AddShownTexts(*frame.Plot(0), overlays);
    SpectrumOpts spectrum;
    TOverlayDialog overlayOptions(nullptr, &spectrum, h.folder.Root() + "Overlay", 0, 2, 1, nullptr, {});
    AddShownTexts(overlayOptions, overlays);
    CompositeSetup composite;
    TCompositeOverlayDialog compositeSetup(nullptr, &composite, {});
    AddShownTexts(compositeSetup, overlays);
    std::uint8_t source = 0;
    TOverlaySourceSelectDialog sourceSelect(nullptr, &source);
    AddShownTexts(sourceSelect, overlays);

    // The recorder window with its menu, the tool bar's button that opens it,
    // and the file options that say where recordings go.
    std::set<QString> recorder = folders;
    AddShownTexts(frame, recorder);
    frame.OnCommand(kRecorder);
    ASSERT_NE(frame.Recorder(), nullptr);
    AddShownTexts(*frame.Recorder(), recorder);

    // The plot with its tool strip and its right-button menu, and the sheet
    // that sets the span its power meter reads.
    std::set<QString> plot = sheet;
    TQuarnPlot& leftPlot = *frame.Plot(0);
    AddShownTexts(leftPlot, plot);
    std::set<QString> plotMenu;
    bool menuShown = false;
    QTimer::singleShot(50, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr)
            return;
        menuShown = true;
        QList<QMenu*> menus = menu->findChildren<QMenu*>(Qt::FindDirectChildrenOnly);
        menus.push_back(menu);
        for (const QMenu* each : menus)
            for (const QAction* action : each->actions())
                plotMenu.insert(CaptionWords(action->text()));
        menu->close();
    });
    const PlotRect pane = leftPlot.PaneRect(0);
    QTest::mouseClick(&leftPlot, Qt::RightButton, Qt::NoModifier,
                      QPoint((pane.left + pane.right) / 2, (pane.top + pane.bottom) / 2));
    EXPECT_TRUE(menuShown);
    plot.insert(plotMenu.begin(), plotMenu.end());
    // The page's table of that menu names its items in its first column.
    const QString plotPage = ReadPage(QStringLiteral("spectrum-plot.html"));
    const QString menuTable = plotPage.section(QStringLiteral("<h2>Right-button menu</h2>"), 1).section(
        QStringLiteral("</table>"), 0, 0);
    const QRegularExpression firstCell(QStringLiteral("<tr><td>([^<]*)</td>"));
    int menuItemsSeen = 0;
    for (auto it = firstCell.globalMatch(menuTable); it.hasNext();) {
        for (const QString& item : it.next().captured(1).split(QStringLiteral(", "))) {
            ++menuItemsSeen;
            EXPECT_EQ(plotMenu.count(CaptionWords(item)), 1u) << "not in the plot's menu: " << item.toStdString();
        }
    }
    EXPECT_GT(menuItemsSeen, 10);

    const std::pair<const char*, const std::set<QString>*> pages[] = {
        {"overlays.html", &overlays}, {"recorder.html", &recorder}, {"spectrum-plot.html", &plot},
        {"processing-settings.html", &sheet}, {"calibration.html", &sheet},   {"device.html", &sheet},
        {"plot-options.html", &plotOptions},  {"data-logging.html", &dataLogging}, {"data-folders.html", &folders},
        {"generator-output-level.html", &outputLevel},
    };
    for (const auto& [file, texts] : pages) {
        SCOPED_TRACE(file);
        const QStringList captions = BoldCaptions(ReadPage(QString::fromLatin1(file)));
        EXPECT_GT(captions.size(), 3);
        for (const QString& caption : captions)
            EXPECT_TRUE(IsShown(caption, *texts)) << "not shown: " << caption.toStdString();
    }
}
