#include "controls/barray_server.h"
#include "controls/grid_subclasses.h"
#include "platform/dbf_filespec.h"
#include "problem/app_globals.h"
#include "problem/dbserverr.h"
#include "problem/open_problem.h"
#include "problem/reference_tables.h"
#include "refdb/ingredient_add_dialog.h"
#include "refdb/nutrient_add_dialog.h"
#include "platform/message_sink.h"
#include "real_boxes.h"
#include "scripted_messages.h"
#include "spreadsheet_dbf.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

using namespace vexo;
using Act = vexo::test::RealBoxes::Act;

namespace {

struct Ingredient { QString name, group; };

void writeReference(const QString &folder, const QList<Ingredient> &ingredients)
{
    const QString path = QDir(folder).filePath("MATNRC6.DBF");
    QFile::remove(path);
    QVERIFY(DbfFileSpec(path).create({{"KOD", u'N', 5, 0}, {"YM_ADI", u'C', 25, 0}, {"FIATI", u'C', 11, 0},
                                      {"GRUBU", u'C', 11, 0}, {"KM", u'C', 11, 0}, {"HP", u'C', 11, 0}}));
    DBSERVERR t(path, false, false);
    int n = 0;
    for (const Ingredient &i : ingredients) {
        QVERIFY(t.append());
        t.fieldPut("KOD", ++n);
        t.fieldPut("YM_ADI", i.name);
        t.fieldPut("GRUBU", i.group);
        t.fieldPut("KM", QString::number(n).rightJustified(11));
        t.fieldPut("HP", QStringLiteral("1.5").rightJustified(11));
    }
    t.commit();
    t.close();
    const QString defs = QDir(folder).filePath("VMKBMDESC.DBF");
    QFile::remove(defs);
    QVERIFY(DbfFileSpec(defs).create(nutrientDefinitionStructure()));
    DBSERVERR d(defs, false, false);
    const QList<std::pair<QString, QString>> rows = {{"KM", "%"}, {"HP", "% HP"}};
    for (const auto &[abbreviation, unit] : rows) {
        QVERIFY(d.append());
        d.fieldPut("ABRRE", abbreviation);
        d.fieldPut("UNIT", unit);
    }
    d.commit();
    d.close();
}

const QList<Ingredient> kTurkishNames = {{"ZEYTIN", "A"}, {"IRMIK", "A"}, {"İNCİR", "B"}, {"ARPA", "A"},
                                         {"ÇAYIR", "B"}, {"", "C"}};

QString currentName(DATADLGSENSITIVESEARCH &d)
{
    BARRAYSERVER *s = d.BROWSER->SERVER();
    return s->textAt(s->RECNO(), 3).trimmed();
}

void showAll(DATADLGSENSITIVESEARCH &d)
{
    d.CBGROUPS->setCurrentIndex(1);
    QCoreApplication::processEvents();
}

void type(QWidget *w, const QString &text)
{
    // Character by character with its text, as a keyboard of any layout delivers it.
    for (QChar ch : text) {
        QTest::sendKeyEvent(QTest::Press, w, Qt::Key(ch.toUpper().unicode()), QString(ch), Qt::NoModifier);
        QCoreApplication::processEvents();
        w = QApplication::focusWidget() ? QApplication::focusWidget() : w;
    }
}

} // namespace

class TestReferenceAddDialogs : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;

private slots:
    void init()
    {
        openProblem().reset();
        appGlobals().CVERIKOK = m_dir.path();
        writeReference(m_dir.path(), kTurkishNames);
    }
    void cleanup() { openProblem().reset(); }

    // While an addition runs no other window of the program takes input, so no other editor can be
    // opened or edited with a copy of the lists the addition is changing.
    void bothAddDialogsBlockEveryOtherWindow()
    {
        test::ScriptedMessages messages;
        {
            DATADLGSENSITIVESEARCH ingredients(nullptr);
            QVERIFY(ingredients.opened());
            QCOMPARE(ingredients.windowModality(), Qt::ApplicationModal);
        }
        BBESMADEKLE_DLG nutrients(nullptr);
        QVERIFY(nutrients.opened());
        QCOMPARE(nutrients.windowModality(), Qt::ApplicationModal);
    }

    void groupsAndAlphabeticalList()
    {
        test::ScriptedMessages messages;
        DATADLGSENSITIVESEARCH d(nullptr);
        QVERIFY(d.opened());
        QStringList groups;
        for (int i = 0; i < d.CBGROUPS->count(); ++i)
            groups << d.CBGROUPS->itemText(i).trimmed();
        QCOMPARE(groups, (QStringList{"< Bir YM grubu seçiniz >", "HEPSİ", "A", "B", "C"}));
        QCOMPARE(d.BROWSER->SERVER()->LASTREC(), 0);
        showAll(d);
        BARRAYSERVER *s = d.BROWSER->SERVER();
        QStringList names;
        for (int pos = 1; pos <= s->shownCount(); ++pos)
            names << s->textAt(s->recNoAt(pos), 3).trimmed();
        QCOMPARE(names, (QStringList{"ARPA", "IRMIK", "ZEYTIN", "ÇAYIR", "İNCİR"}));
        QCOMPARE(s->textAt(s->recNoAt(1), 2), QStringLiteral("  4"));
        d.CBGROUPS->setCurrentIndex(3); // B
        // The refill waits until the combo has finished with its own change.
        QCOMPARE(d.BROWSER->SERVER()->LASTREC(), 5);
        QCoreApplication::processEvents();
        QCOMPARE(d.BROWSER->SERVER()->LASTREC(), 2);
        QCOMPARE(d.BROWSER->CURRENTCOLUMN(), 3);
        d.CBGROUPS->setCurrentIndex(4); // C: its only record has no name
        QCoreApplication::processEvents();
        QCOMPARE(d.BROWSER->SERVER()->LASTREC(), 0);
    }

    // A spreadsheet's decimal comma shows as the price the addition brings in; a text that is no
    // number shows as it stands.
    void listShowsSpreadsheetPricesAsTheProgramsOwn()
    {
        test::ScriptedMessages messages;
        QVERIFY(test::writeSpreadsheetDbf(QDir(m_dir.path()).filePath(QStringLiteral("MATNRC6.DBF")),
                                          test::sheetMatrixFields({"KM"}),
                                          {{"1", "İSPANAKÇIK", "0,425", "A", "77,5"}, {"2", "ARPA", "abc", "A", "89"}}));
        DATADLGSENSITIVESEARCH d(nullptr);
        QVERIFY(d.opened());
        showAll(d);
        BARRAYSERVER *s = d.BROWSER->SERVER();
        QCOMPARE(s->shownCount(), 2);
        QCOMPARE(s->textAt(s->recNoAt(1), 4).trimmed(), QStringLiteral("abc"));
        QCOMPARE(s->textAt(s->recNoAt(2), 4), QStringLiteral("      0.425"));
    }

    void typeAheadFindsTurkishLetters_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("found");
        QTest::newRow("i") << "i" << "İNCİR";
        QTest::newRow("ı") << "ı" << "IRMIK";
        QTest::newRow("İ") << "İ" << "İNCİR";
        QTest::newRow("I") << "I" << "IRMIK";
        QTest::newRow("çay") << "çay" << "ÇAYIR";
    }
    void typeAheadFindsTurkishLetters()
    {
        QFETCH(QString, typed);
        QFETCH(QString, found);
        test::ScriptedMessages messages;
        DATADLGSENSITIVESEARCH d(nullptr);
        d.show();
        showAll(d);
        QVERIFY(!d.searchOpen());
        type(d.BROWSER, typed);
        QVERIFY(d.searchOpen());
        QCOMPARE(d.SEARCHFIELD->text(), typed);
        QTest::keyClick(d.SEARCHFIELD, Qt::Key_Return);
        QCOMPARE(currentName(d), found);
        QVERIFY(messages.toneLog().isEmpty());
        QVERIFY(d.searchOpen());
    }

    void searchKeysAndMisses()
    {
        test::ScriptedMessages messages;
        DATADLGSENSITIVESEARCH d(nullptr);
        d.show();
        showAll(d);
        d.BROWSER->setCURRENTCOLUMN(2); // Kod: names are searched all the same
        type(d.BROWSER, "ze");
        QTest::keyClick(d.SEARCHFIELD, Qt::Key_Return);
        QCOMPARE(currentName(d), QStringLiteral("ZEYTIN"));
        QTest::keyClick(d.SEARCHFIELD, Qt::Key_Backspace);
        QCOMPARE(d.SEARCHFIELD->text(), QStringLiteral("ze"));
        QTest::keyClick(d.SEARCHFIELD, Qt::Key_Up);
        QCOMPARE(currentName(d), QStringLiteral("IRMIK"));
        QTest::keyClick(d.SEARCHFIELD, Qt::Key_Return); // nothing typed: stays
        QCOMPARE(currentName(d), QStringLiteral("IRMIK"));
        QVERIFY(messages.toneLog().isEmpty());
        QTest::keyClick(d.SEARCHFIELD, Qt::Key_Escape);
        QVERIFY(!d.searchOpen());

        // A leading blank keeps its place in the text and finds nothing.
        d.BROWSER->setFocus();
        type(d.BROWSER, " a");
        QCOMPARE(d.SEARCHFIELD->text(), QStringLiteral(" a"));
        QTest::keyClick(d.SEARCHFIELD, Qt::Key_Return);
        QCOMPARE(messages.toneLog().size(), 1);
        QVERIFY(d.searchOpen());
    }

    void searchFieldKeepsTabAndPassesEditingKeys()
    {
        test::ScriptedMessages messages;
        DATADLGSENSITIVESEARCH d(nullptr);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        showAll(d);
        type(d.BROWSER, "ar");
        QTest::keyClick(d.SEARCHFIELD, Qt::Key_Tab);
        QTest::keyClick(d.SEARCHFIELD, Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(d.SEARCHFIELD));
        QVERIFY(d.searchOpen());
        QTest::keyClick(d.SEARCHFIELD, Qt::Key_Return);
        QCOMPARE(currentName(d), QStringLiteral("ARPA"));
        // Left and Delete reach the field ("ar" -> "r"); the changed text is searched anew.
        QTest::keyClick(d.SEARCHFIELD, Qt::Key_Home);
        QTest::keyClick(d.SEARCHFIELD, Qt::Key_Delete);
        QCOMPARE(d.SEARCHFIELD->text(), QStringLiteral("r"));
        QTest::keyClick(d.SEARCHFIELD, Qt::Key_Return);
        QCOMPARE(messages.toneLog().size(), 1); // no name begins with R
        // Ctrl+V is a control character the field never gets.
        QTest::keyClick(d.SEARCHFIELD, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(d.SEARCHFIELD->text(), QStringLiteral("r"));
    }

    void typingAnotherLetterSearchesFromTheTop()
    {
        test::ScriptedMessages messages;
        DATADLGSENSITIVESEARCH d(nullptr);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        showAll(d);
        type(d.BROWSER, "i");
        QTest::keyClick(d.SEARCHFIELD, Qt::Key_Return);
        QCOMPARE(currentName(d), QStringLiteral("İNCİR"));
        QTest::keyClick(d.SEARCHFIELD, Qt::Key_PageUp);
        QCOMPARE(currentName(d), QStringLiteral("ARPA"));
        QTest::keyClick(d.SEARCHFIELD, Qt::Key_Down);
        QCOMPARE(currentName(d), QStringLiteral("IRMIK"));
        QTest::keyClick(d.SEARCHFIELD, Qt::Key_PageDown);
        QCOMPARE(currentName(d), QStringLiteral("İNCİR"));
        QTest::keyClick(d.SEARCHFIELD, Qt::Key_PageUp);
        QCOMPARE(currentName(d), QStringLiteral("ARPA"));
        QTest::keyClick(d.SEARCHFIELD, Qt::Key_Return); // nothing typed since: the row stays
        QCOMPARE(currentName(d), QStringLiteral("ARPA"));
        type(d.SEARCHFIELD, "n");
        QCOMPARE(d.SEARCHFIELD->text(), QStringLiteral("in"));
        QTest::keyClick(d.SEARCHFIELD, Qt::Key_Return); // a new search from the top
        QCOMPARE(currentName(d), QStringLiteral("İNCİR"));
        QVERIFY(messages.toneLog().isEmpty());
        type(d.SEARCHFIELD, "x");
        QTest::keyClick(d.SEARCHFIELD, Qt::Key_Return);
        QCOMPARE(messages.toneLog().size(), 1);
        QCOMPARE(currentName(d), QStringLiteral("İNCİR"));
    }

    void tickColumnSearchesJYT_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("found");
        QTest::newRow("J: a ticked row") << "J" << "IRMIK";
        QTest::newRow("T: a ticked row") << "T" << "IRMIK";
        QTest::newRow("N: an unticked row") << "N" << "ARPA";
        QTest::newRow("y in lower case: unticked") << "y" << "ARPA";
    }
    void tickColumnSearchesJYT()
    {
        QFETCH(QString, typed);
        QFETCH(QString, found);
        test::ScriptedMessages messages;
        DATADLGSENSITIVESEARCH d(nullptr);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        showAll(d);
        BARRAYSERVER *s = d.BROWSER->SERVER();
        s->GOTO(s->recNoAt(2)); // IRMIK
        s->FIELDPUT(1, true);
        d.BROWSER->setCURRENTCOLUMN(1);
        type(d.BROWSER, typed);
        QTest::keyClick(d.SEARCHFIELD, Qt::Key_Return);
        QCOMPARE(currentName(d), found);
    }

    void leavingTheSearchForAnotherControlClosesIt()
    {
        test::ScriptedMessages messages;
        DATADLGSENSITIVESEARCH d(nullptr);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        d.activateWindow();
        showAll(d);
        type(d.BROWSER, "z");
        QVERIFY(d.searchOpen());
        d.SEARCHBUTTON->setFocus(); // the "Ara" button keeps it open
        QCoreApplication::processEvents();
        QVERIFY(d.searchOpen());
        d.CBGROUPS->setFocus();
        QCoreApplication::processEvents();
        QVERIFY(!d.searchOpen());
    }

    void promptListOpensNoSearch()
    {
        test::ScriptedMessages messages;
        DATADLGSENSITIVESEARCH d(nullptr);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        type(d.BROWSER, "a");
        QVERIFY(!d.searchOpen());
        d.PBEKLE();
        QCOMPARE(d.NRESULT, 0u);
        QVERIFY(messages.shown().isEmpty());
        QVERIFY(openProblem().AYMADLARI.isEmpty());
    }

    void clickTicksTheRowAndMakesTheNameCurrent()
    {
        test::ScriptedMessages messages;
        DATADLGSENSITIVESEARCH d(nullptr);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        showAll(d);
        QVERIFY(!d.chkdeg());
        BBROWSER *g = d.BROWSER;
        const QRect cell = g->visualRect(g->model()->index(1, 1)); // IRMIK's code
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, cell.center());
        QVERIFY(d.chkdeg());
        QVERIFY(d.CHKSTATUS());
        QCOMPARE(g->CURRENTCOLUMN(), 3);
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, cell.center());
        QVERIFY(!d.CHKSTATUS());
        // Ticked and unticked again: "İptal" asks nothing.
        d.PBIPTAL();
        QVERIFY(messages.shown().isEmpty());
        QCOMPARE(d.NRESULT, 0u);
    }

    void onlyAStoredTickEditCounts_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("column");
        QTest::addColumn<bool>("counts");
        QTest::newRow("stored tick") << int(CellEditMode::Stored) << 1 << true;
        QTest::newRow("tick edit begins") << int(CellEditMode::Begin) << 1 << false;
        QTest::newRow("tick typed") << int(CellEditMode::Typed) << 1 << false;
        QTest::newRow("stored name") << int(CellEditMode::Stored) << 3 << false;
    }
    void onlyAStoredTickEditCounts()
    {
        QFETCH(int, mode);
        QFETCH(int, column);
        QFETCH(bool, counts);
        test::ScriptedMessages messages;
        DATADLGSENSITIVESEARCH d(nullptr);
        showAll(d);
        QVERIFY(d.BROWSER->EDITABLE());
        QVERIFY(d.BROWSER->GETCOLUMN(1)->EDITABLE() && !d.BROWSER->GETCOLUMN(3)->EDITABLE());
        BCellEditEvent e;
        e.grid = d.BROWSER;
        e.mode = CellEditMode(mode);
        e.column = column;
        QVERIFY(d.BROWSER->OWNER()->CELLEDIT(e));
        QCOMPARE(d.chkdeg(), counts);
    }

    void allTickedAlreadyPresentStillReportsSuccess()
    {
        test::ScriptedMessages messages;
        OpenProblem &p = openProblem();
        for (const QString &name : {QStringLiteral("ÇAYIR"), QStringLiteral("İNCİR")}) {
            Row row(YM_COLUMNS, QString(kCellWidth, u' '));
            row[YMNAME] = name.leftJustified(kYmNameWidth);
            p.AYMLIST.append(row);
            p.AYMADLARI.append(name);
            p.AYMSTOK.append(true);
        }
        DATADLGSENSITIVESEARCH d(nullptr);
        d.CBGROUPS->setCurrentIndex(3); // B: ÇAYIR and İNCİR
        QCoreApplication::processEvents();
        d.PBHSEC();
        d.PBEKLE();
        QCOMPARE(d.NRESULT, 1u);
        QCOMPARE(p.AYMADLARI.size(), 2);
        QVERIFY(p.LYMDEG && p.LAMATDEG);
        QCOMPARE(p.checkInvariants(), QStringList());
    }

    void closeBoxWithTicksAsks()
    {
        test::ScriptedMessages messages;
        messages.answer(MessageAnswer::Yes);
        DATADLGSENSITIVESEARCH d(nullptr);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        d.CBGROUPS->setCurrentIndex(3);
        QCoreApplication::processEvents();
        d.PBHSEC();
        d.close();
        QCOMPARE(messages.shown().size(), 1);
        QCOMPARE(messages.shown().at(0).caption, QStringLiteral("Uyarı..."));
        QCOMPARE(messages.shown().at(0).style, unsigned(MB_YESNOCANCEL | MB_ICONQUESTION)); // Escape stays
        QCOMPARE(d.NRESULT, 1u);
        QCOMPARE(d.result(), 1);
        QCOMPARE(openProblem().AYMADLARI, (QStringList{"ÇAYIR", "İNCİR"}));
    }

    // Leaving either add dialog with ticked rows asks whether they are added; Escape or the box's
    // close button keep the dialog with its ticks, and nothing is added.
    void escapeOnTheAddQuestionKeepsTheTicks()
    {
        for (Act act : {Act::Escape, Act::CloseButton}) {
            openProblem().reset();
            init();
            DATADLGSENSITIVESEARCH d(nullptr);
            d.show();
            QVERIFY(QTest::qWaitForWindowExposed(&d));
            d.CBGROUPS->setCurrentIndex(3);
            QCoreApplication::processEvents();
            d.PBHSEC();
            for (const bool byKey : {false, true}) {
                test::RealBoxes boxes({act});
                if (byKey)
                    QTest::keyClick(&d, Qt::Key_Escape);
                else
                    d.close();
                QCOMPARE(boxes.texts(), QStringList{QStringLiteral("Seçilen yem maddeleri var!\r\n\r\nAktif matrise ekleyecek misiniz?")});
                QVERIFY(d.isVisible());
                QVERIFY(d.chkdeg());
                QVERIFY(openProblem().AYMADLARI.isEmpty());
            }
            test::RealBoxes boxes({Act::Yes});
            d.close();
            QCOMPARE(openProblem().AYMADLARI, (QStringList{"ÇAYIR", "İNCİR"}));
        }

        BBESMADEKLE_DLG e(nullptr);
        e.show();
        QVERIFY(QTest::qWaitForWindowExposed(&e));
        e.BROWSER->SERVER()->GOTO(2);
        e.CHKSELECT();
        const QStringList before = openProblem().ABMADLARI;
        {
            test::RealBoxes boxes({Act::Escape});
            e.PBIPTAL();
            QCOMPARE(boxes.texts(), QStringList{QStringLiteral("Seçilen besin maddeleri var!\r\n\r\nAktif matrise eklensin mi?")});
        }
        QVERIFY(e.isVisible());
        QVERIFY(e.chkdeg());
        QCOMPARE(openProblem().ABMADLARI, before);
        test::RealBoxes boxes({Act::No});
        e.PBIPTAL();
        QVERIFY(!e.isVisible());
        QCOMPARE(openProblem().ABMADLARI, before);
    }

    void groupChangeDropsTicks()
    {
        test::ScriptedMessages messages;
        DATADLGSENSITIVESEARCH d(nullptr);
        showAll(d);
        d.PBHSEC();
        QVERIFY(d.CHKSTATUS());
        d.CBGROUPS->setCurrentIndex(2);
        QCoreApplication::processEvents();
        QVERIFY(!d.CHKSTATUS());
        d.PBEKLE();
        QCOMPARE(d.NRESULT, 0u);
        QVERIFY(openProblem().AYMADLARI.isEmpty());
    }

    void cancelWithTicksAsks_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("No adds nothing") << false;
        QTest::newRow("Yes adds") << true;
    }
    void cancelWithTicksAsks()
    {
        QFETCH(bool, yes);
        test::ScriptedMessages messages;
        messages.answer(yes ? MessageAnswer::Yes : MessageAnswer::No);
        DATADLGSENSITIVESEARCH d(nullptr);
        d.CBGROUPS->setCurrentIndex(3);
        QCoreApplication::processEvents();
        d.PBHSEC();
        d.PBIPTAL();
        QCOMPARE(messages.shown().size(), 1);
        QCOMPARE(messages.shown().at(0).text,
                 QStringLiteral("Seçilen yem maddeleri var!\r\n\r\nAktif matrise ekleyecek misiniz?"));
        QCOMPARE(d.NRESULT, yes ? 1u : 0u);
        QCOMPARE(openProblem().AYMADLARI, yes ? (QStringList{"ÇAYIR", "İNCİR"}) : QStringList());
        QVERIFY(!referenceTables().ORMDBF);
    }

    void tickAllUntickAllCancelAsksNothing()
    {
        test::ScriptedMessages messages;
        DATADLGSENSITIVESEARCH d(nullptr);
        showAll(d);
        d.PBHSEC();
        d.PBHKALDIR();
        d.PBIPTAL();
        QVERIFY(messages.shown().isEmpty());
        QCOMPARE(d.NRESULT, 0u);
    }

    void recordNumbersAboveNineHundredNinetyNine()
    {
        QList<Ingredient> many;
        for (int i = 1; i <= 1001; ++i)
            many.append({i == 1001 ? QStringLiteral("SONUNCU") : QString(), "A"});
        writeReference(m_dir.path(), many);
        test::ScriptedMessages messages;
        DATADLGSENSITIVESEARCH d(nullptr);
        showAll(d);
        BARRAYSERVER *s = d.BROWSER->SERVER();
        QCOMPARE(s->LASTREC(), 1);
        QCOMPARE(s->textAt(1, 2), QStringLiteral("1001"));
        d.PBHSEC();
        d.PBEKLE();
        QCOMPARE(d.NRESULT, 1u);
        QCOMPARE(openProblem().AYMADLARI, QStringList{"SONUNCU"});
        QCOMPARE(openProblem().AAMAT.at(1), Row{QStringLiteral("1001").rightJustified(11)});
    }

    void nutrientDialogTicksAndAdds()
    {
        test::ScriptedMessages messages;
        BBESMADEKLE_DLG d(nullptr);
        QVERIFY(d.opened());
        BARRAYSERVER *s = d.BROWSER->SERVER();
        QCOMPARE(s->LASTREC(), 2);
        QCOMPARE(s->textAt(2, 2), QStringLiteral("  2"));
        d.PBHSEC();
        d.PBHKALDIR();
        d.PBIPTAL();
        QVERIFY(messages.shown().isEmpty());
        QCOMPARE(d.NRESULT, 0);

        BBESMADEKLE_DLG e(nullptr);
        e.BROWSER->SERVER()->GOTO(2);
        e.CHKSELECT();
        QVERIFY(e.chkdeg());
        messages.answer(MessageAnswer::Yes);
        e.PBIPTAL();
        QCOMPARE(messages.shown().size(), 1);
        QCOMPARE(e.NRESULT, 1);
        QCOMPARE(openProblem().ABMADLARI, (QStringList{"AĞIRLIK", "KM", "HP"}));
        QCOMPARE(openProblem().checkInvariants(), QStringList());
        QVERIFY(!referenceTables().ORMDBF && !referenceTables().OBMDESCDBF);
    }

    void nutrientDialogSpaceAndClickTick()
    {
        test::ScriptedMessages messages;
        messages.answer(MessageAnswer::Yes);
        BBESMADEKLE_DLG d(nullptr);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        BBROWSER *g = d.BROWSER;
        QCOMPARE(g->CURRENTCOLUMN(), 3);
        QTest::keyClick(g, Qt::Key_Space); // KM
        QVERIFY(d.chkdeg());
        QVERIFY(d.ANYCHCKED());
        QTest::keyClick(g, Qt::Key_Space);
        QVERIFY(!d.ANYCHCKED());
        const QRect cell = g->visualRect(g->model()->index(1, 3)); // HP's unit
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, cell.center());
        QVERIFY(d.ANYCHCKED());
        // The close box asks; Yes adds.
        d.close();
        QCOMPARE(messages.shown().size(), 1);
        QCOMPARE(messages.shown().at(0).text,
                 QStringLiteral("Seçilen besin maddeleri var!\r\n\r\nAktif matrise eklensin mi?"));
        QCOMPARE(d.NRESULT, 1);
        QCOMPARE(openProblem().ABMADLARI, (QStringList{"AĞIRLIK", "KM", "HP"}));
    }

    void nutrientDialogUntickAllThenAddAddsNothing()
    {
        test::ScriptedMessages messages;
        BBESMADEKLE_DLG d(nullptr);
        d.PBHSEC();
        d.PBHKALDIR();
        d.PBEKLE();
        QCOMPARE(d.NRESULT, 0);
        QVERIFY(openProblem().ABMADLARI.isEmpty());
        QVERIFY(messages.shown().isEmpty());
    }

    void nutrientTickedAndUntickedAsksNothing()
    {
        test::ScriptedMessages messages;
        BBESMADEKLE_DLG d(nullptr);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        QTest::keyClick(d.BROWSER, Qt::Key_Space);
        QTest::keyClick(d.BROWSER, Qt::Key_Space);
        QVERIFY(d.chkdeg());
        d.PBIPTAL();
        QVERIFY(messages.shown().isEmpty());
        QCOMPARE(d.NRESULT, 0);
        QCOMPARE(d.result(), 0);
        QVERIFY(openProblem().ABMADLARI.isEmpty());
        QVERIFY(!referenceTables().ORMDBF && !referenceTables().OBMDESCDBF);
    }

    void nutrientNumbersAboveNineHundredNinetyNine()
    {
        const QString defs = QDir(m_dir.path()).filePath("VMKBMDESC.DBF");
        QFile::remove(defs);
        QVERIFY(DbfFileSpec(defs).create(nutrientDefinitionStructure()));
        {
            DBSERVERR t(defs, false, false);
            for (int i = 1; i <= 1001; ++i) {
                QVERIFY(t.append());
                t.fieldPut("ABRRE", i == 1001 ? QStringLiteral("HP") : QStringLiteral("X%1").arg(i));
                t.fieldPut("UNIT", QStringLiteral("%"));
            }
            t.commit();
            t.close();
        }
        test::ScriptedMessages messages;
        BBESMADEKLE_DLG d(nullptr);
        QVERIFY(d.opened());
        BARRAYSERVER *s = d.BROWSER->SERVER();
        QCOMPARE(s->LASTREC(), 1001);
        QCOMPARE(s->textAt(1, 2), QStringLiteral("   1"));
        QCOMPARE(s->textAt(1001, 2), QStringLiteral("1001"));
        s->GOTO(1001);
        d.CHKSELECT();
        d.PBEKLE();
        QCOMPARE(d.NRESULT, 1);
        // No ingredient in the problem: "AĞIRLIK", then "KM" is not a definition here, then HP.
        QCOMPARE(openProblem().ABMADLARI, (QStringList{"AĞIRLIK", "HP"}));
    }

    void everyColumnShowsWithoutScrollingSideways()
    {
        test::ScriptedMessages messages;
        DATADLGSENSITIVESEARCH d(nullptr);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        showAll(d);
        QVERIFY(!d.BROWSER->horizontalScrollBar()->isVisible());
        QVERIFY(d.PBHSEC_->x() >= d.BROWSER->geometry().right());
        QCOMPARE(d.windowIcon().isNull(), false);
        BBESMADEKLE_DLG e(nullptr);
        e.show();
        QVERIFY(QTest::qWaitForWindowExposed(&e));
        QVERIFY(!e.BROWSER->horizontalScrollBar()->isVisible());
        QVERIFY(e.PBHSEC_->x() >= e.BROWSER->geometry().right());
        QCOMPARE(e.windowIcon().isNull(), false);
    }

    // "Ekle" brings the contents into the unit of the problem's row: wheat's energy, stored in
    // kcal/kg in the reference, comes into a problem whose energy row is in MCal/kg divided by 1000.
    void ingredientDialogBringsContentsIntoTheRowsUnit()
    {
        test::ScriptedMessages messages;
        const QString matrix = QDir(m_dir.path()).filePath("MATNRC6.DBF");
        QFile::remove(matrix);
        QVERIFY(DbfFileSpec(matrix).create({{"KOD", u'N', 5, 0}, {"YM_ADI", u'C', 25, 0}, {"FIATI", u'C', 11, 0},
                                            {"GRUBU", u'C', 11, 0}, {"ME_KA", u'C', 11, 0}}));
        {
            DBSERVERR t(matrix, false, false);
            QVERIFY(t.append());
            t.fieldPut("KOD", 1);
            t.fieldPut("YM_ADI", "BUGDAY");
            t.fieldPut("GRUBU", "A");
            t.fieldPut("ME_KA", QStringLiteral("3050.0000").rightJustified(11));
            t.commit();
        }
        const QString defs = QDir(m_dir.path()).filePath("VMKBMDESC.DBF");
        QFile::remove(defs);
        QVERIFY(DbfFileSpec(defs).create(nutrientDefinitionStructure()));
        {
            DBSERVERR d(defs, false, false);
            QVERIFY(d.append());
            d.fieldPut("ABRRE", "ME_KA");
            d.fieldPut("UNIT", "Kcal/Kg");
            d.commit();
        }
        OpenProblem &p = openProblem();
        Row energy(BM_COLUMNS, QString(kCellWidth, u' '));
        energy[BMNAME] = QStringLiteral("ME_KA").leftJustified(kBmNameWidth);
        energy[BMUNIT] = QStringLiteral("MCal/Kg").leftJustified(kCellWidth);
        p.ABMLIST = {energy};
        p.ABMADLARI = {"ME_KA"};
        p.ABMBIRIMLERI = {"MCal/Kg"};
        p.AAMAT = {Row()};

        DATADLGSENSITIVESEARCH d(nullptr);
        QVERIFY(d.opened());
        QVERIFY(!referenceTables().OBMDESCDBF); // the units were read, the definitions closed again
        showAll(d);
        d.PBHSEC();
        d.PBEKLE();
        QCOMPARE(d.NRESULT, 1u);
        QCOMPARE(p.AAMAT, (RowList{{QStringLiteral("3.0500").rightJustified(11)}}));
        QVERIFY(messages.shown().isEmpty());

        // Without the definitions the units are unknown: the dialog says so and does not open.
        QFile::remove(defs);
        DATADLGSENSITIVESEARCH e(nullptr);
        QVERIFY(!e.opened());
        QVERIFY(!referenceTables().ORMDBF && !referenceTables().OBMDESCDBF);
        QCOMPARE(messages.shown().size(), 1);
        QCOMPARE(messages.shown().at(0).text, QStringLiteral("VMKBMDESC.DBF dosyası yok..!"));
    }

    // The nutrient dialog lays the dry matter in its definition's unit, as its contents come.
    void nutrientDialogLaysTheDryMatterInItsDefinitionsUnit()
    {
        test::ScriptedMessages messages;
        const QString defs = QDir(m_dir.path()).filePath("VMKBMDESC.DBF");
        {
            DBSERVERR d(defs, false, false);
            QVERIFY(d.goTop());
            d.fieldPut("UNIT", "g/kg"); // KM
            d.commit();
        }
        OpenProblem &p = openProblem();
        Row row(YM_COLUMNS, QString(kCellWidth, u' '));
        row[YMNAME] = QStringLiteral("ARPA").leftJustified(kYmNameWidth);
        p.AYMLIST = {row};
        p.AYMADLARI = {"ARPA"};
        p.AYMSTOK = {true};
        BBESMADEKLE_DLG d(nullptr);
        QVERIFY(d.opened());
        d.BROWSER->SERVER()->GOTO(2); // HP
        d.CHKSELECT();
        d.PBEKLE();
        QCOMPARE(d.NRESULT, 1);
        QCOMPARE(p.ABMADLARI, (QStringList{"AĞIRLIK", "KM", "HP"}));
        QCOMPARE(p.ABMBIRIMLERI.at(1), QStringLiteral("g/kg"));
        QCOMPARE(p.ABMLIST.at(1).at(BMUNIT), QStringLiteral("g/kg").leftJustified(kCellWidth));
    }

    void missingReferenceGivesNothing()
    {
        test::ScriptedMessages messages;
        QFile::remove(QDir(m_dir.path()).filePath("MATNRC6.DBF"));
        DATADLGSENSITIVESEARCH d(nullptr);
        QVERIFY(!d.opened());
        BBESMADEKLE_DLG e(nullptr);
        QVERIFY(!e.opened());
        QVERIFY(!referenceTables().ORMDBF && !referenceTables().OBMDESCDBF);
        QCOMPARE(messages.shown().size(), 2);
    }
};

QTEST_MAIN(TestReferenceAddDialogs)
#include "tst_reference_add_dialogs.moc"
