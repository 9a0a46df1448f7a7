#pragma once

#include <optional>
#include <vector>

namespace vexo::test {

// The open problem's least-cost formula as GLPK finds it, built straight from the problem's lists
// (not from the solver's tableau): ingredient limits as column bounds, one row per nutrient, ratio
// and group limit. A group's members are the membership row of its name in the group names.
struct OracleRow
{
    enum Kind { Nutrient, Ratio, Group } kind;
    int index = 0;      // nutrient row, ratio list row or group list row (from 0)
    double dual = 0.0;  // for a two-sided ratio: the sum of its two rows
};

struct OracleResult
{
    bool optimum = false;
    bool nonDegenerate = false;
    // No column or row off the basis has a reduced cost within 1e-6 of 0: the formula is the only
    // optimal one, and no other comes within a solver's tolerance of its cost.
    bool uniqueFormula = false;
    // Some value of the formula (a share or a row's level) lies nearer a bound than 1e-6 and further
    // than 1e-9 (relative to 1 + the bound): whether it counts as on the bound depends on the
    // tolerance, and with it the optimal face.
    bool nearlyOnABound = false;
    double cost = 0.0;
    std::vector<int> columnOf;    // problem ingredient row of each column
    std::vector<double> x;        // shares, fractions
    std::vector<OracleRow> rows;  // rows with a limit
    std::vector<double> reducedCost; // per column: price less its worth at the row duals
    // Per nutrient row (from 0): GLPK's status of its row in the final basis (GLP_NL, GLP_NU, GLP_NS
    // on a bound, GLP_BS basic), 0 for a nutrient without a limit.
    std::vector<int> nutrientStatus;
};

struct GlpkLp;

// Builds the programme of the open problem. Keep it to time glp_simplex alone.
// With `exact`, glp_simplex's basis is taken on by glp_exact, which settles the verdict, the basis
// and its values in rational arithmetic.
GlpkLp *buildGlpkLp();
OracleResult solveGlpkLp(GlpkLp *lp, bool exact = false);
void freeGlpkLp(GlpkLp *lp);

OracleResult glpkOracle(bool exact = false);

// The price below which each listed column (positions in columnOf) would enter the formula, found
// without any dual: the cost of the rest of the formula with the column fixed at 0 and at a small
// share eps, (rest(0) - rest(eps)) / eps. That is the lowest entry price any optimal set of shadow
// prices gives, or a little below it when a break of the cost lies within eps. Nil where the share
// cannot grow (its bounds or the other limits keep it at 0) or GLPK finds no optimum.
std::vector<std::optional<double>> glpkEntryFloors(const std::vector<int> &columns, double eps = 1e-4);

// The exact entry price of each listed column (positions in columnOf): the least it is worth,
// Σ content × dual over the rows (its own bounds left out), over every optimal set of duals. GLPK
// finds an optimal formula; the optimal duals are then those that complement it (a row or a bound
// that the formula does not meet exactly has dual 0, a column strictly between its bounds is worth
// its price), and GLPK minimises the column's worth over them. -infinity where the worth has no
// least value (no price lets the column in); nil where GLPK finds no optimum.
std::vector<std::optional<double>> glpkEntryThresholds(const std::vector<int> &columns);

// The least cost of the open problem with one column's price changed, and that column's share;
// `dropOwnLimits` lets the share range from 0 up without a bound. Nil when GLPK finds no optimum.
struct RepricedSolve
{
    double cost = 0.0;
    double share = 0.0;
};
std::optional<RepricedSolve> glpkRepriced(int column, double price, bool dropOwnLimits);

} // namespace vexo::test
