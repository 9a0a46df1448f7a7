// The ingredient editor over a problem file: no price edit, deletion, addition or edit of a name
// cell, followed by a save, can leave an ingredient with another ingredient's column. Files are read
// back by this program and by an independent reader (python3-dbfread).
#include "editors/constraint_edit_model.h"

#include "editor_fixture.h"
#include "feed_file.h"
#include "problem/open_problem.h"
#include "problem/problem_file.h"
#include "problem/problem_loader.h"
#include "problem/problem_saver.h"
#include "scripted_messages.h"

#include <gtest/gtest.h>

using namespace vexo;
using vexo::test::Contents;

namespace {

// Opens the file as the main window does: a load that fails leaves no problem open.
bool openAsTheMainWindowDoes(const QString &path)
{
    OpenProblem &p = openProblem();
    p.reset();
    if (!DATAFOPEN(nullptr, path))
        return false;
    if (!AKTPRODIZOLUSTUR(nullptr)) {
        p.reset();
        return false;
    }
    p.KAYITLICOZUM();
    return true;
}

int rowOf(const ConstraintEditModel &m, const QString &name)
{
    for (int r = 0; r < m.rows().size(); ++r) {
        if (m.rows().at(r).value(YMNAME).trimmed() == name)
            return r + 1;
    }
    return 0;
}

void typePrice(ConstraintEditModel &m, const QString &ingredient, const QString &price)
{
    const int row = rowOf(m, ingredient);
    ASSERT_GT(row, 0) << ingredient.toStdString();
    m.setCurrent(row, 2);
    m.endEdit(2, price);
}

} // namespace

// The road: the file whose fifth ingredient has lost its name, opened, a price typed in the
// ingredient editor, the editor closed and the problem saved. DCP must keep its calcium of 23.
TEST(NamelessIngredient, APriceEditAndASaveCannotMakeTheShiftPermanent)
{
    test::EditorEnvironment env;
    test::ScriptedMessages messages;
    test::ScriptedDialogs dialogs;
    const QString path = env.path("KARMA.VKD");
    QList<test::Record> recs = test::feedFileRecords();
    recs[4]["YMADI"] = QString();
    test::writeProblemFile(path, recs);
    const QByteArray before = test::fileBytes(path);

    const bool opened = openAsTheMainWindowDoes(path);
    if (opened) {
        // What the user could do with a problem that opened.
        EXPECT_EQ(test::contentsInMemory()["DCP"]["KALSIYUM"], 23.0) << "DCP shows another ingredient's calcium";
        ConstraintEditModel m(EditorKind::Ingredient);
        m.setUp();
        typePrice(m, QStringLiteral("KIREC TASI"), QStringLiteral("0.06"));
        m.SONKONT();
        QString reason;
        PROBDBFUPDATE(&reason);
        openProblem().reset();
    }
    EXPECT_FALSE(opened);
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_TRUE(messages.shown()[0].text.contains(QStringLiteral("5. kayıttaki yem maddesinin adı boş")))
        << messages.shown()[0].text.toStdString();
    EXPECT_EQ(test::fileBytes(path), before);

    const test::PeerProblem peer = test::readWithPeer(path);
    EXPECT_EQ(peer.contents()["DCP"]["KALSIYUM"], 23.0);
    EXPECT_EQ(peer.contents()["KIREC TASI"]["KALSIYUM"], 38.0);
    EXPECT_EQ(peer.groupMembers(), test::feedMembers());
}

// Every road of the ingredient editor that changes the list, on the whole file: the name cells take
// no edit, a deleted ingredient takes its cells along, an added one gets cells of its own, a typed
// price stays with its ingredient; after the save and a new opening each keeps its own contents.
TEST(NamelessIngredient, NoEditorRoadLeavesAnIngredientWithAnotherOnesColumn)
{
    test::EditorEnvironment env;
    test::ScriptedMessages messages;
    test::ScriptedDialogs dialogs;
    const QString path = env.path("KARMA.VKD");
    test::writeProblemFile(path, test::feedFileRecords());
    ASSERT_TRUE(openAsTheMainWindowDoes(path));
    ConstraintEditModel m(EditorKind::Ingredient);
    m.setUp();

    // The name cells: typed, cut, cleared and pasted over, they keep the name.
    const RowList shown = m.rows();
    openProblem().UPANODEGER = QStringLiteral("5");
    m.setCurrent(5, 1);
    m.endEdit(1, QString());
    m.endEdit(1, QStringLiteral("   "));
    m.CUT();
    m.FDELETE();
    m.PASTE();
    EXPECT_EQ(m.rows(), shown);
    EXPECT_FALSE(m.GIRDEG);

    typePrice(m, QStringLiteral("KIREC TASI"), QStringLiteral("0.06"));
    m.setCurrent(rowOf(m, QStringLiteral("SOYA YAGI")), 2);
    messages.answer(MessageAnswer::Yes);
    m.PBSIL();
    dialogs.onAddIngredients = [](int) {
        test::addIngredientAsDialogDoes(QStringLiteral("YENI"), QStringLiteral("0.500"));
        return true;
    };
    dialogs.groups = {0};
    m.YEMMADEKLE();
    m.SONKONT();
    EXPECT_TRUE(openProblem().checkInvariants().isEmpty()) << openProblem().checkInvariants().join(u',').toStdString();
    QString reason;
    ASSERT_TRUE(PROBDBFUPDATE(&reason)) << reason.toStdString();
    openProblem().reset();

    Contents expected = test::feedContents();
    expected.remove(QStringLiteral("SOYA YAGI"));
    for (const QString &n : test::feedNutrients())
        expected[QStringLiteral("YENI")][n] = 1.0;
    ASSERT_TRUE(openAsTheMainWindowDoes(path));
    EXPECT_EQ(test::contentsInMemory(), expected);
    EXPECT_EQ(test::membersInMemory(), test::feedMembers());
    openProblem().reset();

    const test::PeerProblem peer = test::readWithPeer(path);
    EXPECT_EQ(peer.contents(), expected);
    EXPECT_EQ(peer.groupMembers(), test::feedMembers());
    EXPECT_EQ(peer.priceOf(QStringLiteral("KIREC TASI")), QStringLiteral("0.060"));
    EXPECT_EQ(peer.priceOf(QStringLiteral("DCP")), QStringLiteral("1.200"));
    EXPECT_EQ(messages.unexpectedQuestions(), 0);
}
