// Cell comparisons and the reader of text filters for the array server.

#include "classes/array_server.h"

#include "problem/number_text.h"

#include <QDate>
#include <QRegularExpression>

namespace vexo {

static bool isNumber(const QVariant &v)
{
    return isNumberValue(v);
}

bool usualEquals(const QVariant &cell, const QVariant &key)
{
    if (!cell.isValid() || !key.isValid())
        return cell.isValid() == key.isValid();
    if (cell.typeId() == QMetaType::QString && key.typeId() == QMetaType::QString)
        return cell.toString().startsWith(key.toString());
    if (isNumber(cell) && isNumber(key))
        return cell.toDouble() == key.toDouble();
    if (cell.typeId() != key.typeId())
        return false;
    return cell == key;
}

// Values of different kinds order by kind, so that a sort over a mixed column stays a strict order.
bool usualLess(const QVariant &a, const QVariant &b)
{
    if (isNumber(a) && isNumber(b))
        return a.toDouble() < b.toDouble();
    const int ka = isNumber(a) ? int(QMetaType::Double) : a.typeId();
    const int kb = isNumber(b) ? int(QMetaType::Double) : b.typeId();
    if (ka != kb)
        return ka < kb;
    switch (ka) {
    case QMetaType::QString:
        return a.toString() < b.toString();
    case QMetaType::QDate:
        return a.toDate() < b.toDate(); // the empty date first
    case QMetaType::Bool:
        return !a.toBool() && b.toBool();
    default:
        return false;
    }
}

namespace {

struct Condition
{
    QString column;
    QString op;
    QVariant literal;
};

bool holds(const QVariant &cell, const QString &op, const QVariant &lit)
{
    if (op == u"=")
        return usualEquals(cell, lit);
    if (op == u"==")
        return cell.typeId() == QMetaType::QString ? cell.toString() == lit.toString() : usualEquals(cell, lit);
    if (op == u"!=" || op == u"<>" || op == u"#")
        return !usualEquals(cell, lit);
    if (op == u"<")
        return usualLess(cell, lit);
    if (op == u">")
        return usualLess(lit, cell);
    if (op == u"<=")
        return !usualLess(lit, cell);
    return !usualLess(cell, lit); // ">="
}

std::optional<QVariant> literalOf(const QString &text)
{
    if (text.size() >= 2 && (text.front() == u'"' || text.front() == u'\'') && text.back() == text.front())
        return QVariant(text.mid(1, text.size() - 2));
    const QString up = text.toUpper();
    if (up == u".T." || up == u".Y.")
        return QVariant(true);
    if (up == u".F." || up == u".N.")
        return QVariant(false);
    bool ok = false;
    const double d = text.toDouble(&ok);
    if (ok)
        return QVariant(d);
    return std::nullopt;
}

} // namespace

std::optional<ARRAYSERVER::FilterBlock> compileArrayFilter(const QString &text)
{
    // Split at .OR. into groups of conditions joined by .AND.; quoted literals are not split.
    static const QRegularExpression conditionRx(
        QStringLiteral(R"(^\s*([A-Za-z_][A-Za-z0-9_]*)\s*(==|!=|<>|<=|>=|=|#|<|>)\s*("[^"]*"|'[^']*'|[^\s]+)\s*)"));
    static const QRegularExpression joinRx(QStringLiteral(R"(^\.(AND|OR)\.)"),
                                           QRegularExpression::CaseInsensitiveOption);
    QList<QList<Condition>> groups(1);
    QString rest = text;
    while (true) {
        const auto m = conditionRx.match(rest);
        if (!m.hasMatch())
            return std::nullopt;
        const auto lit = literalOf(m.captured(3));
        if (!lit)
            return std::nullopt;
        groups.last().append({m.captured(1), m.captured(2), *lit});
        rest = rest.mid(m.capturedLength(0));
        if (rest.isEmpty())
            break;
        const auto j = joinRx.match(rest);
        if (!j.hasMatch())
            return std::nullopt;
        if (j.captured(1).compare(u"OR", Qt::CaseInsensitive) == 0)
            groups.append(QList<Condition>());
        rest = rest.mid(j.capturedLength(0));
    }
    return ARRAYSERVER::FilterBlock([groups](const ARRAYSERVER &server, const ArrayRows &rows) {
        const quint32 r = server.RECNO();
        if (r < 1 || r > quint32(rows.size()))
            return false;
        const QVariantList &row = *rows.at(r - 1);
        for (const auto &group : groups) {
            bool all = true;
            for (const Condition &c : group) {
                const int n = server.FIELDPOS(ArraySymbol{c.column});
                if (n == 0 || !holds(row.value(n - 1), c.op, c.literal)) {
                    all = false;
                    break;
                }
            }
            if (all)
                return true;
        }
        return false;
    });
}

} // namespace vexo
