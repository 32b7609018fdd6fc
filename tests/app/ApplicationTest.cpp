#include "app/TalvenorApplication.h"
#include "tests/support/Screenshot.h"

#include <QApplication>
#include <gtest/gtest.h>

TEST(Application, MainWindowCarriesTheProgramCaption)
{
    int argc = 1;
    char name[] = "app_tests";
    char* argv[] = {name, nullptr};
    QApplication qtApplication(argc, argv);

    TalvenorApplication application;
    application.Show();
    QApplication::processEvents();

    EXPECT_EQ(application.MainWindow().windowTitle().toStdString(), "Talvenor Mobile");
    EXPECT_TRUE(application.MainWindow().isVisible());
    SaveScreenshot(application.MainWindow(), "main_window_empty");
}
