// The general classes in one window, for trying them by hand and for screenshots under Xvfb: the
// painted shell window with its title, text lines, a bitmap at the lower left and the key indicators,
// and a mouse-tracking data window inside it holding a bitmap list box, a hyperlink text and a label
// that reports the mouse entering and leaving it. Links are printed, not opened. Not installed.
#include "classes/bitmap_list_box.h"
#include "classes/hyperlink_text.h"
#include "classes/mouse_tracking.h"
#include "classes/painted_shell_window.h"
#include "platform/shell_open.h"
#include "resources/resource_library.h"

#include <QApplication>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPainter>
#include <QTimer>

#include <cstdio>

using namespace vexo;

namespace {

struct PrintingOpener : ShellOpener
{
    bool open(QWidget *, const QString &target) override
    {
        std::printf("open %s\n", qPrintable(target));
        std::fflush(stdout);
        return true;
    }
};

class ReportingLabel : public QLabel
{
    Q_OBJECT
public:
    using QLabel::QLabel;
    Q_INVOKABLE void MOUSEENTER() { report("enter"); }
    Q_INVOKABLE void MOUSEEXIT() { report("exit"); }

private:
    void report(const char *what)
    {
        std::printf("%s %s\n", what, qPrintable(objectName()));
        std::fflush(stdout);
    }
};

QPixmap tile(QColor c, int w, int h)
{
    QPixmap pm(w, h);
    pm.fill(c);
    QPainter p(&pm);
    p.setPen(Qt::white);
    p.drawRect(2, 2, w - 5, h - 5);
    return pm;
}

// Where a widget's centre is, in the frame's coordinates.
QString centreIn(QWidget *w, QWidget *frame)
{
    const QPoint c = w->mapTo(frame, w->rect().center());
    return QStringLiteral("%1,%2").arg(c.x()).arg(c.y());
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    PrintingOpener opener;
    setShellOpener(&opener);

    ACF_SHELLWINDOW frame;
    frame.setWindowTitle(QStringLiteral("Genel Sınıflar"));
    frame.setTITLE(QStringLiteral("VEXO Zud"));
    frame.setCOPYRIGHT1(QStringLiteral("Karma yem formülasyonu"));
    frame.setCOPYRIGHT2(QStringLiteral("Sürüm 1.0"));
    frame.setBITMAP(ResourceLibrary::pixmap(QStringLiteral("SPLASH_BMP")).scaled(160, 100, Qt::KeepAspectRatio));
    frame.setBITMAPTOLOWERLEFT(true);
    frame.setBITMAPPOSITION(QPoint(10, 30));
    frame.EnableStatusBar(true);
    frame.setKeyState(StatusBarArea::NumLock, true);
    frame.setKeyState(StatusBarArea::Ins, true);
    frame.resize(900, 640);

    auto *data = new NEWDATAWINDOW;
    data->setWindowTitle(QStringLiteral("Veri penceresi"));
    auto *list = new BITMAPLISTBOX(data);
    list->setGeometry(10, 10, 260, 150);
    list->ADDNODE(QStringLiteral("Mısır"), QStringLiteral("MISIR"), QVariant::fromValue(tile(QColor(200, 160, 0), 20, 16)), 1);
    list->ADDNODE(QStringLiteral("Arpa"), QStringLiteral("ARPA"),
                  QVariant::fromValue(ResourceLibrary::icon(QStringLiteral("HALICO"))), 2);
    list->ADDNODE(QStringLiteral("Soya küspesi"), QStringLiteral("SOYA"), QVariant::fromValue(tile(QColor(0, 120, 60), 20, 16)), 1);
    list->ADDNODE(QStringLiteral("Kireç taşı"), QStringLiteral("KIREC"));
    list->BONMOUSEDBLCLK = [&frame](BITMAPLISTBOX &, const QVariant &value) {
        frame.setWindowTitle(QStringLiteral("Seçilen: ") + value.toString());
    };
    auto *tall = new BITMAPLISTBOX(data);
    tall->setGeometry(280, 10, 200, 150);
    tall->setNBITMAPHEIGHT(36);
    tall->MULTILINE = true;
    tall->ADDNODE(QStringLiteral("Ham protein;% 18,5"), {}, QVariant::fromValue(tile(QColor(150, 0, 0), 20, 36)), 1);
    tall->ADDNODE(QStringLiteral("Metabolik enerji;2850 kcal/kg"), {}, QVariant::fromValue(tile(QColor(0, 0, 150), 20, 36)), 1);
    auto *link = new FIXEDTEXTHYPERLINK(data, QStringLiteral("https://example.invalid/vexo"));
    link->setObjectName(QStringLiteral("link"));
    link->setGeometry(10, 175, 220, 20);
    auto *label = new ReportingLabel(QStringLiteral("Fare buradayken haber verir"), data);
    label->setObjectName(QStringLiteral("label"));
    label->setGeometry(10, 205, 220, 20);
    QMdiSubWindow *sub = frame.mdiArea()->addSubWindow(data);
    sub->setGeometry(40, 30, 510, 270);

    frame.show();
    QTimer::singleShot(300, [&] {
        std::printf("places list=%s link=%s label=%s\n", qPrintable(centreIn(list->viewport(), &frame)),
                    qPrintable(centreIn(link, &frame)), qPrintable(centreIn(label, &frame)));
        const QRect row = list->visualRect(list->model()->index(2, 0));
        const QPoint rowAt = list->viewport()->mapTo(&frame, row.center());
        const QPoint client = frame.mdiArea()->viewport()->mapTo(&frame, QPoint(0, 0));
        std::printf("row2=%d,%d client=%d,%d\n", rowAt.x(), rowAt.y(), client.x(), client.y());
        std::fflush(stdout);
    });
    return app.exec();
}

#include "general_classes_demo.moc"
