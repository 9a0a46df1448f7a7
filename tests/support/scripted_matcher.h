#pragma once

#include "problem/name_match.h"

#include <QList>
#include <QQueue>

#include <utility>

namespace vexo::test {

// Answers the name-matching questions from a script (the chosen candidate given by its text) and
// records what was asked and offered. Installs itself for its lifetime; an unscripted question is
// cancelled.
class ScriptedMatcher : public NameMatcher
{
public:
    ScriptedMatcher() { setNameMatcher(this); }
    ~ScriptedMatcher() override { setNameMatcher(nullptr); }
    struct Asked { QString caption, name; QStringList candidates; };
    QQueue<std::pair<NameMatchAnswer::Result, QString>> script;
    QList<Asked> asked;

    NameMatchAnswer choose(QWidget *, const QString &caption, const QString &name,
                           const QStringList &candidates) override
    {
        asked.append({caption, name, candidates});
        if (script.isEmpty())
            return {};
        const auto [result, pick] = script.dequeue();
        return {result, result == NameMatchAnswer::Chosen ? int(candidates.indexOf(pick)) + 1 : 0};
    }
};

} // namespace vexo::test
