#pragma once

#include "solver/ky_optimizer.h"
#include "solver/progress_sink.h"
#include "solver/simplex_tableau.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace vexo::test {

using Opt = std::optional<double>;

struct IngredientSpec
{
    QString name;
    Opt price;
    Opt fix, min, max; // per cent
    bool stock = true;
};

struct NutrientSpec
{
    QString name;
    Opt fix, min, max;
    QString unit = QStringLiteral("%");
};

struct RatioSpec
{
    QString numerator, denominator;
    Opt fix, min, max;
};

struct GroupSpec
{
    QString name;
    Opt fix, min, max; // per cent
};

// A feed problem written into the open problem's lists the way the loader leaves them.
struct FeedProblem
{
    QList<IngredientSpec> ingredients;
    QList<NutrientSpec> nutrients;
    std::vector<std::vector<double>> content; // [nutrient][ingredient]
    QList<RatioSpec> ratios;
    QList<GroupSpec> groups;
    std::vector<std::vector<double>> membership; // [group][ingredient], 1 or 0

    void install() const;
    // A new problem file at the path holding the problem as a whole save writes it; the open
    // problem is reset afterwards (support_problem_files.cpp, not in the benchmark).
    void saveTo(const QString &path) const;
};

// A number text of the problem's lists, or 11 blanks.
QString cell(const Opt &v, int decimals);

// The largest amount by which the formula x (fractions, one per solver column; columnOf gives each
// column's row of the ingredient list) breaks a limit of the open problem's lists: shares (at or
// above 0 too), nutrients, ratios (as the programme states them, numerator less ratio times
// denominator) and groups. 0 when it meets them all.
double limitBreak(const std::vector<double> &x, const std::vector<int> &columnOf);

// A tableau from rows of entries, with the given right-hand sides, basis and costs.
SimplexTableau tableauOf(const std::vector<std::vector<double>> &rows, const std::vector<double> &rhs,
                         const std::vector<int> &basis, const std::vector<double> &cost);

// The seeded random feed problems that the oracle test and the benchmark share.
struct RandomShape
{
    int ingredients = 10;
    int nutrients = 10;
    bool extras = true; // ratios, groups, fixed shares, stock, unpriced, negative limits
};
FeedProblem randomProblem(unsigned seed, const RandomShape &shape);
// The same, with every nutrient row's contents spread from 0.001 to 10,000 (a premix or a pure
// amino acid beside grains, energy in kcal beside trace minerals).
FeedProblem mixedScaleProblem(unsigned seed, const RandomShape &shape);

// Four grains without share limits (ARPA, MISIR, SOYA KÜSPESİ 44, BUGDAY), the weight fixed at 1,
// protein at least 12 and crude fat at most 6, KM without a limit. The optimum (10.361) leaves
// BUGDAY out at level 0 of the final tableau; it would enter below 10.361.
FeedProblem fourGrainProblem();

// Three groups over MISIR 0.30, SOYA 0.90, ARPA 0.25 (ARPA at most 30 %, HP at least 18, HP/AĞIRLIK
// at least 0.1): TAHIL at most 65 % (MISIR, ARPA), PROTEIN at least 70 % (SOYA, ARPA), KARMA at
// least 75 % (MISIR, SOYA). Without PROTEIN the optimum costs 0.4975 (MISIR 40 %, SOYA 35 %, ARPA
// 25 %).
FeedProblem threeGroupProblem();

// A progress dialog double: counts, and presses "Durdur" when told.
class FakeProgress : public ProgressSink
{
public:
    struct Log
    {
        int opened = 0, counted = 0, closed = 0;
        int stopAfterCounts = -1; // press the stop button once this many counts were shown
    };
    explicit FakeProgress(Log *log) : m_log(log) {}
    void open() override { ++m_log->opened; }
    bool LDURDUR() const override { return m_log->stopAfterCounts >= 0 && m_log->counted >= m_log->stopAfterCounts; }
    void COUNTER() override { ++m_log->counted; }
    void close() override { ++m_log->closed; }

private:
    Log *m_log;
};

// Installs FakeProgress for its lifetime.
class ProgressScope
{
public:
    ProgressScope();
    ~ProgressScope();
    FakeProgress::Log log;
};

} // namespace vexo::test
