// main() for test binaries with widgets. Qt allows one QApplication per
// process, and widgets need it to exist before the first is made, so it is
// created here once, ahead of every test.

#include <QApplication>
#include <QByteArray>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // Without a display (test discovery at build time, a run by hand on a
    // build machine) the tests draw off screen; ctest sets the same.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    ::testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
