#include "problem/solution_stamp.h"

#include "problem/dbserverr.h"
#include "problem/open_problem.h"

#include <QCryptographicHash>

namespace vexo {

QByteArray solutionStamp(const OpenProblem &p)
{
    if (!p.isOpen())
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha1);
    // Separators keep "AB","C" apart from "A","BC".
    auto add = [&hash](const QString &text) {
        hash.addData(text.toUtf8());
        hash.addData(QByteArrayView("\x1f", 1));
    };
    auto addRows = [&](const RowList &rows, int typedColumns) {
        for (const Row &row : rows) {
            for (int c = 0; c < row.size() && (typedColumns < 0 || c < typedColumns); ++c)
                add(row.at(c));
            hash.addData(QByteArrayView("\x1e", 1));
        }
        hash.addData(QByteArrayView("\x1d", 1));
    };
    add(p.OPROBDBF->path());
    add(QString::number(p.NCOZUMSAYISI));
    addRows(p.AYMLIST, YMACOZUM);
    addRows(p.ABMLIST, BMACOZUM);
    addRows(p.ABMOLIST, BMOACOZUM);
    addRows(p.AYMGLIST, YMGACOZUM);
    addRows(p.AAMAT, -1);
    addRows(p.AGMAT, -1);
    for (bool inStock : p.AYMSTOK)
        add(inStock ? QStringLiteral("1") : QStringLiteral("0"));
    QStringList parameters = p.APARMLIST;
    if (parameters.size() > PARM_SAVEDCOST)
        parameters[PARM_SAVEDCOST].clear();
    addRows({parameters}, -1);
    return hash.result();
}

} // namespace vexo
