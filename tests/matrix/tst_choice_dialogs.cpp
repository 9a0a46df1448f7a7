#include "controls/balloon_tip.h"
#include "controls/control_extensions.h"
#include "controls/grid_subclasses.h"
#include "matrix/choice_dialogs.h"
#include "matrix/colon_maths.h"
#include "problem/typed_number.h"
#include "scripted_messages.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QLabel>
#include <QtTest>

using namespace vexo;

namespace {

const QStringList kItems = {QStringLiteral("KM"), QStringLiteral("HP"), QStringLiteral("HY"),
                            QStringLiteral("CA"), QStringLiteral("P")};

std::shared_ptr<BARRAYSERVER> serverOf(const QStringList &fieldNames)
{
    ServerFields fields;
    for (const QString &n : fieldNames)
        fields.append({n, u'C', 11, 0});
    return std::make_shared<BARRAYSERVER>(fields, QList<QStringList>{});
}

} // namespace

class TestChoiceDialogs : public QObject
{
    Q_OBJECT
private slots:
    void singleChoiceToggles_data()
    {
        QTest::addColumn<QList<int>>("clicks");
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<int>("expected");
        QTest::newRow("2 then 5") << QList<int>{2, 5} << true << 5;
        QTest::newRow("same twice") << QList<int>{3, 3} << true << 0;
        QTest::newRow("nothing ticked") << QList<int>{} << true << 0;
        QTest::newRow("one") << QList<int>{4} << true << 4;
        QTest::newRow("cancel") << QList<int>{4} << false << 0;
    }
    void singleChoiceToggles()
    {
        QFETCH(QList<int>, clicks);
        QFETCH(bool, confirm);
        QFETCH(int, expected);
        BCHOICE d(nullptr, QStringLiteral("Makro BM Seçimi"), kItems);
        QCOMPARE(d.windowTitle(), QStringLiteral("Makro BM Seçimi"));
        QCOMPARE(d.BROWSER()->COLUMNCOUNT(), 3);
        QCOMPARE(d.BROWSER()->openColumn(0)->CAPTION(), QStringLiteral("Seç"));
        for (int rec : clicks) {
            d.BROWSER()->SERVER()->GOTO(rec);
            d.CHKSELECT();
        }
        if (confirm)
            d.okButton()->click();
        else
            d.cancelButton()->click();
        QCOMPARE(d.NSELECTED, expected);
        QCOMPARE(d.result(), confirm ? 1 : 0);
    }

    void spaceKeyTicksTheCurrentRow()
    {
        BCHOICE d(nullptr, QStringLiteral("x"), kItems);
        d.show();
        d.BROWSER()->SERVER()->GOTO(2);
        QTest::keyClick(d.BROWSER(), Qt::Key_Space);
        QCOMPARE(d.GETSELECTED(), 2);
    }

    void multipleChoiceToggles_data()
    {
        QTest::addColumn<QList<int>>("clicks");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QList<int>>("expected");
        QTest::newRow("4, 1, 3 ascending") << QList<int>{4, 1, 3} << "ok" << QList<int>{1, 3, 4};
        QTest::newRow("same twice") << QList<int>{2, 2} << "ok" << QList<int>{};
        QTest::newRow("all") << QList<int>{} << "all" << QList<int>{1, 2, 3, 4, 5};
        QTest::newRow("none after ticks") << QList<int>{1, 5} << "none" << QList<int>{};
        QTest::newRow("cancel after ticks") << QList<int>{1, 5} << "cancel" << QList<int>{};
    }
    void multipleChoiceToggles()
    {
        QFETCH(QList<int>, clicks);
        QFETCH(QString, button);
        QFETCH(QList<int>, expected);
        BMARKTOPBOT d(nullptr, QStringLiteral("Bağlı BM'lerin Seçimi"), kItems);
        for (int rec : clicks) {
            d.server()->GOTO(rec);
            d.CHKSELECT();
        }
        if (button == QLatin1String("all"))
            d.allButton()->click();
        if (button == QLatin1String("none"))
            d.noneButton()->click();
        if (button == QLatin1String("cancel")) {
            d.cancelButton()->click();
        } else {
            QVERIFY(d.isModal());
            d.okButton()->click();
        }
        QCOMPARE(d.ANSELECTED, expected);
    }

    void clickTicksInMultipleChoice()
    {
        BMARKTOPBOT d(nullptr, QStringLiteral("x"), kItems);
        d.resize(400, 400);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        BBROWSER *g = d.BROWSER();
        const QRect cell = g->visualRect(g->model()->index(2, 2));
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, cell.center());
        d.okButton()->click();
        QCOMPARE(d.ANSELECTED, QList<int>{3});
    }

    void emptyListsAnswerNothing()
    {
        BCHOICE c(nullptr, QStringLiteral("x"), {});
        c.CHKSELECT();
        c.okButton()->click();
        QCOMPARE(c.NSELECTED, 0);
        BMARKTOPBOT m(nullptr, QStringLiteral("x"), {});
        m.CHKSELECT();
        m.allButton()->click();
        m.okButton()->click();
        QVERIFY(m.ANSELECTED.isEmpty());
    }

    void arithmeticOffersFieldsWithoutKeyNameGroup()
    {
        auto server = serverOf({"KOD", "YM_ADI", "GRUBU", "KM", "HP", "YM_ADIX"});
        COLONMATHS d(nullptr, server.get());
        QCOMPARE(d.offeredNames(), (QStringList{"KM", "HP", "YM_ADIX"}));
        QCOMPARE(d.CBVALAP()->count(), 3);
        QCOMPARE(d.windowTitle(), QStringLiteral("Kolon Aritmetiği"));
    }

    void arithmeticClassifiesOperand_data()
    {
        QTest::addColumn<bool>("pick");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("op");
        QTest::addColumn<QString>("value");
        // A name without a pick reads as a number; it has none, so the operator refuses it.
        QTest::newRow("name typed, no pick") << false << "HP" << "+" << "N" << "" << "";
        QTest::newRow("number after pick") << true << "12,5" << "*" << "N" << "*" << "12.5000";
        QTest::newRow("exact name after pick") << true << "HP" << "/" << "A" << "/" << "HP";
        QTest::newRow("prefix after pick") << true << "H" << "K" << "N" << "" << "";
        QTest::newRow("other case after pick") << true << "hp" << "+" << "N" << "" << "";
        // A number with letters after it is no number: refused, nothing handed back.
        QTest::newRow("number prefixed name") << true << "5HP" << "K" << "N" << "" << "";
        QTest::newRow("minus button") << false << "3" << "--" << "N" << "-" << "3.0000";
        QTest::newRow("cancel") << true << "HP" << "cancel" << "U" << "" << "";
        QTest::newRow("close box") << false << "3" << "close" << "N" << "" << "";
    }
    void arithmeticClassifiesOperand()
    {
        QFETCH(bool, pick);
        QFETCH(QString, typed);
        QFETCH(QString, button);
        QFETCH(QString, type);
        QFETCH(QString, op);
        QFETCH(QString, value);
        auto server = serverOf({"KOD", "KM", "HP"});
        COLONMATHS d(nullptr, server.get());
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        if (pick) {
            d.CBVALAP()->setCurrentIndex(0);
            emit d.CBVALAP()->activated(0);
        }
        QLineEdit *edit = d.CBVALAP()->lineEdit();
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, typed);
        if (button == QLatin1String("cancel"))
            d.cancelButton()->click();
        else if (button == QLatin1String("close"))
            d.close();
        else
            d.operatorButtonOf(button == QLatin1String("--") ? QStringLiteral("-") : button)->click();
        QCOMPARE(d.CVTYPE, type);
        QCOMPARE(d.COPERAT, op);
        QCOMPARE(d.CVALUEX, value);
    }

    void arithmeticRefusesEmptyOperand()
    {
        auto server = serverOf({"KM"});
        COLONMATHS d(nullptr, server.get());
        d.show();
        d.operatorButtonOf(QStringLiteral("+"))->click();
        QVERIFY(d.isVisible());
        QVERIFY(d.COPERAT.isEmpty());
        QCOMPARE(d.operatorButtonOf(QStringLiteral("-"))->text(), QStringLiteral("--"));
    }

    // An operand that is no number, an empty one and a division by zero are refused with the tone and a
    // word; the dialog stays open, the operand keeps its last number and nothing is handed back.
    void arithmeticRefusesWhatCannotBeDone_data()
    {
        const QString name = operandName();
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("kept");
        QTest::newRow("letters") << "" << "abc" << "+" << typedNumberRefusal(name, TypedNumberFault::NotANumber) << "";
        QTest::newRow("letters after a number") << "2" << "2x5" << "*"
                                                << typedNumberRefusal(name, TypedNumberFault::NotANumber)
                                                << "     2.0000";
        QTest::newRow("two points") << "" << "1.2.3" << "-" << typedNumberRefusal(name, TypedNumberFault::NotANumber)
                                    << "";
        QTest::newRow("empty") << "" << "" << "K" << typedNumberRefusal(name, TypedNumberFault::Empty) << "";
        QTest::newRow("divided by 0") << "" << "0" << "/" << numberOperandRefusal("/", "0") << "     0.0000";
        QTest::newRow("divided by 0,00") << "" << "0,00" << "/" << numberOperandRefusal("/", "0") << "     0.0000";
    }
    void arithmeticRefusesWhatCannotBeDone()
    {
        QFETCH(QString, first);
        QFETCH(QString, typed);
        QFETCH(QString, button);
        QFETCH(QString, word);
        QFETCH(QString, kept);
        test::ScriptedMessages messages;
        auto server = serverOf({"KM", "HP"});
        COLONMATHS d(nullptr, server.get());
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        QLineEdit *edit = d.CBVALAP()->lineEdit();
        edit->setFocus();
        if (!first.isEmpty()) {
            QTest::keyClicks(edit, first);
            d.EDITFOCUSCHANGE(); // taken as the operand, as leaving the field takes it
        }
        edit->selectAll();
        QTest::keyClicks(edit, typed);
        d.operatorButtonOf(button)->click();
        QVERIFY(d.isVisible());
        QVERIFY(d.COPERAT.isEmpty());
        QVERIFY(d.CVALUEX.isEmpty());
        QCOMPARE(d.CBVALAP()->currentText(), kept);
        QVERIFY(visibleBalloonTip());
        QCOMPARE(visibleBalloonTip()->text(), word);
        QVERIFY(!messages.toneLog().isEmpty());
    }

    void arithmeticDividesByANumberThatIsNotZero()
    {
        auto server = serverOf({"KM"});
        COLONMATHS d(nullptr, server.get());
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        d.CBVALAP()->lineEdit()->setFocus();
        QTest::keyClicks(d.CBVALAP()->lineEdit(), QStringLiteral("-0,5"));
        d.operatorButtonOf(QStringLiteral("/"))->click();
        QCOMPARE(d.COPERAT, QStringLiteral("/"));
        QCOMPARE(d.CVALUEX, QStringLiteral("-0.5000"));
    }
};

QTEST_MAIN(TestChoiceDialogs)
#include "tst_choice_dialogs.moc"
