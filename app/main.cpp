#include <QApplication>

#include "app/CQuarnApp.h"

int main(int argc, char* argv[])
{
    QApplication qtApplication(argc, argv);
    QApplication::setApplicationName("Talvenor Mobile");
    CQuarnApp application;
    if (!application.InitInstance())
        return 1;
    const int result = QApplication::exec();
    application.ExitInstance();
    return result;
}
