#include "controls/grid_subclasses.h"
#include "controls/menu_builder.h"
#include "matrix/bamat_gir_win.h"
#include "matrix/matrix_dialogs.h"
#include "problem/number_text.h"
#include "problem/open_problem.h"
#include "scripted_messages.h"

#include <QScrollBar>
#include <QTableView>
#include <QtTest>

using namespace vexo;

namespace {

QString cell(double v)
{
    return Str(v, 11, 4);
}

// Answers the linking's three questions from a script and records what was offered.
struct ScriptedMatrixDialogs : MatrixDialogs
{
    int choice = 0;
    QString value;
    QList<int> many;
    QStringList offeredMacros, offeredLinked;
    QString prompt, given;
    int asked = 0;
    int choose(QWidget *, const QString &, const QStringList &items) override
    {
        ++asked;
        offeredMacros = items;
        return choice;
    }
    QString askValue(QWidget *, const QString &p, const QString &v) override
    {
        ++asked;
        prompt = p;
        given = v;
        return value.isNull() ? v : value;
    }
    QList<int> chooseMany(QWidget *, const QString &, const QStringList &items) override
    {
        ++asked;
        offeredLinked = items;
        return many;
    }
};

void fillProblem()
{
    OpenProblem &p = openProblem();
    p.reset();
    p.AYMADLARI = {"MISIR                    ", "SOYA KUSPESI 44          "};
    p.ABMADLARI = {"AĞIRLIK", "KM", "HP", "CA", "P"};
    p.ABMBIRIMLERI = {"", "%", "%", "%", ""};
    p.AAMAT = {{cell(1), cell(1)},
               {cell(2), cell(88)},
               {cell(0.4), cell(44)},
               {cell(1), cell(0.3)},
               {"           ", cell(0.6)}};
    p.LAMATDEG = false;
    p.UPANODEGER.reset();
}

void typeInCell(BAMAT_GIR_WIN &w, int recNo, int column, const QString &text)
{
    w.server()->GOTO(recNo);
    w.BROWSER()->setCURRENTCOLUMN(column);
    w.BROWSER()->setFocus();
    QTest::keyClick(w.BROWSER(), text.at(0).toLatin1());
    auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    QVERIFY(editor);
    QTest::keyClicks(editor, text.mid(1));
    QCOMPARE(editor->text(), CHGALPHA1(text)); // letters vanish as they are typed
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents(); // the grid stores the edit on the next pass
}

} // namespace

class TestActiveMatrix : public QObject
{
    Q_OBJECT
private slots:
    void init() { fillProblem(); }
    void cleanup() { setMatrixDialogs(nullptr); }

    void buildsRowsAndCaptions()
    {
        BAMAT_GIR_WIN w;
        QCOMPARE(w.windowTitle(), kActiveMatrixCaption);
        QCOMPARE(w.objectName(), QStringLiteral("BAMAT_GIR_WIN"));
        QCOMPARE(w.server()->textAt(2, 1).trimmed(), QStringLiteral("KM, %"));
        QCOMPARE(w.server()->textAt(5, 1).trimmed(), QStringLiteral("P"));
        QCOMPARE(w.BROWSER()->GETCOLUMN(1)->SELECTABLE(), false);
        QCOMPARE(w.BROWSER()->GETCOLUMN(3)->CAPTION(), QStringLiteral("SOYA\r\nKUSPESI 44"));
        QCOMPARE(w.BROWSER()->CURRENTCOLUMN(), 2);
        QCOMPARE(w.BROWSER()->FREEZE(), 1);
        QCOMPARE(w.childMenu()->table().name, QStringLiteral("AMAT_GIRMENU"));
        QCOMPARE(w.contextMenu()->table().rows.size(), std::size_t(6));
    }

    void openAndCloseWithoutEditChangesNothing()
    {
        const RowList before = openProblem().AAMAT;
        openProblem().UPANODEGER = cell(5);
        {
            auto *w = new BAMAT_GIR_WIN;
            w->show();
            w->CLOSE();
        }
        QCoreApplication::processEvents();
        QCOMPARE(openProblem().AAMAT, before);
        QVERIFY(!openProblem().LAMATDEG);
        QVERIFY(!openProblem().UPANODEGER.has_value());
    }

    void scriptedEditsThenSaveKeepsTheWindow()
    {
        BAMAT_GIR_WIN w;
        w.resize(700, 400);
        w.show();
        QApplication::setActiveWindow(&w);
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        typeInCell(w, 3, 2, QStringLiteral("12,5x"));
        QVERIFY(w.girdeg());
        QCOMPARE(w.server()->textAt(3, 2), QStringLiteral("    12.5000"));
        // Copy from one cell, paste into another; the name column takes neither.
        w.server()->GOTO(2);
        w.BROWSER()->setCURRENTCOLUMN(3);
        w.COPY();
        QCOMPARE(openProblem().UPANODEGER.value_or(QString()), cell(88));
        w.server()->GOTO(5);
        w.BROWSER()->setCURRENTCOLUMN(2);
        w.PASTE();
        QCOMPARE(w.server()->textAt(5, 2), cell(88));
        openProblem().UPANODEGER = QStringLiteral("abc");
        w.server()->GOTO(4);
        w.PASTE();
        QCOMPARE(w.server()->textAt(4, 2), cell(1));
        w.FDELETE();
        QCOMPARE(w.server()->textAt(4, 2), QStringLiteral("           "));

        w.SONKONT2();
        QVERIFY(!w.girdeg());
        QVERIFY(w.isVisible());
        QVERIFY(openProblem().LAMATDEG);
        QVERIFY(!openProblem().UPANODEGER.has_value());
        const RowList &m = openProblem().AAMAT;
        QCOMPARE(m.size(), 5);
        for (const Row &r : m)
            QCOMPARE(r.size(), 2);
        QCOMPARE(m[2][0], QStringLiteral("    12.5000"));
        QCOMPARE(m[4][0], cell(88));
        QCOMPARE(m[3][0], QStringLiteral("           "));
        QCOMPARE(m[1][1], cell(88));
    }

    void linkingScalesTheCurrentColumn()
    {
        ScriptedMatrixDialogs dialogs;
        setMatrixDialogs(&dialogs);
        dialogs.choice = 1;             // KM
        dialogs.value = QStringLiteral("     3.0000");
        dialogs.many = {1, 2, 3};       // HP, CA, P
        BAMAT_GIR_WIN w;
        w.BROWSER()->setCURRENTCOLUMN(2);
        w.BMBAGLA();
        QCOMPARE(dialogs.offeredMacros, (QStringList{"KM", "HP", "CA", "P"}));
        QCOMPARE(dialogs.offeredLinked, (QStringList{"HP", "CA", "P"}));
        QCOMPARE(dialogs.prompt, QStringLiteral("MISIR->KM Değerini Giriniz:"));
        QCOMPARE(dialogs.given, cell(2));
        QCOMPARE(w.server()->textAt(2, 2), QStringLiteral("     3.0000"));
        QCOMPARE(w.server()->textAt(3, 2), QStringLiteral("     0.6000"));
        QCOMPARE(w.server()->textAt(4, 2), QStringLiteral("     1.5000"));
        QCOMPARE(w.server()->textAt(5, 2), QStringLiteral("     0.0000"));
        QCOMPARE(w.server()->textAt(3, 3), cell(44)); // other column untouched
        QVERIFY(openProblem().LAMATDEG);              // before any commit
        QVERIFY(w.girdeg());
        QCOMPARE(openProblem().AAMAT[2][0], cell(0.4));
    }

    void linkingStopsQuietly_data()
    {
        QTest::addColumn<int>("choice");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QList<int>>("many");
        QTest::addColumn<int>("asked");
        QTest::newRow("no macro") << 0 << QString() << QList<int>{1} << 1;
        QTest::newRow("value cancelled") << 1 << QString() << QList<int>{1} << 2;
        QTest::newRow("value unchanged") << 1 << cell(2) << QList<int>{1} << 2;
        QTest::newRow("no linked") << 1 << cell(3) << QList<int>{} << 3;
    }
    void linkingStopsQuietly()
    {
        QFETCH(int, choice);
        QFETCH(QString, value);
        QFETCH(QList<int>, many);
        QFETCH(int, asked);
        ScriptedMatrixDialogs dialogs;
        setMatrixDialogs(&dialogs);
        dialogs.choice = choice;
        dialogs.value = value;
        dialogs.many = many;
        BAMAT_GIR_WIN w;
        const auto before = w.server()->textRows();
        w.BMBAGLA();
        QCOMPARE(dialogs.asked, asked);
        QCOMPARE(w.server()->textRows(), before);
        QVERIFY(!w.girdeg());
        QVERIFY(!openProblem().LAMATDEG);
    }

    void fullSizeMatrixCommitsItsShape()
    {
        OpenProblem &p = openProblem();
        p.AYMADLARI.clear();
        p.ABMADLARI.clear();
        p.ABMBIRIMLERI.clear();
        p.AAMAT.clear();
        for (int i = 1; i <= kMaxIngredients; ++i)
            p.AYMADLARI.append(QStringLiteral("YEM %1 KIRMA").arg(i).leftJustified(25));
        for (int j = 1; j <= 60; ++j) {
            p.ABMADLARI.append(j == 1 ? QStringLiteral("KM") : QStringLiteral("BM%1").arg(j));
            p.ABMBIRIMLERI.append(QStringLiteral("%"));
            Row row;
            for (int i = 1; i <= kMaxIngredients; ++i)
                row.append(cell((i * 7 + j) % 100 / 10.0));
            p.AAMAT.append(row);
        }
        const RowList before = p.AAMAT;
        QElapsedTimer timer;
        timer.start();
        auto *w = new BAMAT_GIR_WIN;
        w->resize(1200, 900);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        const qint64 opened = timer.restart();
        w->server()->GOTO(60);
        w->BROWSER()->setCURRENTCOLUMN(86);
        w->FDELETE();
        w->SONKONT2();
        const qint64 committed = timer.elapsed();
        qInfo("85 x 60: opened in %lld ms, committed in %lld ms", opened, committed);
        // The frozen name column stays level with the rows at the bottom of a long matrix.
        QCoreApplication::processEvents();
        for (auto *frozen : w->BROWSER()->findChildren<QTableView *>()) {
            QCOMPARE(frozen->verticalScrollBar()->value(), w->BROWSER()->verticalScrollBar()->value());
            QCOMPARE(frozen->rowAt(frozen->viewport()->height() - 2), w->BROWSER()->rowAt(w->BROWSER()->viewport()->height() - 2));
        }
        if (const QByteArray shot = qgetenv("VEXO_MATRIX_SHOT"); !shot.isEmpty()) {
            w->grab().save(QString::fromLocal8Bit(shot));
        }
        QCOMPARE(p.AAMAT.size(), 60);
        QCOMPARE(p.AAMAT[59].size(), kMaxIngredients);
        QCOMPARE(p.AAMAT[59][kMaxIngredients - 1], QStringLiteral("           "));
        p.AAMAT[59][kMaxIngredients - 1] = before[59][kMaxIngredients - 1];
        QCOMPARE(p.AAMAT, before);
        w->CLOSE();
    }

    void linkingThatDoesNotFitChangesNothing()
    {
        test::ScriptedMessages messages;
        ScriptedMatrixDialogs dialogs;
        setMatrixDialogs(&dialogs);
        openProblem().AAMAT[1][0] = cell(0.0001);
        openProblem().AAMAT[2][0] = cell(500);
        dialogs.choice = 1;
        dialogs.value = QStringLiteral("  9000.0000");
        dialogs.many = {1};
        BAMAT_GIR_WIN w;
        const auto before = w.server()->textRows();
        w.BMBAGLA();
        QCOMPARE(messages.shown().size(), 1);
        QCOMPARE(w.server()->textRows(), before);
        QVERIFY(!openProblem().LAMATDEG);
    }
};

QTEST_MAIN(TestActiveMatrix)
#include "tst_active_matrix.moc"
