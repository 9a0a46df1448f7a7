#pragma once

#include "controls/browser_owner.h"
#include "controls/command_registry.h"
#include "controls/shell_host.h"
#include "editors/constraint_edit_model.h"

#include <QLineEdit>
#include <QPointer>
#include <QWidget>

#include <memory>

class QLineEdit;
class QPushButton;

namespace vexo {

class BARRAYSERVER;
class BCLASSBROWSER;
class BuiltMenu;

// CONSTRAINTEDITWINDOW: the ingredient, nutrient and ratio editors of the open problem. A grid over
// the window's copy of its list, the solution status button and five cost fields; the menu bar with
// its tool bar and keys, and a context menu. Its rules live in ConstraintEditModel; the window keeps
// the grid's server in step with the model's rows and forwards the grid's events and the commands.
class ConstraintEditWindow : public QWidget, public DataWindow, public ShellChild
{
    Q_OBJECT
public:
    explicit ConstraintEditWindow(EditorKind kind, QWidget *parent = nullptr);
    ~ConstraintEditWindow() override;

    EditorKind kind() const { return m_model.kind(); }
    ConstraintEditModel &model() { return m_model; }
    BCLASSBROWSER *BROWSER() const { return m_grid; }
    BARRAYSERVER *server() const { return m_server.get(); }
    QPushButton *PBDURUM() const { return m_status; }
    QLineEdit *costField(int id) const; // 102 to 106
    BuiltMenu *contextMenu() const { return m_context.get(); }

    // Runs a command as the menu does: the window's own, else the main window's.
    bool runCommand(const QString &name);

    // DataWindow
    void CLOSE() override;
    bool canCommit() const override { return true; }
    void SONKONT2() override { m_model.SONKONT2(); }

    // ShellChild
    BuiltMenu *childMenu() override { return m_menu.get(); }
    CommandRegistry &childCommands() override { return m_commands; }

    void CONTEXTHELP();
    void WIN_HESMAK();
    void ABOUT();

    // Wide enough for every column of the grid and the free width beside it, tall enough for the
    // caption, a page of rows and the cost fields below: what a frame arranged around it is given.
    QSize sizeHint() const override;

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void buildControls();
    void setUpGrid();
    void connectModel();
    void registerCommands();
    // The grid's current cell becomes the model's before a command runs.
    void pullCurrent();
    // The server takes the model's rows (count and texts) without telling the grid cell by cell.
    void syncServer();
    void syncRow(int row);
    // Scrolls back to the leftmost columns, as far as the current column stays in view.
    void firstColumnsInView();
    // "Yem maddesi stokda yok!" leaves the status bar once the current ingredient is in stock.
    void withdrawStockWarning();
    // A row's cell as the server of field `field` (from 1) holds it for the grid.
    QString shown(int field, const QString &cell) const;
    bool cellEdit(BCellEditEvent &event);
    void editChange(BCellEditEvent &event);

    ConstraintEditModel m_model;
    BrowserOwner m_owner;
    std::shared_ptr<BARRAYSERVER> m_server;
    BCLASSBROWSER *m_grid = nullptr;
    QPushButton *m_status = nullptr;
    QLineEdit *m_fields[5] = {};
    std::unique_ptr<BuiltMenu> m_menu;
    std::unique_ptr<BuiltMenu> m_context;
    CommandRegistry m_commands;
    bool m_closing = false;
    // The cell's edit field from which the typing filter took characters out, while it lives.
    QPointer<QLineEdit> m_filteredEditor;
    bool m_syncing = false;
    bool m_typing = false;
};

// Opens the editor of that kind through the main window (brought forward when it is open).
QWidget *openEditor(EditorKind kind);
// Registers YM_GIRIS, BM_GIRIS and BMO_GIRIS with the main window's commands.
void installEditorCommands();

} // namespace vexo
