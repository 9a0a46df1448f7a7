// Deleting and adding rows in the three editors, with what is linked to them in the open problem.
#include "editors/constraint_edit_model.h"

#include "editor_fixture.h"
#include "problem/open_problem.h"
#include "problem/problem_saver.h"
#include "problem/reference_tables.h"
#include "scripted_messages.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace vexo;
using vexo::test::ScriptedDialogs;
using vexo::test::ScriptedMessages;

namespace {

class EditorOperations : public ::testing::Test
{
protected:
    void SetUp() override { test::installSmallProblem(); }

    // The problem's own rules, plus the grid in step with its list.
    void expectInStep(const ConstraintEditModel &m, const char *when)
    {
        EXPECT_EQ(openProblem().checkInvariants(), QStringList()) << when;
        OpenProblem &p = openProblem();
        const RowList &list = m.kind() == EditorKind::Ratio ? p.ABMOLIST : editorList(p, m.kind());
        if (m.kind() != EditorKind::Ratio) {
            EXPECT_EQ(m.rows().size(), list.size()) << when;
        }
        if (m.kind() == EditorKind::Nutrient) {
            EXPECT_EQ(m.AOFDECS.size(), m.rows().size()) << when;
        }
    }

    QStringList names(const ConstraintEditModel &m, int column = 0)
    {
        QStringList out;
        for (const Row &r : m.rows())
            out << r.value(column).trimmed();
        return out;
    }

    test::EditorEnvironment env;
    ScriptedMessages messages;
    ScriptedDialogs dialogs;
};

TEST_F(EditorOperations, DeletingAnIngredientTakesItsMatrixAndMembershipCells)
{
    ConstraintEditModel m(EditorKind::Ingredient);
    m.setUp();
    const Row arpaContent{openProblem().AAMAT[1][0], openProblem().AAMAT[1][2], openProblem().AAMAT[1][3]};
    m.setCurrent(2, 3);
    messages.answer(MessageAnswer::Yes);
    m.PBSIL();

    OpenProblem &p = openProblem();
    EXPECT_EQ(names(m), (QStringList{"MISIR", "ARPA", "KEPEK"}));
    EXPECT_EQ(p.AYMADLARI, (QStringList{"MISIR", "ARPA", "KEPEK"}));
    EXPECT_EQ(p.AAMAT[1], arpaContent) << "the KM row lost SOYA's cell only";
    EXPECT_EQ(p.AGMAT[0], (Row{"1.0", "1.0", "0.0"}));
    EXPECT_EQ(p.AGMAT[1], (Row{"0.0", "0.0", "0.0"}));
    EXPECT_TRUE(p.LYMSTOKDEG && p.LAMATDEG && p.LYMGDEG);
    EXPECT_TRUE(m.GIRDEG);
    EXPECT_EQ(m.status(), SolutionStatus::NotSolved);
    EXPECT_EQ(m.currentRow(), 2);
    EXPECT_EQ(m.currentColumn(), 3);
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown().first().text, QStringLiteral("Seçili Yem Maddesi Siliniyor!"));
    expectInStep(m, "after deleting SOYA");

    m.setCurrent(3, 1);
    messages.answer(MessageAnswer::Yes);
    m.PBSIL();
    EXPECT_EQ(m.currentRow(), 2) << "deleting the last row goes to the new last row";
    expectInStep(m, "after deleting the last row");
}

TEST_F(EditorOperations, DeclinedOrEmptyDeletionChangesNothing)
{
    ConstraintEditModel m(EditorKind::Ingredient);
    m.setUp();
    const RowList before = m.rows();
    messages.answer(MessageAnswer::No);
    m.PBSIL();
    EXPECT_EQ(m.rows(), before);
    EXPECT_EQ(openProblem().AYMLIST.size(), 4);
    EXPECT_FALSE(m.GIRDEG);

    m.rows().clear();
    m.PBSIL();
    EXPECT_EQ(messages.shown().size(), 1) << "no question without rows";
}

TEST_F(EditorOperations, DeletingDownToOneRowCommitsAndAsksForTheCommandRules)
{
    ConstraintEditModel m(EditorKind::Ingredient);
    m.setUp();
    QSignalSpy rules(&m, &ConstraintEditModel::commandRulesNeeded);
    for (int left = 3; left >= 0; --left) {
        messages.answer(MessageAnswer::Yes);
        m.PBSIL();
        expectInStep(m, "while deleting");
        EXPECT_EQ(rules.size(), left <= 1 ? 3 - left - 1 : 0) << left << " rows left";
    }
    EXPECT_TRUE(m.rows().isEmpty());
    EXPECT_EQ(m.currentRow(), 0);
}

TEST_F(EditorOperations, DeletingANutrientTakesItsMatrixRowAndItsRatios)
{
    OpenProblem &p = openProblem();
    // A second and a third ratio naming HP, the last one as denominator, next to each other.
    p.ABMOLIST.append(p.ABMOLIST.first());
    p.ABMOLIST.last()[BMONAME1] = kDryMatterNutrient.leftJustified(15);
    p.ABMOLIST.last()[BMONAME2] = QStringLiteral("HP").leftJustified(15);
    ConstraintEditModel m(EditorKind::Nutrient);
    m.setUp();
    const Row kmRow = p.AAMAT[1];
    m.setCurrent(3, 4);
    messages.answer(MessageAnswer::Yes);
    m.PBSIL();
    EXPECT_EQ(names(m), (QStringList{kWeightNutrient, kDryMatterNutrient}));
    EXPECT_EQ(p.AAMAT.size(), 2);
    EXPECT_EQ(p.AAMAT[1], kmRow);
    EXPECT_TRUE(p.ABMOLIST.isEmpty()) << "both ratios naming HP are gone";
    EXPECT_TRUE(p.LBMODEG);
    EXPECT_EQ(m.currentRow(), 2);
    expectInStep(m, "after deleting HP");
}

TEST_F(EditorOperations, ReservedNutrientsCannotBeDeleted)
{
    ConstraintEditModel m(EditorKind::Nutrient);
    m.setUp();
    for (int row : {1, 2}) {
        m.setCurrent(row, 1);
        messages.clear();
        m.PBSIL();
        ASSERT_EQ(messages.shown().size(), 1);
        EXPECT_EQ(messages.shown().first().text,
                  m.rows().at(row - 1).value(BMNAME).trimmed() + QStringLiteral(" rezerve değişken. Silmeye çalışmayınız!"));
    }
    EXPECT_EQ(m.rows().size(), 3);
    EXPECT_EQ(messages.unexpectedQuestions(), 0);
}

TEST_F(EditorOperations, DeletingARatioLeavesTheListUntilTheCommit)
{
    ConstraintEditModel m(EditorKind::Ratio);
    m.setUp();
    messages.answer(MessageAnswer::Yes);
    m.PBSIL();
    EXPECT_TRUE(m.rows().isEmpty());
    EXPECT_EQ(openProblem().ABMOLIST.size(), 1);
    m.SONKONT2();
    EXPECT_TRUE(openProblem().ABMOLIST.isEmpty());
    EXPECT_TRUE(openProblem().LBMODEG);
}

TEST_F(EditorOperations, AddedIngredientsAreInStockAndAskTheirGroup)
{
    ConstraintEditModel m(EditorKind::Ingredient);
    m.setUp();
    dialogs.onAddIngredients = [](int) {
        test::addIngredientAsDialogDoes(QStringLiteral("BALIK UNU"), QStringLiteral("30.000"));
        test::addIngredientAsDialogDoes(QStringLiteral("MELAS"), QStringLiteral("6.000"));
        return true;
    };
    dialogs.groups = {2, 0}; // PROTEIN, then "Atla"
    m.YEMMADEKLE();

    OpenProblem &p = openProblem();
    EXPECT_EQ(names(m), (QStringList{"MISIR", "SOYA", "ARPA", "KEPEK", "BALIK UNU", "MELAS"}));
    EXPECT_EQ(p.AYMSTOK.mid(4), (QList<bool>{true, true}));
    EXPECT_EQ(dialogs.asked, (QStringList{"addIngredients 81", "assignGroup BALIK UNU", "assignGroup MELAS"}));
    EXPECT_EQ(p.AGMAT[0].mid(4), (Row{"0.0000", "0.0000"}));
    EXPECT_EQ(p.AGMAT[1].mid(4), (Row{"1.0000", "0.0000"}));
    EXPECT_TRUE(p.LYMGDEG && p.LYMSTOKDEG && m.GIRDEG);
    EXPECT_EQ(m.rows().at(4).size(), YM_COLUMNS);
    expectInStep(m, "after adding two");
}

TEST_F(EditorOperations, AddingWithoutGroupsAsksNothing)
{
    OpenProblem &p = openProblem();
    p.AYMGLIST.clear();
    p.AYMGADLARI.clear();
    p.AGMAT.clear();
    ConstraintEditModel m(EditorKind::Ingredient);
    m.setUp();
    dialogs.onAddIngredients = [](int) {
        test::addIngredientAsDialogDoes(QStringLiteral("MELAS"), QStringLiteral("6.000"));
        return true;
    };
    m.YEMMADEKLE();
    EXPECT_EQ(dialogs.asked, QStringList{"addIngredients 81"});
    expectInStep(m, "after adding without groups");
}

TEST_F(EditorOperations, AnIngredientTheGridRefusesLeavesTheProblem)
{
    ConstraintEditModel m(EditorKind::Ingredient);
    m.setUp();
    int calls = 0;
    // The first new row is refused three times; the second is taken.
    m.setRowAppender([&calls](RowList &rows) {
        if (++calls <= 3)
            return false;
        rows.append(Row(YM_COLUMNS, QString(11, u' ')));
        return true;
    });
    dialogs.onAddIngredients = [](int) {
        test::addIngredientAsDialogDoes(QStringLiteral("BALIK UNU"), QStringLiteral("30.000"));
        test::addIngredientAsDialogDoes(QStringLiteral("MELAS"), QStringLiteral("6.000"));
        return true;
    };
    m.YEMMADEKLE();
    EXPECT_EQ(calls, 4);
    EXPECT_EQ(names(m).last(), QStringLiteral("MELAS"));
    EXPECT_EQ(openProblem().AYMADLARI.last(), QStringLiteral("MELAS"));
    EXPECT_EQ(dialogs.asked.mid(1), QStringList{"assignGroup MELAS"});
    expectInStep(m, "after a refused row");
}

TEST_F(EditorOperations, TheIngredientListNeverGrowsPast85)
{
    for (int i = 4; i < 84; ++i)
        test::addIngredientAsDialogDoes(QStringLiteral("YM%1").arg(i), QStringLiteral("1.000"));
    openProblem().AYMSTOK = QList<bool>(84, true);
    openProblem().AGMAT.clear();
    openProblem().AYMGLIST.clear();
    openProblem().AYMGADLARI.clear();
    ConstraintEditModel m(EditorKind::Ingredient);
    m.setUp();
    dialogs.onAddIngredients = [](int) {
        for (const char *name : {"FAZLA1", "FAZLA2", "FAZLA3"})
            test::addIngredientAsDialogDoes(QString::fromLatin1(name), QStringLiteral("1.000"));
        return true;
    };
    m.YEMMADEKLE();
    EXPECT_EQ(dialogs.asked, QStringList{"addIngredients 1"});
    EXPECT_EQ(m.rows().size(), kMaxIngredients);
    EXPECT_EQ(names(m).last(), QStringLiteral("FAZLA1"));
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown().first().text, tooManyIngredientsText(87));
    expectInStep(m, "after an add past the limit");

    messages.clear();
    m.YEMMADEKLE();
    EXPECT_EQ(dialogs.asked.size(), 1) << "a full list opens no dialog";
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown().first().text, tooManyIngredientsText(86));
    expectInStep(m, "after an add to a full list");
}

TEST_F(EditorOperations, AddedNutrientsGetTheirDecimals)
{
    referenceTables().ABMDESC = {NutrientDecimals{1, QStringLiteral("SHP"), 2}, NutrientDecimals{2, QStringLiteral("HP"), 1},
                                 NutrientDecimals{3, QStringLiteral("HP"), 3}};
    ConstraintEditModel m(EditorKind::Nutrient);
    m.setUp();
    EXPECT_EQ(m.AOFDECS, (QList<int>{4, 4, 3})) << "a later definition overrides an earlier one";
    dialogs.onAddNutrients = [] {
        test::addNutrientAsDialogDoes(QStringLiteral("SHP"), QStringLiteral("%"));
        test::addNutrientAsDialogDoes(QStringLiteral("NEL"), QStringLiteral("MJ"));
        return true;
    };
    m.BESMADEKLE();
    EXPECT_EQ(m.AOFDECS, (QList<int>{4, 4, 3, 2, 4}));
    expectInStep(m, "after adding nutrients");

    m.setCurrent(4, 3);
    EXPECT_EQ(m.endEdit(3, QStringLiteral("1.23456")), QStringLiteral("     1.2300"));
}

TEST_F(EditorOperations, ANutrientTheGridRefusesLeavesTheProblem)
{
    ConstraintEditModel m(EditorKind::Nutrient);
    m.setUp();
    m.setRowAppender([](RowList &) { return false; });
    dialogs.onAddNutrients = [] {
        test::addNutrientAsDialogDoes(QStringLiteral("SHP"), QStringLiteral("%"));
        return true;
    };
    m.BESMADEKLE();
    EXPECT_EQ(openProblem().ABMADLARI.size(), 3);
    expectInStep(m, "after a refused nutrient");
}

TEST_F(EditorOperations, RatiosAreAddedByChoosingTwoNutrients)
{
    ConstraintEditModel m(EditorKind::Ratio);
    m.setUp();
    // Candidates leave out the weight: {KM, HP}; then the numerator leaves the second list.
    dialogs.choices = {2, 1}; // HP over KM: exists
    m.PBEKLE();
    EXPECT_EQ(dialogs.choiceItems, (QList<QStringList>{{"KM", "HP"}, {"KM"}}));
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown().first().text, QStringLiteral("Girilen BMO halen mevcut..."));
    EXPECT_EQ(m.rows().size(), 1);

    dialogs.choices = {1, 1}; // KM over HP: new
    m.PBEKLE();
    ASSERT_EQ(m.rows().size(), 2);
    EXPECT_EQ(m.rows().last().value(BMONAME1), kDryMatterNutrient.leftJustified(15));
    EXPECT_EQ(m.rows().last().value(BMONAME2), QStringLiteral("HP").leftJustified(15));
    EXPECT_EQ(m.rows().last().value(BMOFIX), QString(11, u' '));
    EXPECT_TRUE(m.GIRDEG);
    EXPECT_EQ(m.status(), SolutionStatus::NotSolved);

    dialogs.choices = {1}; // the second list closed without a choice
    m.PBEKLE();
    EXPECT_EQ(m.rows().size(), 2);
}

TEST_F(EditorOperations, TheDuplicateTestComparesBothNamesSeparately)
{
    ConstraintEditModel m(EditorKind::Ratio);
    m.setUp();
    m.rows().first()[BMONAME1] = QStringLiteral("Aİ").leftJustified(15);
    m.rows().first()[BMONAME2] = QStringLiteral("C").leftJustified(15);
    EXPECT_TRUE(m.ISBMOEXIST(QStringLiteral("ai"), QStringLiteral(" c ")));
    EXPECT_FALSE(m.ISBMOEXIST(QStringLiteral("A"), QStringLiteral("İC"))) << "AİC joined is not the pair";
    EXPECT_FALSE(m.ISBMOEXIST(QStringLiteral("C"), QStringLiteral("Aİ"))) << "the order of the pair counts";
}

TEST_F(EditorOperations, OnlyTheWeightAndOneNutrientGiveNoRatio)
{
    OpenProblem &p = openProblem();
    p.deleteNutrient(3);
    ConstraintEditModel m(EditorKind::Ratio);
    m.setUp();
    m.rows().clear();
    dialogs.choices = {1, 1};
    m.PBEKLE();
    EXPECT_EQ(dialogs.choiceItems, (QList<QStringList>{{"KM"}, {}}));
    EXPECT_TRUE(m.rows().isEmpty());
}

TEST_F(EditorOperations, StockToggleFlipsTheFlagAndBlocksTyping)
{
    ConstraintEditModel m(EditorKind::Ingredient);
    m.setUp();
    m.setCurrent(3, 2);
    m.YMSTOKKONT();
    EXPECT_EQ(openProblem().AYMSTOK, (QList<bool>{true, true, false, true}));
    EXPECT_TRUE(openProblem().LYMSTOKDEG && m.GIRDEG);
    EXPECT_FALSE(m.beginEdit(2));
    m.YMSTOKKONT();
    EXPECT_TRUE(m.beginEdit(2));
}

TEST_F(EditorOperations, ViewersGetTheCurrentRow)
{
    ConstraintEditModel ym(EditorKind::Ingredient);
    ym.setUp();
    ym.setCurrent(2, 1);
    ym.YMBMMUHTGOR();
    ConstraintEditModel bm(EditorKind::Nutrient);
    bm.setUp();
    bm.setCurrent(3, 1);
    bm.HYMADKATILIYOR();
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown().first().text, QStringLiteral("Henüz çözüm yapılmadı!"));
    openProblem().NCOZUMSAYISI = 1;
    bm.HYMADKATILIYOR();
    const QString contributions =
        QStringLiteral("contributions ") + QStringLiteral("HP").leftJustified(15) + u'|' + QString(11, u' ');
    EXPECT_EQ(dialogs.asked, (QStringList{"content SOYA", contributions}));
}

} // namespace
