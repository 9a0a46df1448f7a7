#pragma once
// RM_EDIT_WINDOW, "Referans Matris Yazımı": the grid editor of the reference matrix MATNRC6.DBF. The
// rows and every rule over them are ReferenceMatrixRows' (rm_rules.h); the window shows them, asks the
// dialogs and keeps the grid in step.
#include "controls/browser_owner.h"
#include "controls/command_registry.h"
#include "controls/menu_table.h"
#include "controls/shell_host.h"
#include "refdb/rm_rules.h"

#include <QLineEdit>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vexo {

class BARRAYSERVER;
class BuiltMenu;
class RMAT_BBROWSER;

inline const QString kReferenceEditorCaption = QStringLiteral("Referans Matris Yazımı");

// The context menu DW_CONT_MENU; "Kaydır" starts disabled.
MenuTable dwContMenu();

class RM_EDIT_WINDOW : public QWidget, public ShellChild, public DataWindow, public BrowserOwner
{
    Q_OBJECT
public:
    explicit RM_EDIT_WINDOW(QWidget *parent = nullptr);
    ~RM_EDIT_WINDOW() override;

    // The help topic that "İlgili Yardım" (F3) opens.
    static QString helpKeyword() { return QStringLiteral("Referans Matris"); }

    // False when a reference table could not be read at opening (the opener told the user); such a
    // window is never shown.
    bool loaded() const { return bool(m_rows); }
    ReferenceMatrixRows *rows() const { return m_rows.get(); }
    RMAT_BBROWSER *BROWSER() const { return m_grid; }
    QComboBox *CB_OEDIT() const { return m_mode; }
    QLineEdit *SLE_ARA() const { return m_search; }
    QPushButton *PBARA_BUTTON() const { return m_find; }
    BuiltMenu *contextMenu() const { return m_context.get(); }

    void KAYDET();
    void CUT();
    void COPY();
    void PASTE();
    void FDELETE();
    void RMINDEDIT();
    void YM_EKLE();
    void INSBLNKYM();
    void YMDELETE();
    void YMSEC();
    void YMKAYDIR();
    void PBARA();
    void COLMATHBM();
    void BMBAGLA();
    void GOTOP();
    void GOPREVIOUS();
    void GONEXT();
    void GOBOTTOM();
    void RMYEDEKLE();
    // The closing check: the save and backup questions. False when the save question was cancelled or
    // a wanted save could not be written; the window then stays open with its rows.
    bool SONKONT();

    // DataWindow
    void CLOSE() override;
    // ShellChild
    BuiltMenu *childMenu() override { return m_menu.get(); }
    CommandRegistry &childCommands() override { return m_commands; }

    // How the column-arithmetic dialog is asked; tests answer it without a modal loop.
    using ColumnMathDialog = std::function<std::optional<ColumnMathRequest>(QWidget *owner, const BARRAYSERVER *server)>;
    static void setColumnMathDialog(ColumnMathDialog dialog);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    bool load();
    void buildGrid();
    void editChange(BCellEditEvent &event);
    bool cellEdit(BCellEditEvent &event);
    void captionClick(int column);
    void modeChosen(int index);
    // Runs a command over many rows with the grid's drawing suspended, refreshing once at the end.
    void bulk(const std::function<void()> &operation);
    void syncMoveItems();
    bool ready() const;
    int currentField() const;

    std::unique_ptr<ReferenceMatrixRows> m_rows;
    RMAT_BBROWSER *m_grid = nullptr;
    QLabel *m_modeLabel = nullptr;
    QComboBox *m_mode = nullptr;
    QLineEdit *m_search = nullptr;
    QPushButton *m_find = nullptr;
    bool m_guard = true;
    // The cell's edit field from which the typing filter took characters out, while it lives.
    QPointer<QLineEdit> m_filteredEditor;
    bool m_closing = false;
    CommandRegistry m_commands;
    std::unique_ptr<BuiltMenu> m_menu;
    std::unique_ptr<BuiltMenu> m_context;
};

// SSHELLWINDOW:RM_YAZIM: shows the open editor, or creates the matrix when it is missing and opens one.
void RM_YAZIM();
// Registers RM_YAZIM with the main window's commands.
void installReferenceMatrixEditorCommands();

} // namespace vexo
