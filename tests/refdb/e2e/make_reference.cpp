// Writes a small reference database (matrix and nutrient definitions) for the end-to-end run of the
// add-from-reference dialogs. Usage: make_reference DATA_ROOT
#include "platform/dbf_filespec.h"
#include "problem/dbserverr.h"
#include "problem/reference_tables.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

using namespace vexo;

namespace {

QString cell(const char *number)
{
    return *number ? QString::fromLatin1(number).rightJustified(11, u' ') : QString(11, u' ');
}

bool writeMatrix(const QString &path)
{
    QFile::remove(path);
    if (!DbfFileSpec(path).create({{"KOD", u'N', 5, 0}, {"YM_ADI", u'C', 25, 0}, {"FIATI", u'C', 11, 0},
                                   {"GRUBU", u'C', 11, 0}, {"KM", u'C', 11, 0}, {"HP", u'C', 11, 0},
                                   {"HS", u'C', 11, 0}, {"CA", u'C', 11, 0}, {"P", u'C', 11, 0}}))
        return false;
    DBSERVERR t(path, false, false);
    const struct
    {
        const char *name, *price, *group, *km, *hp, *hs, *ca, *p;
    } rows[] = {
        {"MISIR", "0.300", "TAHIL", "88.0000", "8.5000", "2.5000", "0.0200", "0.2800"},
        {"SOYA KUSPESI", "0.550", "KUSPE", "89.0000", "44.0000", "6.0000", "0.2900", "0.6500"},
        {"BUGDAY KEPEGI", "0.200", "YAN URUN", "89.0000", "15.0000", "10.0000", "0.1300", "1.1300"},
        {"ARPA", "0.250", "TAHIL", "89.0000", "11.0000", "5.0000", "0.0800", "0.3600"},
        {"YULAF", "0.270", "TAHIL", "89.0000", "11.5000", "10.5000", "0.1000", "0.3500"},
        {"ÇAVDAR", "", "TAHIL", "88.0000", "12.0000", "2.4000", "0.0600", "0.3200"},
        {"İNCİR ÇEKİRDEĞİ", "0.120", "YAN URUN", "90.0000", "14.0000", "30.0000", "0.3000", "0.2000"},
        {"ÜRE", "0.400", "DIGER", "99.0000", "281.0000", "", "", ""},
        {"AYÇİÇEĞİ KÜSPESİ", "0.330", "KUSPE", "90.0000", "28.0000", "24.0000", "0.3500", "0.9000"},
        {"PAMUK TOHUMU KÜSPESİ", "0.310", "KUSPE", "91.0000", "33.0000", "22.0000", "0.2000", "1.0000"},
        {"KEPEK", "0.180", "YAN URUN", "88.0000", "15.5000", "9.5000", "0.1200", "1.2000"},
        {"ıspanak artığı", "", "DIGER", "20.0000", "3.0000", "1.0000", "0.1000", "0.0500"},
        {"MERMER TOZU", "0.050", "MINERAL", "99.0000", "", "", "38.0000", ""},
        {"DİKALSİYUM FOSFAT", "0.700", "MINERAL", "98.0000", "", "", "24.0000", "18.0000"},
        {"TUZ", "0.080", "MINERAL", "99.0000", "", "", "", ""},
    };
    int kod = 0;
    for (const auto &r : rows) {
        if (!t.append())
            return false;
        t.fieldPut("KOD", ++kod);
        t.fieldPut("YM_ADI", QString::fromUtf8(r.name));
        t.fieldPut("FIATI", cell(r.price));
        t.fieldPut("GRUBU", QString::fromUtf8(r.group));
        t.fieldPut("KM", cell(r.km));
        t.fieldPut("HP", cell(r.hp));
        t.fieldPut("HS", cell(r.hs));
        t.fieldPut("CA", cell(r.ca));
        t.fieldPut("P", cell(r.p));
    }
    const bool ok = t.commit();
    t.close();
    return ok;
}

bool writeDefinitions(const QString &path)
{
    QFile::remove(path);
    if (!DbfFileSpec(path).create(nutrientDefinitionStructure()))
        return false;
    DBSERVERR t(path, false, false);
    const struct
    {
        const char *name, *abbreviation, *unit;
    } rows[] = {{"Kuru madde", "KM", "%"},        {"Ham protein", "HP", "%"}, {"Ham selüloz", "HS", "%"},
                {"Kalsiyum", "CA", "%"},          {"Fosfor", "P", "%"}};
    int num = 0;
    for (const auto &r : rows) {
        if (!t.append())
            return false;
        t.fieldPut("NUM", ++num);
        t.fieldPut("NAME", QString::fromUtf8(r.name));
        t.fieldPut("ABRRE", QString::fromUtf8(r.abbreviation));
        t.fieldPut("UNIT", QString::fromUtf8(r.unit));
        t.fieldPut("DECIM", 4);
    }
    const bool ok = t.commit();
    t.close();
    return ok;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_reference DATA_ROOT\n");
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(root.path()) || !writeMatrix(root.filePath(kReferenceMatrixFile))
        || !writeDefinitions(root.filePath(kNutrientDefinitionFile))) {
        std::fprintf(stderr, "the reference tables could not be written\n");
        return 1;
    }
    return 0;
}
