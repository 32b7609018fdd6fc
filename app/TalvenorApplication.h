#pragma once
// The application object: creates the main window and wires the platform
// hooks (message boxes) to Qt.

#include <QMainWindow>
#include <memory>

class TalvenorApplication {
public:
    TalvenorApplication();
    ~TalvenorApplication();

    QMainWindow& MainWindow() { return *mainWindow_; }
    void Show();

private:
    std::unique_ptr<QMainWindow> mainWindow_;
};
