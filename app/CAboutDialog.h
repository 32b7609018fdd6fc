#pragma once
// The About box and, in its splash mode, the start-up splash: the logo, the
// product and version lines, and the owner's name and company from the
// install file. The buttons appear 100 ms after the dialog has come up; the
// splash then closes itself two seconds later unless a button ends it first.

#include <QDialog>
#include <QTimer>

#include <functional>
#include <string>

class CToolBtn;
class QLabel;
class QPushButton;

class CAboutDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int IDT_SPLASH_CLOSE = 211;
    static constexpr int IDT_FINISH_INIT = 212;
    static constexpr int kFinishInitMs = 100;
    static constexpr int kSplashCloseMs = 2000;
    static constexpr std::uint32_t kLogoId = 102;
    static constexpr int kGettingStartedContext = 880;

    // help opens a help page by context id (the "Getting Started..." button).
    CAboutDialog(QWidget* parent, const std::string& installIniPath, bool splash, std::function<void(int)> help);

    // Timers 212 and 211; public so that tests can drive them.
    void OnTimer(int timerId);
    void OnGettingStarted();

    bool IsSplash() const { return m_Splash; }
    bool IsCloseTimerArmed() const { return m_CloseTimer.isActive(); }
    QPushButton* OkButton() const { return m_Ok; }
    QPushButton* GettingStartedButton() const { return m_GettingStarted; }
    QLabel* VersionText() const { return m_Version; }
    QLabel* UserName() const { return m_User; }
    QLabel* CompanyName() const { return m_Company; }
    CToolBtn* Logo() const { return m_Logo; }

    // The three lines of product, version and notice.
    static QString VersionLines();

public slots:
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool m_Splash;
    std::function<void(int)> m_Help;
    CToolBtn* m_Logo = nullptr;
    QLabel* m_Version = nullptr;
    QLabel* m_User = nullptr;
    QLabel* m_Company = nullptr;
    QPushButton* m_Ok = nullptr;
    QPushButton* m_GettingStarted = nullptr;
    QTimer m_InitTimer;
    QTimer m_CloseTimer;
    bool m_InitArmed = false;
};
