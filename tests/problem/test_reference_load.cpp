#include "problem_fixture.h"

#include "platform/dbf_table.h"
#include "problem/app_globals.h"
#include "problem/dbserverr.h"
#include "problem/name_match.h"
#include "problem/nutrient_units.h"
#include "problem/open_problem.h"
#include "problem/problem_file.h"
#include "problem/problem_loader.h"
#include "problem/reference_tables.h"
#include "scripted_matcher.h"
#include "scripted_messages.h"
#include "spreadsheet_dbf.h"

#include <QFile>
#include <QQueue>
#include <QScopeGuard>

#include <gtest/gtest.h>

using namespace vexo;
using vexo::test::Record;

namespace {

using vexo::test::ScriptedMatcher;

QString num(const QString &text) { return text.rightJustified(11, u' '); }
const QString B11(11, u' ');

// A small reference database: matrix columns KM, HP, KALSIYUM and definitions in another order.
void writeReference(const test::ProblemEnvironment &env)
{
    DbfStructure rm = {{"KOD", u'N', 5, 0}, {"YM_ADI", u'C', 25, 0}, {"FIATI", u'C', 11, 0},
                       {"GRUBU", u'C', 11, 0}, {"KM", u'C', 11, 0}, {"HP", u'C', 11, 0},
                       {"KALSIYUM", u'C', 11, 0}};
    test::writeTable(env.path("MATNRC6.DBF"), rm,
                     {{{"KOD", 1}, {"YM_ADI", "MISIR"}, {"FIATI", num("0.310")}, {"KM", num("88.0000")},
                       {"HP", num("8.5000")}, {"KALSIYUM", num("0.0200")}},
                      {{"KOD", 2}, {"YM_ADI", "SOYA KUSPESI"}, {"FIATI", B11}, {"KM", num("89.0000")},
                       {"HP", num("44.0000")}, {"KALSIYUM", num("0.3000")}},
                      {{"KOD", 3}, {"YM_ADI", "ARPA"}, {"FIATI", num("0.250")}, {"KM", num("89.0000")},
                       {"HP", num("11.0000")}}});
    test::writeTable(env.path("VMKBMDESC.DBF"), nutrientDefinitionStructure(),
                     {{{"NUM", 1}, {"NAME", "Kuru Madde"}, {"ABRRE", "KM"}, {"UNIT", "%"}, {"DECIM", 4}},
                      {{"NUM", 2}, {"NAME", "Kalsiyum"}, {"ABRRE", "KALSIYUM"}, {"UNIT", "g/kg"}, {"DECIM", 2}},
                      {{"NUM", 3}, {"NAME", "Ham Protein"}, {"ABRRE", "HP"}, {"UNIT", "% HP"}, {"DECIM", 3}}});
}

QList<Record> problemRecords()
{
    return {{{"YMADI", "MISIR"}, {"YMFIAT", num("0.500")}, {"BMADI", "KM"}, {"BMBIRIM", "?"},
             {"BMADIA", "CA"}, {"BMADIB", "HP"}, {"YMBMAT", "1,2,3,"}},
            {{"YMADI", "SOYA"}, {"YMFIAT", num("0.600")}, {"BMADI", "CA"}, {"BMADIA", "HP"}, {"BMADIB", "KM"},
             {"YMBMAT", "4,5,6,"}},
            {{"YMADI", "ARPA"}, {"YMFIAT", num("0.700")}, {"BMADI", "AĞIRLIK"}, {"YMBMAT", "7,8,9,"}},
            {{"BMADI", "HP"}, {"BMBIRIM", "%"}, {"YMBMAT", "1,1,1,"}},
            {{"YMBMAT", kPrmMarker}},
            {{"YMBMAT", "K,1000.00,TL,Kg,"}}};
}

bool loadWithReference(const QString &path)
{
    openProblem().reset();
    appGlobals().LRMDENOKU = true;
    if (!DATAFOPEN(nullptr, path))
        return false;
    return AKTPRODIZOLUSTUR(nullptr);
}

} // namespace

TEST(ReferenceLoad, MatchingRenamesNutrientAndRatiosAndIngredient)
{
    test::ProblemEnvironment env;
    test::ScriptedMessages messages;
    writeReference(env);
    const QString path = env.path("REF.VKD");
    test::writeProblemFile(path, problemRecords());
    ScriptedMatcher matcher;
    matcher.script.enqueue({NameMatchAnswer::Chosen, QStringLiteral("KALSIYUM")});
    matcher.script.enqueue({NameMatchAnswer::Chosen, QStringLiteral("SOYA KUSPESI")});
    // KM's "?" and HP's "%" are other units than the reference's: taken as stored when the user says so.
    messages.answer(MessageAnswer::Yes);
    messages.answer(MessageAnswer::Yes);
    ASSERT_TRUE(loadWithReference(path));
    OpenProblem &p = openProblem();
    EXPECT_TRUE(p.checkInvariants().isEmpty()) << p.checkInvariants().join(u';').toStdString();
    ASSERT_EQ(messages.shown().size(), 2);
    EXPECT_EQ(messages.shown()[0].text, differingUnitsText("KM", "?", "%", UnitRoad::ReferenceLoad));
    EXPECT_EQ(messages.shown()[1].text, differingUnitsText("HP", "%", "% HP", UnitRoad::ReferenceLoad));

    ASSERT_EQ(matcher.asked.size(), 2);
    EXPECT_EQ(matcher.asked[0].caption, QStringLiteral("Besin Maddelerini Eşleştir"));
    EXPECT_EQ(matcher.asked[0].name, QStringLiteral("CA"));
    // Only nutrient columns not already used by the problem are offered.
    EXPECT_EQ(matcher.asked[0].candidates, QStringList{"KALSIYUM"});
    EXPECT_EQ(matcher.asked[1].caption, QStringLiteral("Yem Maddelerini Eşleştir"));
    // ARPA is taken by another ingredient of the problem.
    EXPECT_EQ(matcher.asked[1].candidates, QStringList{"SOYA KUSPESI"});

    EXPECT_EQ(p.ABMADLARI, (QStringList{"KM", "KALSIYUM", "AĞIRLIK", "HP"}));
    EXPECT_EQ(p.ABMOLIST[0][BMONAME1], QStringLiteral("KALSIYUM").leftJustified(15));
    EXPECT_EQ(p.AYMLIST[1][YMNAME], QStringLiteral("SOYA KUSPESI").leftJustified(25));
    EXPECT_TRUE(p.LBMDEG && p.LBMODEG && p.LYMDEG);

    // Contents come from the reference columns, the stored rows are ignored.
    EXPECT_EQ(p.AAMAT[0], (Row{num("88.0000"), num("89.0000"), num("89.0000")}));
    EXPECT_EQ(p.AAMAT[1], (Row{num("0.0200"), num("0.3000"), B11}));
    EXPECT_EQ(p.AAMAT[2], (Row(3, QStringLiteral("  1.0000   "))));
    EXPECT_EQ(p.AAMAT[3][1], num("44.0000"));
    // Prices: the reference's, except where it is blank.
    EXPECT_EQ(p.AYMLIST[0][YMPRICE], num("0.310"));
    EXPECT_EQ(p.AYMLIST[1][YMPRICE], num("0.600"));
    // Units by abbreviation, whatever the order of the definitions.
    EXPECT_EQ(p.ABMLIST[1][BMUNIT], QStringLiteral("g/kg").leftJustified(11));
    EXPECT_EQ(p.ABMLIST[3][BMUNIT], QStringLiteral("% HP").leftJustified(11));
    EXPECT_EQ(p.ABMLIST[2][BMUNIT], QStringLiteral("Kg/Kg").leftJustified(11));
    EXPECT_EQ(p.APARMLIST.mid(0, 4), (QStringList{"K", "1000.00", "TL", "Kg"}));
    EXPECT_FALSE(referenceTables().ORMDBF);
    EXPECT_FALSE(referenceTables().OBMDESCDBF);
}

TEST(ReferenceLoad, SkippingDropsTheNutrientItsRowAndRatios)
{
    test::ProblemEnvironment env;
    test::ScriptedMessages messages;
    writeReference(env);
    const QString path = env.path("ATLA.VKD");
    test::writeProblemFile(path, problemRecords());
    ScriptedMatcher matcher;
    matcher.script.enqueue({NameMatchAnswer::Skipped, {}});
    matcher.script.enqueue({NameMatchAnswer::Skipped, {}});
    ASSERT_TRUE(loadWithReference(path));
    OpenProblem &p = openProblem();
    EXPECT_TRUE(p.checkInvariants().isEmpty()) << p.checkInvariants().join(u';').toStdString();
    EXPECT_EQ(p.ABMADLARI, (QStringList{"KM", "AĞIRLIK", "HP"}));
    EXPECT_EQ(p.AYMADLARI, (QStringList{"MISIR", "ARPA"}));
    // The weight row stays "1.0000" after the nutrient before it was dropped.
    EXPECT_EQ(p.AAMAT[1], (Row(2, QStringLiteral("  1.0000   "))));
    // KM and HP, whose units differ from the reference's, were kept as the file holds them (the
    // unanswered questions say No): the stored cells of the ingredients that stayed.
    EXPECT_EQ(messages.unexpectedQuestions(), 2);
    EXPECT_EQ(p.AAMAT[0], (Row{"1", "3"}));
    EXPECT_EQ(p.AAMAT[2], (Row{"1", "1"}));
    EXPECT_EQ(p.ABMLIST[0][BMUNIT].trimmed(), QStringLiteral("?"));
    ASSERT_EQ(p.ABMOLIST.size(), 1); // the ratio on CA went, the one on HP and KM stayed
    EXPECT_EQ(p.ABMOLIST[0][BMONAME1].trimmed(), QStringLiteral("HP"));
}

TEST(ReferenceLoad, CancelEndsTheLoadAndClosesBothTables)
{
    test::ProblemEnvironment env;
    test::ScriptedMessages messages;
    writeReference(env);
    const QString path = env.path("IPTAL.VKD");
    test::writeProblemFile(path, problemRecords());
    ScriptedMatcher matcher;
    matcher.script.enqueue({NameMatchAnswer::Chosen, QStringLiteral("KALSIYUM")});
    matcher.script.enqueue({NameMatchAnswer::Cancelled, {}});
    EXPECT_FALSE(loadWithReference(path));
    EXPECT_FALSE(openProblem().LYMDEG || openProblem().LAMATDEG);
    EXPECT_FALSE(referenceTables().ORMDBF);
    EXPECT_FALSE(referenceTables().OBMDESCDBF);
    // The reference matrix is free again (it was opened exclusively).
    DbfTable again(env.path("MATNRC6.DBF"), false, false);
    EXPECT_FALSE(again.status().has_value());
}

TEST(ReferenceLoad, EmptyListsLoadAsStoredAndMissingReferenceIsTold)
{
    test::ProblemEnvironment env;
    test::ScriptedMessages messages;
    const QString path = env.path("BOSYM.VKD");
    test::writeProblemFile(path, {{{"BMADI", "HP"}, {"YMBMAT", kPrmMarker}}, {{"YMBMAT", "K,1000.00,TL,Kg,"}}});
    ASSERT_TRUE(loadWithReference(path));
    EXPECT_TRUE(messages.shown().isEmpty());
    EXPECT_EQ(openProblem().APARMLIST.size(), 4);

    const QString full = env.path("TAM.VKD");
    test::writeProblemFile(full, problemRecords());
    EXPECT_FALSE(loadWithReference(full));
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown()[0].text, QStringLiteral("MATNRC6.DBF dosyası yok..!"));
    EXPECT_EQ(messages.shown()[0].caption, QStringLiteral("Uyarı..."));
    EXPECT_EQ(messages.shown()[0].icon(), unsigned(MB_ICONINFORMATION));
    EXPECT_EQ(messages.shown()[0].owner, nullptr);
}

TEST(ReferenceTables, CreateMatrixOpenersAndDecimals)
{
    test::ProblemEnvironment env;
    test::ScriptedMessages messages;
    ASSERT_TRUE(RMAT_CREATE(nullptr));
    const QList<Record> recs = test::readTable(env.path("MATNRC6.DBF"));
    ASSERT_EQ(recs.size(), 1);
    EXPECT_EQ(recs[0].size(), 56);
    EXPECT_EQ(recs[0]["KOD"].toInt(), 1);
    EXPECT_TRUE(recs[0]["YM_ADI"].toString().trimmed().isEmpty());
    EXPECT_TRUE(recs[0].contains("BY-P") && recs[0].contains("MET+SIST"));

    // A read-only matrix opens, its flag cleared.
    QFile::setPermissions(env.path("MATNRC6.DBF"), QFile::ReadOwner);
    ASSERT_TRUE(RMDATAFOPEN());
    closeReferenceTables();

    test::writeTable(env.path("VMKBMDESC.DBF"), nutrientDefinitionStructure(),
                     {{{"NUM", 1}, {"ABRRE", "KM"}, {"DECIM", 4}}, {{"NUM", 2}, {"ABRRE", ""}, {"DECIM", 2}},
                      {{"NUM", 3}, {"ABRRE", "HP"}, {"DECIM", 3}}, {{"NUM", 4}, {"ABRRE", "KM"}, {"DECIM", 1}}});
    GETBMDESC();
    ASSERT_EQ(referenceTables().ABMDESC.size(), 3);
    EXPECT_EQ(nutrientDecimals("HP"), 3);
    EXPECT_EQ(nutrientDecimals("YOK"), 4);
    EXPECT_FALSE(referenceTables().OBMDESCDBF);
    EXPECT_TRUE(messages.shown().isEmpty());
    referenceTables().ABMDESC.clear();
}

static QStringList columnNames(const DbfStructure &fields)
{
    QStringList names;
    for (const DbfField &f : fields)
        names << f.name;
    return names;
}

TEST(ReferenceTables, LayoutFromAbbreviations)
{
    const QStringList fixed = {"KOD", "YM_ADI", "FIATI", "GRUBU"};
    const struct {
        QStringList stored;
        QStringList columns; // after the four fixed ones
    } cases[] = {
        {{}, {}},
        {{"KM", "", "HP", "KM"}, {"KM", "HP"}},              // blank skipped, the first KM wins
        {{"  HP   ", "HP", " ", "KM "}, {"HP", "KM"}},       // stored texts are trimmed first
        {{"km", "KM", "Km"}, {"km", "KM", "Km"}},            // equality is case-sensitive
        {{"GRUBU", "KOD", "FIATI", "YM_ADI", "NB"}, {"NB"}}, // the fixed fields count as taken
        {{"BY-P", "MET+SIST", "BY-P"}, {"BY-P", "MET+SIST"}},
    };
    for (const auto &c : cases) {
        const DbfStructure layout = referenceLayoutFromAbbreviations(c.stored);
        EXPECT_EQ(columnNames(layout), fixed + c.columns) << c.stored.join(u'|').toStdString();
        ASSERT_GE(layout.size(), 4);
        EXPECT_EQ(layout[0], (DbfField{"KOD", u'N', 3, 0}));
        EXPECT_EQ(layout[1], (DbfField{"YM_ADI", u'C', 25, 0}));
        for (qsizetype i = 2; i < layout.size(); ++i)
            EXPECT_EQ(layout[i], (DbfField{layout[i].name, u'C', 11, 0}));
    }
}

TEST(ReferenceTables, LayoutFromTheDefinitionsTable)
{
    test::ProblemEnvironment env;
    test::ScriptedMessages messages;
    // No definitions: the opener says so and the layout is empty, so a rebuild is abandoned.
    EXPECT_TRUE(referenceLayoutFromDefinitions().isEmpty());
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown()[0].text, QStringLiteral("VMKBMDESC.DBF dosyası yok..!"));

    test::writeTable(env.path("VMKBMDESC.DBF"), nutrientDefinitionStructure(),
                     {{{"NUM", 1}, {"ABRRE", "KM"}, {"DECIM", 4}}, {{"NUM", 2}, {"ABRRE", ""}, {"DECIM", 2}},
                      {{"NUM", 3}, {"ABRRE", "HP"}, {"DECIM", 3}}, {{"NUM", 4}, {"ABRRE", "KM"}, {"DECIM", 1}}});
    const DbfStructure layout = referenceLayoutFromDefinitions();
    EXPECT_EQ(columnNames(layout), (QStringList{"KOD", "YM_ADI", "FIATI", "GRUBU", "KM", "HP"}));
    EXPECT_EQ(messages.shown().size(), 1);
    // The definitions are closed again: the exclusive opener gets them at once.
    EXPECT_FALSE(referenceTables().OBMDESCDBF);
    ASSERT_TRUE(BMDATAFOPEN());
    closeReferenceTables();

    // The layout is one a table can be created with; a three-digit code fits.
    test::writeTable(env.path("NEW.DBF"), layout, {{{"KOD", 999}, {"KM", num("88.0000")}}});
    const QList<Record> recs = test::readTable(env.path("NEW.DBF"));
    ASSERT_EQ(recs.size(), 1);
    EXPECT_EQ(recs[0]["KOD"].toInt(), 999);
}

// The reference tables as a Turkish-locale spreadsheet saves them: decimal commas, texts left-aligned,
// no code page byte; one content holds letters after its digits.
TEST(ReferenceLoad, SpreadsheetDecimalCommasComeInAsTheProgramsNumbers)
{
    test::ProblemEnvironment env;
    test::ScriptedMessages messages;
    ASSERT_TRUE(test::writeSpreadsheetDbf(env.path("MATNRC6.DBF"), test::sheetMatrixFields({"KM", "HS"}),
                                          {{"1", "MISIR", "0,310", "TAHIL", "88", "2,5"},
                                           {"2", "İSPANAKÇIK", "0,425", "", "77,5", "12,5"},
                                           {"3", "ARPA", "abc", "TAHIL", "89,0", "12abc"}}));
    ASSERT_TRUE(test::writeSpreadsheetDbf(env.path("VMKBMDESC.DBF"),
                                          {{"NUM", 'N', 3, 0}, {"NAME", 'C', 30, 0}, {"ABRRE", 'C', 15, 0},
                                           {"UNIT", 'C', 11, 0}, {"DECIM", 'N', 3, 0}},
                                          {{"1", "Kuru Madde", "KM", "%", "4"}, {"2", "Ham Selüloz", "HS", "%", "2"}}));
    loadNutrientDecimals();
    const auto forgetDecimals = qScopeGuard([] { referenceTables().ABMDESC.clear(); });
    const QString path = env.path("VIRGUL.VKD");
    test::writeProblemFile(path, {{{"YMADI", "MISIR"}, {"YMFIAT", num("0.500")}, {"BMADI", "KM"}, {"BMBIRIM", "%"},
                                   {"YMBMAT", "1,2,3,"}},
                                  {{"YMADI", "İSPANAKÇIK"}, {"YMFIAT", num("0.600")}, {"BMADI", "HS"},
                                   {"BMBIRIM", "%"}, {"YMBMAT", "4,5,6,"}},
                                  {{"YMADI", "ARPA"}, {"YMFIAT", num("0.700")}, {"YMBMAT", kPrmMarker}},
                                  {{"YMBMAT", "K,1000.00,TL,Kg,"}}});
    ASSERT_TRUE(loadWithReference(path));
    const OpenProblem &p = openProblem();
    EXPECT_EQ(p.AYMLIST[0][YMPRICE], num("0.310"));
    EXPECT_EQ(p.AYMLIST[1][YMPRICE], num("0.425"));
    // A price that is no number is no value: the problem's own price stays.
    EXPECT_EQ(p.AYMLIST[2][YMPRICE], num("0.700"));
    EXPECT_EQ(p.AAMAT[0], (Row{num("88.0000"), num("77.5000"), num("89.0000")}));
    // "12abc" is no value, not 12.
    EXPECT_EQ(p.AAMAT[1], (Row{num("2.5000"), num("12.5000"), B11}));

    // The cells that hold no number are named together, in one box.
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown()[0].text,
              QStringLiteral("MATNRC6.DBF tablosunda sayı olmayan değerler var; bunlar değersiz (boş) alındı:\n"
                             "ARPA - FIATI: \"abc\"\nARPA - HS: \"12abc\""));
    // Reading changed nothing of the tables.
    DbfTable matrix(env.path("MATNRC6.DBF"), true, true);
    ASSERT_TRUE(matrix.goTo(2));
    EXPECT_EQ(matrix.fieldGet(QStringLiteral("KM")).toString().trimmed(), QStringLiteral("77,5"));
}
