#include "problem/problem_saver.h"

#include "problem/dbserverr.h"
#include "problem/number_text.h"
#include "problem/open_problem.h"
#include "problem/problem_file.h"

#include <functional>

namespace vexo {

namespace {

struct FieldSlot
{
    QString name;
    int blankWidth;
};

// Moves to the next record, appending one past the end; false when the append was refused.
bool advance(DBSERVERR &t)
{
    t.skip();
    return !t.eof() || t.append();
}

bool startAtFirstRecord(DBSERVERR &t)
{
    if (t.lastRec() == 0)
        return t.append();
    return t.goTop();
}

// The steps every list writer shares: row i goes into record i, records are appended as needed,
// and the group's fields of the records beyond the list are blanked.
bool writeRows(DBSERVERR &t, qsizetype rows, const QList<FieldSlot> &columns,
               const std::function<QStringList(qsizetype)> &values,
               const std::function<bool(qsizetype)> &extra = {})
{
    if (!startAtFirstRecord(t))
        return false;
    for (qsizetype i = 0; i < rows; ++i) {
        const QStringList v = values(i);
        for (qsizetype f = 0; f < columns.size(); ++f) {
            if (!t.fieldPut(columns.at(f).name, v.value(f)))
                return false;
        }
        if (extra && !extra(i))
            return false;
        t.skip();
        if (t.eof() && i + 1 < rows && !t.append())
            return false;
    }
    for (; !t.eof(); t.skip()) {
        for (const FieldSlot &column : columns) {
            if (!t.fieldPut(column.name, QString(column.blankWidth, u' ')))
                return false;
        }
    }
    return true;
}

// The saved-solution field receives the current solution; before any solve since opening there is
// none, and the stored saved solution is written back rather than blanked.
QString savedSolutionCell(const Row &row, int current, int saved)
{
    return openProblem().NCOZUMSAYISI > 0 ? row.value(current) : row.value(saved);
}

QString cellsText(const QStringList &cells, qsizetype count)
{
    QStringList clean;
    clean.reserve(count);
    for (qsizetype i = 0; i < count; ++i)
        clean.append(QString(cells.value(i)).replace(u',', u' '));
    return encodeYmbmat(clean, count);
}

qsizetype widthOf(const RowList &matrix)
{
    return matrix.isEmpty() ? 0 : matrix.first().size();
}

} // namespace

void QVPARMARRANGE()
{
    OpenProblem &p = openProblem();
    if (p.APARMLIST.isEmpty()) {
        p.APARMLIST = {QStringLiteral("K"), QStringLiteral("1000.00"), QStringLiteral("TL"), QStringLiteral("Kg")};
        p.LPRMDEG = true;
    }
    if (p.APARMLIST.size() == 4) {
        p.APARMLIST << QString(40, u' ') << QString(40, u' ') << QString(40, u' ') << QString(kCellWidth, u' ');
        p.LPRMDEG = true;
    } else if (p.APARMLIST.size() == 7) {
        p.APARMLIST << QString(kCellWidth, u' ');
        p.LPRMDEG = true;
    }
}

bool YMKAYDI()
{
    OpenProblem &p = openProblem();
    DBSERVERR &t = *p.OPROBDBF;
    const bool hasStock = t.fieldPos(QStringLiteral("YMSTOKVY")) != 0;
    const bool ok = writeRows(
        t, p.AYMLIST.size(),
        {{QStringLiteral("YMADI"), 25}, {QStringLiteral("YMFIAT"), 11}, {QStringLiteral("YMSABIT"), 12},
         {QStringLiteral("YMALTLIM"), 12}, {QStringLiteral("YMUSTLIM"), 12}, {QStringLiteral("YMKCOZUM"), 12}},
        [&](qsizetype i) {
            const Row &r = p.AYMLIST.at(i);
            return QStringList{r.value(YMNAME), r.value(YMPRICE), r.value(YMFIX), r.value(YMLLIMIT),
                               r.value(YMULIMIT), savedSolutionCell(r, YMACOZUM, YMKCOZUM)};
        },
        [&](qsizetype i) {
            return !hasStock || t.fieldPut(QStringLiteral("YMSTOKVY"), p.AYMSTOK.value(i, true));
        });
    if (ok)
        p.LYMDEG = p.LYMSTOKDEG = false;
    return ok;
}

bool BMKAYDI()
{
    OpenProblem &p = openProblem();
    const bool ok = writeRows(
        *p.OPROBDBF, p.ABMLIST.size(),
        {{QStringLiteral("BMADI"), 15}, {QStringLiteral("BMBIRIM"), 11}, {QStringLiteral("BMSABIT"), 11},
         {QStringLiteral("BMALTLIM"), 11}, {QStringLiteral("BMUSTLIM"), 11}, {QStringLiteral("BMKCOZUM"), 11}},
        [&](qsizetype i) {
            const Row &r = p.ABMLIST.at(i);
            return QStringList{r.value(BMNAME), r.value(BMUNIT), r.value(BMFIX), r.value(BMLLIMIT),
                               r.value(BMULIMIT), savedSolutionCell(r, BMACOZUM, BMKCOZUM)};
        });
    if (ok)
        p.LBMDEG = false;
    return ok;
}

bool GRUPKAYDI()
{
    OpenProblem &p = openProblem();
    return writeRows(
        *p.OPROBDBF, p.AYMGLIST.size(),
        {{QStringLiteral("GADI"), 15}, {QStringLiteral("GSABIT"), 11}, {QStringLiteral("GALTLIM"), 11},
         {QStringLiteral("GUSTLIM"), 11}, {QStringLiteral("GKCOZUM"), 11}},
        [&](qsizetype i) {
            const Row &r = p.AYMGLIST.at(i);
            return QStringList{r.value(YMGNAME), r.value(YMGFIX), r.value(YMGLLIMIT), r.value(YMGULIMIT),
                               savedSolutionCell(r, YMGACOZUM, YMGKCOZUM)};
        });
}

bool BMOKAYDI()
{
    OpenProblem &p = openProblem();
    const bool ok = writeRows(
        *p.OPROBDBF, p.ABMOLIST.size(),
        {{QStringLiteral("BMADIA"), 15}, {QStringLiteral("BMADIB"), 15}, {QStringLiteral("OSABIT"), 11},
         {QStringLiteral("OALTLIM"), 11}, {QStringLiteral("OUSTLIM"), 11}, {QStringLiteral("OKCOZUM"), 11}},
        [&](qsizetype i) {
            const Row &r = p.ABMOLIST.at(i);
            return QStringList{r.value(BMONAME1), r.value(BMONAME2), r.value(BMOFIX), r.value(BMOLLIMIT),
                               r.value(BMOULIMIT), savedSolutionCell(r, BMOACOZUM, BMOKCOZUM)};
        });
    if (ok)
        p.LBMODEG = false;
    return ok;
}

bool MATRIXKAYDI()
{
    OpenProblem &p = openProblem();
    DBSERVERR &t = *p.OPROBDBF;
    const QString ymbmat = QStringLiteral("YMBMAT");
    if (!startAtFirstRecord(t))
        return false;
    const qsizetype cells = widthOf(p.AAMAT);
    for (const Row &row : p.AAMAT) {
        if (!t.fieldPut(ymbmat, cellsText(row, cells)) || !advance(t))
            return false;
    }
    if (!t.fieldPut(ymbmat, kPrmMarker) || !advance(t))
        return false;
    QVPARMARRANGE();
    if (p.NMALIYET != 0.0 && p.APARMLIST.size() >= 8)
        p.APARMLIST[PARM_SAVEDCOST] = Str(p.NMALIYET, kCellWidth, 3);
    if (!t.fieldPut(ymbmat, cellsText(p.APARMLIST, p.APARMLIST.size())) || !advance(t))
        return false;
    if (!t.fieldPut(ymbmat, kGrupMarker))
        return false;
    const qsizetype members = widthOf(p.AGMAT);
    for (const Row &row : p.AGMAT) {
        if (!advance(t) || !t.fieldPut(ymbmat, cellsText(row, members)))
            return false;
    }
    for (t.skip(); !t.eof(); t.skip()) {
        if (!t.fieldPut(ymbmat, QString()))
            return false;
    }
    p.LAMATDEG = p.LYMGDEG = p.LPRMDEG = false;
    return true;
}

QString tooManyIngredientsText(int count)
{
    return QStringLiteral("Bir problemde en çok %1 yem maddesi olabilir; bu problemde %2 yem maddesi var.")
        .arg(kMaxIngredients)
        .arg(count);
}

namespace {

// Why the problem cannot be stored whole, or an empty text when it can.
QString storageProblem(const OpenProblem &p)
{
    if (p.AYMLIST.size() > kMaxIngredients)
        return tooManyIngredientsText(int(p.AYMLIST.size()));
    auto tooWide = [](const RowList &matrix) {
        const qsizetype cells = widthOf(matrix);
        for (const Row &row : matrix) {
            if (cellsText(row, cells).size() > kYmbmatWidth)
                return true;
        }
        return false;
    };
    if (tooWide(p.AAMAT) || tooWide(p.AGMAT) || cellsText(p.APARMLIST, p.APARMLIST.size()).size() > kYmbmatWidth)
        return QStringLiteral("Aktif matrisin bir satırı dosyadaki alana sığmıyor.");
    return {};
}

} // namespace

bool PROBDBFUPDATE(QString *error)
{
    OpenProblem &p = openProblem();
    auto fail = [&](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    if (!p.OPROBDBF)
        return fail(QStringLiteral("Açık problem yok."));
    const QString problem = storageProblem(p);
    if (!problem.isEmpty())
        return fail(problem);
    const QString refused = QStringLiteral("Problem dosyasına yazılamadı; değişiklikler kaydedilmedi.");
    if ((p.LYMDEG || p.LYMSTOKDEG) && !YMKAYDI())
        return fail(refused);
    if (p.LBMDEG && !BMKAYDI())
        return fail(refused);
    if (p.LYMGDEG && !GRUPKAYDI())
        return fail(refused);
    if ((p.LAMATDEG || p.LPRMDEG || p.LYMGDEG) && !MATRIXKAYDI())
        return fail(refused);
    if (p.LBMODEG && !BMOKAYDI())
        return fail(refused);
    if (!p.OPROBDBF->commit())
        return fail(refused);
    return true;
}

} // namespace vexo
