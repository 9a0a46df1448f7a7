#include "problem/problem_saver.h"

#include "problem/dbserverr.h"
#include "problem/number_text.h"
#include "problem/open_problem.h"
#include "problem/problem_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>
#include <unistd.h>

namespace vexo {

namespace {

struct FieldSlot
{
    QString name;
    int blankWidth;
};

// One list as its writer stores it: the fields of its group and the texts of row i for them.
struct ListLayout
{
    QList<FieldSlot> columns;
    qsizetype rows = 0;
    std::function<QStringList(qsizetype)> values;
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
bool writeRows(DBSERVERR &t, const ListLayout &list, const std::function<bool(qsizetype)> &extra = {})
{
    if (!startAtFirstRecord(t))
        return false;
    for (qsizetype i = 0; i < list.rows; ++i) {
        const QStringList v = list.values(i);
        for (qsizetype f = 0; f < list.columns.size(); ++f) {
            if (!t.fieldPut(list.columns.at(f).name, v.value(f)))
                return false;
        }
        if (extra && !extra(i))
            return false;
        t.skip();
        if (t.eof() && i + 1 < list.rows && !t.append())
            return false;
    }
    for (; !t.eof(); t.skip()) {
        for (const FieldSlot &column : list.columns) {
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

// A membership row is written for every ingredient, whatever the width it was read with: rows of one
// file may differ in width, and a row cut short would drop its group's later members.
qsizetype membershipCells(const Row &row, const OpenProblem &p)
{
    return std::max(row.size(), p.AYMLIST.size());
}

ListLayout ingredientLayout(const OpenProblem &p)
{
    return {{{QStringLiteral("YMADI"), 25}, {QStringLiteral("YMFIAT"), 11}, {QStringLiteral("YMSABIT"), 12},
             {QStringLiteral("YMALTLIM"), 12}, {QStringLiteral("YMUSTLIM"), 12}, {QStringLiteral("YMKCOZUM"), 12}},
            p.AYMLIST.size(),
            [&r = p](qsizetype i) {
                const Row &row = r.AYMLIST.at(i);
                return QStringList{row.value(YMNAME), row.value(YMPRICE), row.value(YMFIX), row.value(YMLLIMIT),
                                   row.value(YMULIMIT), savedSolutionCell(row, YMACOZUM, YMKCOZUM)};
            }};
}

ListLayout nutrientLayout(const OpenProblem &p)
{
    return {{{QStringLiteral("BMADI"), 15}, {QStringLiteral("BMBIRIM"), 11}, {QStringLiteral("BMSABIT"), 11},
             {QStringLiteral("BMALTLIM"), 11}, {QStringLiteral("BMUSTLIM"), 11}, {QStringLiteral("BMKCOZUM"), 11}},
            p.ABMLIST.size(),
            [&r = p](qsizetype i) {
                const Row &row = r.ABMLIST.at(i);
                return QStringList{row.value(BMNAME), row.value(BMUNIT), row.value(BMFIX), row.value(BMLLIMIT),
                                   row.value(BMULIMIT), savedSolutionCell(row, BMACOZUM, BMKCOZUM)};
            }};
}

ListLayout groupLayout(const OpenProblem &p)
{
    return {{{QStringLiteral("GADI"), kYmgNameWidth}, {QStringLiteral("GSABIT"), 11}, {QStringLiteral("GALTLIM"), 11},
             {QStringLiteral("GUSTLIM"), 11}, {QStringLiteral("GKCOZUM"), 11}},
            p.AYMGLIST.size(),
            [&r = p](qsizetype i) {
                const Row &row = r.AYMGLIST.at(i);
                return QStringList{row.value(YMGNAME), row.value(YMGFIX), row.value(YMGLLIMIT), row.value(YMGULIMIT),
                                   savedSolutionCell(row, YMGACOZUM, YMGKCOZUM)};
            }};
}

ListLayout ratioLayout(const OpenProblem &p)
{
    return {{{QStringLiteral("BMADIA"), 15}, {QStringLiteral("BMADIB"), 15}, {QStringLiteral("OSABIT"), 11},
             {QStringLiteral("OALTLIM"), 11}, {QStringLiteral("OUSTLIM"), 11}, {QStringLiteral("OKCOZUM"), 11}},
            p.ABMOLIST.size(),
            [&r = p](qsizetype i) {
                const Row &row = r.ABMOLIST.at(i);
                return QStringList{row.value(BMONAME1), row.value(BMONAME2), row.value(BMOFIX), row.value(BMOLLIMIT),
                                   row.value(BMOULIMIT), savedSolutionCell(row, BMOACOZUM, BMOKCOZUM)};
            }};
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
    const bool ok = writeRows(t, ingredientLayout(p), [&](qsizetype i) {
        return !hasStock || t.fieldPut(QStringLiteral("YMSTOKVY"), p.AYMSTOK.value(i, true));
    });
    if (ok)
        p.LYMDEG = p.LYMSTOKDEG = false;
    return ok;
}

bool BMKAYDI()
{
    OpenProblem &p = openProblem();
    const bool ok = writeRows(*p.OPROBDBF, nutrientLayout(p));
    if (ok)
        p.LBMDEG = false;
    return ok;
}

bool GRUPKAYDI()
{
    OpenProblem &p = openProblem();
    return writeRows(*p.OPROBDBF, groupLayout(p));
}

bool BMOKAYDI()
{
    OpenProblem &p = openProblem();
    const bool ok = writeRows(*p.OPROBDBF, ratioLayout(p));
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
    for (const Row &row : p.AGMAT) {
        if (!advance(t) || !t.fieldPut(ymbmat, cellsText(row, membershipCells(row, p))))
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

QString withoutTrailingBlanks(QString text)
{
    while (text.endsWith(u' '))
        text.chop(1);
    return text;
}

// The first value of the list that its field in this table would cut, or a field the table lacks;
// an empty text when every value fits. The name field `cutField` is cut by design (group names are
// longer in memory than in the file); its clashes are checked on their own.
QString firstMisfit(const ListLayout &list, const QHash<QString, int> &widths, const QString &cutField = {})
{
    for (const FieldSlot &column : list.columns) {
        if (!widths.contains(column.name))
            return QStringLiteral("Problem dosyasında %1 alanı yok.").arg(column.name);
    }
    for (qsizetype i = 0; i < list.rows; ++i) {
        const QStringList values = list.values(i);
        for (qsizetype f = 0; f < list.columns.size(); ++f) {
            const QString &name = list.columns.at(f).name;
            const QString text = withoutTrailingBlanks(values.value(f));
            if (name != cutField && text.size() > widths.value(name))
                return QStringLiteral("\"%1\" değeri problem dosyasının %2 alanına (%3 karakter) sığmıyor.")
                    .arg(text.trimmed(), name)
                    .arg(widths.value(name));
        }
    }
    return {};
}

// Group names that the file's narrower field would turn into one name.
QString groupNameClashes(const OpenProblem &p, int width)
{
    QList<QString> order;
    QHash<QString, QStringList> byStored;
    for (const Row &row : p.AYMGLIST) {
        const QString stored = row.value(YMGNAME).left(width).trimmed();
        if (!byStored.contains(stored))
            order.append(stored);
        byStored[stored].append(u'"' + row.value(YMGNAME).trimmed() + u'"');
    }
    QStringList clashes;
    for (const QString &stored : order) {
        if (byStored.value(stored).size() > 1)
            clashes.append(byStored.value(stored).join(QStringLiteral(", ")));
    }
    if (clashes.isEmpty())
        return {};
    return QStringLiteral("Grup adları dosyada %1 karaktere kısalınca aynı oluyor: %2. "
                          "Bu grupların adlarını kısaltıp yeniden kaydediniz.")
        .arg(width)
        .arg(clashes.join(QStringLiteral("; ")));
}

// --- names and the matrix columns they index ---------------------------------------------------
// The file pairs names with contents by position: ingredient i with cell i of every matrix row,
// nutrient j with active-matrix row j, and its reader skips a record without a name. A save that
// wrote a row without a name, or names in another order or number than the columns, would hand
// contents to other ingredients or nutrients at the next opening: such a save is refused.

// `list` names the list ("Yem maddesi"), `one` one of its names in the matrix ("yem maddesi"),
// `others` the rest ("yem maddelerine").
QString unpairedNames(const RowList &rows, int column, const QStringList &names, const QString &list,
                      const QString &one, const QString &others)
{
    for (qsizetype i = 0; i < rows.size(); ++i) {
        if (isBlank(rows.at(i).value(column)))
            return QStringLiteral("%1 listesinin %2. satırında ad yok; dosya yeniden açıldığında adsız satır "
                                  "atlanır ve değerler başka %3 kayardı. Değişiklikler kaydedilmedi.")
                .arg(list)
                .arg(i + 1)
                .arg(others);
    }
    for (qsizetype i = 0; i < std::max(rows.size(), names.size()); ++i) {
        const QString listed = i < rows.size() ? rows.at(i).value(column).trimmed() : QString();
        if (listed != names.value(i))
            return QStringLiteral("%1 listesinin %2. satırı \"%3\", matrisin %2. %4 \"%5\"; kaydedilirse "
                                  "değerler başka %6 kayardı. Değişiklikler kaydedilmedi.")
                .arg(list)
                .arg(i + 1)
                .arg(listed, one, names.value(i), others);
    }
    return {};
}

// A membership row may be shorter than the ingredients (the ingredients after its end belong to no
// group), a matrix row with cells beyond them never.
QString columnsOfIngredients(const RowList &matrix, qsizetype ingredients, const QString &what, bool shorterAllowed)
{
    for (qsizetype r = 0; r < matrix.size(); ++r) {
        const qsizetype cells = matrix.at(r).size();
        if (cells > ingredients || (cells < ingredients && !shorterAllowed))
            return QStringLiteral("%1 %2. satırında %3 yem maddesinin değeri var, problemde %4 yem maddesi var; "
                                  "kaydedilirse değerler başka yem maddelerine kayardı. Değişiklikler kaydedilmedi.")
                .arg(what)
                .arg(r + 1)
                .arg(matrix.at(r).size())
                .arg(ingredients);
    }
    return {};
}

// Only the parts this save writes are checked: a part left as the file holds it pairs as it did.
QString namesAgainstColumns(const OpenProblem &p)
{
    const bool matrix = p.LAMATDEG || p.LPRMDEG || p.LYMGDEG;
    QString why;
    if (p.LYMDEG || p.LYMSTOKDEG || matrix)
        why = unpairedNames(p.AYMLIST, YMNAME, p.AYMADLARI, QStringLiteral("Yem maddesi"),
                            QStringLiteral("yem maddesi"), QStringLiteral("yem maddelerine"));
    if (why.isEmpty() && (p.LBMDEG || matrix))
        why = unpairedNames(p.ABMLIST, BMNAME, p.ABMADLARI, QStringLiteral("Besin maddesi"),
                            QStringLiteral("besin maddesi"), QStringLiteral("besin maddelerine"));
    if (why.isEmpty() && (p.LYMDEG || p.LYMSTOKDEG || matrix))
        why = columnsOfIngredients(p.AAMAT, p.AYMLIST.size(), QStringLiteral("Aktif matrisin"), false);
    if (why.isEmpty() && (p.LYMDEG || p.LYMSTOKDEG || matrix))
        why = columnsOfIngredients(p.AGMAT, p.AYMLIST.size(), QStringLiteral("Grup matrisinin"), true);
    return why;
}

// Why the problem cannot be stored whole in this table, or an empty text when it can. Only the
// parts that this save writes are checked, against the table's real field widths.
QString storageProblem(const OpenProblem &p, const DbfTable &t)
{
    if (p.AYMLIST.size() > kMaxIngredients)
        return tooManyIngredientsText(int(p.AYMLIST.size()));
    if (const QString why = namesAgainstColumns(p); !why.isEmpty())
        return why;
    QHash<QString, int> widths;
    for (const DbfField &f : t.dbStruct())
        widths.insert(f.name.toUpper(), f.width);
    QString why;
    if (p.LYMDEG || p.LYMSTOKDEG)
        why = firstMisfit(ingredientLayout(p), widths);
    if (why.isEmpty() && p.LBMDEG)
        why = firstMisfit(nutrientLayout(p), widths);
    if (why.isEmpty() && p.LYMGDEG) {
        why = firstMisfit(groupLayout(p), widths, QStringLiteral("GADI"));
        if (why.isEmpty())
            why = groupNameClashes(p, widths.value(QStringLiteral("GADI")));
    }
    if (why.isEmpty() && p.LBMODEG)
        why = firstMisfit(ratioLayout(p), widths);
    if (!why.isEmpty())
        return why;
    if (!(p.LAMATDEG || p.LPRMDEG || p.LYMGDEG))
        return {};
    if (!widths.contains(QStringLiteral("YMBMAT")))
        return QStringLiteral("Problem dosyasında YMBMAT alanı yok.");
    const int field = widths.value(QStringLiteral("YMBMAT"));
    auto tooWide = [field](const RowList &matrix, const std::function<qsizetype(const Row &)> &cellsOf) {
        for (const Row &row : matrix) {
            if (cellsText(row, cellsOf(row)).size() > field)
                return true;
        }
        return false;
    };
    const qsizetype activeCells = widthOf(p.AAMAT);
    if (tooWide(p.AAMAT, [activeCells](const Row &) { return activeCells; })
        || tooWide(p.AGMAT, [&p](const Row &row) { return membershipCells(row, p); }) || cellsText(p.APARMLIST, p.APARMLIST.size()).size() > field)
        return QStringLiteral("Aktif matrisin bir satırı dosyadaki alana (%1 karakter) sığmıyor.").arg(field);
    return {};
}

// The dirty flags and the parameters, as they were before a save that may not happen.
struct SaveState
{
    bool ym, stock, bm, bmo, groups, matrix, parameters;
    QStringList parameterList;

    static SaveState of(const OpenProblem &p)
    {
        return {p.LYMDEG, p.LYMSTOKDEG, p.LBMDEG, p.LBMODEG, p.LYMGDEG, p.LAMATDEG, p.LPRMDEG, p.APARMLIST};
    }
    void restore(OpenProblem &p) const
    {
        p.LYMDEG = ym;
        p.LYMSTOKDEG = stock;
        p.LBMDEG = bm;
        p.LBMODEG = bmo;
        p.LYMGDEG = groups;
        p.LAMATDEG = matrix;
        p.LPRMDEG = parameters;
        p.APARMLIST = parameterList;
    }
};

// The refusals a user settles by hand: another program saving, changing, deleting or moving the
// file; empty for any other failure.
QString refusalText(const DBSERVERR &t)
{
    const DbfErrorCode code = t.status() ? t.status()->code : DbfErrorCode::Write;
    const QString name = t.label();
    switch (code) {
    case DbfErrorCode::Locked:
        return QStringLiteral("Problem dosyası şu anda başka bir program tarafından kaydediliyor; "
                              "değişiklikler kaydedilmedi. Biraz sonra tekrar kaydediniz.");
    case DbfErrorCode::Changed:
        return QStringLiteral("%1 dosyası, bu program açtıktan sonra başka bir program tarafından "
                              "değiştirilmiş; değişiklikleriniz bu dosyaya kaydedilmedi.")
            .arg(name);
    case DbfErrorCode::Deleted:
        return QStringLiteral("%1 dosyası, bu program açtıktan sonra silinmiş; değişiklikleriniz kaydedilmedi.")
            .arg(name);
    case DbfErrorCode::Moved: {
        const QString folder = QFileInfo(t.path()).absolutePath();
        if (!QFileInfo(folder).isDir())
            return QStringLiteral("%1 dosyasının bulunduğu %2 klasörü, bu program dosyayı açtıktan sonra taşınmış, "
                                  "adı değiştirilmiş ya da silinmiş; değişiklikleriniz kaydedilmedi.")
                .arg(name, QDir::toNativeSeparators(folder));
        return QStringLiteral("%1 dosyası, bu program açtıktan sonra taşınmış ya da adı değiştirilmiş; "
                              "değişiklikleriniz kaydedilmedi.")
            .arg(name);
    }
    default:
        return {};
    }
}

// Where and why a file opened read-only cannot take the save.
QString readOnlyText(const DBSERVERR &t)
{
    const QByteArray path = QFile::encodeName(t.path());
    const int err = ::access(path.constData(), W_OK) == 0 ? EACCES : errno;
    return QStringLiteral("%1 dosyası salt okunur açıldı; bulunduğu %2 klasörüne yazılamıyor (%3). "
                          "Değişiklikler kaydedilmedi.")
        .arg(t.label(), QDir::toNativeSeparators(QFileInfo(t.path()).absolutePath()),
             QString::fromLocal8Bit(std::strerror(err)));
}

bool runWriters(OpenProblem &p)
{
    if ((p.LYMDEG || p.LYMSTOKDEG) && !YMKAYDI())
        return false;
    if (p.LBMDEG && !BMKAYDI())
        return false;
    if (p.LYMGDEG && !GRUPKAYDI())
        return false;
    if ((p.LAMATDEG || p.LPRMDEG || p.LYMGDEG) && !MATRIXKAYDI())
        return false;
    if (p.LBMODEG && !BMOKAYDI())
        return false;
    return true;
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
    DBSERVERR &t = *p.OPROBDBF;
    if (t.isReadOnly())
        return fail(readOnlyText(t));
    const QString problem = storageProblem(p, t);
    if (!problem.isEmpty())
        return fail(problem);
    // The writers work on a complete copy of the file, which takes the file's place only when every
    // write succeeded; until then the file stays as it was and the flags say what is unsaved.
    if (!t.beginReplacement()) {
        const QString refusal = refusalText(t);
        if (!refusal.isEmpty())
            return fail(refusal);
        if (t.status() && t.status()->code == DbfErrorCode::Folder)
            return fail(QStringLiteral("Problem dosyasının bulunduğu klasöre yazılamıyor (%1); dosya kaydedilirken "
                                       "bu klasörde yeni bir dosya oluşturulur. Değişiklikler kaydedilmedi.")
                            .arg(t.status()->description));
        return fail(QStringLiteral("Problem dosyası kaydedilemedi; değişiklikler kaydedilmedi.")
                    + (t.status() ? QStringLiteral(" : ") + t.status()->text() : QString()));
    }
    const SaveState before = SaveState::of(p);
    if (!runWriters(p) || !t.finishReplacement()) {
        const QString refusal = refusalText(t);
        const QString reason = t.status() ? QStringLiteral(" : ") + t.status()->text() : QString();
        t.abandonReplacement();
        before.restore(p);
        if (!refusal.isEmpty())
            return fail(refusal);
        return fail(QStringLiteral("Problem dosyasına yazılamadı; değişiklikler kaydedilmedi.") + reason);
    }
    return true;
}

QString problemSaveNarrowedRights()
{
    const OpenProblem &p = openProblem();
    return p.OPROBDBF ? p.OPROBDBF->rightsNarrowed() : QString();
}

bool problemFileChangedElsewhere()
{
    const OpenProblem &p = openProblem();
    if (p.OPROBDBF && p.OPROBDBF->isOpen() && p.OPROBDBF->isReadOnly())
        return true;
    if (!p.OPROBDBF || !p.OPROBDBF->status())
        return false;
    const DbfErrorCode code = p.OPROBDBF->status()->code;
    return code == DbfErrorCode::Changed || code == DbfErrorCode::Deleted || code == DbfErrorCode::Moved;
}

} // namespace vexo
