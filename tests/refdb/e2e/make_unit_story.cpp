// Writes the end-to-end run's broiler problem and its reference database. The reference defines the
// energy ME_KA in kcal/kg and holds ARPA, MISIR, SOYA KUSPESI and BUGDAY; the problem holds the
// first three with the energy in kcal/kg as an older file does (at least 2800, protein at least 21),
// so that opening it turns its energy into MCal/kg.
//
//   make_unit_story PROBLEM_FILE DATA_ROOT
#include "platform/dbf_filespec.h"
#include "problem/dbserverr.h"
#include "problem/number_text.h"
#include "problem/open_problem.h"
#include "problem/problem_file.h"
#include "problem/problem_saver.h"
#include "problem/reference_tables.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdio>

using namespace vexo;

namespace {

struct Feed
{
    const char *name;
    double price, km, hp, me;
};
const Feed kFeeds[] = {{"ARPA", 9.0, 89.0, 11.5, 2640.0},
                       {"MISIR", 12.0, 88.0, 8.5, 3350.0},
                       {"SOYA KUSPESI", 21.0, 89.0, 44.0, 2230.0},
                       {"BUGDAY", 10.5, 88.0, 12.0, 3050.0}};

QString number(double v, int decimals = 4)
{
    return Str(v, kCellWidth, decimals);
}

bool writeReference(const QDir &root)
{
    const QString matrix = root.filePath(kReferenceMatrixFile);
    QFile::remove(matrix);
    if (!DbfFileSpec(matrix).create({{"KOD", u'N', 5, 0}, {"YM_ADI", u'C', 25, 0}, {"FIATI", u'C', 11, 0},
                                     {"GRUBU", u'C', 11, 0}, {"KM", u'C', 11, 0}, {"HP", u'C', 11, 0},
                                     {"ME_KA", u'C', 11, 0}}))
        return false;
    {
        DBSERVERR t(matrix, false, false);
        int kod = 0;
        for (const Feed &f : kFeeds) {
            if (!t.append())
                return false;
            t.fieldPut("KOD", ++kod);
            t.fieldPut("YM_ADI", QString::fromLatin1(f.name));
            t.fieldPut("FIATI", number(f.price, 3));
            t.fieldPut("GRUBU", QStringLiteral("TAHIL"));
            t.fieldPut("KM", number(f.km));
            t.fieldPut("HP", number(f.hp));
            t.fieldPut("ME_KA", number(f.me));
        }
        if (!t.commit())
            return false;
    }
    const QString definitions = root.filePath(kNutrientDefinitionFile);
    QFile::remove(definitions);
    if (!DbfFileSpec(definitions).create(nutrientDefinitionStructure()))
        return false;
    DBSERVERR t(definitions, false, false);
    const struct
    {
        const char *name, *abbreviation, *unit;
    } rows[] = {{"Kuru Madde", "KM", "%"}, {"Ham Protein", "HP", "%"}, {"Metabolik Enerji", "ME_KA", "kcal/kg"}};
    int num = 0;
    for (const auto &r : rows) {
        if (!t.append())
            return false;
        t.fieldPut("NUM", ++num);
        t.fieldPut("NAME", QString::fromLatin1(r.name));
        t.fieldPut("ABRRE", QString::fromLatin1(r.abbreviation));
        t.fieldPut("UNIT", QString::fromLatin1(r.unit));
        t.fieldPut("DECIM", 4);
    }
    return t.commit();
}

bool writeProblem(const QString &path)
{
    QFile::remove(path);
    if (!DATAFILECREATE(nullptr, path) || !DATAFOPEN(nullptr, path))
        return false;
    OpenProblem &p = openProblem();
    const QString blank(kCellWidth, u' ');
    for (int i = 0; i < 3; ++i) {
        const QString name = QString::fromLatin1(kFeeds[i].name);
        Row row(YM_COLUMNS, blank);
        row[YMNAME] = name.leftJustified(kYmNameWidth);
        row[YMPRICE] = number(kFeeds[i].price, 3);
        p.AYMLIST.append(row);
        p.AYMADLARI.append(name);
        p.AYMSTOK.append(true);
    }
    const struct
    {
        const char *name, *unit;
        double fix, min;
    } nutrients[] = {{"AĞIRLIK", "Kg/Kg", 1.0, 0.0}, {"KM", "%", 0.0, 0.0}, {"ME_KA", "kcal/kg", 0.0, 2800.0},
                     {"HP", "%", 0.0, 21.0}};
    for (const auto &n : nutrients) {
        const QString name = QString::fromUtf8(n.name);
        Row row(BM_COLUMNS, blank);
        row[BMNAME] = name.leftJustified(kBmNameWidth);
        row[BMUNIT] = QString::fromLatin1(n.unit).leftJustified(kCellWidth);
        if (n.fix != 0.0)
            row[BMFIX] = number(n.fix);
        if (n.min != 0.0)
            row[BMLLIMIT] = number(n.min);
        p.ABMLIST.append(row);
        p.ABMADLARI.append(name);
        p.ABMBIRIMLERI.append(QString::fromLatin1(n.unit));
        Row cells;
        for (int i = 0; i < 3; ++i) {
            const Feed &f = kFeeds[i];
            const double v = name == kWeightNutrient ? 1.0 : name == u"KM" ? f.km : name == u"ME_KA" ? f.me : f.hp;
            cells.append(number(v));
        }
        p.AAMAT.append(cells);
    }
    p.APARMLIST = {"K", "1000.00", "Krş", "Kg", QString(40, u' '), QString(40, u' '), QString(40, u' '), blank};
    p.setAllDirty(true);
    const bool saved = PROBDBFUPDATE();
    p.reset();
    return saved;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_unit_story PROBLEM_FILE DATA_ROOT\n");
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[2]));
    if (!QDir().mkpath(root.path()) || !writeReference(root) || !writeProblem(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "the problem or the reference tables could not be written\n");
        return 1;
    }
    return 0;
}
