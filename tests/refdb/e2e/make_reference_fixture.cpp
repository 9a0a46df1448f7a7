// Writes a reference database into a data root for the end-to-end run of the matrix editor: the
// definitions of every column of a newly created matrix and a matrix of three ingredients.
//   make_reference_fixture DATA_ROOT
#include "platform/dbf_filespec.h"
#include "platform/dbf_table.h"
#include "problem/reference_tables.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

using namespace vexo;

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_reference_fixture DATA_ROOT\n");
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(root);
    const DbfStructure layout = HKM_STRCREATE();
    const QString defs = QDir(root).filePath(kNutrientDefinitionFile);
    if (!DbfFileSpec(defs).create(nutrientDefinitionStructure()))
        return 1;
    {
        DbfTable t(defs, false, false);
        for (int i = 4; i < layout.size(); ++i) {
            if (!t.append())
                return 1;
            t.fieldPut(QStringLiteral("NUM"), double(i - 3));
            t.fieldPut(QStringLiteral("NAME"), i == 4 ? QStringLiteral("Kuru Madde") : QStringLiteral("Yazılacak..."));
            t.fieldPut(QStringLiteral("ABRRE"), layout[i].name);
            t.fieldPut(QStringLiteral("UNIT"), QStringLiteral("%"));
            t.fieldPut(QStringLiteral("DECIM"), 4.0);
        }
        if (!t.commit())
            return 1;
    }
    const QString matrix = QDir(root).filePath(kReferenceMatrixFile);
    if (!DbfFileSpec(matrix).create(layout))
        return 1;
    DbfTable t(matrix, false, false);
    const char *names[] = {"MISIR", "BUGDAY", "SOYA KUSPESI"};
    for (int r = 1; r <= 3; ++r) {
        if (!t.append())
            return 1;
        t.fieldPut(1, double(r));
        t.fieldPut(2, QString::fromLatin1(names[r - 1]));
        t.fieldPut(3, QStringLiteral("%1.500").arg(r * 3).rightJustified(11));
        t.fieldPut(5, QStringLiteral("%1.0000").arg(86 + r).rightJustified(11));
    }
    return t.commit() ? 0 : 1;
}
