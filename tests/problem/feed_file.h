#pragma once

#include "problem_fixture.h"

#include <QMap>
#include <QStringList>

namespace vexo::test {

// A mixed-feed problem file of twelve ingredients as the program saves it: MISIR, ARPA, BUGDAY,
// SOYA KUSPESI, SOYA YAGI, KIREC TASI, DCP, TUZ, AYCICEGI KUSPESI, BALIK UNU (out of stock), KEPEK,
// MERMER TOZU in records 1 to 12; the nutrients AĞIRLIK (fixed at 1), HP, KALSIYUM, FOSFOR and
// ENERJI in records 1 to 5; one ratio; the groups TAHIL (the three grains) and MINERAL (KIREC TASI,
// DCP, TUZ, MERMER TOZU). KIREC TASI holds 38 calcium, DCP 23 calcium and 18 phosphorus.
QStringList feedIngredients();
QStringList feedNutrients();
QStringList feedGroups();
// Contents by ingredient name, then nutrient name.
using Contents = QMap<QString, QMap<QString, double>>;
Contents feedContents();
// Group name -> its members.
QMap<QString, QStringList> feedMembers();
QList<Record> feedFileRecords();

// The names, prices, matrices and stock flags of a problem file as an independent reader
// (python3-dbfread) finds them, read by record as the file stores them: ingredient k with cell k of
// every matrix row, nutrient j with active-matrix row j, group g with membership row g.
struct PeerProblem
{
    QStringList ingredients; // per record, blank where the name is blank
    QStringList prices;
    QList<bool> stock;
    QStringList nutrients;
    QStringList groups;
    QList<QStringList> active;
    QList<QStringList> members;

    // Contents of every named ingredient and nutrient, paired by position.
    Contents contents() const;
    QMap<QString, QStringList> groupMembers() const;
    QString priceOf(const QString &ingredient) const;
};
PeerProblem readWithPeer(const QString &path);

// The same of the open problem's lists.
Contents contentsInMemory();
QMap<QString, QStringList> membersInMemory();

} // namespace vexo::test
