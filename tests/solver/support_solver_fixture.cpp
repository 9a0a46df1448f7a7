#include "solver_fixture.h"

#include "problem/number_text.h"
#include "problem/open_problem.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace vexo::test {

QString cell(const Opt &v, int decimals)
{
    return v ? Str(*v, 11, decimals) : QString(11, u' ');
}

double limitBreak(const std::vector<double> &x, const std::vector<int> &columnOf)
{
    const OpenProblem &p = openProblem();
    std::vector<int> namedPos;
    {
        std::vector<int> pos(std::size_t(p.AYMLIST.size()), -1);
        int named = 0;
        for (int n = 0; n < p.AYMLIST.size(); ++n)
            if (!isBlank(p.AYMLIST[n][YMNAME]))
                pos[std::size_t(n)] = named++;
        for (int n : columnOf)
            namedPos.push_back(pos[std::size_t(n)]);
    }
    double worst = 0.0;
    auto check = [&](double v, const QString &fix, const QString &min, const QString &max, double divisor) {
        if (!isBlank(fix)) {
            worst = std::max(worst, std::fabs(v - Val(fix) / divisor));
            return;
        }
        if (!isBlank(min))
            worst = std::max(worst, Val(min) / divisor - v);
        if (!isBlank(max))
            worst = std::max(worst, v - Val(max) / divisor);
    };
    auto level = [&](const QStringList &cells) {
        double v = 0.0;
        for (std::size_t c = 0; c < x.size(); ++c)
            v += Val(cells.value(namedPos[c])) * x[c];
        return v;
    };
    for (std::size_t c = 0; c < x.size(); ++c) {
        const Row &r = p.AYMLIST[columnOf[c]];
        worst = std::max(worst, -x[c]);
        check(x[c], r[YMFIX], r[YMLLIMIT], r[YMULIMIT], 100.0);
    }
    for (int k = 0; k < p.ABMLIST.size(); ++k)
        check(level(p.AAMAT[k]), p.ABMLIST[k][BMFIX], p.ABMLIST[k][BMLLIMIT], p.ABMLIST[k][BMULIMIT], 1.0);
    for (const Row &r : p.ABMOLIST) {
        const qsizetype a = p.ABMADLARI.indexOf(r[BMONAME1].trimmed());
        const qsizetype d = p.ABMADLARI.indexOf(r[BMONAME2].trimmed());
        if (a < 0 || d < 0)
            continue;
        const double num = level(p.AAMAT[a]), den = level(p.AAMAT[d]);
        if (!isBlank(r[BMOFIX])) {
            worst = std::max(worst, std::fabs(num - Val(r[BMOFIX]) * den));
        } else {
            if (!isBlank(r[BMOLLIMIT]))
                worst = std::max(worst, Val(r[BMOLLIMIT]) * den - num);
            if (!isBlank(r[BMOULIMIT]))
                worst = std::max(worst, num - Val(r[BMOULIMIT]) * den);
        }
    }
    for (const Row &r : p.AYMGLIST) {
        const qsizetype g = p.AYMGADLARI.indexOf(r[YMGNAME].trimmed());
        if (isBlank(r[YMGNAME]) || g < 0 || g >= p.AGMAT.size())
            continue;
        check(level(p.AGMAT[g]), r[YMGFIX], r[YMGLLIMIT], r[YMGULIMIT], 100.0);
    }
    return worst;
}

SimplexTableau tableauOf(const std::vector<std::vector<double>> &rows, const std::vector<double> &rhs,
                         const std::vector<int> &basis, const std::vector<double> &cost)
{
    SimplexTableau t(int(rows.size()), int(cost.size()));
    for (std::size_t i = 0; i < rows.size(); ++i)
        for (std::size_t j = 0; j < rows[i].size(); ++j)
            t.set(int(i), int(j), rows[i][j]);
    t.indexRows();
    t.rhs = rhs;
    t.basis = basis;
    t.cost = cost;
    for (std::size_t i = 0; i < basis.size(); ++i)
        t.cb[i] = cost[std::size_t(basis[i])];
    return t;
}

void FeedProblem::install() const
{
    OpenProblem &p = openProblem();
    p.reset();
    const QString blank(11, u' ');
    for (const IngredientSpec &i : ingredients) {
        Row row(YM_COLUMNS, blank);
        row[YMNAME] = i.name.leftJustified(kYmNameWidth);
        row[YMPRICE] = cell(i.price, 3);
        row[YMFIX] = cell(i.fix, 3);
        row[YMLLIMIT] = cell(i.min, 3);
        row[YMULIMIT] = cell(i.max, 3);
        p.AYMLIST.append(row);
        p.AYMADLARI.append(i.name.trimmed());
        p.AYMSTOK.append(i.stock);
    }
    for (qsizetype n = 0; n < nutrients.size(); ++n) {
        const NutrientSpec &b = nutrients.at(n);
        Row row(BM_COLUMNS, blank);
        row[BMNAME] = b.name.leftJustified(kBmNameWidth);
        row[BMUNIT] = b.unit.leftJustified(11);
        row[BMFIX] = cell(b.fix, 4);
        row[BMLLIMIT] = cell(b.min, 4);
        row[BMULIMIT] = cell(b.max, 4);
        p.ABMLIST.append(row);
        p.ABMADLARI.append(b.name.trimmed());
        p.ABMBIRIMLERI.append(b.unit);
        QStringList cells;
        for (qsizetype j = 0; j < ingredients.size(); ++j) {
            const double c = std::size_t(n) < content.size() && std::size_t(j) < content[std::size_t(n)].size()
                                 ? content[std::size_t(n)][std::size_t(j)]
                                 : 0.0;
            cells.append(c == 0.0 ? blank : Str(c, 11, 4));
        }
        p.AAMAT.append(cells);
    }
    for (const RatioSpec &r : ratios) {
        Row row(BMO_COLUMNS, blank);
        row[BMONAME1] = r.numerator.leftJustified(kBmNameWidth);
        row[BMONAME2] = r.denominator.leftJustified(kBmNameWidth);
        row[BMOFIX] = cell(r.fix, 4);
        row[BMOLLIMIT] = cell(r.min, 4);
        row[BMOULIMIT] = cell(r.max, 4);
        p.ABMOLIST.append(row);
    }
    for (qsizetype g = 0; g < groups.size(); ++g) {
        const GroupSpec &s = groups.at(g);
        Row row(YMG_COLUMNS, blank);
        row[YMGNAME] = s.name.leftJustified(kYmgNameWidth);
        row[YMGFIX] = cell(s.fix, 3);
        row[YMGLLIMIT] = cell(s.min, 3);
        row[YMGULIMIT] = cell(s.max, 3);
        p.AYMGLIST.append(row);
        p.AYMGADLARI.append(s.name.trimmed());
        QStringList cells;
        const auto &m = std::size_t(g) < membership.size() ? membership[std::size_t(g)] : std::vector<double>{};
        for (std::size_t j = 0; j < m.size(); ++j)
            cells.append(m[j] == 1.0 ? QStringLiteral("1.0") : QStringLiteral("0.0"));
        p.AGMAT.append(cells);
    }
    p.APARMLIST = QStringList{QStringLiteral("K"), QStringLiteral("1000.00"), QStringLiteral("Krş"), QStringLiteral("Kg"),
                              QString(40, u' '), QString(40, u' '), QString(40, u' '), blank};
}

FeedProblem fourGrainProblem()
{
    FeedProblem fp;
    fp.ingredients = {IngredientSpec{QStringLiteral("ARPA"), 10.0, {}, {}, {}},
                      IngredientSpec{QStringLiteral("MISIR"), 12.5, {}, {}, {}},
                      IngredientSpec{QStringLiteral("SOYA KÜSPESİ 44"), 25.75, {}, {}, {}},
                      IngredientSpec{QStringLiteral("BUGDAY"), 11.0, {}, {}, {}}};
    fp.nutrients = {NutrientSpec{QStringLiteral("AĞIRLIK"), 1.0, {}, {}, QStringLiteral("Kg")},
                    NutrientSpec{QStringLiteral("KM"), {}, {}, {}, QStringLiteral("%")},
                    NutrientSpec{QStringLiteral("HP"), {}, 12.0, {}, QStringLiteral("%")},
                    NutrientSpec{QStringLiteral("HY"), {}, {}, 6.0, QStringLiteral("%")}};
    fp.content = {{1, 1, 1, 1}, {89, 88, 90, 89}, {11.25, 8.5, 44, 12}, {2.5, 0, 12.5, 0}};
    return fp;
}

FeedProblem threeGroupProblem()
{
    FeedProblem fp;
    fp.ingredients = {IngredientSpec{"MISIR", 0.30, {}, {}, {}}, IngredientSpec{"SOYA", 0.90, {}, {}, {}},
                      IngredientSpec{"ARPA", 0.25, {}, {}, 30.0}};
    fp.nutrients = {NutrientSpec{"AĞIRLIK", 1.0, {}, {}, "Kg/Kg"}, NutrientSpec{"HP", {}, 18.0, {}}};
    fp.content = {{1, 1, 1}, {8.5, 44, 11.5}};
    fp.ratios = {RatioSpec{"HP", "AĞIRLIK", {}, 0.1, {}}};
    fp.groups = {GroupSpec{"TAHIL", {}, {}, 65.0}, GroupSpec{"PROTEIN", {}, 70.0, {}},
                 GroupSpec{"KARMA", {}, 75.0, {}}};
    fp.membership = {{1, 0, 1}, {0, 1, 1}, {1, 1, 0}};
    return fp;
}

FeedProblem randomProblem(unsigned seed, const RandomShape &shape)
{
    std::mt19937 rng(seed);
    auto uni = [&](double a, double b) { return std::uniform_real_distribution<double>(a, b)(rng); };
    auto chance = [&](double p) { return uni(0.0, 1.0) < p; };
    auto round = [](double v, int d) { return MROUND2(v, d); };

    const int n = std::max(2, shape.ingredients);
    const int k = std::max(1, shape.nutrients);
    FeedProblem fp;

    // Which ingredients take part; at least two.
    std::vector<bool> usable(std::size_t(n), true);
    for (int j = 0; j < n; ++j) {
        IngredientSpec s;
        s.name = QStringLiteral("YEM %1").arg(j + 1, 2, 10, QChar(u'0'));
        s.price = chance(0.05) ? 0.0 : round(uni(1.0, 120.0), 3);
        if (shape.extras && j >= 2 && chance(0.06)) {
            s.stock = false;
            usable[std::size_t(j)] = false;
        } else if (shape.extras && j >= 2 && chance(0.06)) {
            s.price.reset();
            usable[std::size_t(j)] = false;
        }
        fp.ingredients.append(s);
    }
    // A reference mix of the usable ingredients: the limits are set around it, so most problems can
    // be met.
    std::vector<double> mix(std::size_t(n), 0.0);
    double total = 0.0;
    for (int j = 0; j < n; ++j) {
        if (usable[std::size_t(j)] && chance(0.6)) {
            mix[std::size_t(j)] = uni(0.1, 1.0);
            total += mix[std::size_t(j)];
        }
    }
    if (total == 0.0) {
        mix[0] = 1.0;
        total = 1.0;
    }
    for (double &x : mix)
        x /= total;

    auto limitsAround = [&](double v, Opt &fix, Opt &lo, Opt &hi, int decimals, double fixChance) {
        const double r = uni(0.0, 1.0);
        if (r < fixChance) {
            fix = round(v, decimals);
        } else if (r < 0.35) {
            lo = round(v * uni(0.5, 0.97) - (v < 0 ? std::fabs(v) * 0.5 : 0.0), decimals);
        } else if (r < 0.55) {
            hi = round(v * uni(1.03, 1.6) + (v < 0 ? std::fabs(v) * 0.5 : 0.0), decimals);
        } else if (r < 0.8) {
            lo = round(v - std::fabs(v) * uni(0.03, 0.5), decimals);
            hi = round(v + std::fabs(v) * uni(0.03, 0.6), decimals);
        }
    };

    // The weight of the mix is fixed at 1 (shares add up to 100 per cent).
    fp.nutrients.append(NutrientSpec{QStringLiteral("AĞIRLIK"), 1.0, {}, {}, QStringLiteral("Kg/Kg")});
    fp.content.push_back(std::vector<double>(std::size_t(n), 1.0));
    for (int b = 1; b < k; ++b) {
        NutrientSpec s;
        s.name = b == 1 && shape.extras ? QStringLiteral("KM") : QStringLiteral("BM %1").arg(b, 2, 10, QChar(u'0'));
        const bool balance = shape.extras && chance(0.12); // a cation-anion balance: contents of both signs
        std::vector<double> c(std::size_t(n), 0.0);
        const double scale = std::pow(10.0, uni(-1.0, 2.5));
        for (int j = 0; j < n; ++j) {
            if (chance(0.3))
                continue;
            c[std::size_t(j)] = round(balance ? uni(-scale, scale) : uni(0.0, scale), 4);
        }
        double v = 0.0;
        for (int j = 0; j < n; ++j)
            v += c[std::size_t(j)] * mix[std::size_t(j)];
        limitsAround(v, s.fix, s.min, s.max, 4, shape.extras ? 0.04 : 0.0);
        if (balance && chance(0.5)) {
            // A limit below zero.
            s.fix.reset();
            s.min = round(-std::fabs(v) - uni(1.0, 10.0), 4);
            s.max = chance(0.5) ? Opt(round(-std::fabs(v) * 0.01 + 0.5 * std::fabs(v) + 1.0, 4)) : Opt();
            if (s.max && *s.max >= 0 && chance(0.5))
                s.max = round(std::min(v, 0.0) + (v < 0 ? std::fabs(v) * 0.3 : -0.0001), 4);
            if (s.max && *s.max < *s.min)
                s.max.reset();
        }
        fp.nutrients.append(s);
        fp.content.push_back(c);
    }
    // An unreachable requirement now and then.
    if (shape.extras && k > 1 && chance(0.08)) {
        const int b = 1 + int(rng() % unsigned(k - 1));
        NutrientSpec &s = fp.nutrients[b];
        double top = 0.0;
        for (double x : fp.content[std::size_t(b)])
            top = std::max(top, x);
        s.fix.reset();
        s.max.reset();
        s.min = round(std::max(top, 1.0) * 2.0 + 1.0, 4);
    }

    if (shape.extras) {
        // Ratios of two nutrients (both with positive contents as a rule).
        const int ratios = k > 2 ? int(rng() % 3) : 0;
        for (int q = 0; q < ratios; ++q) {
            const int a = 1 + int(rng() % unsigned(k - 1));
            int d = 1 + int(rng() % unsigned(k - 1));
            if (d == a)
                d = a == 1 ? 2 : 1;
            double va = 0.0, vd = 0.0;
            for (int j = 0; j < n; ++j) {
                va += fp.content[std::size_t(a)][std::size_t(j)] * mix[std::size_t(j)];
                vd += fp.content[std::size_t(d)][std::size_t(j)] * mix[std::size_t(j)];
            }
            RatioSpec r{fp.nutrients.at(a).name, fp.nutrients.at(d).name, {}, {}, {}};
            // Feed ratios are of moderate size (calcium to phosphorus about 2); a ratio over a
            // near-zero denominator would make a row of huge coefficients.
            if (std::fabs(vd) > 0.05 && std::fabs(va / vd) < 1000.0)
                limitsAround(va / vd, r.fix, r.min, r.max, 4, 0.0);
            fp.ratios.append(r);
        }
        // Groups of ingredients.
        const int groups = int(rng() % 4);
        for (int g = 0; g < groups; ++g) {
            GroupSpec s{QStringLiteral("GRUP %1").arg(g + 1), {}, {}, {}};
            std::vector<double> m(std::size_t(n), 0.0);
            double share = 0.0;
            for (int j = 0; j < n; ++j) {
                if (chance(0.3)) {
                    m[std::size_t(j)] = 1.0;
                    share += mix[std::size_t(j)];
                }
            }
            limitsAround(share * 100.0, s.fix, s.min, s.max, 3, 0.05);
            // The file may hold a shorter membership row.
            if (chance(0.2))
                m.resize(std::size_t(n / 2 + 1));
            fp.groups.append(s);
            fp.membership.push_back(m);
        }
        // Share limits of single ingredients.
        for (int j = 0; j < n; ++j) {
            IngredientSpec &s = fp.ingredients[j];
            const double share = mix[std::size_t(j)] * 100.0;
            const double r = uni(0.0, 1.0);
            if (r < 0.03 && usable[std::size_t(j)])
                s.fix = round(share, 3);
            else if (r < 0.12)
                s.min = round(share * uni(0.3, 0.9), 3);
            else if (r < 0.25)
                s.max = round(std::max(share * uni(1.1, 2.0), 0.5), 3);
            else if (r < 0.3) {
                s.min = round(share * 0.5, 3);
                s.max = round(share * 1.5 + 1.0, 3);
            }
        }
    }
    return fp;
}

namespace {
FakeProgress::Log *g_log = nullptr;
}

ProgressScope::ProgressScope()
{
    g_log = &log;
    setProgressFactory([](QWidget *) { return std::make_unique<FakeProgress>(g_log); });
}

ProgressScope::~ProgressScope()
{
    setProgressFactory({});
    g_log = nullptr;
}

} // namespace vexo::test
