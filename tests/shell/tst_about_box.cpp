#include "drawn_pixels.h"
#include "shell/about_box.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace vexo;

class AboutBoxTest : public QObject
{
    Q_OBJECT

private slots:
    void showsTheProgramsIdentityInTheTemplatesOrder()
    {
        VXOHAKKINDA box(nullptr);
        QCOMPARE(box.windowTitle(), QStringLiteral("Hakkında..."));
        QCOMPARE(box.statusTip(), QStringLiteral("VEXO_Zud 2.6 Programı hakkında..."));
        QVERIFY(box.isModal());
        QVERIFY(!box.windowIcon().isNull());
        const QStringList order{"FIXEDTEXT1", "FIXEDTEXT2", "FIXEDTEXT9", "FIXEDTEXT3", "FIXEDTEXT4",
                                "FIXEDTEXT5", "FIXEDTEXT7", "PBTAMAM"};
        QStringList names;
        for (QObject *child : box.children()) {
            if (qobject_cast<QWidget *>(child))
                names << child->objectName();
        }
        QCOMPARE(names, order);
        QCOMPARE(box.field("FIXEDTEXT1")->text(), QStringLiteral(" VEXO_Zud S 2.6"));
        QCOMPARE(box.field("FIXEDTEXT2")->text(), QStringLiteral("EN DÜŞÜK MALİYETLİ KARMA YEM  FORMÜLÜ"));
        QCOMPARE(box.field("FIXEDTEXT9")->text(), QStringLiteral("HAZIRLAMA PROGRAMI"));
        for (const char *maker : {"FIXEDTEXT3", "FIXEDTEXT4", "FIXEDTEXT5", "FIXEDTEXT7"})
            QVERIFY2(!box.field(QString::fromLatin1(maker))->text().isEmpty(), maker);

        QLabel *title = box.field("FIXEDTEXT1");
        QCOMPARE(title->palette().color(QPalette::WindowText), QColor(Qt::white));
        QCOMPARE(title->palette().color(QPalette::Window), QColor(Qt::black));
        QVERIFY(title->font().bold());
        QCOMPARE(title->font().pointSize(), 16);
        QFont maker = box.field("FIXEDTEXT3")->font();
        QVERIFY(maker.italic() && maker.underline());
        for (QLabel *label : box.findChildren<QLabel *>())
            QVERIFY2(box.rect().contains(label->geometry()), qPrintable(label->objectName()));
    }

    // The program has no terms of use of its own: the box shows no "Kullanım Şartları:" heading over
    // an empty frame. Every text it shows has words, and the button follows the last of them without
    // a blank gap where the frame was.
    void showsNoEmptyBoxAndNoHeadingWithoutText()
    {
        VXOHAKKINDA box(nullptr);
        int lowest = 0;
        const QList<QLabel *> labels = box.findChildren<QLabel *>();
        QCOMPARE(labels.size(), 7);
        for (QLabel *label : labels) {
            QVERIFY2(!label->text().trimmed().isEmpty(), qPrintable(label->objectName()));
            QVERIFY2(!label->text().contains(QStringLiteral("Şartları")), qPrintable(label->text()));
            lowest = std::max(lowest, label->geometry().bottom());
        }
        const QRect ok = box.okButton()->geometry();
        QVERIFY2(ok.top() > lowest, qPrintable(QStringLiteral("%1 <= %2").arg(ok.top()).arg(lowest)));
        QVERIFY2(ok.top() - lowest < ok.height(), qPrintable(QStringLiteral("gap %1").arg(ok.top() - lowest)));
        QVERIFY(box.rect().contains(ok));
        QVERIFY2(box.height() - ok.bottom() < ok.height(), qPrintable(QString::number(box.height() - ok.bottom())));
    }

    void okEndsWithOneAndTheFrameEndsItToo()
    {
        VXOHAKKINDA box(nullptr);
        QCOMPARE(box.okButton()->toolTip(), QStringLiteral("Tamam"));
        QVERIFY(!box.okButton()->icon().isNull());
        QVERIFY(box.okButton()->text().isEmpty());
        QTimer::singleShot(0, &box, [&] { QTest::mouseClick(box.okButton(), Qt::LeftButton); });
        QCOMPARE(box.exec(), 1);

        VXOHAKKINDA framed(nullptr);
        QTimer::singleShot(0, &framed, [&] { framed.close(); });
        QCOMPARE(framed.exec(), 0);
    }

    void theCommandShowsItModallyCentredOnItsOwner()
    {
        QWidget owner;
        owner.setGeometry(100, 100, 800, 600);
        owner.show();
        QPoint centre;
        bool modal = false;
        QTimer::singleShot(0, &owner, [&] {
            auto *box = qobject_cast<VXOHAKKINDA *>(QApplication::activeModalWidget());
            QVERIFY(box);
            modal = true;
            centre = box->frameGeometry().center();
            box->okButton()->click();
        });
        showAboutBox(&owner);
        QVERIFY(modal);
        QVERIFY2((centre - owner.frameGeometry().center()).manhattanLength() <= 4,
                 qPrintable(QStringLiteral("%1,%2 vs %3,%4").arg(centre.x()).arg(centre.y()).arg(owner.frameGeometry().center().x()).arg(owner.frameGeometry().center().y())));
    }

    // What the box shows: the program's name in white on black, the OK button's image, and nowhere an
    // empty cyan frame.
    void drawnAsShown()
    {
        VXOHAKKINDA box(nullptr);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        const QImage image = test::drawnWindow(&box);
        QCOMPARE(test::pixelsNear(image, image.rect(), Qt::cyan, 4), 0);
        const QRect title = test::rectInWindow(box.field("FIXEDTEXT1"));
        QVERIFY(test::pixelsNear(image, title, Qt::black, 4) > title.width() * title.height() / 2);
        QVERIFY(test::pixelsNear(image, title, Qt::white, 8) > 50); // the name's letters
        const QRect ok = test::rectInWindow(box.okButton());
        int green = 0; // the tick of the button's image
        for (int y = ok.top(); y <= ok.bottom(); ++y) {
            for (int x = ok.left(); x <= ok.right(); ++x) {
                const QColor p = image.pixelColor(x, y);
                green += p.green() > p.red() + 50 && p.green() > p.blue() + 30 ? 1 : 0;
            }
        }
        QVERIFY2(green > 20, qPrintable(QString::number(green)));
        QVERIFY(test::keepForLooking(image, QStringLiteral("about_box.png")));
    }
};

QTEST_MAIN(AboutBoxTest)
#include "tst_about_box.moc"
