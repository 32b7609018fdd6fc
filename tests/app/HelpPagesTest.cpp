// The help pages as the program ships them: one per context id, each
// reachable from the contents, every link leading to a page that exists.

#include "app/CHelpWindow.h"
#include "app/FormatMenuModel.h"
#include "app/core/FrameMenus.h"
#include "app/core/HelpTopics.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "settings/PathDialogsLogic.h"
#include "settings/SigGenSettings.h"
#include "tests/support/Screenshot.h"
#include "utilities/recorderlogic/TRecorderDocument.h"
#include "utilities/siggenlogic/TSigGenPlayRules.h"
#include "utilities/siggenlogic/TSigGenTypeList.h"

#include <QFile>
#include <QListWidget>
#include <QRegularExpression>
#include <QTextBrowser>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

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
