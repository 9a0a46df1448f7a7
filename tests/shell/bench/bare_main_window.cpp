// The yardstick of the start-up benchmark: a bare QMainWindow with a title, shown at once.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("bare main window"));
    window.resize(914, 533);
    window.show();
    return QApplication::exec();
}
