#include "controls/balloon_tip.h"
#include "controls/edit_subclasses.h"
#include "matrix/mbm_wind.h"
#include "matrix/yeni_dosya_window.h"
#include "problem/typed_number.h"
#include "scripted_messages.h"

#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

using namespace vexo;

namespace {

void typeInto(QLineEdit *field, const QString &text)
{
    field->setFocus();
    field->selectAll();
    for (const QChar ch : text)
        QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

} // namespace

class TestValueDialogs : public QObject
{
    Q_OBJECT
private slots:
    void newFileNameIsTrimmedAndBlankRefused()
    {
        test::ScriptedMessages messages;
        YENIDOSYAWINDOW d(nullptr);
        QCOMPARE(d.windowTitle(), QStringLiteral("Yeni..."));
        QCOMPARE(d.groupBox()->title(), QStringLiteral("Yeni bir veri dosyası adı giriniz:"));
        QCOMPARE(d.DOSYAADILINE()->maxLength(), 65);
        QCOMPARE(d.okButton()->toolTip(), QStringLiteral("Tamam"));
        QCOMPARE(d.cancelButton()->toolTip(), QStringLiteral("İptal"));
        QVERIFY(d.okButton()->isDefault());
        d.show();
        QApplication::setActiveWindow(&d);
        for (const QString &blank : {QString(), QStringLiteral("   ")}) {
            d.DOSYAADILINE()->setText(blank);
            d.okButton()->click();
            QVERIFY(d.isVisible());
            QVERIFY(d.DOSYAADILINE()->hasFocus());
        }
        QCOMPARE(messages.shown().size(), 2);
        QCOMPARE(messages.shown().at(0).caption, QStringLiteral("Uyarı..."));
        QCOMPARE(messages.shown().at(0).text, QStringLiteral("Dosya adı girilmedi..."));
        QCOMPARE(messages.shown().at(0).style, unsigned(MB_OK | MB_ICONINFORMATION));
        typeInto(d.DOSYAADILINE(), QStringLiteral("  Yeni Çiftlik  "));
        QTest::keyClick(d.DOSYAADILINE(), Qt::Key_Return); // the default button
        QCOMPARE(d.result(), 1);
        QCOMPARE(d.CDOSYA, QStringLiteral("Yeni Çiftlik"));
    }

    void newFileCancelAndEscapeGiveAnEmptyName()
    {
        for (const bool escape : {false, true}) {
            YENIDOSYAWINDOW d(nullptr);
            d.show();
            QApplication::setActiveWindow(&d);
            typeInto(d.DOSYAADILINE(), QStringLiteral("ad"));
            if (escape)
                QTest::keyClick(d.DOSYAADILINE(), Qt::Key_Escape);
            else
                d.cancelButton()->click();
            QCOMPARE(d.result(), 0);
            QVERIFY(d.CDOSYA.isEmpty());
            QVERIFY(!d.isVisible());
        }
    }

    void macroValueIsNormalisedWhenTheFieldIsLeft()
    {
        MBM_WIND d(nullptr, QStringLiteral("HP için yeni değer:"), QStringLiteral("    12.0000"));
        QCOMPARE(d.windowTitle(), QStringLiteral("Makro BM Yeni Değer Girişi"));
        QCOMPARE(d.FIXEDTEXT1()->text(), QStringLiteral("HP için yeni değer:"));
        QCOMPARE(d.CTXTVAL, QStringLiteral("    12.0000"));
        d.show();
        QApplication::setActiveWindow(&d);
        typeInto(d.MBM_EDIT(), QStringLiteral("13,5"));
        d.cancelButton()->setFocus(); // leaving the field
        QCOMPARE(d.MBM_EDIT()->text(), QStringLiteral("    13.5000"));
        d.okButton()->click();
        QCOMPARE(d.result(), 1);
        QCOMPARE(d.CTXTVAL, QStringLiteral("    13.5000"));
    }

    void macroValueEnterNormalisesTheTextToo()
    {
        MBM_WIND d(nullptr, QStringLiteral("p"), QStringLiteral("1"));
        d.show();
        QApplication::setActiveWindow(&d);
        typeInto(d.MBM_EDIT(), QStringLiteral(" 13,5 "));
        QTest::keyClick(d.MBM_EDIT(), Qt::Key_Return);
        QCOMPARE(d.result(), 1);
        QCOMPARE(d.CTXTVAL, QStringLiteral("    13.5000"));
    }

    void macroValueWithoutDigitIsRefused()
    {
        for (const QString &typed : {QStringLiteral("abc"), QStringLiteral("-,")}) {
            MBM_WIND d(nullptr, QStringLiteral("p"), QStringLiteral("    12.0000"));
            d.show();
            QApplication::setActiveWindow(&d);
            d.MBM_EDIT()->setText(typed);
            d.PBTAMAM();
            QVERIFY(d.isVisible());
            QVERIFY(d.MBM_EDIT()->hasFocus());
            QCOMPARE(d.CTXTVAL, QStringLiteral("    12.0000"));
        }
    }

    // What is no number is refused in place with the tone and a word naming the value; the field keeps
    // the value it had, and the OK right after a refusal on leaving ends nothing. A negative is a value.
    void macroValueThatIsNoNumberKeepsTheLastOne_data()
    {
        const QString name = MBM_WIND::valueName();
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("paste");
        QTest::addColumn<bool>("atKeystroke");
        QTest::addColumn<QString>("word");
        QTest::newRow("letters") << "abc" << false << true << numberCharactersText(name);
        QTest::newRow("pasted 2x5") << "2x5" << true << true << numberCharactersText(name);
        QTest::newRow("emptied") << "" << false << false << typedNumberRefusal(name, TypedNumberFault::Empty);
        QTest::newRow("two points") << "1.2.3" << false << false
                                    << typedNumberRefusal(name, TypedNumberFault::NotANumber);
        QTest::newRow("too wide") << "123456789012" << false << false
                                  << typedNumberRefusal(name, TypedNumberFault::NotANumber);
    }
    void macroValueThatIsNoNumberKeepsTheLastOne()
    {
        QFETCH(QString, typed);
        QFETCH(bool, paste);
        QFETCH(bool, atKeystroke);
        QFETCH(QString, word);
        test::ScriptedMessages messages;
        MBM_WIND d(nullptr, QStringLiteral("p"), QStringLiteral("    12.0000"));
        d.show();
        QApplication::setActiveWindow(&d);
        QLineEdit *edit = d.MBM_EDIT();
        edit->setFocus();
        edit->selectAll();
        if (paste) {
            QApplication::clipboard()->setText(typed);
            edit->paste();
        } else if (typed.isEmpty()) {
            QTest::keyClick(edit, Qt::Key_Backspace);
        } else {
            typeInto(edit, typed);
        }
        if (atKeystroke) {
            QCOMPARE(edit->text(), QStringLiteral("    12.0000"));
            QVERIFY(visibleBalloonTip());
            QCOMPARE(visibleBalloonTip()->text(), word);
        }
        d.cancelButton()->setFocus(); // leaving the field
        QCOMPARE(edit->text(), QStringLiteral("    12.0000"));
        if (!atKeystroke) {
            QVERIFY(visibleBalloonTip());
            QCOMPARE(visibleBalloonTip()->text(), word);
            d.okButton()->click();
            QVERIFY(d.isVisible());
        }
        QVERIFY(!messages.toneLog().isEmpty());
        d.okButton()->click();
        QCOMPARE(d.result(), 1);
        QCOMPARE(d.CTXTVAL, QStringLiteral("    12.0000"));

        // A negative is a value.
        MBM_WIND negative(nullptr, QStringLiteral("p"), QStringLiteral("    12.0000"));
        negative.show();
        QApplication::setActiveWindow(&negative);
        typeInto(negative.MBM_EDIT(), QStringLiteral("-2,5"));
        negative.okButton()->click();
        QCOMPARE(negative.result(), 1);
        QCOMPARE(negative.CTXTVAL, QStringLiteral("    -2.5000"));
    }

    void macroValueCancelEscapeAndEmpty()
    {
        for (const bool escape : {false, true}) {
            MBM_WIND d(nullptr, QStringLiteral("p"), QStringLiteral("    12.0000"));
            d.show();
            QApplication::setActiveWindow(&d);
            // An empty value is refused silently, and a cancel after it still hands back the value given.
            d.MBM_EDIT()->setText(QStringLiteral("   "));
            d.okButton()->click();
            QVERIFY(d.isVisible());
            QVERIFY(d.MBM_EDIT()->hasFocus());
            typeInto(d.MBM_EDIT(), QStringLiteral("99"));
            if (escape)
                QTest::keyClick(d.MBM_EDIT(), Qt::Key_Escape);
            else
                d.cancelButton()->click();
            QCOMPARE(d.result(), 0);
            QCOMPARE(d.CTXTVAL, QStringLiteral("    12.0000"));
        }
        // Accepting the present value unchanged hands back the very text given, which callers read as
        // "nothing changed".
        MBM_WIND same(nullptr, QStringLiteral("p"), QStringLiteral("    12.0000"));
        same.show();
        same.PBTAMAM();
        QCOMPARE(same.result(), 1);
        QCOMPARE(same.CTXTVAL, QStringLiteral("    12.0000"));
    }
};

QTEST_MAIN(TestValueDialogs)
#include "tst_value_dialogs.moc"
