// The three editors as the user meets them: opened from the main window, typed into, pasted, a row
// deleted, solved with the real solver and closed; the problem's lists and flags checked after.
#include "editor_fixture.h"

#include "controls/command_registry.h"
#include "controls/grid_subclasses.h"
#include "controls/menu_builder.h"
#include "editors/constraint_edit_window.h"
#include "platform/dbf_filespec.h"
#include "problem/dbserverr.h"
#include "problem/number_text.h"
#include "problem/open_problem.h"
#include "refdb/reference_additions.h"
#include "scripted_matcher.h"
#include "problem/app_globals.h"
#include "real_boxes.h"
#include "scripted_messages.h"
#include "reports/report_pads.h"
#include "shell/shell_window.h"
#include "solver/report_data_form.h"
#include "solver/report_road.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QtTest>

using namespace vexo;
using Act = vexo::test::RealBoxes::Act;

Q_DECLARE_METATYPE(vexo::test::RealBoxes::Act)
Q_DECLARE_METATYPE(vexo::EditorKind)

using namespace Qt::StringLiterals;

namespace {

QString c(const QString &text)
{
    return text.rightJustified(11, u' ');
}

} // namespace

class TestConstraintEditWindow : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<test::EditorEnvironment> env;
    std::unique_ptr<test::ScriptedMessages> messages;
    std::unique_ptr<test::ScriptedDialogs> dialogs;
    std::unique_ptr<SSHELLWINDOW> shell;

    ConstraintEditWindow *open(EditorKind kind)
    {
        shellCommands().run(editorTraits(kind).command);
        auto *w = qobject_cast<ConstraintEditWindow *>(shell->GETDATAWINDOW(editorTraits(kind).className));
        if (w)
            QTest::qWait(20);
        return w;
    }

    // Moves the grid to a cell, as a click would.
    static void goTo(ConstraintEditWindow *w, int row, int column)
    {
        w->server()->GOTO(row);
        w->BROWSER()->setCURRENTCOLUMN(column);
    }

    // Types into the current cell the way a user does: the keys, then Return.
    static void type(ConstraintEditWindow *w, const QString &text)
    {
        w->BROWSER()->setFocus();
        // The first key reaches the grid, the rest the edit field it opened.
        for (QChar ch : text) {
            QLineEdit *editor = w->BROWSER()->currentEditor();
            QTest::keyClicks(editor ? static_cast<QWidget *>(editor) : w->BROWSER(), QString(ch));
        }
        QLineEdit *editor = w->BROWSER()->currentEditor();
        QVERIFY(editor);
        QTest::keyClick(editor, Qt::Key_Return);
        QTest::qWait(30);
    }

    static QString cell(ConstraintEditWindow *w, int row, int field)
    {
        return w->server()->textAt(row, field);
    }

private slots:
    void init()
    {
        env = std::make_unique<test::EditorEnvironment>();
        messages = std::make_unique<test::ScriptedMessages>();
        dialogs = std::make_unique<test::ScriptedDialogs>();
        QVERIFY(test::openSmallProblem(env->path(QStringLiteral("KUCUK.VKD"))));
        installEditorCommands();
        shell = std::make_unique<SSHELLWINDOW>();
        shell->resize(1100, 800);
        shell->show();
        QVERIFY(QTest::qWaitForWindowExposed(shell.get()));
    }

    void cleanup()
    {
        shell->CLOSEWINDOWSEXIST();
        shell.reset();
        dialogs.reset();
        messages.reset();
        env.reset();
    }

    void ingredientEditor()
    {
        OpenProblem &p = openProblem();
        ConstraintEditWindow *w = open(EditorKind::Ingredient);
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), QStringLiteral("Yem Maddesi Verileri Girişi"));
        QCOMPARE(shell->shownMenu(), w->childMenu());
        QVERIFY(w->childMenu()->isEnabled(29171));
        QVERIFY(!w->contextMenu()->isEnabled(3403));
        QCOMPARE(w->PBDURUM()->toolTip(), QStringLiteral("Çözüm yapılmadı"));
        QCOMPARE(w->BROWSER()->GETCOLUMN(QStringLiteral("YMPRICE"))->CAPTION(), QStringLiteral("Fiyatı,\r\nKrş/Kg"));

        // Type a price with a comma; letters never reach the cell.
        goTo(w, 1, 2);
        type(w, QStringLiteral("1a2,5"));
        QCOMPARE(cell(w, 1, 2), c("12.500"));
        QVERIFY(w->model().LFIATDEG);
        QVERIFY(w->model().GIRDEG);
        QVERIFY(w->contextMenu()->isEnabled(3403));

        // A fixed value blanks the limits typed before it.
        goTo(w, 2, 4);
        type(w, QStringLiteral("10"));
        QCOMPARE(cell(w, 2, 4), c("10.000"));
        goTo(w, 2, 3);
        type(w, QStringLiteral("30"));
        QCOMPARE(cell(w, 2, 3), c("30.000"));
        QCOMPARE(cell(w, 2, 4), QString(11, u' '));

        // Copy the price and paste it as MISIR's upper limit, by the keys of the menu.
        goTo(w, 1, 2);
        QTest::keyClick(w->BROWSER(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(p.UPANODEGER, std::optional<QString>(c("12.500")));
        goTo(w, 1, 5);
        QTest::keyClick(w->BROWSER(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(cell(w, 1, 5), c("12.500"));

        // Delete KEPEK; its matrix and membership cells go with it.
        goTo(w, 4, 1);
        messages->answer(MessageAnswer::Yes);
        QVERIFY(w->runCommand(QStringLiteral("PBSIL")));
        QCOMPARE(w->server()->LASTREC(), 3);
        QCOMPARE(p.AYMADLARI, (QStringList{"MISIR", "SOYA", "ARPA"}));
        QCOMPARE(p.AAMAT.first().size(), 3);
        QCOMPARE(p.checkInvariants(), QStringList());

        // Solve from the editor with the real solver.
        goTo(w, 2, 3);
        QVERIFY(w->runCommand(QStringLiteral("PBCOZUM")));
        QCOMPARE(p.NCOZUMSAYISI, 1);
        QCOMPARE(w->PBDURUM()->toolTip(), QStringLiteral("Çözüm optimum"));
        QCOMPARE(w->server()->RECNO(), 2);
        QCOMPARE(w->BROWSER()->CURRENTCOLUMN(), 3);
        QCOMPARE(cell(w, 2, 6), c("30.000"));
        QCOMPARE(w->costField(102)->text(), Str(p.NMALIYET, 11, 3));
        QVERIFY(!w->model().GIRDEG);

        // Close: the rows reach the list; the price question is not asked with the option off.
        QVERIFY(w->runCommand(QStringLiteral("CLOSE")));
        QTest::qWait(20);
        QVERIFY(!shell->GETDATAWINDOW(QStringLiteral("BYM_GIR_WIN")));
        QCOMPARE(p.AYMLIST.size(), 3);
        QCOMPARE(p.AYMLIST[0][YMPRICE], c("12.500"));
        QCOMPARE(p.AYMLIST[1][YMFIX], c("30.000"));
        QVERIFY(p.LYMDEG);
        QVERIFY(!p.UPANODEGER.has_value());
        QCOMPARE(messages->unexpectedQuestions(), 0);
    }

    // The file keeps ingredient limits and saved shares in 12 characters; the grid's cells are 11
    // wide and show such a value whole, also after another cell of its row was typed into.
    void twelveCharacterValuesShowWhole()
    {
        OpenProblem &p = openProblem();
        p.AYMLIST[0][YMLLIMIT] = QStringLiteral("      12.345");
        p.AYMLIST[0][YMKCOZUM] = QStringLiteral("       8.000");
        p.AYMLIST[1][YMULIMIT] = QStringLiteral("     40.000 ");
        ConstraintEditWindow *w = open(EditorKind::Ingredient);
        QVERIFY(w);
        QCOMPARE(cell(w, 1, YMLLIMIT + 1), c("12.345"));
        QCOMPARE(cell(w, 1, YMKCOZUM + 1), c("8.000"));
        QCOMPARE(cell(w, 2, YMULIMIT + 1), c("40.000"));
        goTo(w, 1, 2);
        type(w, QStringLiteral("7"));
        QCOMPARE(cell(w, 1, 2), c("7.000"));
        QCOMPARE(cell(w, 1, YMLLIMIT + 1), c("12.345"));
        QCOMPARE(cell(w, 1, YMKCOZUM + 1), c("8.000"));
        // Only the display drops the blank: the rows keep the texts as stored.
        QCOMPARE(w->model().rows().at(0).at(YMLLIMIT), QStringLiteral("      12.345"));
        QCOMPARE(w->model().rows().at(0).at(YMKCOZUM), QStringLiteral("       8.000"));
    }

    // Cut, copy and paste pressed while a cell is being typed act on the typed text: the editor's
    // one-cell clipboard and the row's limits are not consulted.
    void editKeysWhileTypingActOnTheText()
    {
        OpenProblem &p = openProblem();
        ConstraintEditWindow *w = open(EditorKind::Ingredient);
        QVERIFY(w);
        // The one-cell clipboard holds a value a paste into MISIR's lower limit would refuse.
        goTo(w, 1, 5);
        type(w, QStringLiteral("20"));
        goTo(w, 1, 4);
        type(w, QStringLiteral("50"));
        QCOMPARE(cell(w, 1, 4), QString(11, u' ')); // above the upper limit: blanked as typed
        goTo(w, 1, 5);
        QTest::keyClick(w->BROWSER(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(p.UPANODEGER, std::optional<QString>(c("20.000")));
        const int shownBefore = int(messages->shown().size());

        goTo(w, 1, 4);
        w->BROWSER()->setFocus();
        QTest::keyClicks(w->BROWSER(), QStringLiteral("1"));
        QLineEdit *editor = w->BROWSER()->currentEditor();
        QVERIFY(editor);
        QTest::keyClicks(editor, QStringLiteral("5"));
        editor->selectAll();
        QTest::keyClick(editor, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("15"));
        QTest::keyClick(editor, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(editor->text(), QString());
        QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(editor->text(), QStringLiteral("15"));
        QCOMPARE(w->BROWSER()->currentEditor(), editor);
        QCOMPARE(p.UPANODEGER, std::optional<QString>(c("20.000")));
        QCOMPARE(int(messages->shown().size()), shownBefore);
        QTest::keyClick(editor, Qt::Key_Return);
        QTest::qWait(30);
        QCOMPARE(cell(w, 1, 4), c("15.000"));
        QCOMPARE(cell(w, 1, 5), c("20.000"));
        // With no cell being typed the keys are the editor's own commands again.
        goTo(w, 2, 5);
        QTest::keyClick(w->BROWSER(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(cell(w, 2, 5), c("20.000"));
    }

    void nutrientEditor()
    {
        OpenProblem &p = openProblem();
        ConstraintEditWindow *w = open(EditorKind::Nutrient);
        QVERIFY(w);
        // The weight row's fixed cell refuses typing with its box.
        goTo(w, 1, 3);
        w->BROWSER()->setFocus();
        QTest::keyClicks(w->BROWSER(), QStringLiteral("2"));
        QVERIFY(!w->BROWSER()->currentEditor());
        QVERIFY(!messages->shown().isEmpty());
        QCOMPARE(messages->shown().last().text, QStringLiteral("AGIRLIK rezerve bir alan, değiştirmeye çalışmayınız..."));

        goTo(w, 3, 4);
        type(w, QStringLiteral("19,25"));
        QCOMPARE(cell(w, 3, 4), c("19.2500"));
        QCOMPARE(w->model().rows()[2][BMLLIMIT], c("19.2500"));
        goTo(w, 3, 4);
        w->runCommand(QStringLiteral("COPY"));
        // Pasted into KM's upper limit it is below the lower one: refused.
        goTo(w, 2, 5);
        w->runCommand(QStringLiteral("PASTE"));
        QCOMPARE(cell(w, 2, 5), QString(11, u' '));
        QCOMPARE(messages->shown().last().text, QStringLiteral("Uyumsuz veri girişi..."));
        // Pasted as KM's fixed value it blanks KM's lower limit; the Delete key clears it again.
        goTo(w, 2, 3);
        w->runCommand(QStringLiteral("PASTE"));
        QCOMPARE(cell(w, 2, 3), c("19.2500"));
        QCOMPARE(cell(w, 2, 4), QString(11, u' '));
        QTest::keyClick(w->BROWSER(), Qt::Key_Delete);
        QCOMPARE(cell(w, 2, 3), QString(11, u' '));

        // KM cannot be deleted; HP can, and takes its ratio along.
        goTo(w, 2, 1);
        w->runCommand(QStringLiteral("PBSIL"));
        QCOMPARE(w->server()->LASTREC(), 3);
        QVERIFY(w->runCommand(QStringLiteral("PBCOZUM")));
        QCOMPARE(p.NCOZUMSAYISI, 1);
        QCOMPARE(cell(w, 1, 8), c("1.0000"));
        QCOMPARE(w->PBDURUM()->toolTip(), QStringLiteral("Çözüm optimum"));
        // A typed value puts the solution out of date.
        goTo(w, 3, 5);
        type(w, QStringLiteral("40"));
        QCOMPARE(cell(w, 3, 5), c("40.0000"));
        QCOMPARE(w->PBDURUM()->toolTip(), QStringLiteral("Çözüm yapılmadı"));
        goTo(w, 3, 1);
        messages->answer(MessageAnswer::Yes);
        w->runCommand(QStringLiteral("PBSIL"));
        QCOMPARE(w->server()->LASTREC(), 2);
        QVERIFY(p.ABMOLIST.isEmpty());
        QCOMPARE(w->PBDURUM()->toolTip(), QStringLiteral("Çözüm yapılmadı"));

        w->runCommand(QStringLiteral("CLOSE"));
        QTest::qWait(20);
        QCOMPARE(p.ABMLIST.size(), 2);
        QVERIFY(p.LBMDEG);
        QCOMPARE(p.checkInvariants(), QStringList());
    }

    void ratioEditor()
    {
        OpenProblem &p = openProblem();
        ConstraintEditWindow *w = open(EditorKind::Ratio);
        QVERIFY(w);
        QCOMPARE(w->BROWSER()->CURRENTCOLUMN(), 3);
        dialogs->choices = {1, 1}; // KM over HP
        w->runCommand(QStringLiteral("PBEKLE"));
        QCOMPARE(w->server()->LASTREC(), 2);

        goTo(w, 2, 4);
        type(w, QStringLiteral("4"));
        QCOMPARE(cell(w, 2, 4), c("4.0000"));
        // An upper limit below the lower one is refused: the cell keeps what it had.
        goTo(w, 2, 5);
        type(w, QStringLiteral("3"));
        QCOMPARE(cell(w, 2, 5), QString(11, u' '));
        // A pasted upper limit not above the lower one is refused.
        goTo(w, 1, 5);
        w->runCommand(QStringLiteral("COPY"));
        goTo(w, 2, 5);
        w->runCommand(QStringLiteral("PASTE"));
        QCOMPARE(cell(w, 2, 5), QString(11, u' '));
        QCOMPARE(messages->shown().last().text, QStringLiteral("Uyumsuz veri girişi..."));
        QCOMPARE(cell(w, 2, 4), c("4.0000"));

        QVERIFY(w->runCommand(QStringLiteral("PBCOZUM")));
        QCOMPARE(p.NCOZUMSAYISI, 1);
        QVERIFY(!cell(w, 1, 6).trimmed().isEmpty());
        goTo(w, 1, 1);
        messages->answer(MessageAnswer::Yes);
        w->runCommand(QStringLiteral("PBSIL"));
        w->runCommand(QStringLiteral("CLOSE"));
        QTest::qWait(20);
        QCOMPARE(p.ABMOLIST.size(), 1);
        QCOMPARE(p.ABMOLIST[0][BMONAME1], kDryMatterNutrient.leftJustified(15));
        QVERIFY(p.LBMODEG);
    }

    void resizeFollowsTheRule()
    {
        ConstraintEditWindow w(EditorKind::Ingredient);
        w.resize(1000, 600);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.BROWSER()->size(), QSize(770, 420));
        QCOMPARE(w.costField(102)->pos(), QPoint(200, 435));
        QCOMPARE(w.costField(106)->pos(), QPoint(380, 465));
        QCOMPARE(w.PBDURUM()->pos(), QPoint(470, 435));
        w.CLOSE();
    }

    // A nutrient added from the reference database that drops an ingredient the reference lacks: the
    // ingredient editor, open before with a typed price, was committed and closed when the nutrient
    // editor opened, so no stale copy of the ingredient rows survives the addition; reopened, it
    // shows the remaining rows, and an edit and a commit there keep the problem whole.
    void aNutrientAdditionThatDropsAnIngredientLeavesNoStaleEditor()
    {
        OpenProblem &p = openProblem();
        const QString path = env->path(QStringLiteral("MATNRC6.DBF"));
        QVERIFY(DbfFileSpec(path).create({{"KOD", u'N', 5, 0}, {"YM_ADI", u'C', 25, 0}, {"FIATI", u'C', 11, 0},
                                          {"GRUBU", u'C', 11, 0}, {"CA", u'C', 11, 0}}));
        DBSERVERR reference(path, false, false);
        const QStringList names = {QStringLiteral("MISIR"), QStringLiteral("SOYA"), QStringLiteral("ARPA")};
        for (int k = 0; k < names.size(); ++k) {
            QVERIFY(reference.append());
            reference.fieldPut(QStringLiteral("KOD"), k + 1);
            reference.fieldPut(QStringLiteral("YM_ADI"), names.at(k));
            reference.fieldPut(QStringLiteral("CA"), c(QStringLiteral("0.%1000").arg(k + 1)));
        }
        QVERIFY(reference.commit());

        ConstraintEditWindow *ingredients = open(EditorKind::Ingredient);
        QVERIFY(ingredients);
        QPointer<ConstraintEditWindow> firstIngredients(ingredients);
        goTo(ingredients, 2, 2);
        type(ingredients, QStringLiteral("0,75"));
        QCOMPARE(p.AYMLIST[1][YMPRICE], c(QStringLiteral("20.000"))); // typed, not committed yet

        ConstraintEditWindow *nutrients = open(EditorKind::Nutrient);
        QVERIFY(nutrients);
        QCOMPARE(shell->GETDATAWINDOWS().size(), 1);
        QVERIFY(!shell->GETDATAWINDOW(QStringLiteral("BYM_GIR_WIN")));
        QTRY_VERIFY(firstIngredients.isNull());
        QCOMPARE(p.AYMLIST[1][YMPRICE], c(QStringLiteral("0.750")));

        // KEPEK has no reference record; the user skips it, so it leaves the problem.
        test::ScriptedMatcher matcher;
        matcher.script.enqueue({NameMatchAnswer::Skipped, {}});
        dialogs->onAddNutrients = [&] {
            NutrientAddition addition(reference, nutrients);
            addition.AABRRE = {QStringLiteral("CA")};
            addition.ABIRIM = {QStringLiteral("%")};
            addition.GETRNOOFYM();
            return addition.BESINMADDESIEKLE({1});
        };
        QVERIFY(nutrients->runCommand(QStringLiteral("BESMADEKLE")));
        QCOMPARE(matcher.asked.size(), 1);
        QCOMPARE(matcher.asked.first().name, QStringLiteral("KEPEK"));
        QCOMPARE(p.AYMADLARI, names);
        QCOMPARE(nutrients->server()->LASTREC(), 4);
        QCOMPARE(p.checkInvariants(), QStringList());

        ingredients = open(EditorKind::Ingredient);
        QVERIFY(ingredients);
        QCOMPARE(shell->GETDATAWINDOWS().size(), 1);
        QCOMPARE(ingredients->server()->LASTREC(), 3);
        goTo(ingredients, 3, 2);
        type(ingredients, QStringLiteral("0,4"));
        QVERIFY(ingredients->runCommand(QStringLiteral("CLOSE")));
        QTest::qWait(20);

        QCOMPARE(p.checkInvariants(), QStringList());
        QCOMPARE(p.AYMADLARI, names);
        QCOMPARE(p.AYMLIST[1][YMPRICE], c(QStringLiteral("0.750")));
        QCOMPARE(p.AYMLIST[2][YMPRICE], c(QStringLiteral("0.400")));
        QCOMPARE(p.ABMADLARI.last(), QStringLiteral("CA"));
        QCOMPARE(p.AAMAT.last(), (Row{c("0.100"), c("0.200"), c("0.300")}));
        for (const Row &membership : std::as_const(p.AGMAT))
            QCOMPARE(membership.size(), 3);
    }

    // A context-menu item's description shows while the item is highlighted; when the menu closes
    // the main window's status bar shows its last message again.
    void contextMenuDescriptionsLeaveWithTheMenu()
    {
        ConstraintEditWindow *w = open(EditorKind::Ingredient);
        QVERIFY(w);
        shell->STATUSMESSAGE(QStringLiteral("Çözüm için yeterli veri girişi yapılmadı..."));
        QMenu *popup = w->contextMenu()->popup();
        QVERIFY(popup);
        popup->popup(w->mapToGlobal(QPoint(50, 50)));
        QVERIFY(QTest::qWaitForWindowExposed(popup));
        popup->setActiveAction(w->contextMenu()->action(3395));
        QCOMPARE(shell->statusText(), QStringLiteral("Panoya kopyala"));
        popup->hide();
        QTRY_COMPARE(shell->statusText(), QStringLiteral("Çözüm için yeterli veri girişi yapılmadı..."));
    }

    // The editors open as wide as their columns where the main window can grow for them, and a
    // frame arranged around one (cascade) takes its size, not a title strip.
    void editorsOpenWideEnoughForTheirColumns()
    {
        shell->showNormal();
        shell->setGeometry(0, 30, 560, 500);
        QTest::qWait(30);
        const int canvasBefore = shell->mdiArea()->viewport()->width();
        ConstraintEditWindow *w = open(EditorKind::Ingredient);
        QVERIFY(w);
        const QSize hint = w->sizeHint();
        QVERIFY2(hint.width() >= w->BROWSER()->widthForAllColumns() + 230, qPrintable(QString::number(hint.width())));
        QVERIFY(hint.height() >= 180 + 8 * w->BROWSER()->ROWHEIGHT());
        auto *sub = qobject_cast<QMdiSubWindow *>(w->parentWidget());
        QVERIFY(sub);
        QVERIFY2(sub->width() > canvasBefore, qPrintable(QStringLiteral("%1 %2").arg(sub->width()).arg(canvasBefore)));
        QVERIFY(shell->width() > 560);
        QVERIFY(shell->screen()->availableGeometry().contains(shell->frameGeometry()));

        // Cascaded alone it keeps a useful size, within the canvas.
        shell->WINDOWCASCADE();
        QVERIFY2(sub->width() >= std::min(sub->sizeHint().width(), shell->mdiArea()->viewport()->width() - sub->x()),
                 qPrintable(QString::number(sub->width())));
        QVERIFY2(sub->height() > 200, qPrintable(QString::number(sub->height())));
        QVERIFY(sub->geometry().right() < shell->mdiArea()->viewport()->width());
    }

    // The ratio editor opened and then maximised keeps the divisor (the second nutrient) in view
    // beside the frozen first column.
    void theMaximisedRatioEditorShowsTheDivisor()
    {
        dialogs->choices = {1, 1};
        ConstraintEditWindow *w = open(EditorKind::Ratio);
        QVERIFY(w);
        w->runCommand(QStringLiteral("PBEKLE"));
        auto *sub = qobject_cast<QMdiSubWindow *>(w->parentWidget());
        QVERIFY(sub);
        sub->showMaximized();
        QTest::qWait(30);
        BBROWSER *grid = w->BROWSER();
        QCOMPARE(grid->CURRENTCOLUMN(), 3);
        QVERIFY2(grid->columnViewportPosition(1) >= grid->columnWidth(0),
                 qPrintable(QString::number(grid->columnViewportPosition(1))));
    }

    // A closed editor's frame, title and menu are gone at once, before any question that follows.
    void aClosedEditorsFrameGoesAtOnce()
    {
        ConstraintEditWindow *w = open(EditorKind::Nutrient);
        QVERIFY(w);
        QPointer<QMdiSubWindow> sub = qobject_cast<QMdiSubWindow *>(w->parentWidget());
        QVERIFY(sub && sub->isVisible());
        QVERIFY(shell->CLOSEWINDOWSEXIST());
        // No event has been handled yet.
        QVERIFY(!sub || !sub->isVisible());
        QCOMPARE(shell->shownMenu(), &shell->mainMenu());
    }

    // "Yem maddesi stokda yok!" stays only while it is true: the ingredient back in stock or another
    // ingredient current takes it back; a message of the closed editor goes with the editor.
    void theStockWarningLeavesWhenItStopsBeingTrue()
    {
        OpenProblem &p = openProblem();
        ConstraintEditWindow *w = open(EditorKind::Ingredient);
        QVERIFY(w);
        BBROWSER *grid = w->BROWSER();
        goTo(w, 2, 1);
        QVERIFY(w->runCommand(QStringLiteral("YMSTOKKONT")));
        QVERIFY(!p.AYMSTOK.at(1));
        auto clickRow = [&](int row) {
            const QRect cell = grid->visualRect(grid->model()->index(row - 1, 2));
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
            QTest::qWait(20);
        };
        shell->STATUSMESSAGE(QStringLiteral("Dosya kaydedildi"));
        clickRow(2);
        QCOMPARE(shell->statusText(), kOutOfStockWarning);
        QVERIFY(w->runCommand(QStringLiteral("YMSTOKKONT")));
        QVERIFY(p.AYMSTOK.at(1));
        QCOMPARE(shell->statusText(), QString());

        QVERIFY(w->runCommand(QStringLiteral("YMSTOKKONT")));
        clickRow(2);
        QCOMPARE(shell->statusText(), kOutOfStockWarning);
        clickRow(1);
        QCOMPARE(shell->statusText(), QString());

        // A later message is not taken back; the editor's own message leaves with the editor.
        clickRow(2);
        QCOMPARE(shell->statusText(), kOutOfStockWarning);
        w->runCommand(QStringLiteral("CLOSE"));
        QTest::qWait(30);
        QVERIFY(!shell->GETDATAWINDOW(QStringLiteral("BYM_GIR_WIN")));
        QCOMPARE(shell->statusText(), QString());
    }

    // A solution report is not shown as current after the problem was solved again in an editor:
    // the pad says so first, and the user may prepare a new report instead.
    void anOlderReportSaysSoBeforeItIsRead()
    {
        static InteractiveReportStep step;
        setReportStep(&step);
        int asked = 0;
        setReportDataAsker([&asked](QWidget *, ReportDataForm &form) {
            ++asked;
            form.clickDetay();
            form.accept();
            return true;
        });
        installReportCommands();
        ReportPads *pads = reportPads();
        QVERIFY(pads);
        const QString older = QStringLiteral("Son rapor, problem en son çözülmeden ya da değiştirilmeden önce "
                                             "hazırlandı; güncel çözümü göstermiyor.\n\nYeni bir çözüm raporu "
                                             "hazırlamak ister misiniz?");
        auto questions = [&] {
            int n = 0;
            for (const MessageRequest &m : messages->shown())
                n += m.text == older;
            return n;
        };

        // The main solve writes its report and the pad opens it without a word.
        shell->COZUM();
        QCOMPARE(asked, 1);
        QCOMPARE(pads->GETCHILDWINDOWS().size(), 1);
        QCOMPARE(questions(), 0);
        QVERIFY(shell->CLOSEWINDOWSEXIST());
        shellCommands().run(QStringLiteral("REPORTPAD"));
        QCOMPARE(pads->GETCHILDWINDOWS().size(), 1);
        QCOMPARE(questions(), 0);
        QVERIFY(shell->CLOSEWINDOWSEXIST());

        // Solved again in the editor: the report is older. Hayır opens it all the same.
        ConstraintEditWindow *w = open(EditorKind::Ingredient);
        QVERIFY(w);
        QVERIFY(w->runCommand(QStringLiteral("PBCOZUM")));
        QVERIFY(shell->CLOSEWINDOWSEXIST());
        QTest::qWait(20);
        messages->answer(MessageAnswer::No);
        shellCommands().run(QStringLiteral("REPORTPAD"));
        QCOMPARE(questions(), 1);
        QCOMPARE(messages->shown().last().caption, QStringLiteral("Uyarı..."));
        QCOMPARE(pads->GETCHILDWINDOWS().size(), 1);
        QVERIFY(shell->CLOSEWINDOWSEXIST());

        // Evet prepares a new report (the report data asked again), which then reads as current.
        messages->answer(MessageAnswer::Yes);
        shellCommands().run(QStringLiteral("REPORTPAD"));
        QCOMPARE(questions(), 2);
        QCOMPARE(asked, 2);
        QCOMPARE(pads->GETCHILDWINDOWS().size(), 1);
        QVERIFY(shell->CLOSEWINDOWSEXIST());
        shellCommands().run(QStringLiteral("REPORTPAD"));
        QCOMPARE(questions(), 2);
        QVERIFY(shell->CLOSEWINDOWSEXIST());

        // A changed price makes it older too.
        openProblem().AYMLIST[0][YMPRICE] = c("99.000");
        messages->answer(MessageAnswer::No);
        shellCommands().run(QStringLiteral("REPORTPAD"));
        QCOMPARE(questions(), 3);
        QVERIFY(shell->CLOSEWINDOWSEXIST());
        QCOMPARE(messages->unexpectedQuestions(), 0);

        setReportDataAsker({});
        setReportStep(nullptr);
    }

    // --- a typed value is never dropped without a word -------------------------------------------

    // Letters typed over a price (the filter takes them out as they come) leave the price as it was,
    // and the status bar says why; so does a text that is no number.
    void lettersTypedOverANumberKeepItAndSayWhy()
    {
        ConstraintEditWindow *w = open(EditorKind::Ingredient);
        QVERIFY(w);
        goTo(w, 1, 2);
        type(w, QStringLiteral("780"));
        QCOMPARE(cell(w, 1, 2), c("780.000"));
        messages->clear();
        goTo(w, 1, 2);
        type(w, QStringLiteral("abc"));
        QCOMPARE(cell(w, 1, 2), c("780.000"));
        QCOMPARE(w->model().rows().at(0).at(YMPRICE), c("780.000"));
        QCOMPARE(shell->statusText(), notANumberText());
        QCOMPARE(messages->toneLog().size(), 1);

        // A text of number characters that is no number ("1.2.3") keeps the old value too.
        goTo(w, 1, 2);
        type(w, QStringLiteral("1.2.3"));
        QCOMPARE(cell(w, 1, 2), c("780.000"));
        QCOMPARE(shell->statusText(), notANumberText());

        // While typing, a refused letter is told at once.
        goTo(w, 2, 2);
        w->BROWSER()->setFocus();
        QTest::keyClicks(w->BROWSER(), QStringLiteral("4"));
        QLineEdit *editor = w->BROWSER()->currentEditor();
        QVERIFY(editor);
        QTest::keyClicks(editor, QStringLiteral("x"));
        QCOMPARE(editor->text(), QStringLiteral("4"));
        QCOMPARE(shell->statusText(), numbersOnlyText());
        QTest::keyClick(editor, Qt::Key_Return);
        QTest::qWait(30);
        QCOMPARE(cell(w, 2, 2), c("4.000"));

        // Emptying a cell on purpose still empties it, in the nutrient editor too.
        goTo(w, 1, 2);
        w->BROWSER()->setFocus();
        QTest::keyClicks(w->BROWSER(), QStringLiteral("5"));
        editor = w->BROWSER()->currentEditor();
        QVERIFY(editor);
        QTest::keyClick(editor, Qt::Key_Backspace);
        QTest::keyClick(editor, Qt::Key_Return);
        QTest::qWait(30);
        QCOMPARE(cell(w, 1, 2), QString(11, u' '));

        QVERIFY(shell->CLOSEWINDOWSEXIST());
        ConstraintEditWindow *n = open(EditorKind::Nutrient);
        QVERIFY(n);
        goTo(n, 3, 4);
        type(n, QStringLiteral("21"));
        const QString lower = cell(n, 3, 4);
        QCOMPARE(lower.trimmed(), QStringLiteral("21.0000"));
        goTo(n, 3, 4);
        type(n, QStringLiteral("yuksek"));
        QCOMPARE(cell(n, 3, 4), lower);
        QCOMPARE(shell->statusText(), notANumberText());
    }

    // A lower limit typed above the upper one (or an upper below the lower) is refused with a word
    // naming both values, and the limit the row had stays: the next solve keeps that minimum.
    void aCrossedLimitIsRefusedWithAWord()
    {
        ConstraintEditWindow *w = open(EditorKind::Nutrient);
        QVERIFY(w);
        goTo(w, 3, 4);
        type(w, QStringLiteral("21"));
        goTo(w, 3, 5);
        type(w, QStringLiteral("23"));
        messages->clear();
        goTo(w, 3, 4);
        type(w, QStringLiteral("60"));
        QCOMPARE(cell(w, 3, 4).trimmed(), QStringLiteral("21.0000"));
        QCOMPARE(cell(w, 3, 5).trimmed(), QStringLiteral("23.0000"));
        QCOMPARE(w->model().rows().at(2).at(BMLLIMIT).trimmed(), QStringLiteral("21.0000"));
        QCOMPARE(shell->statusText(),
                 QStringLiteral("Alt sınır (60.0000) üst sınırdan (23.0000) büyük olamaz: hücredeki eski değer korundu..."));
        QCOMPARE(messages->toneLog().size(), 1);

        goTo(w, 3, 5);
        type(w, QStringLiteral("20"));
        QCOMPARE(cell(w, 3, 5).trimmed(), QStringLiteral("23.0000"));
        QCOMPARE(shell->statusText(),
                 QStringLiteral("Üst sınır (20.0000) alt sınırdan (21.0000) küçük olamaz: hücredeki eski değer korundu..."));
        QVERIFY(messages->shown().isEmpty());

        w->runCommand(QStringLiteral("CLOSE"));
        QTest::qWait(30);
        const Row &kept = openProblem().ABMLIST.at(2);
        QCOMPARE(kept.at(BMLLIMIT).trimmed(), QStringLiteral("21.0000"));
        QCOMPARE(kept.at(BMULIMIT).trimmed(), QStringLiteral("23.0000"));
    }

    // What the user types into a cell, key by key: a minus stays in sight and is refused at the end
    // with the cell's own rule, letters are refused, and the old value stays; the next entry that
    // goes in takes the word away.
    void refusedEntriesKeepTheOldValue_data()
    {
        QTest::addColumn<EditorKind>("kind");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("status");
        const QString letters = notANumberText();
        QTest::newRow("minus in a price") << EditorKind::Ingredient << 1 << 2 << u"-5"_s
                                          << u"Fiyat negatif olamaz: hücredeki eski değer korundu..."_s;
        QTest::newRow("letters in a price") << EditorKind::Ingredient << 1 << 2 << u"abc"_s << letters;
        QTest::newRow("minus in an ingredient limit")
            << EditorKind::Ingredient << 2 << 5 << u"-10"_s << u"Üst sınır negatif olamaz: hücredeki eski değer korundu..."_s;
        QTest::newRow("minus in a nutrient limit")
            << EditorKind::Nutrient << 3 << 4 << u"-1"_s << u"Alt sınır negatif olamaz: hücredeki eski değer korundu..."_s;
        QTest::newRow("a lone minus in a nutrient limit") << EditorKind::Nutrient << 3 << 4 << u"-"_s << letters;
        QTest::newRow("minus in a ratio's fixed value")
            << EditorKind::Ratio << 1 << 3 << u"-2"_s << u"Sabit değer negatif olamaz: hücredeki eski değer korundu..."_s;
        QTest::newRow("letters in a ratio limit") << EditorKind::Ratio << 1 << 5 << u"x"_s << letters;
    }

    void refusedEntriesKeepTheOldValue()
    {
        QFETCH(EditorKind, kind);
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(QString, typed);
        QFETCH(QString, status);
        ConstraintEditWindow *w = open(kind);
        QVERIFY(w);
        goTo(w, row, column);
        type(w, QStringLiteral("7"));
        const QString before = cell(w, row, column);
        QVERIFY(!before.trimmed().isEmpty());
        messages->clear();

        goTo(w, row, column);
        w->BROWSER()->setFocus();
        QTest::keyClicks(w->BROWSER(), typed.left(1));
        QLineEdit *editor = w->BROWSER()->currentEditor();
        QVERIFY(editor);
        QTest::keyClicks(editor, typed.mid(1));
        if (typed.startsWith(u'-'))
            QCOMPARE(editor->text(), typed); // the minus is not taken away unseen
        QTest::keyClick(editor, Qt::Key_Return);
        QTest::qWait(30);
        QCOMPARE(cell(w, row, column), before);
        QCOMPARE(w->model().rows().at(row - 1).at(column - 1), before);
        QCOMPARE(shell->statusText(), status);
        QCOMPARE(messages->toneLog().size(), 1);
        QVERIFY(messages->shown().isEmpty());

        // The next entry that goes in leaves no word of the last one behind.
        type(w, QStringLiteral("8"));
        QVERIFY(cell(w, row, column) != before);
        QCOMPARE(shell->statusText(), QString());
    }

    // A word about the last entry leaves with the next action in its window, a command too; a word
    // of the main window stays through the editor's actions.
    void aWordLeavesAtTheNextActionInItsWindow()
    {
        ConstraintEditWindow *w = open(EditorKind::Ingredient);
        QVERIFY(w);
        goTo(w, 1, 2);
        type(w, QStringLiteral("x"));
        QCOMPARE(shell->statusText(), notANumberText());
        goTo(w, 1, 2);
        QVERIFY(w->runCommand(QStringLiteral("COPY")));
        QCOMPARE(shell->statusText(), QString());

        shell->STATUSMESSAGE(QStringLiteral("Dosya başarıyla farklı kaydedildi..."));
        goTo(w, 1, 2);
        type(w, QStringLiteral("9"));
        QVERIFY(w->runCommand(QStringLiteral("COPY")));
        QCOMPARE(shell->statusText(), QStringLiteral("Dosya başarıyla farklı kaydedildi..."));
    }

    // The ratio editor opens with its first columns in view: the divisor beside the frozen name.
    void theRatioEditorOpensAtTheFirstColumn()
    {
        ConstraintEditWindow *w = open(EditorKind::Ratio);
        QVERIFY(w);
        QTest::qWait(30);
        BBROWSER *grid = w->BROWSER();
        QCOMPARE(grid->CURRENTCOLUMN(), 3);
        QCOMPARE(grid->horizontalScrollBar()->value(), 0);
        QVERIFY2(grid->columnViewportPosition(1) >= grid->columnWidth(0),
                 qPrintable(QString::number(grid->columnViewportPosition(1))));
    }

    // Taking an ingredient out of stock makes the last solution old, as any other change does.
    void theStockSwitchMarksTheProblemNotSolved()
    {
        ConstraintEditWindow *w = open(EditorKind::Ingredient);
        QVERIFY(w);
        QVERIFY(w->runCommand(QStringLiteral("PBCOZUM")));
        QCOMPARE(w->model().status(), SolutionStatus::Optimal);
        goTo(w, 2, 1);
        QVERIFY(w->runCommand(QStringLiteral("YMSTOKKONT")));
        QCOMPARE(w->model().status(), SolutionStatus::NotSolved);
        QCOMPARE(w->findChild<QPushButton *>(QStringLiteral("PBDURUM"))->toolTip(), QStringLiteral("Çözüm yapılmadı"));
    }

    // --- the save questions: Escape and the box's close button keep everything ---------------------

    void escapeOnTheCloseQuestionKeepsTheProblemAndItsEditor_data()
    {
        QTest::addColumn<Act>("act");
        QTest::newRow("Escape") << Act::Escape;
        QTest::newRow("close button") << Act::CloseButton;
    }

    void escapeOnTheCloseQuestionKeepsTheProblemAndItsEditor()
    {
        QFETCH(Act, act);
        const QString path = env->path(QStringLiteral("KUCUK.VKD"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray before = file.readAll();
        file.close();
        ConstraintEditWindow *w = open(EditorKind::Ingredient);
        QVERIFY(w);
        goTo(w, 1, 2);
        type(w, QStringLiteral("780"));
        {
            test::RealBoxes boxes({act});
            shellCommands().run(QStringLiteral("FILECLOSE")); // Dosya > Kapat
            QCOMPARE(boxes.texts(), QStringList{QStringLiteral("KUCUK.VKD dosyasındaki veriler değişmiş.\n\n"
                                                               "Değişiklikleri kaydetmek istiyor musunuz?")});
            QCOMPARE(boxes.buttons().value(0).count(u'|'), 2); // Evet, Hayır, İptal
            QCOMPARE(boxes.unexpected(), 0);
        }
        QVERIFY(openProblem().isOpen());
        QCOMPARE(shell->GETDATAWINDOW(QStringLiteral("BYM_GIR_WIN")), static_cast<QWidget *>(w));
        QCOMPARE(cell(w, 1, 2), c("780.000"));
        QCOMPARE(openProblem().AYMLIST.at(0).at(YMPRICE), c("780.000"));
        QVERIFY(openProblem().anyDirty());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
        file.close();

        // Leaving the program: Yes to "Çıkış...", then the same answer to the save question.
        {
            test::RealBoxes boxes({Act::Yes, act});
            QVERIFY(!shell->close());
            QCOMPARE(boxes.texts().size(), 2);
            QCOMPARE(boxes.texts()[1], QStringLiteral("KUCUK.VKD dosyasındaki veriler değişti!\n\nKaydetmek istiyor musunuz?"));
            QCOMPARE(boxes.unexpected(), 0);
        }
        QVERIFY(shell->isVisible());
        QVERIFY(openProblem().isOpen());
        QCOMPARE(openProblem().AYMLIST.at(0).at(YMPRICE), c("780.000"));
        QVERIFY(openProblem().anyDirty());

        // "Hayır" still closes without saving.
        {
            test::RealBoxes boxes({Act::No});
            shellCommands().run(QStringLiteral("FILECLOSE"));
            QCOMPARE(boxes.texts().size(), 1);
        }
        QVERIFY(!openProblem().isOpen());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
    }

    // Closing the ingredient editor with typed prices asks whether they go into the reference
    // matrix: Escape and the close button keep the editor open with the prices still pending.
    void escapeOnThePriceQuestionKeepsTheEditor_data() { escapeOnTheCloseQuestionKeepsTheProblemAndItsEditor_data(); }

    void escapeOnThePriceQuestionKeepsTheEditor()
    {
        QFETCH(Act, act);
        QPointer<ConstraintEditWindow> w = open(EditorKind::Ingredient);
        QVERIFY(w);
        goTo(w, 2, 2);
        type(w, QStringLiteral("25"));
        QVERIFY(w->model().LFIATDEG);
        appGlobals().LRMDENOKU = true;
        {
            test::RealBoxes boxes({act});
            w->runCommand(QStringLiteral("CLOSE"));
            QCOMPARE(boxes.texts(), QStringList{QStringLiteral("Yem maddesi fiyatları değişti!\n\n"
                                                               "Değişiklikler temel matrise kaydedilsin mi?")});
        }
        QTest::qWait(30);
        QVERIFY(w);
        QCOMPARE(shell->GETDATAWINDOW(QStringLiteral("BYM_GIR_WIN")), static_cast<QWidget *>(w.data()));
        QVERIFY(w->isVisible());
        QVERIFY(w->model().LFIATDEG);
        QCOMPARE(cell(w, 2, 2), c("25.000"));
        // The registry's close-all hears the refusal too.
        {
            test::RealBoxes boxes({act});
            QVERIFY(!shell->CLOSEWINDOWSEXIST());
        }
        QVERIFY(shell->GETDATAWINDOW(QStringLiteral("BYM_GIR_WIN")));
        appGlobals().LRMDENOKU = false;
    }

    // The five cost fields are read-only text fields, not blank buttons: a cyan face, a sunken edge
    // (darker above and left than below and right) and black text, in every window, empty or not.
    void costFieldsReadAsSunkenCyanFields()
    {
        for (EditorKind kind : {EditorKind::Ingredient, EditorKind::Nutrient, EditorKind::Ratio}) {
            ConstraintEditWindow *w = open(kind);
            QVERIFY(w);
            w->costField(102)->setText(QStringLiteral("    123.457"));
            for (int id = 102; id <= 106; ++id) {
                QLineEdit *field = w->costField(id);
                QVERIFY(field->isReadOnly());
                const QImage face = field->grab().toImage();
                const int midY = face.height() / 2;
                // Inside the edge, away from the right-aligned text.
                QCOMPARE(face.pixelColor(4, midY), QColor(0, 255, 255));
                const int above = qGray(face.pixel(face.width() / 2, 0));
                const int below = qGray(face.pixel(face.width() / 2, face.height() - 1));
                const int left = qGray(face.pixel(0, midY));
                const int right = qGray(face.pixel(face.width() - 1, midY));
                QVERIFY2(above < below && left < right, qPrintable(field->objectName()));
                QCOMPARE(field->palette().color(QPalette::Text), QColor(Qt::black));
            }
            // The number itself is drawn: dark pixels on the right of the filled field.
            const QImage filled = w->costField(102)->grab().toImage();
            bool ink = false;
            for (int x = filled.width() / 2; x < filled.width() - 3 && !ink; ++x)
                ink = qGray(filled.pixel(x, filled.height() / 2)) < 80;
            QVERIFY(ink);
        }
    }
};

QTEST_MAIN(TestConstraintEditWindow)
#include "tst_constraint_edit_window.moc"
