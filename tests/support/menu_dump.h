#pragma once

#include "controls/menu_table.h"

#include <QFile>
#include <QStringList>

#include "source_tree.h"

namespace vexo::test {

// A menu table as text, one row per line, for golden copies kept beside the tests.
inline QString dumpTable(const MenuTable &t)
{
    auto esc = [](QString s) { return s.replace(QLatin1Char('\t'), QStringLiteral("\\t")); };
    QStringList out{QStringLiteral("[rows]")};
    for (const MenuRow &r : t.rows) {
        const char *kind = r.kind == MenuRowKind::Submenu ? "submenu" : r.kind == MenuRowKind::Item ? "item" : "separator";
        QString state;
        if (r.state & MenuState::Disabled)
            state += QStringLiteral("disabled");
        if (r.state & MenuState::Checked)
            state += QStringLiteral("checked");
        out << QStringLiteral("%1|%2|%3|%4|%5|%6|%7|%8")
                   .arg(r.level)
                   .arg(QLatin1String(kind))
                   .arg(r.id)
                   .arg(esc(r.text), r.command, r.status, r.help, state);
    }
    out << QStringLiteral("[keys]");
    for (const KeyRow &k : t.keys)
        out << k.key.toString(QKeySequence::PortableText) + QLatin1Char('|') + QString::number(k.id);
    out << QStringLiteral("[tools]");
    for (const ToolRow &b : t.tools)
        out << QStringLiteral("%1|%2|%3").arg(b.picture).arg(b.id).arg(b.tip);
    return out.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

// A golden copy from the source tree, by its path below tests/.
inline QString goldenText(const QString &path)
{
    QFile f(sourceTree() + QStringLiteral("/tests/") + path);
    if (!f.open(QIODevice::ReadOnly))
        return QStringLiteral("missing golden copy ") + path;
    return QString::fromUtf8(f.readAll());
}

} // namespace vexo::test
