#include "editfields/number_editor.h"

#include "problem/number_text.h"

#include <algorithm>

namespace vexo {

namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

QString zeros(int n)
{
    return QString(std::max(n, 0), u'0');
}

QString leftTrimmed(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && text.at(i) == u' ')
        ++i;
    return text.mid(i);
}

} // namespace

QString SETFIELD(const NumberFormat &format, const QString &text, double factor)
{
    QString cleaned;
    for (const QChar c : text) {
        if (c != format.thousandSep && c != u' ')
            cleaned += c;
    }
    if (format.decimalSep != u'.')
        cleaned.replace(format.decimalSep, u'.');
    return format.spec.Transform(Val(cleaned) * factor);
}

NumberEditResult PROCESSNUM(const NumberFormat &format, const NumberEditState &state, EditKey key)
{
    const QChar D = format.decimalSep;
    const int n = format.spec.Decimals();
    const int W = format.width > 0 ? format.width : format.spec.Length();
    const int w = key.code;
    const QChar c(char16_t(w & 0xFFFF));
    const bool isNavigation = w == VK_END || w == VK_HOME || w == VK_LEFT || w == VK_RIGHT;

    QString T = state.text;
    int S = std::clamp(state.selStart, 0, int(T.size()));
    const int F = std::clamp(state.selFinish, S, int(T.size()));
    bool replaceAll = state.replaceAll;
    bool negativePending = state.negativePending;
    int P = S;
    bool accepted = true;
    bool selectionReplaced = false;
    NumberEditResult result;

    auto writeBack = [&] {
        P = std::clamp(P, 0, int(T.size()));
        result.state = {T, P, P, replaceAll, negativePending};
        result.value = format.spec.Val(T);
        return result;
    };
    // Where the caret goes before the separator; a text without one puts it at its end.
    auto beforeSeparator = [&](const QString &t) {
        const int k = int(t.indexOf(D));
        return k >= 0 ? k : int(t.size());
    };

    bool inFraction = n > 0 && T.contains(D) && int(T.indexOf(D)) + 1 <= S;

    // A partial selection is removed before the key is applied; all of it selected means replace.
    if (S != F && !replaceAll) {
        if (S == 0 && F == T.size()) {
            replaceAll = true;
        } else {
            T.remove(S, F - S);
            P = F;
            selectionReplaced = w == VK_BACK || w == VK_DELETE || key.kind == EditKey::Char;
        }
    }

    // Navigation drops a removal and the replace mode and parks the caret before the separator.
    if ((isNavigation || w == VK_TAB) && (replaceAll || S != F)) {
        T = state.text;
        replaceAll = false;
        S = P = n > 0 ? beforeSeparator(T) : F;
    }

    QString I;
    QString R;
    int p = 0; // one-based index of the fraction digit right after the caret
    if (n > 0) {
        const int k = int(T.indexOf(D));
        if (k < 0 || T.isEmpty()) {
            I = QStringLiteral("0");
            R = QStringLiteral("0");
        } else {
            I = T.left(k);
            R = T.mid(k + 1);
        }
        if (inFraction)
            p = std::max(S - int(I.size()), 1);
    } else {
        I = T;
    }

    if (replaceAll) {
        if (c == D) {
            if (inFraction) {
                accepted = false;
            } else {
                inFraction = true;
                I = QStringLiteral("0");
                R = zeros(n);
                ++P;
            }
        } else if (c == u'-') {
            negativePending = true;
            I = QStringLiteral("0");
            R = zeros(n);
        } else {
            I = QString(c); // anything but a digit makes the value zero
            R = zeros(n);
        }
        if (accepted) {
            T = SETFIELD(format, I + D + R);
            replaceAll = false;
            if (n > 0)
                P = beforeSeparator(T) + (inFraction ? 1 : 0);
            else
                P = int(T.size());
            return writeBack();
        }
    }

    if (key.kind == EditKey::KeyDown && (w == VK_BACK || w == VK_DELETE)) {
        if (selectionReplaced)
            return writeBack();
        if (inFraction) {
            if (p >= 3)
                R = R.left(p - 2) + R.mid(p - 1) + zeros(n - 1);
            else if (p == 2)
                R = R.mid(1);
            // p == 1: the separator stands before the caret; it is never removed, the caret passes it.
            --P;
        } else if (S >= 1 && S <= I.size()) {
            I.remove(S - 1, 1);
        }
        T = SETFIELD(format, I + D + R.left(n));
        if (Val(T) == 0)
            P = n > 0 ? beforeSeparator(T) : int(T.size());
        return writeBack();
    }

    if (isNavigation)
        return writeBack();

    if (c == u'-' && !T.contains(u'-')) {
        T = SETFIELD(format, QStringLiteral("-") + I + D + R.left(n));
        return writeBack();
    }
    if (c == u'+' && T.contains(u'-')) {
        T = SETFIELD(format, I + D + R.left(n), -1.0);
        return writeBack();
    }
    if (c != D && !isDigit(c))
        return writeBack();
    if (c == D) {
        // The separator is never typed; from the integer part it moves the caret one place right.
        if (!inFraction && n > 0)
            ++P;
        return writeBack();
    }

    const QString M = negativePending ? QStringLiteral("-") : QString();
    negativePending = false;
    if (inFraction) {
        if (p == 1)
            R = c + R;
        else
            R = R.left(p - 1) + c;
        T = SETFIELD(format, M + I + D + R.left(n));
        if (!selectionReplaced)
            ++P;
        return writeBack();
    }

    // The caret in the leading blanks: the digit goes in front of the number's first character.
    // A text without its separator (an empty field) takes the digit at the end of the number.
    const bool noSeparator = n > 0 && !T.contains(D);
    int s = noSeparator ? int(I.size()) : std::min(S, int(I.size()));
    if (s == 0 && I.startsWith(u' '))
        s = 1;
    if (s >= 1 && I.at(s - 1) == u' ') {
        while (I.at(s - 1) == u' ' && s < I.size())
            ++s;
        --s;
        // A negative number's first character is its sign: the digit goes behind it.
        if (I.at(s) == u'-')
            ++s;
        P = s;
    }
    // The digit goes in only when the whole formatted number still fits the field's width, so a
    // digit never pushes another one out.
    const QString grown = I.left(s) + c + I.mid(s);
    const QString candidate = SETFIELD(format, M + grown + D + R.left(n));
    if (leftTrimmed(candidate).size() <= W) {
        T = candidate;
        if (noSeparator)
            P = beforeSeparator(T);
    } else {
        result.beep = true;
        T = SETFIELD(format, M + I + D + R.left(n));
    }
    result.modified = true;
    return writeBack();
}

QString ZEROPAD(double value, int width)
{
    QString text = Str(value, width, 0).trimmed();
    const bool negative = text.startsWith(u'-');
    if (negative)
        text.remove(0, 1);
    text = text.rightJustified(width - (negative ? 1 : 0), u'0');
    return negative ? QStringLiteral("-") + text : text;
}

std::optional<QString> shiftDateText(const QString &text, int days, const QString &format)
{
    const QDate d = CToD(text, format);
    if (!d.isValid())
        return std::nullopt;
    return DToC(d.addDays(days), format);
}

quint32 firstDayOfTheWeek(Qt::DayOfWeek systemFirstDay)
{
    switch (systemFirstDay) {
    case Qt::Monday: return 2;
    case Qt::Sunday: return 1;
    default: return 0;
    }
}

} // namespace vexo
