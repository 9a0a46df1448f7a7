#include "editfields/masks.h"

#include "problem/date_text.h"

#include <algorithm>

namespace vexo {

namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

int commasIn(const QString &text, int count)
{
    return int(text.left(std::max(count, 0)).count(u','));
}

// Sign, integer part cut to intLen and grouped in threes, and the fraction cut to decimals.
QString formatNumberMask(QString text, int intLen, int decimals)
{
    const bool negative = text.startsWith(u'-');
    if (negative)
        text.remove(0, 1);
    const qsizetype point = text.indexOf(u'.');
    QString integer = point >= 0 ? text.left(point) : text;
    integer.remove(u',');
    integer = integer.left(std::max(intLen, 0));
    const QString fraction = point >= 0 ? text.mid(point + 1).left(std::max(decimals, 0)) : QString();
    QString grouped;
    for (qsizetype i = 0; i < integer.size(); ++i) {
        if (i > 0 && (integer.size() - i) % 3 == 0)
            grouped += u',';
        grouped += integer.at(i);
    }
    QString result = (negative ? QStringLiteral("-") : QString()) + grouped;
    if (point >= 0)
        result += u'.' + fraction;
    return result;
}

} // namespace

int SETPOS(const QString &shown, int position, int reference, bool toBuffer)
{
    if (toBuffer)
        return position - commasIn(shown, position);
    return position + commasIn(shown, reference + 1);
}

MaskResult numberMaskKey(const MaskState &state, EditKey key, int intLen, int decimals)
{
    const bool isDelete = key.kind == EditKey::KeyDown && key.code == VK_DELETE;
    if (key.kind == EditKey::KeyDown && !isDelete)
        return {state.text, state.selStart, false};
    const bool back = key.code == VK_BACK;
    const QChar c(char16_t(key.code & 0xFFFF));

    QString T = state.text;
    int S = std::clamp(state.selStart, 0, int(T.size()));
    const int F = std::clamp(state.selFinish, S, int(T.size()));
    if (S != F) {
        T.remove(S, F - S);
    } else if (isDelete || back) {
        if (isDelete)
            ++S;
        if (S > 0 && S <= T.size()) {
            T.remove(S - 1, 1);
            --S;
        } else if (isDelete) {
            --S; // nothing after the caret
        }
    }
    int P = SETPOS(T, S, S, true);

    if (c == u'-' && !isDelete && !T.startsWith(u'-')) {
        T.prepend(u'-');
        ++P;
    } else if (c == u'+' && T.startsWith(u'-')) {
        T.remove(0, 1);
        if (P > 0)
            --P;
    } else if (c == u' ') {
        T.clear();
        P = 0;
    } else if (!isDelete && (isDigit(c) || (decimals != 0 && (c == u'.' || c == u',')))) {
        const QChar typed = c == u',' ? QChar(u'.') : c;
        if (P == 0 && T == QStringLiteral("-"))
            P = S = 1;
        if (typed != u'.' || !T.contains(u'.'))
            T.insert(std::min(S, int(T.size())), typed);
        ++P;
        if (typed == u'.') {
            const int at = int(T.indexOf(u'.')) + 1; // right behind the point
            P = SETPOS(T, at, at, true);
        }
    }

    const QString result = formatNumberMask(T, intLen, decimals);
    const int caret = std::clamp(SETPOS(result, P, P, false), 0, int(result.size()));
    return {result, caret, true};
}

MaskResult dateMaskKey(const MaskState &state, EditKey key, const QDate &today)
{
    const QString mask = QLatin1String(kDateMask);
    const QString format = QLatin1String(kDateMaskFormat);
    const bool isDelete = key.code == VK_DELETE; // the key and the character 0x2E both delete
    if (key.kind == EditKey::KeyDown && !isDelete)
        return {state.text, state.selStart, false};
    const QChar c(char16_t(key.code & 0xFFFF));

    // The text always has the mask's ten places, so nothing is read or written outside it.
    QString T = state.text.left(mask.size());
    T += mask.mid(T.size());
    int S = std::clamp(state.selStart, 0, int(T.size()));
    const int F = std::clamp(state.selFinish, S, int(T.size()));

    const bool handled = (S < 10 && isDigit(c)) || key.code == VK_BACK || isDelete
                         || QStringLiteral("+-dDmMyY* ").contains(c);
    if (!handled)
        return {state.text, S, true}; // swallowed

    if (S != F && S < 10 && isDigit(c))
        T.replace(S, F - S, mask.mid(S, F - S));

    if (key.code == VK_BACK || isDelete) {
        if (S == F) {
            if (key.code == VK_BACK) {
                if (S > 0 && T.at(S - 1) == u'.')
                    --S;
                if (S > 0) {
                    T[S - 1] = u' ';
                    --S;
                }
            } else {
                QString digits = T;
                if (S < digits.size())
                    digits.remove(S, 1);
                digits += u' ';
                digits.remove(u'.');
                digits = digits.left(8);
                T = digits.left(2) + u'.' + digits.mid(2, 2) + u'.' + digits.mid(4);
            }
        }
        return {T, S, true};
    }

    if (!isDigit(c)) {
        const QDate d = CToD(T, format);
        QDate result = d;
        switch (c.unicode()) {
        case u'+':
        case u'D': result = d.isValid() ? d.addDays(1) : d; break;
        case u'-':
        case u'd': result = d.isValid() ? d.addDays(-1) : d; break;
        case u'M': result = DATE_ADDMONTH(d, 1); break;
        case u'm': result = DATE_ADDMONTH(d, -1); break;
        case u'Y': result = DATE_ADDMONTH(d, 12); break;
        case u'y': result = DATE_ADDMONTH(d, -12); break;
        case u'*': result = today; break;
        default: result = QDate(); break; // the blank clears
        }
        if ((c == u'+' || c == u'D' || c == u'-' || c == u'd') && !d.isValid())
            return {state.text, S, true};
        return {DToC(result, format), S, true};
    }

    // A digit overwrites the place at the caret; a caret on a dot writes behind it, never over it.
    while (S < 10 && mask.at(S) == u'.')
        ++S;
    if (S >= 10)
        return {T, S, true};
    T[S] = c;
    while (S + 1 < 10 && mask.at(S + 1) == u'.')
        ++S;
    return {T, S + 1, true};
}

QDate DATE_ADDMONTH(const QDate &date, int months)
{
    if (!date.isValid())
        return {};
    // QDate::addMonths keeps the day where the target month has it and otherwise takes the month's last
    // day, so a valid date never turns empty.
    return date.addMonths(months);
}

} // namespace vexo
