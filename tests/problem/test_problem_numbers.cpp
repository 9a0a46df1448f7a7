// The number fields of a problem file's own lists (prices, fixed values and limits of ingredients,
// nutrients, ratios and groups) come in as the program's own number texts, whichever program wrote
// the file.

#include "problem_fixture.h"

#include "problem/app_globals.h"
#include "problem/dbserverr.h"
#include "problem/open_problem.h"
#include "problem/problem_file.h"
#include "problem/problem_loader.h"
#include "scripted_messages.h"
#include "spreadsheet_dbf.h"

#include <gtest/gtest.h>

using namespace vexo;
using vexo::test::Record;

namespace {

QString num(const QString &text) { return text.rightJustified(11, u' '); }

bool load(const QString &path)
{
    openProblem().reset();
    appGlobals().LRMDENOKU = false;
    if (!DATAFOPEN(nullptr, path))
        return false;
    return AKTPRODIZOLUSTUR(nullptr);
}

// The problem file's fields as a spreadsheet saves them back ("YMBMAT" keeps its width's high byte
// in the decimals byte, as dBASE does for wide texts).
QList<test::SheetField> sheetProblemFields()
{
    QList<test::SheetField> fields;
    for (const DbfField &f : DATAFILESTRUCT())
        fields.append({f.name.toLatin1(), char(f.type.unicode()), f.width, f.width > 255 ? f.width >> 8 : 0});
    return fields;
}

// One record as field name -> text, in the file's field order.
QStringList sheetRow(const Record &values)
{
    QStringList row;
    for (const DbfField &f : DATAFILESTRUCT())
        row.append(values.value(f.name).toString());
    return row;
}

bool anyListChanged(const OpenProblem &p)
{
    return p.LYMDEG || p.LBMDEG || p.LBMODEG || p.LYMGDEG || p.LPRMDEG;
}

} // namespace

// A problem file a Turkish-locale spreadsheet saved back: decimal commas, numbers left-aligned, no code
// page byte, and one price that holds letters.
TEST(ProblemNumbers, SpreadsheetNumbersComeInAsTheProgramsOwn)
{
    test::ProblemEnvironment env;
    test::ScriptedMessages messages;
    const QString path = env.path("VIRGUL.VKD");
    const QList<Record> records = {
        {{"YMADI", "MISIR"}, {"YMFIAT", "0,425"}, {"YMALTLIM", "12,5"}, {"YMUSTLIM", "40"}, {"YMSTOKVY", "T"},
         {"BMADI", "HP"}, {"BMBIRIM", "%"}, {"BMALTLIM", "12,5"}, {"BMADIA", "HP"}, {"BMADIB", "KM"},
         {"OUSTLIM", "0,5"}, {"GADI", "TAHIL"}, {"GALTLIM", "10,25"}, {"YMBMAT", "1,2,"}},
        {{"YMADI", "ARPA"}, {"YMFIAT", "abc"}, {"YMSABIT", "-2,5"}, {"YMSTOKVY", "T"}, {"BMADI", "KM"},
         {"BMBIRIM", "%"}, {"BMSABIT", "88"}, {"YMBMAT", "3,4,"}},
        {{"YMBMAT", kPrmMarker}},
        {{"YMBMAT", "K,1000.00,TL,Kg,"}},
        {{"YMBMAT", kGrupMarker}},
        {{"YMBMAT", "100.0,0.0,"}}};
    QList<QStringList> rows;
    for (const Record &r : records)
        rows.append(sheetRow(r));
    ASSERT_TRUE(test::writeSpreadsheetDbf(path, sheetProblemFields(), rows));

    ASSERT_TRUE(load(path));
    const OpenProblem &p = openProblem();
    const QString blank11(11, u' ');
    const QString blank12(12, u' ');
    ASSERT_EQ(p.AYMLIST.size(), 2);
    // The ingredient editor's form: three decimals; a blank cell stays blank, a minus stays.
    EXPECT_EQ(p.AYMLIST[0].mid(YMPRICE, 4), (Row{num("0.425"), blank12, num("12.500"), num("40.000")}));
    EXPECT_EQ(p.AYMLIST[1][YMFIX], num("-2.500"));
    // Letters are no value, never the digits before them.
    EXPECT_EQ(p.AYMLIST[1][YMPRICE], blank11);
    // The nutrient editor's form: the nutrient's decimals (four without a definition), four shown.
    EXPECT_EQ(p.ABMLIST[0][BMLLIMIT], num("12.5000"));
    EXPECT_EQ(p.ABMLIST[1][BMFIX], num("88.0000"));
    EXPECT_EQ(p.ABMLIST[1][BMLLIMIT], blank11);
    // Ratios take four decimals, groups three.
    ASSERT_EQ(p.ABMOLIST.size(), 1);
    EXPECT_EQ(p.ABMOLIST[0][BMOULIMIT], num("0.5000"));
    ASSERT_EQ(p.AYMGLIST.size(), 1);
    EXPECT_EQ(p.AYMGLIST[0][YMGLLIMIT], num("10.250"));
    EXPECT_EQ(p.AYMGLIST[0][YMGFIX], blank11);

    // The cell that holds no number is named once, by list, row, field and text.
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown()[0].text,
              QStringLiteral("VIRGUL.VKD tablosunda sayı olmayan değerler var; bunlar değersiz (boş) alındı:\n"
                             "Yem maddesi ARPA - YMFIAT: \"abc\""));
    // Every list that now differs from the file is saved in the program's form next time.
    EXPECT_TRUE(p.LYMDEG);
    EXPECT_TRUE(p.LBMDEG);
    EXPECT_TRUE(p.LBMODEG);
    EXPECT_TRUE(p.LYMGDEG);
    EXPECT_FALSE(p.LPRMDEG);
}

// A file the program wrote loads byte for byte: no warning, nothing marked changed.
TEST(ProblemNumbers, OwnNumbersLoadUnchanged)
{
    test::ProblemEnvironment env;
    test::ScriptedMessages messages;
    const QString path = env.path("KENDI.VKD");
    test::writeProblemFile(path, {{{"YMADI", "MISIR"}, {"YMFIAT", num("0.425")}, {"YMALTLIM", num("12.500")},
                                   {"YMUSTLIM", num("-1.000")}, {"YMSTOKVY", true}, {"BMADI", "HP"},
                                   {"BMBIRIM", "%"}, {"BMALTLIM", num("12.5000")}, {"BMADIA", "HP"},
                                   {"BMADIB", "KM"}, {"OUSTLIM", num("0.5000")}, {"GADI", "TAHIL"},
                                   {"GALTLIM", num("10.250")}, {"YMBMAT", "1,"}},
                                  {{"BMADI", "KM"}, {"BMBIRIM", "%"}, {"BMSABIT", num("88.0000")}, {"YMBMAT", "3,"}},
                                  {{"YMBMAT", kPrmMarker}},
                                  {{"YMBMAT", "K,1000.00,TL,Kg,"}},
                                  {{"YMBMAT", kGrupMarker}},
                                  {{"YMBMAT", "100.0,"}}});

    ASSERT_TRUE(load(path));
    const OpenProblem &p = openProblem();
    const QList<Record> stored = test::readTable(path);
    ASSERT_EQ(p.AYMLIST.size(), 1);
    EXPECT_EQ(p.AYMLIST[0].mid(YMPRICE, 4),
              (Row{stored[0]["YMFIAT"].toString(), stored[0]["YMSABIT"].toString(), stored[0]["YMALTLIM"].toString(),
                   stored[0]["YMUSTLIM"].toString()}));
    EXPECT_EQ(p.AYMLIST[0][YMLLIMIT], num("12.500") + u' ');
    EXPECT_EQ(p.ABMLIST[0][BMLLIMIT], num("12.5000"));
    EXPECT_EQ(p.ABMLIST[1][BMFIX], num("88.0000"));
    EXPECT_EQ(p.ABMOLIST[0][BMOULIMIT], num("0.5000"));
    EXPECT_EQ(p.AYMGLIST[0][YMGLLIMIT], num("10.250"));
    EXPECT_TRUE(messages.shown().isEmpty());
    EXPECT_FALSE(anyListChanged(p));
}
