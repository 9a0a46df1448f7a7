#pragma once

#include "controls/barray_server.h"
#include "controls/browser_owner.h"
#include "controls/command_registry.h"
#include "controls/menu_table.h"
#include "controls/shell_host.h"

#include <QWidget>

#include <memory>

namespace vexo {

class AMAT_BBROWSER;
class BuiltMenu;

inline const QString kActiveMatrixCaption = QStringLiteral("Yem Maddesi & Besin Maddesi Matrisi Yazımı");

MenuTable amatGirMenu();
MenuTable amContMenu();

// BAMAT_GIR_WIN: edits a copy of the open problem's matrix, one row per nutrient and one column per
// ingredient; the copy reaches AAMAT only when the window commits (on closing, or before a save).
class BAMAT_GIR_WIN : public QWidget, public ShellChild, public DataWindow, public BrowserOwner
{
    Q_OBJECT
public:
    explicit BAMAT_GIR_WIN(QWidget *parent = nullptr);
    ~BAMAT_GIR_WIN() override;

    // The help topic that "İlgili Yardım" (F3) opens.
    static QString helpKeyword() { return QStringLiteral("Aktif Matris Yazımı"); }

    AMAT_BBROWSER *BROWSER() const { return m_grid; }
    BARRAYSERVER *server() const { return m_server.get(); }
    const QList<int> &decimals() const { return m_decimals; }
    bool girdeg() const { return m_girdeg; }
    void setGIRDEG(bool on) { m_girdeg = on; }

    void CUT();
    void COPY();
    void PASTE();
    void FDELETE();
    void GOTOP();
    void GOPREVIOUS();
    void GONEXT();
    void GOBOTTOM();
    void BMBAGLA();
    void SONKONT();
    void TRICKSERVER();

    // DataWindow
    void CLOSE() override;
    bool canCommit() const override { return true; }
    void SONKONT2() override;
    // ShellChild
    BuiltMenu *childMenu() override { return m_menu.get(); }
    CommandRegistry &childCommands() override { return m_commands; }
    BuiltMenu *contextMenu() const { return m_context.get(); }

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void buildGrid();
    void commit();
    void editChange(BCellEditEvent &event);
    bool cellEdit(BCellEditEvent &event);
    // The current cell's field when the current column is an editable ingredient column, else 0.
    int editableField() const;
    void writeCurrent(const QString &value);

    std::shared_ptr<BARRAYSERVER> m_server;
    AMAT_BBROWSER *m_grid = nullptr;
    QList<int> m_decimals;
    bool m_girdeg = false;
    bool m_guard = true;
    bool m_closing = false;
    CommandRegistry m_commands;
    std::unique_ptr<BuiltMenu> m_menu;
    std::unique_ptr<BuiltMenu> m_context;
};

// Registers AMAT_GIRIS with the main window's commands.
void installActiveMatrixCommands();

} // namespace vexo
