#include "refdb/rm_form.h"
#include "refdb/rm_form_rules.h"

#include "problem/reference_tables.h"
#include "refdb_root.h"
#include "scripted_messages.h"

#include <gtest/gtest.h>

using namespace vexo;
using vexo::test::Definition;
using vexo::test::RefDbRoot;

namespace {

FormDefinition def(int num, const char *abbreviation, int decimals = 4, const char *name = "Ad", const char *unit = "%")
{
    return {num, QString::fromUtf8(name), QString::fromUtf8(abbreviation), QString::fromUtf8(unit), decimals};
}

// A matrix whose nutrient columns run unlike the definitions: HP before KM, a column ZZ that no
// definition names, and a nutrient field named like a fixed field is impossible (GRUBU is fixed).
const QStringList kFields = {"KOD", "YM_ADI", "FIATI", "GRUBU", "HP", "ZZ", "KM", "CA"};
const QStringList kRecord = {"3", "ARPA                     ", "      1.250", "TAHIL      ",
                             "    11.0000", "     9.0000", "    88.0000", "     0.0500"};

} // namespace

TEST(FormRows, ValuesPairWithTheirFieldsByName)
{
    const QList<FormDefinition> defs = {
        def(1, "KM             "), def(2, "  HP", 2), def(3, "   "), def(4, "NA", 3), def(5, "KM", 1),
        def(6, "GRUBU"), def(7, "CA"),
    };
    const QList<FormNutrientRow> rows = formNutrientRows(kFields, kRecord, defs);
    struct Expect
    {
        int num;
        int field; // -1: read-only
        const char *value;
        int decimals;
    };
    // The blank abbreviation makes no row; NA has no field; the second KM leaves KM to the first;
    // GRUBU is no nutrient field.
    const QList<Expect> expected = {
        {1, 6, "    88.0000", 4}, {2, 4, "    11.0000", 2}, {4, -1, "", 3},
        {5, -1, "", 1},          {6, -1, "", 4},           {7, 7, "     0.0500", 4},
    };
    ASSERT_EQ(rows.size(), expected.size());
    for (qsizetype i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(rows[i].row.KOD, expected[i].num);
        EXPECT_EQ(rows[i].field, expected[i].field);
        EXPECT_EQ(rows[i].row.AVALUE, QString::fromLatin1(expected[i].value));
        EXPECT_EQ(rows[i].decimals, expected[i].decimals);
    }
    // The shown texts are the definition's as stored.
    EXPECT_EQ(rows[0].row.ABRRE, "KM             ");
    EXPECT_EQ(rows[0].row.UNIT, "%");
}

TEST(FormRows, ARecordShorterThanItsFieldsShowsEmptyValues)
{
    const QStringList shortRecord = kRecord.mid(0, 5); // up to HP
    const QList<FormNutrientRow> rows = formNutrientRows(kFields, shortRecord, {def(1, "KM"), def(2, "HP")});
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0].field, 6); // the field exists, so the cell can be written
    EXPECT_EQ(rows[0].row.AVALUE, "");
    EXPECT_EQ(rows[1].row.AVALUE, "    11.0000");
}

TEST(FormHandBack, ValuesGoBackIntoTheFieldsOfTheirNames)
{
    const QList<FormDefinition> defs = {def(1, "KM"), def(2, "NA"), def(3, "HP"), def(4, "KM"), def(5, "CA")};
    QList<FormNutrientRow> rows = formNutrientRows(kFields, kRecord, defs);
    rows[0].row.AVALUE = "    90.0000"; // KM
    rows[1].row.AVALUE = "     1.0000"; // NA: no column
    rows[2].row.AVALUE = "";            // HP emptied
    rows[3].row.AVALUE = "    12.0000"; // the second KM must not win
    const RmFormHandBack back = formHandBack("MISIR   ", "      2.000 ", "TAHIL  ", rows);
    EXPECT_EQ(back.CYYADI, "MISIR");
    EXPECT_EQ(back.CYYFIATI, "      2.000");
    EXPECT_EQ(back.CYYGRUBU, "TAHIL");
    ASSERT_EQ(back.AYYDEGERLER.size(), 5);

    QStringList record = kRecord;
    ASSERT_TRUE(applyFormHandBack(kFields, record, back));
    const QStringList expected = {"3", "MISIR", "      2.000", "TAHIL", "", "     9.0000", "    90.0000", "     0.0500"};
    EXPECT_EQ(record, expected);
}

TEST(FormHandBack, NothingIsWrittenWithoutRows)
{
    QStringList record = kRecord;
    RmFormHandBack back;
    back.CYYADI = "YENI";
    EXPECT_FALSE(applyFormHandBack(kFields, record, back));
    EXPECT_EQ(record, kRecord);
}

TEST(FormHandBack, ARowNamedLikeAFixedFieldWritesNoFixedField)
{
    QStringList record = kRecord;
    RmFormHandBack back{"ARPA", "      1.250", "TAHIL", {{1, "Ad", "KOD", "", "    77.0000"}, {2, "Ad", "GRUBU", "", "X"}}};
    EXPECT_TRUE(applyFormHandBack(kFields, record, back));
    EXPECT_EQ(record[0], "3");
    EXPECT_EQ(record[3], "TAHIL");
}

TEST(FormNumbers, TypedValuesAreNormalised)
{
    struct Case
    {
        const char *typed;
        int decimals;
        const char *value; // nullptr: refused
    };
    const QList<Case> cases = {
        {"12,5", 2, "    12.5000"}, {"1,239", 2, "     1.2300"}, {"1,239", 4, "     1.2390"},
        {"1,23456", 4, "     1.2345"}, {"7", 0, "     7.0000"}, {"12,5", 0, "    12.0000"},
        {"-3,5", 1, "    -3.5000"}, {"", 2, ""}, {"   ", 2, ""}, {"123456789012", 4, nullptr},
        {"1-2", 4, nullptr}, {"-", 4, nullptr}, {"1.2.3", 4, nullptr}, // no number: the old value stays
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed);
        const std::optional<QString> got = formValueText(QString::fromLatin1(c.typed), c.decimals);
        if (!c.value) {
            EXPECT_FALSE(got.has_value());
            continue;
        }
        ASSERT_TRUE(got.has_value());
        EXPECT_EQ(*got, QString::fromLatin1(c.value));
    }
}

TEST(FormNumbers, PricesTakeThreeDecimalsCutNotRounded)
{
    const QList<std::pair<const char *, const char *>> cases = {
        {"12,5", "     12.500"}, {"12,5678", "     12.567"}, {"0,1", "      0.100"},
        {"", ""}, {"  ", ""}, {"123456789012", nullptr}, {".", nullptr}, {"1,2,3", nullptr},
    };
    for (const auto &[typed, price] : cases) {
        SCOPED_TRACE(typed);
        const std::optional<QString> got = formPriceText(QString::fromLatin1(typed));
        if (!price) {
            EXPECT_FALSE(got.has_value());
            continue;
        }
        ASSERT_TRUE(got.has_value());
        EXPECT_EQ(*got, QString::fromLatin1(price));
    }
}

TEST(FormNumbers, CodeIsThreeCharactersWide)
{
    EXPECT_EQ(formCodeText("1"), "  1");
    EXPECT_EQ(formCodeText("    42"), " 42");
    EXPECT_EQ(formCodeText("1200"), "1200"); // wider codes are shown whole
}

// The program's Turkish order: upper-cased, then by code-page bytes (the Turkish capitals follow Z).
TEST(FormGroups, SortedWithTurkishUpperCase)
{
    const QStringList groups = {"yağlı", "Çekirdek", "arpa", "ilave", "Işık", "Ürün", "Zeytin", "Ot"};
    EXPECT_EQ(sortedFormGroups(groups),
              QStringList({"arpa", "Işık", "Ot", "yağlı", "Zeytin", "Çekirdek", "Ürün", "ilave"}));
}

TEST(FormDefinitions, ReadsDefinitionsWithAnAbbreviation)
{
    RefDbRoot root;
    test::ScriptedMessages messages;
    ASSERT_TRUE(root.writeDefinitions({{"Kuru Madde", "KM", "%", 4}, {"Boş", "", "", 2}, {"Ham Protein", "HP", "%", 2}}));
    bool opened = false;
    const QList<FormDefinition> defs = readFormDefinitions(&opened);
    EXPECT_TRUE(opened);
    ASSERT_EQ(defs.size(), 2);
    EXPECT_EQ(defs[0].NUM, 1);
    EXPECT_EQ(defs[0].NAME.trimmed(), "Kuru Madde");
    EXPECT_EQ(defs[1].NUM, 3);
    EXPECT_EQ(defs[1].ABRRE.trimmed(), "HP");
    EXPECT_EQ(defs[1].DECIM, 2);
    EXPECT_FALSE(referenceTables().OBMDESCDBF) << "the table is closed again";
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST(FormDefinitions, AMissingTableIsToldAndGivesNoRow)
{
    RefDbRoot root;
    test::ScriptedMessages messages;
    bool opened = true;
    EXPECT_TRUE(readFormDefinitions(&opened).isEmpty());
    EXPECT_FALSE(opened);
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown()[0].text, "VMKBMDESC.DBF dosyası yok..!");
}

TEST(FormSlot, TestsReplaceTheFormAndPutItBack)
{
    int calls = 0;
    setReferenceForm([&](QWidget *, const RmFormInput &) -> std::optional<RmFormHandBack> {
        ++calls;
        return RmFormHandBack{};
    });
    EXPECT_TRUE(referenceForm()(nullptr, {}).has_value());
    EXPECT_EQ(calls, 1);
    setReferenceForm({});
    EXPECT_TRUE(bool(referenceForm()));
}
