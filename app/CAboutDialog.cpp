#include "app/CAboutDialog.h"

#include "app/core/InstallUserInfo.h"
#include "widgets/CToolBtn.h"

#include <QLabel>
#include <QPushButton>

#ifndef TALVENOR_VERSION
#define TALVENOR_VERSION "0.0.0"
#endif

namespace {

// The dialog's fixed layout, in the coordinates of its resource.
constexpr int kWidth = 548;
constexpr int kHeight = 292;
constexpr int kLogoX = 24;
constexpr int kLogoY = 12;
constexpr int kLogoWidth = 500;
constexpr int kLogoHeight = 140;

QLabel* MakeLabel(QWidget* parent, const QString& name, const QRect& rect)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setGeometry(rect);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace

QString CAboutDialog::VersionLines()
{
    return QStringLiteral("Talvenor Mobile\nVersion %1\nReal-time audio spectrum analyzer for Linux")
        .arg(QStringLiteral(TALVENOR_VERSION));
}

CAboutDialog::CAboutDialog(QWidget* parent, const std::string& installIniPath, bool splash,
                           std::function<void(int)> help)
    : QDialog(parent), m_Splash(splash), m_Help(std::move(help))
{
    setObjectName(QStringLiteral("AboutDialog"));
    setWindowTitle(QStringLiteral("About Talvenor"));
    setFixedSize(kWidth, kHeight);

    m_Logo = new CToolBtn(this, kLogoId, QStringLiteral("SPLASH_SCREEN_LOGO"), QStringLiteral("SPLASH_SCREEN_LOGO"));
    m_Logo->setObjectName(QStringLiteral("SplashLogo"));
    m_Logo->setGeometry(kLogoX, kLogoY, kLogoWidth, kLogoHeight);
    m_Logo->setFocusPolicy(Qt::NoFocus);
    m_Logo->LoadBitmaps();

    m_Version = MakeLabel(this, QStringLiteral("VersionText"), QRect(kLogoX, 164, 330, 54));
    m_Version->setText(VersionLines());
    const InstallUserInfo info = InstallUserInfo::Read(installIniPath);
    m_User = MakeLabel(this, QStringLiteral("UserName"), QRect(kLogoX, 226, 330, 18));
    m_User->setText(QString::fromStdString(info.User));
    m_Company = MakeLabel(this, QStringLiteral("CompanyName"), QRect(kLogoX, 246, 330, 18));
    m_Company->setText(QString::fromStdString(info.Company));

    m_Ok = new QPushButton(tr("OK"), this);
    m_Ok->setObjectName(QStringLiteral("OkButton"));
    m_Ok->setGeometry(kWidth - 24 - 140, 172, 140, 28);
    m_Ok->setDefault(true);
    m_GettingStarted = new QPushButton(tr("Getting Started..."), this);
    m_GettingStarted->setObjectName(QStringLiteral("GettingStartedButton"));
    m_GettingStarted->setGeometry(kWidth - 24 - 140, 208, 140, 28);
    // They appear once the dialog has settled (timer 212).
    m_Ok->hide();
    m_GettingStarted->hide();
    connect(m_Ok, &QPushButton::clicked, this, &CAboutDialog::accept);
    connect(m_GettingStarted, &QPushButton::clicked, this, &CAboutDialog::OnGettingStarted);

    m_InitTimer.setSingleShot(true);
    m_CloseTimer.setSingleShot(true);
    connect(&m_InitTimer, &QTimer::timeout, this, [this] { OnTimer(IDT_FINISH_INIT); });
    connect(&m_CloseTimer, &QTimer::timeout, this, [this] { OnTimer(IDT_SPLASH_CLOSE); });
}

void CAboutDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_InitArmed)
        return;
    m_InitArmed = true;
    m_InitTimer.start(kFinishInitMs);
}

void CAboutDialog::OnTimer(int timerId)
{
    if (timerId == IDT_FINISH_INIT) {
        m_InitTimer.stop();
        m_Ok->show();
        m_GettingStarted->show();
        if (m_Splash)
            m_CloseTimer.start(kSplashCloseMs);
    } else if (timerId == IDT_SPLASH_CLOSE && m_Splash) {
        accept();
    }
}

void CAboutDialog::accept()
{
    if (m_Splash)
        m_CloseTimer.stop();
    QDialog::accept();
}

void CAboutDialog::OnGettingStarted()
{
    if (m_Splash)
        m_CloseTimer.stop();
    if (m_Help)
        m_Help(kGettingStartedContext);
    accept();
}
