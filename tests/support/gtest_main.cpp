// GoogleTest entry point for every logic test program: an offscreen QApplication exists for code that
// needs one, HOME points into a private temporary folder so that no test touches the user's files.
#include "platform/instance_lock.h"

#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/.config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/.local/share")).toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", home.path().toLocal8Bit());
    QApplication app(argc, argv);
    const int result = RUN_ALL_TESTS();
    vexo::releaseHeldNames();
    return result;
}
