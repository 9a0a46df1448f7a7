// One unit per nutrient row, whichever road brought the values: typed, loaded (with the load's
// conversion of older units), added from the reference database as ingredients or as nutrients, read
// from the reference matrix by the data-source option, after a restore from a backup and after the
// older edition's conversion. On every road the problem is solved by the program and, from its own
// lists, by GLPK, and both give GLPK's optimum of the same problem written in one unit per row.

#include "glpk_oracle.h"
#include "quiet_file_host.h"
#include "refdb_fixture.h"
#include "refdb_root.h"
#include "scripted_matcher.h"
#include "scripted_messages.h"
#include "solver_fixture.h"

#include "problem/app_globals.h"
#include "problem/dbserverr.h"
#include "problem/nutrient_units.h"
#include "problem/number_text.h"
#include "problem/open_problem.h"
#include "problem/problem_file.h"
#include "problem/problem_file_commands.h"
#include "problem/problem_saver.h"
#include "problem/reference_tables.h"
#include "refdb/older_edition.h"
#include "refdb/reference_additions.h"
#include "refdb/reference_backup.h"
#include "solver/ky_optimizer.h"

#include <QDir>
#include <QMap>

#include <gtest/gtest.h>

using namespace vexo;
using namespace vexo::test;

namespace {

const QString B11(11, u' ');
QString num(double v, int decimals = 4) { return Str(v, 11, decimals); }

// A broiler's feeds, energy in kcal/kg and iron in mg/kg.
struct Feed
{
    QString name;
    double price, km, hp, meKcal, feMg;
};
const QList<Feed> kFeeds = {
    {QStringLiteral("ARPA"), 9.0, 89.0, 11.5, 2640.0, 60.0},
    {QStringLiteral("MISIR"), 12.0, 88.0, 8.5, 3350.0, 30.0},
    {QStringLiteral("SOYA KUSPESI"), 21.0, 89.0, 44.0, 2230.0, 150.0},
    {QStringLiteral("BUGDAY"), 10.5, 88.0, 12.0, 3050.0, 40.0},
};
constexpr quint32 kWheatRecord = 4;

// The units a reference database gives its nutrients, and the factors from kcal/kg, mg/kg and % of
// its stored values.
struct RefUnits
{
    QString km = QStringLiteral("%"), hp = QStringLiteral("%"), me = QStringLiteral("kcal/kg"),
            fe = QStringLiteral("mg/kg");
    double kmScale = 1.0, hpScale = 1.0, meScale = 1.0, feScale = 1.0;
};
const RefUnits kKcal;
const RefUnits kMcal = {QStringLiteral("%"), QStringLiteral("%"), QStringLiteral("MCal/Kg"), QStringLiteral("g/Kg"),
                        1.0, 1.0, 0.001, 0.001};

// The reference matrix (KM, HP, ME_KA, DEMIR) with the feeds in record order, and the definitions in
// the opposite order, so that units are paired with columns by abbreviation.
void writeReference(const QString &folder, const RefUnits &u)
{
    DbfStructure fields = {{"KOD", u'N', 5, 0}, {"YM_ADI", u'C', 25, 0}, {"FIATI", u'C', 11, 0},
                           {"GRUBU", u'C', 11, 0}, {"KM", u'C', 11, 0}, {"HP", u'C', 11, 0},
                           {"ME_KA", u'C', 11, 0}, {"DEMIR", u'C', 11, 0}};
    QList<QVariantList> rows;
    int kod = 0;
    for (const Feed &f : kFeeds)
        rows.append({++kod, f.name, num(f.price, 3), QStringLiteral("A"), num(f.km * u.kmScale),
                     num(f.hp * u.hpScale), num(f.meKcal * u.meScale), num(f.feMg * u.feScale)});
    QDir().mkpath(folder);
    writeRows(QDir(folder).filePath(kReferenceMatrixFile), fields, rows);
    writeRows(QDir(folder).filePath(kNutrientDefinitionFile), nutrientDefinitionStructure(),
              {{1, "Demir", "DEMIR", u.fe, 4}, {2, "Metabolik Enerji", "ME_KA", u.me, 4},
               {3, "Ham Protein", "HP", u.hp, 4}, {4, "Kuru Madde", "KM", u.km, 4}});
}

// The broiler problem written in one unit per row: the weight fixed at 1, energy at least 2800 kcal/kg,
// protein at least 21 %, and on request iron at least 70 mg/kg, energy per protein at least 135
// kcal per % and a dry-matter minimum; each in the unit and scale given.
struct Broiler
{
    QStringList feeds = {"ARPA", "MISIR", "SOYA KUSPESI", "BUGDAY"};
    QString meUnit = QStringLiteral("MCal/Kg");
    double meScale = 0.001;
    bool iron = false;
    QString feUnit = QStringLiteral("g/Kg");
    double feScale = 0.001;
    bool energyPerProtein = false;
    QString kmUnit = QStringLiteral("%");
    double kmScale = 1.0;
    Opt kmMin;
};

FeedProblem broiler(const Broiler &b)
{
    FeedProblem fp;
    QList<Feed> feeds;
    for (const QString &name : b.feeds) {
        for (const Feed &f : kFeeds) {
            if (f.name == name)
                feeds.append(f);
        }
    }
    for (const Feed &f : feeds)
        fp.ingredients.append(IngredientSpec{f.name, f.price, {}, {}, {}});
    fp.nutrients = {NutrientSpec{QStringLiteral("AĞIRLIK"), 1.0, {}, {}, QStringLiteral("Kg/Kg")},
                    NutrientSpec{QStringLiteral("KM"), {}, b.kmMin, {}, b.kmUnit},
                    NutrientSpec{QStringLiteral("ME_KA"), {}, 2800.0 * b.meScale, {}, b.meUnit},
                    NutrientSpec{QStringLiteral("HP"), {}, 21.0, {}, QStringLiteral("%")}};
    fp.content.resize(4);
    for (const Feed &f : feeds) {
        fp.content[0].push_back(1.0);
        fp.content[1].push_back(f.km * b.kmScale);
        fp.content[2].push_back(f.meKcal * b.meScale);
        fp.content[3].push_back(f.hp);
    }
    if (b.iron) {
        fp.nutrients.append(NutrientSpec{QStringLiteral("DEMIR"), {}, 70.0 * b.feScale, {}, b.feUnit});
        fp.content.emplace_back();
        for (const Feed &f : feeds)
            fp.content.back().push_back(f.feMg * b.feScale);
    }
    if (b.energyPerProtein)
        fp.ratios.append(RatioSpec{QStringLiteral("ME_KA"), QStringLiteral("HP"), {}, 135.0 * b.meScale, {}});
    return fp;
}

struct Optimum
{
    double cost = 0.0;
    QMap<QString, double> shares;
};

// GLPK's optimum of the problem (installed into the open problem for that, which is reset after).
Optimum glpkOptimumOf(const FeedProblem &fp)
{
    fp.install();
    const OracleResult o = glpkOracle();
    EXPECT_TRUE(o.optimum);
    Optimum out;
    out.cost = o.cost;
    if (!o.optimum) {
        openProblem().reset();
        return out;
    }
    for (std::size_t c = 0; c < o.columnOf.size(); ++c)
        out.shares.insert(openProblem().AYMLIST.at(o.columnOf[c]).at(YMNAME).trimmed(), o.x[c]);
    openProblem().reset();
    return out;
}

// The open problem solved by GLPK from its lists and by the program's solver: both give `want`.
void expectSolvesTo(const Optimum &want, const std::string &what)
{
    SCOPED_TRACE(what);
    const OracleResult o = glpkOracle();
    ASSERT_TRUE(o.optimum);
    EXPECT_NEAR(o.cost, want.cost, 1e-6);
    KY_OPTIMIZER s(nullptr, true);
    ASSERT_EQ(s.RESULT(), 1);
    ASSERT_EQ(s.outcome(), SolveOutcome::Optimum);
    EXPECT_NEAR(s.costSum(), want.cost, 1e-6);
    ASSERT_EQ(s.shares().size(), std::size_t(s.AYMADI().size()));
    for (std::size_t c = 0; c < s.shares().size(); ++c) {
        const QString name = s.AYMADI().at(qsizetype(c)).trimmed();
        EXPECT_NEAR(s.shares()[c], want.shares.value(name), 1e-6) << name.toStdString();
    }
}

// A message seam that also notes, at each question, how many ingredients the problem has and its
// active matrix: what the user had before answering.
class QuestionsWithState : public ScriptedMessages
{
public:
    MessageAnswer show(const MessageRequest &request) override
    {
        if (request.buttons() != MB_OK) {
            ingredientsAtQuestion.append(openProblem().AYMADLARI.size());
            matrixAtQuestion.append(openProblem().AAMAT);
        }
        return ScriptedMessages::show(request);
    }
    QList<qsizetype> ingredientsAtQuestion;
    QList<RowList> matrixAtQuestion;
};

qsizetype nutrientRow(const QString &name)
{
    return openProblem().ABMADLARI.indexOf(name);
}

qsizetype ingredientColumn(const QString &name)
{
    return openProblem().AYMADLARI.indexOf(name);
}

QString cellOf(const QString &nutrient, const QString &ingredient)
{
    const OpenProblem &p = openProblem();
    return p.AAMAT.value(nutrientRow(nutrient)).value(ingredientColumn(ingredient));
}

QString unitOf(const QString &nutrient)
{
    return openProblem().ABMLIST.value(nutrientRow(nutrient)).value(BMUNIT).trimmed();
}

class UnitRoads : public ::testing::Test
{
protected:
    void SetUp() override
    {
        openProblem().reset();
        appGlobals().LRMDENOKU = false;
        appGlobals().CVERIDIZIN = root.dir.path();
    }
    void TearDown() override
    {
        closeReferenceTables();
        openProblem().reset();
        appGlobals().LRMDENOKU = false;
    }

    QString path(const QString &name) const { return root.path(name); }

    // The ingredient dialog's addition: the reference matrix and the definitions' units through the
    // openers, then what the ingredient editor does with the new rows (stock flags).
    static bool addIngredients(const QList<quint32> &records)
    {
        if (!RMDATAFOPEN())
            return false;
        if (!BMDATAFOPEN()) {
            closeReferenceTables();
            return false;
        }
        const QHash<QString, QString> units = definitionUnits(*referenceTables().OBMDESCDBF);
        IngredientAddition addition(*referenceTables().ORMDBF, nullptr, units);
        const bool added = addition.AMAT_YMEKLE_KY(records);
        closeReferenceTables();
        OpenProblem &p = openProblem();
        while (p.AYMSTOK.size() < p.AYMLIST.size())
            p.AYMSTOK.append(true);
        return added;
    }

    // The nutrient dialog's addition of the named definitions.
    static bool addNutrients(const QStringList &abbreviations)
    {
        if (!BMDATAFOPEN())
            return false;
        QStringList names, units;
        DBSERVERR &defs = *referenceTables().OBMDESCDBF;
        for (defs.goTop(); !defs.eof(); defs.skip()) {
            names.append(defs.fieldGet(QStringLiteral("ABRRE")).toString().trimmed());
            units.append(defs.fieldGet(QStringLiteral("UNIT")).toString().trimmed());
        }
        if (!RMDATAFOPEN()) {
            closeReferenceTables();
            return false;
        }
        NutrientAddition addition(*referenceTables().ORMDBF, nullptr);
        addition.AABRRE = names;
        addition.ABIRIM = units;
        addition.GETRNOOFYM();
        QList<int> positions;
        for (const QString &a : abbreviations)
            positions.append(int(names.indexOf(a)) + 1);
        const bool added = addition.BESINMADDESIEKLE(positions);
        closeReferenceTables();
        return added;
    }

    // A new problem file, open and empty, as "Yeni..." leaves it.
    static void newProblem(const QString &file)
    {
        openProblem().reset();
        ASSERT_TRUE(DATAFILECREATE(nullptr, file));
        ASSERT_TRUE(DATAFOPEN(nullptr, file));
        openProblem().APARMLIST = {"K", "1000.00", "Krş", "Kg", QString(40, u' '), QString(40, u' '),
                                   QString(40, u' '), B11};
    }

    static void save()
    {
        openProblem().setAllDirty(true);
        QString why;
        ASSERT_TRUE(PROBDBFUPDATE(&why)) << why.toStdString();
    }

    // Opens the file as "Aç..." does, the option for contents from the reference as given.
    void reopen(const QString &file, bool fromReference = false)
    {
        openProblem().reset();
        appGlobals().LRMDENOKU = fromReference;
        ASSERT_TRUE(DOOPENFILE(host, file));
        ASSERT_EQ(openProblem().checkInvariants(), QStringList());
    }

    static void setLimit(const QString &nutrient, int column, double value)
    {
        openProblem().ABMLIST[nutrientRow(nutrient)][column] = num(value);
    }

    static void removeIngredient(const QString &name)
    {
        openProblem().deleteIngredient(int(ingredientColumn(name)) + 1);
    }

    RefDbRoot root;
    QuestionsWithState messages;
    ManualClock clock;
    QuietHost host;
};

} // namespace

// The story as a new user lived it: energy defined in kcal/kg, a broiler problem built from the
// reference and solved, saved, reopened (the load turns its energy into MCal/kg), wheat deleted and
// added back from the reference. The wheat's energy comes in as MCal/kg beside the others, and the
// problem solves to the same optimum as before.
TEST_F(UnitRoads, TheWheatAddedBackAfterReopeningComesInMcalPerKg)
{
    const Optimum want = glpkOptimumOf(broiler({}));
    writeReference(root.dir.path(), kKcal);
    const QString file = path("BROYLER.VKD");
    newProblem(file);
    ASSERT_TRUE(addNutrients({"ME_KA", "HP"}));
    ASSERT_TRUE(addIngredients({1, 2, 3, 4}));
    EXPECT_EQ(openProblem().ABMADLARI, (QStringList{"AĞIRLIK", "KM", "ME_KA", "HP"}));
    EXPECT_EQ(unitOf("ME_KA"), "kcal/kg");
    setLimit("ME_KA", BMLLIMIT, 2800.0);
    setLimit("HP", BMLLIMIT, 21.0);
    expectSolvesTo(want, "built from the reference, energy in kcal/kg");
    save();

    reopen(file);
    EXPECT_EQ(unitOf("ME_KA"), "MCal/Kg");
    EXPECT_EQ(openProblem().ABMLIST[nutrientRow("ME_KA")][BMLLIMIT], num(2.8));
    EXPECT_EQ(cellOf("ME_KA", "ARPA"), num(2.64));
    EXPECT_EQ(cellOf("ME_KA", "MISIR"), num(3.35));
    EXPECT_EQ(cellOf("ME_KA", "SOYA KUSPESI"), num(2.23));
    expectSolvesTo(want, "reopened");

    removeIngredient("BUGDAY");
    ASSERT_TRUE(addIngredients({kWheatRecord}));
    EXPECT_EQ(cellOf("ME_KA", "BUGDAY"), num(3.05));
    EXPECT_EQ(unitOf("ME_KA"), "MCal/Kg");
    EXPECT_EQ(messages.shown().size(), 0);
    expectSolvesTo(want, "wheat added back");

    // And it stays so through the next save and open.
    save();
    reopen(file);
    EXPECT_EQ(cellOf("ME_KA", "BUGDAY"), num(3.05));
    expectSolvesTo(want, "saved and reopened again");
}

// Contents of an added ingredient come in the unit of the problem's row, for both known pairs and
// either direction; a unit that is the same in other letters, or that one side leaves blank, takes
// the stored text.
TEST_F(UnitRoads, AnAddedIngredientTakesEachRowsUnit)
{
    struct Case
    {
        const char *what;
        QString rowUnit;
        double rowScale;   // of the problem's energy row, from kcal/kg
        RefUnits reference;
        QString wantEnergy, wantIron;
    };
    RefUnits blankEnergy = kKcal;
    blankEnergy.me = QString();
    RefUnits mcalOtherLetters = kMcal;
    mcalOtherLetters.me = QStringLiteral("mcal/KG");
    const QList<Case> cases = {
        {"kcal/kg into MCal/kg, mg/kg into g/kg", "MCal/Kg", 0.001, kKcal, num(3.05), num(0.04)},
        {"MCal/kg into kcal/kg", "kcal/kg", 1.0, kMcal, num(3050.0), num(0.04)},
        {"one unit in other letters", "MCal/Kg", 0.001, mcalOtherLetters, num(3.05), num(0.04)},
        {"the reference gives no unit", "kcal/kg", 1.0, blankEnergy, num(3050.0), num(0.04)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        Broiler b;
        b.meUnit = c.rowUnit;
        b.meScale = c.rowScale;
        b.iron = true;
        const Optimum want = glpkOptimumOf(broiler(b));
        writeReference(root.dir.path(), c.reference);
        b.feeds.removeAll(QStringLiteral("BUGDAY"));
        broiler(b).install();
        ASSERT_TRUE(addIngredients({kWheatRecord}));
        EXPECT_EQ(cellOf("ME_KA", "BUGDAY"), c.wantEnergy);
        EXPECT_EQ(cellOf("DEMIR", "BUGDAY"), c.wantIron);
        EXPECT_EQ(unitOf("ME_KA"), c.rowUnit);
        EXPECT_EQ(messages.shown().size(), 0);
        expectSolvesTo(want, c.what);
    }
}

// Two units that do not convert are shown before anything is added, naming the nutrient and both
// units; No adds nothing, Yes adds the contents as stored. The same holds for a nutrient given a
// reference column by the name matching during the addition.
TEST_F(UnitRoads, DifferingUnitsAreAskedBeforeAnIngredientIsAdded)
{
    RefUnits proteinPerKg = kKcal;
    proteinPerKg.hp = QStringLiteral("g/kg");
    proteinPerKg.hpScale = 10.0;
    writeReference(root.dir.path(), proteinPerKg);
    Broiler b;
    b.feeds = {"ARPA", "MISIR", "SOYA KUSPESI"};
    broiler(b).install();
    const RowList matrixBefore = openProblem().AAMAT;
    const RowList ingredientsBefore = openProblem().AYMLIST;

    messages.answer(MessageAnswer::No);
    EXPECT_FALSE(addIngredients({kWheatRecord}));
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown().at(0).text, differingUnitsText("HP", "%", "g/kg", UnitRoad::IngredientAddition));
    EXPECT_EQ(messages.ingredientsAtQuestion, (QList<qsizetype>{3}));
    EXPECT_EQ(openProblem().AAMAT, matrixBefore);
    EXPECT_EQ(openProblem().AYMLIST, ingredientsBefore);

    messages.answer(MessageAnswer::Yes);
    EXPECT_TRUE(addIngredients({kWheatRecord}));
    EXPECT_EQ(messages.ingredientsAtQuestion, (QList<qsizetype>{3, 3}));
    EXPECT_EQ(cellOf("HP", "BUGDAY"), num(120.0)); // as stored: the user said so
    EXPECT_EQ(cellOf("ME_KA", "BUGDAY"), num(3.05));
    EXPECT_EQ(unitOf("HP"), "%");

    // A nutrient without a column of its own, matched to ME_KA during the addition: converted into
    // its row's unit, or asked about before the match changes anything.
    messages.clear();
    ScriptedMatcher matcher;
    const auto energyNamed = [&](const QString &unit) {
        broiler(b).install();
        OpenProblem &p = openProblem();
        const qsizetype j = nutrientRow("ME_KA");
        p.ABMADLARI[j] = QStringLiteral("ENERJI");
        p.ABMLIST[j][BMNAME] = QStringLiteral("ENERJI").leftJustified(kBmNameWidth);
        p.ABMLIST[j][BMUNIT] = unit.leftJustified(kCellWidth);
        matcher.script.enqueue({NameMatchAnswer::Chosen, QStringLiteral("ME_KA")});
    };
    energyNamed(QStringLiteral("MCal/Kg"));
    messages.answer(MessageAnswer::Yes); // protein, as above
    EXPECT_TRUE(addIngredients({kWheatRecord}));
    EXPECT_EQ(cellOf("ME_KA", "BUGDAY"), num(3.05));
    EXPECT_EQ(messages.shown().size(), 1); // only the protein's question

    messages.clear();
    energyNamed(QStringLiteral("Mcal/lb"));
    const RowList nutrients = openProblem().ABMLIST;
    messages.answer(MessageAnswer::Yes); // protein
    messages.answer(MessageAnswer::No);  // energy
    EXPECT_FALSE(addIngredients({kWheatRecord}));
    ASSERT_EQ(messages.shown().size(), 2);
    EXPECT_EQ(messages.shown().at(1).text,
              differingUnitsText("ME_KA", "Mcal/lb", "kcal/kg", UnitRoad::IngredientAddition));
    // Neither the match nor the ingredient stays.
    EXPECT_EQ(openProblem().ABMLIST, nutrients);
    EXPECT_EQ(openProblem().AYMADLARI.size(), 3);
    EXPECT_EQ(openProblem().checkInvariants(), QStringList());
    messages.clear();

    // A value that would not fit its cell in the row's unit is told, and nothing is added.
    writeReference(root.dir.path(), kMcal);
    {
        DbfTable rm(root.path(kReferenceMatrixFile), false, false);
        ASSERT_TRUE(rm.goTo(kWheatRecord));
        ASSERT_TRUE(rm.fieldPut(QStringLiteral("ME_KA"), QStringLiteral("123456789.0"))); // twelve digits in kcal/kg
        ASSERT_TRUE(rm.commit());
    }
    b.meUnit = QStringLiteral("kcal/kg");
    b.meScale = 1.0;
    broiler(b).install();
    const RowList before = openProblem().AAMAT;
    EXPECT_FALSE(addIngredients({kWheatRecord}));
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown().at(0).caption, "Hata...");
    EXPECT_EQ(messages.shown().at(0).text,
              unconvertibleValueText("ME_KA", "BUGDAY", "123456789.0", "MCal/Kg", "kcal/kg"));
    EXPECT_EQ(openProblem().AAMAT, before);
    EXPECT_EQ(openProblem().AYMADLARI.size(), 3);
}

// Nutrients added from the reference come in their definitions' units, the dry matter laid as a base
// row too: its contents are the reference's, so its unit is the definition's ("%" only without one).
TEST_F(UnitRoads, NutrientsAddedFromTheReferenceComeInTheirDefinitionsUnits)
{
    RefUnits dryMatterPerKg = kKcal;
    dryMatterPerKg.km = QStringLiteral("g/kg");
    dryMatterPerKg.kmScale = 10.0;
    writeReference(root.dir.path(), dryMatterPerKg);
    Broiler b;
    b.meUnit = QStringLiteral("kcal/kg");
    b.meScale = 1.0;
    b.kmUnit = QStringLiteral("g/kg");
    b.kmScale = 10.0;
    b.kmMin = 885.0;
    const Optimum want = glpkOptimumOf(broiler(b));

    // A problem with the four feeds and no nutrient yet.
    newProblem(path("BESIN.VKD"));
    ASSERT_TRUE(addIngredients({1, 2, 3, 4}));
    OpenProblem &p = openProblem();
    // The ingredient addition lays the same base rows: the dry matter in its definition's unit.
    EXPECT_EQ(p.ABMADLARI, (QStringList{"AĞIRLIK", "KM"}));
    EXPECT_EQ(unitOf("KM"), "g/kg");
    EXPECT_EQ(cellOf("KM", "ARPA"), num(890.0));
    p.ABMADLARI.clear();
    p.ABMBIRIMLERI.clear();
    p.ABMLIST.clear();
    p.AAMAT.clear();
    ASSERT_TRUE(addNutrients({"ME_KA", "HP"}));
    EXPECT_EQ(p.ABMADLARI, (QStringList{"AĞIRLIK", "KM", "ME_KA", "HP"}));
    EXPECT_EQ(unitOf("KM"), "g/kg");
    EXPECT_EQ(p.ABMBIRIMLERI.value(nutrientRow("KM")), "g/kg");
    EXPECT_EQ(unitOf("ME_KA"), "kcal/kg");
    EXPECT_EQ(cellOf("KM", "ARPA"), num(890.0));
    EXPECT_EQ(cellOf("ME_KA", "ARPA"), num(2640.0));
    setLimit("KM", BMLLIMIT, 885.0);
    setLimit("ME_KA", BMLLIMIT, 2800.0);
    setLimit("HP", BMLLIMIT, 21.0);
    expectSolvesTo(want, "nutrients from the reference");

    // Without a unit in the definitions the dry matter is laid in per cent.
    RefUnits noDryMatterUnit = kKcal;
    noDryMatterUnit.km = QString();
    writeReference(root.dir.path(), noDryMatterUnit);
    p.ABMADLARI.clear();
    p.ABMBIRIMLERI.clear();
    p.ABMLIST.clear();
    p.AAMAT.clear();
    ASSERT_TRUE(addNutrients({"HP"}));
    EXPECT_EQ(unitOf("KM"), "%");
}

// The data-source option reads the contents from the reference matrix at every open: they come in
// the unit of the problem's row, also when the file still holds the older unit that the load
// converts.
TEST_F(UnitRoads, ContentsReadFromTheReferenceOnOpenTakeTheRowsUnit)
{
    struct Case
    {
        const char *what;
        QString storedUnit;
        double storedScale;
    };
    const QList<Case> cases = {
        {"stored in MCal/kg", QStringLiteral("MCal/Kg"), 0.001},
        {"stored in kcal/kg, converted by the load", QStringLiteral("kcal/kg"), 1.0},
    };
    const Optimum want = glpkOptimumOf(broiler({}));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        writeReference(root.dir.path(), kKcal);
        Broiler stored;
        stored.meUnit = c.storedUnit;
        stored.meScale = c.storedScale;
        const QString file = path("KAYNAK.VKD");
        QFile::remove(file);
        broiler(stored).saveTo(file);
        for (int open = 1; open <= 2; ++open) {
            reopen(file, true);
            EXPECT_EQ(unitOf("ME_KA"), "MCal/Kg");
            EXPECT_EQ(openProblem().ABMLIST[nutrientRow("ME_KA")][BMLLIMIT], num(2.8));
            EXPECT_EQ(cellOf("ME_KA", "BUGDAY"), num(3.05));
            EXPECT_EQ(cellOf("ME_KA", "SOYA KUSPESI"), num(2.23));
            EXPECT_EQ(messages.shown().size(), 0);
            expectSolvesTo(want, "open " + std::to_string(open));
            save();
        }
    }
}

// With the option on, a unit that does not convert is asked about before any reference content goes
// in: No keeps the row's contents and unit from the file, Yes takes the reference's.
TEST_F(UnitRoads, DifferingUnitsOnOpenAreAskedAndNoKeepsTheFile)
{
    RefUnits proteinPerKg = kKcal;
    proteinPerKg.hp = QStringLiteral("g/kg");
    proteinPerKg.hpScale = 10.0;
    writeReference(root.dir.path(), proteinPerKg);
    const QString file = path("SOR.VKD");
    broiler({}).saveTo(file);
    const Optimum want = glpkOptimumOf(broiler({}));
    const FeedProblem fp = broiler({});
    fp.install();
    const RowList storedMatrix = openProblem().AAMAT;
    openProblem().reset();

    messages.answer(MessageAnswer::No);
    reopen(file, true);
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown().at(0).text, differingUnitsText("HP", "%", "g/kg", UnitRoad::ReferenceLoad));
    ASSERT_EQ(messages.matrixAtQuestion.size(), 1);
    // At the question no reference content had gone in yet.
    EXPECT_EQ(messages.matrixAtQuestion.at(0).at(nutrientRow("ME_KA")), storedMatrix.at(2));
    EXPECT_EQ(openProblem().AAMAT.at(nutrientRow("HP")), storedMatrix.at(3));
    EXPECT_EQ(unitOf("HP"), "%");
    EXPECT_EQ(cellOf("ME_KA", "BUGDAY"), num(3.05));
    expectSolvesTo(want, "protein kept from the file");

    messages.clear();
    messages.answer(MessageAnswer::Yes);
    reopen(file, true);
    EXPECT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(unitOf("HP"), "g/kg");
    EXPECT_EQ(cellOf("HP", "BUGDAY"), num(120.0));
}

// A restore brings back a reference whose energy is in kcal/kg while the open problem's is in MCal/kg:
// the wheat added afterwards, and the contents read on the next open, come in MCal/kg.
TEST_F(UnitRoads, AfterARestoreTheRestoredUnitsAreConverted)
{
    const Optimum want = glpkOptimumOf(broiler({}));
    writeReference(root.dir.path(), kMcal);
    const QString backup = path("Yedek");
    writeReference(backup, kKcal);
    Broiler withoutWheat;
    withoutWheat.feeds = {"ARPA", "MISIR", "SOYA KUSPESI"};
    const QString file = path("GERI.VKD");
    broiler(withoutWheat).saveTo(file);
    reopen(file);

    messages.answer(MessageAnswer::Yes); // the restore asks before it replaces the tables
    ASSERT_TRUE(restoreReferenceDatabase(nullptr, backup));
    messages.clear();
    ASSERT_TRUE(addIngredients({kWheatRecord}));
    EXPECT_EQ(cellOf("ME_KA", "BUGDAY"), num(3.05));
    expectSolvesTo(want, "wheat added after the restore");
    save();

    reopen(file, true);
    EXPECT_EQ(cellOf("ME_KA", "ARPA"), num(2.64));
    EXPECT_EQ(unitOf("ME_KA"), "MCal/Kg");
    expectSolvesTo(want, "opened with contents from the restored reference");
}

// The older edition's matrix carries its units in its first record ("Kcal/Kg", "mg/kg"); after the
// conversion, energy and iron come into a problem kept in MCal/kg and g/kg converted.
TEST_F(UnitRoads, AfterTheOlderEditionsConversionItsUnitsAreConverted)
{
    Broiler b;
    b.iron = true;
    const Optimum want = glpkOptimumOf(broiler(b));
    writeReference(root.dir.path(), kMcal); // the live pair the conversion replaces
    const QString older = QDir(path("Eski")).filePath("MATNRC.DBF");
    QDir().mkpath(path("Eski"));
    QList<QVariantList> rows = {{0, "BIRIM", "", "", "%", "%", "Kcal/Kg", "mg/kg"}};
    int kod = 0;
    for (const Feed &f : kFeeds)
        rows.append({++kod, f.name, num(f.price, 3), "A", num(f.km), num(f.hp), num(f.meKcal), num(f.feMg)});
    writeRows(older,
              {{"KOD", u'N', 5, 0}, {"YM_ADI", u'C', 25, 0}, {"FIATI", u'C', 11, 0}, {"GRUBU", u'C', 11, 0},
               {"KMO", u'C', 11, 0}, {"HP", u'C', 11, 0}, {"ME_KA", u'C', 11, 0}, {"DEMIR", u'C', 11, 0}},
              rows);
    ASSERT_TRUE(VKAR25_DONUS(nullptr, older));

    Broiler withoutWheat = b;
    withoutWheat.feeds = {"ARPA", "MISIR", "SOYA KUSPESI"};
    broiler(withoutWheat).install();
    ASSERT_TRUE(addIngredients({kWheatRecord}));
    EXPECT_EQ(cellOf("ME_KA", "BUGDAY"), num(3.05));
    EXPECT_EQ(cellOf("DEMIR", "BUGDAY"), num(0.04));
    EXPECT_EQ(cellOf("KM", "BUGDAY"), num(88.0));
    expectSolvesTo(want, "wheat from the converted reference");
}

// The load converts the older units of energy and iron, limits and contents together, and a ratio
// on a converted nutrient with them; the file then saved holds the new units and is not converted
// again.
TEST_F(UnitRoads, TheLoadConvertsLimitsContentsAndRatiosTogether)
{
    Broiler consistent;
    consistent.iron = true;
    consistent.energyPerProtein = true;
    const Optimum want = glpkOptimumOf(broiler(consistent));
    Broiler older = consistent;
    older.meUnit = QStringLiteral("KCAL/KG");
    older.meScale = 1.0;
    older.feUnit = QStringLiteral("mg/kg");
    older.feScale = 1.0;
    const QString file = path("ESKI.VKD");
    broiler(older).saveTo(file);

    for (int open = 1; open <= 2; ++open) {
        SCOPED_TRACE(open);
        reopen(file);
        const OpenProblem &p = openProblem();
        EXPECT_EQ(unitOf("ME_KA"), "MCal/Kg");
        EXPECT_EQ(unitOf("DEMIR"), "g/Kg");
        EXPECT_EQ(p.ABMLIST[nutrientRow("DEMIR")][BMLLIMIT], num(0.07));
        EXPECT_EQ(cellOf("DEMIR", "SOYA KUSPESI"), num(0.15));
        ASSERT_EQ(p.ABMOLIST.size(), 1);
        EXPECT_EQ(p.ABMOLIST[0][BMOLLIMIT], num(0.135));
        EXPECT_EQ(p.ADONUSENBM, open == 1 ? (QStringList{"ME_KA", "DEMIR"}) : QStringList());
        EXPECT_EQ(p.LBMODEG, open == 1);
        expectSolvesTo(want, "loaded");
        save();
    }

    // A ratio whose denominator is converted is multiplied, one over two converted nutrients kept.
    Broiler twoWays = older;
    FeedProblem fp = broiler(twoWays);
    fp.ratios = {RatioSpec{"HP", "ME_KA", {}, {}, 0.0075}, RatioSpec{"ME_KA", "DEMIR", 40.0, {}, {}}};
    QFile::remove(file);
    fp.saveTo(file);
    reopen(file);
    EXPECT_EQ(openProblem().ABMOLIST[0][BMOULIMIT], num(7.5));
    EXPECT_EQ(openProblem().ABMOLIST[1][BMOFIX], num(40.0));
}
