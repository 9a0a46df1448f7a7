#include "feed_file.h"

#include "problem/number_text.h"
#include "problem/open_problem.h"
#include "problem/problem_file.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

namespace vexo::test {

namespace {

struct FeedIngredient
{
    const char *name;
    double price;
    double hp, ca, p, energy;
    bool stock;
};

const FeedIngredient kIngredients[] = {
    {"MISIR", 0.300, 8.5, 0.02, 0.28, 3.30, true},
    {"ARPA", 0.250, 11.0, 0.05, 0.35, 2.70, true},
    {"BUGDAY", 0.280, 12.0, 0.05, 0.30, 3.05, true},
    {"SOYA KUSPESI", 0.900, 44.0, 0.30, 0.65, 2.45, true},
    {"SOYA YAGI", 1.800, 0.0, 0.0, 0.0, 8.80, true},
    {"KIREC TASI", 0.050, 0.0, 38.0, 0.0, 0.0, true},
    {"DCP", 1.200, 0.0, 23.0, 18.0, 0.0, true},
    {"TUZ", 0.100, 0.0, 0.30, 0.0, 0.0, true},
    {"AYCICEGI KUSPESI", 0.500, 28.0, 0.40, 1.00, 1.60, true},
    {"BALIK UNU", 2.000, 64.0, 5.0, 3.0, 2.90, false},
    {"KEPEK", 0.200, 15.0, 0.10, 1.20, 1.30, true},
    {"MERMER TOZU", 0.040, 0.0, 37.0, 0.0, 0.0, true},
};

QString cell(double v, int decimals = 4)
{
    return Str(v, kCellWidth, decimals);
}

QString joined(const QStringList &cells)
{
    QString out;
    for (const QString &c : cells)
        out += c + u',';
    return out;
}

double contentOf(const FeedIngredient &i, int nutrient)
{
    switch (nutrient) {
    case 0:
        return 1.0;
    case 1:
        return i.hp;
    case 2:
        return i.ca;
    case 3:
        return i.p;
    default:
        return i.energy;
    }
}

const char *kReader = R"(
import json, sys, dbfread
t = dbfread.DBF(sys.argv[1], encoding='cp1254', char_decode_errors='strict', load=True)
print(json.dumps([[r['YMADI'], r['YMFIAT'], bool(r['YMSTOKVY']), r['BMADI'], r['GADI'], r['YMBMAT']]
                  for r in t.records]))
)";

QStringList cellsOf(const QString &text)
{
    return decodeYmbmat(text);
}

} // namespace

QStringList feedIngredients()
{
    QStringList out;
    for (const FeedIngredient &i : kIngredients)
        out << QString::fromLatin1(i.name);
    return out;
}

QStringList feedNutrients()
{
    return {kWeightNutrient, QStringLiteral("HP"), QStringLiteral("KALSIYUM"), QStringLiteral("FOSFOR"),
            QStringLiteral("ENERJI")};
}

QStringList feedGroups()
{
    return {QStringLiteral("TAHIL"), QStringLiteral("MINERAL")};
}

Contents feedContents()
{
    Contents out;
    const QStringList nutrients = feedNutrients();
    for (const FeedIngredient &i : kIngredients) {
        for (int j = 0; j < nutrients.size(); ++j)
            out[QString::fromLatin1(i.name)][nutrients.at(j)] = contentOf(i, j);
    }
    return out;
}

QMap<QString, QStringList> feedMembers()
{
    return {{QStringLiteral("TAHIL"), {"MISIR", "ARPA", "BUGDAY"}},
            {QStringLiteral("MINERAL"), {"KIREC TASI", "DCP", "TUZ", "MERMER TOZU"}}};
}

QList<Record> feedFileRecords()
{
    QList<Record> recs(12);
    const QStringList nutrients = feedNutrients();
    for (int k = 0; k < 12; ++k) {
        const FeedIngredient &i = kIngredients[k];
        recs[k] = {{"YMADI", QString::fromLatin1(i.name)}, {"YMFIAT", Str(i.price, kCellWidth, 3)},
                   {"YMSTOKVY", i.stock}};
    }
    recs[4]["YMUSTLIM"] = Str(3.0, kCellWidth, 3);  // SOYA YAGI at most 3 %
    recs[7]["YMSABIT"] = Str(0.3, kCellWidth, 3);   // TUZ fixed at 0.3 %
    recs[9]["YMUSTLIM"] = Str(5.0, kCellWidth, 3);  // BALIK UNU at most 5 %

    const QStringList units = {QStringLiteral("Kg/Kg"), QStringLiteral("%"), QStringLiteral("%"), QStringLiteral("%"),
                               QStringLiteral("MCal/Kg")};
    for (int j = 0; j < nutrients.size(); ++j) {
        recs[j]["BMADI"] = nutrients.at(j);
        recs[j]["BMBIRIM"] = units.at(j);
    }
    recs[0]["BMSABIT"] = cell(1.0);
    recs[1]["BMALTLIM"] = cell(17.0);
    recs[2]["BMALTLIM"] = cell(0.9);
    recs[2]["BMUSTLIM"] = cell(1.2);
    recs[3]["BMALTLIM"] = cell(0.6);
    recs[4]["BMALTLIM"] = cell(2.75);
    recs[0]["BMADIA"] = QStringLiteral("KALSIYUM");
    recs[0]["BMADIB"] = QStringLiteral("FOSFOR");
    recs[0]["OALTLIM"] = cell(1.2);
    recs[0]["GADI"] = QStringLiteral("TAHIL");
    recs[0]["GUSTLIM"] = Str(70.0, kCellWidth, 3);
    recs[1]["GADI"] = QStringLiteral("MINERAL");
    recs[1]["GUSTLIM"] = Str(4.0, kCellWidth, 3);

    for (int j = 0; j < nutrients.size(); ++j) {
        QStringList row;
        for (const FeedIngredient &i : kIngredients)
            row << cell(contentOf(i, j));
        recs[j]["YMBMAT"] = joined(row);
    }
    recs[5]["YMBMAT"] = kPrmMarker;
    recs[6]["YMBMAT"] = joined({QStringLiteral("K"), QStringLiteral("1000.00"), QStringLiteral("TL"),
                                QStringLiteral("Kg"), QString(40, u' '), QString(40, u' '), QString(40, u' '),
                                QString(kCellWidth, u' ')});
    recs[7]["YMBMAT"] = kGrupMarker;
    const QMap<QString, QStringList> members = feedMembers();
    const QStringList groups = feedGroups();
    for (int g = 0; g < groups.size(); ++g) {
        QStringList row;
        for (const FeedIngredient &i : kIngredients)
            row << (members.value(groups.at(g)).contains(QString::fromLatin1(i.name)) ? QStringLiteral("1.0")
                                                                                       : QStringLiteral("0.0"));
        recs[8 + g]["YMBMAT"] = joined(row);
    }
    return recs;
}

PeerProblem readWithPeer(const QString &path)
{
    PeerProblem out;
    QProcess p;
    p.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QString::fromLatin1(kReader), path});
    EXPECT_TRUE(p.waitForFinished(20000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    const QJsonArray records = QJsonDocument::fromJson(p.readAllStandardOutput()).array();
    EXPECT_FALSE(records.isEmpty()) << "the reader found no records in " << path.toStdString();
    enum { Active, Parameters, Groups } part = Active;
    bool parametersRead = false;
    for (const QJsonValue &v : records) {
        const QJsonArray r = v.toArray();
        out.ingredients << r.at(0).toString().trimmed();
        out.prices << r.at(1).toString();
        out.stock << r.at(2).toBool();
        out.nutrients << r.at(3).toString().trimmed();
        out.groups << r.at(4).toString().trimmed();
        const QString text = r.at(5).toString();
        if (text.trimmed().isEmpty())
            continue;
        if (isMarker(text, kPrmMarker)) {
            part = Parameters;
        } else if (isMarker(text, kGrupMarker)) {
            part = Groups;
        } else if (part == Active) {
            out.active << cellsOf(text);
        } else if (part == Parameters && !parametersRead) {
            parametersRead = true;
        } else if (part == Groups) {
            out.members << cellsOf(text);
        }
    }
    return out;
}

Contents PeerProblem::contents() const
{
    Contents out;
    for (qsizetype k = 0; k < ingredients.size(); ++k) {
        if (ingredients.at(k).isEmpty())
            continue;
        for (qsizetype j = 0; j < nutrients.size() && j < active.size(); ++j) {
            if (!nutrients.at(j).isEmpty() && k < active.at(j).size())
                out[ingredients.at(k)][nutrients.at(j)] = Val(active.at(j).at(k).trimmed());
        }
    }
    return out;
}

QMap<QString, QStringList> PeerProblem::groupMembers() const
{
    QMap<QString, QStringList> out;
    for (qsizetype g = 0; g < groups.size() && g < members.size(); ++g) {
        if (groups.at(g).isEmpty())
            continue;
        QStringList &list = out[groups.at(g)];
        for (qsizetype k = 0; k < ingredients.size() && k < members.at(g).size(); ++k) {
            if (!ingredients.at(k).isEmpty() && Val(members.at(g).at(k).trimmed()) == 1.0)
                list << ingredients.at(k);
        }
    }
    return out;
}

QString PeerProblem::priceOf(const QString &ingredient) const
{
    const qsizetype k = ingredients.indexOf(ingredient);
    return k < 0 ? QString() : prices.at(k).trimmed();
}

Contents contentsInMemory()
{
    const OpenProblem &p = openProblem();
    Contents out;
    for (qsizetype i = 0; i < p.AYMADLARI.size(); ++i) {
        for (qsizetype j = 0; j < p.ABMADLARI.size(); ++j)
            out[p.AYMADLARI.at(i)][p.ABMADLARI.at(j)] = Val(p.AAMAT.value(j).value(i).trimmed());
    }
    return out;
}

QMap<QString, QStringList> membersInMemory()
{
    const OpenProblem &p = openProblem();
    QMap<QString, QStringList> out;
    for (qsizetype g = 0; g < p.AYMGADLARI.size(); ++g) {
        QStringList &list = out[p.AYMGADLARI.at(g)];
        for (qsizetype i = 0; i < p.AYMADLARI.size(); ++i) {
            if (Val(p.AGMAT.value(g).value(i).trimmed()) == 1.0)
                list << p.AYMADLARI.at(i);
        }
    }
    return out;
}

} // namespace vexo::test
