// Writes the small feed problem the end-to-end run opens. Usage: make_fixture PATH.VKD
#include "../feed_fixture.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_fixture PATH.VKD\n");
        return 2;
    }
    QString error;
    if (!vexo::test::writeFeedFixture(QString::fromLocal8Bit(argv[1]), &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
