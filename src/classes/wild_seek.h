#pragma once

#include <QString>
#include <QVariant>

namespace vexo {

class DbfTable;

// Position (from 1) of the first "*" or "?" in the pattern; 0 when it holds neither.
int WILDPOS(const QString &pattern);
// True when the whole text matches the whole pattern: "*" any run of characters (the empty one
// included), "?" exactly one character, everything else itself, case and all.
bool WILDMATCH(const QString &text, const QString &pattern);
// Puts the table on the first record, in the order of its controlling index, whose key matches the
// pattern: the literal part before the first wildcard is sought through the index and the keys that
// begin with it are scanned. A key without a wildcard is sought as it is. False when none matches;
// the table then stands where the search stopped.
bool WILDSEEK(DbfTable &table, const QVariant &key);

} // namespace vexo
