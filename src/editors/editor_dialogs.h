#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace vexo {

// The dialogs and viewers the editors open but other windows own: adding from the reference
// database, group assignment, single choice and the two contribution viewers. Each window that builds
// one of them fills its slot; until then the slot does nothing. Tests script it.
class EditorDialogs
{
public:
    virtual ~EditorDialogs() = default;

    // The add-ingredients dialog: appends the chosen ingredients (rows of the ingredient list, their
    // names and matrix cells) to the open problem, at most `room` of them; true when it added any.
    virtual bool addIngredients(QWidget *owner, int room);
    // The add-nutrients dialog: appends nutrient rows, names, units and matrix rows; true when it
    // added any.
    virtual bool addNutrients(QWidget *owner);
    // The group assignment of a new ingredient: the chosen group, counted from 1, or 0 to skip.
    virtual int assignGroup(QWidget *owner, const QString &ingredient);
    // A single choice from a list: the chosen item, counted from 1, or 0 when nothing was chosen.
    virtual int choose(QWidget *owner, const QString &title, const QStringList &items);
    // The nutrient content of one ingredient.
    virtual void showNutrientContent(QWidget *owner, const QString &ingredient);
    // The ingredients' contributions to one nutrient, with the level the solution reached.
    virtual void showContributions(QWidget *owner, const QString &nutrient, const QString &level);
};

EditorDialogs &editorDialogs();
// Installs the dialogs (not owned); nullptr puts the empty slots back.
void setEditorDialogs(EditorDialogs *dialogs);

} // namespace vexo
