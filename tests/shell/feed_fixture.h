#pragma once

#include "problem/open_problem.h"
#include "problem/problem_file.h"
#include "problem/problem_saver.h"

#include <QFile>

namespace vexo::test {

// The small feed problem the end-to-end run and the solve tests open: three ingredients, a minimum
// of crude protein and a maximum of crude fibre, with an optimum. Written through the program's own
// saver; the open problem is reset afterwards. False with the reason when it could not be written.
inline bool writeFeedFixture(const QString &path, QString *error)
{
    auto num = [](const char *text) { return QString::fromLatin1(text).rightJustified(kCellWidth, u' '); };
    openProblem().reset();
    QFile::remove(path);
    if (!DATAFILECREATE(nullptr, path) || !DATAFOPEN(nullptr, path))
        return false;
    const QString b(kCellWidth, u' ');
    OpenProblem &p = openProblem();
    const struct
    {
        const char *name;
        const char *price;
    } ingredients[] = {{"MISIR", "0.300"}, {"SOYA KUSPESI", "0.550"}, {"BUGDAY KEPEGI", "0.200"}};
    for (const auto &i : ingredients) {
        const QString name = QString::fromLatin1(i.name);
        p.AYMADLARI << name;
        p.AYMLIST << Row{name.leftJustified(kYmNameWidth), num(i.price), b, b, b, b, b, b, b, b, b};
        p.AYMSTOK << true;
    }
    const struct
    {
        const char *name;
        const char *min;
        const char *max;
        QStringList content;
    } nutrients[] = {{"HP", "18.0000", "", {num("8.5000"), num("44.0000"), num("15.0000")}},
                     {"HS", "", "7.0000", {num("2.5000"), num("6.0000"), num("10.0000")}}};
    for (const auto &n : nutrients) {
        const QString name = QString::fromLatin1(n.name);
        p.ABMADLARI << name;
        p.ABMBIRIMLERI << QStringLiteral("%");
        p.ABMLIST << Row{name.leftJustified(kBmNameWidth), QStringLiteral("%").leftJustified(kCellWidth), b,
                         *n.min ? num(n.min) : b, *n.max ? num(n.max) : b, b, b, b, b, b, b, b};
        p.AAMAT << n.content;
    }
    p.APARMLIST = {"K", "1000.00", "Krş", "Kg", QString(40, u' '), QString(40, u' '), QString(40, u' '), b};
    p.setAllDirty(true);
    const bool saved = PROBDBFUPDATE(error);
    openProblem().reset();
    return saved;
}

} // namespace vexo::test
