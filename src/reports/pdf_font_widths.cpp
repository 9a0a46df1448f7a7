#include "reports/pdf_font_widths.h"

#include <cctype>

namespace vexo {

namespace {

// The leading decimal number of a text, like the runtime's text-to-number: "600)" gives 600, "x" 0.
// Sets *ok false when the text has no digits there.
double leadingNumber(const QByteArray &text, bool *ok)
{
    qsizetype i = 0;
    while (i < text.size() && text.at(i) == ' ')
        ++i;
    const qsizetype start = i;
    if (i < text.size() && (text.at(i) == '-' || text.at(i) == '+'))
        ++i;
    bool digits = false;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text.at(i)))) {
        ++i;
        digits = true;
    }
    if (i < text.size() && text.at(i) == '.') {
        ++i;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text.at(i)))) {
            ++i;
            digits = true;
        }
    }
    *ok = digits;
    return digits ? text.mid(start, i - start).toDouble() : 0.0;
}

// Applies one entry; false when it is malformed. Widths and codes outside the table's range are
// refused rather than wrapped, so that a damaged file cannot give silently wrong widths.
bool applyEntry(const QByteArray &entry, FontWidthTable &table)
{
    const qsizetype arrow = entry.indexOf("=>");
    if (arrow < 0)
        return false;
    const QByteArray key = entry.left(arrow);
    bool ok = false;
    const double value = leadingNumber(entry.mid(arrow + 2), &ok);
    const double width = static_cast<double>(static_cast<qint64>(value));
    if (width < 0 || width > 32767)
        return false;
    const auto w = static_cast<quint16>(width);

    if (key == "*") {
        table.fill(w);
    } else if (key.toLower().startsWith("chr(")) {
        bool codeOk = false;
        const double code = leadingNumber(key.mid(4, key.size() - 5), &codeOk);
        if (!codeOk || code < 0 || code > 255)
            return false;
        table[static_cast<int>(code)] = w;
    } else if (key.startsWith('\'') && key.size() >= 2) {
        table[static_cast<unsigned char>(key.at(1))] = w;
    }
    // Keys of any other form are ignored.
    return true;
}

} // namespace

bool applyFontWidths(const QByteArray &bytes, FontWidthTable &table, QByteArray *badEntry)
{
    QByteArray entry;
    bool quoted = false;
    for (qsizetype i = 0; i <= bytes.size(); ++i) {
        const bool end = i == bytes.size();
        const char c = end ? '\0' : bytes.at(i);
        if (quoted) {
            if (end)
                break; // an unterminated quote: the entry is applied below
            if (c == '\'') {
                quoted = false;
            } else if (c == '\\' && i + 1 < bytes.size()) {
                ++i;
            }
            entry.append(bytes.at(i));
            continue;
        }
        if (end || static_cast<unsigned char>(c) < 32 || c == ',') {
            if (!entry.isEmpty()) {
                if (!applyEntry(entry, table)) {
                    if (badEntry)
                        *badEntry = entry;
                    return false;
                }
                entry.clear();
            }
            continue;
        }
        if (c == '\'') {
            quoted = true;
            entry.append(c);
        } else if (c != ' ') {
            entry.append(c);
        }
    }
    if (!entry.isEmpty() && !applyEntry(entry, table)) {
        if (badEntry)
            *badEntry = entry;
        return false;
    }
    return true;
}

} // namespace vexo
