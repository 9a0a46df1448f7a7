// The split-pane frame as the main window builds it, with an MDI child, drawn for a person to look at:
// the pictures land in the temporary folder (split_shell_window.png, split_shell_window_drag.png).
#include "controls/icon_presets.h"
#include "controls/split_bar.h"
#include "controls/split_shell_window.h"
#include "problem/window_placement.h"
#include "resources/resource_library.h"

#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMouseEvent>
#include <QRubberBand>
#include <QStatusBar>
#include <QTableWidget>
#include <QTest>
#include <QToolBar>
#include <QVBoxLayout>

using namespace vexo;

class tst_SplitShellWindow : public QObject
{
    Q_OBJECT

private slots:
    void frameWithAnMdiChild();
};

namespace {

QIcon picture(const char *name)
{
    return ResourceLibrary::icon(QString::fromLatin1(name));
}

// A stand-in for the navigation pane: the pane's pictures in a list.
QWidget *navigationStandIn()
{
    auto *list = new QListWidget;
    list->setIconSize(QSize(32, 32));
    list->setFrameShape(QFrame::NoFrame);
    const std::pair<const char *, const char *> items[] = {
        {"ICON_DEPENSE", "Yem Maddesi Verileri"}, {"ICON_COMPTES", "Besin Maddesi Verileri"},
        {"HALICO", "Aktif Matris Yazımı"},        {"ICON_AA", "Besin Maddesi Oranları"},
        {"ICON_RECETTE", "Yem Maddesi Grupları"}, {"RUNMODE", "Yem Formülü"},
        {"RUNMODE2", "Aktif Matris"},             {"RUNMODE4", "Ham Madde Fiyatları"},
    };
    for (const auto &[icon, text] : items)
        list->addItem(new QListWidgetItem(picture(icon), QString::fromUtf8(text)));
    return list;
}

QWidget *ingredientEditor()
{
    auto *editor = new QWidget;
    editor->setWindowTitle(QStringLiteral("Yem Maddeleri"));
    editor->setWindowIcon(picture("ICON_DEPENSE"));
    auto *layout = new QVBoxLayout(editor);
    auto *grid = new QTableWidget(5, 5);
    grid->setHorizontalHeaderLabels({QStringLiteral("Yem Maddesi"), QStringLiteral("Fiyat"), QStringLiteral("Sabit"),
                                     QStringLiteral("Alt Limit"), QStringLiteral("Üst Limit")});
    const char *rows[][5] = {
        {"Arpa", "9.2500", "", "0.0000", "40.0000"},
        {"Mısır", "10.4000", "", "0.0000", "50.0000"},
        {"Soya Küspesi", "21.7500", "", "5.0000", "30.0000"},
        {"Buğday Kepeği", "6.9000", "", "0.0000", "15.0000"},
        {"Mermer Tozu", "1.1000", "1.2000", "", ""},
    };
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 5; ++c) {
            auto *item = new QTableWidgetItem(QString::fromUtf8(rows[r][c]));
            if (c > 0)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grid->setItem(r, c, item);
        }
    grid->horizontalHeader()->setStretchLastSection(true);
    grid->resizeColumnToContents(0);
    layout->addWidget(grid);
    auto *buttons = new QHBoxLayout;
    auto *status = new QLabel;
    status->setPixmap(ResourceLibrary::icon(QStringLiteral("OKCVar")).pixmap(24));
    status->setToolTip(QStringLiteral("Çözüm optimum"));
    buttons->addWidget(status);
    buttons->addStretch();
    auto *all = new HSECPUSHBUTTON(editor, QStringLiteral("Hepsini seç"));
    auto *ok = new OKPUSHBUTTON(editor, QStringLiteral("Tamam"));
    auto *cancel = new CANCELPUSHBUTTON(editor, QStringLiteral("İptal"));
    for (ICONPUSHBUTTON *b : {static_cast<ICONPUSHBUTTON *>(all), static_cast<ICONPUSHBUTTON *>(ok),
                              static_cast<ICONPUSHBUTTON *>(cancel)}) {
        b->setFixedSize(112, 28);
        buttons->addWidget(b);
    }
    cancel->DISABLE();
    layout->addLayout(buttons);
    return editor;
}

void mouse(QWidget *w, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, QPointF(at), QPointF(w->mapToGlobal(at)), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &event);
}

} // namespace

void tst_SplitShellWindow::frameWithAnMdiChild()
{
    JOVSPLITSHELLWINDOW shell;
    shell.setWindowTitle(QStringLiteral("VEXO_Zud"));
    shell.setWindowIcon(picture("VXOMAIN"));
    for (const char *menu : {"Dosya", "Düzen", "Problem", "Raporlar", "Pencere", "Yardım"})
        shell.menuBar()->addMenu(QString::fromUtf8(menu));
    QToolBar *tools = shell.addToolBar(QStringLiteral("Araçlar"));
    tools->setIconSize(QSize(24, 24));
    tools->setMovable(false);
    for (const char *icon : {"ICON_NEW", "DiskUp", "PRINTERUP", "RunRun", "VxoYildirim", "ICOHELPUP"})
        tools->addAction(picture(icon), QString::fromLatin1(icon));
    shell.statusBar()->showMessage(QStringLiteral("Hazır"));
    shell.resize(960, 620);

    // The main window's own set-up.
    QWidget *pane = navigationStandIn();
    shell.setLEFTPANE(pane);
    shell.setLEFTSIZEPIXEL(170);
    shell.setPOSTYPE(PaneSizing::PIXEL);
    shell.setCANRESIZELEFTPANE(true);
    shell.setSHOWLEFTPANE(true);
    shell.show();
    QVERIFY(QTest::qWaitForWindowExposed(&shell));

    QWidget *editor = ingredientEditor();
    QMdiSubWindow *sub = shell.mdiArea()->addSubWindow(editor);
    sub->resize(600, 330);
    editor->show();
    QVMOVEWINDOW(editor, 1);
    QCoreApplication::processEvents();

    QCOMPARE(pane->width(), 170);
    QCOMPARE(shell.vertSplitBar()->geometry().left(), 170);
    QCOMPARE(shell.mdiArea()->x(), 175);
    QCOMPARE(sub->pos(), QPoint(0, 0));

    const QString folder = QDir::tempPath();
    QVERIFY(shell.grab().save(folder + QStringLiteral("/split_shell_window.png")));

    // Half-way through a drag of the split bar: the tracking rectangle 60 pixels to the right.
    JOVSPLITBAR *bar = shell.vertSplitBar();
    mouse(bar, QEvent::MouseButtonPress, QPoint(2, 100), Qt::LeftButton, Qt::LeftButton);
    mouse(bar, QEvent::MouseMove, QPoint(62, 100), Qt::NoButton, Qt::LeftButton);
    QCoreApplication::processEvents();
    QVERIFY(bar->trackingRect() && bar->trackingRect()->isVisible());
    QVERIFY(shell.grab().save(folder + QStringLiteral("/split_shell_window_drag.png")));
    mouse(bar, QEvent::MouseButtonRelease, QPoint(62, 100), Qt::LeftButton, Qt::NoButton);
    QCOMPARE(pane->width(), 230);
}

QTEST_MAIN(tst_SplitShellWindow)
#include "tst_split_shell_window.moc"
