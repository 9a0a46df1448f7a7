#pragma once

#include "controls/menu_table.h"

#include <QKeyCombination>
#include <QObject>
#include <QPointer>

#include <functional>
#include <map>

class QAction;
class QMenu;
class QToolBar;
class QWidget;

namespace vexo {

// One menu table turned into Qt objects: a QAction per row with an id, the menus of the bar (or the one
// popup of a context menu), a tool bar whose buttons share the items' actions (so a button follows its
// item's state), and the key table. Triggering an item (by mouse, key or button) hands its command to
// the dispatch function. The owner of the window decides where the menus and the tool bar are shown
// (ShellHost::showMenu for MDI children).
class BuiltMenu : public QObject
{
    Q_OBJECT
public:
    using Dispatch = std::function<void(const QString &command)>;

    BuiltMenu(MenuTable table, Dispatch dispatch, QObject *parent = nullptr);
    ~BuiltMenu() override;

    const MenuTable &table() const { return table_; }

    // The level-0 submenus in bar order (for a context menu: its one popup).
    const std::vector<QMenu *> &menus() const { return menus_; }
    QMenu *popup() const { return menus_.empty() ? nullptr : menus_.front(); }
    QToolBar *toolBar() const;
    QAction *action(int id) const;            // null for an unknown id
    QAction *toolAction(int id) const;        // the tool-bar button of an id, null when none

    // Item operations by id; unknown ids are ignored (false).
    void enable(int id) { setEnabled(id, true); }
    void disable(int id) { setEnabled(id, false); }
    void setEnabled(int id, bool enabled);
    void check(int id) { setChecked(id, true); }
    void uncheck(int id) { setChecked(id, false); }
    void setChecked(int id, bool checked);
    bool ISCHECKED(int id) const;
    bool isEnabled(int id) const;

    // The key table: the item id a key gives, 0 when the table has none.
    int idForKey(QKeyCombination key) const;
    // Runs an item's command as its menu item would: nothing when the item is disabled or unknown.
    bool trigger(int id);
    // A key of the table as the key table would handle it; false when the table has no such key.
    bool handleKey(QKeyCombination key);

    QString statusText(int id) const;         // the item's status-bar description
    QString toolTip(int id) const;            // the tip of the button with that id

    // Called with an item's status text while it is highlighted (menu hover, button tip).
    void setStatusSink(std::function<void(const QString &)> sink) { statusSink_ = std::move(sink); }

private:
    void build();
    QAction *newAction(const MenuRow &row);

    MenuTable table_;
    Dispatch dispatch_;
    std::function<void(const QString &)> statusSink_;
    std::vector<QMenu *> menus_;
    std::map<int, QAction *> actions_;
    std::map<int, QAction *> toolActions_;
    std::map<int, bool> checked_;
    QPointer<QToolBar> toolBar_;
    std::vector<QPointer<QMenu>> ownedMenus_;
};

// Routes the keys pressed anywhere inside one window to the key table of the menu shown there now,
// ahead of the focused widget and of Qt's own shortcuts, as a key table does. Keys of other windows
// (dialogs included) pass by, and so do cut, copy and paste pressed in an edit field, which act on
// the field's text. The router is a child of the window.
class MenuKeyRouter : public QObject
{
    Q_OBJECT
public:
    MenuKeyRouter(QWidget *window, std::function<BuiltMenu *()> shownMenu);
    ~MenuKeyRouter() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPointer<QWidget> window_;
    std::function<BuiltMenu *()> shownMenu_;
};

// The picture a tool-bar number shows: our drawing "TB<number>" (null icon when there is none).
QString toolBarPictureName(int number);
// The picture of a tool-bar button that gives `command`: the command's own drawing
// "TB<number>_<command>" where one number serves commands that do different things, the number's
// drawing otherwise.
QString toolBarPictureName(int number, const QString &command);

} // namespace vexo
