// The grid driven by keys and clicks, offscreen: the owner's edit events, the typing filter, frozen
// and non-selectable columns, ticks, key commands, and painting a server that changed behind the
// grid's back.
#include "controls/bbrowser.h"
#include "controls/grid_subclasses.h"

#include "platform/dbf_table.h"
#include "scripted_messages.h"

#include <QLineEdit>
#include <QScrollBar>
#include <QtTest>

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

    Owner()
    {
        CELLEDIT = [this](BCellEditEvent &e) {
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

QTEST_MAIN(TstBBrowser)
#include "tst_bbrowser.moc"
