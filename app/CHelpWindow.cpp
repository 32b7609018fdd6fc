#include "app/CHelpWindow.h"

#include "app/core/HelpTopics.h"
#include "widgets/ScreenPlacement.h"

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

// Outside any namespace, as the resource initialiser requires. The pages sit
// in a static library, whose self-registering resource code the linker
// would drop.
static void RegisterHelpPages()
{
    Q_INIT_RESOURCE(help);
}

namespace {

constexpr int kFileRole = Qt::UserRole;

QListWidgetItem* AddEntry(QListWidget& list, const QString& title, const QString& file)
{
    auto* item = new QListWidgetItem(title, &list);
    item->setData(kFileRole, file);
    return item;
}

} // namespace

QString CHelpWindow::PageUrl(const QString& file)
{
    return QStringLiteral("qrc:/help/") + file;
}

CHelpWindow::CHelpWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    static const bool registered = (RegisterHelpPages(), true);
    (void)registered;
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QString::fromLatin1(kCaption));
    resize(kDefaultWidth, kDefaultHeight);
    m_Home = parent;

    m_Contents = new QListWidget;
    m_Contents->setObjectName(QStringLiteral("HelpContents"));
    AddEntry(*m_Contents, QString::fromLatin1(help_topics::kContentsTitle),
             QString::fromLatin1(help_topics::kContentsFile));
    for (const HelpTopic& topic : help_topics::All())
        AddEntry(*m_Contents, QString::fromLatin1(topic.title), QString::fromLatin1(topic.file));

    auto* searchPage = new QWidget;
    m_Query = new QLineEdit;
    m_Query->setObjectName(QStringLiteral("HelpSearchField"));
    m_Query->setPlaceholderText(tr("Words to look for"));
    m_Results = new QListWidget;
    m_Results->setObjectName(QStringLiteral("HelpSearchResults"));
    auto* searchLayout = new QVBoxLayout(searchPage);
    searchLayout->setContentsMargins(0, 0, 0, 0);
    searchLayout->addWidget(m_Query);
    searchLayout->addWidget(m_Results);

    m_Tabs = new QTabWidget;
    m_Tabs->addTab(m_Contents, tr("Contents"));
    m_Tabs->addTab(searchPage, tr("Search"));

    m_Browser = new QTextBrowser;
    m_Browser->setObjectName(QStringLiteral("HelpBrowser"));
    m_Browser->setOpenExternalLinks(true);

    auto* splitter = new QSplitter;
    splitter->addWidget(m_Tabs);
    splitter->addWidget(m_Browser);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({240, 660});
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(splitter);

    const auto openItem = [this](QListWidgetItem* item) {
        if (item != nullptr)
            Open(item->data(kFileRole).toString());
    };
    connect(m_Contents, &QListWidget::itemActivated, this, openItem);
    connect(m_Contents, &QListWidget::itemClicked, this, openItem);
    connect(m_Results, &QListWidget::itemActivated, this, openItem);
    connect(m_Results, &QListWidget::itemClicked, this, openItem);
    connect(m_Query, &QLineEdit::returnPressed, this, &CHelpWindow::RunSearch);
    connect(m_Query, &QLineEdit::textChanged, this, &CHelpWindow::RunSearch);
}

void CHelpWindow::Open(const QString& file)
{
    m_Browser->setSource(QUrl(PageUrl(file)));
}

QString CHelpWindow::CurrentFile() const
{
    return m_Browser->source().fileName();
}

void CHelpWindow::Present()
{
    FollowModalDialog();
    if (!m_Placed) {
        m_Placed = true;
        screen_placement::CentreOnScreen(*this, QSize(kDefaultWidth, kDefaultHeight),
                                         m_Home != nullptr ? m_Home.data() : nullptr);
    }
    show();
    screen_placement::KeepOnScreen(*this);
    raise();
    activateWindow();
}

void CHelpWindow::FollowModalDialog()
{
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || modal == this || modal == parentWidget())
        return;
    const QRect where = geometry();
    if (parentWidget() != m_Home)
        parentWidget()->removeEventFilter(this);
    setParent(modal, Qt::Window);
    setGeometry(where);
    modal->installEventFilter(this);
}

void CHelpWindow::ReturnHome()
{
    const bool shown = isVisible();
    const QRect where = geometry();
    QWidget* closing = parentWidget();
    closing->removeEventFilter(this);
    // A dialog that closes over another modal one hands the window on to it
    // (by its hide the closing one has left the modal stack).
    QWidget* modal = QApplication::activeModalWidget();
    QWidget* next = modal != nullptr && modal != closing && modal != this ? modal : m_Home.data();
    setParent(next, Qt::Window);
    setGeometry(where);
    if (next != m_Home)
        next->installEventFilter(this);
    if (shown)
        show();
}

bool CHelpWindow::eventFilter(QObject* watched, QEvent* event)
{
    // Hidden is the dialog's last state before its owner deletes it.
    if (watched == parentWidget() && parentWidget() != m_Home && event->type() == QEvent::Hide)
        ReturnHome();
    return QWidget::eventFilter(watched, event);
}

void CHelpWindow::ShowContents()
{
    m_Tabs->setCurrentIndex(0);
    Open(QString::fromLatin1(help_topics::kContentsFile));
    Present();
}

void CHelpWindow::ShowContext(int contextId)
{
    m_Tabs->setCurrentIndex(0);
    Open(QString::fromLatin1(help_topics::FileFor(contextId)));
    Present();
}

void CHelpWindow::ShowSearch()
{
    m_Tabs->setCurrentIndex(1);
    m_Query->clear();
    m_Results->clear();
    if (m_Browser->source().isEmpty())
        Open(QString::fromLatin1(help_topics::kContentsFile));
    Present();
    m_Query->setFocus();
}

void CHelpWindow::BuildIndex()
{
    if (m_Indexed)
        return;
    m_Indexed = true;
    const auto add = [this](const char* file, const char* title) {
        QFile page(QStringLiteral(":/help/") + QString::fromLatin1(file));
        if (page.open(QIODevice::ReadOnly))
            m_Search.AddPage(file, title, page.readAll().toStdString());
    };
    add(help_topics::kContentsFile, help_topics::kContentsTitle);
    for (const HelpTopic& topic : help_topics::All())
        add(topic.file, topic.title);
}

void CHelpWindow::RunSearch()
{
    BuildIndex();
    m_Results->clear();
    for (const HelpSearch::Hit& hit : m_Search.Find(m_Query->text().toStdString()))
        AddEntry(*m_Results, QString::fromStdString(hit.title), QString::fromStdString(hit.file));
}
