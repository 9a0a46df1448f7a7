#include "matrix/matrix_dialogs.h"

#include "matrix/choice_dialogs.h"
#include "matrix/mbm_wind.h"

namespace vexo {

int MatrixDialogs::choose(QWidget *owner, const QString &caption, const QStringList &items)
{
    BCHOICE d(owner, caption, items);
    d.exec();
    return d.NSELECTED;
}

QString MatrixDialogs::askValue(QWidget *owner, const QString &prompt, const QString &value)
{
    MBM_WIND d(owner, prompt, value);
    d.exec();
    return d.CTXTVAL;
}

QList<int> MatrixDialogs::chooseMany(QWidget *owner, const QString &caption, const QStringList &items)
{
    BMARKTOPBOT d(owner, caption, items);
    d.exec();
    return d.ANSELECTED;
}

namespace {
MatrixDialogs *g_installed = nullptr;
}

MatrixDialogs &matrixDialogs()
{
    static MatrixDialogs stock;
    return g_installed ? *g_installed : stock;
}

void setMatrixDialogs(MatrixDialogs *dialogs)
{
    g_installed = dialogs;
}

} // namespace vexo
