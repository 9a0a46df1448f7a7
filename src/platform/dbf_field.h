#pragma once

#include <QChar>
#include <QList>
#include <QString>
#include <QVariant>

namespace vexo {

// One column of a table as a structure list gives it: {name, type letter, width, decimals}.
struct DbfField
{
    QString name;
    QChar type = u'C';
    int width = 0;
    int decimals = 0;

    bool operator==(const DbfField &) const = default;
};

using DbfStructure = QList<DbfField>;

// How values travel between QVariant and a field's bytes. Character fields come back at their full
// width, padded with blanks as stored, because the callers cut and compare fixed-width texts;
// numbers come back as double, logicals as bool, dates as QDate (null when blank). Types the program
// never writes (memo, float, integer, ...) read as their raw text.
namespace dbf {

enum class PutResult { Ok, BadType, TooWide };

QVariant decodeValue(const DbfField &field, const char *bytes);
// Writes exactly field.width bytes. Character values are cut to the width; a number that does not fit
// the width is refused rather than stored as asterisks, and the bytes are then left untouched.
PutResult encodeValue(const DbfField &field, const QVariant &value, char *bytes);

// Why a structure cannot be created (empty when it can): names of 1 to 10 characters that the code
// page holds and not used twice, known types, widths the layout can store.
QString structureProblem(const DbfStructure &fields);

} // namespace dbf
} // namespace vexo
