#include "glpk_oracle.h"

#include "problem/number_text.h"
#include "problem/open_problem.h"

#include <glpk.h>

#include <cmath>
#include <limits>

namespace vexo::test {

struct GlpkLp
{
    glp_prob *prob = nullptr;
    bool contradictory = false; // a minimum above its maximum: nothing to ask GLPK
    std::vector<int> columnOf;
    struct RowRef { OracleRow::Kind kind; int index; };
    std::vector<RowRef> rowRefs;
};

namespace {

struct Bounds
{
    bool any = false;
    int type = GLP_FR;
    double lo = 0.0, hi = 0.0;
};

Bounds bounds(const QString &fix, const QString &min, const QString &max, double divisor, bool &contradictory)
{
    Bounds b;
    if (!isBlank(fix)) {
        b = {true, GLP_FX, Val(fix) / divisor, Val(fix) / divisor};
    } else if (!isBlank(min) && !isBlank(max)) {
        b = {true, GLP_DB, Val(min) / divisor, Val(max) / divisor};
        if (b.lo > b.hi)
            contradictory = true;
        if (b.lo == b.hi)
            b.type = GLP_FX;
    } else if (!isBlank(min)) {
        b = {true, GLP_LO, Val(min) / divisor, 0.0};
    } else if (!isBlank(max)) {
        b = {true, GLP_UP, 0.0, Val(max) / divisor};
    }
    return b;
}

void addRow(GlpkLp &lp, const std::vector<double> &coef, int type, double lo, double hi, OracleRow::Kind kind,
            int index)
{
    const int r = glp_add_rows(lp.prob, 1);
    glp_set_row_bnds(lp.prob, r, type, lo, hi);
    std::vector<int> ind(1);
    std::vector<double> val(1);
    for (std::size_t j = 0; j < coef.size(); ++j) {
        if (coef[j] != 0.0) {
            ind.push_back(int(j) + 1);
            val.push_back(coef[j]);
        }
    }
    glp_set_mat_row(lp.prob, r, int(ind.size()) - 1, ind.data(), val.data());
    lp.rowRefs.push_back({kind, index});
}

} // namespace

GlpkLp *buildGlpkLp()
{
    const OpenProblem &p = openProblem();
    auto *lp = new GlpkLp;
    lp->prob = glp_create_prob();
    glp_set_obj_dir(lp->prob, GLP_MIN);
    // Columns: named, priced, in-stock ingredients; the matrices index all named ingredients.
    std::vector<int> problemIndex; // position among the named rows
    int named = 0;
    for (int n = 0; n < p.AYMLIST.size(); ++n) {
        const Row &r = p.AYMLIST[n];
        if (isBlank(r[YMNAME]))
            continue;
        const int pos = named++;
        if (isBlank(r[YMPRICE]) || !p.AYMSTOK.value(n, true))
            continue;
        const int c = glp_add_cols(lp->prob, 1);
        glp_set_obj_coef(lp->prob, c, Val(r[YMPRICE]));
        Bounds b = bounds(r[YMFIX], r[YMLLIMIT], r[YMULIMIT], 100.0, lp->contradictory);
        if (!b.any || b.type == GLP_UP) {
            // Shares are never negative.
            b.lo = 0.0;
            b.type = b.any ? GLP_DB : GLP_LO;
            if (b.hi < 0)
                lp->contradictory = true;
        }
        if (b.type == GLP_LO || b.type == GLP_DB)
            b.lo = std::max(b.lo, 0.0);
        if (b.type == GLP_DB && b.lo > b.hi)
            lp->contradictory = true;
        if (b.type == GLP_DB && b.lo == b.hi)
            b.type = GLP_FX; // GLPK takes no double bound without room between (a maximum of 0)
        glp_set_col_bnds(lp->prob, c, lp->contradictory ? GLP_FR : b.type, b.lo, b.hi);
        lp->columnOf.push_back(n);
        problemIndex.push_back(pos);
    }
    const std::size_t cols = problemIndex.size();
    auto matrixRow = [&](const QStringList &cells) {
        std::vector<double> v(cols, 0.0);
        for (std::size_t c = 0; c < cols; ++c)
            v[c] = Val(cells.value(problemIndex[c]));
        return v;
    };
    std::vector<std::vector<double>> content;
    for (const QStringList &cells : p.AAMAT)
        content.push_back(matrixRow(cells));

    int nutrient = 0;
    for (const Row &r : p.ABMLIST) {
        if (isBlank(r[BMNAME]))
            continue;
        const int k = nutrient++;
        Bounds b = bounds(r[BMFIX], r[BMLLIMIT], r[BMULIMIT], 1.0, lp->contradictory);
        if (b.any && !lp->contradictory)
            addRow(*lp, content[std::size_t(k)], b.type, b.lo, b.hi, OracleRow::Nutrient, k);
    }
    for (int q = 0; q < p.ABMOLIST.size(); ++q) {
        const Row &r = p.ABMOLIST[q];
        const qsizetype a = p.ABMADLARI.indexOf(r[BMONAME1].trimmed());
        const qsizetype d = p.ABMADLARI.indexOf(r[BMONAME2].trimmed());
        if (isBlank(r[BMONAME1]) || isBlank(r[BMONAME2]) || a < 0 || d < 0)
            continue;
        auto ratioRow = [&](double ratio) {
            std::vector<double> v(cols);
            for (std::size_t c = 0; c < cols; ++c)
                v[c] = content[std::size_t(a)][c] - ratio * content[std::size_t(d)][c];
            return v;
        };
        if (!isBlank(r[BMOFIX])) {
            addRow(*lp, ratioRow(Val(r[BMOFIX])), GLP_FX, 0, 0, OracleRow::Ratio, q);
        } else {
            if (!isBlank(r[BMOLLIMIT]))
                addRow(*lp, ratioRow(Val(r[BMOLLIMIT])), GLP_LO, 0, 0, OracleRow::Ratio, q);
            if (!isBlank(r[BMOULIMIT]))
                addRow(*lp, ratioRow(Val(r[BMOULIMIT])), GLP_UP, 0, 0, OracleRow::Ratio, q);
        }
    }
    // A group's members are found by its name: the membership row at the place the group names
    // hold that name. A row without a name is no group.
    if (!p.AGMAT.isEmpty()) {
        for (int n = 0; n < p.AYMGLIST.size(); ++n) {
            const Row &r = p.AYMGLIST[n];
            const QString name = r[YMGNAME].trimmed();
            if (name.isEmpty())
                continue;
            const qsizetype members = p.AYMGADLARI.indexOf(name);
            Bounds b = bounds(r[YMGFIX], r[YMGLLIMIT], r[YMGULIMIT], 100.0, lp->contradictory);
            if (b.any && !lp->contradictory)
                addRow(*lp, matrixRow(members < 0 ? QStringList() : p.AGMAT.value(members)), b.type, b.lo, b.hi,
                       OracleRow::Group, n);
        }
    }
    return lp;
}

OracleResult solveGlpkLp(GlpkLp *lp, bool exact)
{
    OracleResult out;
    out.columnOf = lp->columnOf;
    if (lp->contradictory)
        return out;
    glp_smcp parm;
    glp_init_smcp(&parm);
    parm.msg_lev = GLP_MSG_OFF;
    parm.presolve = GLP_OFF;
    glp_std_basis(lp->prob);
    int rc = glp_simplex(lp->prob, &parm);
    if (exact)
        rc = glp_exact(lp->prob, &parm); // warm-started from the basis glp_simplex ended on
    if (rc != 0 || glp_get_status(lp->prob) != GLP_OPT)
        return out;
    out.optimum = true;
    out.cost = glp_get_obj_val(lp->prob);
    const int cols = glp_get_num_cols(lp->prob);
    const int rows = glp_get_num_rows(lp->prob);
    for (int c = 1; c <= cols; ++c) {
        out.x.push_back(glp_get_col_prim(lp->prob, c));
        out.reducedCost.push_back(glp_get_col_dual(lp->prob, c));
    }
    // A basis is degenerate when a basic variable sits on one of its bounds.
    bool degenerate = false;
    auto onBound = [](int type, double v, double lo, double hi) {
        const double tol = 1e-9 * (1.0 + std::fabs(v));
        if ((type == GLP_LO || type == GLP_DB || type == GLP_FX) && std::fabs(v - lo) < tol)
            return true;
        if ((type == GLP_UP || type == GLP_DB || type == GLP_FX) && std::fabs(v - hi) < tol)
            return true;
        return false;
    };
    for (int c = 1; c <= cols; ++c) {
        if (glp_get_col_stat(lp->prob, c) == GLP_BS
            && onBound(glp_get_col_type(lp->prob, c), glp_get_col_prim(lp->prob, c), glp_get_col_lb(lp->prob, c),
                       glp_get_col_ub(lp->prob, c)))
            degenerate = true;
    }
    for (int r = 1; r <= rows; ++r) {
        if (glp_get_row_stat(lp->prob, r) == GLP_BS
            && onBound(glp_get_row_type(lp->prob, r), glp_get_row_prim(lp->prob, r), glp_get_row_lb(lp->prob, r),
                       glp_get_row_ub(lp->prob, r)))
            degenerate = true;
    }
    out.nonDegenerate = !degenerate;
    bool tie = false;
    for (int c = 1; c <= cols; ++c) {
        if (glp_get_col_stat(lp->prob, c) != GLP_BS && glp_get_col_type(lp->prob, c) != GLP_FX)
            tie = tie || std::fabs(glp_get_col_dual(lp->prob, c)) < 1e-6;
    }
    for (int r = 1; r <= rows; ++r) {
        if (glp_get_row_stat(lp->prob, r) != GLP_BS && glp_get_row_type(lp->prob, r) != GLP_FX)
            tie = tie || std::fabs(glp_get_row_dual(lp->prob, r)) < 1e-6;
    }
    out.uniqueFormula = !tie;
    auto nearly = [](int type, double v, double lo, double hi) {
        const auto near = [&](double bound) {
            const double d = std::fabs(v - bound) / (1.0 + std::fabs(bound));
            return d > 1e-9 && d < 1e-6;
        };
        return ((type == GLP_LO || type == GLP_DB) && near(lo)) || ((type == GLP_UP || type == GLP_DB) && near(hi));
    };
    for (int c = 1; c <= cols; ++c) {
        out.nearlyOnABound = out.nearlyOnABound
                             || nearly(glp_get_col_type(lp->prob, c), glp_get_col_prim(lp->prob, c),
                                       glp_get_col_lb(lp->prob, c), glp_get_col_ub(lp->prob, c));
    }
    for (int r = 1; r <= rows; ++r) {
        out.nearlyOnABound = out.nearlyOnABound
                             || nearly(glp_get_row_type(lp->prob, r), glp_get_row_prim(lp->prob, r),
                                       glp_get_row_lb(lp->prob, r), glp_get_row_ub(lp->prob, r));
    }
    for (int r = 1; r <= rows; ++r) {
        const auto &ref = lp->rowRefs[std::size_t(r - 1)];
        if (ref.kind != OracleRow::Nutrient)
            continue;
        if (out.nutrientStatus.size() <= std::size_t(ref.index))
            out.nutrientStatus.resize(std::size_t(ref.index) + 1, 0);
        out.nutrientStatus[std::size_t(ref.index)] = glp_get_row_stat(lp->prob, r);
    }
    for (int r = 1; r <= rows; ++r) {
        const auto &ref = lp->rowRefs[std::size_t(r - 1)];
        const double dual = glp_get_row_dual(lp->prob, r);
        if (!out.rows.empty() && ref.kind == OracleRow::Ratio && out.rows.back().kind == OracleRow::Ratio
            && out.rows.back().index == ref.index) {
            out.rows.back().dual += dual;
            continue;
        }
        out.rows.push_back(OracleRow{ref.kind, ref.index, dual});
    }
    return out;
}

void freeGlpkLp(GlpkLp *lp)
{
    if (lp->prob)
        glp_delete_prob(lp->prob);
    delete lp;
}

OracleResult glpkOracle(bool exact)
{
    GlpkLp *lp = buildGlpkLp();
    OracleResult r = solveGlpkLp(lp, exact);
    freeGlpkLp(lp);
    return r;
}

std::vector<std::optional<double>> glpkEntryFloors(const std::vector<int> &columns, double eps)
{
    std::vector<std::optional<double>> out(columns.size());
    GlpkLp *lp = buildGlpkLp();
    if (!solveGlpkLp(lp).optimum) {
        freeGlpkLp(lp);
        return out;
    }
    glp_prob *prob = lp->prob;
    glp_smcp parm;
    glp_init_smcp(&parm);
    parm.msg_lev = GLP_MSG_OFF;
    parm.presolve = GLP_OFF;
    // The cost of the formula with column c fixed at share v, less the column's own cost.
    auto restCost = [&](int c, double v) -> std::optional<double> {
        glp_set_col_bnds(prob, c, GLP_FX, v, v);
        if (glp_simplex(prob, &parm) != 0 || glp_get_status(prob) != GLP_OPT) {
            // Start the next one afresh.
            glp_std_basis(prob);
            return std::nullopt;
        }
        return glp_get_obj_val(prob) - glp_get_obj_coef(prob, c) * v;
    };
    for (std::size_t k = 0; k < columns.size(); ++k) {
        const int c = columns[k] + 1;
        const int type = glp_get_col_type(prob, c);
        const double lo = glp_get_col_lb(prob, c), hi = glp_get_col_ub(prob, c);
        if (lo != 0.0 || ((type == GLP_DB || type == GLP_FX) && hi < eps))
            continue;
        const std::optional<double> at0 = restCost(c, 0.0);
        const std::optional<double> atEps = restCost(c, eps);
        if (at0 && atEps)
            out[k] = (*at0 - *atEps) / eps;
        glp_set_col_bnds(prob, c, type, lo, hi);
    }
    freeGlpkLp(lp);
    return out;
}

namespace {

// Where a value sits against its bounds: on the lower one, on the upper one (both for a fixed value).
struct Sits
{
    bool lower = false, upper = false;
};

Sits sits(int type, double value, double lo, double hi)
{
    // GLPK's primal feasibility tolerance: a value nearer its bound than GLPK tells apart is on it.
    const auto on = [&](double bound) { return std::fabs(value - bound) <= 1e-7 * (1.0 + std::fabs(bound)); };
    Sits s;
    s.lower = (type == GLP_LO || type == GLP_DB || type == GLP_FX) && on(lo);
    s.upper = (type == GLP_UP || type == GLP_DB || type == GLP_FX) && on(hi);
    return s;
}

// The bounds of a dual that complements a value sitting so: free on both bounds, at least 0 on the
// lower one, at most 0 on the upper one, 0 elsewhere.
void dualBounds(glp_prob *lp, int column, const Sits &s)
{
    if (s.lower && s.upper)
        glp_set_col_bnds(lp, column, GLP_FR, 0.0, 0.0);
    else if (s.lower)
        glp_set_col_bnds(lp, column, GLP_LO, 0.0, 0.0);
    else if (s.upper)
        glp_set_col_bnds(lp, column, GLP_UP, 0.0, 0.0);
    else
        glp_set_col_bnds(lp, column, GLP_FX, 0.0, 0.0);
}

} // namespace

std::vector<std::optional<double>> glpkEntryThresholds(const std::vector<int> &columns)
{
    std::vector<std::optional<double>> out(columns.size());
    GlpkLp *lp = buildGlpkLp();
    if (!solveGlpkLp(lp).optimum) {
        freeGlpkLp(lp);
        return out;
    }
    glp_prob *primal = lp->prob;
    const int rows = glp_get_num_rows(primal);
    const int cols = glp_get_num_cols(primal);

    // The dual programme over the optimal face: one dual per row (columns 1..rows) and one per
    // column's bound (rows+1..rows+cols); one equation per column: its worth plus its bound's dual
    // is its price.
    glp_prob *dual = glp_create_prob();
    glp_set_obj_dir(dual, GLP_MIN);
    glp_add_cols(dual, rows + cols);
    for (int r = 1; r <= rows; ++r) {
        dualBounds(dual, r,
                   sits(glp_get_row_type(primal, r), glp_get_row_prim(primal, r), glp_get_row_lb(primal, r),
                        glp_get_row_ub(primal, r)));
    }
    for (int c = 1; c <= cols; ++c) {
        dualBounds(dual, rows + c,
                   sits(glp_get_col_type(primal, c), glp_get_col_prim(primal, c), glp_get_col_lb(primal, c),
                        glp_get_col_ub(primal, c)));
    }
    glp_add_rows(dual, cols);
    std::vector<std::vector<double>> worth(std::size_t(cols), std::vector<double>(std::size_t(rows) + 1, 0.0));
    {
        std::vector<int> ind(std::size_t(cols) + 1);
        std::vector<double> val(std::size_t(cols) + 1);
        for (int r = 1; r <= rows; ++r) {
            const int n = glp_get_mat_row(primal, r, ind.data(), val.data());
            for (int t = 1; t <= n; ++t)
                worth[std::size_t(ind[std::size_t(t)] - 1)][std::size_t(r)] = val[std::size_t(t)];
        }
    }
    for (int c = 1; c <= cols; ++c) {
        std::vector<int> ind(1);
        std::vector<double> val(1);
        for (int r = 1; r <= rows; ++r) {
            if (worth[std::size_t(c - 1)][std::size_t(r)] != 0.0) {
                ind.push_back(r);
                val.push_back(worth[std::size_t(c - 1)][std::size_t(r)]);
            }
        }
        ind.push_back(rows + c);
        val.push_back(1.0);
        glp_set_mat_row(dual, c, int(ind.size()) - 1, ind.data(), val.data());
        const double price = glp_get_obj_coef(primal, c);
        glp_set_row_bnds(dual, c, GLP_FX, price, price);
    }
    glp_smcp parm;
    glp_init_smcp(&parm);
    parm.msg_lev = GLP_MSG_OFF;
    parm.presolve = GLP_OFF;
    glp_std_basis(dual);
    for (std::size_t k = 0; k < columns.size(); ++k) {
        const int c = columns[k] + 1;
        for (int r = 1; r <= rows + cols; ++r)
            glp_set_obj_coef(dual, r, r <= rows ? worth[std::size_t(c - 1)][std::size_t(r)] : 0.0);
        if (glp_simplex(dual, &parm) != 0) {
            glp_std_basis(dual);
            if (glp_simplex(dual, &parm) != 0)
                continue;
        }
        const int status = glp_get_status(dual);
        if (status == GLP_OPT)
            out[k] = glp_get_obj_val(dual);
        else if (status == GLP_UNBND)
            out[k] = -std::numeric_limits<double>::infinity();
    }
    glp_delete_prob(dual);
    freeGlpkLp(lp);
    return out;
}

std::optional<RepricedSolve> glpkRepriced(int column, double price, bool dropOwnLimits)
{
    GlpkLp *lp = buildGlpkLp();
    const int c = column + 1;
    glp_set_obj_coef(lp->prob, c, price);
    if (dropOwnLimits)
        glp_set_col_bnds(lp->prob, c, GLP_LO, 0.0, 0.0);
    const OracleResult r = solveGlpkLp(lp);
    std::optional<RepricedSolve> out;
    if (r.optimum)
        out = RepricedSolve{r.cost, r.x[std::size_t(column)]};
    freeGlpkLp(lp);
    return out;
}

} // namespace vexo::test
