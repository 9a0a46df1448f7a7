#pragma once

#include "controls/browser_owner.h"
#include "editors/shown_editor_dialogs.h"
#include "refdb/tick_list_dialog.h"


class QLabel;
class QPushButton;

namespace vexo {

class BARRAYSERVER;
class BMEKLE_BBROWSER;

// "Besin Maddesi Ekleme Diyaloğu": lists the nutrient definitions with a tick column and appends the
// ticked ones to the open problem with their contents from the reference matrix.
class BBESMADEKLE_DLG : public TickListDialog
{
    Q_OBJECT
public:
    explicit BBESMADEKLE_DLG(QWidget *owner);
    ~BBESMADEKLE_DLG() override;

    // False when a reference table could not be opened (the user was told); not to be shown then.
    bool opened() const { return m_opened; }
    int NRESULT = 0;

    void PBEKLE();
    void CHKSELECT();
    void PBHKALDIR();
    void PBHSEC();
    bool ANYCHCKED();
    bool SONKONT() override;
    void SERVERCLOSE();

    BMEKLE_BBROWSER *BROWSER = nullptr;
    QPushButton *PBHSEC_ = nullptr;
    QPushButton *PBHKALDIR_ = nullptr;
    QPushButton *PBEKLE_ = nullptr;
    QPushButton *PBIPTAL_ = nullptr;
    QLabel *FT_ACIKLAMA = nullptr;

private:
    BrowserOwner m_gridOwner;
    QStringList m_AABRRE;
    QStringList m_ABIRIM;
    bool m_opened = false;
};

// The editors' dialogs as the program shows them: the two add dialogs above, with the single choice
// and the viewers of ShownEditorDialogs, so that one installed object fills every slot.
class ReferenceEditorDialogs : public ShownEditorDialogs
{
public:
    bool addIngredients(QWidget *owner, int room) override;
    bool addNutrients(QWidget *owner) override;
};

} // namespace vexo
