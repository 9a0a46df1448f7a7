// The grid driven by keys and clicks, offscreen: the owner's edit events, the typing filter, frozen
// and non-selectable columns, ticks, key commands, and painting a server that changed behind the
// grid's back.
#include "controls/bbrowser.h"
#include "controls/grid_subclasses.h"

#include "platform/dbf_table.h"
#include "scripted_messages.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPointer>
#include <QScrollBar>
#include <QtTest>

#include <malloc.h>
#include <memory>

using namespace vexo;

namespace {

// An owner that records what it hears and answers from its settings.
struct Owner : BrowserOwner
{
    QStringList log;
    bool allowBegin = true;
    std::function<void(BCellEditEvent &)> onTyped;
    bool girdeg = false;
    int offRow = 0; // edit events that came while the server stood on another row

    Owner()
    {
        CELLEDIT = [this](BCellEditEvent &e) {
            if (e.grid->SERVER()->RECNO() != e.recNo)
                ++offRow;
            log << QStringLiteral("edit%1:c%2:r%3:%4").arg(int(e.mode)).arg(e.column).arg(e.recNo).arg(e.TEXTVALUE.trimmed());
            if (e.mode == CellEditMode::Begin)
                return allowBegin;
            if (e.mode == CellEditMode::Typed && onTyped)
                onTyped(e);
            return true;
        };
        GIRDEG = [this](bool on) { girdeg = on; };
    }
};

ServerFields editorFields(int cells)
{
    ServerFields f{{QStringLiteral("NAME"), u'C', 25, 0}};
    for (int i = 1; i <= cells; ++i)
        f.append({QStringLiteral("C%1").arg(i), u'C', 11, 0});
    return f;
}

QList<QStringList> editorRows(int rows, int cells)
{
    QList<QStringList> out;
    for (int r = 1; r <= rows; ++r) {
        QStringList row{QStringLiteral("Madde %1").arg(r)};
        for (int c = 1; c <= cells; ++c)
            row << QStringLiteral("%1").arg(r * 100 + c, 11);
        out << row;
    }
    return out;
}

// A shown, focused grid over `rows` rows of a name and `cells` 11-character cells.
struct Fixture
{
    Owner owner;
    std::unique_ptr<BBROWSER> grid;
    std::shared_ptr<BARRAYSERVER> server;

    explicit Fixture(int rows = 5, int cells = 4, std::unique_ptr<BBROWSER> g = nullptr)
    {
        grid = g ? std::move(g) : std::make_unique<BBROWSER>(nullptr, &owner);
        grid->setOWNER(&owner);
        server = std::make_shared<BARRAYSERVER>(editorFields(cells), editorRows(rows, cells));
        grid->resize(600, 300);
        grid->USE(server);
        grid->setEDITABLE(true);
        grid->setAUTOEDIT(BrowserAutoEdit::EXCEL);
        grid->GETCOLUMN(1)->setEDITABLE(false);
        grid->show();
        grid->activateWindow();
        grid->SETFOCUS();
        QVERIFY(QTest::qWaitForWindowExposed(grid.get()));
    }

    QString cell(int rec, int field) const { return server->textAt(rec, field).trimmed(); }
    void go(int rec, int column)
    {
        server->GOTO(rec);
        grid->setCURRENTCOLUMN(column);
    }
    // Types as a user does: the first key reaches the grid, the rest the edit field it opened.
    void type(const QString &text)
    {
        for (QChar ch : text) {
            QWidget *target = grid->currentEditor() ? static_cast<QWidget *>(grid->currentEditor()) : grid.get();
            QTest::keyClicks(target, QString(ch));
        }
    }
    // Enter ends the edit; the grid stores it on the next pass of the event loop.
    void enter()
    {
        if (grid->currentEditor())
            QTest::keyClick(grid->currentEditor(), Qt::Key_Return);
        QCoreApplication::processEvents();
    }
    QPoint centreOf(int row0, int column0) const { return grid->visualRect(grid->model()->index(row0, column0)).center(); }
};

} // namespace

class TstBBrowser : public QObject
{
    Q_OBJECT

private slots:
    void typedKeyStartsAnEditThatReplacesTheText();
    void beginRefusedOpensNothing();
    void typedModeReplacesTextAndWritesAnotherCell();
    void unchangedEditStoresNothing();
    void skipZeroStoresThePendingEdit();
    void editChangeFilterKeepsTheCaretAtTheEnd();
    void frozenColumnStaysWhenScrollingSideways();
    void cursorSkipsANonSelectableColumn();
    void spaceAndClickTick();
    void theCurrentCellShowsItsTick();
    void deleteKeyRunsItsCommand();
    void paintingAfterSuspendedChangesShowsTheServer();
    void aShownGridGoesWithoutItsCaptionBarsReadingIt();
    void refreshSendsNoNotification();
    void stockWarningOnAnOutOfStockRow();
    void checkDialogsTickTheirField();
    void singleChoiceMovesTheMark();
    void captionsAndDoubleClicksReachTheOwner();
    void ownersEventHandlerSeesMessagesFirst();
    void gridGoesSafelyWithItsRegisteredControls_data();
    void gridGoesSafelyWithItsRegisteredControls();
    void autoEditModes();
    void nutrientDefinitionsFlagsFromRealEdits();
    void formGridSwitchesKeyboardModeOff();
    void rowsChangingDuringAnEditAreSafe();
    void coloursFollowTheirPrecedence();
    void addIngredientsDialogTicksAndShowsTheName();
};

void TstBBrowser::typedKeyStartsAnEditThatReplacesTheText()
{
    test::ScriptedMessages messages;
    Fixture f;
    f.go(2, 3);
    f.type(QStringLiteral("7"));
    QVERIFY(f.grid->currentEditor());
    QCOMPARE(f.grid->currentEditor()->text(), QStringLiteral("7"));
    f.type(QStringLiteral("5"));
    f.enter();
    QVERIFY(!f.grid->currentEditor());
    QCOMPARE(f.cell(2, 3), QStringLiteral("75"));
    QCOMPARE(f.owner.log, (QStringList{"edit1:c3:r2:202", "edit3:c3:r2:75", "edit7:c3:r2:75"}));
}

void TstBBrowser::beginRefusedOpensNothing()
{
    test::ScriptedMessages messages;
    Fixture f;
    f.owner.allowBegin = false;
    f.go(1, 2);
    f.type(QStringLiteral("9"));
    QVERIFY(!f.grid->currentEditor());
    QCOMPARE(f.cell(1, 2), QStringLiteral("101"));
    QCOMPARE(f.owner.log, QStringList{"edit1:c2:r1:101"});
    // A column that is not editable never asks the owner.
    f.owner.log.clear();
    f.owner.allowBegin = true;
    f.go(1, 1);
    f.type(QStringLiteral("9"));
    QVERIFY(!f.grid->currentEditor());
    QVERIFY(f.owner.log.isEmpty());
}

void TstBBrowser::typedModeReplacesTextAndWritesAnotherCell()
{
    test::ScriptedMessages messages;
    Fixture f;
    f.owner.onTyped = [&](BCellEditEvent &e) {
        e.TEXTVALUE = QStringLiteral("%1").arg(e.TEXTVALUE.toInt() * 2, 11);
        e.grid->SERVER()->FIELDPUT(5, QString(11, u' ')); // blank another cell of the row
    };
    f.go(3, 2);
    f.type(QStringLiteral("21"));
    f.enter();
    QCOMPARE(f.server->textAt(3, 2), QStringLiteral("%1").arg(42, 11));
    QCOMPARE(f.cell(3, 5), QString());
    QCOMPARE(f.owner.log.last(), QStringLiteral("edit7:c2:r3:42"));
}

void TstBBrowser::unchangedEditStoresNothing()
{
    test::ScriptedMessages messages;
    Fixture f(5, 4, std::make_unique<YM_BBROWSER>());
    f.go(2, 2);
    f.type(QStringLiteral("201")); // what the cell holds, without its leading blanks
    f.enter();
    QVERIFY(!f.owner.girdeg);
    QCOMPARE(f.owner.log, (QStringList{"edit1:c2:r2:201", "edit3:c2:r2:201"}));
    QCOMPARE(f.server->textAt(2, 2), QStringLiteral("        201"));
    // The same edit with another value marks the owner.
    f.type(QStringLiteral("203"));
    f.enter();
    QVERIFY(f.owner.girdeg);
}

void TstBBrowser::skipZeroStoresThePendingEdit()
{
    test::ScriptedMessages messages;
    Fixture f;
    BBROWSER second(nullptr, nullptr);
    second.USE(f.server); // a second client of the same server
    f.go(4, 3);
    f.type(QStringLiteral("55"));
    QVERIFY(f.grid->currentEditor());
    f.server->SKIP(0);
    QVERIFY(!f.grid->currentEditor());
    QCOMPARE(f.cell(4, 3), QStringLiteral("55"));
    QCOMPARE(f.server->RECNO(), 4);
    QCOMPARE(second.cellLook(3, 2).text.trimmed(), QStringLiteral("55"));
}

void TstBBrowser::editChangeFilterKeepsTheCaretAtTheEnd()
{
    test::ScriptedMessages messages;
    Fixture f;
    bool filtering = true; // the owner's own guard, as its typing filter keeps it
    int calls = 0;
    int depth = 0;
    int deepest = 0;
    f.owner.EDITCHANGE = [&](BCellEditEvent &e) {
        ++calls;
        deepest = std::max(deepest, ++depth);
        if (filtering) {
            filtering = false;
            QString kept;
            for (QChar ch : e.editor->text())
                if (ch.isDigit() || ch == u'.' || ch == u',')
                    kept += ch;
            e.editor->setText(kept);
            e.editor->setSelection(int(kept.size()), 0);
            e.editor->setCursorPosition(int(kept.size()));
            filtering = true;
        }
        --depth;
    };
    f.go(1, 3);
    f.type(QStringLiteral("1a2-b,5"));
    QLineEdit *editor = f.grid->currentEditor();
    QVERIFY(editor);
    QCOMPARE(editor->text(), QStringLiteral("12,5"));
    QCOMPARE(editor->cursorPosition(), 4);
    QCOMPARE(deepest, 2); // the rewrite is heard once more, and the guard stops it there
    QVERIFY(calls >= 7);
    f.enter();
    QCOMPARE(f.cell(1, 3), QStringLiteral("12,5"));
}

void TstBBrowser::frozenColumnStaysWhenScrollingSideways()
{
    test::ScriptedMessages messages;
    Fixture f(20, 30);
    f.grid->setFREEZE(1);
    f.grid->setCAPTIONHEIGHT(40);
    f.grid->RECALCULATE();
    QCoreApplication::processEvents();
    // The frozen strip's caption row is as high as the grid's.
    auto *frozenView = f.grid->findChild<QTableView *>();
    QVERIFY(frozenView);
    QCOMPARE(f.grid->horizontalHeader()->height(), 40);
    QCOMPARE(frozenView->horizontalHeader()->height(), 40);
    const BCELL before = f.grid->GETCELLTOPOINT(QPoint(5, 5));
    QCOMPARE(before.COLUMN, 1);
    const int probeX = f.grid->frozenWidth() + 5;
    QCOMPARE(f.grid->GETCELLTOPOINT(QPoint(probeX, 5)).COLUMN, 2);
    // The frozen strip (captions and rows) as drawn before and after scrolling sideways.
    const QRect strip(0, 0, f.grid->frozenWidth(), f.grid->height() / 2);
    f.server->GOTO(1);
    f.grid->setCURRENTCOLUMN(5); // keep the highlight out of the strip
    const QImage unscrolled = f.grid->grab(strip).toImage();
    const QImage otherColumns = f.grid->grab(strip.translated(strip.width(), 0)).toImage();
    f.grid->horizontalScrollBar()->setValue(f.grid->horizontalScrollBar()->value() + 400);
    QCoreApplication::processEvents();
    QVERIFY(f.grid->horizontalScrollBar()->value() > 0);
    QCOMPARE(f.grid->GETCELLTOPOINT(QPoint(5, 5)).COLUMN, 1); // the name stays at the left edge
    QVERIFY(f.grid->GETCELLTOPOINT(QPoint(probeX, 5)).COLUMN > 2);
    QCOMPARE(f.grid->grab(strip).toImage(), unscrolled);
    QVERIFY(f.grid->grab(strip.translated(strip.width(), 0)).toImage() != otherColumns);
    // Moving left from a scrolled column never hides the cell under the frozen one.
    f.go(1, 6);
    f.grid->scrollTo(f.grid->currentIndex());
    const int left = f.grid->visualRect(f.grid->currentIndex()).left();
    QVERIFY(left >= f.grid->frozenWidth());
    // Home goes to the frozen name and shows the row's start again.
    f.grid->horizontalScrollBar()->setValue(f.grid->horizontalScrollBar()->maximum());
    QTest::keyClick(f.grid.get(), Qt::Key_Home);
    QCOMPARE(f.grid->CURRENTCOLUMN(), 1);
    QCOMPARE(f.grid->horizontalScrollBar()->value(), 0);
    // A click on the frozen strip itself lands on the row under it (it used to crash the program).
    const QPoint frozenCell = frozenView->visualRect(frozenView->model()->index(3, 0)).center();
    QTest::mouseClick(frozenView->viewport(), Qt::LeftButton, {}, frozenCell);
    QCOMPARE(f.server->RECNO(), 4);
    QCOMPARE(f.grid->CURRENTCOLUMN(), 1);
}

// A grid that is a window of its own closes when destroyed: the view lays its caption bars out
// again while it hides them, after the grid's own part is gone. The bars must read nothing of it
// then (the sanitizer build stops on a call into the destroyed grid).
void TstBBrowser::aShownGridGoesWithoutItsCaptionBarsReadingIt()
{
    for (int captionHeight : {40, 0}) {
        Fixture f(6, 8);
        f.grid->setFREEZE(1);
        f.grid->setCAPTIONHEIGHT(captionHeight);
        f.grid->RECALCULATE();
        QCoreApplication::processEvents();
        QVERIFY(f.grid->horizontalHeader()->height() > 0);
        QPointer<QHeaderView> captions = f.grid->horizontalHeader();
        f.grid.reset();
        QVERIFY(!captions);
    }
}

void TstBBrowser::cursorSkipsANonSelectableColumn()
{
    test::ScriptedMessages messages;
    Fixture f;
    f.grid->GETCOLUMN(3)->setSELECTABLE(false);
    f.go(2, 2);
    QTest::keyClick(f.grid.get(), Qt::Key_Right);
    QCOMPARE(f.grid->CURRENTCOLUMN(), 4);
    QTest::keyClick(f.grid.get(), Qt::Key_Left);
    QCOMPARE(f.grid->CURRENTCOLUMN(), 2);
    QVERIFY(!f.grid->setCURRENTCOLUMN(3));
    QCOMPARE(f.grid->CURRENTCOLUMN(), 2);
    // A click on it moves to the row but keeps the cursor off the column.
    QTest::mouseClick(f.grid->viewport(), Qt::LeftButton, {}, f.centreOf(3, 2));
    QCOMPARE(f.server->RECNO(), 4);
    QVERIFY(f.grid->CURRENTCOLUMN() != 3);
}

void TstBBrowser::spaceAndClickTick()
{
    test::ScriptedMessages messages;
    Owner owner;
    BBROWSER grid(nullptr, &owner);
    auto server = std::make_shared<BARRAYSERVER>(
        ServerFields{{QStringLiteral("CHK"), u'L', 1, 0}, {QStringLiteral("NAME"), u'C', 10, 0}},
        ServerRows{{false, QStringLiteral("a")}, {true, QStringLiteral("b")}, {false, QStringLiteral("c")}});
    grid.resize(300, 200);
    grid.USE(server);
    grid.setEDITABLE(true);
    auto *ticks = static_cast<BCHECKCOLUMN *>(grid.ADDCOLUMN(std::make_unique<BCHECKCOLUMN>(QStringLiteral("CHECK"))));
    grid.OPENCOLUMN(ticks, 1);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    grid.SETFOCUS();
    // Space on the logical field's check box writes the field through the edit events.
    server->GOTO(1);
    grid.setCURRENTCOLUMN(2);
    QTest::keyClick(&grid, Qt::Key_Space);
    QVERIFY(server->valueAt(1, 1).toBool());
    QCOMPARE(owner.log, (QStringList{"edit1:c2:r1:F", "edit7:c2:r1:T"}));
    // A click on another row's box ticks that row.
    const QPoint box = grid.visualRect(grid.model()->index(2, 1)).center();
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, box);
    QCOMPARE(server->RECNO(), 3);
    QVERIFY(server->valueAt(3, 1).toBool());
    // The tick column keeps its own list.
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.visualRect(grid.model()->index(1, 0)).center());
    QCOMPARE(ticks->checkedRecords(), QList<int>{2});
    grid.setCURRENTCOLUMN(1);
    QTest::keyClick(&grid, Qt::Key_Space);
    QCOMPARE(ticks->CHECKEDCOUNT(), 0);
    QCOMPARE(grid.cellLook(1, 0).checked, false);
    // A refused begin leaves the field alone.
    owner.allowBegin = false;
    grid.setCURRENTCOLUMN(2);
    QTest::keyClick(&grid, Qt::Key_Space);
    QVERIFY(server->valueAt(2, 1).toBool());
}

// Dark pixels inside the middle of a cell: the tick (the box's white inside is never dark).
static int darkPixelsInTheBox(BBROWSER &grid, int row0, int column0)
{
    const QRect cell = grid.visualRect(grid.model()->index(row0, column0));
    const QImage image = grid.viewport()->grab(cell).toImage();
    const QRect inner(image.width() / 2 - 4, image.height() / 2 - 4, 9, 9);
    int dark = 0;
    for (int y = inner.top(); y <= inner.bottom(); ++y)
        for (int x = inner.left(); x <= inner.right(); ++x)
            if (qGray(image.pixel(x, y)) < 100)
                ++dark;
    return dark;
}

void TstBBrowser::theCurrentCellShowsItsTick()
{
    test::ScriptedMessages messages;
    Owner owner;
    GRPBELIRLE_BBROWSER grid(nullptr, &owner);
    auto server = std::make_shared<BARRAYSERVER>(
        ServerFields{{QStringLiteral("NAME"), u'C', 10, 0}, {QStringLiteral("CHK"), u'L', 1, 0}},
        ServerRows{{QStringLiteral("a"), true}, {QStringLiteral("b"), false}, {QStringLiteral("c"), true}});
    grid.resize(300, 200);
    grid.USE(server);
    grid.setEDITABLE(true);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    // The row just clicked is current: its tick shows as on any other ticked row.
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.visualRect(grid.model()->index(1, 1)).center());
    QVERIFY(server->valueAt(2, 2).toBool());
    QCOMPARE(server->RECNO(), 2);
    QCOMPARE(grid.CURRENTCOLUMN(), 2);
    QCoreApplication::processEvents();
    const int otherRow = darkPixelsInTheBox(grid, 0, 1);
    QVERIFY(otherRow > 3);
    QCOMPARE(darkPixelsInTheBox(grid, 1, 1), otherRow);
    // Unticked, the current box is empty.
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.visualRect(grid.model()->index(1, 1)).center());
    QVERIFY(!server->valueAt(2, 2).toBool());
    QCoreApplication::processEvents();
    QCOMPARE(darkPixelsInTheBox(grid, 1, 1), 0);
}

void TstBBrowser::deleteKeyRunsItsCommand()
{
    test::ScriptedMessages messages;
    Fixture f;
    int deletes = 0;
    f.grid->KEYCOMMAND(Qt::Key_Delete, [&] {
        ++deletes;
        f.grid->DELETE();
        f.server->PACK();
    });
    f.go(2, 3);
    QTest::keyClick(f.grid.get(), Qt::Key_Delete);
    QCOMPARE(deletes, 1);
    QCOMPARE(f.server->LASTREC(), 4);
    QCOMPARE(f.grid->LASTRECNO(), 4);
    QCOMPARE(f.cell(2, 1), QStringLiteral("Madde 3"));
    QVERIFY(!f.grid->currentEditor()); // the key did not start an edit
    // Other keys reach the owner after the grid has handled them.
    QList<int> seen;
    f.owner.KEYDOWN = [&](BBROWSER &grid, QKeyEvent &key) { seen << key.key() << grid.SERVER()->RECNO(); };
    QTest::keyClick(f.grid.get(), Qt::Key_Down);
    QTest::keyClick(f.grid.get(), Qt::Key_Return);
    QTest::keyClick(f.grid.get(), Qt::Key_Delete);
    QCOMPARE(seen, (QList<int>{Qt::Key_Down, 3, Qt::Key_Return, 3}));
}

void TstBBrowser::paintingAfterSuspendedChangesShowsTheServer()
{
    test::ScriptedMessages messages;
    const bool hidden = DbfTable::setDeleted(true); // as the editors run
    Fixture f(30, 4);
    f.grid->viewport()->repaint();
    f.server->SUSPENDNOTIFICATION();
    // Rows go while nobody is told, then the event loop paints (as under a notice dialog).
    for (int i = 0; i < 25; ++i) {
        f.server->GOBOTTOM();
        f.server->DELETE();
    }
    f.server->PACK();
    f.grid->viewport()->repaint();
    QCoreApplication::processEvents();
    QCOMPARE(f.grid->model()->rowCount(), 5);
    QCOMPARE(f.grid->cellLook(4, 0).text.trimmed(), QStringLiteral("Madde 5"));
    QCOMPARE(f.grid->cellLook(20, 0).text, QString()); // a row beyond the server reads blank
    // And rows that come while nobody is told show up too.
    f.server->APPEND();
    f.server->FIELDPUT(1, QStringLiteral("Yeni"));
    f.grid->viewport()->repaint();
    QCOMPARE(f.grid->model()->rowCount(), 6);
    QCOMPARE(f.grid->cellLook(5, 0).text.trimmed(), QStringLiteral("Yeni"));
    f.server->RESETNOTIFICATION();
    QVERIFY(!f.owner.girdeg);
    // Deleted rows shown again by the shared switch: the next paint shows them.
    f.server->GOTO(1);
    f.server->DELETE();
    f.grid->viewport()->repaint();
    QCOMPARE(f.grid->model()->rowCount(), 5);
    DbfTable::setDeleted(false);
    f.grid->viewport()->repaint();
    QCOMPARE(f.grid->model()->rowCount(), 6);
    DbfTable::setDeleted(hidden);
}

void TstBBrowser::refreshSendsNoNotification()
{
    test::ScriptedMessages messages;
    Fixture f(5, 4, std::make_unique<BM_BBROWSER>());
    f.go(3, 2);
    f.server->SUSPENDNOTIFICATION();
    f.server->FIELDPUT(2, QStringLiteral("999"));
    f.server->RESETNOTIFICATION();
    f.grid->SUSPENDUPDATE();
    f.grid->REFRESH();
    f.grid->RESTOREUPDATE();
    QVERIFY(!f.owner.girdeg);
    QCOMPARE(f.server->RECNO(), 3);
    QCOMPARE(f.grid->GETROWNO(), 3);
    QCOMPARE(f.grid->cellLook(2, 1).text.trimmed(), QStringLiteral("999"));
    // The owner's own refresh code, by contrast, is a change.
    f.server->NOTIFY(ServerNotify::FileChange);
    QVERIFY(f.owner.girdeg);
}

void TstBBrowser::stockWarningOnAnOutOfStockRow()
{
    test::ScriptedMessages messages;
    auto grid = std::make_unique<YM_BBROWSER>();
    YM_BBROWSER *ym = grid.get();
    Fixture f(4, 3, std::move(grid));
    QStringList status;
    f.owner.STATUSMESSAGE = [&](const QString &s) { status << s; };
    QList<bool> stock{true, false, true};
    ym->setOutOfStock(flagIsFalse(&stock));
    struct
    {
        int row0;
        Qt::MouseButton button;
        int warnings;
    } clicks[] = {{1, Qt::LeftButton, 1}, {1, Qt::RightButton, 1}, {0, Qt::LeftButton, 1}, {3, Qt::LeftButton, 1}};
    for (const auto &c : clicks) {
        QTest::mouseClick(f.grid->viewport(), c.button, {}, f.centreOf(c.row0, 2));
        QCOMPARE(f.server->RECNO(), c.row0 + 1);
        QCOMPARE(status.size(), c.warnings);
    }
    QCOMPARE(status.first(), QStringLiteral("Yem maddesi stokda yok!"));
    stock.clear();
    QTest::mouseClick(f.grid->viewport(), Qt::LeftButton, {}, f.centreOf(1, 2));
    QCOMPARE(status.size(), 1);
}

void TstBBrowser::checkDialogsTickTheirField()
{
    test::ScriptedMessages messages;
    Owner owner;
    bool chkdeg = false;
    owner.CHKDEG = [&](bool on) { chkdeg = on; };
    GRPBELIRLE_BBROWSER grid(nullptr, &owner);
    auto server = std::make_shared<BARRAYSERVER>(
        ServerFields{{QStringLiteral("NAME"), u'C', 10, 0}, {QStringLiteral("CHK"), u'L', 1, 0}},
        ServerRows{{QStringLiteral("a"), false}, {QStringLiteral("b"), false}});
    grid.resize(300, 200);
    grid.USE(server);
    grid.setEDITABLE(true);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    const auto at = [&](int row0, int col0) { return grid.visualRect(grid.model()->index(row0, col0)).center(); };
    // A left click anywhere on a data row ticks it once (the grid itself does not tick too).
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, at(1, 0));
    QVERIFY(server->valueAt(2, 2).toBool());
    QVERIFY(chkdeg);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, at(1, 1));
    QVERIFY(!server->valueAt(2, 2).toBool());
    chkdeg = false;
    QTest::mouseClick(grid.viewport(), Qt::RightButton, {}, at(0, 0));
    QVERIFY(!server->valueAt(1, 2).toBool());
    // Below the last row there is no data cell.
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, QPoint(10, grid.viewport()->height() - 3));
    QVERIFY(!server->valueAt(1, 2).toBool() && !server->valueAt(2, 2).toBool());
    QVERIFY(!chkdeg);
}

void TstBBrowser::singleChoiceMovesTheMark()
{
    test::ScriptedMessages messages;
    Owner owner;
    CHOICE_BBROWSER grid(nullptr, &owner);
    ServerRows rows;
    for (int i = 1; i <= 5; ++i)
        rows.append({QStringLiteral("%1").arg(i, 3), QStringLiteral("item %1").arg(i)});
    auto server = std::make_shared<BARRAYSERVER>(
        ServerFields{{QStringLiteral("NUM"), u'C', 3, 0}, {QStringLiteral("NAME"), u'C', 28, 0}}, rows);
    grid.resize(300, 250);
    grid.USE(server);
    auto *ticks = static_cast<BCHECKCOLUMN *>(grid.ADDCOLUMN(std::make_unique<BCHECKCOLUMN>(QStringLiteral("CHECK"))));
    grid.OPENCOLUMN(ticks, 1);
    grid.KEYCOMMAND(Qt::Key_Space, [&] { grid.CELLCLICKED(); });
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    const auto click = [&](int row0) {
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.visualRect(grid.model()->index(row0, 2)).center());
    };
    click(1);
    QCOMPARE(ticks->checkedRecords(), QList<int>{2});
    click(4);
    QCOMPARE(ticks->checkedRecords(), QList<int>{5});
    click(4);
    QCOMPARE(ticks->CHECKEDCOUNT(), 0);
    server->GOTO(3);
    QTest::keyClick(&grid, Qt::Key_Space);
    QCOMPARE(ticks->checkedRecords(), QList<int>{3});
    QTest::mouseClick(grid.viewport(), Qt::RightButton, {}, grid.visualRect(grid.model()->index(0, 2)).center());
    QCOMPARE(ticks->checkedRecords(), QList<int>{3});
}

void TstBBrowser::captionsAndDoubleClicksReachTheOwner()
{
    test::ScriptedMessages messages;
    Fixture f;
    QList<int> captions;
    QList<int> doubles;
    f.owner.CAPTIONCLICK = [&](BBROWSER &, int column) { captions << column; };
    f.owner.CELLDOUBLECLICK = [&](BBROWSER &, BCELL cell) { doubles << cell.ROW * 10 + cell.COLUMN; };
    f.grid->GETCOLUMN(2)->setCAPTION(QStringLiteral("Fiyatı,\r\nKrş/Kg"));
    QCOMPARE(f.grid->GETCOLUMN(2)->captionLines(), (QStringList{"Fiyatı,", "Krş/Kg"}));
    QCOMPARE(f.grid->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Fiyatı,\nKrş/Kg"));
    auto *header = f.grid->horizontalHeader();
    const QPoint cap(header->sectionViewportPosition(2) + 5, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, cap);
    QVERIFY(captions.isEmpty()); // caption clicks are off until enabled
    f.grid->setENABLECAPTIONCLICK(true);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, cap);
    QCOMPARE(captions, QList<int>{3});
    QTest::mouseDClick(f.grid->viewport(), Qt::LeftButton, {}, f.centreOf(1, 0));
    QCOMPARE(doubles, QList<int>{21});
}

void TstBBrowser::ownersEventHandlerSeesMessagesFirst()
{
    test::ScriptedMessages messages;
    Fixture f;
    QLineEdit search;
    QStringList seen;
    // A typed character in the grid goes to the owner's search field instead of starting an edit.
    f.grid->bRegisterByEventHandler(f.grid.get(), [&](QObject *, QEvent *e) {
        if (e->type() != QEvent::KeyPress)
            return false;
        auto *key = static_cast<QKeyEvent *>(e);
        if (key->text().isEmpty() || key->text().at(0) < u' ')
            return false;
        seen << key->text();
        search.setText(search.text() + key->text());
        return true;
    });
    f.go(1, 2);
    QTest::keyClicks(f.grid.get(), QStringLiteral("ab"));
    QCOMPARE(seen, (QStringList{"a", "b"}));
    QCOMPARE(search.text(), QStringLiteral("ab"));
    QVERIFY(!f.grid->currentEditor());
    QVERIFY(f.owner.log.isEmpty());
    // Arrow keys pass.
    QTest::keyClick(f.grid.get(), Qt::Key_Down);
    QCOMPARE(f.server->RECNO(), 2);
    f.grid->bUnregisterByEventHandler(f.grid.get());
    f.type(QStringLiteral("7"));
    QVERIFY(f.grid->currentEditor());
}

void TstBBrowser::gridGoesSafelyWithItsRegisteredControls_data()
{
    QTest::addColumn<bool>("theGridItself");
    QTest::addColumn<bool>("unregistered");
    QTest::newRow("the grid, registered") << true << false;
    QTest::newRow("the grid, unregistered") << true << true;
    QTest::newRow("a child, registered") << false << false;
    QTest::newRow("a child, unregistered") << false << true;
}

// The add-ingredients dialog registers its grid itself. The grid's own `destroyed`, and its
// children's, come after the grid's members are gone, so nothing of the registration may run then.
// Freed memory is overwritten here so that a late touch of the handler table fails at once instead of
// now and then.
void TstBBrowser::gridGoesSafelyWithItsRegisteredControls()
{
    QFETCH(bool, theGridItself);
    QFETCH(bool, unregistered);
    test::ScriptedMessages messages;
    mallopt(M_PERTURB, 0xa5);
    const auto restore = qScopeGuard([] { mallopt(M_PERTURB, 0); });
    Fixture f;
    QObject *control = theGridItself ? static_cast<QObject *>(f.grid.get()) : new QObject(f.grid.get());
    int calls = 0;
    f.grid->bRegisterByEventHandler(control, [&](QObject *, QEvent *) { ++calls; return false; });
    QObject outside;
    f.grid->bRegisterByEventHandler(&outside, [](QObject *, QEvent *) { return false; });
    QEvent first(QEvent::User);
    QCoreApplication::sendEvent(control, &first);
    QCOMPARE(calls, 1);
    if (unregistered)
        f.grid->bUnregisterByEventHandler(control);
    f.grid.reset();
    // The control outside the grid goes on without the grid's filter.
    QEvent later(QEvent::User);
    QCoreApplication::sendEvent(&outside, &later);
    QCOMPARE(calls, 1);
}

void TstBBrowser::autoEditModes()
{
    test::ScriptedMessages messages;
    const struct
    {
        BrowserAutoEdit mode;
        bool typingEdits;
        bool clickOnCurrentEdits;
        bool movingEdits;
    } cases[] = {
        {BrowserAutoEdit::NONE, false, false, false},
        {BrowserAutoEdit::EXCEL, true, false, false},
        {BrowserAutoEdit::SENSITIVE, true, true, false},
        {BrowserAutoEdit::PERMANENT, true, true, true},
    };
    for (const auto &c : cases) {
        Fixture f;
        f.grid->setAUTOEDIT(c.mode);
        f.go(2, 3);
        f.type(QStringLiteral("4"));
        QCOMPARE(bool(f.grid->currentEditor()), c.typingEdits || c.movingEdits);
        f.enter();
        if (f.grid->currentEditor()) // a permanent edit field stays open on the current cell
            f.grid->storePendingEdit();
        QCOMPARE(f.cell(2, 3), QString(c.typingEdits ? "4" : "202"));
        QTest::mouseClick(f.grid->viewport(), Qt::LeftButton, {}, f.centreOf(3, 2));
        QTest::qWait(QApplication::doubleClickInterval() + 50);
        const bool afterFirstClick = f.grid->currentEditor();
        QCOMPARE(afterFirstClick, c.movingEdits);
        if (!afterFirstClick) {
            QTest::mouseClick(f.grid->viewport(), Qt::LeftButton, {}, f.centreOf(3, 2));
            QTest::qWait(QApplication::doubleClickInterval() + 50);
            QCOMPARE(bool(f.grid->currentEditor()), c.clickOnCurrentEdits);
        }
        // F2 always edits.
        f.grid->storePendingEdit();
        QTest::keyClick(f.grid.get(), Qt::Key_F2);
        QVERIFY(f.grid->currentEditor());
        QCOMPARE(f.grid->currentEditor()->text(), QStringLiteral("402"));
        QCOMPARE(f.owner.offRow, 0);
    }
}

void TstBBrowser::nutrientDefinitionsFlagsFromRealEdits()
{
    test::ScriptedMessages messages;
    Fixture f(4, 4, std::make_unique<BMS_BBROWSER>());
    bool bmchange = false;
    bool alan3 = false;
    f.owner.BMCHANGE = [&](bool on) { bmchange = on; };
    f.owner.ALAN3DEG = [&](bool on) { alan3 = on; };
    f.go(1, 2);
    f.type(QStringLiteral("9"));
    f.enter();
    QVERIFY(bmchange);
    QVERIFY(!alan3);
    f.server->APPEND();
    QVERIFY(!alan3);
    f.go(2, 3);
    f.type(QStringLiteral("9"));
    f.enter();
    QVERIFY(alan3);
    QVERIFY(!f.owner.girdeg); // this class keeps its own flag
}

void TstBBrowser::formGridSwitchesKeyboardModeOff()
{
    test::ScriptedMessages messages;
    Fixture f(4, 2, std::make_unique<RYY_BBROWSER>());
    QList<bool> modes;
    f.owner.KEYBOARDNAVIGATION = [&](bool on) { modes << on; };
    QTest::mouseClick(f.grid->viewport(), Qt::LeftButton, {}, f.centreOf(2, 1));
    QCOMPARE(f.server->RECNO(), 3);
    QCOMPARE(modes, QList<bool>{false});
    QTest::mouseClick(f.grid->viewport(), Qt::RightButton, {}, f.centreOf(1, 1)); // any button
    QCOMPARE(modes, (QList<bool>{false, false}));
    // Without the focus the grid leaves the owner's mode alone.
    f.grid->clearFocus();
    QVERIFY(!f.grid->ISACTIVE());
    BMouseEvent press;
    press.BUTTONID = 1;
    press.pos = f.centreOf(0, 1);
    f.grid->MOUSEBUTTONDOWN(press);
    QCOMPARE(f.server->RECNO(), 1);
    QCOMPARE(modes.size(), 2);
}

void TstBBrowser::rowsChangingDuringAnEditAreSafe()
{
    test::ScriptedMessages messages;
    const bool hidden = DbfTable::setDeleted(true);
    Fixture f(6, 3);
    // An owner whose Typed step appends a row (a server-wide change in the middle of the store).
    f.owner.onTyped = [&](BCellEditEvent &e) {
        BARRAYSERVER *s = e.grid->SERVER();
        const int rec = s->RECNO();
        s->APPEND();
        s->FIELDPUT(1, QStringLiteral("Eklenen"));
        s->GOTO(rec);
    };
    f.go(2, 2);
    f.type(QStringLiteral("8"));
    f.enter();
    QCoreApplication::processEvents();
    QCOMPARE(f.cell(2, 2), QStringLiteral("8"));
    QCOMPARE(f.grid->model()->rowCount(), 7);
    QCOMPARE(f.grid->cellLook(6, 0).text.trimmed(), QStringLiteral("Eklenen"));
    // Rows deleted and packed while a cell is open: the field closes, nothing is written anywhere.
    f.owner.onTyped = nullptr;
    f.go(6, 3);
    f.type(QStringLiteral("9"));
    QVERIFY(f.grid->currentEditor());
    f.server->DELETE();
    f.server->PACK();
    QVERIFY(!f.grid->currentEditor());
    QCoreApplication::processEvents();
    QCOMPARE(f.grid->model()->rowCount(), 6);
    for (int rec = 1; rec <= 6; ++rec)
        QVERIFY(f.cell(rec, 3) != QStringLiteral("9"));
    f.grid->viewport()->repaint();
    DbfTable::setDeleted(hidden);
}

void TstBBrowser::coloursFollowTheirPrecedence()
{
    test::ScriptedMessages messages;
    Fixture f(4, 3);
    QList<bool> stock{true, true, false, false};
    const QColor grey(190, 190, 190);
    BDATACOLUMN *input = f.grid->GETCOLUMN(2);
    BDATACOLUMN *result = f.grid->GETCOLUMN(4);
    input->setFOREGROUND(Qt::blue);
    result->addCOLORCONDITION({BCOLORCONDITION::startsWithStar(result->NAME()), QColor(Qt::red), std::nullopt});
    f.grid->addCOLORCONDITION({BCOLORCONDITION::byRecord(flagIsFalse(&stock)), QColor(Qt::cyan), std::nullopt});
    f.grid->addCOLORCONDITION({BCOLORCONDITION::oddRecNo(), std::nullopt, QBrush(grey)});
    f.server->GOTO(4);
    f.server->FIELDPUT(4, QStringLiteral("  *9.000"));
    f.server->GOTO(2);
    f.server->FIELDPUT(4, QStringLiteral("  *9.000"));
    const QColor text = f.grid->palette().color(QPalette::Text);
    const struct
    {
        int row0;
        int column0;
        QColor foreground;
        bool shaded;
    } cells[] = {
        {0, 0, text, true},        // plain text on an odd row
        {0, 1, Qt::blue, true},    // the column's own colour
        {1, 1, Qt::blue, false},
        {2, 1, Qt::cyan, true},    // out of stock overrides the column's colour
        {1, 3, Qt::red, false},    // the column's condition comes last
        {3, 3, Qt::red, false},    // ... also over the out-of-stock colour
        {3, 2, Qt::cyan, false},
    };
    for (const auto &c : cells) {
        const BBROWSER::CellLook look = f.grid->cellLook(c.row0, c.column0);
        QCOMPARE(look.foreground, c.foreground);
        QCOMPARE(look.background.color() == grey, c.shaded);
    }
    // The owner puts the ingredient back in stock: the next look (and paint) shows it at once.
    QCOMPARE(f.grid->cellLook(2, 1).foreground, QColor(Qt::cyan));
    stock[2] = true;
    QCOMPARE(f.grid->cellLook(2, 1).foreground, QColor(Qt::blue));
    f.grid->viewport()->repaint();
    stock[2] = false;
    QCOMPARE(f.grid->cellLook(2, 1).foreground, QColor(Qt::cyan));
}

void TstBBrowser::addIngredientsDialogTicksAndShowsTheName()
{
    test::ScriptedMessages messages;
    Owner owner;
    bool chkdeg = false;
    owner.CHKDEG = [&](bool on) { chkdeg = on; };
    SSEARCH_BBROWSER grid(nullptr, &owner);
    auto server = std::make_shared<BARRAYSERVER>(
        ServerFields{{QStringLiteral("CHCK"), u'L', 1, 0}, {QStringLiteral("KOD"), u'C', 3, 0},
                     {QStringLiteral("YMNAME"), u'C', 25, 0}, {QStringLiteral("FIATI"), u'C', 11, 0}},
        ServerRows{{false, QStringLiteral("  1"), QStringLiteral("Arpa"), QStringLiteral("      5.000")},
                   {false, QStringLiteral("  2"), QStringLiteral("Mısır"), QStringLiteral("      6.000")}});
    grid.resize(400, 200);
    grid.USE(server);
    grid.setEDITABLE(true);
    grid.GETCOLUMN(2)->setSELECTABLE(false);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    const auto at = [&](int row0, int col0) { return grid.visualRect(grid.model()->index(row0, col0)).center(); };
    // A left click on the price of row 2 ticks that row once and leaves the name current.
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, at(1, 3));
    QCOMPARE(server->RECNO(), 2);
    QVERIFY(server->valueAt(2, 1).toBool());
    QVERIFY(chkdeg);
    QCOMPARE(grid.CURRENTCOLUMN(), 3);
    // On the tick itself: ticked by the class only (not a second time by the grid).
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, at(0, 0));
    QVERIFY(server->valueAt(1, 1).toBool());
    QCOMPARE(grid.CURRENTCOLUMN(), 3);
    // The right button ticks nothing but still brings the name column back.
    grid.setCURRENTCOLUMN(4);
    QTest::mouseClick(grid.viewport(), Qt::RightButton, {}, at(1, 3));
    QVERIFY(server->valueAt(2, 1).toBool());
    QCOMPARE(grid.CURRENTCOLUMN(), 3);
}

QTEST_MAIN(TstBBrowser)
#include "tst_bbrowser.moc"
