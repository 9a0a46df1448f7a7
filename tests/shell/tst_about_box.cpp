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
                                "FIXEDTEXT5", "FIXEDTEXT7", "FIXEDTEXT8", "FIXEDTEXT10", "PBTAMAM"};
        QStringList names;
        for (QObject *child : box.children()) {
            if (qobject_cast<QWidget *>(child))
                names << child->objectName();
        }
        QCOMPARE(names, order);
        QCOMPARE(box.field("FIXEDTEXT1")->text(), QStringLiteral(" VEXO_Zud S 2.6"));
        QCOMPARE(box.field("FIXEDTEXT2")->text(), QStringLiteral("EN DÜŞÜK MALİYETLİ KARMA YEM  FORMÜLÜ"));
        QCOMPARE(box.field("FIXEDTEXT9")->text(), QStringLiteral("HAZIRLAMA PROGRAMI"));
        QCOMPARE(box.field("FIXEDTEXT10")->text(), QStringLiteral("Kullanım Şartları:"));
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

    void theTermsOfUseAreThreeLinesBlackOnCyan()
    {
        VXOHAKKINDA box(nullptr);
        QLabel *terms = box.field("FIXEDTEXT8");
        const QStringList lines = terms->text().split(u'\n');
        QCOMPARE(lines.size(), 3);
        for (const QString &line : lines)
            QVERIFY(line.startsWith(u' '));
        QCOMPARE(terms->text(), aboutTermsOfUse());
        QCOMPARE(terms->palette().color(QPalette::WindowText), QColor(Qt::black));
        QCOMPARE(terms->palette().color(QPalette::Window), QColor(Qt::cyan));
        QVERIFY(terms->autoFillBackground());
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

    // What the box shows: the program's name in white on black, the terms of use's cyan box, the OK
    // button's image.
    void drawnAsShown()
    {
        VXOHAKKINDA box(nullptr);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        const QImage image = test::drawnWindow(&box);
        const QRect terms = test::rectInWindow(box.field("FIXEDTEXT8"));
        QVERIFY(test::pixelsNear(image, terms, Qt::cyan, 4) > terms.width() * terms.height() / 2);
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
