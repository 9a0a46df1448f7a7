#pragma once

#include "controls/menu_table.h"

#include <QFile>
#include <QStringList>

namespace vexo::test {

// A menu table as text for golden copies: its rows (level, kind, id, text with "\t" spelled out,
// command, status text, help context, state), then its keys and its tool bar, one a line.
inline QString menuTableText(const MenuTable &t)
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

// A golden copy kept beside the tests, as UTF-8 text; empty when it cannot be read.
inline QString goldenText(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

} // namespace vexo::test
