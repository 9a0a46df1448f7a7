#include "controls/menu_builder.h"

#include "resources/resource_library.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QSignalBlocker>
#include <QToolBar>

namespace vexo {

QString toolBarPictureName(int number)
{
    return QStringLiteral("TB%1").arg(number);
}

QString toolBarPictureName(int number, const QString &command)
{
    const QString own = toolBarPictureName(number) + u'_' + command;
    return !command.isEmpty() && ResourceLibrary::contains(own) ? own : toolBarPictureName(number);
}

BuiltMenu::BuiltMenu(MenuTable table, Dispatch dispatch, QObject *parent)
    : QObject(parent), table_(std::move(table)), dispatch_(std::move(dispatch))
{
    build();
}

BuiltMenu::~BuiltMenu()
{
    delete toolBar_.data();
    for (const QPointer<QMenu> &menu : ownedMenus_)
        delete menu.data();
}

QAction *BuiltMenu::newAction(const MenuRow &row)
{
    auto *action = new QAction(row.text, this);
    action->setStatusTip(row.status);
    action->setEnabled(!(row.state & MenuState::Disabled));
    if (row.state & MenuState::Checked) {
        action->setCheckable(true);
        action->setChecked(true);
        checked_[row.id] = true;
    }
    const int id = row.id;
    connect(action, &QAction::triggered, this, [this, id] { trigger(id); });
    connect(action, &QAction::hovered, this, [this, id] {
        if (statusSink_)
            statusSink_(statusText(id));
    });
    return action;
}

void BuiltMenu::build()
{
    std::vector<QMenu *> open; // the submenu open at each level
    for (const MenuRow &row : table_.rows) {
        const int level = std::max(row.level, 0);
        QMenu *parentMenu = level > 0 && std::size_t(level) <= open.size() ? open[std::size_t(level - 1)] : nullptr;
        switch (row.kind) {
        case MenuRowKind::Submenu: {
            auto *menu = new QMenu(row.text);
            ownedMenus_.emplace_back(menu);
            menu->menuAction()->setStatusTip(row.status);
            if (parentMenu)
                parentMenu->addMenu(menu);
            else
                menus_.push_back(menu);
            if (row.id != 0)
                actions_[row.id] = menu->menuAction();
            if (row.state & MenuState::Disabled)
                menu->menuAction()->setEnabled(false);
            open.resize(std::size_t(level));
            open.push_back(menu);
            break;
        }
        case MenuRowKind::Separator:
            if (parentMenu)
                parentMenu->addSeparator();
            break;
        case MenuRowKind::Item: {
            QAction *action = newAction(row);
            if (parentMenu)
                parentMenu->addAction(action);
            if (row.id != 0)
                actions_[row.id] = action;
            break;
        }
        }
    }

    if (table_.tools.empty())
        return;
    toolBar_ = new QToolBar(table_.name);
    toolBar_->setObjectName(table_.name + QStringLiteral("_TOOLBAR"));
    toolBar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    toolBar_->setMovable(false);
    toolBar_->setFloatable(false);
    for (const ToolRow &tool : table_.tools) {
        if (tool.isSeparator()) {
            toolBar_->addSeparator();
            continue;
        }
        const MenuRow *row = table_.row(tool.id);
        const QString picture = toolBarPictureName(tool.picture, row ? row->command : QString());
        auto *button = new QAction(ResourceLibrary::icon(picture), tool.tip, this);
        button->setToolTip(tool.tip);
        const int id = tool.id;
        QAction *itemAction = action(id);
        if (itemAction) {
            button->setStatusTip(itemAction->statusTip());
            button->setEnabled(itemAction->isEnabled());
            connect(itemAction, &QAction::enabledChanged, button, &QAction::setEnabled);
        }
        connect(button, &QAction::triggered, this, [this, id] { trigger(id); });
        connect(button, &QAction::hovered, this, [this, id] {
            if (statusSink_)
                statusSink_(statusText(id));
        });
        toolBar_->addAction(button);
        toolActions_.emplace(id, button);
    }
}

QToolBar *BuiltMenu::toolBar() const
{
    return toolBar_.data();
}

QAction *BuiltMenu::action(int id) const
{
    const auto found = actions_.find(id);
    return found == actions_.end() ? nullptr : found->second;
}

QAction *BuiltMenu::toolAction(int id) const
{
    const auto found = toolActions_.find(id);
    return found == toolActions_.end() ? nullptr : found->second;
}

void BuiltMenu::setEnabled(int id, bool enabled)
{
    if (QAction *a = action(id))
        a->setEnabled(enabled);
    else if (QAction *button = toolAction(id))
        button->setEnabled(enabled);
}

void BuiltMenu::setChecked(int id, bool checked)
{
    QAction *a = action(id);
    if (!a)
        return;
    checked_[id] = checked;
    const QSignalBlocker block(a);
    a->setCheckable(true);
    a->setChecked(checked);
}

bool BuiltMenu::ISCHECKED(int id) const
{
    const auto found = checked_.find(id);
    return found != checked_.end() && found->second;
}

bool BuiltMenu::isEnabled(int id) const
{
    if (QAction *a = action(id))
        return a->isEnabled();
    if (QAction *button = toolAction(id))
        return button->isEnabled();
    return false;
}

int BuiltMenu::idForKey(QKeyCombination key) const
{
    for (const KeyRow &row : table_.keys)
        if (row.key.count() == 1 && row.key[0] == key)
            return row.id;
    return 0;
}

bool BuiltMenu::trigger(int id)
{
    const MenuRow *row = table_.row(id);
    if (!row || row->kind != MenuRowKind::Item)
        return false;
    if (QAction *a = action(id)) {
        // Qt flips a checkable action before it reports the trigger; the mark belongs to the command.
        if (a->isCheckable()) {
            const QSignalBlocker block(a);
            a->setChecked(ISCHECKED(id));
        }
        if (!a->isEnabled())
            return false;
    } else if (!isEnabled(id)) {
        return false;
    }
    if (dispatch_)
        dispatch_(row->command);
    return true;
}

bool BuiltMenu::handleKey(QKeyCombination key)
{
    const int id = idForKey(key);
    if (id == 0)
        return false;
    trigger(id);
    return true;
}

QString BuiltMenu::statusText(int id) const
{
    const MenuRow *row = table_.row(id);
    return row ? row->status : QString();
}

QString BuiltMenu::toolTip(int id) const
{
    for (const ToolRow &tool : table_.tools)
        if (!tool.isSeparator() && tool.id == id)
            return tool.tip;
    return {};
}

MenuKeyRouter::MenuKeyRouter(QWidget *window, std::function<BuiltMenu *()> shownMenu)
    : QObject(window), window_(window), shownMenu_(std::move(shownMenu))
{
    qApp->installEventFilter(this);
}

MenuKeyRouter::~MenuKeyRouter()
{
    qApp->removeEventFilter(this);
}

bool MenuKeyRouter::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride)
        return false;
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || !window_ || widget->window() != window_.data())
        return false;
    BuiltMenu *menu = shownMenu_ ? shownMenu_() : nullptr;
    if (!menu)
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    // While text is being typed into an edit field (a grid cell's included), cut, copy and paste
    // act on that text, not through the window's commands.
    if (qobject_cast<QLineEdit *>(widget)
        && (key->matches(QKeySequence::Cut) || key->matches(QKeySequence::Copy) || key->matches(QKeySequence::Paste)))
        return false;
    const Qt::KeyboardModifiers mods =
        key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    const QKeyCombination combination(mods, Qt::Key(key->key()));
    if (menu->idForKey(combination) == 0)
        return false;
    if (type == QEvent::ShortcutOverride) {
        // Claim the key so that no shortcut of Qt's takes it; the press comes here next.
        event->accept();
        return true;
    }
    menu->handleKey(combination);
    return true;
}

} // namespace vexo
