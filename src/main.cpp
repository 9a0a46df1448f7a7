#include <QApplication>
#include <QMainWindow>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VEXO_Zud"));
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("VEXO_Zud 2.6"));
    window.resize(1024, 700);
    window.show();
    return QApplication::exec();
}
