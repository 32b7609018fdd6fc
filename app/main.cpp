#include <QApplication>

#include "app/TalvenorApplication.h"

int main(int argc, char* argv[])
{
    QApplication qtApplication(argc, argv);
    QApplication::setApplicationName("Talvenor Mobile");
    TalvenorApplication application;
    application.Show();
    return QApplication::exec();
}
