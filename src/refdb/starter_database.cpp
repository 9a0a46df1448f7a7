#include "refdb/starter_database.h"

#include "platform/dbf_filespec.h"
#include "platform/dbf_table.h"
#include "problem/app_globals.h"
#include "problem/reference_tables.h"
#include "refdb/file_pair_replace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QTemporaryDir>

// The list is compiled into this static library; its registration has to be asked for.
static void initStarterResources()
{
    Q_INIT_RESOURCE(starter_database);
}

namespace vexo {

namespace {

struct NameAndUnit
{
    QString name;
    QString unit;
};

// abbreviation | name | unit, one per line; "#" starts a comment line.
QHash<QString, NameAndUnit> namesAndUnits()
{
    initStarterResources();
    QHash<QString, NameAndUnit> out;
    QFile file(QStringLiteral(":/refdb/starter_definitions.txt"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return out;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    for (const QString &line : lines) {
        if (line.trimmed().isEmpty() || line.trimmed().startsWith(u'#'))
            continue;
        const QStringList parts = line.split(u'|');
        if (parts.size() != 3 || parts[1].trimmed().isEmpty())
            continue;
        const QString abbreviation = parts[0].trimmed();
        if (!out.contains(abbreviation))
            out.insert(abbreviation, {parts[1].trimmed(), parts[2].trimmed()});
    }
    return out;
}

bool fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

bool writeMatrix(const QString &path, QString *error)
{
    if (!DbfFileSpec(path).create(HKM_STRCREATE()))
        return fail(error, QStringLiteral("%1 could not be created").arg(path));
    DbfTable t(path, false, false);
    const bool ok = t.isOpen() && t.append() && t.fieldPut(QStringLiteral("KOD"), double(t.recNo())) && t.commit();
    const QString reason = t.status() ? t.status()->text() : QString();
    t.close();
    return ok || fail(error, QStringLiteral("%1 could not be written: %2").arg(path, reason));
}

bool writeDefinitions(const QString &path, QString *error)
{
    if (!DbfFileSpec(path).create(nutrientDefinitionStructure()))
        return fail(error, QStringLiteral("%1 could not be created").arg(path));
    DbfTable t(path, false, false);
    bool ok = t.isOpen();
    for (const StarterDefinition &d : starterDefinitions()) {
        ok = ok && t.append() && t.fieldPut(QStringLiteral("NUM"), double(d.NUM))
             && t.fieldPut(QStringLiteral("NAME"), d.NAME) && t.fieldPut(QStringLiteral("ABRRE"), d.ABRRE)
             && t.fieldPut(QStringLiteral("UNIT"), d.UNIT) && t.fieldPut(QStringLiteral("DECIM"), double(d.DECIM));
    }
    ok = ok && t.commit();
    const QString reason = t.status() ? t.status()->text() : QString();
    t.close();
    return ok || fail(error, QStringLiteral("%1 could not be written: %2").arg(path, reason));
}

} // namespace

QList<StarterDefinition> starterDefinitions()
{
    const QHash<QString, NameAndUnit> known = namesAndUnits();
    QList<StarterDefinition> out;
    const DbfStructure layout = HKM_STRCREATE();
    for (qsizetype i = kReferenceFixedFields; i < layout.size(); ++i) {
        StarterDefinition d;
        d.NUM = int(out.size()) + 1;
        d.ABRRE = layout[i].name;
        d.NAME = kStarterPlaceholderName;
        if (const auto it = known.constFind(d.ABRRE); it != known.cend()) {
            d.NAME = it->name;
            d.UNIT = it->unit;
        }
        out.append(d);
    }
    return out;
}

bool writeStarterReferenceDatabase(QString *error)
{
    const QString root = appGlobals().CVERIKOK;
    if (root.isEmpty() || !QFileInfo(root).isDir())
        return fail(error, QStringLiteral("the data root %1 is no folder").arg(root));
    // Either table present (in any spelling) means the user's own data: nothing is touched.
    if (QFileInfo::exists(referenceMatrixPath()) || QFileInfo::exists(nutrientDefinitionPath()))
        return true;

    // Both tables are made complete in a folder of their own and then put in place together.
    const QString temp = QDir(root).filePath(QStringLiteral("Temp_Data"));
    QTemporaryDir work(QDir(QFileInfo(temp).isDir() ? temp : root).filePath(QStringLiteral(".starter-XXXXXX")));
    if (!work.isValid())
        return fail(error, QStringLiteral("no work folder for the starter tables: %1").arg(work.errorString()));
    const QString matrix = work.filePath(kReferenceMatrixFile);
    const QString definitions = work.filePath(kNutrientDefinitionFile);
    if (!writeMatrix(matrix, error) || !writeDefinitions(definitions, error))
        return false;
    const PairReplaceResult result = replaceFilePair(
        {matrix, definitions},
        {QDir(root).filePath(kReferenceMatrixFile), QDir(root).filePath(kNutrientDefinitionFile)});
    if (!result.ok())
        return fail(error, QStringLiteral("the starter tables could not be put in place"));
    return true;
}

} // namespace vexo
