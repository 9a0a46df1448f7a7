#include "problem/open_problem.h"

#include "problem/dbserverr.h"
#include "problem/file_names.h"

#include <QSet>

#include <algorithm>

namespace vexo {

OpenProblem::OpenProblem() = default;
OpenProblem::~OpenProblem() = default;

OpenProblem &openProblem()
{
    static OpenProblem problem;
    return problem;
}

namespace {

QString openProblemPath()
{
    const OpenProblem &p = openProblem();
    return p.OPROBDBF ? p.OPROBDBF->path() : QString();
}

} // namespace

QString PROBFILENAME()
{
    const QString path = openProblemPath();
    return path.isEmpty() ? QString() : PROBFILENAME(path);
}

QString PROBFILEBASE()
{
    const QString path = openProblemPath();
    return path.isEmpty() ? QString() : PROBFILEBASE(path);
}

QString PROBFILEDIR()
{
    const QString path = openProblemPath();
    return path.isEmpty() ? QString() : PROBFILEDIR(path);
}

bool isBlank(const QString &cell)
{
    // What trimmed() would remove, without making the trimmed copy (the solver asks this of every
    // cell of the matrices).
    return std::all_of(cell.begin(), cell.end(), [](QChar ch) { return ch.isSpace(); });
}

QString withoutViolationMark(const QString &cell)
{
    QString out = cell;
    out.remove(u'*');
    return out;
}

bool OpenProblem::anyDirty() const
{
    return LYMDEG || LYMSTOKDEG || LBMDEG || LBMODEG || LYMGDEG || LAMATDEG || LPRMDEG;
}

void OpenProblem::setAllDirty(bool dirty)
{
    LYMDEG = LYMSTOKDEG = LBMDEG = LBMODEG = LYMGDEG = LAMATDEG = LPRMDEG = dirty;
}

void OpenProblem::DELMATROW(int n)
{
    if (AAMAT.isEmpty() || n < 1 || n > AAMAT.size())
        return;
    AAMAT.removeAt(n - 1);
    LAMATDEG = true;
}

namespace {

bool deleteCell(RowList &matrix, int n)
{
    if (matrix.isEmpty() || n < 1 || n > matrix.first().size())
        return false;
    for (Row &row : matrix) {
        if (n <= row.size())
            row.removeAt(n - 1);
    }
    return true;
}

} // namespace

void OpenProblem::DELMATCOL(int n)
{
    if (deleteCell(AAMAT, n))
        LAMATDEG = true;
}

void OpenProblem::DELGMATCOL(int n)
{
    if (deleteCell(AGMAT, n))
        LYMGDEG = true;
}

void OpenProblem::ORANIDASIL2(const QString &name)
{
    for (qsizetype i = ABMOLIST.size() - 1; i >= 0; --i) {
        const Row &row = ABMOLIST.at(i);
        const QString a = row.value(BMONAME1).trimmed();
        const QString b = row.value(BMONAME2).trimmed();
        if (a == name || b == name) {
            ABMOLIST.removeAt(i);
            LBMODEG = true;
        }
    }
}

void OpenProblem::deleteNutrient(int n)
{
    if (n < 1 || n > ABMLIST.size())
        return;
    const QString name = ABMADLARI.value(n - 1);
    if (n <= ABMADLARI.size())
        ABMADLARI.removeAt(n - 1);
    ABMLIST.removeAt(n - 1);
    if (n <= ABMBIRIMLERI.size())
        ABMBIRIMLERI.removeAt(n - 1);
    LBMDEG = true;
    DELMATROW(n);
    ORANIDASIL2(name);
}

void OpenProblem::deleteIngredient(int n)
{
    if (n < 1 || n > AYMLIST.size())
        return;
    if (n <= AYMADLARI.size())
        AYMADLARI.removeAt(n - 1);
    AYMLIST.removeAt(n - 1);
    if (n <= AYMSTOK.size())
        AYMSTOK.removeAt(n - 1);
    LYMDEG = true;
    LYMSTOKDEG = true;
    DELMATCOL(n);
    DELGMATCOL(n);
}

void OpenProblem::KAYITLICOZUM()
{
    auto anySaved = [](const RowList &list, int column) {
        for (const Row &row : list) {
            if (!isBlank(row.value(column)))
                return true;
        }
        return false;
    };
    if (anySaved(AYMLIST, YMKCOZUM))
        LYMKCOZUMVAR = true;
    if (anySaved(ABMLIST, BMKCOZUM))
        LBMKCOZUMVAR = true;
    if (anySaved(ABMOLIST, BMOKCOZUM))
        LBMOKCOZUMVAR = true;
    if (anySaved(AYMGLIST, YMGKCOZUM))
        LYMGKCOZUMVAR = true;
}

void OpenProblem::STOKARRAY()
{
    if (AYMSTOK.isEmpty())
        AYMSTOK = QList<bool>(AYMADLARI.size(), true);
}

void OpenProblem::reset()
{
    OPROBDBF.reset();
    setAllDirty(false);
    APARMLIST.clear();
    ABMLIST.clear();
    AYMLIST.clear();
    ABMOLIST.clear();
    AAMAT.clear();
    AYMADLARI.clear();
    ABMADLARI.clear();
    ABMBIRIMLERI.clear();
    AYMGADLARI.clear();
    AYMGLIST.clear();
    AGMAT.clear();
    CCOZUMDURUMU.clear();
    LAMATHAZIR = false;
    NMALIYET = NONCEKIMALIYET = NKAYITLIMALIYET = 0.0;
    NCOZUMSAYISI = 0;
    LYMKCOZUMVAR = LBMKCOZUMVAR = LBMOKCOZUMVAR = LYMGKCOZUMVAR = false;
    AYMSTOK.clear();
}

QStringList OpenProblem::checkInvariants() const
{
    QStringList broken;
    auto trimmedNames = [](const RowList &list, int column) {
        QStringList out;
        for (const Row &row : list)
            out.append(row.value(column).trimmed());
        return out;
    };
    if (AYMADLARI.size() != AYMLIST.size() || AYMSTOK.size() != AYMLIST.size())
        broken << QStringLiteral("ingredient names, stock flags and rows differ in length");
    else if (AYMADLARI != trimmedNames(AYMLIST, YMNAME))
        broken << QStringLiteral("ingredient names do not match the rows");
    if (ABMADLARI.size() != ABMLIST.size() || ABMBIRIMLERI.size() != ABMLIST.size())
        broken << QStringLiteral("nutrient names, units and rows differ in length");
    else if (ABMADLARI != trimmedNames(ABMLIST, BMNAME))
        broken << QStringLiteral("nutrient names do not match the rows");
    if (AYMGADLARI.size() != AYMGLIST.size())
        broken << QStringLiteral("group names and rows differ in length");
    if (AAMAT.size() != ABMLIST.size())
        broken << QStringLiteral("active matrix rows differ from the nutrients");
    for (const Row &row : AAMAT) {
        if (row.size() != AYMLIST.size()) {
            broken << QStringLiteral("an active matrix row differs from the ingredients");
            break;
        }
    }
    if (AGMAT.size() != AYMGLIST.size())
        broken << QStringLiteral("membership rows differ from the groups");
    for (const Row &row : AGMAT) {
        if (row.size() != AYMLIST.size()) {
            broken << QStringLiteral("a membership row differs from the ingredients");
            break;
        }
    }
    const QSet<QString> nutrients(ABMADLARI.cbegin(), ABMADLARI.cend());
    for (const Row &row : ABMOLIST) {
        if (!nutrients.contains(row.value(BMONAME1).trimmed())
            || !nutrients.contains(row.value(BMONAME2).trimmed())) {
            broken << QStringLiteral("a ratio names a nutrient the problem does not have");
            break;
        }
    }
    auto unique = [](const QStringList &names) {
        return QSet<QString>(names.cbegin(), names.cend()).size() == names.size();
    };
    if (!unique(AYMADLARI) || !unique(ABMADLARI) || !unique(AYMGADLARI))
        broken << QStringLiteral("a name occurs twice in its list");
    QStringList ratios;
    for (const Row &row : ABMOLIST)
        ratios << row.value(BMONAME1).trimmed() + u'/' + row.value(BMONAME2).trimmed();
    if (!unique(ratios))
        broken << QStringLiteral("a ratio occurs twice");
    if (AYMLIST.size() > kMaxIngredients)
        broken << QStringLiteral("more ingredients than the problem file can hold");
    return broken;
}

} // namespace vexo
