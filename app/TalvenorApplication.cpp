#include "app/TalvenorApplication.h"

#include "platform/MessageBox.h"
#include "platform/qt/QtMessageBoxHook.h"

TalvenorApplication::TalvenorApplication()
    : mainWindow_(std::make_unique<QMainWindow>())
{
    platform::InstallQtMessageBoxHook();
    mainWindow_->setWindowTitle(QString::fromUtf8(platform::kProgramCaption));
    mainWindow_->resize(1024, 700);
}

TalvenorApplication::~TalvenorApplication()
{
    platform::SetMessageBoxHook({});
}

void TalvenorApplication::Show()
{
    mainWindow_->show();
}
