// Seeded random feed problems solved by the solver and by GLPK: the same verdict, the same cost, every
// limit met by the solver's formula, the same shadow prices and reduced costs of the left-out
// ingredients where GLPK's basis is not degenerate, and every entry price the least worth GLPK finds
// over the optimal face (never below the lowest entry price the cost of forcing a small share gives).

#include "glpk_oracle.h"
#include "solver_fixture.h"

#include "problem/number_text.h"
#include "problem/open_problem.h"
#include "scripted_messages.h"

#include <gtest/gtest.h>

#include <QHash>

#include <algorithm>
#include <cmath>

using namespace vexo;
using namespace vexo::test;

namespace {

constexpr double kLimitTolerance = 1e-7;

struct Tally
{
    int optimum = 0, infeasible = 0, dualsCompared = 0;
    int entryCompared = 0; // reduced costs compared with GLPK's unique dual
    int entryExact = 0;    // entry prices compared with GLPK's least worth over the optimal face
    int entryFloors = 0;   // entry prices held against GLPK's lowest entry price
    int basisAbove = 0;    // entry prices the final basis alone would have put above the least worth
};

// Checks that the formula x (fractions, one per solver column) meets every limit of the open problem.
void expectLimitsMet(const std::vector<double> &x, const std::vector<int> &columnOf, unsigned seed)
{
    EXPECT_LE(limitBreak(x, columnOf), kLimitTolerance) << "seed " << seed;
}

void compareDuals(const KY_OPTIMIZER &s, const OracleResult &o, unsigned seed, Tally &tally)
{
    const OpenProblem &p = openProblem();
    // Our shadow prices summed per name within each section (a split limit has two rows).
    const QStringList &names = s.ASATIRADI();
    const auto &sp = s.shadowPrices();
    const int nb = int(s.NBMSAYISI());
    const int ratioEnd = nb + int(s.ratioRowCount());
    // The group rows follow the ingredient-limit rows, counted here from the problem's lists: each
    // column's ingredient has a fixed-share row, or a minimum row (0 when none is given) and a
    // maximum row when one is given. A problem may name groups and hold no membership rows, and
    // then has no group row.
    int ingredientRows = 0;
    for (int n : o.columnOf) {
        const Row &r = p.AYMLIST[n];
        ingredientRows += isBlank(r[YMFIX]) ? 1 + int(!isBlank(r[YMULIMIT])) : 1;
    }
    const int groupFirst = ratioEnd + ingredientRows;
    for (int r = ratioEnd; r < names.size(); ++r) {
        bool groupName = false;
        for (const Row &g : p.AYMGLIST)
            groupName = groupName || (!isBlank(g[YMGNAME]) && g[YMGNAME].trimmed() == names[r].trimmed());
        EXPECT_EQ(groupName, r >= groupFirst) << "seed " << seed << " row " << r << " " << names[r].toStdString();
    }
    QHash<QString, double> nutrient, ratio, group;
    QHash<QString, int> ratioCount;
    for (int r = 0; r < names.size(); ++r) {
        const double v = sp[std::size_t(r)].value_or(0.0);
        if (r < nb)
            nutrient[names[r]] += v;
        else if (r < ratioEnd)
            ratio[names[r]] += v;
        else if (r >= groupFirst)
            group[names[r]] += v;
    }
    for (const Row &r : p.ABMOLIST)
        ++ratioCount[KY_OPTIMIZER::GETNTRUNCATED(r[BMONAME1].trimmed(), r[BMONAME2].trimmed())];
    for (const OracleRow &row : o.rows) {
        double ours = 0.0;
        if (row.kind == OracleRow::Nutrient) {
            ours = nutrient.value(p.ABMADLARI[row.index]);
        } else if (row.kind == OracleRow::Ratio) {
            const Row &r = p.ABMOLIST[row.index];
            const QString name = KY_OPTIMIZER::GETNTRUNCATED(r[BMONAME1].trimmed(), r[BMONAME2].trimmed());
            if (ratioCount.value(name) != 1)
                continue;
            ours = ratio.value(name);
        } else {
            ours = group.value(p.AYMGLIST[row.index][YMGNAME].trimmed());
        }
        EXPECT_NEAR(ours, row.dual, 1e-6 * (1.0 + std::fabs(row.dual)))
            << "seed " << seed << " row kind " << row.kind << " index " << row.index;
        ++tally.dualsCompared;
    }
}

// Every ingredient the solver leaves out (share 0): its reduced cost is GLPK's where GLPK's dual is
// unique; its entry price is the least it is worth over GLPK's optimal face of the dual, and never
// below the lowest one found without duals (from the cost of forcing a small share in); and the
// list's text says that number.
void compareEntryPrices(const KY_OPTIMIZER &s, const OracleResult &o, const std::string &what, Tally &tally)
{
    std::vector<int> leftOut;
    for (std::size_t c = 0; c < s.shares().size(); ++c) {
        if (s.shares()[c] == 0.0)
            leftOut.push_back(int(c));
    }
    const std::vector<std::optional<double>> floors = glpkEntryFloors(leftOut);
    const std::vector<std::optional<double>> exact = glpkEntryThresholds(leftOut);
    ASSERT_EQ(s.reducedCosts().size(), s.shares().size()) << what;
    ASSERT_EQ(s.entryPrices().size(), s.shares().size()) << what;
    for (std::size_t k = 0; k < leftOut.size(); ++k) {
        const auto c = std::size_t(leftOut[k]);
        const double price = s.AMALIYET()[c];
        const double reduced = s.reducedCosts()[c];
        const double entry = s.entryPrices()[c];
        const std::string col = what + " column " + std::to_string(c);
        if (o.nonDegenerate) {
            EXPECT_NEAR(reduced, -o.reducedCost[c], 1e-5 * (1.0 + std::fabs(price))) << col;
            ++tally.entryCompared;
        }
        ASSERT_TRUE(exact[k]) << col;
        if (std::isinf(*exact[k])) {
            EXPECT_EQ(entry, *exact[k]) << col;
        } else {
            // As the reduced costs: the shadow prices are sums of products rounded to 8 decimals.
            EXPECT_NEAR(entry, *exact[k], 1e-5 * (1.0 + std::fabs(price))) << col;
            if (price - std::fabs(reduced) > *exact[k] + 1e-3 * (1.0 + std::fabs(*exact[k])))
                ++tally.basisAbove;
        }
        ++tally.entryExact;
        if (floors[k]) {
            EXPECT_GE(entry, *floors[k] - 1e-4 * (1.0 + std::fabs(*floors[k]))) << col;
            ++tally.entryFloors;
        }
        const QString text = s.AAUTOYM_[qsizetype(c)][1];
        if (entry >= 0.0005) {
            EXPECT_NEAR(Val(text), entry, 0.00051) << col << " " << text.toStdString();
        } else if (entry <= -0.0005) {
            EXPECT_EQ(text, QStringLiteral("    < 0.000")) << col;
        }
    }
    if (!o.nonDegenerate)
        return;
    // An ingredient's own limits: GLPK's dual of the share's bound on the limit the share sits on
    // (the first of them), 0 on the others.
    const std::size_t first = s.NBMSAYISI() + s.ratioRowCount();
    std::vector<char> sitting(s.shares().size(), 0);
    for (std::size_t r = first; r < first + s.ingredientRowCount(); ++r) {
        const qsizetype c = s.AYMADI().indexOf(s.ASATIRADI()[qsizetype(r)]);
        ASSERT_GE(c, 0) << what;
        const Limit limit = s.ACTSINVALUE(unsigned(r + 1));
        ASSERT_TRUE(limit && s.shadowPrices()[r]) << what;
        const auto j = std::size_t(c);
        const bool sits = !sitting[j] && std::fabs(s.shares()[j] - *limit) < 1e-9;
        sitting[j] = sitting[j] || sits;
        const double want = sits ? o.reducedCost[j] : 0.0;
        EXPECT_NEAR(*s.shadowPrices()[r], want, 1e-5 * (1.0 + std::fabs(s.AMALIYET()[j])))
            << what << " ingredient row " << r;
        ++tally.dualsCompared;
    }
}

void runSeed(unsigned seed, const RandomShape &shape, Tally &tally)
{
    randomProblem(seed, shape).install();
    ScriptedMessages messages;
    const OracleResult o = glpkOracle();
    KY_OPTIMIZER s(nullptr, true);
    ASSERT_EQ(s.RESULT(), 1) << "seed " << seed;
    EXPECT_TRUE(messages.shown().isEmpty()) << "seed " << seed;
    ASSERT_EQ(s.LOPTI_, o.optimum) << "seed " << seed << " outcome " << int(s.outcome());
    if (!o.optimum) {
        ++tally.infeasible;
        EXPECT_EQ(s.outcome(), SolveOutcome::Infeasible) << "seed " << seed;
        return;
    }
    ++tally.optimum;
    EXPECT_EQ(s.outcome(), SolveOutcome::Optimum);
    EXPECT_NEAR(s.costSum(), o.cost, 1e-6 * std::max(1.0, std::fabs(o.cost))) << "seed " << seed;
    ASSERT_EQ(s.shares().size(), o.columnOf.size()) << "seed " << seed;
    expectLimitsMet(s.shares(), o.columnOf, seed);
    if (o.nonDegenerate)
        compareDuals(s, o, seed, tally);
    compareEntryPrices(s, o, "seed " + std::to_string(seed), tally);
}

} // namespace

TEST(GlpkOracle, SeededFeedProblemsOfEverySize)
{
    Tally tally;
    for (unsigned seed = 1; seed <= 400; ++seed) {
        RandomShape shape;
        shape.ingredients = 2 + int((seed * 37) % 84);
        shape.nutrients = 1 + int((seed * 13) % 60);
        runSeed(seed, shape, tally);
        if (::testing::Test::HasFatalFailure())
            return;
    }
    std::printf("optimum %d, infeasible %d, shadow prices compared %d, reduced costs compared %d, entry prices "
                "compared %d (the basis's above them %d), held against the lowest %d\n",
                tally.optimum, tally.infeasible, tally.dualsCompared, tally.entryCompared, tally.entryExact,
                tally.basisAbove, tally.entryFloors);
    EXPECT_GT(tally.optimum, 200);
    EXPECT_GT(tally.infeasible, 10);
    EXPECT_GT(tally.dualsCompared, 50);
}

TEST(GlpkOracle, SmallPlainProblems)
{
    // Small problems without extras are mostly non-degenerate: the shadow prices are compared often.
    Tally tally;
    for (unsigned seed = 1000; seed < 1200; ++seed) {
        RandomShape shape{2 + int(seed % 8), 2 + int(seed % 6), false};
        runSeed(seed, shape, tally);
        if (::testing::Test::HasFatalFailure())
            return;
    }
    std::printf("optimum %d, infeasible %d, shadow prices compared %d, reduced costs compared %d, entry prices "
                "compared %d (the basis's above them %d), held against the lowest %d\n",
                tally.optimum, tally.infeasible, tally.dualsCompared, tally.entryCompared, tally.entryExact,
                tally.basisAbove, tally.entryFloors);
    EXPECT_GT(tally.optimum, 150);
    EXPECT_GT(tally.entryCompared, 100);
}

TEST(GlpkOracle, EntryPricesOfHandMadeProblems)
{
    // Each problem leaves an ingredient out at level 0 of the final tableau (basic, so the last
    // pricing step gives it no reduced cost): the worked example's ARPA, the four grains' BUGDAY, and a twin of an
    // ingredient in the formula, whose entry price is its own price.
    FeedProblem worked;
    worked.ingredients = {IngredientSpec{"ARPA", 10.0, {}, {}, {}}, IngredientSpec{"SOYA", 30.0, {}, {}, {}}};
    worked.nutrients = {NutrientSpec{"HP", {}, 20.0, {}}};
    worked.content = {{8.0, 44.0}};
    FeedProblem twins;
    twins.ingredients = {IngredientSpec{"A", 10.0, {}, {}, {}}, IngredientSpec{"B", 10.0, {}, {}, {}},
                         IngredientSpec{"C", 50.0, {}, {}, {}}};
    twins.nutrients = {NutrientSpec{"AĞIRLIK", 1.0, {}, {}}, NutrientSpec{"N", {}, 2.0, {}}};
    twins.content = {{1, 1, 1}, {3, 3, 1}};
    const struct
    {
        const char *name;
        FeedProblem problem;
        int column;           // the ingredient at level 0
        const char *entry;    // its entry price text
    } cases[] = {
        {"worked example", worked, 0, "      5.455"},
        {"four grains", fourGrainProblem(), 3, "     10.361"},
        {"twins", twins, 1, "     10.000"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        c.problem.install();
        ScriptedMessages messages;
        const OracleResult o = glpkOracle();
        ASSERT_TRUE(o.optimum);
        KY_OPTIMIZER::setObserver([&](const SimplexTableau &t, SolveEvent e) {
            if (e == SolveEvent::LoopEnded) {
                EXPECT_NE(std::find(t.basis.begin(), t.basis.end(), c.column), t.basis.end())
                    << "the case wants the ingredient basic at level 0";
            }
        });
        KY_OPTIMIZER s(nullptr, true);
        KY_OPTIMIZER::setObserver(nullptr);
        ASSERT_TRUE(s.LOPTI_);
        EXPECT_NEAR(s.costSum(), o.cost, 1e-6);
        ASSERT_EQ(s.shares()[std::size_t(c.column)], 0.0);
        EXPECT_EQ(s.AAUTOYM_[c.column][1], QString::fromUtf8(c.entry));
        EXPECT_EQ(openProblem().AYMLIST[c.column][YMAZFIAT], QString::fromUtf8(c.entry));
        Tally tally;
        ASSERT_TRUE(o.nonDegenerate);
        compareDuals(s, o, 0, tally);
        compareEntryPrices(s, o, c.name, tally);
        EXPECT_GE(tally.entryCompared, 1);
    }
    openProblem().reset();
}

// A group row whose name was emptied in the group window (the group names still hold its old name)
// takes no part: neither its limit nor its members reach the programme, and the next group keeps its
// own members. GLPK pairs each limit with the members of its name.
TEST(GlpkOracle, AGroupRowWithoutANameTakesNoPart)
{
    ScriptedMessages messages;
    threeGroupProblem().install();
    OpenProblem &p = openProblem();
    p.AYMGLIST[1][YMGNAME] = QString(kYmgNameWidth, u' ');
    const OracleResult o = glpkOracle();
    ASSERT_TRUE(o.optimum);
    EXPECT_NEAR(o.cost, 0.4975, 1e-9);

    KY_OPTIMIZER s(nullptr, true);
    ASSERT_EQ(s.RESULT(), 1);
    EXPECT_TRUE(s.LOPTI_);
    EXPECT_NEAR(s.costSum(), 0.4975, 1e-9);
    expectLimitsMet(s.shares(), o.columnOf, 0);
    EXPECT_EQ(s.ASATIRADI().mid(s.ASATIRADI().size() - 2), (QStringList{"TAHIL", "KARMA"}));
    // The results go to the named rows; the row without a name shows none.
    EXPECT_EQ(p.AYMGLIST[0][YMGACOZUM], QStringLiteral("     65.000"));
    EXPECT_EQ(p.AYMGLIST[1][YMGACOZUM], QString(11, u' '));
    EXPECT_EQ(p.AYMGLIST[1][YMGGFIAT], QString(11, u' '));
    EXPECT_EQ(p.AYMGLIST[2][YMGACOZUM], QStringLiteral("     75.000"));
    EXPECT_TRUE(messages.shown().isEmpty());
}

// The same on seeded problems: one group row's name emptied, the solver and GLPK agree.
TEST(GlpkOracle, SeededProblemsWithAnEmptiedGroupName)
{
    Tally tally;
    int emptied = 0;
    for (unsigned seed = 1; seed <= 600 && emptied < 40; ++seed) {
        FeedProblem fp = randomProblem(seed, RandomShape{8, 5, true});
        if (fp.groups.size() < 2)
            continue;
        fp.install();
        OpenProblem &p = openProblem();
        p.AYMGLIST[qsizetype(seed % unsigned(fp.groups.size()))][YMGNAME] = QString(kYmgNameWidth, u' ');
        ++emptied;
        ScriptedMessages messages;
        const OracleResult o = glpkOracle();
        KY_OPTIMIZER s(nullptr, true);
        ASSERT_EQ(s.RESULT(), 1) << "seed " << seed;
        ASSERT_EQ(s.LOPTI_, o.optimum) << "seed " << seed;
        if (!o.optimum)
            continue;
        ++tally.optimum;
        EXPECT_NEAR(s.costSum(), o.cost, 1e-6 * std::max(1.0, std::fabs(o.cost))) << "seed " << seed;
        expectLimitsMet(s.shares(), o.columnOf, seed);
        if (o.nonDegenerate)
            compareDuals(s, o, seed, tally);
    }
    EXPECT_GE(emptied, 40);
    EXPECT_GT(tally.optimum, 15);
}

namespace {

// The level of every nutrient of the open problem in the formula x (fractions per solver column);
// with `magnitudes`, the sum of the magnitudes of its terms instead.
std::vector<double> nutrientLevels(const std::vector<double> &x, const std::vector<int> &columnOf,
                                   bool magnitudes = false)
{
    const OpenProblem &p = openProblem();
    std::vector<int> position; // of each ingredient list row among the named rows
    int named = 0;
    for (const Row &r : p.AYMLIST)
        position.push_back(isBlank(r[YMNAME]) ? -1 : named++);
    std::vector<double> levels;
    for (const QStringList &cells : p.AAMAT) {
        double v = 0.0;
        for (std::size_t c = 0; c < columnOf.size() && c < x.size(); ++c)
        {
            const double term = Val(cells.value(position[std::size_t(columnOf[c])])) * x[c];
            v += magnitudes ? std::fabs(term) : term;
        }
        levels.push_back(v);
    }
    return levels;
}

struct MixedTally
{
    int solves = 0, optimum = 0, infeasible = 0, levelsCompared = 0, dualsCompared = 0, resolves = 0;
};

// One solve of the open problem beside GLPK: the same verdict as GLPK's exact solver, the cost within
// 1e-9 of its exact cost, the limits met, the nutrient levels of the only optimal formula and the
// shadow prices of the only optimal set of them within 1e-6. Answers the solver's verdict.
bool solveBesideGlpk(const std::string &what, MixedTally &tally, std::vector<double> *entryPrices = nullptr,
                     std::vector<double> *shares = nullptr)
{
    ScriptedMessages messages;
    const OracleResult o = glpkOracle(true);
    KY_OPTIMIZER s(nullptr, true);
    ++tally.solves;
    EXPECT_EQ(s.RESULT(), 1) << what;
    EXPECT_TRUE(messages.shown().isEmpty())
        << what << ": " << (messages.shown().isEmpty() ? std::string() : messages.shown().at(0).text.toStdString());
    EXPECT_EQ(s.LOPTI_, o.optimum) << what << " outcome " << int(s.outcome());
    if (!s.LOPTI_ || !o.optimum) {
        tally.infeasible += o.optimum ? 0 : 1;
        return false;
    }
    ++tally.optimum;
    EXPECT_NEAR(s.costSum(), o.cost, 1e-9 * std::max(1.0, std::fabs(o.cost))) << what;
    // Rows of kcal beside rows of trace minerals: a limit is met to 1e-7 of the largest level.
    double largest = 1.0;
    for (double v : nutrientLevels(s.shares(), o.columnOf))
        largest = std::max(largest, std::fabs(v));
    EXPECT_LE(limitBreak(s.shares(), o.columnOf), kLimitTolerance * largest) << what;
    if (o.uniqueFormula) {
        const std::vector<double> ours = nutrientLevels(s.shares(), o.columnOf);
        const std::vector<double> theirs = nutrientLevels(o.x, o.columnOf);
        // Relative to the size of the terms: a row of contents of both signs may sum to little.
        const std::vector<double> size = nutrientLevels(o.x, o.columnOf, true);
        for (std::size_t b = 0; b < ours.size(); ++b)
            EXPECT_NEAR(ours[b], theirs[b], 1e-6 * std::max(1.0, size[b])) << what << " nutrient " << b;
        ++tally.levelsCompared;
    }
    if (o.nonDegenerate) {
        Tally duals;
        compareDuals(s, o, 0, duals);
        tally.dualsCompared += duals.dualsCompared;
    }
    if (entryPrices)
        *entryPrices = s.entryPrices();
    if (shares)
        *shares = s.shares();
    return true;
}

} // namespace

// Feed problems whose nutrient rows hold contents from 0.001 to 10,000 side by side, with ratios and
// groups among them, up to 85 ingredients and 60 nutrients: each solved beside GLPK, and re-solved
// with a left-out ingredient's price just below and just above its shown entry price (below it the
// ingredient enters, above it the formula keeps it out).
TEST(GlpkOracle, MixedScaleProblemsAndTheirResolves)
{
    MixedTally tally;
    int entered = 0, keptOut = 0;
    for (unsigned seed = 1; seed <= 120; ++seed) {
        RandomShape shape;
        shape.ingredients = 4 + int((seed * 37) % 82);
        shape.nutrients = 2 + int((seed * 13) % 59);
        const FeedProblem fp = mixedScaleProblem(seed, shape);
        fp.install();
        const std::string what = "seed " + std::to_string(seed);
        std::vector<double> entry, shares;
        if (!solveBesideGlpk(what, tally, &entry, &shares))
            continue;
        const std::vector<int> columnOf = glpkOracle().columnOf;
        // Up to two left-out ingredients without limits of their own, whose entry price shows.
        int picked = 0;
        for (std::size_t c = 0; c < shares.size() && picked < 2; ++c) {
            const Row row = openProblem().AYMLIST[columnOf[c]];
            if (shares[c] != 0.0 || !std::isfinite(entry[c]) || entry[c] < 0.01 || !isBlank(row[YMFIX])
                || !isBlank(row[YMLLIMIT]) || !isBlank(row[YMULIMIT]))
                continue;
            ++picked;
            const double shown = Val(Str(entry[c], 11, 3));
            for (const double price : {shown - 0.001, shown + 0.001}) {
                fp.install();
                openProblem().AYMLIST[columnOf[c]][YMPRICE] = Str(price, 11, 3);
                const std::string again = what + " column " + std::to_string(c) + " at " + std::to_string(price);
                std::vector<double> unused, now;
                ++tally.resolves;
                if (!solveBesideGlpk(again, tally, &unused, &now))
                    continue;
                if (price < shown) {
                    EXPECT_GT(now[c], 0.0) << again;
                    ++entered;
                } else {
                    EXPECT_EQ(now[c], 0.0) << again;
                    ++keptOut;
                }
            }
        }
        if (::testing::Test::HasFailure())
            break;
    }
    std::printf("solves %d (re-solves %d): optimum %d, infeasible %d, levels compared %d, shadow prices compared %d, "
                "entered below %d, kept out above %d\n",
                tally.solves, tally.resolves, tally.optimum, tally.infeasible, tally.levelsCompared, tally.dualsCompared,
                entered, keptOut);
    EXPECT_GT(tally.optimum, 100);
    EXPECT_GT(tally.resolves, 100);
    EXPECT_GT(tally.levelsCompared, 50);
    openProblem().reset();
}
