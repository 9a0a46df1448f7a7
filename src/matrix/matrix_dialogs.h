#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QWidget;

namespace vexo {

// The modal questions the matrix editors ask: one choice (BCHOICE), a new value (MBM_WIND) and
// several choices (BMARKTOPBOT). The stock one shows the dialogs; tests install a scripted one.
class MatrixDialogs
{
public:
    virtual ~MatrixDialogs() = default;
    // The chosen position from 1, 0 for nothing.
    virtual int choose(QWidget *owner, const QString &caption, const QStringList &items);
    // CTXTVAL: the value passed in after a cancel.
    virtual QString askValue(QWidget *owner, const QString &prompt, const QString &value);
    // The ticked positions ascending, empty for nothing.
    virtual QList<int> chooseMany(QWidget *owner, const QString &caption, const QStringList &items);
};

MatrixDialogs &matrixDialogs();
// Installs the dialogs (not owned); nullptr puts the stock ones back.
void setMatrixDialogs(MatrixDialogs *dialogs);

} // namespace vexo
