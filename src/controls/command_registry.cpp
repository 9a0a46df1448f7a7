#include "controls/command_registry.h"

namespace vexo {

void CommandRegistry::add(const QString &name, Handler handler)
{
    if (handler)
        handlers_[name] = std::move(handler);
    else
        handlers_.erase(name);
}

void CommandRegistry::remove(const QString &name)
{
    handlers_.erase(name);
}

bool CommandRegistry::has(const QString &name) const
{
    return handlers_.count(name) != 0;
}

bool CommandRegistry::run(const QString &name) const
{
    const auto found = handlers_.find(name);
    if (found == handlers_.end())
        return false;
    // A handler may replace or remove itself while it runs, so it runs from a copy.
    const Handler handler = found->second;
    handler();
    return true;
}

QStringList CommandRegistry::names() const
{
    QStringList out;
    for (const auto &entry : handlers_)
        out << entry.first;
    return out;
}

CommandRegistry &shellCommands()
{
    static CommandRegistry registry;
    return registry;
}

} // namespace vexo
