#pragma once

#include "editors/editor_dialogs.h"

namespace vexo {

// The editors' slots the matrix dialogs fill: the single choice (BCHOICE) and the two viewers, each
// shown modally. The other slots stay with their owners' windows.
class ShownEditorDialogs : public EditorDialogs
{
public:
    int choose(QWidget *owner, const QString &title, const QStringList &items) override;
    void showNutrientContent(QWidget *owner, const QString &ingredient) override;
    void showContributions(QWidget *owner, const QString &nutrient, const QString &level) override;
};

// Installs one ShownEditorDialogs for the program's life.
void installShownEditorDialogs();

} // namespace vexo
