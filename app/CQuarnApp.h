#pragma once
// The application object: it makes numbers locale-independent, routes the
// program's message boxes to Qt, and creates and shows the main frame.

#include "app/CMainFrame.h"

#include <memory>

class CQuarnApp {
public:
    // Installs the Qt message box hook; a QApplication must exist.
    CQuarnApp();
    ~CQuarnApp();
    CQuarnApp(const CQuarnApp&) = delete;
    CQuarnApp& operator=(const CQuarnApp&) = delete;

    // Creates the frame (which reads the settings), builds its window and
    // shows it. False, with no frame, when the window cannot be built.
    bool InitInstance(CMainFrame::Options options = {});
    // Takes the frame down, which writes the settings files.
    int ExitInstance();

    CMainFrame* MainFrame() const { return m_Frame.get(); }

    // The C library's numbers read and write "1.5" whatever the desktop's
    // locale, and so do Qt's.
    static void UseCNumbers();

private:
    std::unique_ptr<CMainFrame> m_Frame;
};
