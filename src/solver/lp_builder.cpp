// Building the linear programme: the open problem's lists become the rows, columns, costs and the
// starting basis of a Big-M tableau.

#include "solver/ky_optimizer.h"

#include "problem/messages.h"
#include "problem/number_text.h"
#include "problem/open_problem.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace vexo {

namespace {

// A number text of the lists read whole, "," counting as the decimal point as in typing; a text that
// is no number is noted with where it stands and is no value, never the digits it begins with.
Limit cellLimit(const QString &cell, const QString &where, QStringList &unread, double divisor = 1.0)
{
    bool ok = true;
    const std::optional<double> value = readNumberText(cell, &ok);
    if (!ok)
        unread.append(QStringLiteral("%1: \"%2\"").arg(where, cell.trimmed()));
    if (!value)
        return std::nullopt;
    return *value / divisor;
}

const QString kSabit = QStringLiteral("Sabit");
const QString kAlt = QStringLiteral("Alt");
const QString kUst = QStringLiteral("Üst");
const QString kYok = QStringLiteral("Yok");

} // namespace

// --- LimitTriple ---------------------------------------------------------------------------------

void LimitTriple::append(Limit f, Limit lo, Limit hi)
{
    fix.push_back(f);
    min.push_back(lo);
    max.push_back(hi);
}

void LimitTriple::remove(std::size_t k)
{
    fix.erase(fix.begin() + std::ptrdiff_t(k));
    min.erase(min.begin() + std::ptrdiff_t(k));
    max.erase(max.begin() + std::ptrdiff_t(k));
}

Limit LimitTriple::active(std::size_t k) const
{
    if (fix[k])
        return fix[k];
    if (min[k])
        return min[k];
    return max[k];
}

QString LimitTriple::kind(std::size_t k) const
{
    if (fix[k])
        return kSabit;
    if (min[k])
        return kAlt;
    if (max[k])
        return kUst;
    return kYok;
}

void LimitTriple::settle()
{
    for (std::size_t k = 0; k < size(); ++k) {
        if (fix[k]) {
            min[k].reset();
            max[k].reset();
        }
    }
}

// --- copying the problem ---------------------------------------------------------------------------

void KY_OPTIMIZER::SINDIZOLUSUMU()
{
    const OpenProblem &p = openProblem();
    AYMADI_ = p.AYMADLARI;
    ASTOK_.assign(p.AYMSTOK.cbegin(), p.AYMSTOK.cend());

    const double nil = std::numeric_limits<double>::quiet_NaN();
    // The fixed value and the two limits of a row, in that order.
    auto limits = [this](const Row &r, std::initializer_list<int> columns, int nameColumn, double divisor) {
        static const QString kinds[] = {kSabit, QStringLiteral("Alt Sınır"), QStringLiteral("Üst Sınır")};
        std::vector<Limit> read;
        for (int c : columns) {
            const QString where = r.value(nameColumn).trimmed() + QStringLiteral(" - ") + kinds[read.size()];
            read.push_back(cellLimit(r.value(c), where, m_unreadNumbers, divisor));
        }
        return read;
    };
    for (const Row &r : p.AYMLIST) {
        if (isBlank(r.value(YMNAME)))
            continue;
        const QString where = r.value(YMNAME).trimmed() + QStringLiteral(" - Fiyat");
        AMALIYET_.push_back(cellLimit(r.value(YMPRICE), where, m_unreadNumbers).value_or(nil));
        const std::vector<Limit> v = limits(r, {YMFIX, YMLLIMIT, YMULIMIT}, YMNAME, 100.0);
        AYMSINIR_.append(v[0], v[1], v[2]);
    }
    // Every ingredient gets at least a fixed row or a minimum row.
    for (std::size_t k = 0; k < AYMSINIR_.size(); ++k) {
        if (!AYMSINIR_.fix[k] && !AYMSINIR_.min[k])
            AYMSINIR_.min[k] = 0.0;
    }
    // The name and stock lists run parallel to the named rows; keep them so even if they do not.
    const qsizetype n = qsizetype(AMALIYET_.size());
    while (AYMADI_.size() < n)
        AYMADI_.append(QString());
    AYMADI_ = AYMADI_.mid(0, n);
    ASTOK_.resize(std::size_t(n), true);

    ASATIRADI_ = p.ABMADLARI;
    for (const Row &r : p.ABMLIST) {
        if (isBlank(r.value(BMNAME)))
            continue;
        const std::vector<Limit> v = limits(r, {BMFIX, BMLLIMIT, BMULIMIT}, BMNAME, 1.0);
        ASINIR_.append(v[0], v[1], v[2]);
    }
    while (ASATIRADI_.size() < qsizetype(ASINIR_.size()))
        ASATIRADI_.append(QString());
    ASATIRADI_ = ASATIRADI_.mid(0, qsizetype(ASINIR_.size()));

    for (const Row &r : p.ABMOLIST) {
        if (isBlank(r.value(BMONAME1)) || isBlank(r.value(BMONAME2)))
            continue;
        ABMOTANIM_num_.append(r.value(BMONAME1).trimmed());
        ABMOTANIM_den_.append(r.value(BMONAME2).trimmed());
        const std::vector<Limit> v = limits(r, {BMOFIX, BMOLLIMIT, BMOULIMIT}, BMONAME1, 1.0);
        ABMOTANIM_lim_.append(v[0], v[1], v[2]);
    }

    // Group list row k and membership row k describe one group; its name is the one its row shows.
    // A row without a name takes no part: neither its limits nor its members reach the programme,
    // and it gets no result row.
    for (qsizetype k = 0; k < p.AYMGLIST.size(); ++k) {
        const Row &r = p.AYMGLIST.at(k);
        if (isBlank(r.value(YMGNAME)))
            continue;
        m_groupListRows.push_back(int(k));
        AYMGADI_.append(r.value(YMGNAME).trimmed());
        const std::vector<Limit> v = limits(r, {YMGFIX, YMGLLIMIT, YMGULIMIT}, YMGNAME, 100.0);
        AYMGSINIR_.append(v[0], v[1], v[2]);
    }
}

void KY_OPTIMIZER::removeIngredientColumn(std::size_t j)
{
    const auto at = std::ptrdiff_t(j);
    for (auto &row : ATABLO_) {
        if (j < row.size())
            row.erase(row.begin() + at);
    }
    for (auto &row : AYMGMATRIS_) {
        if (j < row.size())
            row.erase(row.begin() + at);
    }
    AYMADI_.removeAt(qsizetype(j));
    AMALIYET_.erase(AMALIYET_.begin() + at);
    ASTOK_.erase(ASTOK_.begin() + at);
    AYMSINIR_.remove(j);
}

bool KY_OPTIMIZER::STKKONTROL()
{
    for (std::size_t j = 0; j < ASTOK_.size();) {
        if (!ASTOK_[j])
            removeIngredientColumn(j);
        else
            ++j;
    }
    if (AMALIYET_.size() < 2) {
        ERRBEEP();
        MESS2(QStringLiteral("Çözüm için en az iki yem maddesi stokta bulunmalı..."));
        return false;
    }
    return true;
}

bool KY_OPTIMIZER::FIATSIZYEM()
{
    for (std::size_t j = 0; j < AMALIYET_.size();) {
        if (std::isnan(AMALIYET_[j]))
            removeIngredientColumn(j);
        else
            ++j;
    }
    if (AMALIYET_.size() < 2) {
        ERRBEEP();
        ERRMESS(OOWNER_, QString(),
                QStringList{QStringLiteral("Yem maddelerine fiyat verilmedi..."), QString(),
                            QStringLiteral("NOT: VEXO_Zud 2.6 çözümleri En Düşük Maliyetli olarak yürütmektedir."),
                            QStringLiteral("Bir çözüm elde edebilmek için, en az iki yem maddesine fiyat verilmelidir."),
                            QStringLiteral("Fiyat verilmeyen diğer yem maddeleri ise hesaplamaya girmez ve sonuç"),
                            QStringLiteral("raporunda yer almazlar.")}
                    .join(u'\n'));
        return false;
    }
    return true;
}

// --- rows --------------------------------------------------------------------------------------

void KY_OPTIMIZER::BMUSTLIMADD()
{
    const std::size_t n = ASINIR_.size();
    ASINIR_.settle();
    for (std::size_t k = 0; k < n; ++k) {
        if (ASINIR_.min[k] && ASINIR_.max[k]) {
            ATABLO_.push_back(ATABLO_[k]);
            ASINIR_.append(std::nullopt, std::nullopt, ASINIR_.max[k]);
            ASATIRADI_.append(ASATIRADI_.at(qsizetype(k)));
            m_splitRows.emplace_back(int(ASINIR_.size() - 1), int(k));
            ASINIR_.max[k].reset();
        }
    }
}

void KY_OPTIMIZER::ADDBMTYPE()
{
    for (std::size_t k = 0; k < std::size_t(ASATIRADI_.size()); ++k)
        ASATIRTIPI_.append(ASINIR_.kind(k));
}

void KY_OPTIMIZER::BMOUSTLIMADD()
{
    const std::size_t n = ABMOTANIM_lim_.size();
    ABMOTANIM_lim_.settle();
    m_ratioSplitFrom.assign(n, -1);
    for (std::size_t k = 0; k < n; ++k) {
        if (ABMOTANIM_lim_.min[k] && ABMOTANIM_lim_.max[k]) {
            ABMOTANIM_num_.append(ABMOTANIM_num_.at(qsizetype(k)));
            ABMOTANIM_den_.append(ABMOTANIM_den_.at(qsizetype(k)));
            ABMOTANIM_lim_.append(std::nullopt, std::nullopt, ABMOTANIM_lim_.max[k]);
            m_ratioSplitFrom.push_back(int(k));
            ABMOTANIM_lim_.max[k].reset();
        }
    }
}

void KY_OPTIMIZER::BMOADD()
{
    if (ABMOTANIM_lim_.size() == 0)
        return;
    BMOUSTLIMADD();
    const std::size_t columns = ATABLO_.empty() ? std::size_t(NYMSAYISI_) : ATABLO_.front().size();
    std::vector<int> fullRowOfDefinition(ABMOTANIM_lim_.size(), -1);
    for (std::size_t d = 0; d < ABMOTANIM_lim_.size(); ++d) {
        const qsizetype num = ASATIRADI_.indexOf(ABMOTANIM_num_.at(qsizetype(d)));
        const qsizetype den = ASATIRADI_.indexOf(ABMOTANIM_den_.at(qsizetype(d)));
        if (num < 0 || den < 0)
            continue;
        ABMOSATIR_num_.push_back(int(num));
        ABMOSATIR_den_.push_back(int(den));
        fullRowOfDefinition[d] = int(ASATIRADI_.size());
        ASATIRADI_.append(GETNTRUNCATED(ABMOTANIM_num_.at(qsizetype(d)), ABMOTANIM_den_.at(qsizetype(d))));
        const QString kind = ABMOTANIM_lim_.kind(d);
        ASATIRTIPI_.append(kind);
        const Limit r = ABMOTANIM_lim_.active(d);
        AILKSINIR_.append(kind == kSabit ? r : std::nullopt, kind == kAlt ? r : std::nullopt,
                          kind == kUst ? r : std::nullopt);
        if (!r)
            continue;
        std::vector<double> row = ratioCoefficients(ATABLO_[std::size_t(num)], ATABLO_[std::size_t(den)], *r);
        row.resize(columns, 0.0);
        ATABLO_.push_back(std::move(row));
        ASINIR_.append(kind == kSabit ? Limit(0.0) : std::nullopt, kind == kAlt ? Limit(0.0) : std::nullopt,
                       kind == kUst ? Limit(0.0) : std::nullopt);
    }
    for (std::size_t d = 0; d < m_ratioSplitFrom.size(); ++d) {
        const int from = m_ratioSplitFrom[d];
        if (from >= 0 && fullRowOfDefinition[d] >= 0 && fullRowOfDefinition[std::size_t(from)] >= 0)
            m_splitRows.emplace_back(fullRowOfDefinition[d], fullRowOfDefinition[std::size_t(from)]);
    }
}

std::vector<double> KY_OPTIMIZER::ratioCoefficients(const std::vector<double> &numerator,
                                                    const std::vector<double> &denominator, double ratio)
{
    std::vector<double> row(std::min(numerator.size(), denominator.size()), 0.0);
    for (std::size_t j = 0; j < row.size(); ++j) {
        const double c = numerator[j] - ratio * denominator[j];
        row[j] = std::fabs(c) < 1e-8 ? 0.0 : c;
    }
    return row;
}

QString KY_OPTIMIZER::GETNTRUNCATED(const QString &numerator, const QString &denominator)
{
    QString name = numerator + u'/' + denominator;
    if (name.size() > 25)
        name = numerator.left(12) + u'/' + denominator.left(12);
    return name;
}

void KY_OPTIMIZER::YEMMADADD()
{
    AYMSINIR_.settle();
    const std::size_t columns = ATABLO_.empty() ? std::size_t(NYMSAYISI_) : ATABLO_.front().size();
    const std::vector<Limit> *lists[3] = {&AYMSINIR_.fix, &AYMSINIR_.min, &AYMSINIR_.max};
    const QString kinds[3] = {kSabit, kAlt, kUst};
    for (int kind = 0; kind < 3; ++kind) {
        for (std::size_t j = 0; j < AYMSINIR_.size(); ++j) {
            const Limit v = (*lists[kind])[j];
            if (!v)
                continue;
            ASATIRADI_.append(AYMADI_.at(qsizetype(j)));
            ASATIRTIPI_.append(kinds[kind]);
            std::vector<double> row(columns, 0.0);
            row[j] = 1.0;
            ATABLO_.push_back(std::move(row));
            const Limit f = kind == 0 ? v : std::nullopt;
            const Limit lo = kind == 1 ? v : std::nullopt;
            const Limit hi = kind == 2 ? v : std::nullopt;
            AILKSINIR_.append(f, lo, hi);
            ASINIR_.append(f, lo, hi);
            m_ingredientRowColumn.push_back(int(j));
        }
    }
}

void KY_OPTIMIZER::YGUSTLIMADD()
{
    const std::size_t n = AYMGSINIR_.size();
    AYMGSINIR_.settle();
    // One membership row and one name per group entry, so that the split copies line up.
    AYMGMATRIS_.resize(n, std::vector<double>(NYMSAYISI_, 0.0));
    while (AYMGADI_.size() < qsizetype(n))
        AYMGADI_.append(QString());
    AYMGADI_ = AYMGADI_.mid(0, qsizetype(n));
    m_groupSplitFrom.assign(n, -1);
    for (std::size_t k = 0; k < n; ++k) {
        if (AYMGSINIR_.min[k] && AYMGSINIR_.max[k]) {
            AYMGMATRIS_.push_back(AYMGMATRIS_[k]);
            AYMGADI_.append(AYMGADI_.at(qsizetype(k)));
            AYMGSINIR_.append(std::nullopt, std::nullopt, AYMGSINIR_.max[k]);
            m_groupSplitFrom.push_back(int(k));
            AYMGSINIR_.max[k].reset();
        }
    }
}

void KY_OPTIMIZER::YMGRUPADD()
{
    YGUSTLIMADD();
    const std::size_t columns = ATABLO_.empty() ? std::size_t(NYMSAYISI_) : ATABLO_.front().size();
    const int first = int(ASATIRADI_.size());
    for (std::size_t g = 0; g < AYMGSINIR_.size(); ++g) {
        ASATIRADI_.append(AYMGADI_.at(qsizetype(g)));
        const QString kind = AYMGSINIR_.kind(g);
        ASATIRTIPI_.append(kind);
        const Limit f = AYMGSINIR_.fix[g];
        const Limit lo = AYMGSINIR_.min[g];
        const Limit hi = AYMGSINIR_.max[g];
        AILKSINIR_.append(f, lo, hi);
        if (kind == kYok)
            continue;
        std::vector<double> row = AYMGMATRIS_[g];
        // A shorter membership row is padded with 0.0; a longer one was cut to the ingredient
        // columns when it was read.
        row.resize(columns, 0.0);
        ATABLO_.push_back(std::move(row));
        ASINIR_.append(f, lo, hi);
    }
    for (std::size_t g = 0; g < m_groupSplitFrom.size(); ++g) {
        if (m_groupSplitFrom[g] >= 0)
            m_splitRows.emplace_back(first + int(g), first + m_groupSplitFrom[g]);
    }
}

bool KY_OPTIMIZER::DELBMSINSIZ()
{
    for (std::size_t k = 0; k < ASINIR_.size();) {
        if (!ASINIR_.active(k)) {
            ATABLO_.erase(ATABLO_.begin() + std::ptrdiff_t(k));
            ASINIR_.remove(k);
        } else {
            ++k;
        }
    }
    // Ingredient rows alone make no formula: a problem needs at least one nutrient limit.
    bool anyNutrientLimit = false;
    for (unsigned k = 0; k < NBMSAYISI_ && !anyNutrientLimit; ++k)
        anyNutrientLimit = AILKSINIR_.active(k).has_value();
    if (ATABLO_.empty() || !anyNutrientLimit) {
        ERRBEEP();
        ERRMESS(OOWNER_, QString(),
                QStringList{QStringLiteral("Hiç besin maddesi sınırı verilmedi..."), QString(),
                            QStringLiteral("NOT: Bir hesap yürütebilmek için, en az iki adet besin maddesi sınırı"),
                            QStringLiteral("verilmelidir. Sınır verilmeyen diğer besin maddeleri ise, raporda yer"),
                            QStringLiteral("alsalar da, hesaplamada dikkate alınmazlar.")}
                    .join(u'\n'));
        return false;
    }
    return true;
}

void KY_OPTIMIZER::turnNegativeRows()
{
    // A limit below zero would start its slack or artificial variable below zero, where the simplex
    // is lost. Multiplying the row by -1 makes the start feasible: a minimum becomes a maximum and the
    // other way round; the results undo the turn (the shadow price changes sign).
    m_flipped.assign(ASINIR_.size(), 0);
    for (std::size_t k = 0; k < ASINIR_.size(); ++k) {
        const Limit v = ASINIR_.active(k);
        if (!v || !(*v < 0))
            continue;
        m_flipped[k] = 1;
        for (double &c : ATABLO_[k])
            c = c == 0.0 ? 0.0 : -c;
        if (ASINIR_.fix[k]) {
            ASINIR_.fix[k] = -*v;
        } else if (ASINIR_.min[k]) {
            ASINIR_.min[k].reset();
            ASINIR_.max[k] = -*v;
        } else {
            ASINIR_.max[k].reset();
            ASINIR_.min[k] = -*v;
        }
    }
}

bool KY_OPTIMIZER::tableauFits()
{
    // Every row holds the ingredient columns, a surplus column per minimum row and a slack or
    // artificial column per row.
    const std::uint64_t rows = ASINIR_.size();
    std::uint64_t columns = ATABLO_.empty() ? 0 : ATABLO_.front().size();
    for (std::size_t k = 0; k < ASINIR_.size(); ++k)
        columns += ASINIR_.min[k] ? 2 : 1;
    const std::uint64_t bytes = rows * columns * sizeof(double);
    const std::uint64_t cap = simplexLimits().tableauBytesCap;
    if (bytes <= cap)
        return true;
    const auto megabytes = [](std::uint64_t b) { return QString::number((b + (1 << 20) - 1) >> 20); };
    ERRBEEP();
    ERRMESS(OOWNER_, QString(),
            QStringList{QStringLiteral("Problem çözülemeyecek kadar büyük..."), QString(),
                        QStringLiteral("Hesap tablosu %1 satır ve %2 sütundan oluşacak ve %3 MB bellek gerektirecekti;")
                            .arg(rows)
                            .arg(columns)
                            .arg(megabytes(bytes)),
                        QStringLiteral("en çok %1 MB kullanılabilir. Sınır verilen besin maddesi, oran ve grup sayısını")
                            .arg(megabytes(cap)),
                        QStringLiteral("azaltıp hesabı tekrar yürütünüz.")}
                .join(u'\n'));
    return false;
}

void KY_OPTIMIZER::BMESITLIK()
{
    // The final width is known now: reserve it once rather than growing every row per column.
    std::size_t extra = ASINIR_.size();
    for (std::size_t k = 0; k < ASINIR_.size(); ++k)
        extra += ASINIR_.min[k] ? 1 : 0;
    for (auto &row : ATABLO_)
        row.reserve(row.size() + extra);
    m_surplusColumn.assign(ASINIR_.size(), -1);
    std::vector<std::size_t> minimumRows;
    for (std::size_t i = 0; i < ASINIR_.size(); ++i) {
        if (ASINIR_.min[i])
            minimumRows.push_back(i);
    }
    const int first = addColumns(minimumRows, -1.0);
    for (std::size_t k = 0; k < minimumRows.size(); ++k) {
        AMALIYET_.push_back(0.0);
        m_surplusColumn[minimumRows[k]] = first + int(k);
    }
}

void KY_OPTIMIZER::SDEGISKEN()
{
    m_artificialColumns.clear();
    std::vector<std::size_t> everyRow(ASINIR_.size());
    for (std::size_t i = 0; i < everyRow.size(); ++i)
        everyRow[i] = i;
    const int first = addColumns(everyRow, 1.0);
    for (std::size_t i = 0; i < ASINIR_.size(); ++i) {
        const bool artificial = ASINIR_.fix[i] || ASINIR_.min[i];
        AMALIYET_.push_back(artificial ? UBUYUKM_ : 0.0);
        const int column = first + int(i);
        if (artificial)
            m_artificialColumns.push_back(column);
        ABAZ_.push_back(column);
    }
}

void KY_OPTIMIZER::ADDNMATKOL(unsigned row, double value)
{
    addColumns({std::size_t(row - 1)}, value);
}

int KY_OPTIMIZER::addColumns(const std::vector<std::size_t> &rowOf, double value)
{
    // All the columns at once: each row grows once instead of once per column.
    const std::size_t first = ATABLO_.empty() ? 0 : ATABLO_.front().size();
    for (auto &row : ATABLO_)
        row.resize(row.size() + rowOf.size(), 0.0);
    for (std::size_t k = 0; k < rowOf.size(); ++k) {
        if (rowOf[k] < ATABLO_.size())
            ATABLO_[rowOf[k]][first + k] = value;
    }
    return int(first);
}

void KY_OPTIMIZER::packTableau()
{
    const int m = int(ATABLO_.size());
    const int n = int(ATABLO_.front().size());
    // The artificial column of a minimum row is the negated surplus column of that row.
    std::vector<int> mirrorOf(std::size_t(n), -1);
    for (int i = 0; i < m; ++i) {
        if (m_surplusColumn[std::size_t(i)] >= 0)
            mirrorOf[std::size_t(ABAZ_[std::size_t(i)])] = m_surplusColumn[std::size_t(i)];
    }
    m_t = SimplexTableau(m, n, mirrorOf);
    for (int i = 0; i < m; ++i)
        m_t.setRow(i, ATABLO_[std::size_t(i)].data());
    ATABLO_.clear();
    ATABLO_.shrink_to_fit();
    m_t.indexRows();
    m_t.cost = AMALIYET_;
    for (int c : m_artificialColumns)
        m_t.artificial[std::size_t(c)] = 1;
    for (int i = 0; i < m; ++i) {
        m_t.basis[std::size_t(i)] = ABAZ_[std::size_t(i)];
        m_t.cb[std::size_t(i)] = AMALIYET_[std::size_t(ABAZ_[std::size_t(i)])];
        m_t.rhs[std::size_t(i)] = *ASINIR_.active(std::size_t(i));
    }
}

Limit KY_OPTIMIZER::ACTSINVALUE(unsigned row) const
{
    if (row < 1 || row > AILKSINIR_.size())
        return std::nullopt;
    return AILKSINIR_.active(row - 1);
}

} // namespace vexo
