#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace vexo {

// Reads the open problem table into the problem's lists, converting older units and names; with the
// reference option on, contents and prices come from the reference matrix. False when that reference
// step failed or was cancelled, and, with a message, when the file cannot be loaded whole (more
// ingredients than its matrix rows hold, active-matrix rows with fewer cells than ingredients, a
// nameless record whose skipping would move contents, or a header counting fewer records than the
// file holds); the
// caller then closes the table. A problem without ingredients gets one empty matrix row per nutrient
// and per group.
bool AKTPRODIZOLUSTUR(QWidget *owner);

void WEIGHTCONTROL();
void KMOCONTROL();
// The matrix row of a nutrient whose unit a load converts, divided by 1000.
QStringList MATDUZELT(const QString &name, const QStringList &row);

// The contents, prices and units of the open problem from the reference matrix.
bool RMATRISDENOKU(QWidget *owner);
QStringList GETFLDARROFRM();
void GETYMARROFRM(QList<int> &records, QStringList &names);
int CHCKBMNAMES(QWidget *owner, const QStringList &fieldNames, const QString &name, int n);
int CHCKYMNAMES(QWidget *owner, const QStringList &referenceNames, const QString &name, int n);

} // namespace vexo
