#include "editors/shown_editor_dialogs.h"

#include "matrix/contribution_viewers.h"
#include "matrix/matrix_dialogs.h"

namespace vexo {

int ShownEditorDialogs::choose(QWidget *owner, const QString &title, const QStringList &items)
{
    return matrixDialogs().choose(owner, title, items);
}

void ShownEditorDialogs::showNutrientContent(QWidget *owner, const QString &ingredient)
{
    BM_MUHT_GOR_WIN d(owner, ingredient);
    d.exec();
}

void ShownEditorDialogs::showContributions(QWidget *owner, const QString &nutrient, const QString &level)
{
    HYM_KATILIYOR_WIN d(owner, nutrient, level);
    d.exec();
}

void installShownEditorDialogs()
{
    static ShownEditorDialogs dialogs;
    setEditorDialogs(&dialogs);
}

} // namespace vexo
