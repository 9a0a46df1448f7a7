#include "degenerate_problems.h"

#include "glpk_oracle.h"

#include "problem/number_text.h"
#include "problem/open_problem.h"

#include <glpk.h>

#include <algorithm>
#include <cmath>
#include <random>

namespace vexo::test {

namespace {

constexpr int kTwins = 2;
constexpr int kBlends = 2;
constexpr int kTightRows = 3;

bool usable(const IngredientSpec &i)
{
    return i.price.has_value() && i.stock;
}

// Appends an ingredient with the given contents; its memberships are those given (0 elsewhere).
void addIngredient(FeedProblem &fp, const IngredientSpec &spec, const std::vector<double> &content,
                   const std::vector<double> &membership)
{
    const std::size_t n = std::size_t(fp.ingredients.size());
    fp.ingredients.append(spec);
    for (std::size_t b = 0; b < fp.content.size(); ++b) {
        fp.content[b].resize(n, 0.0);
        fp.content[b].push_back(content[b]);
    }
    for (std::size_t g = 0; g < fp.membership.size(); ++g) {
        const double m = g < membership.size() ? membership[g] : 0.0;
        if (m != 0.0) {
            fp.membership[g].resize(n, 0.0);
            fp.membership[g].push_back(m);
        }
    }
}

double contentOf(const FeedProblem &fp, std::size_t b, std::size_t j)
{
    return j < fp.content[b].size() ? fp.content[b][j] : 0.0;
}

double memberOf(const FeedProblem &fp, std::size_t g, std::size_t j)
{
    return j < fp.membership[g].size() ? fp.membership[g][j] : 0.0;
}

// GLPK's shares of the installed problem by ingredient (0 for one that takes no part); empty when
// there is no optimum. The statuses of the nutrient rows come with them.
std::vector<double> optimalShares(const FeedProblem &fp, std::vector<int> *nutrientStatus = nullptr)
{
    fp.install();
    const OracleResult o = glpkOracle();
    if (!o.optimum)
        return {};
    std::vector<double> x(std::size_t(fp.ingredients.size()), 0.0);
    for (std::size_t c = 0; c < o.columnOf.size(); ++c)
        x[std::size_t(o.columnOf[c])] = o.x[c];
    if (nutrientStatus)
        *nutrientStatus = o.nutrientStatus;
    return x;
}

} // namespace

FeedProblem degenerateProblem(unsigned seed, const RandomShape &shape)
{
    RandomShape base = shape;
    base.ingredients = std::max(2, shape.ingredients - kTwins - kBlends);
    base.nutrients = std::max(1, shape.nutrients - kTightRows);
    FeedProblem fp = randomProblem(seed, base);
    std::mt19937 rng(seed * 7919u + 17u);
    auto pick = [&](int n) { return int(rng() % unsigned(n)); };
    auto chance = [&](double p) { return std::uniform_real_distribution<double>(0.0, 1.0)(rng) < p; };

    // Contents to 3 decimals and prices to 2, so that even blends are exact in the lists' 4 and 3.
    for (auto &row : fp.content) {
        for (double &c : row)
            c = MROUND2(c, 3);
    }
    for (IngredientSpec &i : fp.ingredients) {
        if (i.price)
            i.price = MROUND2(*i.price, 2);
    }
    const int n0 = int(fp.ingredients.size());
    std::vector<int> candidates;
    for (int j = 0; j < n0; ++j) {
        if (usable(fp.ingredients[j]))
            candidates.push_back(j);
    }
    if (candidates.size() < 2)
        return fp;
    const double extra[3] = {0.0, 0.25, 2.0};

    // Twins and even blends.
    for (int t = 0; t < kTwins; ++t) {
        const int a = candidates[std::size_t(pick(int(candidates.size())))];
        IngredientSpec s{QStringLiteral("İKİZ %1").arg(t + 1), *fp.ingredients[a].price + extra[pick(3)], {}, {}, {}};
        std::vector<double> content, membership;
        for (std::size_t b = 0; b < fp.content.size(); ++b)
            content.push_back(contentOf(fp, b, std::size_t(a)));
        for (std::size_t g = 0; g < fp.membership.size(); ++g)
            membership.push_back(memberOf(fp, g, std::size_t(a)));
        addIngredient(fp, s, content, membership);
    }
    for (int t = 0; t < kBlends; ++t) {
        const int a = candidates[std::size_t(pick(int(candidates.size())))];
        int b = candidates[std::size_t(pick(int(candidates.size())))];
        if (b == a)
            b = candidates[(std::find(candidates.begin(), candidates.end(), a) - candidates.begin() + 1)
                           % std::ptrdiff_t(candidates.size())];
        const double price = (*fp.ingredients[a].price + *fp.ingredients[b].price) / 2.0 + extra[pick(3)];
        IngredientSpec s{QStringLiteral("KARIŞIM %1").arg(t + 1), MROUND2(price, 3), {}, {}, {}};
        std::vector<double> content;
        for (std::size_t r = 0; r < fp.content.size(); ++r)
            content.push_back((contentOf(fp, r, std::size_t(a)) + contentOf(fp, r, std::size_t(b))) / 2.0);
        addIngredient(fp, s, content, {});
    }

    // An ingredient of the formula held out by its own limit of 0.
    std::vector<double> x = optimalShares(fp);
    if (x.empty())
        return fp;
    std::vector<int> inFormula;
    for (int j = 0; j < int(x.size()); ++j) {
        const IngredientSpec &i = fp.ingredients[j];
        if (x[std::size_t(j)] > 1e-6 && !i.fix && !i.min && !i.max)
            inFormula.push_back(j);
    }
    if (inFormula.size() >= 3 && chance(0.5)) {
        IngredientSpec &i = fp.ingredients[inFormula[std::size_t(pick(int(inFormula.size())))]];
        if (chance(0.5))
            i.max = 0.0;
        else
            i.fix = 0.0;
        x = optimalShares(fp);
        if (x.empty())
            return fp;
    }

    // A group whose maximum is its member's maximum, just below the member's share.
    inFormula.clear();
    for (int j = 0; j < int(x.size()); ++j) {
        const IngredientSpec &i = fp.ingredients[j];
        if (x[std::size_t(j)] > 2e-5 && !i.fix && !i.min && !i.max)
            inFormula.push_back(j);
    }
    if (!inFormula.empty() && chance(0.7)) {
        const int a = inFormula[std::size_t(pick(int(inFormula.size())))];
        const double top = std::floor(x[std::size_t(a)] * 100.0 * 1000.0) / 1000.0;
        fp.ingredients[a].max = top;
        std::vector<double> members(std::size_t(fp.ingredients.size()), 0.0);
        members[std::size_t(a)] = 1.0;
        for (std::size_t j = 0; j < members.size(); ++j) {
            if (x[j] == 0.0 && chance(0.3))
                members[j] = 1.0;
        }
        fp.groups.append(GroupSpec{QStringLiteral("ÜST SINIR"), {}, {}, top});
        fp.membership.push_back(members);
    }
    std::vector<int> status;
    x = optimalShares(fp, &status);
    if (x.empty())
        return fp;

    // Rows tight at the optimum: sums of two nutrient rows of one sense that GLPK's final basis holds
    // on their bounds (so the vertex meets them exactly), or twice one.
    struct Binding
    {
        std::size_t row;
        double limit;
        bool lower; // a minimum (or a fixed value); otherwise a maximum
    };
    std::vector<Binding> binding;
    for (std::size_t b = 0; b < status.size() && b < std::size_t(fp.nutrients.size()); ++b) {
        const NutrientSpec &s = fp.nutrients[qsizetype(b)];
        if (s.fix && status[b] == GLP_NS) {
            binding.push_back({b, *s.fix, true});
            binding.push_back({b, *s.fix, false});
        } else if (s.min && status[b] == GLP_NL) {
            binding.push_back({b, *s.min, true});
        } else if (s.max && status[b] == GLP_NU) {
            binding.push_back({b, *s.max, false});
        }
    }
    for (int t = 0; t < kTightRows && !binding.empty(); ++t) {
        const Binding &p = binding[std::size_t(pick(int(binding.size())))];
        const Binding *q = &p;
        for (int tries = 0; tries < 4; ++tries) {
            const Binding &c = binding[std::size_t(pick(int(binding.size())))];
            if (c.lower == p.lower && c.row != p.row) {
                q = &c;
                break;
            }
        }
        NutrientSpec s{QStringLiteral("SIKI %1").arg(t + 1), {}, {}, {}};
        const double limit = MROUND2(p.limit + q->limit, 4);
        (p.lower ? s.min : s.max) = limit;
        std::vector<double> content(std::size_t(fp.ingredients.size()), 0.0);
        for (std::size_t j = 0; j < content.size(); ++j)
            content[j] = contentOf(fp, p.row, j) + contentOf(fp, q->row, j);
        fp.nutrients.append(s);
        fp.content.push_back(content);
    }
    return fp;
}

} // namespace vexo::test
