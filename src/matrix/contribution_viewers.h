#pragma once

#include "problem/open_problem.h"

#include <QDialog>
#include <QStringList>

class QPushButton;
class QTreeWidget;

namespace vexo {

// Rows of the two read-only viewers, built from the open problem's lists.
// BM_MUHT_GOR_WIN: NUM, BMNAME, BMUNIT, BMISVAL (the cell as stored), BMDMVAL (on dry matter, 4
// decimals in 11). An ingredient that is not in the list gives no rows.
QList<QStringList> nutrientContentRows(const OpenProblem &problem, const QString &ingredient);
// HYM_KATILIYOR_WIN: NUM, YMNAME, YMCOZM, KRATIO (per cent of the level, 2 decimals in 6) for each
// ingredient with a solution value. A blank level, or a nutrient that is not in the list, gives none.
QList<QStringList> contributionRows(const OpenProblem &problem, const QString &nutrient, const QString &level);

// A list view with the given columns and rows and one "Tamam" button.
class ContributionViewer : public QDialog
{
    Q_OBJECT
public:
    struct Column
    {
        QString caption;
        int width; // characters
        Qt::Alignment alignment;
    };
    ContributionViewer(QWidget *owner, const QString &name, const QString &caption, const QString &listName,
                       const QList<Column> &columns, const QList<QStringList> &rows);

    QTreeWidget *list() const { return m_list; }
    QPushButton *okButton() const { return m_ok; }
    void PBTAMAM() { done(1); }

private:
    QTreeWidget *m_list = nullptr;
    QPushButton *m_ok = nullptr;
};

// BM_MUHT_GOR_WIN, "Seçili YM'nin BM Muhtevası".
class BM_MUHT_GOR_WIN : public ContributionViewer
{
    Q_OBJECT
public:
    BM_MUHT_GOR_WIN(QWidget *owner, const QString &ingredient);
};

// HYM_KATILIYOR_WIN, "Seçili BM'ye YM Katkıları".
class HYM_KATILIYOR_WIN : public ContributionViewer
{
    Q_OBJECT
public:
    HYM_KATILIYOR_WIN(QWidget *owner, const QString &nutrient, const QString &level);
};

} // namespace vexo
