#include "app/CQuarnApp.h"

#include "platform/MessageBox.h"
#include "platform/qt/QtMessageBoxHook.h"

#include <QLocale>

#include <clocale>

CQuarnApp::CQuarnApp()
{
    platform::InstallQtMessageBoxHook();
}

CQuarnApp::~CQuarnApp()
{
    ExitInstance();
    platform::SetMessageBoxHook({});
}

void CQuarnApp::UseCNumbers()
{
    // Qt sets the C library's locale from the desktop when the application
    // object is made; settings files, exports and logs need '.' decimals.
    std::setlocale(LC_NUMERIC, "C");
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::OmitGroupSeparator);
    QLocale::setDefault(c);
}

bool CQuarnApp::InitInstance(CMainFrame::Options options)
{
    UseCNumbers();
    m_Frame = std::make_unique<CMainFrame>(std::move(options));
    if (!m_Frame->Create()) {
        m_Frame.reset();
        return false;
    }
    m_Frame->show();
    return true;
}

int CQuarnApp::ExitInstance()
{
    m_Frame.reset();
    return 0;
}
