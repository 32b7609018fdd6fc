#include "app/TalvenorApplication.h"
#include "tests/support/Screenshot.h"

#include <QApplication>
#include <gtest/gtest.h>

// The QApplication comes from the binary's main (tests/support/QtTestMain.cpp).
TEST(Application, MainWindowCarriesTheProgramCaption)
{
    TalvenorApplication application;
    application.Show();
    QApplication::processEvents();

    EXPECT_EQ(application.MainWindow().windowTitle().toStdString(), "Talvenor Mobile");
    EXPECT_TRUE(application.MainWindow().isVisible());
    SaveScreenshot(application.MainWindow(), "main_window_empty");
}
