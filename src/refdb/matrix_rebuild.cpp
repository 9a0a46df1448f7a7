#include "refdb/matrix_rebuild.h"

#include "platform/atomic_file.h"
#include "platform/dbf_filespec.h"
#include "platform/dbf_table.h"
#include "platform/message_sink.h"
#include "problem/app_globals.h"
#include "problem/dbserverr.h"
#include "problem/file_ops.h"
#include "problem/messages.h"
#include "problem/reference_tables.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <optional>

namespace vexo {

namespace {

const QString kCaption = QStringLiteral("Bilgi...");

bool injected(const RebuildFault &fault, RebuildStep step)
{
    return fault && fault(step);
}

// A kept value survived when its text (blanks at the end are padding) or its number is the same.
bool sameValue(const DbfField &field, const QVariant &before, const QVariant &after)
{
    if (field.type == u'N' || field.type == u'F') {
        if (before.isNull() || after.isNull())
            return before.isNull() == after.isNull();
        return std::abs(before.toDouble() - after.toDouble()) < 1e-9;
    }
    auto cut = [](QString s) {
        while (s.endsWith(u' '))
            s.chop(1);
        return s;
    };
    return cut(before.toString()) == cut(after.toString());
}

// Every row of the old table arrived in the new one, and every column the new table keeps holds
// the old values in the old order.
bool carriedOver(const QString &oldPath, const QString &newPath)
{
    DbfTable before(oldPath, true, true);
    DbfTable after(newPath, true, true);
    if (before.status() || after.status())
        return false;
    QList<QPair<int, int>> kept; // positions in the old and the new table
    const DbfStructure fields = after.dbStruct();
    for (int i = 0; i < fields.size(); ++i) {
        const int from = before.fieldPos(fields[i].name);
        if (from > 0)
            kept.append({from, i + 1});
    }
    before.goTop();
    after.goTop();
    while (!before.eof() && !after.eof()) {
        for (const auto &[from, to] : std::as_const(kept)) {
            if (!sameValue(fields[to - 1], before.fieldGet(from), after.fieldGet(to)))
                return false;
        }
        before.skip();
        after.skip();
    }
    return before.eof() && after.eof() && !before.status() && !after.status();
}

} // namespace

DbfStructure withWideCode(DbfStructure layout)
{
    if (!layout.isEmpty() && layout[0].name == QStringLiteral("KOD"))
        layout[0].width = 5;
    return layout;
}

DbfStructure matrixLayoutForAbbreviations(const QStringList &abbreviations)
{
    return withWideCode(referenceLayoutFromAbbreviations(abbreviations));
}

int MASCAN(const DbfStructure &structure, const QString &name)
{
    const QString wanted = name.trimmed();
    return int(std::count_if(structure.cbegin(), structure.cend(),
                             [&](const DbfField &f) { return f.name == wanted; }));
}

DbfStructure RM_CREATESTRUCT()
{
    return withWideCode(referenceLayoutFromDefinitions());
}

QString rebuildFolder()
{
    return QDir(appGlobals().CVERIKOK).filePath(QStringLiteral("Temp_Data"));
}

QString newMatrixPath()
{
    return QDir(rebuildFolder()).filePath(QStringLiteral("NEWMAT.DBF"));
}

QString matrixCopyPath()
{
    return QDir(rebuildFolder()).filePath(kReferenceMatrixFile);
}

RebuildOutcome rebuildReferenceMatrix(const DbfStructure &layout, const RebuildFault &fault, RebuildKeep *keep)
{
    if (layout.isEmpty())
        return {};
    const QString live = referenceMatrixPath();
    const QString fresh = newMatrixPath();
    const QString copy = matrixCopyPath();
    auto cleanUp = [&] {
        SFDELETE(copy);
        SFDELETE(fresh);
    };
    auto failed = [&](const QString &message) {
        cleanUp();
        return RebuildOutcome{false, message};
    };

    if (!QDir().mkpath(rebuildFolder()))
        return {false, kRebuildCreateFailed};
    if (!SFDELETE(fresh) || injected(fault, RebuildStep::Create) || !DbfFileSpec(fresh).create(layout))
        return failed(kRebuildCreateFailed);

    if (injected(fault, RebuildStep::Copy) || !FileSpec(live).copy(copy))
        return failed(kRebuildCopyFailed);

    {
        DbfTable target(fresh, false, false);
        if (target.status() || injected(fault, RebuildStep::OpenNew))
            return failed(kRebuildOpenNewFailed);
        DbfTable source(copy, true, true);
        if (source.status() || injected(fault, RebuildStep::OpenCopy))
            return failed(kRebuildOpenCopyFailed);
        const bool appended = !injected(fault, RebuildStep::Append) && target.appendDb(source) && target.commit();
        target.close();
        source.close();
        if (!appended)
            return failed(kRebuildAppendFailed);
    }
    if (injected(fault, RebuildStep::Check) || !carriedOver(copy, fresh))
        return failed(kRebuildAppendFailed);

    if (keep) {
        QString why;
        keep->folder = keepTablesBeforeRebuild(copy, keep->definitions, &why);
        if (keep->folder.isEmpty())
            return failed(kRebuildKeepFailed + why);
    }
    FileSpec built(fresh);
    if (injected(fault, RebuildStep::Replace) || !built.copy(live)) {
        const bool held = built.status() && (built.status()->code == DbfErrorCode::Locked
                                             || built.status()->code == DbfErrorCode::Exclusive);
        if (keep) {
            QDir(keep->folder).removeRecursively(); // the live matrix stays as it was
            keep->folder.clear();
        }
        return failed(held ? kRebuildLiveHeld : kRebuildReplaceFailed);
    }
    cleanUp();
    return {true, kRebuildDone};
}

RebuildLoss rebuildLoss(const DbfStructure &layout)
{
    RebuildLoss loss;
    DbfTable live(referenceMatrixPath(), true, true);
    if (live.status())
        return loss; // the rebuild itself tells why it cannot read the matrix
    const DbfStructure fields = live.dbStruct();
    auto holds = [](const DbfStructure &in, const QString &name) {
        return std::any_of(in.cbegin() + std::min<qsizetype>(kReferenceFixedFields, in.size()), in.cend(),
                           [&](const DbfField &f) { return f.name.compare(name, Qt::CaseInsensitive) == 0; });
    };
    for (int i = kReferenceFixedFields + 1; i <= fields.size(); ++i) {
        const QString name = fields.at(i - 1).name;
        if (holds(layout, name))
            continue;
        int values = 0;
        for (live.goTop(); !live.eof(); live.skip()) {
            if (!live.fieldGet(i).toString().trimmed().isEmpty())
                ++values;
        }
        if (values > 0)
            loss.dropped.append({name, values});
    }
    for (qsizetype i = kReferenceFixedFields; i < layout.size(); ++i) {
        if (!holds(fields, layout.at(i).name))
            loss.added.append(layout.at(i).name);
    }
    return loss;
}

QString rebuildLossQuestion(const RebuildLoss &loss)
{
    QStringList lines = {QStringLiteral("Referans Matrisin şu sütunlarının tanımlarda karşılığı yok; "
                                        "yeniden düzenlemede değerleri silinecek:")};
    for (const auto &[column, values] : loss.dropped)
        lines.append(QStringLiteral("    %1: %2 değer").arg(column).arg(values));
    if (!loss.added.isEmpty())
        lines << QStringLiteral("Boş açılacak yeni sütunlar: %1").arg(loss.added.join(QStringLiteral(", ")));
    lines << QString() << QStringLiteral("Devam edilirse önceki tablolar Temp_Data klasöründe saklanır.")
          << QStringLiteral("Devam edilsin mi?");
    return lines.join(u'\n');
}

QString keepTablesBeforeRebuild(const QString &matrixCopy, const QByteArray &definitions, QString *why)
{
    QString folder;
    for (int n = 1; folder.isEmpty(); ++n) {
        const QString candidate = QDir(rebuildFolder()).filePath(QStringLiteral("Onceki_Tablolar_%1").arg(n));
        if (!QFileInfo::exists(candidate))
            folder = candidate;
    }
    if (!QDir().mkpath(folder)) {
        *why = QStringLiteral("%1 oluşturulamadı").arg(QDir::toNativeSeparators(folder));
        return {};
    }
    const QString defs = QDir(folder).filePath(kNutrientDefinitionFile);
    bool ok = true;
    if (definitions.isEmpty()) {
        FileSpec current(nutrientDefinitionPath());
        ok = current.copy(defs);
        if (!ok)
            *why = current.status() ? current.status()->text() : kNutrientDefinitionFile;
    } else {
        ok = writeFileAtomically(defs, definitions, why);
    }
    QFile matrix(matrixCopy);
    if (ok && !matrix.rename(QDir(folder).filePath(kReferenceMatrixFile))) {
        ok = false;
        *why = matrix.errorString();
    }
    if (!ok) {
        QDir(folder).removeRecursively();
        return {};
    }
    return folder;
}

bool rebuildReferenceMatrixFromDefinitions(QWidget *owner, const RebuildFault &fault,
                                           const QByteArray &definitionsBefore, const QStringList &deletedColumns)
{
    const DbfStructure layout = RM_CREATESTRUCT();
    std::optional<RebuildKeep> keep;
    if (!layout.isEmpty()) {
        const RebuildLoss loss = rebuildLoss(layout);
        const bool told = std::all_of(loss.dropped.cbegin(), loss.dropped.cend(), [&](const auto &column) {
            return deletedColumns.contains(column.first, Qt::CaseInsensitive);
        });
        if (!told && !askYesNo(owner, QStringLiteral("Uyarı..."), rebuildLossQuestion(loss), MB_ICONEXCLAMATION))
            return false;
        if (!loss.dropped.isEmpty())
            keep = RebuildKeep{definitionsBefore, QString()};
    }
    RebuildOutcome outcome = rebuildReferenceMatrix(layout, fault, keep ? &*keep : nullptr);
    if (outcome.ok && keep)
        outcome.message += QStringLiteral("\n\nÖnceki tablolar: ") + QDir::toNativeSeparators(keep->folder);
    if (!outcome.message.isEmpty())
        showMessage(owner, kCaption, outcome.message, MB_OK | MB_ICONINFORMATION);
    return outcome.ok;
}

DbfStructure BM_CREATESTRUCT()
{
    return nutrientDefinitionStructure();
}

bool CREATEDATAFILE()
{
    const QString path = nutrientDefinitionPath();
    if (!DbfFileSpec(path).create(BM_CREATESTRUCT())) {
        MESS2(QStringLiteral("Dosya oluşturma başarısız..."));
        return false;
    }
    DBSERVERR table(path, false, false);
    if (table.status()) {
        MESS2(QStringLiteral("Dosya açma başarısız..."));
        return false;
    }
    if (!table.APPEND()) {
        table.close();
        MESS2(QStringLiteral("BM tanımları veritabanına kayıt ekleme başarısız...\r\n\r\nSonra tekrar deneyiniz!"));
        return false;
    }
    table.fieldPut(QStringLiteral("NUM"), double(table.recNo()));
    table.fieldPut(QStringLiteral("NAME"), QStringLiteral("Kuru Madde"));
    table.fieldPut(QStringLiteral("ABRRE"), QStringLiteral("KM"));
    table.fieldPut(QStringLiteral("UNIT"), QStringLiteral("%"));
    table.fieldPut(QStringLiteral("DECIM"), 4.0);
    table.commit();
    table.close();
    return true;
}

} // namespace vexo
