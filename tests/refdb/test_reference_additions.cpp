#include "refdb/reference_additions.h"

#include "platform/dbf_filespec.h"
#include "problem/dbserverr.h"
#include "problem/name_match.h"
#include "problem/open_problem.h"
#include "scripted_matcher.h"
#include "scripted_messages.h"

#include <QQueue>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vexo;

namespace {

using vexo::test::ScriptedMatcher;

const QString B11(11, u' ');
QString num(const QString &text) { return text.rightJustified(11, u' '); }
const QString kWeightRight = QStringLiteral("     1.0000");
const QString kWeightCentred = QStringLiteral("  1.0000   ");

struct RefRecord { QString name, price, group, km, hp, ca; };

// Records 1 to 5: MISIR, SOYA, ARPA, a second MISIR, "Arpa" in other letter case.
const QList<RefRecord> kReference = {
    {"MISIR", num("0.310"), "TAHIL", num("88.0000"), num("8.5000"), num("0.0200")},
    {"SOYA", B11, "KUSPE", num("89.0000"), num("44.0000"), num("0.3000")},
    {"ARPA", num("0.250"), "TAHIL", num("89.5000"), num("11.0000"), B11},
    {"MISIR", num("9.999"), "TAHIL", num("1.0000"), num("2.0000"), num("3.0000")},
    {"Arpa", num("0.260"), "TAHIL", num("90.0000"), num("12.0000"), num("0.0100")},
};

class ReferenceAdditionTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        openProblem().reset();
        const QString path = m_dir.filePath("MATNRC6.DBF");
        DbfStructure fields = {{"KOD", u'N', 5, 0}, {"YM_ADI", u'C', 25, 0}, {"FIATI", u'C', 11, 0},
                               {"GRUBU", u'C', 11, 0}, {"KM", u'C', 11, 0}, {"HP", u'C', 11, 0},
                               {"CA", u'C', 11, 0}};
        ASSERT_TRUE(DbfFileSpec(path).create(fields));
        m_rm = std::make_unique<DBSERVERR>(path, false, false);
        int kod = 0;
        for (const RefRecord &r : kReference) {
            ASSERT_TRUE(m_rm->append());
            m_rm->fieldPut("KOD", ++kod);
            m_rm->fieldPut("YM_ADI", r.name);
            m_rm->fieldPut("FIATI", r.price);
            m_rm->fieldPut("GRUBU", r.group);
            m_rm->fieldPut("KM", r.km);
            m_rm->fieldPut("HP", r.hp);
            m_rm->fieldPut("CA", r.ca);
        }
        m_rm->commit();
    }
    void TearDown() override
    {
        m_rm.reset();
        openProblem().reset();
    }

    // A problem with the ingredients and nutrients named, every matrix cell "c<nutrient><ingredient>".
    static void makeProblem(const QStringList &ingredients, const QStringList &nutrients)
    {
        OpenProblem &p = openProblem();
        for (const QString &y : ingredients) {
            Row row(YM_COLUMNS, B11);
            row[YMNAME] = y.leftJustified(25);
            p.AYMLIST.append(row);
            p.AYMADLARI.append(y);
            p.AYMSTOK.append(true);
        }
        for (int j = 0; j < nutrients.size(); ++j) {
            Row row(BM_COLUMNS, B11);
            row[BMNAME] = nutrients.at(j).leftJustified(15);
            row[BMUNIT] = QStringLiteral("u").leftJustified(11);
            p.ABMLIST.append(row);
            p.ABMADLARI.append(nutrients.at(j));
            p.ABMBIRIMLERI.append("u");
            Row cells;
            for (int i = 0; i < ingredients.size(); ++i)
                cells.append(QStringLiteral("c%1%2").arg(j + 1).arg(i + 1).rightJustified(11));
            p.AAMAT.append(cells);
        }
    }
    static void addRatio(const QString &a, const QString &b)
    {
        Row row(BMO_COLUMNS, B11);
        row[BMONAME1] = a.leftJustified(15);
        row[BMONAME2] = b.leftJustified(15);
        openProblem().ABMOLIST.append(row);
    }
    // What the ingredient editor does after a successful addition, then the problem's rules.
    static void expectConsistentAfterCaller()
    {
        OpenProblem &p = openProblem();
        while (p.AYMSTOK.size() < p.AYMLIST.size())
            p.AYMSTOK.append(true);
        EXPECT_EQ(p.checkInvariants(), QStringList());
    }
    static QStringList column(const RowList &rows, int c)
    {
        QStringList out;
        for (const Row &r : rows)
            out.append(r.value(c));
        return out;
    }

    QTemporaryDir m_dir;
    std::unique_ptr<DBSERVERR> m_rm;
    test::ScriptedMessages m_messages;
};

// --- ingredients ----------------------------------------------------------------------------------

TEST_F(ReferenceAdditionTest, EmptyProblemGetsTheBaseRowsAndTheReferenceTexts)
{
    ScriptedMatcher matcher;
    IngredientAddition add(*m_rm, nullptr);
    ASSERT_TRUE(add.AMAT_YMEKLE_KY({3, 1}));
    const OpenProblem &p = openProblem();
    EXPECT_EQ(p.AYMADLARI, (QStringList{"ARPA", "MISIR"}));
    EXPECT_EQ(column(p.AYMLIST, YMPRICE), (QStringList{num("0.250"), num("0.310")}));
    EXPECT_EQ(p.AYMLIST.at(0).size(), YM_COLUMNS);
    EXPECT_EQ(p.ABMADLARI, (QStringList{"AĞIRLIK", "KM"}));
    EXPECT_EQ(p.ABMBIRIMLERI, (QStringList{"Kg/Kg", "%"}));
    EXPECT_EQ(p.ABMLIST.at(0), (Row{"AĞIRLIK        ", "Kg/Kg      ", kWeightCentred, B11, B11, B11, B11, B11,
                                    B11, B11, B11, B11}));
    EXPECT_EQ(p.ABMLIST.at(1).at(BMFIX), B11);
    EXPECT_EQ(p.AAMAT, (RowList{{kWeightRight, kWeightRight}, {num("89.5000"), num("88.0000")}}));
    EXPECT_TRUE(p.LBMDEG && p.LYMDEG && p.LAMATDEG);
    EXPECT_TRUE(matcher.asked.isEmpty());
    expectConsistentAfterCaller();
}

TEST_F(ReferenceAdditionTest, WhichRecordsAreAppended)
{
    struct Case { const char *what; QList<quint32> records; QStringList before, after; };
    const QList<Case> cases = {
        {"an exact name is skipped, another letter case is added", {3, 5}, {"ARPA"}, {"ARPA", "Arpa"}},
        {"all present: nothing appended", {1, 2}, {"MISIR", "SOYA"}, {"MISIR", "SOYA"}},
        {"two records of one name: the first in the given order", {4, 1}, {}, {"MISIR"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        openProblem().reset();
        makeProblem(c.before, {"AĞIRLIK", "HP"});
        IngredientAddition add(*m_rm, nullptr);
        EXPECT_TRUE(add.AMAT_YMEKLE_KY(c.records));
        const OpenProblem &p = openProblem();
        EXPECT_EQ(p.AYMADLARI, c.after);
        EXPECT_TRUE(p.LYMDEG && p.LAMATDEG);
        expectConsistentAfterCaller();
    }
    // The record first in the list's order supplies the values.
    EXPECT_EQ(openProblem().AAMAT.at(1), Row{num("2.0000")});
}

TEST_F(ReferenceAdditionTest, NutrientWithoutAColumnIsMatchedOnceAndRenamedEverywhere)
{
    ScriptedMatcher matcher;
    makeProblem({}, {"AĞIRLIK", "km", "HP"});
    addRatio("km", "HP");
    addRatio("HP", "km");
    matcher.script.enqueue({NameMatchAnswer::Chosen, "KM"});
    IngredientAddition add(*m_rm, nullptr);
    ASSERT_TRUE(add.AMAT_YMEKLE_KY({1, 2}));
    ASSERT_EQ(matcher.asked.size(), 1);
    EXPECT_EQ(matcher.asked.at(0).name, "km");
    EXPECT_TRUE(matcher.asked.at(0).caption.isEmpty()); // the dialog keeps its own caption
    // Only nutrient columns the problem does not use yet are offered.
    EXPECT_EQ(matcher.asked.at(0).candidates, (QStringList{"KM", "CA"}));
    const OpenProblem &p = openProblem();
    EXPECT_EQ(p.ABMADLARI, (QStringList{"AĞIRLIK", "KM", "HP"}));
    EXPECT_EQ(p.ABMLIST.at(1).at(BMNAME), "KM             ");
    EXPECT_EQ(column(p.ABMOLIST, BMONAME1), (QStringList{"KM             ", "HP             "}));
    EXPECT_EQ(column(p.ABMOLIST, BMONAME2), (QStringList{"HP             ", "KM             "}));
    EXPECT_EQ(p.AAMAT.at(1), (Row{num("88.0000"), num("89.0000")}));
    EXPECT_TRUE(p.LBMODEG && p.LBMDEG);
    expectConsistentAfterCaller();
}

TEST_F(ReferenceAdditionTest, SkippedNutrientsLeaveWithTheirRowsAndRatios)
{
    ScriptedMatcher matcher;
    makeProblem({"SOYA"}, {"AGIRLIK", "km", "HP"});
    addRatio("HP", "km");
    addRatio("HP", "AGIRLIK");
    matcher.script.enqueue({NameMatchAnswer::Skipped, {}});
    matcher.script.enqueue({NameMatchAnswer::Skipped, {}});
    IngredientAddition add(*m_rm, nullptr);
    ASSERT_TRUE(add.AMAT_YMEKLE_KY({1, 3}));
    EXPECT_EQ(matcher.asked.size(), 2);
    const OpenProblem &p = openProblem();
    EXPECT_EQ(p.ABMADLARI, QStringList{"HP"});
    EXPECT_TRUE(p.ABMOLIST.isEmpty());
    EXPECT_EQ(p.AAMAT, (RowList{{num("c31"), num("8.5000"), num("11.0000")}}));
    expectConsistentAfterCaller();
}

TEST_F(ReferenceAdditionTest, CancelTakesBackThisPassButKeepsConfirmedRenames)
{
    ScriptedMatcher matcher;
    makeProblem({"SOYA"}, {"kalsiyum", "HP", "fosfor"});
    matcher.script.enqueue({NameMatchAnswer::Chosen, "CA"});
    matcher.script.enqueue({NameMatchAnswer::Cancelled, {}});
    IngredientAddition add(*m_rm, nullptr);
    EXPECT_FALSE(add.AMAT_YMEKLE_KY({1, 3}));
    const OpenProblem &p = openProblem();
    EXPECT_EQ(p.AYMADLARI, QStringList{"SOYA"});
    EXPECT_EQ(p.ABMADLARI, (QStringList{"CA", "HP", "fosfor"}));
    EXPECT_TRUE(p.LBMDEG);
    EXPECT_EQ(p.checkInvariants(), QStringList());
}

TEST_F(ReferenceAdditionTest, MoreThanTheProblemHoldsIsRefusedBeforeAnyChange)
{
    QStringList many;
    for (int i = 0; i < kMaxIngredients - 1; ++i)
        many.append(QStringLiteral("YM%1").arg(i));
    makeProblem(many, {"AĞIRLIK"});
    IngredientAddition add(*m_rm, nullptr);
    EXPECT_FALSE(add.AMAT_YMEKLE_KY({1, 2}));
    EXPECT_EQ(m_messages.shown().size(), 1);
    EXPECT_EQ(openProblem().AYMADLARI, many);
    EXPECT_FALSE(openProblem().LYMDEG);
    // One more still fits.
    EXPECT_TRUE(add.AMAT_YMEKLE_KY({2}));
    EXPECT_EQ(openProblem().AYMADLARI.size(), kMaxIngredients);
    expectConsistentAfterCaller();
}

TEST_F(ReferenceAdditionTest, IngredientsAlreadyPresentGetCellsInTheNewBaseRows)
{
    // A problem with ingredients but no nutrient: every matrix row keeps one cell per ingredient.
    makeProblem({"SOYA", "OT"}, {});
    IngredientAddition add(*m_rm, nullptr);
    ASSERT_TRUE(add.AMAT_YMEKLE_KY({3}));
    const OpenProblem &p = openProblem();
    EXPECT_EQ(p.AYMADLARI, (QStringList{"SOYA", "OT", "ARPA"}));
    EXPECT_EQ(p.AAMAT, (RowList{{kWeightRight, kWeightRight, kWeightRight}, {B11, B11, num("89.5000")}}));
    expectConsistentAfterCaller();
}

TEST_F(ReferenceAdditionTest, RoomLeftByTheCallerLimitsTheAddition)
{
    makeProblem({"SOYA"}, {"AĞIRLIK"});
    IngredientAddition add(*m_rm, nullptr);
    // Two new names (SOYA is skipped) but room for one: refused whole, with the message.
    EXPECT_FALSE(add.AMAT_YMEKLE_KY({1, 2, 3}, 1));
    EXPECT_EQ(m_messages.shown().size(), 1);
    EXPECT_EQ(openProblem().AYMADLARI, QStringList{"SOYA"});
    EXPECT_TRUE(add.AMAT_YMEKLE_KY({1, 2}, 1));
    EXPECT_EQ(openProblem().AYMADLARI, (QStringList{"SOYA", "MISIR"}));
    expectConsistentAfterCaller();
}

TEST_F(ReferenceAdditionTest, CancelWhileLayingTheBaseRowsTakesThemBack)
{
    // A reference matrix without a KM column: the base row "KM" goes to the matcher.
    const QString path = m_dir.filePath("NOKM.DBF");
    ASSERT_TRUE(DbfFileSpec(path).create({{"KOD", u'N', 5, 0}, {"YM_ADI", u'C', 25, 0}, {"FIATI", u'C', 11, 0},
                                          {"GRUBU", u'C', 11, 0}, {"HP", u'C', 11, 0}}));
    DBSERVERR table(path, false, false);
    ASSERT_TRUE(table.append());
    table.fieldPut("YM_ADI", QStringLiteral("MISIR"));
    table.fieldPut("HP", num("8.5000"));
    table.commit();

    ScriptedMatcher matcher;
    makeProblem({"SOYA"}, {});
    matcher.script.enqueue({NameMatchAnswer::Cancelled, {}});
    IngredientAddition add(table, nullptr);
    EXPECT_FALSE(add.AMAT_YMEKLE_KY({1}));
    ASSERT_EQ(matcher.asked.size(), 1);
    EXPECT_EQ(matcher.asked.at(0).name, "KM");
    // The leading fields are no nutrient's column.
    EXPECT_EQ(matcher.asked.at(0).candidates, QStringList{"HP"});
    const OpenProblem &p = openProblem();
    EXPECT_EQ(p.AYMADLARI, QStringList{"SOYA"});
    EXPECT_TRUE(p.ABMADLARI.isEmpty() && p.ABMLIST.isEmpty() && p.ABMBIRIMLERI.isEmpty() && p.AAMAT.isEmpty());
    EXPECT_FALSE(p.LBMDEG || p.LYMDEG);
    EXPECT_EQ(p.checkInvariants(), QStringList());
    table.close();
}

TEST_F(ReferenceAdditionTest, NutrientNamedLikeALeadingFieldIsAskedNotFilledWithIt)
{
    ScriptedMatcher matcher;
    makeProblem({}, {"AĞIRLIK", "FIATI"});
    matcher.script.enqueue({NameMatchAnswer::Skipped, {}});
    IngredientAddition add(*m_rm, nullptr);
    ASSERT_TRUE(add.AMAT_YMEKLE_KY({1}));
    ASSERT_EQ(matcher.asked.size(), 1);
    EXPECT_EQ(matcher.asked.at(0).candidates, (QStringList{"KM", "HP", "CA"}));
    EXPECT_EQ(openProblem().ABMADLARI, QStringList{"AĞIRLIK"});
    expectConsistentAfterCaller();
}

// --- nutrients ------------------------------------------------------------------------------------

class NutrientAdditionTest : public ReferenceAdditionTest
{
protected:
    std::unique_ptr<NutrientAddition> adder()
    {
        auto a = std::make_unique<NutrientAddition>(*m_rm, nullptr);
        a->AABRRE = {"CA", "HP", "KM", "YOK"};
        a->ABIRIM = {"g/kg", "% HP", "% KM", "?"};
        a->GETRNOOFYM();
        return a;
    }
};

TEST_F(NutrientAdditionTest, ReferenceNamesAndRecordNumbers)
{
    auto a = adder();
    EXPECT_EQ(a->ARMYMADI, (QStringList{"MISIR", "SOYA", "ARPA", "MISIR", "Arpa"}));
    EXPECT_EQ(a->ARMRECNO, (QList<quint32>{1, 2, 3, 4, 5}));
}

TEST_F(NutrientAdditionTest, BaseRowsWithAndWithoutIngredients)
{
    {
        makeProblem({"SOYA", "MISIR"}, {});
        ASSERT_TRUE(adder()->BESINMADDESIEKLE({2}));
        const OpenProblem &p = openProblem();
        EXPECT_EQ(p.ABMADLARI, (QStringList{"AĞIRLIK", "KM", "HP"}));
        // KM's contents come from its reference column, so its row takes its definition's unit.
        EXPECT_EQ(p.ABMBIRIMLERI, (QStringList{"Kg/Kg", "% KM", "% HP"}));
        EXPECT_EQ(p.ABMLIST.at(1).at(BMUNIT), QStringLiteral("% KM").leftJustified(11));
        EXPECT_EQ(p.ABMLIST.at(0).at(BMFIX), kWeightCentred);
        // The first of two equal reference names supplies the values.
        EXPECT_EQ(p.AAMAT, (RowList{{kWeightCentred, kWeightCentred}, {num("89.0000"), num("88.0000")},
                                    {num("44.0000"), num("8.5000")}}));
        EXPECT_TRUE(p.LAMATDEG && p.LBMDEG);
        EXPECT_EQ(p.checkInvariants(), QStringList());
    }
    openProblem().reset();
    ASSERT_TRUE(adder()->BESINMADDESIEKLE({2}));
    const OpenProblem &p = openProblem();
    EXPECT_EQ(p.ABMADLARI, (QStringList{"AĞIRLIK", "KM", "HP"}));
    EXPECT_EQ(p.ABMBIRIMLERI, (QStringList{"Kg/Kg", "% KM", "% HP"}));
    EXPECT_EQ(p.AAMAT, (RowList{{}, {}, {}}));
    EXPECT_EQ(p.checkInvariants(), QStringList());
}

TEST_F(NutrientAdditionTest, PresentNutrientKeepsItsValuesAndUnknownFieldGivesBlanks)
{
    makeProblem({"ARPA"}, {"AĞIRLIK", "HP"});
    ASSERT_TRUE(adder()->BESINMADDESIEKLE({2, 4}));
    const OpenProblem &p = openProblem();
    EXPECT_EQ(p.ABMADLARI, (QStringList{"AĞIRLIK", "HP", "YOK"}));
    EXPECT_EQ(p.AAMAT.at(1), Row{num("c21")});
    EXPECT_EQ(p.AAMAT.at(2), Row{B11});
    EXPECT_EQ(p.checkInvariants(), QStringList());
}

TEST_F(NutrientAdditionTest, DefinitionsNamedLikeTheLeadingFieldsGiveBlanks)
{
    // Code, name, price and group are no nutrient's content: a definition so named reads nothing.
    makeProblem({"MISIR"}, {"AĞIRLIK"});
    auto a = adder();
    a->AABRRE = {"KOD", "YM_ADI", "FIATI", "GRUBU"};
    a->ABIRIM = {"a", "b", "c", "d"};
    ASSERT_TRUE(a->BESINMADDESIEKLE({1, 2, 3, 4}));
    const OpenProblem &p = openProblem();
    EXPECT_EQ(p.ABMADLARI, (QStringList{"AĞIRLIK", "KOD", "YM_ADI", "FIATI", "GRUBU"}));
    EXPECT_EQ(p.AAMAT.mid(1), (RowList{{B11}, {B11}, {B11}, {B11}}));
    EXPECT_EQ(p.checkInvariants(), QStringList());
}

TEST_F(NutrientAdditionTest, UnknownIngredientAskedPerNutrientUntilMatched)
{
    ScriptedMatcher matcher;
    makeProblem({"MISIR", "YULAF"}, {"AĞIRLIK"});
    matcher.script.enqueue({NameMatchAnswer::Skipped, {}});
    openProblem().AYMGLIST.append(Row(YMG_COLUMNS, B11));
    openProblem().AYMGADLARI.append("G");
    openProblem().AGMAT.append(Row{"1.0000", "0.0000"});
    {
        ASSERT_TRUE(adder()->BESINMADDESIEKLE({1, 2}));
        ASSERT_EQ(matcher.asked.size(), 1);
        EXPECT_EQ(matcher.asked.at(0).caption, "Yem Maddelerini Eşleştir");
        // Names the problem uses and repeated names are not offered.
        EXPECT_EQ(matcher.asked.at(0).candidates, (QStringList{"SOYA", "ARPA", "Arpa"}));
        const OpenProblem &p = openProblem();
        EXPECT_EQ(p.AYMADLARI, QStringList{"MISIR"});
        EXPECT_EQ(p.AYMSTOK.size(), 1);
        EXPECT_EQ(p.AGMAT, RowList{{"1.0000"}});
        EXPECT_EQ(p.AAMAT, (RowList{{num("c11")}, {num("0.0200")}, {num("8.5000")}}));
        EXPECT_TRUE(p.LYMDEG && p.LYMSTOKDEG && p.LYMGDEG);
        EXPECT_EQ(p.checkInvariants(), QStringList());
    }
    openProblem().reset();
    matcher.asked.clear();
    makeProblem({"YULAF", "SOYA"}, {"AĞIRLIK"});
    matcher.script.enqueue({NameMatchAnswer::Chosen, "ARPA"});
    ASSERT_TRUE(adder()->BESINMADDESIEKLE({1, 2}));
    EXPECT_EQ(matcher.asked.size(), 1);
    const OpenProblem &p = openProblem();
    EXPECT_EQ(p.AYMADLARI, (QStringList{"ARPA", "SOYA"}));
    EXPECT_EQ(p.AYMLIST.at(0).at(YMNAME), QStringLiteral("ARPA").leftJustified(25));
    EXPECT_EQ(p.AAMAT.at(2), (Row{num("11.0000"), num("44.0000")}));
    EXPECT_EQ(p.checkInvariants(), QStringList());
}

TEST_F(NutrientAdditionTest, CancelTakesBackTheAppendedRows)
{
    ScriptedMatcher matcher;
    makeProblem({"MISIR", "YULAF", "OT"}, {"AĞIRLIK"});
    matcher.script.enqueue({NameMatchAnswer::Skipped, {}});
    matcher.script.enqueue({NameMatchAnswer::Cancelled, {}});
    EXPECT_FALSE(adder()->BESINMADDESIEKLE({1, 2}));
    const OpenProblem &p = openProblem();
    EXPECT_EQ(p.AYMADLARI, (QStringList{"MISIR", "OT"}));
    EXPECT_EQ(p.ABMADLARI, QStringList{"AĞIRLIK"});
    EXPECT_EQ(p.checkInvariants(), QStringList());

    // Cancelled while laying the base rows: nothing of them stays.
    openProblem().reset();
    makeProblem({"OT"}, {});
    matcher.script.enqueue({NameMatchAnswer::Cancelled, {}});
    EXPECT_FALSE(adder()->BESINMADDESIEKLE({2}));
    EXPECT_TRUE(openProblem().ABMADLARI.isEmpty());
    EXPECT_EQ(openProblem().checkInvariants(), QStringList());
}

TEST(RecordNumberText, WideEnoughForTheTable)
{
    struct Case { quint32 record, last; const char *text; };
    for (const Case &c : {Case{7, 5, "  7"}, Case{7, 1200, "   7"}, Case{1000, 1200, "1000"},
                          Case{999, 999, "999"}}) {
        EXPECT_EQ(recordNumberText(c.record, c.last), QString::fromLatin1(c.text));
    }
    EXPECT_EQ(centredIn("1.0000", 11), kWeightCentred);
}

} // namespace
