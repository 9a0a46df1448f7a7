#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <map>

namespace vexo {

// Names to handlers. A menu item, a key, a tool-bar button and a navigation-pane item carry a command
// name; whoever owns them runs the name through a registry. A name without a handler does nothing.
class CommandRegistry
{
public:
    using Handler = std::function<void()>;

    // Sets (or replaces) the handler of a name; an empty handler removes it.
    void add(const QString &name, Handler handler);
    void remove(const QString &name);
    bool has(const QString &name) const;
    // Runs the handler; false when the name has none.
    bool run(const QString &name) const;
    QStringList names() const;

private:
    std::map<QString, Handler> handlers_;
};

// The main window's commands. The libraries register theirs in their install...Commands() before the
// main window exists; the window adds its own when it is built.
CommandRegistry &shellCommands();

} // namespace vexo
