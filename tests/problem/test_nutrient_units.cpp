// The unit rule every road of nutrient values uses: which units are one, which pairs convert and how,
// what the load converts, and the question for two units that do not convert.

#include "problem/nutrient_units.h"
#include "problem/number_text.h"
#include "problem/open_problem.h"
#include "scripted_messages.h"

#include <gtest/gtest.h>

using namespace vexo;

namespace {

QString num(const char *text) { return QString::fromLatin1(text).rightJustified(11, u' '); }
const QString B11(11, u' ');

} // namespace

TEST(NutrientUnits, WhichUnitsCrossHow)
{
    struct Case { const char *from, *to; UnitCrossing::Kind kind; double factor; };
    const Case cases[] = {
        {"kcal/kg", "MCal/Kg", UnitCrossing::Scaled, 0.001},
        {"MCAL/KG", "Kcal/Kg", UnitCrossing::Scaled, 1000.0},
        {" mg/kg ", "g/Kg", UnitCrossing::Scaled, 0.001},
        {"G/KG", "MG/kg", UnitCrossing::Scaled, 1000.0},
        {"Kcal/Kg", "kcal/kg", UnitCrossing::Same, 1.0}, // letter case aside, one unit
        {" % ", "%", UnitCrossing::Same, 1.0},
        {"", "MCal/Kg", UnitCrossing::Same, 1.0},         // a blank unit is not given
        {"kcal/kg", "   ", UnitCrossing::Same, 1.0},
        {"%", "g/kg", UnitCrossing::Differ, 1.0},
        {"kcal/kg", "g/kg", UnitCrossing::Differ, 1.0},   // units of two different pairs
        {"mg/kg", "MCal/Kg", UnitCrossing::Differ, 1.0},
        {"kcal/lb", "kcal/kg", UnitCrossing::Differ, 1.0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.from) + " -> " + c.to);
        const UnitCrossing u = unitCrossing(QString::fromLatin1(c.from), QString::fromLatin1(c.to));
        EXPECT_EQ(u.kind, c.kind);
        EXPECT_DOUBLE_EQ(u.factor(), c.factor);
    }
}

TEST(NutrientUnits, CrossedCells)
{
    const UnitCrossing down = unitCrossing("kcal/kg", "MCal/Kg");
    const UnitCrossing up = unitCrossing("MCal/Kg", "kcal/kg");
    struct Case { QString cell; UnitCrossing crossing; std::optional<QString> want; };
    const Case cases[] = {
        {num("3050.0000"), down, num("3.0500")},
        {num("2875.5"), down, num("2.8755")},
        {num("0.85"), down, num("0.0009")},          // four decimals, as the load writes
        {B11, down, B11},                            // no value stays no value
        {num("3.0500"), up, num("3050.0000")},
        {num("99999.9999"), up, num("99999999.90")}, // the integer digits keep their room
        {num("99999999999"), up, std::nullopt},      // too wide for any cell
        {QStringLiteral("3050"), UnitCrossing(), QStringLiteral("3050")}, // the same unit: as stored
        {QStringLiteral("3050"), unitCrossing("%", "g/kg"), QStringLiteral("3050")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.cell.toStdString());
        EXPECT_EQ(crossedCell(c.cell, c.crossing), c.want);
    }
}

TEST(NutrientUnits, UnitsTheLoadGives)
{
    struct Case { const char *name, *stored, *loaded; };
    const Case cases[] = {
        {"ME_KA", "KCAL/KG", "MCal/Kg"}, {"ME_RU", "kcal/kg", "MCal/Kg"}, {"KOLIN", "mg/kg", "g/Kg"},
        {"DEMIR", " Mg/Kg ", "g/Kg"},   {"ME_KA", "MCal/Kg", ""},        {"DEMIR", "g/Kg", ""},
        {"me_ka", "kcal/kg", ""},       {"HP", "kcal/kg", ""},           {"ME_KA", "mg/kg", ""},
        {"KOLIN", "kcal/kg", ""},       {"ME_KA", "", ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.name) + " " + c.stored);
        EXPECT_EQ(loadedUnit(QString::fromLatin1(c.name), QString::fromLatin1(c.stored)), QString::fromLatin1(c.loaded));
    }
}

TEST(NutrientUnits, RowUnitAndDryMatterUnit)
{
    OpenProblem &p = openProblem();
    p.reset();
    p.ABMLIST = {Row{"ME_KA", "MCal/Kg    "}, Row{"HP", B11}, Row{"KM"}};
    p.ABMBIRIMLERI = {"kcal/kg", "%", "%"};
    EXPECT_EQ(problemRowUnit(p, 0), "MCal/Kg"); // the row's cell is what is saved
    EXPECT_EQ(problemRowUnit(p, 1), "%");
    EXPECT_EQ(problemRowUnit(p, 2), "%");
    EXPECT_EQ(problemRowUnit(p, 7), "");
    p.reset();

    EXPECT_EQ(dryMatterUnit({}), "%");
    EXPECT_EQ(dryMatterUnit({{"KM", " "}}), "%");
    EXPECT_EQ(dryMatterUnit({{"KM", "g/kg"}, {"HP", "%"}}), "g/kg");
}

TEST(NutrientUnits, TheQuestionNamesTheNutrientAndBothUnitsAndNoIsTheDefault)
{
    const QString added = differingUnitsText("HP", "%", "g/kg", UnitRoad::IngredientAddition);
    EXPECT_EQ(added, QStringLiteral("HP besin maddesinin birimi problemde \"%\", referans veritabanında \"g/kg\".\r\n"
                                    "Bu iki birim birbirine çevrilemiyor.\r\n\r\n"
                                    "Referans değerleri olduğu gibi eklensin mi?\r\n"
                                    "(Hayır: hiçbir yem maddesi eklenmez.)"));
    const QString loaded = differingUnitsText("HP", "%", "g/kg", UnitRoad::ReferenceLoad);
    EXPECT_TRUE(loaded.startsWith("HP besin maddesinin birimi problemde \"%\", referans veritabanında \"g/kg\"."));
    EXPECT_TRUE(loaded.endsWith("(Hayır: bu besin maddesinin dosyadaki değerleri ve birimi kalır.)"));

    test::ScriptedMessages messages;
    messages.answer(MessageAnswer::Yes);
    EXPECT_TRUE(askTakeDifferingUnit(nullptr, "HP", "%", "g/kg", UnitRoad::IngredientAddition));
    messages.answer(MessageAnswer::No);
    EXPECT_FALSE(askTakeDifferingUnit(nullptr, "HP", "%", "g/kg", UnitRoad::IngredientAddition));
    ASSERT_EQ(messages.shown().size(), 2);
    const MessageRequest &r = messages.shown().at(0);
    EXPECT_EQ(r.caption, "Uyarı...");
    EXPECT_EQ(r.text, added);
    EXPECT_EQ(r.buttons(), unsigned(MB_YESNO));
    EXPECT_EQ(r.style & (MB_ICONQUESTION | MB_DEFBUTTON2), unsigned(MB_ICONQUESTION | MB_DEFBUTTON2));
}
