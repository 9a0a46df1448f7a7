// The whole solve (copy, build, iterate, results) against GLPK's glp_simplex on the same linear
// programme, for growing feed problems. Prints the time of each and their ratio.

#include "glpk_oracle.h"
#include "solver_fixture.h"

#include "platform/message_sink.h"
#include "problem/open_problem.h"
#include "solver/ky_optimizer.h"

#include <benchmark/benchmark.h>
#include <glpk.h>

#include <QCoreApplication>

#include <chrono>

using namespace vexo;
using namespace vexo::test;

namespace {

// Boxes would block a benchmark; none is expected, and any that comes is answered at once.
class QuietMessages : public MessageSink
{
public:
    MessageAnswer show(const MessageRequest &) override { return MessageAnswer::Ok; }
    void tones(const QList<Tone> &) override {}
};

// The first seed from `seed` on whose problem of this size has an optimum.
unsigned feasibleSeed(unsigned seed, const RandomShape &shape)
{
    for (;; ++seed) {
        randomProblem(seed, shape).install();
        if (glpkOracle().optimum)
            return seed;
    }
}

// The programme exactly as the solver builds it (its rows, with the ingredient-limit rows and the
// turned negative rows), read from its starting tableau: structural columns are the ingredient
// columns; a row whose starting column is a slack is a maximum, an artificial one with a surplus
// column a minimum, one without a fixed value.
glp_prob *sameProgramme(const SimplexTableau &t, int ingredients)
{
    glp_prob *lp = glp_create_prob();
    glp_set_obj_dir(lp, GLP_MIN);
    glp_add_cols(lp, ingredients);
    for (int j = 0; j < ingredients; ++j) {
        glp_set_col_bnds(lp, j + 1, GLP_LO, 0.0, 0.0);
        glp_set_obj_coef(lp, j + 1, t.cost[std::size_t(j)]);
    }
    for (int i = 0; i < t.rows(); ++i) {
        const int own = t.basis[std::size_t(i)];
        bool surplus = false;
        for (int j = ingredients; j < t.columns(); ++j)
            surplus = surplus || (j != own && t.at(i, j) == -1.0 && !t.artificial[std::size_t(j)]);
        const double b = t.rhs[std::size_t(i)];
        const int r = glp_add_rows(lp, 1);
        if (!t.artificial[std::size_t(own)])
            glp_set_row_bnds(lp, r, GLP_UP, 0.0, b);
        else if (surplus)
            glp_set_row_bnds(lp, r, GLP_LO, b, 0.0);
        else
            glp_set_row_bnds(lp, r, GLP_FX, b, b);
        std::vector<int> ind(1);
        std::vector<double> val(1);
        for (int j = 0; j < ingredients; ++j) {
            if (t.at(i, j) != 0.0) {
                ind.push_back(j + 1);
                val.push_back(t.at(i, j));
            }
        }
        glp_set_mat_row(lp, r, int(ind.size()) - 1, ind.data(), val.data());
    }
    return lp;
}

void solveSideBySide(benchmark::State &state)
{
    QuietMessages quiet;
    setMessageSink(&quiet);
    RandomShape shape;
    shape.ingredients = int(state.range(0));
    shape.nutrients = int(state.range(1));
    shape.extras = true;
    const unsigned seed = feasibleSeed(7, shape);
    randomProblem(seed, shape).install();
    GlpkLp *lp = buildGlpkLp();
    SimplexTableau start;
    KY_OPTIMIZER::setObserver([&](const SimplexTableau &t, SolveEvent e) {
        if (e == SolveEvent::Built)
            start = t;
    });
    int ingredients = 0;
    {
        KY_OPTIMIZER s(nullptr, true);
        ingredients = int(s.NYMSAYISI());
    }
    KY_OPTIMIZER::setObserver(nullptr);
    glp_prob *same = sameProgramme(start, ingredients);
    glp_smcp parm;
    glp_init_smcp(&parm);
    parm.msg_lev = GLP_MSG_OFF;

    using Clock = std::chrono::steady_clock;
    double ours = 0.0, glpk = 0.0, glpkSame = 0.0;
    long iterations = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        {
            KY_OPTIMIZER s(nullptr, true);
            benchmark::DoNotOptimize(s.costSum());
            iterations = s.iterations();
            if (!s.LOPTI_)
                state.SkipWithError("no optimum");
        }
        const auto t1 = Clock::now();
        const OracleResult r = solveGlpkLp(lp);
        benchmark::DoNotOptimize(r.cost);
        const auto t2 = Clock::now();
        glp_std_basis(same);
        glp_simplex(same, &parm);
        benchmark::DoNotOptimize(glp_get_obj_val(same));
        const auto t3 = Clock::now();
        ours += std::chrono::duration<double, std::micro>(t1 - t0).count();
        glpk += std::chrono::duration<double, std::micro>(t2 - t1).count();
        glpkSame += std::chrono::duration<double, std::micro>(t3 - t2).count();
    }
    freeGlpkLp(lp);
    glp_delete_prob(same);
    setMessageSink(nullptr);
    const double n = double(state.iterations());
    state.counters["ours_us"] = ours / n;
    state.counters["glpk_us"] = glpk / n;
    state.counters["glpk_rows_us"] = glpkSame / n;
    // Against GLPK on the problem with its ingredient limits as column bounds, and on the very rows
    // the solver builds.
    state.counters["ratio"] = glpk > 0 ? ours / glpk : 0.0;
    state.counters["ratio_rows"] = glpkSame > 0 ? ours / glpkSame : 0.0;
    state.counters["pivots"] = double(iterations);
}

} // namespace

BENCHMARK(solveSideBySide)
    ->Args({10, 10})
    ->Args({25, 20})
    ->Args({40, 30})
    ->Args({60, 45})
    ->Args({85, 60})
    ->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
