// The ingredient-group window driven as a user would, with the member dialog and the solver scripted,
// and the two group dialogs' refusals.
#include "controls/barray_server.h"
#include "controls/bbrowser.h"
#include "controls/grid_rules.h"
#include "controls/grid_subclasses.h"
#include "controls/menu_builder.h"
#include "matrix/group_window.h"
#include "problem/open_problem.h"
#include "real_boxes.h"
#include "scripted_messages.h"
#include "shell/shell_window.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace vexo;
using namespace Qt::StringLiterals;

namespace {

// An open problem of four ingredients and no groups.
void fourIngredients()
{
    OpenProblem &p = openProblem();
    p.reset();
    for (const char *name : {"MISIR", "ARPA", "SOYA", "KEPEK"}) {
        Row row(YM_COLUMNS, QString(11, u' '));
        row[YMNAME] = QString::fromLatin1(name).leftJustified(25);
        p.AYMLIST << row;
        p.AYMADLARI << QString::fromLatin1(name);
        p.AYMSTOK << true;
    }
    p.LAMATHAZIR = true;
}

QString num(const char *t) { return QString::fromLatin1(t).rightJustified(11, u' '); }

} // namespace

class TestGroupWindow : public QObject
{
    Q_OBJECT
private slots:
    void cleanup()
    {
        BYM_GRUBU_WIN::setMemberDialog(nullptr);
        BYM_GRUBU_WIN::setSolver(nullptr);
    }

    void scriptedPass()
    {
        test::ScriptedMessages messages;
        fourIngredients();
        OpenProblem &p = openProblem();
        p.UPANODEGER = QStringLiteral("  kept");
        QList<GroupDialogResult> dialogs = {{1, QStringLiteral("G1"), {1, 2}}, {1, QStringLiteral("G2"), {1, 3}}};
        QList<bool> askedNew;
        BYM_GRUBU_WIN::setMemberDialog([&](QWidget *, std::optional<GRUP_BELIR_DLG::Existing> existing) {
            askedNew << !existing.has_value();
            return dialogs.takeFirst();
        });
        int solves = 0;
        BYM_GRUBU_WIN::setSolver([&](QWidget *) {
            ++solves;
            // The solver has committed group list in hand: two groups.
            [&] { QCOMPARE(openProblem().AYMGLIST.size(), 2); }();
            return GroupSolveResult{1, true, {{num("30.000"), num("1.250")}, {QStringLiteral("    *12.345"), num("0.500")}}};
        });

        auto *w = new BYM_GRUBU_WIN;
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        QVERIFY(w->menu()->isEnabled(30531));
        // "Grup Yem Mad. Belirle" in an empty window adds a group.
        w->GRPBELIRLE();
        w->PBEKLE();
        QCOMPARE(askedNew, QList<bool>({true, true}));
        QCOMPARE(p.AYMGADLARI, QStringList({"G1", "G2"}));
        QCOMPARE(p.AGMAT, RowList({{"1.0", "1.0", "0.0", "0.0"}, {"1.0", "0.0", "1.0", "0.0"}}));
        QVERIFY(p.LYMGDEG);
        QCOMPARE(w->server()->LASTREC(), 2);

        // A lower limit typed into G2 through the grid's edit field.
        w->server()->GOTO(2);
        w->BROWSER()->setCURRENTCOLUMN(3);
        QTest::keyClicks(w->BROWSER(), QStringLiteral("1"));
        QVERIFY(w->BROWSER()->currentEditor());
        QTest::keyClicks(w->BROWSER()->currentEditor(), QStringLiteral("x2,5"));
        QCOMPARE(w->BROWSER()->currentEditor()->text(), QStringLiteral("12,5"));
        QTest::keyClick(w->BROWSER()->currentEditor(), Qt::Key_Return);
        QTRY_COMPARE(w->server()->textAt(2, 3), num("12.500"));
        QVERIFY(w->girdeg());

        w->PBCOZUM();
        QCOMPARE(solves, 1);
        QCOMPARE(w->server()->textAt(1, 5), num("30.000"));
        QCOMPARE(w->server()->textAt(2, 5), QStringLiteral("    *12.345"));
        QCOMPARE(w->server()->textAt(2, 6), num("0.500"));
        QCOMPARE(p.AYMGLIST.at(1).at(YMGLLIMIT), num("12.500"));
        QCOMPARE(w->PBDURUM()->toolTip(), QStringLiteral("Çözüm optimum"));

        // A save while open commits and keeps the window.
        w->server()->GOTO(1);
        w->BROWSER()->setCURRENTCOLUMN(4);
        p.UPANODEGER = num("40.000");
        w->PASTE();
        w->SONKONT2();
        QCOMPARE(p.AYMGLIST.at(0).at(YMGULIMIT), num("40.000"));
        QVERIFY(w->isVisible());

        // Delete G1 after the question.
        messages.answer(MessageAnswer::Yes);
        w->server()->GOTO(1);
        w->PBSIL();
        QCOMPARE(p.AYMGADLARI, QStringList({"G2"}));
        QCOMPARE(p.AGMAT, RowList({{"1.0", "0.0", "1.0", "0.0"}}));
        QCOMPARE(w->PBDURUM()->toolTip(), QStringLiteral("Çözüm yapılmadı"));

        QPointer<BYM_GRUBU_WIN> guard(w);
        w->CLOSE();
        QTRY_VERIFY(guard.isNull());
        QCOMPARE(p.AYMGLIST.size(), 1);
        QCOMPARE(p.AYMGLIST.at(0).at(YMGNAME).trimmed(), QStringLiteral("G2"));
        QCOMPARE(p.AYMGLIST.at(0).at(YMGLLIMIT), num("12.500"));
        QVERIFY(p.UPANODEGER.has_value());
        QVERIFY(p.checkInvariants().isEmpty());
        QCOMPARE(messages.unexpectedQuestions(), 0);
    }

    // What the user types into a group's share cells, key by key: letters, a minus and a limit on
    // the wrong side of the other one are refused with a word, and the share the row had stays.
    // The next entry that goes in takes the word away.
    void refusedSharesKeepTheOldShare_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("status");
        QTest::newRow("letters") << 3 << u"abc"_s << u"10.000"_s << notANumberText();
        QTest::newRow("a minus") << 4 << u"-30"_s << u"40.000"_s
                                 << u"Üst sınır negatif olamaz: hücredeki eski değer korundu..."_s;
        QTest::newRow("a negative fixed share") << 2 << u"-5"_s << u""_s
                                                << u"Sabit pay negatif olamaz: hücredeki eski değer korundu..."_s;
        QTest::newRow("lower above upper") << 3 << u"45"_s << u"10.000"_s
                                           << lowerAboveUpperText(u"45.000"_s, u"40.000"_s);
        QTest::newRow("upper below lower") << 4 << u"5"_s << u"40.000"_s
                                           << upperBelowLowerText(u"5.000"_s, u"10.000"_s);
    }

    void refusedSharesKeepTheOldShare()
    {
        QFETCH(int, column);
        QFETCH(QString, typed);
        QFETCH(QString, before);
        QFETCH(QString, status);
        test::ScriptedMessages messages;
        SSHELLWINDOW shell;
        shell.show();
        QVERIFY(QTest::qWaitForWindowExposed(&shell));
        fourIngredients();
        OpenProblem &p = openProblem();
        p.AYMGADLARI = {"G1"};
        p.AGMAT = {Row({"1.0", "1.0", "0.0", "0.0"})};
        p.AYMGLIST = {Row(YMG_COLUMNS, QString(11, u' '))};
        p.AYMGLIST[0][YMGNAME] = QStringLiteral("G1").leftJustified(25);
        p.AYMGLIST[0][YMGLLIMIT] = num("10.000");
        p.AYMGLIST[0][YMGULIMIT] = num("40.000");
        auto *w = qobject_cast<BYM_GRUBU_WIN *>(openGroupWindow());
        QVERIFY(w);
        QTest::qWait(20);
        auto typeKeys = [&](const QString &keys) {
            w->server()->GOTO(1);
            w->BROWSER()->setCURRENTCOLUMN(column);
            w->BROWSER()->setFocus();
            QTest::keyClicks(w->BROWSER(), keys.left(1));
            QLineEdit *editor = w->BROWSER()->currentEditor();
            QVERIFY(editor);
            QTest::keyClicks(editor, keys.mid(1));
            QTest::keyClick(editor, Qt::Key_Return);
            QTest::qWait(20);
        };
        typeKeys(typed);
        QCOMPARE(w->server()->textAt(1, column).trimmed(), before);
        QCOMPARE(shell.statusText(), status);
        QCOMPARE(messages.toneLog().size(), 1);
        QVERIFY(messages.shown().isEmpty());

        typeKeys(column == 2 ? u"20"_s : u"30"_s);
        QCOMPARE(w->server()->textAt(1, column).trimmed(), column == 2 ? u"20.000"_s : u"30.000"_s);
        QCOMPARE(shell.statusText(), QString());
        shell.CLOSEWINDOWSEXIST();
    }

    void solveRefusalsAndACloseDuringTheSolve()
    {
        test::ScriptedMessages messages;
        fourIngredients();
        OpenProblem &p = openProblem();
        p.AYMGADLARI = {"G1"};
        p.AGMAT = {Row({"1.0", "1.0", "0.0", "0.0"})};
        p.AYMGLIST = {Row(YMG_COLUMNS, QString(11, u' ')), Row(YMG_COLUMNS, QString(11, u' '))};
        p.AYMGLIST[0][YMGNAME] = QStringLiteral("G1").leftJustified(25);
        int solves = 0;
        QPointer<BYM_GRUBU_WIN> w;
        BYM_GRUBU_WIN::setSolver([&](QWidget *) {
            ++solves;
            w->CLOSE(); // the main window closes its editors while the solve runs
            [&] { QVERIFY(!w.isNull() && w->isVisible()); }();
            return GroupSolveResult{1, true, {{num("5.000"), num("0.000")}}};
        });
        w = new BYM_GRUBU_WIN;
        w->show();
        w->PBCOZUM(); // two rows, one name: refused
        QCOMPARE(solves, 0);

        w->server()->GOTO(2);
        messages.answer(MessageAnswer::Yes);
        w->PBSIL(); // the row without a group goes
        p.LAMATHAZIR = false;
        w->PBCOZUM();
        QCOMPARE(solves, 0);
        p.LAMATHAZIR = true;
        w->PBCOZUM();
        QCOMPARE(solves, 1);
        QTRY_VERIFY(w.isNull());
        QCOMPARE(p.AYMGLIST.at(0).at(YMGACOZUM), num("5.000"));
    }

    void memberDialogRefusals()
    {
        test::ScriptedMessages messages;
        fourIngredients();
        OpenProblem &p = openProblem();
        p.AYMGADLARI = {"Tahıl"};
        p.AGMAT = {Row({"1.0", "0.0", "1.0000", "0.0"})};
        {
            GRUP_BELIR_DLG d(nullptr, GRUP_BELIR_DLG::Existing{1, QStringLiteral("Tahıl")});
            QCOMPARE(d.GETTOTSELNO(), 2);
            QVERIFY(!d.SLE_GADI->isEnabled());
            d.PBKAYDET(); // untouched ticks hand back nothing
            QCOMPARE(d.RESULT, 0);
            QVERIFY(d.ANSELECTED.isEmpty());
        }
        GRUP_BELIR_DLG d(nullptr, std::nullopt);
        d.show();
        d.CHKSELECT();
        d.PBKAYDET();
        QVERIFY(messages.shown().last().text.startsWith(QStringLiteral("En az iki yem maddesi bir gurup olabilir!")));
        d.BROWSER->SERVER()->GOTO(3);
        d.CHKSELECT();
        d.PBKAYDET();
        QCOMPARE(messages.shown().last().text, QStringLiteral("Grup ismi girilmedi..."));
        d.SLE_GADI->setText(QStringLiteral("Tahıl"));
        d.PBKAYDET();
        QCOMPARE(messages.shown().last().text, QStringLiteral("Grup ismi mevcut. Başka bir isim giriniz..."));
        QVERIFY(d.isVisible());
        // Leaving with two ticks asks; yes with an empty name keeps the dialog open.
        messages.answer(MessageAnswer::Yes);
        d.PBIPTAL();
        QVERIFY(d.isVisible());
        QCOMPARE(messages.shown().last().text, QStringLiteral("Grup ismi girilmedi..."));
        d.SLE_GADI->setText(QStringLiteral("Protein"));
        d.PBKAYDET();
        QCOMPARE(d.RESULT, 1);
        QCOMPARE(d.CGRPNAME, QStringLiteral("Protein"));
        QCOMPARE(d.ANSELECTED, QList<int>({1, 3}));
        QCOMPARE(messages.unexpectedQuestions(), 0);
    }

    // Leaving the member dialog with a new choice asks whether to keep it; Escape or the box's close
    // button keep the dialog with its ticks and name.
    void escapeOnTheLeavingQuestionKeepsTheChoice()
    {
        using Act = test::RealBoxes::Act;
        fourIngredients();
        for (Act act : {Act::Escape, Act::CloseButton}) {
            GRUP_BELIR_DLG d(nullptr, std::nullopt);
            d.show();
            QVERIFY(QTest::qWaitForWindowExposed(&d));
            d.CHKSELECT();
            d.BROWSER->SERVER()->GOTO(3);
            d.CHKSELECT();
            d.SLE_GADI->setText(QStringLiteral("Protein"));
            for (const bool byKey : {false, true}) {
                test::RealBoxes boxes({act});
                if (byKey)
                    QTest::keyClick(&d, Qt::Key_Escape);
                else
                    d.PBIPTAL();
                QCOMPARE(boxes.texts(), QStringList{QStringLiteral("Yeni seçim yapıldı, kaydedecek misiniz?")});
                QVERIFY(d.isVisible());
                QCOMPARE(d.GETTOTSELNO(), 2);
                QCOMPARE(d.SLE_GADI->text(), QStringLiteral("Protein"));
            }
            test::RealBoxes boxes({Act::Yes});
            d.PBIPTAL();
            QCOMPARE(d.RESULT, 1);
            QCOMPARE(d.ANSELECTED, QList<int>({1, 3}));
        }
    }

    // A group name is as long as the file keeps it, in the member dialog and in the grid, and a name
    // edited in the grid is the name the member dialog checks a new one against.
    void groupNamesHaveOneWidthAndOneSource()
    {
        test::ScriptedMessages messages;
        fourIngredients();
        OpenProblem &p = openProblem();
        {
            GRUP_BELIR_DLG d(nullptr, std::nullopt);
            d.show();
            QCOMPARE(d.SLE_GADI->maxLength(), 15);
            QTest::keyClicks(d.SLE_GADI, QStringLiteral("ABCDEFGHIJKLMNOPQRST"));
            QCOMPARE(d.SLE_GADI->text(), QStringLiteral("ABCDEFGHIJKLMNO"));
        }
        p.AYMGADLARI = {"G1"};
        p.AGMAT = {Row({"1.0", "1.0", "0.0", "0.0"})};
        p.AYMGLIST = {Row(YMG_COLUMNS, QString(11, u' '))};
        p.AYMGLIST[0][YMGNAME] = QStringLiteral("G1").leftJustified(15);
        QStringList namesSeen;
        BYM_GRUBU_WIN::setMemberDialog([&](QWidget *, std::optional<GRUP_BELIR_DLG::Existing>) {
            namesSeen = openProblem().AYMGADLARI;
            return GroupDialogResult{0, QString(), {}};
        });
        auto *w = new BYM_GRUBU_WIN;
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        w->server()->GOTO(1);
        w->BROWSER()->setCURRENTCOLUMN(1);
        w->BROWSER()->setFocus();
        QTest::keyClick(w->BROWSER(), Qt::Key_T);
        QVERIFY(w->BROWSER()->currentEditor());
        QCOMPARE(w->BROWSER()->currentEditor()->maxLength(), 15);
        w->BROWSER()->currentEditor()->selectAll();
        QTest::keyClicks(w->BROWSER()->currentEditor(), QStringLiteral("TAHIL VE BAKLAGILLER"));
        QTest::keyClick(w->BROWSER()->currentEditor(), Qt::Key_Return);
        QTRY_COMPARE(w->server()->textAt(1, 1).trimmed(), QStringLiteral("TAHIL VE BAKLAG"));
        w->PBEKLE();
        QCOMPARE(namesSeen, QStringList({"TAHIL VE BAKLAG"}));
        w->SONKONT2();
        QCOMPARE(p.AYMGLIST.at(0).at(YMGNAME).trimmed(), QStringLiteral("TAHIL VE BAKLAG"));
        QCOMPARE(p.AYMGADLARI, QStringList({"TAHIL VE BAKLAG"}));
        QPointer<BYM_GRUBU_WIN> guard(w);
        w->CLOSE();
        QTRY_VERIFY(guard.isNull());
    }

    void assignmentDialogEndsOnlyByItsButtons()
    {
        test::ScriptedMessages messages;
        fourIngredients();
        openProblem().AYMGADLARI = {"G1", "G2"};
        GRUP_ATAMA_DLG d(nullptr, QStringLiteral("SOYA"));
        QCOMPARE(d.FT_YMAD->text(), QStringLiteral("SOYA YM grubunu seçiniz"));
        QVERIFY(!(d.windowFlags() & Qt::WindowCloseButtonHint));
        d.show();
        QTest::keyClick(&d, Qt::Key_Escape);
        QVERIFY(d.isVisible());
        d.close();
        QVERIFY(d.isVisible());
        d.PBTAMAM(); // nothing chosen
        QVERIFY(d.isVisible());
        d.CB_GSEC->setCurrentIndex(1);
        d.PBTAMAM();
        QCOMPARE(d.result(), 1);
        QCOMPARE(d.NSELECTED, 2u);
        GRUP_ATAMA_DLG skip(nullptr, QStringLiteral("KEPEK"));
        skip.show();
        skip.CB_GSEC->setCurrentIndex(0);
        skip.PBATLA();
        QCOMPARE(skip.result(), 2);
        QCOMPARE(skip.NSELECTED, 0u);
    }
};

QTEST_MAIN(TestGroupWindow)
#include "tst_group_window.moc"
