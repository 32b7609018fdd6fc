#pragma once
// The program's one help window: the help pages by context id, a contents
// list and a full-text search. Every Help button and Help command of the
// program opens its page here; the main frame closes it when it closes.

#include "app/core/HelpSearch.h"

#include <QPointer>
#include <QWidget>

class QLineEdit;
class QListWidget;
class QTabWidget;
class QTextBrowser;

class CHelpWindow : public QWidget {
    Q_OBJECT

public:
    static constexpr const char* kCaption = "Talvenor Mobile Help";

    explicit CHelpWindow(QWidget* parent = nullptr);

    void ShowContents();
    // The page of a context id; the contents page for an id without one.
    void ShowContext(int contextId);
    // The search tab with an empty query, ready for typing.
    void ShowSearch();

    // The page shown, as its file name ("getting-started.html").
    QString CurrentFile() const;
    QTextBrowser* Browser() const { return m_Browser; }
    QLineEdit* SearchField() const { return m_Query; }
    QListWidget* SearchResults() const { return m_Results; }
    QListWidget* ContentsList() const { return m_Contents; }

    // The pages' location in the resources.
    static QString PageUrl(const QString& file);

    // The size the window first opens at, before the screen trims it.
    static constexpr int kDefaultWidth = 900;
    static constexpr int kDefaultHeight = 640;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Open(const QString& file);
    // While a modal dialog is up every other window is blocked: the help
    // window then lives over that dialog, and goes back to its owner when
    // the dialog closes.
    void FollowModalDialog();
    void ReturnHome();
    void BuildIndex();
    void RunSearch();
    void Present();

    QTabWidget* m_Tabs = nullptr;
    QListWidget* m_Contents = nullptr;
    QLineEdit* m_Query = nullptr;
    QListWidget* m_Results = nullptr;
    QTextBrowser* m_Browser = nullptr;
    HelpSearch m_Search;
    bool m_Indexed = false;
    bool m_Placed = false;
    QPointer<QWidget> m_Home;
};
