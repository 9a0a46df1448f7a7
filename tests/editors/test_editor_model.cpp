// One editor's copy of its list: typing, the clipboard, the commits, the result displays and the solve.
#include "editors/constraint_edit_model.h"

#include "editor_fixture.h"
#include "problem/number_text.h"
#include "problem/open_problem.h"
#include "scripted_messages.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace vexo;
using vexo::test::ScriptedMessages;

namespace {

const QString B(11, u' ');

QString c(const QString &text)
{
    return text.rightJustified(11, u' ');
}

class EditorModel : public ::testing::Test
{
protected:
    void SetUp() override { test::installSmallProblem(); }

    test::EditorEnvironment env;
    ScriptedMessages messages;
};

TEST_F(EditorModel, SetUpCopiesTheListAndStartsOnTheWindowsColumn)
{
    OpenProblem &p = openProblem();
    for (EditorKind kind : {EditorKind::Ingredient, EditorKind::Nutrient, EditorKind::Ratio}) {
        ConstraintEditModel m(kind);
        QSignalSpy enabled(&m, &ConstraintEditModel::menuItemEnabled);
        m.setUp();
        EXPECT_EQ(m.rows(), editorList(p, kind));
        EXPECT_TRUE(m.LFILTERON);
        EXPECT_EQ(m.currentRow(), 1);
        EXPECT_EQ(m.currentColumn(), kind == EditorKind::Ratio ? 3 : 1);
        ASSERT_EQ(enabled.size(), 1) << "the solve item, since the matrix is ready";
        EXPECT_EQ(enabled.first().at(0).toInt(), m.traits().solveItem);
        m.rows()[0][3] = c(QStringLiteral("1.0"));
        EXPECT_NE(m.rows(), editorList(p, kind)) << "the grid holds a copy, not the list";
    }
}

TEST_F(EditorModel, AProblemNeverSolvedShowsNotSolvedWhateverItsOutcome)
{
    openProblem().CCOZUMDURUMU = QStringLiteral("E");
    ConstraintEditModel m(EditorKind::Nutrient);
    m.setUp();
    EXPECT_EQ(m.status(), SolutionStatus::NotSolved);
    openProblem().NCOZUMSAYISI = 1;
    ConstraintEditModel solved(EditorKind::Nutrient);
    solved.setUp();
    EXPECT_EQ(solved.status(), SolutionStatus::Optimal);
    openProblem().CCOZUMDURUMU.clear();
    solved.COZDURUM();
    EXPECT_EQ(solved.status(), SolutionStatus::Optimal) << "an empty outcome leaves the button";
}

TEST_F(EditorModel, TypedPriceMarksThePricesChangedAndEnablesSaving)
{
    ConstraintEditModel m(EditorKind::Ingredient);
    m.setUp();
    QSignalSpy enabled(&m, &ConstraintEditModel::menuItemEnabled);
    m.setCurrent(1, 2);
    ASSERT_TRUE(m.beginEdit(2));
    EXPECT_EQ(m.endEdit(2, QStringLiteral("12,5")), QStringLiteral("     12.500"));
    m.valueStored(2);
    EXPECT_TRUE(m.LFIATDEG);
    EXPECT_TRUE(m.GIRDEG);
    EXPECT_EQ(m.rows()[0][YMPRICE], QStringLiteral("     12.500"));
    EXPECT_EQ(m.status(), SolutionStatus::NotSolved);
    ASSERT_EQ(enabled.size(), 2);
    EXPECT_EQ(enabled.at(0), (QList<QVariant>{29171, true}));
    EXPECT_EQ(enabled.at(1), (QList<QVariant>{3403, true}));

    ConstraintEditModel other(EditorKind::Ingredient);
    other.setUp();
    other.setCurrent(1, 4);
    other.endEdit(4, QStringLiteral("5"));
    EXPECT_FALSE(other.LFIATDEG) << "only the price column sets the flag";
}

TEST_F(EditorModel, RefusedLimitKeepsTheRowAndShowsTheBoxAfterTheTone)
{
    ConstraintEditModel m(EditorKind::Nutrient);
    m.setUp();
    m.setCurrent(1, 4); // AĞIRLIK has a fixed value
    const Row before = m.rows()[0];
    EXPECT_EQ(m.endEdit(4, QStringLiteral("2")), before[BMLLIMIT]);
    EXPECT_EQ(m.rows()[0], before);
    EXPECT_FALSE(m.GIRDEG);
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown().first().text, QStringLiteral("Alt/Üst sınır girişi için önce sabit girişi siliniz!"));
    EXPECT_EQ(messages.toneLog().size(), 1);
}

TEST_F(EditorModel, ValueStoredMarksTheSolutionOutOfDate)
{
    openProblem().NCOZUMSAYISI = 1;
    openProblem().CCOZUMDURUMU = QStringLiteral("E");
    ConstraintEditModel bm(EditorKind::Nutrient);
    bm.setUp();
    bm.valueStored(1);
    EXPECT_EQ(bm.status(), SolutionStatus::Optimal) << "the nutrient window only reacts to its input columns";
    bm.valueStored(3);
    EXPECT_EQ(bm.status(), SolutionStatus::NotSolved);
    ConstraintEditModel bmo(EditorKind::Ratio);
    bmo.setUp();
    bmo.valueStored(1);
    EXPECT_EQ(bmo.status(), SolutionStatus::NotSolved);
}

TEST_F(EditorModel, ClipboardCommandsWorkOnTheCurrentCell)
{
    OpenProblem &p = openProblem();
    ConstraintEditModel m(EditorKind::Ingredient);
    m.setUp();
    m.setCurrent(2, 2);
    m.COPY();
    EXPECT_EQ(p.UPANODEGER, std::optional<QString>(c("20.000")));
    m.setCurrent(3, 5);
    m.PASTE();
    EXPECT_EQ(m.rows()[2][YMULIMIT], c("20.000"));
    EXPECT_FALSE(m.LFIATDEG) << "pasting is no typed price";
    m.setCurrent(3, 4);
    m.PASTE(); // a lower limit equal to the upper one
    EXPECT_EQ(m.rows()[2][YMLLIMIT], B);
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown().first().text, QStringLiteral("Uyumsuz veri girişi..."));
    m.setCurrent(3, 5);
    m.CUT();
    EXPECT_EQ(m.rows()[2][YMULIMIT], B);
    m.FDELETE();
    EXPECT_TRUE(m.GIRDEG);

    m.setCurrent(1, 6);
    m.COPY();
    EXPECT_EQ(p.UPANODEGER, std::optional<QString>(c("20.000"))) << "a result column is never copied";

    // Paste into an out-of-stock row, which typing refuses.
    p.AYMSTOK[3] = false;
    m.setCurrent(4, 3);
    EXPECT_FALSE(m.beginEdit(3));
    m.PASTE();
    EXPECT_EQ(m.rows()[3][YMFIX], c("20.000"));
}

TEST_F(EditorModel, CommitsReplaceTheListAndEmptyTheClipboard)
{
    OpenProblem &p = openProblem();
    p.UPANODEGER = c("1.000");
    ConstraintEditModel ym(EditorKind::Ingredient);
    ym.setUp();
    QSignalSpy endEdit(&ym, &ConstraintEditModel::endEditRequested);
    ym.SONKONT2();
    EXPECT_EQ(endEdit.size(), 1);
    EXPECT_TRUE(p.LYMDEG) << "the ingredient editor marks its list at every commit";
    EXPECT_FALSE(ym.GIRDEG);
    EXPECT_FALSE(p.UPANODEGER.has_value());

    p.UPANODEGER = c("1.000");
    ConstraintEditModel bm(EditorKind::Nutrient);
    bm.setUp();
    bm.SONKONT2();
    EXPECT_FALSE(p.LBMDEG) << "no change, no mark";
    EXPECT_FALSE(p.UPANODEGER.has_value());

    bm.setCurrent(3, 5);
    bm.endEdit(5, QStringLiteral("25"));
    bm.SONKONT();
    EXPECT_TRUE(p.LBMDEG);
    EXPECT_EQ(p.ABMLIST[2][BMULIMIT], c("25.0000"));
    EXPECT_FALSE(bm.hasServer());
    bm.PASTE();
    bm.COPY();
    EXPECT_FALSE(p.UPANODEGER.has_value()) << "a closed editor copies nothing";
}

TEST_F(EditorModel, CostFieldsKeepTheirTextWhenACostIsMissing)
{
    CostTexts shown;
    shown = costTexts(shown, 123.457, 120.5, 0.0);
    EXPECT_EQ(shown, (CostTexts{c("123.457"), c("120.500"), c("2.957"), {}, {}}));
    EXPECT_EQ(costTexts({}, 120.5, 123.457, 0.0).currentDifference, c("-2.957"));
    const CostTexts later = costTexts(shown, 0.0, 99.0, 100.0);
    EXPECT_EQ(later, (CostTexts{c("123.457"), c("99.000"), c("2.957"), c("100.000"), {}}));
}

TEST_F(EditorModel, SolveWithoutAReadyMatrixOnlyTellsTheStatusBar)
{
    openProblem().LAMATHAZIR = false;
    ConstraintEditModel m(EditorKind::Ratio);
    m.setUp();
    QSignalSpy bar(&m, &ConstraintEditModel::statusBarText);
    m.PBCOZUM();
    ASSERT_EQ(bar.size(), 1);
    EXPECT_EQ(bar.first().first().toString(), QStringLiteral("Yeterli veri girişi yapılmadı..."));
    EXPECT_EQ(openProblem().NCOZUMSAYISI, 0);
}

TEST_F(EditorModel, SolveWritesTheResultsIntoTheGridAsIntoTheList)
{
    OpenProblem &p = openProblem();
    ConstraintEditModel m(EditorKind::Ingredient);
    m.setUp();
    m.setCurrent(2, 4);
    m.endEdit(4, QStringLiteral("10")); // SOYA at least 10 %
    m.PBCOZUM();
    ASSERT_EQ(p.NCOZUMSAYISI, 1);
    EXPECT_EQ(p.CCOZUMDURUMU, QStringLiteral("E"));
    EXPECT_EQ(m.status(), SolutionStatus::Optimal);
    EXPECT_FALSE(m.GIRDEG) << "the solver holds the results itself";
    EXPECT_TRUE(p.LYMDEG);
    EXPECT_EQ(m.rows(), p.AYMLIST) << "the grid shows what the solver wrote into the list";
    EXPECT_EQ(p.AYMLIST[1][YMLLIMIT], c("10.000"));
    EXPECT_EQ(m.currentRow(), 2);
    EXPECT_EQ(m.currentColumn(), 4);
    EXPECT_EQ(m.costs().current, Str(p.NMALIYET, 11, 3));
    double share = 0.0;
    for (const Row &r : m.rows())
        share += Val(r[YMACOZUM]);
    EXPECT_NEAR(share, 100.0, 0.01);

    const RowList first = m.rows();
    m.PBCOZUM();
    ASSERT_EQ(p.NCOZUMSAYISI, 2);
    for (int n = 0; n < first.size(); ++n) {
        EXPECT_EQ(m.rows()[n][YMOCOZUM], first[n][YMACOZUM]);
        EXPECT_EQ(m.rows()[n][YMCFARKI], isBlank(first[n][YMACOZUM]) ? B : c("0.000"));
    }
    EXPECT_EQ(m.costs().currentDifference, c("0.000"));
}

TEST_F(EditorModel, NutrientSolveFillsTheDryMatterAmounts)
{
    ConstraintEditModel m(EditorKind::Nutrient);
    m.setUp();
    m.PBCOZUM();
    ASSERT_EQ(openProblem().NCOZUMSAYISI, 1);
    EXPECT_EQ(m.rows()[0][BMKMYYUZ], c("1.0000"));
    EXPECT_EQ(m.rows()[1][BMKMYYUZ], m.rows()[1][BMACOZUM]);
    EXPECT_EQ(m.rows(), openProblem().ABMLIST);
}

TEST_F(EditorModel, AFailedSolveLeavesTheGridButKeepsTheCommit)
{
    OpenProblem &p = openProblem();
    ConstraintEditModel m(EditorKind::Ingredient);
    m.setUp();
    for (int row = 1; row <= 3; ++row) {
        m.setCurrent(row, 2);
        m.endEdit(2, QString()); // no price: fewer than two priced ingredients
    }
    const RowList before = m.rows();
    m.PBCOZUM();
    EXPECT_EQ(p.NCOZUMSAYISI, 0);
    EXPECT_EQ(m.rows(), before);
    EXPECT_TRUE(p.LYMDEG) << "the edits reached the list before the solve";
    EXPECT_EQ(p.AYMLIST, before);
    EXPECT_EQ(m.status(), SolutionStatus::NotSolved);
    EXPECT_FALSE(messages.shown().isEmpty()) << "the solver told why";
}

} // namespace
