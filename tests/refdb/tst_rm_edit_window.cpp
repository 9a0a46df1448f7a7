// The reference-matrix editor as a user meets it: opening through the main menu, captions, typing,
// the clipboard keys, the form view, the row menus, the search field and closing with its questions.
#include "controls/command_registry.h"
#include "controls/grid_subclasses.h"
#include "controls/menu_builder.h"
#include "controls/shell_menus.h"
#include "platform/dbf_table.h"
#include "problem/open_problem.h"
#include "problem/reference_tables.h"
#include "refdb/file_pair_replace.h"
#include "refdb/rm_edit_window.h"
#include "refdb/rm_form.h"
#include "refdb/starter_database.h"
#include "real_boxes.h"
#include "refdb_root.h"
#include "scripted_messages.h"
#include "spreadsheet_dbf.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QStatusTipEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QtTest>

#include <functional>

using namespace vexo;
using vexo::test::Definition;
using vexo::test::RefDbRoot;
using Act = vexo::test::RealBoxes::Act;

Q_DECLARE_METATYPE(vexo::test::RealBoxes::Act)

namespace {

// Records the status tips a window is sent.
class TipRecorder : public QObject
{
public:
    explicit TipRecorder(QStringList &tips) : m_tips(tips) {}
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::StatusTip)
            m_tips << static_cast<QStatusTipEvent *>(event)->tip();
        return false;
    }

private:
    QStringList &m_tips;
};

// A main window with a working registry of data windows, as the editors need it.
class FakeHost : public ShellHost
{
public:
    FakeHost()
    {
        area = new QMdiArea(&window);
        window.setCentralWidget(area);
        window.resize(1100, 760);
        setShellHost(this);
        window.show();
    }
    ~FakeHost() override
    {
        for (const QPointer<QWidget> &w : windows)
            delete w.data();
        setShellHost(nullptr);
    }
    QWidget *mainWindow() override { return &window; }
    QMdiArea *canvas() override { return area; }
    bool runCommand(const QString &name) override { return shellCommands().run(name); }
    void setStatusText(const QString &text) override { status << text; }
    void showHelp(const QString &topic) override { help << topic; }
    void showAbout() override {}
    BuiltMenu &mainMenu() override { return main; }
    BuiltMenu *shownMenu() override { return &main; }
    void showMenu(BuiltMenu *) override {}
    void rebuildMainMenu() override {}
    void MI_ENADISABLE() override {}
    void ADDDATAWINDOW(QWidget *w) override { windows.append(w); }
    void REMOVEDATAWINDOW(QWidget *w) override
    {
        windows.removeAll(w);
        w->hide();
        if (auto *sub = qobject_cast<QMdiSubWindow *>(w->parentWidget()))
            sub->deleteLater();
        else
            w->deleteLater();
    }
    QWidget *GETDATAWINDOW(const QString &name) const override
    {
        for (const QPointer<QWidget> &w : windows)
            if (w && w->objectName() == name)
                return w.data();
        return nullptr;
    }
    QList<QWidget *> GETDATAWINDOWS() const override
    {
        QList<QWidget *> out;
        for (const QPointer<QWidget> &w : windows)
            if (w)
                out.append(w.data());
        return out;
    }
    void CLOSINGDATAWINDOWS() override {}
    bool CLOSEWINDOWSEXIST() override
    {
        ++closeAlls;
        for (QWidget *w : GETDATAWINDOWS())
            if (auto *d = dynamic_cast<DataWindow *>(w))
                d->CLOSE();
        return GETDATAWINDOWS().isEmpty();
    }
    void WHOCHANGES() override {}
    QWidget *openDataWindow(const QString &name, const std::function<QWidget *()> &create) override
    {
        if (QWidget *open = GETDATAWINDOW(name))
            return open;
        if (!CLOSEWINDOWSEXIST())
            return nullptr;
        QWidget *w = create ? create() : nullptr;
        if (!w)
            return nullptr;
        ADDDATAWINDOW(w);
        QMdiSubWindow *sub = area->addSubWindow(w);
        sub->resize(area->viewport()->size());
        sub->show();
        return w;
    }
    void addCloseParticipant(CloseParticipant *) override {}
    void removeCloseParticipant(CloseParticipant *) override {}
    void setDropHandler(std::function<void(const QStringList &)>) override {}

    QMainWindow window;
    QMdiArea *area = nullptr;
    BuiltMenu main{emptyShellMenu(), [](const QString &command) { shellCommands().run(command); }};
    QList<QPointer<QWidget>> windows;
    QStringList status, help;
    int closeAlls = 0;
};

// Refuses every rename from the n-th on, as a full or read-only backup folder would.
struct FailingRename : FileTransfer
{
    explicit FailingRename(int from = 1) : m_from(from) { setFileTransfer(this); }
    ~FailingRename() override { setFileTransfer(nullptr); }
    bool rename(const QString &from, const QString &to) override
    {
        if (++m_renames < m_from)
            return FileTransfer::rename(from, to);
        setLastError(QStringLiteral("No space left on device"));
        return false;
    }
    int m_from;
    int m_renames = 0;
};

QList<Definition> definitions()
{
    return {{"Kuru Madde", "KM", "%", 4}, {"Ham Protein", "HP", "%", 2}, {"", "CA", "g/kg", 3}};
}

void activate(QWidget &w)
{
    QWidget *top = w.window();
    top->show();
    top->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(top));
}

void typeInCell(RM_EDIT_WINDOW &w, int recNo, int column, const QString &text)
{
    activate(w);
    w.rows()->server()->GOTO(recNo);
    w.BROWSER()->setCURRENTCOLUMN(column);
    w.BROWSER()->setFocus();
    QTest::keyClick(w.BROWSER(), text.at(0).toLatin1());
    auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    QVERIFY(editor);
    QTest::keyClicks(editor, text.mid(1));
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
}

QVariantList recordOf(const QString &path, int recNo)
{
    DbfTable t(path, true, true);
    t.goTo(recNo);
    QVariantList out;
    for (int j = 1; j <= t.fCount(); ++j)
        out.append(t.fieldGet(j));
    return out;
}

} // namespace

class TestRmEditWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { installReferenceMatrixEditorCommands(); }
    void cleanup()
    {
        setReferenceForm({});
        RM_EDIT_WINDOW::setColumnMathDialog({});
        openProblem().UPANODEGER.reset();
        QCoreApplication::processEvents();
    }

    void opensWithCaptionsPairedByName()
    {
        RefDbRoot root;
        test::ScriptedMessages messages;
        QVERIFY(root.writeDefinitions(definitions()));
        QVERIFY(root.writeMatrix({"HP", "KM", "CA", "P"}, 3)); // unlike the definitions' order
        RM_EDIT_WINDOW w;
        QVERIFY(w.loaded());
        QCOMPARE(w.windowTitle(), QStringLiteral("Referans Matris Yazımı"));
        QCOMPARE(w.objectName(), QStringLiteral("RM_EDIT_WINDOW"));
        RMAT_BBROWSER *g = w.BROWSER();
        QCOMPARE(g->FREEZE(), 2);
        QCOMPARE(g->CURRENTCOLUMN(), 2);
        QCOMPARE(g->COLUMNCOUNT(), 8);
        QVERIFY(!g->GETCOLUMN(1)->EDITABLE());
        QVERIFY(!g->GETCOLUMN(1)->SELECTABLE());
        const QStringList captions = {"\r\nKod", "\r\nYem Maddesi Adı", "\r\nFiyatı", "\r\nGrubu",
                                      "HP,\r\n%", "KM,\r\n%", "CA,\r\ng/kg", "P,\r\n"};
        for (int c = 1; c <= 8; ++c)
            QCOMPARE(g->GETCOLUMN(c)->CAPTION(), captions[c - 1]);
        QCOMPARE(w.CB_OEDIT()->count(), 3);
        QCOMPARE(w.CB_OEDIT()->itemText(1), QStringLiteral("Duyarlı"));
        QCOMPARE(w.CB_OEDIT()->currentText(), QStringLiteral("Excel"));
        QCOMPARE(w.childMenu()->table().name, QStringLiteral("STANDARDSHELLMENU"));
        QVERIFY(!w.childMenu()->isEnabled(28377));
        QVERIFY(!w.contextMenu()->isEnabled(30904));
        QVERIFY(!w.rows()->changed);
        QVERIFY(!referenceTables().ORMDBF && !referenceTables().OBMDESCDBF); // both closed after reading

        // Caption clicks: the definition's name, or the placeholder text; nothing on the first four.
        g->captionClicked(4); // the grid's captions count from 0
        g->captionClicked(5);
        g->captionClicked(6);
        g->captionClicked(2);
        QCOMPARE(messages.shown().size(), 3);
        QCOMPARE(messages.shown()[0].caption, QStringLiteral("Besin maddesi.."));
        QCOMPARE(messages.shown()[0].text.trimmed(), QStringLiteral("Ham Protein"));
        QCOMPARE(messages.shown()[1].text.trimmed(), QStringLiteral("Kuru Madde"));
        QCOMPARE(messages.shown()[2].text, QStringLiteral("BM isimleri yazılmamış..."));

        // The edit mode follows the combo box.
        w.CB_OEDIT()->setCurrentIndex(2);
        emit w.CB_OEDIT()->activated(2);
        QCOMPARE(g->AUTOEDIT(), BrowserAutoEdit::PERMANENT);
    }

    // A matrix a spreadsheet saved: its decimal commas show as the program's numbers, and a cell
    // that is no number is named once when the editor opens.
    void spreadsheetNumbersShowAsTheProgramsOwn()
    {
        RefDbRoot root;
        test::ScriptedMessages messages;
        QVERIFY(root.writeDefinitions(definitions()));
        QVERIFY(test::writeSpreadsheetDbf(root.path(kReferenceMatrixFile), test::sheetMatrixFields({"HP", "KM"}),
                                          {{"1", "ÇAVDAR", "0,425", "", "12,5", "abc"}}));
        RM_EDIT_WINDOW w;
        QVERIFY(w.loaded());
        const BARRAYSERVER &s = *w.rows()->server();
        QCOMPARE(s.textAt(1, 3), QStringLiteral("      0.425"));
        QCOMPARE(s.textAt(1, 5), QStringLiteral("    12.5000"));
        QCOMPARE(s.textAt(1, 6).trimmed(), QString());
        QCOMPARE(messages.shown().size(), 1);
        QVERIFY(messages.shown()[0].text.endsWith(QStringLiteral("ÇAVDAR - KM: \"abc\"")));
        QVERIFY(!w.rows()->changed);
    }

    void typingIsFilteredAndNormalised()
    {
        RefDbRoot root;
        test::ScriptedMessages messages;
        QVERIFY(root.writeDefinitions(definitions()));
        QVERIFY(root.writeMatrix({"HP", "KM"}, 3));
        RM_EDIT_WINDOW w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        typeInCell(w, 1, 5, QStringLiteral("12,5ab"));
        QCOMPARE(w.rows()->server()->textAt(1, 5), QStringLiteral("    12.5000"));
        QVERIFY(w.rows()->changed);
        typeInCell(w, 2, 5, QStringLiteral("1,239"));
        QCOMPARE(w.rows()->server()->textAt(2, 5), QStringLiteral("     1.2300"));
        typeInCell(w, 2, 3, QStringLiteral("12,5"));
        QCOMPARE(w.rows()->server()->textAt(2, 3), QStringLiteral("     12.500"));
        typeInCell(w, 3, 2, QStringLiteral("Arpa 2"));
        QCOMPARE(w.rows()->server()->textAt(3, 2).trimmed(), QStringLiteral("Arpa 2"));

        // The Del key clears a cell; KOD stays.
        w.rows()->server()->GOTO(1);
        w.BROWSER()->setCURRENTCOLUMN(5);
        QTest::keyClick(w.BROWSER(), Qt::Key_Delete);
        QCOMPARE(w.rows()->server()->textAt(1, 5), QString(11, u' '));
        QCOMPARE(messages.unexpectedQuestions(), 0);
    }

    void closeAsksToSaveAndThenToBackUp()
    {
        RefDbRoot root;
        test::ScriptedMessages messages;
        FakeHost host;
        QVERIFY(root.writeDefinitions(definitions()));
        QVERIFY(root.writeMatrix({"HP", "KM"}, 3));
        RM_YAZIM();
        QPointer<RM_EDIT_WINDOW> w = qobject_cast<RM_EDIT_WINDOW *>(host.GETDATAWINDOW("RM_EDIT_WINDOW"));
        QVERIFY(w);
        typeInCell(*w, 2, 6, QStringLiteral("7"));
        messages.answer(MessageAnswer::Yes); // save
        messages.answer(MessageAnswer::Yes); // back up
        w->CLOSE();
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!w);
        QCOMPARE(messages.shown().size(), 2);
        QCOMPARE(messages.shown()[0].text, QStringLiteral("Referans matris dosyası değişti.\n\n"
                                                          "Değişiklikleri kaydetmek istiyor musunuz?"));
        QCOMPARE(messages.shown()[0].style, unsigned(MB_YESNOCANCEL | MB_ICONQUESTION)); // Escape stays
        QCOMPARE(messages.shown()[1].text, QStringLiteral("Değişen veritabanı dosyaları yedeklensin mi?."));
        QCOMPARE(recordOf(root.path(kReferenceMatrixFile), 2).value(5).toString().trimmed(), QStringLiteral("7.0000"));
        const QString backup = root.path(QStringLiteral("VEXO_KData/RMD_Yed"));
        QCOMPARE(root.bytes(kReferenceMatrixFile), root.bytes(QStringLiteral("VEXO_KData/RMD_Yed/MATNRC6.DBF")));
        QCOMPARE(root.bytes(kNutrientDefinitionFile), root.bytes(QStringLiteral("VEXO_KData/RMD_Yed/VMKBMDESC.DBF")));
        // The status texts name the folder the copies went to, under the data root.
        const QString shown = QDir::toNativeSeparators(QDir::cleanPath(backup));
        QCOMPARE(host.status, (QStringList{
                                  QStringLiteral("Referans matris dosyası '%1' dizinine yedeklendi!").arg(shown),
                                  QStringLiteral("Referans matris ek dosyası da '%1' dizinine yedeklendi!").arg(shown)}));
        QCOMPARE(QDir(backup).entryList(QDir::Files | QDir::Hidden).size(), 2); // no temporary left
        QVERIFY(!openProblem().UPANODEGER);

        // Opened again and closed without a change: nothing is asked.
        messages.clear();
        RM_YAZIM();
        w = qobject_cast<RM_EDIT_WINDOW *>(host.GETDATAWINDOW("RM_EDIT_WINDOW"));
        QVERIFY(w);
        w->CLOSE();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(messages.shown().isEmpty());

        // A save made with "Kaydet", then a close: only the backup question.
        RM_YAZIM();
        w = qobject_cast<RM_EDIT_WINDOW *>(host.GETDATAWINDOW("RM_EDIT_WINDOW"));
        typeInCell(*w, 1, 2, QStringLiteral("Yulaf"));
        QVERIFY(w->childMenu()->trigger(28362));
        QVERIFY(w->rows()->saved && !w->rows()->changed);
        messages.answer(MessageAnswer::No);
        w->CLOSE();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(messages.shown().size(), 1);
        QCOMPARE(messages.shown()[0].text, QStringLiteral("Değişen veritabanı dosyaları yedeklensin mi?."));
        QCOMPARE(recordOf(root.path(kReferenceMatrixFile), 1).value(1).toString().trimmed(), QStringLiteral("Yulaf"));
        QCOMPARE(messages.unexpectedQuestions(), 0);
    }

    // Letters typed over a price or a nutrient value leave the value as it was and the status bar
    // says why; a number typed after them goes in as before.
    void lettersTypedOverANumberKeepItAndSayWhy()
    {
        RefDbRoot root;
        test::ScriptedMessages messages;
        FakeHost host;
        QVERIFY(root.writeDefinitions(definitions()));
        QVERIFY(root.writeMatrix({"HP", "KM"}, 3));
        RM_YAZIM();
        QPointer<RM_EDIT_WINDOW> w = qobject_cast<RM_EDIT_WINDOW *>(host.GETDATAWINDOW("RM_EDIT_WINDOW"));
        QVERIFY(w);
        BARRAYSERVER &s = *w->rows()->server();
        typeInCell(*w, 1, 3, QStringLiteral("780"));
        QCOMPARE(s.textAt(1, 3), QStringLiteral("    780.000"));
        host.status.clear();
        typeInCell(*w, 1, 3, QStringLiteral("abc"));
        QCOMPARE(s.textAt(1, 3), QStringLiteral("    780.000"));
        QVERIFY(host.status.contains(rmNumbersOnlyText())); // told while typing
        QCOMPARE(host.status.last(), rmNotANumberText());   // and when the old value was kept
        QCOMPARE(messages.toneLog().size(), 1);

        typeInCell(*w, 2, 5, QStringLiteral("7"));
        QCOMPARE(s.textAt(2, 5), QStringLiteral("     7.0000"));
        for (const char *typed : {"x", "1-2", "-", "."}) {
            typeInCell(*w, 2, 5, QString::fromLatin1(typed));
            QCOMPARE(s.textAt(2, 5), QStringLiteral("     7.0000"));
        }
        typeInCell(*w, 2, 5, QStringLiteral("-3"));
        QCOMPARE(s.textAt(2, 5), QStringLiteral("    -3.0000"));
        // Names are text: letters go in.
        typeInCell(*w, 2, 2, QStringLiteral("Arpa"));
        QCOMPARE(s.textAt(2, 2).trimmed(), QStringLiteral("Arpa"));
        QCOMPARE(messages.unexpectedQuestions(), 0);
        messages.answer(MessageAnswer::No);
        w->CLOSE();
    }

    void escapeOnTheSaveQuestionKeepsTheWindow_data()
    {
        QTest::addColumn<Act>("act");
        QTest::newRow("Escape") << Act::Escape;
        QTest::newRow("close button") << Act::CloseButton;
    }

    // The save question answered with Escape or its close button: the editor stays with its rows,
    // whether it was closed by its menu, its frame or the main window's close-all.
    void escapeOnTheSaveQuestionKeepsTheWindow()
    {
        QFETCH(Act, act);
        RefDbRoot root;
        FakeHost host;
        QVERIFY(root.writeDefinitions(definitions()));
        QVERIFY(root.writeMatrix({"HP", "KM"}, 3));
        const QByteArray before = root.bytes(kReferenceMatrixFile);
        RM_YAZIM();
        QPointer<RM_EDIT_WINDOW> w = qobject_cast<RM_EDIT_WINDOW *>(host.GETDATAWINDOW("RM_EDIT_WINDOW"));
        QVERIFY(w);
        typeInCell(*w, 2, 6, QStringLiteral("7"));
        const QString question = QStringLiteral("Referans matris dosyası değişti.\n\nDeğişiklikleri kaydetmek istiyor musunuz?");
        for (const auto &leave : {std::function<void()>([&] { QVERIFY(w->childMenu()->trigger(28364)); }),
                                  std::function<void()>([&] { w->parentWidget()->close(); }),
                                  std::function<void()>([&] { QVERIFY(!host.CLOSEWINDOWSEXIST()); })}) {
            test::RealBoxes boxes({act});
            leave();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QCOMPARE(boxes.texts(), QStringList{question});
            QCOMPARE(boxes.unexpected(), 0);
            QVERIFY(w);
            QVERIFY(w->isVisible());
            QCOMPARE(host.GETDATAWINDOW("RM_EDIT_WINDOW"), w.data());
            QCOMPARE(w->rows()->server()->textAt(2, 6), QStringLiteral("     7.0000"));
            QVERIFY(w->rows()->changed);
            QCOMPARE(root.bytes(kReferenceMatrixFile), before);
        }
        {
            test::RealBoxes boxes({Act::No}); // "Hayır" closes without saving, as before
            w->CLOSE();
            QCOMPARE(boxes.texts().size(), 1);
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!w);
        QCOMPARE(root.bytes(kReferenceMatrixFile), before);
    }

    void noToSavingWritesNothing()
    {
        RefDbRoot root;
        test::ScriptedMessages messages;
        QVERIFY(root.writeDefinitions(definitions()));
        QVERIFY(root.writeMatrix({"HP", "KM"}, 3));
        const QByteArray before = root.bytes(kReferenceMatrixFile);
        QPointer<RM_EDIT_WINDOW> w = new RM_EDIT_WINDOW;
        w->show();
        typeInCell(*w, 1, 5, QStringLiteral("3"));
        messages.answer(MessageAnswer::No);
        w->CLOSE();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!w);
        QCOMPARE(messages.shown().size(), 1); // no backup question without a save
        QCOMPARE(root.bytes(kReferenceMatrixFile), before);
    }

    void aSaveThatFailsWhileClosingKeepsTheWindow()
    {
        RefDbRoot root;
        test::ScriptedMessages messages;
        QVERIFY(root.writeDefinitions(definitions()));
        QVERIFY(root.writeMatrix({"HP", "KM"}, 3));
        QPointer<RM_EDIT_WINDOW> w = new RM_EDIT_WINDOW;
        w->show();
        typeInCell(*w, 1, 5, QStringLiteral("3"));
        // A restore put a table of another structure in place meanwhile.
        QVERIFY(root.writeMatrix({"KM", "HP", "CA"}, 2));
        const QByteArray restored = root.bytes(kReferenceMatrixFile);
        messages.answer(MessageAnswer::Yes);
        w->close(); // the close box
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(w);
        QVERIFY(w->isVisible());
        QVERIFY(w->rows()->changed);
        QCOMPARE(w->rows()->server()->textAt(1, 5).trimmed(), QStringLiteral("3.0000"));
        QCOMPARE(root.bytes(kReferenceMatrixFile), restored);
        QVERIFY(messages.shown().last().text.contains(QStringLiteral("Değişiklikler kaydedilmedi.")));
        // Leaving without saving still works.
        messages.answer(MessageAnswer::No);
        w->CLOSE();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!w);
    }

    void formViewHandsBackOnlyASavedChange()
    {
        RefDbRoot root;
        test::ScriptedMessages messages;
        QVERIFY(root.writeDefinitions(definitions()));
        QVERIFY(root.writeMatrix({"HP", "KM"}, 3));
        RM_EDIT_WINDOW w;
        w.show();
        RmFormInput given;
        std::optional<RmFormHandBack> answer;
        setReferenceForm([&](QWidget *owner, const RmFormInput &in) {
            [&] { QCOMPARE(owner, &w); }();
            given = in;
            return answer;
        });
        w.rows()->server()->GOTO(2);
        w.BROWSER()->setCURRENTCOLUMN(6);
        // "Çıkış" without a change: nothing comes back.
        QVERIFY(w.childMenu()->trigger(28370));
        QCOMPARE(given.record.value(1).trimmed(), QStringLiteral("YEM 2"));
        QCOMPARE(given.fieldNames, (QStringList{"KOD", "YM_ADI", "FIATI", "GRUBU", "HP", "KM"}));
        QVERIFY(!w.rows()->changed);
        // With a change: the row takes the texts by field name.
        RmFormHandBack back;
        back.CYYADI = QStringLiteral("Arpa");
        back.CYYFIATI = QStringLiteral("      5.000");
        back.CYYGRUBU = QStringLiteral("TAHIL");
        back.AYYDEGERLER = {{1, "Kuru Madde", "KM", "%", QStringLiteral("    89.0000")},
                            {2, "Ham Protein", "HP", "%", QStringLiteral("    11.5000")}};
        answer = back;
        QVERIFY(w.contextMenu()->trigger(30897));
        QVERIFY(w.rows()->changed);
        QCOMPARE(w.rows()->server()->RECNO(), 2);
        QCOMPARE(w.BROWSER()->CURRENTCOLUMN(), 6);
        const QStringList row = w.rows()->rowTexts(2);
        QCOMPARE(row.mid(1, 5), (QStringList{QStringLiteral("Arpa").leftJustified(25), "      5.000",
                                             QStringLiteral("TAHIL").leftJustified(11), "    11.5000", "    89.0000"}));
        w.rows()->changed = false;
        messages.answer(MessageAnswer::No);
    }

    // A context-menu item's description is the main window's status tip while the item is
    // highlighted; the menu's closing takes it back with an empty tip.
    void contextMenuDescriptionsLeaveWithTheMenu()
    {
        RefDbRoot root;
        test::ScriptedMessages messages;
        QVERIFY(root.writeDefinitions(definitions()));
        QVERIFY(root.writeMatrix({"HP", "KM"}, 3));
        FakeHost host;
        QStringList tips;
        TipRecorder recorder(tips);
        host.window.installEventFilter(&recorder);
        RM_EDIT_WINDOW w;
        w.show();
        QMenu *popup = w.contextMenu()->popup();
        QVERIFY(popup);
        popup->popup(w.mapToGlobal(QPoint(40, 40)));
        QVERIFY(QTest::qWaitForWindowExposed(popup));
        popup->setActiveAction(w.contextMenu()->action(30894));
        QCOMPARE(tips.value(tips.size() - 1), QStringLiteral("Panoya kopyala"));
        popup->hide();
        QTRY_COMPARE(tips.value(tips.size() - 1), QString());
        QVERIFY(host.status.isEmpty()); // nothing went to the lasting status text
        w.rows()->changed = false;
    }

    void rowMenusAndSearch()
    {
        RefDbRoot root;
        test::ScriptedMessages messages;
        QVERIFY(root.writeDefinitions(definitions()));
        QVERIFY(root.writeMatrix({"HP", "KM"}, 10));
        RM_EDIT_WINDOW w;
        w.show();
        BARRAYSERVER &s = *w.rows()->server();
        s.GOTO(5);
        QVERIFY(w.childMenu()->trigger(28376)); // Seç...
        QVERIFY(w.childMenu()->isEnabled(28377));
        QVERIFY(w.contextMenu()->isEnabled(30904));
        s.GOTO(2);
        QVERIFY(w.contextMenu()->trigger(30904));
        QCOMPARE(s.textAt(2, 2).trimmed(), QStringLiteral("YEM 5"));
        QCOMPARE(s.RECNO(), 2);
        QVERIFY(!w.childMenu()->isEnabled(28377));
        QVERIFY(!w.contextMenu()->isEnabled(30904));
        QVERIFY(w.rows()->changed);

        // Insert at row 1 and add: the grid follows the rows.
        s.GOTO(1);
        QVERIFY(w.childMenu()->trigger(28373));
        QCOMPARE(w.BROWSER()->LASTRECNO(), 11);
        QCOMPARE(s.valueAt(11, 1).toInt(), 11);
        QVERIFY(w.childMenu()->trigger(28372)); // the blank row 1 is found, nothing added
        QCOMPARE(s.LASTREC(), 11);
        QCOMPARE(s.RECNO(), 1);
        QCOMPARE(w.BROWSER()->CURRENTCOLUMN(), 2);

        // Each keystroke in the search field searches again; the focus stays there.
        activate(w);
        w.SLE_ARA()->setFocus();
        QTest::keyClicks(w.SLE_ARA(), QStringLiteral("yem 7"));
        QCOMPARE(s.textAt(s.RECNO(), 2).trimmed(), QStringLiteral("YEM 7"));
        QCOMPARE(QApplication::focusWidget(), w.SLE_ARA());
        QVERIFY(messages.shown().isEmpty());
        QTest::keyClicks(w.SLE_ARA(), QStringLiteral("x"));
        QCOMPARE(messages.shown().size(), 1);
        QCOMPARE(messages.shown()[0].text, QStringLiteral("Yem maddesi bulunamadı..."));
        QCOMPARE(s.textAt(s.RECNO(), 2).trimmed(), QStringLiteral("YEM 7"));

        // Delete with the menu after its question.
        messages.answer(MessageAnswer::Yes);
        QVERIFY(w.childMenu()->trigger(28374));
        QCOMPARE(s.LASTREC(), 10);

        // Column arithmetic on the name column is refused before the dialog.
        int dialogs = 0;
        RM_EDIT_WINDOW::setColumnMathDialog([&](QWidget *, const BARRAYSERVER *) {
            ++dialogs;
            return std::optional<ColumnMathRequest>(ColumnMathRequest{"*", "N", "2"});
        });
        w.BROWSER()->setCURRENTCOLUMN(2);
        messages.clear();
        QVERIFY(w.childMenu()->trigger(28386));
        QCOMPARE(dialogs, 0);
        QCOMPARE(messages.shown()[0].text, QStringLiteral("Aritmetik için önce sayısal bir kolon seçiniz!"));
        w.BROWSER()->setCURRENTCOLUMN(6);
        messages.answer(MessageAnswer::Yes);
        QVERIFY(w.contextMenu()->trigger(30906));
        QCOMPARE(dialogs, 1);
        QCOMPARE(s.textAt(3, 2).trimmed(), QStringLiteral("YEM 5"));
        QCOMPARE(s.textAt(3, 6).trimmed(), QStringLiteral("10.4000")); // its "5.2" times two
        QCOMPARE(s.textAt(1, 6), QString(11, u' '));                   // the blank row stays blank
        w.rows()->changed = false;
        QCOMPARE(messages.unexpectedQuestions(), 0);
    }

    void mainMenuOpensTheEditorOnADataRootWithoutMatrix()
    {
        RefDbRoot root;
        test::ScriptedMessages messages;
        FakeHost host;
        // The definitions of every column the created matrix has, as the starter database holds them.
        QList<Definition> defs;
        const DbfStructure layout = HKM_STRCREATE();
        for (int i = 4; i < layout.size(); ++i)
            defs.append({QStringLiteral("Besin %1").arg(i - 3), layout[i].name, QStringLiteral("%"), 4});
        QVERIFY(root.writeDefinitions(defs));
        QVERIFY(!QFile::exists(root.path(kReferenceMatrixFile)));
        QVERIFY(host.main.trigger(28422)); // "&Matris Yazımı"
        auto *w = qobject_cast<RM_EDIT_WINDOW *>(host.GETDATAWINDOW("RM_EDIT_WINDOW"));
        QVERIFY(w);
        QVERIFY(QFile::exists(root.path(kReferenceMatrixFile)));
        QCOMPARE(w->BROWSER()->COLUMNCOUNT(), 56);
        int captioned = 0;
        for (int c = 5; c <= 56; ++c)
            captioned += w->BROWSER()->GETCOLUMN(c)->CAPTION() == layout[c - 1].name + QStringLiteral(",\r\n%");
        QCOMPARE(captioned, 52);
        QCOMPARE(w->rows()->server()->LASTREC(), 1);
        QCOMPARE(w->rows()->server()->valueAt(1, 1).toInt(), 1);

        // Chosen again: the same editor, nothing closed or created.
        const int closeAlls = host.closeAlls;
        QVERIFY(host.main.trigger(28422));
        QCOMPARE(host.GETDATAWINDOW("RM_EDIT_WINDOW"), w);
        QCOMPARE(host.closeAlls, closeAlls);
        if (const QByteArray shot = qgetenv("RMEDIT_SCREENSHOT"); !shot.isEmpty()) {
            host.window.resize(1200, 800);
            w->parentWidget()->resize(host.area->viewport()->size());
            w->rows()->server()->FIELDPUT(2, QStringLiteral("Arpa"));
            w->rows()->server()->FIELDPUT(5, QStringLiteral("    88.0000"));
            w->rows()->changed = false;
            w->BROWSER()->REFRESH();
            QTest::qWait(300);
            host.window.grab().save(QString::fromLocal8Bit(shot));
        }
        QCOMPARE(messages.unexpectedQuestions(), 0);
    }

    void freshDataRootOpensWithTheStarterDatabase()
    {
        RefDbRoot root;
        test::ScriptedMessages messages;
        FakeHost host;
        QVERIFY(writeStarterReferenceDatabase()); // what start-up does on a fresh data root
        QVERIFY(host.main.trigger(28422));
        auto *w = qobject_cast<RM_EDIT_WINDOW *>(host.GETDATAWINDOW("RM_EDIT_WINDOW"));
        QVERIFY(w);
        const DbfStructure layout = HKM_STRCREATE();
        QCOMPARE(w->BROWSER()->COLUMNCOUNT(), 56);
        int captioned = 0;
        for (int c = 5; c <= 56; ++c) {
            const QString caption = w->BROWSER()->GETCOLUMN(c)->CAPTION();
            captioned += caption.startsWith(layout[c - 1].name + QStringLiteral(",\r\n"));
        }
        QCOMPARE(captioned, 52);
        QCOMPARE(w->BROWSER()->GETCOLUMN(5)->CAPTION(), QStringLiteral("KM,\r\n%"));
        w->BROWSER()->captionClicked(4);
        QCOMPARE(messages.shown().size(), 1);
        QCOMPARE(messages.shown()[0].text.trimmed(), QStringLiteral("Kuru Madde"));
        QCOMPARE(w->rows()->server()->LASTREC(), 1);
    }

    // The quick backup replaces the backed-up pair together: a failure at either file leaves the
    // whole old pair, and the user is told why.
    void quickBackupReplacesThePairOrNothing()
    {
        RefDbRoot root;
        test::ScriptedMessages messages;
        FakeHost host;
        QVERIFY(root.writeDefinitions(definitions()));
        QVERIFY(root.writeMatrix({"HP", "KM"}, 3));
        const QString folder = root.path(QStringLiteral("VEXO_KData/RMD_Yed"));
        QVERIFY(QDir().mkpath(folder));
        const QStringList oldPair = {QStringLiteral("the previous matrix"), QStringLiteral("the previous definitions")};
        const QStringList names = {kReferenceMatrixFile, kNutrientDefinitionFile};
        for (int i = 0; i < 2; ++i) {
            QFile f(QDir(folder).filePath(names[i]));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(oldPair[i].toLatin1());
        }
        RM_EDIT_WINDOW w;
        for (int failingRename : {1, 2}) {
            messages.clear();
            {
                FailingRename failing(failingRename);
                w.RMYEDEKLE();
            }
            for (int i = 0; i < 2; ++i)
                QCOMPARE(root.bytes(QStringLiteral("VEXO_KData/RMD_Yed/") + names[i]), oldPair[i].toLatin1());
            QVERIFY(host.status.isEmpty()); // a failed copy is not announced as done
            QCOMPARE(messages.shown().size(), 1);
            QCOMPARE(messages.shown()[0].caption, QStringLiteral("Hata..."));
            QCOMPARE(messages.shown()[0].text, names[failingRename - 1]
                                                   + QStringLiteral(" veritabanı dosyasını yedekleme başarısız... : "
                                                                    "No space left on device"));
            QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), (QStringList{"MATNRC6.DBF", "VMKBMDESC.DBF"}));
        }
        messages.clear();
        w.RMYEDEKLE();
        QVERIFY(messages.shown().isEmpty());
        for (const QString &name : names)
            QCOMPARE(root.bytes(QStringLiteral("VEXO_KData/RMD_Yed/") + name), root.bytes(name));
        QCOMPARE(host.status.size(), 2);
    }

    void clipboardThroughTheMenus()
    {
        RefDbRoot root;
        test::ScriptedMessages messages;
        QVERIFY(root.writeDefinitions(definitions()));
        QVERIFY(root.writeMatrix({"HP", "KM"}, 3));
        RM_EDIT_WINDOW w;
        w.show();
        BARRAYSERVER &s = *w.rows()->server();
        s.GOTO(1);
        w.BROWSER()->setCURRENTCOLUMN(5);
        QVERIFY(w.childMenu()->trigger(28366)); // Kes
        QCOMPARE(s.textAt(1, 5), QString(11, u' '));
        // The cells are shown, and so copied, in the program's own number form.
        QCOMPARE(openProblem().UPANODEGER.value_or(QString()).trimmed(), QStringLiteral("1.1000"));
        s.GOTO(3);
        w.BROWSER()->setCURRENTCOLUMN(4);
        QVERIFY(w.contextMenu()->trigger(30895)); // a nutrient value into the group column
        QCOMPARE(s.textAt(3, 4).trimmed(), QStringLiteral("1.1000"));
        w.BROWSER()->setCURRENTCOLUMN(2);
        QVERIFY(w.childMenu()->trigger(28368)); // not into the 25-wide name
        QCOMPARE(s.textAt(3, 2).trimmed(), QStringLiteral("YEM 3"));
        QVERIFY(w.childMenu()->trigger(28367)); // copy the name
        w.BROWSER()->setCURRENTCOLUMN(6);
        QVERIFY(w.childMenu()->trigger(28368));
        QCOMPARE(s.textAt(3, 6).trimmed(), QStringLiteral("3.2000"));
        QVERIFY(w.rows()->changed);
        w.rows()->changed = false;
    }

    void missingDefinitionsEndTheWindowBeforeItShows()
    {
        RefDbRoot root;
        test::ScriptedMessages messages;
        FakeHost host;
        QVERIFY(root.writeMatrix({"HP"}, 2));
        RM_YAZIM();
        QVERIFY(!host.GETDATAWINDOW("RM_EDIT_WINDOW"));
        QCOMPARE(messages.shown().size(), 1);
        QCOMPARE(messages.shown()[0].text, QStringLiteral("VMKBMDESC.DBF dosyası yok..!"));
    }
};

QTEST_MAIN(TestRmEditWindow)
#include "tst_rm_edit_window.moc"
