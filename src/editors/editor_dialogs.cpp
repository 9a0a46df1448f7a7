#include "editors/editor_dialogs.h"

#include "matrix/group_dialogs.h"

namespace vexo {

namespace {

EditorDialogs g_empty;
EditorDialogs *g_dialogs = &g_empty;

} // namespace

bool EditorDialogs::addIngredients(QWidget *, int)
{
    return false;
}

bool EditorDialogs::addNutrients(QWidget *)
{
    return false;
}

int EditorDialogs::assignGroup(QWidget *owner, const QString &ingredient)
{
    return askIngredientGroup(owner, ingredient);
}

int EditorDialogs::choose(QWidget *, const QString &, const QStringList &)
{
    return 0;
}

void EditorDialogs::showNutrientContent(QWidget *, const QString &) {}

void EditorDialogs::showContributions(QWidget *, const QString &, const QString &) {}

EditorDialogs &editorDialogs()
{
    return *g_dialogs;
}

void setEditorDialogs(EditorDialogs *dialogs)
{
    g_dialogs = dialogs ? dialogs : &g_empty;
}

} // namespace vexo
