#include "classes/wild_seek.h"

#include "platform/dbf_table.h"

namespace vexo {

int WILDPOS(const QString &pattern)
{
    for (qsizetype i = 0; i < pattern.size(); ++i)
        if (pattern[i] == u'*' || pattern[i] == u'?')
            return int(i) + 1;
    return 0;
}

// Walks text and pattern once, going back only to just after the latest "*" and letting it take one
// more character: no recursion, so no pattern is too long.
bool WILDMATCH(const QString &text, const QString &pattern)
{
    qsizetype t = 0, p = 0, star = -1, mark = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == u'*') {
            star = p++;
            mark = t;
        } else if (p < pattern.size() && (pattern[p] == u'?' || pattern[p] == text[t])) {
            ++t;
            ++p;
        } else if (star >= 0) {
            p = star + 1;
            t = ++mark;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*')
        ++p;
    return p == pattern.size();
}

bool WILDSEEK(DbfTable &table, const QVariant &key)
{
    const QString pattern = key.typeId() == QMetaType::QString ? key.toString() : QString();
    const int p = WILDPOS(pattern);
    if (p == 0)
        return key.typeId() == QMetaType::QString && table.seek(pattern);
    const QString prefix = pattern.left(p - 1);
    if (!(p == 1 ? table.goTop() : table.seek(prefix)))
        return false;
    QString keyText = table.orderKeyVal().toString();
    while (!table.eof()) {
        if (WILDMATCH(keyText, pattern))
            return true;
        // The scan ends past the keys that begin with the prefix, and on a skip that fails.
        if (keyText.left(p - 1) != prefix || !table.skip(1) || table.eof())
            return false;
        keyText = table.orderKeyVal().toString();
    }
    return false;
}

} // namespace vexo
