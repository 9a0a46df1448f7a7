#pragma once

#include "controls/browser_owner.h"
#include "refdb/nutrient_rows.h"

#include <QDialog>

#include <functional>
#include <memory>

class QAction;
class QMenu;
class QPushButton;

namespace vexo {

class BCLASSBROWSER;
class BM_EKLE_DLG;

// The nutrient-definition editor "Besin Maddesi Ekle-Sil": a read-only grid over the definitions,
// the add, insert and delete buttons, save-and-close and close, and a context menu. The rows and
// every operation on them are NutrientDefinitionRows'; the window shows them and asks.
class BM_EDIT_WIN : public QDialog, private BrowserOwner
{
    Q_OBJECT
public:
    explicit BM_EDIT_WIN(QWidget *owner);
    ~BM_EDIT_WIN() override;

    // False when the definitions could neither be found, created nor opened (the user was told).
    bool opened() const { return bool(m_rows); }
    NutrientDefinitionRows *rows() const { return m_rows.get(); }
    BCLASSBROWSER *grid() const { return m_grid; }
    QMenu *contextMenu() const { return m_menu; }
    QAction *kaydirAction() const { return m_kaydir; }

    void PBEKLE();
    void PBGIR();
    void PBSIL();
    void BMEDIT();
    void BMSSEC();
    void BMSKAYDIR();
    void PBKAYDET();
    void PBCIKIS();

    // How the property dialog is shown; tests replace it to fill the dialog without a modal loop.
    using DialogRunner = std::function<void(BM_EKLE_DLG &)>;
    void setDialogRunner(DialogRunner runner) { m_runDialog = std::move(runner); }
    // A fault for the rebuild of the next saves (tests).
    void setRebuildFault(RebuildFault fault) { m_fault = std::move(fault); }

    QPushButton *saveButton = nullptr;
    QPushButton *exitButton = nullptr;
    QPushButton *addButton = nullptr;
    QPushButton *insertButton = nullptr;
    QPushButton *deleteButton = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private:
    void change(const std::function<void()> &operation, bool focus = true);
    void busy(const std::function<void()> &operation);
    void syncMenu();

    std::unique_ptr<NutrientDefinitionRows> m_rows;
    BCLASSBROWSER *m_grid = nullptr;
    QMenu *m_menu = nullptr;
    QAction *m_kaydir = nullptr;
    DialogRunner m_runDialog;
    RebuildFault m_fault;
    bool m_closing = false;
};

// Opens the editor modally after closing every other editor; registered as BMEDITWIN.
void BMEDITWIN();
void installNutrientDefinitionCommands();

} // namespace vexo
