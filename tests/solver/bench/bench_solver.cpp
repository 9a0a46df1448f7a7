// The whole solve (copy, build, iterate, results with the exact entry prices) against GLPK's
// glp_simplex on the same linear programme, for growing feed problems and for degenerate and
// mixed-scale ones (contents from 0.001 to 10,000 in one row) at the file format's cap of 85 x 60: a
// set of seeded problems per size, each timed in turns with GLPK in the same loop, then the median
// ratio per size.

#include "degenerate_problems.h"
#include "glpk_oracle.h"
#include "solver_fixture.h"

#include "platform/message_sink.h"
#include "problem/open_problem.h"
#include "solver/ky_optimizer.h"

#include <benchmark/benchmark.h>
#include <glpk.h>

#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <map>
#include <tuple>
#include <utility>
#include <vector>

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

constexpr int kSeedsPerSize = 11;

// The processor time of this thread: on a busy machine the time other processes take is not
// counted against either solver.
struct ThreadClock
{
    using duration = std::chrono::nanoseconds;
    using rep = duration::rep;
    using period = duration::period;
    using time_point = std::chrono::time_point<ThreadClock>;
    static constexpr bool is_steady = true;
    static time_point now()
    {
        timespec ts{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
        return time_point(duration(std::chrono::seconds(ts.tv_sec) + std::chrono::nanoseconds(ts.tv_nsec)));
    }
};

// A problem size, and the kind of its problems: plain (randomProblem), made degenerate
// (degenerateProblem) or of mixed scale (mixedScaleProblem).
enum Kind { Plain = 0, Degenerate = 1, MixedScale = 2 };
struct Size
{
    int ingredients = 0, nutrients = 0;
    int kind = Plain;
    bool operator<(const Size &o) const
    {
        return std::tie(kind, ingredients, nutrients) < std::tie(o.kind, o.ingredients, o.nutrients);
    }
};

FeedProblem problemOf(unsigned seed, const Size &size)
{
    const RandomShape shape{size.ingredients, size.nutrients, true};
    if (size.kind == Degenerate)
        return degenerateProblem(seed, shape);
    return size.kind == MixedScale ? mixedScaleProblem(seed, shape) : randomProblem(seed, shape);
}

// The first seed from `seed` on whose problem of this size has an optimum (a degenerate one: with a
// left-out ingredient whose entry price the final basis alone would not give).
unsigned feasibleSeed(unsigned seed, const Size &size)
{
    for (;; ++seed) {
        problemOf(seed, size).install();
        const OracleResult o = glpkOracle();
        if (o.optimum && (size.kind != Degenerate || !o.nonDegenerate))
            return seed;
    }
}

// The k-th seed (from 0) with an optimum at this size, the same in every run.
unsigned nthFeasibleSeed(int k, const Size &size)
{
    static std::map<Size, std::vector<unsigned>> found;
    std::vector<unsigned> &seeds = found[size];
    while (int(seeds.size()) <= k)
        seeds.push_back(feasibleSeed(seeds.empty() ? 7u : seeds.back() + 1, size));
    return seeds[std::size_t(k)];
}

// The last measurement of every problem, by size and seed: ours, GLPK with column bounds, GLPK on
// the solver's own rows (microseconds per solve), pivots.
struct Measured
{
    double ours = 0, glpk = 0, glpkRows = 0;
    long pivots = 0;
};
std::map<Size, std::map<int, Measured>> &measured()
{
    static std::map<Size, std::map<int, Measured>> all;
    return all;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n == 0 ? 0.0 : n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

void printMedians()
{
    std::printf("\nMedians per size over the seeded problems (thread processor time per solve; ratio: ours / "
                "glp_simplex's in the same loop)\n");
    std::printf("%-12s %6s %10s %10s %12s %12s %10s %8s\n", "size", "seeds", "ours_us", "glpk_us", "glpk_rows_us",
                "ratio_rows", "ratio", "pivots");
    for (const auto &[size, seeds] : measured()) {
        std::vector<double> ours, glpk, rows, ratioRows, ratio, pivots;
        for (const auto &[seed, m] : seeds) {
            ours.push_back(m.ours);
            glpk.push_back(m.glpk);
            rows.push_back(m.glpkRows);
            ratioRows.push_back(m.glpkRows > 0 ? m.ours / m.glpkRows : 0.0);
            ratio.push_back(m.glpk > 0 ? m.ours / m.glpk : 0.0);
            pivots.push_back(double(m.pivots));
        }
        std::printf("%3dx%-3d %-4s %6zu %10.1f %10.1f %12.1f %12.2f %10.2f %8.0f\n", size.ingredients, size.nutrients,
                    size.kind == Degenerate ? "deg" : size.kind == MixedScale ? "mix" : "", seeds.size(), median(ours), median(glpk), median(rows),
                    median(ratioRows), median(ratio), median(pivots));
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
    const Size size{int(state.range(0)), int(state.range(1)), int(state.range(3))};
    const int k = int(state.range(2));
    const unsigned seed = nthFeasibleSeed(k, size);
    problemOf(seed, size).install();
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

    using Clock = ThreadClock;
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
    state.counters["seed"] = double(seed);
    measured()[size][k] = Measured{ours / n, glpk / n, glpkSame / n, iterations};
}

} // namespace

// Arguments: ingredients, nutrients, the k-th seed, the kind of problem.
BENCHMARK(solveSideBySide)
    ->ArgsProduct({{10}, {10}, benchmark::CreateDenseRange(0, kSeedsPerSize - 1, 1), {0}})
    ->ArgsProduct({{25}, {20}, benchmark::CreateDenseRange(0, kSeedsPerSize - 1, 1), {0}})
    ->ArgsProduct({{40}, {30}, benchmark::CreateDenseRange(0, kSeedsPerSize - 1, 1), {0}})
    ->ArgsProduct({{60}, {45}, benchmark::CreateDenseRange(0, kSeedsPerSize - 1, 1), {0}})
    ->ArgsProduct({{85}, {60}, benchmark::CreateDenseRange(0, kSeedsPerSize - 1, 1), {Plain}})
    ->ArgsProduct({{85}, {60}, benchmark::CreateDenseRange(0, kSeedsPerSize - 1, 1), {Degenerate}})
    ->ArgsProduct({{85}, {60}, benchmark::CreateDenseRange(0, kSeedsPerSize - 1, 1), {MixedScale}})
    ->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    printMedians();
    return 0;
}
