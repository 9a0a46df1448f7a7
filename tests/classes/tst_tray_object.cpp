// The tray object over the desktop's tray: an activation of the icon reaches the owner window as its
// callback message with the mouse message, through the window's event queue.
#include "classes/tray_object.h"

#include <QPixmap>
#include <QSystemTrayIcon>
#include <QtTest>

using namespace vexo;

namespace {

struct Owner : QWidget
{
    struct Call { quint32 message; quintptr wParam; qintptr lParam; };
    QList<Call> calls;
    bool event(QEvent *e) override
    {
        if (e->type() == TrayCallbackEvent::eventType()) {
            const auto *t = static_cast<TrayCallbackEvent *>(e);
            calls.append({t->message(), t->wParam(), t->lParam()});
            return true;
        }
        return QWidget::event(e);
    }
};

QIcon solidIcon(QColor c)
{
    QPixmap pm(16, 16);
    pm.fill(c);
    return QIcon(pm);
}

} // namespace

class TestTrayObject : public QObject
{
    Q_OBJECT
private slots:
    void activationReachesTheOwner();
};

void TestTrayObject::activationReachesTheOwner()
{
    QtTrayBackend desktop;
    setTrayBackend(&desktop);
    {
        Owner owner;
        owner.setWindowIcon(solidIcon(Qt::red));
        JOVTRAYOBJECT25 tray(&owner, {}, QStringLiteral("VEXO"), 0x8123);
        QCOMPARE(desktop.iconFor(&owner, 0), nullptr);
        tray.SHOW();
        QSystemTrayIcon *icon = desktop.iconFor(&owner, 0);
        QVERIFY(icon);
        QCOMPARE(icon->toolTip(), QStringLiteral("VEXO"));

        emit icon->activated(QSystemTrayIcon::Trigger);
        emit icon->activated(QSystemTrayIcon::Context);
        QVERIFY(owner.calls.isEmpty()); // posted, not sent
        QTRY_COMPARE(owner.calls.size(), 2);
        QCOMPARE(owner.calls.at(0).message, 0x8123u);
        QCOMPARE(owner.calls.at(0).wParam, quintptr(0));
        QCOMPARE(owner.calls.at(0).lParam, qintptr(0x202));
        QCOMPARE(owner.calls.at(1).lParam, qintptr(0x205));

        // A changed message and tool-tip reach the shown icon.
        tray.setMESSAGE(0x8200);
        tray.setTOOLTIP(QStringLiteral("Yeni"));
        QCOMPARE(icon->toolTip(), QStringLiteral("Yeni"));
        emit icon->activated(QSystemTrayIcon::DoubleClick);
        QTRY_COMPARE(owner.calls.size(), 3);
        QCOMPARE(owner.calls.at(2).message, 0x8200u);
        QCOMPARE(owner.calls.at(2).lParam, qintptr(0x203));

        tray.HIDE();
        QCOMPARE(desktop.iconFor(&owner, 0), nullptr);
    }
    setTrayBackend(nullptr);
}

QTEST_MAIN(TestTrayObject)
#include "tst_tray_object.moc"
