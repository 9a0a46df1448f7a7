#include "problem/turkish_text.h"

#include "platform/cp1254_codec.h"
#include "problem/file_names.h"

#include <QFont>
#include <QTextDocument>

#include <algorithm>
#include <array>

namespace vexo {

namespace {

// Upper-casing as the code page knows it, byte by byte: a letter changes only when its capital has a
// byte too, so a text that fits the code page still fits it afterwards and keeps its length.
struct UpperTable
{
    std::array<char16_t, 256> byByte{};
    UpperTable()
    {
        for (int b = 0; b < 256; ++b) {
            const QChar ch = Cp1254Codec::toUnicode(static_cast<unsigned char>(b));
            const QChar up = ch.toUpper();
            byByte[b] = Cp1254Codec::fromUnicode(up) >= 0 ? up.unicode() : ch.unicode();
        }
    }
};

QChar codePageUpper(QChar ch)
{
    static const UpperTable table;
    const int b = Cp1254Codec::fromUnicode(ch);
    return b < 0 ? ch : QChar(table.byByte[b]);
}

// Only the dotted i needs a rule of its own; ı→I is already what the code page does.
QChar turkishUpper(QChar ch)
{
    return ch == u'i' ? QChar(u'İ') : codePageUpper(ch);
}

QString codePageUpper(const QString &text)
{
    QString out = text;
    for (QChar &ch : out)
        ch = codePageUpper(ch);
    return out;
}

struct LetterPair
{
    char16_t turkish;
    char16_t other;
};

// Plain letters in the order the replacement is made; no result is itself a Turkish letter, so the
// order cannot change the outcome.
constexpr LetterPair kPlainLetters[] = {
    {u'ş', u's'}, {u'Ş', u'S'}, {u'Ü', u'U'}, {u'ü', u'u'}, {u'ö', u'o'}, {u'Ö', u'O'},
    {u'ı', u'i'}, {u'İ', u'I'}, {u'ç', u'c'}, {u'Ç', u'C'}, {u'Ğ', u'G'}, {u'ğ', u'g'},
};

// Bytes of the Turkish letters in CP857, the console code page for Turkish.
constexpr struct
{
    char16_t turkish;
    unsigned char oem;
} kOemBytes[] = {
    {u'ş', 0x9F}, {u'Ş', 0x9E}, {u'Ü', 0x9A}, {u'ü', 0x81}, {u'ö', 0x94}, {u'Ö', 0x99},
    {u'ı', 0x8D}, {u'İ', 0x98}, {u'ç', 0x87}, {u'Ç', 0x80}, {u'Ğ', 0xA6}, {u'ğ', 0xA7},
};

QString mapLetters(const QString &text, const LetterPair *begin, const LetterPair *end)
{
    QString out = text;
    for (QChar &ch : out) {
        const auto it = std::find_if(begin, end, [ch](const LetterPair &p) { return p.turkish == ch; });
        if (it != end)
            ch = QChar(it->other);
    }
    return out;
}

bool isBlank(const QString &text)
{
    return std::all_of(text.begin(), text.end(), [](QChar ch) { return ch == u' '; });
}

QString replaceEach(const QString &text, QStringView characters)
{
    QString out = trimBlanks(text);
    for (QChar &ch : out) {
        if (characters.contains(ch))
            ch = u'_';
    }
    return out;
}

// Bytes first in code-page order, characters the code page lacks after them.
int sortWeight(QChar ch)
{
    const int b = Cp1254Codec::fromUnicode(ch);
    return b >= 0 ? b : 0x100 + ch.unicode();
}

} // namespace

QString TRUPPER(const QString &text)
{
    QString out = text;
    for (QChar &ch : out)
        ch = turkishUpper(ch);
    return out;
}

QString TRUPPERQV(const QString &text)
{
    return TRUPPER(text);
}

QString TRENDIRECT2(const QString &text)
{
    return mapLetters(text, std::begin(kPlainLetters), std::end(kPlainLetters));
}

QString TRENDIRECT(const QString &text)
{
    return TRENDIRECT2(text);
}

QString TRENUPPER(const QString &text)
{
    // After upper-casing only capitals are left, so their plain forms are already capitals.
    return TRENDIRECT2(codePageUpper(text));
}

QString TURKCE(const QString &text)
{
    const QString upper = codePageUpper(text);
    QString key;
    key.reserve(upper.size() * 2);
    for (const QChar ch : upper) {
        switch (ch.unicode()) {
        case u'Ç': key += QLatin1String("C["); break;
        case u'Ğ': key += QLatin1String("G["); break;
        case u'İ': key += QLatin1String("I["); break;
        case u'Ö': key += QLatin1String("O["); break;
        case u'Ü': key += QLatin1String("U["); break;
        case u'Ş': key += QLatin1String("S["); break;
        default: key += ch;
        }
    }
    return key;
}

QString TRDIRECT(const QString &text)
{
    QString out = text;
    for (QChar &ch : out) {
        for (const auto &letter : kOemBytes) {
            if (letter.turkish == ch) {
                ch = Cp1254Codec::toUnicode(letter.oem);
                break;
            }
        }
    }
    return out;
}

QString CHRCONT(const QString &text)
{
    return replaceEach(text, u"|:.\\*/<>");
}

QString CHRCONTAMPLE(const QString &text)
{
    return replaceEach(text, u"~`!@#$%^&*()+\\-|/=?.,<>';:[]{} \"");
}

QString SCHARFROMBASE(const QString &path)
{
    const QString extension = SFILEEXT(path);
    const QString withoutExtension = SFILEBASE(path);
    const qsizetype slash = std::max(withoutExtension.lastIndexOf(u'/'),
                                     withoutExtension.lastIndexOf(u'\\'));
    const QString folder = withoutExtension.left(slash + 1);
    const QString base = withoutExtension.mid(slash + 1);
    return folder + TRUPPERQV(CHRCONT(base)) + extension;
}

QString TEXT2RTF(const QString &text, const QString &fontName, int pointSize)
{
    QTextDocument document;
    QFont font(fontName);
    if (pointSize > 0)
        font.setPointSize(pointSize);
    document.setDefaultFont(font);
    document.setPlainText(text);
    // toPlainText would turn no-break spaces into blanks; the raw text keeps every character and only
    // the paragraph marks need translating.
    QString value = document.toRawText();
    value.replace(QChar::ParagraphSeparator, QLatin1String("\r\n"));
    value.replace(QChar::LineSeparator, QLatin1String("\r\n"));
    return value;
}

QList<int> ASEPPOSINSTR(const QString &text, const QString &separators)
{
    QList<int> positions;
    for (qsizetype i = 0; i < text.size(); ++i) {
        // Each position once, even when the separator text names a character twice.
        if (separators.contains(text.at(i)))
            positions.append(static_cast<int>(i) + 1);
    }
    return positions;
}

QStringList STRING2ARRAYUSINGSEPS(const QString &text, const QString &separators)
{
    QString s = trimBlanks(text);
    s.replace(QLatin1String("  "), QLatin1String(" "));
    s.replace(QLatin1String(", "), QLatin1String(","));
    s.replace(QLatin1String(" ,"), QLatin1String(","));
    s.replace(QLatin1String(".,"), QLatin1String("."));

    const QList<int> positions = ASEPPOSINSTR(s, separators);
    QStringList words;
    if (positions.isEmpty())
        return words;
    int start = 0; // 0-based start of the next word
    for (const int pos : positions) {
        words.append(s.mid(start, pos - start));
        start = pos;
    }
    const QString rest = s.mid(start);
    if (!rest.isEmpty() && !words.contains(rest))
        words.append(rest);
    return words;
}

QStringList SPLITARRAYASASTRING(const QStringList &words, int n)
{
    const qsizetype count = words.size();
    if (count < 2 || n < 2 || n > count)
        return {};
    QStringList columns(n);
    const qsizetype per = count / n;
    const auto append = [&](QString &column, qsizetype i) {
        column += words.at(i);
        if (i != count - 1)
            column += u' ';
    };
    qsizetype i = 0;
    for (int c = 0; c < n; ++c) {
        for (qsizetype k = 0; k < per; ++k, ++i) {
            if (!words.at(i).isEmpty())
                append(columns[c], i);
        }
    }
    // The words that did not fill a whole share go to the last column, empty ones as a blank.
    for (; i < count; ++i)
        append(columns[n - 1], i);
    return columns;
}

QStringList QVSTRING2ARRAY(const QString &text, const QString &separator)
{
    QStringList pieces;
    if (text.isEmpty())
        return pieces;
    qsizetype start = 0;
    // An empty separator would be found at every place without moving on; it separates nothing.
    if (!separator.isEmpty()) {
        for (qsizetype at = text.indexOf(separator, start); at >= 0; at = text.indexOf(separator, start)) {
            pieces.append(text.mid(start, at - start));
            start = at + separator.size();
        }
    }
    const QString rest = text.mid(start);
    if (!rest.isEmpty() && !isBlank(rest))
        pieces.append(rest);
    return pieces;
}

int compareTurkish(const QString &a, const QString &b)
{
    // TRUPPER works letter by letter, so the upper-cased texts can be compared without building them.
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const int wa = sortWeight(turkishUpper(a.at(i)));
        const int wb = sortWeight(turkishUpper(b.at(i)));
        if (wa != wb)
            return wa < wb ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool turkishLess(const QString &a, const QString &b)
{
    return compareTurkish(a, b) < 0;
}

QString trimBlanks(const QString &text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == u' ')
        ++first;
    while (last > first && text.at(last - 1) == u' ')
        --last;
    return text.mid(first, last - first);
}

} // namespace vexo
