#include "refdb/matrix_rebuild.h"

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

RebuildOutcome rebuildReferenceMatrix(const DbfStructure &layout, const RebuildFault &fault)
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

    FileSpec built(fresh);
    if (injected(fault, RebuildStep::Replace) || !built.copy(live)) {
        const bool held = built.status() && (built.status()->code == DbfErrorCode::Locked
                                             || built.status()->code == DbfErrorCode::Exclusive);
        return failed(held ? kRebuildLiveHeld : kRebuildReplaceFailed);
    }
    cleanUp();
    return {true, kRebuildDone};
}

bool rebuildReferenceMatrixFromDefinitions(QWidget *owner, const RebuildFault &fault)
{
    const RebuildOutcome outcome = rebuildReferenceMatrix(RM_CREATESTRUCT(), fault);
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
