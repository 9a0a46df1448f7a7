#pragma once

#include "controls/browser_owner.h"
#include "controls/command_registry.h"
#include "controls/shell_host.h"
#include "matrix/group_dialogs.h"
#include "matrix/group_rules.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>

class QLineEdit;
class QPushButton;

namespace vexo {

class BARRAYSERVER;
class BCLASSBROWSER;
class BuiltMenu;

// What the member dialog hands back.
struct GroupDialogResult
{
    int RESULT = 0;
    QString CGRPNAME;
    QList<int> ANSELECTED;
};
// What a solve hands back: RESULT, LOPTI_ and the group rows of AAUTOYMG_.
struct GroupSolveResult
{
    int RESULT = 0;
    bool LOPTI = false;
    QList<QStringList> AAUTOYMG;
};

// BYM_GRUBU_WIN: the open problem's ingredient groups in a grid over the window's copy of the group
// list, the solution status button and the five cost fields; adding, defining and deleting groups,
// and solving from the window.
class BYM_GRUBU_WIN : public QWidget, public DataWindow, public ShellChild
{
    Q_OBJECT
public:
    explicit BYM_GRUBU_WIN(QWidget *parent = nullptr);
    ~BYM_GRUBU_WIN() override;

    // The help topic that "İlgili Yardım" (F3) opens.
    static QString helpKeyword() { return QStringLiteral("Yem Maddesi Grupları"); }

    // The member dialog and the solver; tests put scripted ones in.
    using MemberDialog = std::function<GroupDialogResult(QWidget *owner, std::optional<GRUP_BELIR_DLG::Existing>)>;
    using Solver = std::function<GroupSolveResult(QWidget *owner)>;
    static void setMemberDialog(MemberDialog dialog);
    static void setSolver(Solver solver);

    BCLASSBROWSER *BROWSER() const { return m_grid; }
    BARRAYSERVER *server() const { return m_server.get(); }
    QPushButton *PBDURUM() const { return m_status; }
    QLineEdit *costField(int id) const; // 102 to 106
    BuiltMenu *menu() const { return m_menu.get(); }
    BuiltMenu *contextMenu() const { return m_context.get(); }
    bool girdeg() const { return m_girdeg; }
    RowList gridRows() const;

    bool runCommand(const QString &name);

    // DataWindow
    void CLOSE() override;
    bool canCommit() const override { return true; }
    void SONKONT2() override;

    // ShellChild
    BuiltMenu *childMenu() override { return m_menu.get(); }
    CommandRegistry &childCommands() override { return m_commands; }

    void COPY();
    void CUT();
    void CLEAR();
    void FDELETE();
    void PASTE();
    void TRICKSERVER();
    void PBEKLE() { DOGRPBELIRLE(true); }
    void GRPBELIRLE() { DOGRPBELIRLE(false); }
    void DOGRPBELIRLE(bool newGroup);
    void PBSIL();
    void PBCOZUM();
    void BASDURUM();
    void COZDURUM();
    void MALIYETVEFARKLARI();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void setUpGrid();
    void registerCommands();
    bool commit();
    Row currentRow() const;
    // Applies a rule's outcome to the current row: tone, box, cells, flags.
    void apply(const GroupCellOutcome &out);
    void writeRow(int recNo, const Row &row);
    bool cellEdit(BCellEditEvent &ev);
    void editChange(BCellEditEvent &ev);
    void statusBar(const QString &text);

    BrowserOwner m_owner;
    std::shared_ptr<BARRAYSERVER> m_server;
    BCLASSBROWSER *m_grid = nullptr;
    QPushButton *m_status = nullptr;
    QLineEdit *m_fields[5] = {};
    std::unique_ptr<BuiltMenu> m_menu;
    std::unique_ptr<BuiltMenu> m_context;
    CommandRegistry m_commands;
    bool m_girdeg = false;
    bool m_filtering = true;
    // The cell editor the typing filter took characters out of (its edit's blank is no emptying).
    QPointer<QLineEdit> m_filteredEditor;
    bool m_closing = false;
    bool m_solving = false;
    bool m_closeAsked = false;
};

// Opens the group window through the main window (brought forward when it is open).
QWidget *openGroupWindow();
// Registers YMGRUBU with the main window's commands.
void installGroupCommands();

} // namespace vexo
