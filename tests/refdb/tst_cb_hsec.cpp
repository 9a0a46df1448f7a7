#include "refdb/cb_hsec.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace vexo;

class TestCbHsec : public QObject
{
    Q_OBJECT
private slots:
    void promptAndTurkishSortOrder()
    {
        CB_HSEC d(nullptr, QStringLiteral("Ca"), {"ipek", "ZEYTIN", "çayır", "IRMIK", "CZ", "ılgın"});
        QCOMPARE(d.windowTitle(), QStringLiteral("Eşleştirme Diyaloğu"));
        QCOMPARE(d.prompt()->text(), QStringLiteral("Ca ->\nEşini Seçiniz:"));
        QStringList shown;
        for (int i = 0; i < d.combo()->count(); ++i)
            shown << d.combo()->itemText(i);
        // Upper-cased with the Turkish rule (çayır as ÇAYIR, ipek as İPEK, ılgın as ILGIN), then in
        // the order of the code page's bytes, where the Turkish capitals follow Z.
        QCOMPARE(shown, (QStringList{"CZ", "ılgın", "IRMIK", "ZEYTIN", "çayır", "ipek"}));
        QCOMPARE(d.combo()->currentIndex(), -1);
        QVERIFY(d.combo()->currentText().isEmpty());
    }

    void pickingReturnsThePositionInTheCallersList()
    {
        CB_HSEC d(nullptr, QStringLiteral("X"), {"ZZ", "MM", "AA"});
        QCOMPARE(d.shownPositions(), (QList<int>{3, 2, 1}));
        d.combo()->setCurrentIndex(0);
        emit d.combo()->activated(0);
        d.PBTAMAM();
        QCOMPARE(d.result(), 1);
        QCOMPARE(d.NSELECTED, 3u);
    }

    void typedTextIsNotAPickAndEmptyListOnlySkipsOrCancels()
    {
        CB_HSEC d(nullptr, QStringLiteral("X"), {"AA", "BB"});
        d.show();
        d.combo()->lineEdit()->setText(QStringLiteral("BB"));
        d.PBTAMAM();
        QVERIFY(d.isVisible());
        QCOMPARE(d.NSELECTED, 0u);

        CB_HSEC empty(nullptr, QStringLiteral("X"), {});
        empty.show();
        empty.PBTAMAM();
        QVERIFY(empty.isVisible());
        empty.PB_ATLA();
        QCOMPARE(empty.result(), 2);
        QCOMPARE(empty.NSELECTED, 0u);
    }

    // What a user does with the keyboard: typing a listed name and confirming it with Enter is not a
    // pick; choosing an entry with the arrow keys or from the opened list is.
    void typedNameConfirmedWithEnterIsNotAPick()
    {
        CB_HSEC d(nullptr, QStringLiteral("X"), {"CC", "AA", "BB"});
        d.show();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        d.combo()->setFocus();
        QWidget *typing = QApplication::focusWidget();
        QVERIFY(typing);
        QTest::keyClicks(typing, QStringLiteral("BB"));
        QCOMPARE(d.combo()->currentText(), QStringLiteral("BB"));
        QTest::keyClick(typing, Qt::Key_Return);
        QTest::keyClick(typing, Qt::Key_Enter);
        QVERIFY(d.isVisible());
        d.okButton()->click();
        QVERIFY(d.isVisible());
        QCOMPARE(d.NSELECTED, 0u);
        QCOMPARE(QApplication::focusWidget(), typing); // Tamam only gave the focus back

        // The arrow key walks the list: the first entry shown, "AA", is the caller's second.
        d.combo()->clearEditText();
        QTest::keyClick(typing, Qt::Key_Down);
        QCOMPARE(d.combo()->currentText(), QStringLiteral("AA"));
        QTest::keyClick(typing, Qt::Key_Return);
        d.okButton()->click();
        QCOMPARE(d.result(), 1);
        QCOMPARE(d.NSELECTED, 2u);
    }

    void entryChosenInTheOpenListIsAPick()
    {
        CB_HSEC d(nullptr, QStringLiteral("X"), {"CC", "AA", "BB"});
        d.show();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        d.combo()->setFocus();
        d.combo()->showPopup();
        QAbstractItemView *list = d.combo()->view();
        QTRY_VERIFY(list->isVisible());
        for (int i = 0; i < 3 && list->currentIndex().data().toString() != QStringLiteral("BB"); ++i)
            QTest::keyClick(list, Qt::Key_Down);
        QTest::keyClick(list, Qt::Key_Return);
        QTRY_VERIFY(!list->isVisible());
        QCOMPARE(d.combo()->currentText(), QStringLiteral("BB"));
        d.okButton()->click();
        QCOMPARE(d.result(), 1);
        QCOMPARE(d.NSELECTED, 3u);
    }

    void buttonsEscapeAndNoCancelMode()
    {
        CB_HSEC d(nullptr, QStringLiteral("X"), {"AA"});
        QCOMPARE(d.okButton()->toolTip(), QStringLiteral("Tamam"));
        QCOMPARE(d.skipButton()->toolTip(), QStringLiteral("Altla"));
        QCOMPARE(d.cancelButton()->toolTip(), QStringLiteral("İptal"));
        d.show();
        QTest::keyClick(&d, Qt::Key_Escape);
        QCOMPARE(d.result(), 0);
        d.setIPTAL(true);
        QVERIFY(d.cancelButton()->isHidden());
    }

    void dialogMatcherRunsTheDialogModally()
    {
        DialogNameMatcher matcher;
        QTimer::singleShot(0, [] {
            auto *d = qobject_cast<CB_HSEC *>(QApplication::activeModalWidget());
            QVERIFY(d);
            QCOMPARE(d->windowTitle(), QStringLiteral("Yem Maddelerini Eşleştir"));
            d->combo()->setCurrentIndex(1);
            emit d->combo()->activated(1);
            d->okButton()->click();
        });
        const NameMatchAnswer a = matcher.choose(nullptr, QStringLiteral("Yem Maddelerini Eşleştir"),
                                                 QStringLiteral("Soya"), {"SOYA", "ARPA"});
        QCOMPARE(a.result, NameMatchAnswer::Chosen);
        QCOMPARE(a.position, 1); // "SOYA" shows second after "ARPA"
    }
};

QTEST_MAIN(TestCbHsec)
#include "tst_cb_hsec.moc"
