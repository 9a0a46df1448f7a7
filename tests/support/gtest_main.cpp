// GoogleTest entry point for every logic test program: an offscreen QApplication exists for code that
// needs one, HOME points into a private temporary folder so that no test touches the user's files.
#include "platform/instance_lock.h"
#include "private_home.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    vexo::test::usePrivateHome();
    QApplication app(argc, argv);
    const int result = RUN_ALL_TESTS();
    vexo::releaseHeldNames();
    return result;
}
