#include "problem/date_text.h"

#include <QList>

#include <algorithm>

namespace vexo {

namespace {

// The fields of a format in their order: 'd', 'm' or 'y', with the width each is written in.
struct FormatField
{
    QChar kind;
    int width = 0;
    qsizetype at = 0;
};

QList<FormatField> fieldsOf(const QString &format)
{
    QList<FormatField> fields;
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format.at(i).toLower();
        if (c != u'd' && c != u'm' && c != u'y') {
            ++i;
            continue;
        }
        qsizetype j = i;
        while (j < format.size() && format.at(j).toLower() == c)
            ++j;
        fields.append({c, int(j - i), i});
        i = j;
    }
    return fields;
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

} // namespace

QDate CToD(const QString &text, const QString &format)
{
    QList<QString> groups;
    QString current;
    for (const QChar c : text) {
        if (isDigit(c)) {
            current += c;
        } else if (!current.isEmpty()) {
            groups.append(current);
            current.clear();
        }
    }
    if (!current.isEmpty())
        groups.append(current);

    const QList<FormatField> fields = fieldsOf(format);
    if (groups.size() != 3 || fields.size() != 3)
        return {};
    int day = 0;
    int month = 0;
    int year = 0;
    for (int i = 0; i < 3; ++i) {
        if (groups.at(i).size() > 4)
            return {};
        const int value = groups.at(i).toInt();
        switch (fields.at(i).kind.unicode()) {
        case u'd': day = value; break;
        case u'm': month = value; break;
        default:
            year = groups.at(i).size() <= 2 ? 1900 + value : value;
            break;
        }
    }
    if (year < 1)
        return {};
    return QDate(year, month, day); // invalid for a day that does not exist
}

QString DToC(const QDate &date, const QString &format)
{
    QString result = format;
    const QList<FormatField> fields = fieldsOf(format);
    for (const FormatField &f : fields) {
        QString part;
        if (date.isValid()) {
            const int value = f.kind == u'd' ? date.day() : f.kind == u'm' ? date.month() : date.year();
            part = QString::number(value).rightJustified(f.width, u'0', true);
            if (f.kind == u'y' && f.width <= 2)
                part = QString::number(value % 100).rightJustified(f.width, u'0', true);
        } else {
            part = QString(f.width, u' ');
        }
        result.replace(f.at, f.width, part);
    }
    return result;
}

QString DToS(const QDate &date)
{
    if (!date.isValid())
        return QString(8, u' ');
    return QStringLiteral("%1%2%3")
        .arg(date.year(), 4, 10, QLatin1Char('0'))
        .arg(date.month(), 2, 10, QLatin1Char('0'))
        .arg(date.day(), 2, 10, QLatin1Char('0'));
}

QDate SToD(const QString &text)
{
    const QString t = text.trimmed();
    if (t.size() != 8 || !std::all_of(t.cbegin(), t.cend(), isDigit))
        return {};
    return QDate(t.left(4).toInt(), t.mid(4, 2).toInt(), t.mid(6, 2).toInt());
}

} // namespace vexo
