// The bitmap buttons (a few presets, a plain one and the drop-down one) in their normal, hot,
// pressed, focused and disabled looks, with a hyperlink below, for trying them by hand and for
// screenshots under Xvfb. "classic" as the argument draws the classic faces. Not installed.
#include "controls/bitmap_presets.h"
#include "controls/dropdown_button.h"
#include "controls/hyperlink.h"
#include "controls/named_owner.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>

#include <cstdio>
#include <functional>

using namespace vexo;

namespace {

struct DemoDialog : QWidget, NamedCommandOwner
{
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc > 1 && QByteArray(argv[1]) == "classic")
        BitmapButtonThemes::setLoaded(false);
    DemoDialog dialog;
    dialog.setWindowTitle(QStringLiteral("Düğmeler"));
    auto *grid = new QGridLayout(&dialog);
    const char *looks[] = {"normal", "hot", "pressed", "focused", "disabled"};
    for (int column = 0; column < 5; ++column)
        grid->addWidget(new QLabel(QString::fromLatin1(looks[column])), 0, column);

    JOVBITMAPBUTTON *toFocus = nullptr;
    QList<JOVBITMAPBUTTON *> firstRow;
    int row = 1;
    const auto addRow = [&](const std::function<JOVBITMAPBUTTON *()> &make, const QString &caption) {
        for (int column = 0; column < 5; ++column) {
            JOVBITMAPBUTTON *button = make();
            button->setHyperLabel(QStringLiteral("PBTAMAM"), caption);
            button->setFixedSize(110, 28);
            grid->addWidget(button, row, column);
            if (row == 1)
                firstRow << button;
            if (column == 1) {
                QTimer::singleShot(0, button, [button] {
                    QMouseEvent move(QEvent::MouseMove, QPointF(20, 10), button->mapToGlobal(QPointF(20, 10)),
                                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
                    QApplication::sendEvent(button, &move);
                });
            } else if (column == 2) {
                button->setState(true);
            } else if (column == 3 && !toFocus) {
                toFocus = button;
            } else if (column == 4) {
                button->setEnabled(false);
            }
        }
        ++row;
    };
    addRow([&] { return new OKBMPBUTTON(&dialog); }, QStringLiteral("Tamam "));
    addRow([&] { return new CANCELBMPBUTTON(&dialog); }, QStringLiteral("İptal"));
    addRow([&] { return new RUNBMPBUTTON(&dialog); }, QStringLiteral("Çalıştır"));
    addRow([&] { return new EKLEBMPBUTTON(&dialog); }, QStringLiteral("Ekle"));
    addRow([&] { return new INTERPOLBMPBUTTON(&dialog); }, QStringLiteral("Ara değer"));
    addRow([&] { return new JOVDROPDOWNBITMAPBUTTON(&dialog); }, QStringLiteral("Seç"));
    grid->addWidget(new JOVHYPERLINK(&dialog, QStringLiteral("www.example.invalid")), row, 0, 1, 3);

    // Each click names itself in the title, counted, so a script sees every call.
    int clicks = 0;
    dialog.namedCommands().add(QStringLiteral("PBTAMAM"), [&dialog, &clicks] {
        dialog.setWindowTitle(QStringLiteral("Tamam %1").arg(++clicks));
    });
    dialog.move(20, 20);
    dialog.show();
    QTimer::singleShot(100, &dialog, [&dialog, toFocus, firstRow] {
        dialog.activateWindow();
        toFocus->setFocus();
        // Where the first row's buttons are, for scripts: the middle of each, in window coordinates.
        QString line = QStringLiteral("buttons");
        for (JOVBITMAPBUTTON *button : firstRow) {
            const QPoint middle = button->mapTo(&dialog, button->rect().center());
            line += QStringLiteral(" %1,%2").arg(middle.x()).arg(middle.y());
        }
        std::printf("%s\n", qPrintable(line));
        std::fflush(stdout);
    });
    return app.exec();
}
