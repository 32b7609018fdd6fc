// The help pages as the program ships them: one per context id, each
// reachable from the contents, every link leading to a page that exists.

#include "app/CHelpWindow.h"
#include "app/core/HelpTopics.h"
#include "tests/support/Screenshot.h"

#include <QFile>
#include <QListWidget>
#include <QRegularExpression>
#include <QTextBrowser>

#include <gtest/gtest.h>

namespace {

QString ReadPage(const QString& file)
{
    QFile page(QStringLiteral(":/help/") + file);
    return page.open(QIODevice::ReadOnly) ? QString::fromUtf8(page.readAll()) : QString();
}

} // namespace

TEST(HelpPages, EveryTopicHasAPageWithItsTitleAndEveryLinkResolves)
{
    CHelpWindow window;  // registers the pages
    QStringList files{QString::fromLatin1(help_topics::kContentsFile)};
    for (const HelpTopic& topic : help_topics::All())
        files << QString::fromLatin1(topic.file);

    const QString contents = ReadPage(QString::fromLatin1(help_topics::kContentsFile));
    const QRegularExpression link(QStringLiteral("href=\"([^\"#:]+\\.html)\""));
    for (const QString& file : files) {
        SCOPED_TRACE(file.toStdString());
        const QString text = ReadPage(file);
        ASSERT_FALSE(text.isEmpty());
        for (auto it = link.globalMatch(text); it.hasNext();) {
            const QString target = it.next().captured(1);
            EXPECT_FALSE(ReadPage(target).isEmpty()) << "broken link to " << target.toStdString();
        }
        if (file != QString::fromLatin1(help_topics::kContentsFile)) {
            EXPECT_TRUE(contents.contains(QStringLiteral("href=\"") + file + "\"")) << "not in the contents";
        }
    }
    for (const HelpTopic& topic : help_topics::All()) {
        EXPECT_TRUE(ReadPage(QString::fromLatin1(topic.file)).contains(QStringLiteral("<h1>") + topic.title))
            << topic.file;
    }
}

TEST(HelpPages, TheWindowShowsAPageByContextAndFallsBackToTheContents)
{
    CHelpWindow window;
    window.ShowContext(130);
    EXPECT_EQ(window.CurrentFile(), "spectrum-plot.html");
    EXPECT_EQ(window.ContentsList()->count(), static_cast<int>(help_topics::All().size()) + 1);
    window.ShowContext(999);
    EXPECT_EQ(window.CurrentFile(), "index.html");
    window.ShowContext(880);
    SaveScreenshot(window, "help_window");
}
