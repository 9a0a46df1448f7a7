// A window with the edit fields side by side, for trying them by hand and for screenshots:
//     build/test/tests/editfields/edit_fields_demo
#include "editfields/date_sle.h"
#include "editfields/search_sle.h"
#include "editfields/timer_sle.h"

#include <QApplication>
#include <QLabel>

using namespace vexo;

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Edit fields"));
    window.resize(420, 200);

    new QLabel(QStringLiteral("Tarih:"), &window);
    window.findChild<QLabel *>()->setGeometry(10, 14, 80, 24);
    auto *date = new DATESLE(&window, QRect(100, 14, 160, 24));
    date->setValue(QDate(2024, 3, 15));

    auto *number = new RIGHTSLE(&window, QRect(100, 50, 130, 24));
    number->setFieldSpec(FieldSpec::number(10, 2));
    number->setValue(1234.5);

    new SEARCHSLE(&window, QRect(100, 86, 160, 24));

    auto *timer = new TIMERSLE(&window, QRect(100, 122, 80, 24));
    timer->START();

    window.show();
    return app.exec();
}
