#pragma once

// A data root in a temporary folder with a nutrient-definition table and a reference matrix.
#include "platform/dbf_filespec.h"
#include "platform/dbf_table.h"
#include "problem/app_globals.h"
#include "problem/reference_tables.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

namespace vexo::test {

struct Definition
{
    QString name, abbreviation, unit;
    int decimals = 0;
};

class RefDbRoot
{
public:
    RefDbRoot() { appGlobals().CVERIKOK = dir.path(); }

    QString path(const QString &name) const { return QDir(dir.path()).filePath(name); }

    bool writeDefinitions(const QList<Definition> &defs)
    {
        const QString file = path(kNutrientDefinitionFile);
        if (!DbfFileSpec(file).create(nutrientDefinitionStructure()))
            return false;
        DbfTable t(file, false, false);
        int n = 0;
        for (const Definition &d : defs) {
            if (!t.append())
                return false;
            t.fieldPut(QStringLiteral("NUM"), double(++n));
            t.fieldPut(QStringLiteral("NAME"), d.name);
            t.fieldPut(QStringLiteral("ABRRE"), d.abbreviation);
            t.fieldPut(QStringLiteral("UNIT"), d.unit);
            t.fieldPut(QStringLiteral("DECIM"), double(d.decimals));
        }
        return t.commit();
    }

    // A matrix with KOD N 5, the three fixed texts and the given nutrient columns; row r holds
    // KOD r, "YEM r" and in nutrient column c the text "r.c".
    bool writeMatrix(const QStringList &nutrients, int rows)
    {
        DbfStructure s = {{QStringLiteral("KOD"), u'N', 5, 0},
                          {QStringLiteral("YM_ADI"), u'C', 25, 0},
                          {QStringLiteral("FIATI"), u'C', 11, 0},
                          {QStringLiteral("GRUBU"), u'C', 11, 0}};
        for (const QString &n : nutrients)
            s.append({n, u'C', 11, 0});
        const QString file = path(kReferenceMatrixFile);
        if (!DbfFileSpec(file).create(s))
            return false;
        DbfTable t(file, false, false);
        for (int r = 1; r <= rows; ++r) {
            if (!t.append())
                return false;
            t.fieldPut(1, double(r));
            t.fieldPut(2, QStringLiteral("YEM %1").arg(r));
            t.fieldPut(3, QStringLiteral("%1.5").arg(r));
            for (int c = 0; c < nutrients.size(); ++c)
                t.fieldPut(5 + c, QStringLiteral("%1.%2").arg(r).arg(c + 1));
        }
        return t.commit();
    }

    QByteArray bytes(const QString &name) const
    {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QStringList tempEntries() const
    {
        return QDir(path(QStringLiteral("Temp_Data"))).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }

    QTemporaryDir dir;
};

} // namespace vexo::test
