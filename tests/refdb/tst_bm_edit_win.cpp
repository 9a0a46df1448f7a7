#include "refdb/bm_edit_win.h"

#include "controls/balloon_tip.h"
#include "controls/grid_subclasses.h"
#include "controls/number_field.h"
#include "problem/reference_tables.h"
#include "refdb/bm_ekle_dlg.h"
#include "real_boxes.h"
#include "refdb_root.h"
#include "scripted_messages.h"

#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QtTest>

#include <functional>

using namespace vexo;
using vexo::test::Definition;
using vexo::test::RefDbRoot;
using Act = vexo::test::RealBoxes::Act;

Q_DECLARE_METATYPE(vexo::test::RealBoxes::Act)

namespace {

QStringList abbreviations(BARRAYSERVER &s)
{
    QStringList out;
    for (int r = 1; r <= s.LASTREC(); ++r)
        out.append(s.textAt(r, 3).trimmed());
    return out;
}

void type(QLineEdit *field, const QString &text)
{
    field->setFocus();
    field->selectAll();
    // Any letter, Turkish ones included, typed as the keyboard would send it.
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, field, Qt::Key_A, QString(c), Qt::NoModifier);
}

} // namespace

class TestBmEditWin : public QObject
{
    Q_OBJECT
private slots:
    void dialogFlagsFollowTheUser()
    {
        // An existing definition: the abbreviation is locked; changing the unit alone is a change.
        BM_EKLE_DLG d(nullptr, {"Kuru Madde", "KM", "%", "    4"});
        d.show();
        QVERIFY(!d.SLE_KISALTMA->isEnabled());
        QVERIFY(!d.LBDEG && !d.LADEG); // filling in is no change
        type(d.SLE_BRIM, QStringLiteral("g/kg"));
        d.PB_OK();
        QCOMPARE(d.RESULT, 1);
        QVERIFY(d.LBDEG && !d.LADEG);
        QCOMPARE(d.SBRIM, QStringLiteral("g/kg"));
        QCOMPARE(d.SDESIM, QStringLiteral("          4"));

        // OK without a change is Cancel.
        BM_EKLE_DLG same(nullptr, {"Kuru Madde", "KM", "%", "    4"});
        same.PB_OK();
        QCOMPARE(same.RESULT, 0);
        QVERIFY(same.SBMADI.isEmpty() && same.SDESIM.isEmpty());
    }

    void blankRowNeedsAllFourAndSoundValues()
    {
        test::ScriptedMessages messages;
        BM_EKLE_DLG d(nullptr, {QString(25, u' '), QString(15, u' '), QString(11, u' '), QString(5, u' ')});
        d.show();
        QVERIFY(QTest::qWaitForWindowActive(&d) || true);
        QVERIFY(d.SLE_KISALTMA->isEnabled());
        QCOMPARE(d.SLE_KISALTMA->maxLength(), 10);
        type(d.SLE_BMADI, QStringLiteral("Çinko"));
        d.PB_OK();
        QVERIFY(d.isVisible());
        QCOMPARE(QApplication::focusWidget() == d.SLE_KISALTMA || d.focusWidget() == d.SLE_KISALTMA, true);
        QCOMPARE(messages.shown().size(), 1); // an empty field takes the focus and says why
        QCOMPARE(messages.shown()[0].text, QStringLiteral("Kısaltma girilmedi..."));
        messages.clear();
        type(d.SLE_BRIM, QStringLiteral("mg"));
        type(d.SLE_DESIM, QStringLiteral("2"));
        // Refused values are told, and the focus goes to the field to mend.
        type(d.SLE_KISALTMA, QStringLiteral("Ёж"));
        QVERIFY(d.LADEG);
        d.PB_OK();
        QVERIFY(d.isVisible());
        QCOMPARE(d.focusWidget(), d.SLE_KISALTMA);
        QCOMPARE(messages.shown().size(), 1);
        QCOMPARE(messages.shown()[0].caption, QStringLiteral("Uyarı..."));
        QVERIFY2(messages.shown()[0].text.startsWith(kAbbreviationRefused + QStringLiteral(" : ")),
                 qPrintable(messages.shown()[0].text));
        QVERIFY(messages.shown()[0].text.size() > kAbbreviationRefused.size() + 3); // the table's reason
        type(d.SLE_KISALTMA, QStringLiteral(" çinko-ön"));
        type(d.SLE_BRIM, QStringLiteral("mg"));
        QCOMPARE(d.SLE_KISALTMA->text(), QStringLiteral("CINKO_ON")); // normalised on leaving
        for (const char *bad : {"-2", "7"}) {
            messages.clear();
            type(d.SLE_DESIM, QString::fromLatin1(bad));
            d.PB_OK();
            QVERIFY2(d.isVisible(), bad);
            QCOMPARE(d.focusWidget(), d.SLE_DESIM);
            QCOMPARE(messages.shown().size(), 1);
            QCOMPARE(messages.shown()[0].text, kDecimalsRefused);
        }
        messages.clear();
        type(d.SLE_DESIM, QStringLiteral("2"));
        d.PB_OK();
        QCOMPARE(d.RESULT, 1);
        QVERIFY(d.LADEG && d.LBDEG);
        QCOMPARE(d.SKISALTMA, QStringLiteral("CINKO_ON"));
        QCOMPARE(d.SBMADI, QStringLiteral("Çinko"));
        QCOMPARE(d.SDESIM, QStringLiteral("          2"));
        QVERIFY(messages.shown().isEmpty());
    }

    void typingThenClearingKeepsTheFlagButOkStops()
    {
        test::ScriptedMessages messages;
        BM_EKLE_DLG d(nullptr, {"Yeni", "", "mg", "    1"});
        d.show();
        type(d.SLE_KISALTMA, QStringLiteral("A"));
        QTest::keyClick(d.SLE_KISALTMA, Qt::Key_Backspace);
        QVERIFY(d.LADEG);
        d.PB_OK();
        QVERIFY(d.isVisible());
        QCOMPARE(d.focusWidget(), d.SLE_KISALTMA);
        QCOMPARE(messages.shown().size(), 1);
        QCOMPARE(messages.shown()[0].text, QStringLiteral("Kısaltma girilmedi..."));
        // Enter moves the focus on.
        QTest::keyClick(d.SLE_KISALTMA, Qt::Key_Return);
        QCOMPARE(d.focusWidget(), d.SLE_BRIM);
    }

    // OK with an empty field puts the focus there and says which field it waits for.
    void okSaysWhichFieldIsEmpty_data()
    {
        QTest::addColumn<int>("empty");
        QTest::addColumn<QString>("word");
        QTest::newRow("name") << 0 << "Besin maddesi adı girilmedi...";
        QTest::newRow("abbreviation") << 1 << "Kısaltma girilmedi...";
        QTest::newRow("unit") << 2 << "Birim girilmedi...";
        QTest::newRow("decimals") << 3 << "Desimal hane sayısı girilmedi...";
    }
    void okSaysWhichFieldIsEmpty()
    {
        QFETCH(int, empty);
        QFETCH(QString, word);
        test::ScriptedMessages messages;
        BM_EKLE_DLG d(nullptr, {QString(25, u' '), QString(15, u' '), QString(11, u' '), QString(5, u' ')});
        d.show();
        QLineEdit *fields[] = {d.SLE_BMADI, d.SLE_KISALTMA, d.SLE_BRIM, d.SLE_DESIM};
        const char *values[] = {"Çinko", "ZN", "mg", "2"};
        for (int i = 0; i < 4; ++i) {
            if (i != empty)
                type(fields[i], QString::fromUtf8(values[i]));
        }
        d.PB_OK();
        QVERIFY(d.isVisible());
        QCOMPARE(d.focusWidget(), fields[empty]);
        QCOMPARE(messages.shown().size(), 1);
        QCOMPARE(messages.shown()[0].caption, QStringLiteral("Uyarı..."));
        QCOMPARE(messages.shown()[0].text, word);
    }

    // A number of places that is none is refused in place with the tone and a word, and the field keeps
    // the number it had; the OK right after a refusal on leaving ends nothing.
    void decimalsThatAreNoneKeepTheLastOne_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("paste");
        QTest::addColumn<bool>("atKeystroke");
        QTest::addColumn<QString>("word");
        const QString chars = numberCharactersText(BM_EKLE_DLG::fieldName(3), false);
        QTest::newRow("letters") << "abc" << false << true << chars;
        QTest::newRow("pasted 2x") << "2x" << true << true << chars;
        QTest::newRow("negative") << "-1" << false << false << kDecimalsRefused;
        QTest::newRow("too many") << "7" << false << false << kDecimalsRefused;
        QTest::newRow("a fraction") << "1.5" << false << false << kDecimalsRefused;
        QTest::newRow("two points") << "1.2.3" << false << false << kDecimalsRefused;
    }
    void decimalsThatAreNoneKeepTheLastOne()
    {
        QFETCH(QString, typed);
        QFETCH(bool, paste);
        QFETCH(bool, atKeystroke);
        QFETCH(QString, word);
        test::ScriptedMessages messages;
        BM_EKLE_DLG d(nullptr, {"Kuru Madde", "KM", "%", "    4"});
        d.show();
        QApplication::setActiveWindow(&d);
        d.SLE_DESIM->setFocus();
        d.SLE_DESIM->selectAll();
        if (paste) {
            QApplication::clipboard()->setText(typed);
            d.SLE_DESIM->paste();
        } else {
            QTest::keyClicks(d.SLE_DESIM, typed);
        }
        if (atKeystroke) {
            QCOMPARE(d.SLE_DESIM->text(), QStringLiteral("    4"));
            QVERIFY(visibleBalloonTip());
            QCOMPARE(visibleBalloonTip()->text(), word);
        }
        d.SLE_BRIM->setFocus(); // leaving the field
        QCOMPARE(d.SLE_DESIM->text().trimmed(), QStringLiteral("4"));
        if (!atKeystroke) {
            QVERIFY(visibleBalloonTip());
            QCOMPARE(visibleBalloonTip()->text(), word);
            d.PB_OK();
            QVERIFY(d.isVisible());
            QCOMPARE(d.focusWidget(), d.SLE_DESIM);
        }
        QVERIFY(!messages.toneLog().isEmpty());
        QVERIFY(messages.shown().isEmpty()); // told in place, no box
        type(d.SLE_DESIM, QStringLiteral("2"));
        d.PB_OK();
        QCOMPARE(d.RESULT, 1);
        QCOMPARE(d.SDESIM, QStringLiteral("          2"));
    }

    void scriptedPass()
    {
        RefDbRoot root;
        test::ScriptedMessages messages;
        QVERIFY(root.writeDefinitions({{"Kuru Madde", "KM", "%", 4}, {"Ham protein", "HP", "%", 2},
                                       {"Kalsiyum", "CA", "%", 3}, {"Fosfor", "P", "%", 3}}));
        QVERIFY(root.writeMatrix({"KM", "HP", "CA", "P"}, 3));
        referenceTables().ABMDESC.clear();
        BM_EDIT_WIN w(nullptr);
        QVERIFY(w.opened());
        w.setDialogRunner([](BM_EKLE_DLG &d) {
            d.show();
            type(d.SLE_BMADI, QStringLiteral("Lizin"));
            type(d.SLE_KISALTMA, QStringLiteral("lizin"));
            type(d.SLE_BRIM, QStringLiteral("%"));
            type(d.SLE_DESIM, QStringLiteral("3"));
            d.PB_OK();
        });
        w.show();
        BARRAYSERVER &s = w.rows()->server();
        QCOMPARE(w.grid()->CURRENTCOLUMN(), 2);

        w.addButton->click();                         // add
        QCOMPARE(s.RECNO(), 5);
        QTest::keyClick(w.grid(), Qt::Key_Return);    // fill
        QCOMPARE(abbreviations(s), QStringList({"KM", "HP", "CA", "P", "LIZIN"}));

        s.GOTO(5);                                    // move LIZIN before HP
        w.BMSSEC();
        QVERIFY(w.kaydirAction()->isEnabled());
        s.GOTO(2);
        w.BMSKAYDIR();
        QVERIFY(!w.kaydirAction()->isEnabled());
        QCOMPARE(abbreviations(s), QStringList({"KM", "LIZIN", "HP", "CA", "P"}));

        s.GOTO(4);                                    // delete CA
        messages.answer(MessageAnswer::Yes);
        messages.answer(MessageAnswer::Yes);
        w.deleteButton->click();
        QCOMPARE(abbreviations(s), QStringList({"KM", "LIZIN", "HP", "P"}));

        // Under a real display a picture of the editor can be kept for looking at.
        if (const QString dir = qEnvironmentVariable("VEXO_SCREENSHOT_DIR"); !dir.isEmpty())
            w.grab().save(dir + QStringLiteral("/bm_edit_win.png"));
        w.saveButton->click();                        // save
        QVERIFY(!w.isVisible());
        DbfTable matrix(root.path(kReferenceMatrixFile), true, true);
        QCOMPARE(matrix.dbStruct().size(), 8);
        QStringList columns;
        for (const DbfField &f : matrix.dbStruct())
            columns << f.name;
        QCOMPARE(columns, QStringList({"KOD", "YM_ADI", "FIATI", "GRUBU", "KM", "LIZIN", "HP", "P"}));
        QCOMPARE(matrix.lastRec(), 3u);
        QCOMPARE(messages.unexpectedQuestions(), 0);
        // The saved definitions' decimals reach the editors at once.
        QCOMPARE(nutrientDecimals(QStringLiteral("LIZIN")), 3);
        QCOMPARE(nutrientDecimals(QStringLiteral("HP")), 2);
        QCOMPARE(nutrientDecimals(QStringLiteral("CA")), 4);
        referenceTables().ABMDESC.clear();
    }

    // The editor opens wide enough for all five columns, "Birim" and "Desimal" too.
    void theEditorOpensWideEnoughForItsColumns()
    {
        RefDbRoot root;
        test::ScriptedMessages messages;
        QVERIFY(root.writeDefinitions({{"Kuru Madde", "KM", "%", 4}, {"Ham protein", "HP", "%", 2}}));
        QVERIFY(root.writeMatrix({"KM", "HP"}, 2));
        BM_EDIT_WIN w(nullptr);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        BCLASSBROWSER *grid = w.grid();
        QCOMPARE(grid->COLUMNCOUNT(), 5);
        int columns = 0;
        for (int c = 0; c < grid->COLUMNCOUNT(); ++c)
            columns += grid->columnWidth(c);
        QVERIFY2(columns <= grid->viewport()->width(),
                 qPrintable(QStringLiteral("%1 > %2").arg(columns).arg(grid->viewport()->width())));
        QCOMPARE(grid->horizontalScrollBar()->maximum(), 0);
    }

    // After "Ekle" scrolls to the new last row, the frozen "No" column stands level with it.
    void frozenNumbersStayLevelAfterAnAdd()
    {
        RefDbRoot root;
        test::ScriptedMessages messages;
        QList<Definition> definitions;
        QStringList names;
        for (int i = 1; i <= 30; ++i) {
            definitions.append({QStringLiteral("Madde %1").arg(i), QStringLiteral("M%1").arg(i), QStringLiteral("%"), 2});
            names << QStringLiteral("M%1").arg(i);
        }
        QVERIFY(root.writeDefinitions(definitions));
        QVERIFY(root.writeMatrix(names, 2));
        BM_EDIT_WIN w(nullptr);
        QVERIFY(w.opened());
        w.resize(520, 320);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto *frozen = w.grid()->findChild<QTableView *>();
        QVERIFY(frozen && frozen->isVisible());
        w.addButton->click();
        QTest::qWait(50);
        BARRAYSERVER &s = w.rows()->server();
        QCOMPARE(s.RECNO(), 31);
        QVERIFY(w.grid()->verticalScrollBar()->value() > 0);
        QCOMPARE(frozen->verticalScrollBar()->value(), w.grid()->verticalScrollBar()->value());
        const QModelIndex current = w.grid()->currentIndex();
        QCOMPARE(current.row(), 30);
        const QPoint inGrid = w.grid()->visualRect(current).center();
        const QPoint inStrip = frozen->viewport()->mapFromGlobal(w.grid()->viewport()->mapToGlobal(QPoint(5, inGrid.y())));
        QCOMPARE(frozen->indexAt(inStrip).row(), 30);
    }

    void escapeOnTheSaveQuestionKeepsTheEditor_data()
    {
        QTest::addColumn<Act>("act");
        QTest::newRow("Escape") << Act::Escape;
        QTest::newRow("close button") << Act::CloseButton;
    }

    // Leaving with changed definitions asks to save; Escape or the box's close button keep the
    // editor open with its rows and write nothing, whether it was left by "Çıkış", Escape or its
    // close box.
    void escapeOnTheSaveQuestionKeepsTheEditor()
    {
        QFETCH(Act, act);
        RefDbRoot root;
        QVERIFY(root.writeDefinitions({{"Kuru Madde", "KM", "%", 4}, {"Ham protein", "HP", "%", 2}}));
        QVERIFY(root.writeMatrix({"KM", "HP"}, 2));
        const QByteArray defs = root.bytes(kNutrientDefinitionFile);
        BM_EDIT_WIN w(nullptr);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        {
            test::ScriptedMessages messages;
            w.rows()->server().GOTO(2);
            messages.answer(MessageAnswer::Yes);
            messages.answer(MessageAnswer::Yes);
            w.PBSIL();
        }
        QVERIFY(w.rows()->BMCHANGE);
        const int rows = w.rows()->server().LASTREC();
        for (const auto &leave : {std::function<void()>([&] { w.PBCIKIS(); }),
                                  std::function<void()>([&] { QTest::keyClick(&w, Qt::Key_Escape); }),
                                  std::function<void()>([&] { w.close(); })}) {
            test::RealBoxes boxes({act});
            leave();
            QCOMPARE(boxes.texts(), QStringList{QStringLiteral("Besin maddesi tanımları değişti.\n\nKaydetmek istiyor musunuz?")});
            QCOMPARE(boxes.unexpected(), 0);
            QVERIFY(w.isVisible());
            QVERIFY(w.rows()->BMCHANGE);
            QCOMPARE(w.rows()->server().LASTREC(), rows);
            QCOMPARE(root.bytes(kNutrientDefinitionFile), defs);
        }
        test::RealBoxes boxes({Act::No});
        w.PBCIKIS();
        QVERIFY(!w.isVisible());
        QCOMPARE(root.bytes(kNutrientDefinitionFile), defs);
    }

    void failedSaveKeepsTheEditorOpen()
    {
        RefDbRoot root;
        test::ScriptedMessages messages;
        QVERIFY(root.writeDefinitions({{"Kuru Madde", "KM", "%", 4}, {"Ham protein", "HP", "%", 2}}));
        QVERIFY(root.writeMatrix({"KM", "HP"}, 2));
        const QByteArray defs = root.bytes(kNutrientDefinitionFile);
        BM_EDIT_WIN w(nullptr);
        w.show();
        w.rows()->server().GOTO(2);
        messages.answer(MessageAnswer::Yes);
        messages.answer(MessageAnswer::Yes);
        w.PBSIL();
        w.setRebuildFault([](RebuildStep s) { return s == RebuildStep::Replace; });
        w.PBKAYDET();
        QVERIFY(w.isVisible());
        QVERIFY(w.rows()->BMCHANGE && w.rows()->ALAN3DEG);
        QCOMPARE(root.bytes(kNutrientDefinitionFile), defs);
        QCOMPARE(messages.shown().last().text, kRebuildReplaceFailed);
        // Closing now asks, and No leaves everything as it was.
        messages.answer(MessageAnswer::No);
        w.PBCIKIS();
        QVERIFY(!w.isVisible());
        QCOMPARE(root.bytes(kNutrientDefinitionFile), defs);
    }
};

QTEST_MAIN(TestBmEditWin)
#include "tst_bm_edit_win.moc"
