#pragma once

#include <QDate>
#include <QString>

namespace vexo {

// Dates as the program writes and reads them. The empty date is a null QDate. A date format is a
// text of "dd", "mm" and "yy"/"yyyy" fields with any separators between them ("dd/mm/yyyy",
// "yyyy.mm.dd"); it is always passed in, never taken from a process-wide setting.
inline constexpr const char kDateFormat[] = "dd/mm/yyyy"; // the program's own: day, month, century

// The date of a text in the given format: the first three groups of digits are taken as the fields in
// the format's order, whatever separates them. A year of one or two digits counts in the 1900s. A text
// without three groups, with a fourth, or naming no real day gives the empty date.
QDate CToD(const QString &text, const QString &format = QLatin1String(kDateFormat));
// The date written in the format; the empty date writes the format with its digits blanked
// ("  /  /    ").
QString DToC(const QDate &date, const QString &format = QLatin1String(kDateFormat));
// Eight digits, year, month and day ("20240315"); the empty date gives eight blanks. Sorts as text.
QString DToS(const QDate &date);
// The date of eight digits yyyymmdd (blanks around them allowed); anything else is the empty date.
QDate SToD(const QString &text);

} // namespace vexo
