#pragma once

#include "editors/editor_dialogs.h"

#include <QList>
#include <QTemporaryDir>

#include <functional>

namespace vexo::test {

// A private data root for the reference tables, the open problem reset before and after, the
// reference option off and the editors' dialogs scripted.
class EditorEnvironment
{
public:
    EditorEnvironment();
    ~EditorEnvironment();
    QString path(const QString &name) const;

private:
    QTemporaryDir m_dir;
};

// Three nutrients (AĞIRLIK fixed, KM and HP minima), four ingredients (MISIR, SOYA, ARPA, KEPEK), one
// ratio HP/KM and two groups (TAHIL: MISIR and ARPA, PROTEIN: SOYA), with the matrix ready.
void installSmallProblem();
// The same problem as an open problem file at `path`, as opening it from the main window leaves it.
bool openSmallProblem(const QString &path);

// The editors' dialogs, answered from a script; what was asked is recorded.
class ScriptedDialogs : public EditorDialogs
{
public:
    ScriptedDialogs();
    ~ScriptedDialogs() override;

    // Run by the add dialogs in place of the user's choice; they answer whether anything was added.
    std::function<bool(int room)> onAddIngredients;
    std::function<bool()> onAddNutrients;
    QList<int> groups;  // answers of the group assignment, in order
    QList<int> choices; // answers of the choice lists, in order

    QStringList asked; // one line per dialog shown
    QList<QStringList> choiceItems;

    bool addIngredients(QWidget *owner, int room) override;
    bool addNutrients(QWidget *owner) override;
    int assignGroup(QWidget *owner, const QString &ingredient) override;
    int choose(QWidget *owner, const QString &title, const QStringList &items) override;
    void showNutrientContent(QWidget *owner, const QString &ingredient) override;
    void showContributions(QWidget *owner, const QString &nutrient, const QString &level) override;
};

// What an add dialog leaves in the open problem for one ingredient or nutrient taken from the
// reference database.
void addIngredientAsDialogDoes(const QString &name, const QString &price);
void addNutrientAsDialogDoes(const QString &name, const QString &unit);

} // namespace vexo::test
