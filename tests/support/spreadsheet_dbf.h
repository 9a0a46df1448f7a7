#pragma once
// A dBASE table written the way a spreadsheet saves one (a Turkish-locale spreadsheet's "Save as
// dBASE"): version 0x03, the code page byte it was given (0x00 by default, "no code page"), texts
// left-aligned and padded with blanks in Windows-1254, numbers in decimal commas when the sheet had
// them. Written byte by byte here, not through the program's own table code, so the program reads a
// file it did not write.

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>

namespace vexo::test {

struct SheetField
{
    QByteArray name;
    char type = 'C';
    int width = 11;
    int decimals = 0;
};

inline QByteArray windows1254(const QString &text)
{
    static const struct
    {
        char16_t letter;
        unsigned char byte;
    } turkish[] = {{u'Ç', 0xC7}, {u'ç', 0xE7}, {u'Ğ', 0xD0}, {u'ğ', 0xF0}, {u'İ', 0xDD}, {u'ı', 0xFD},
                   {u'Ö', 0xD6}, {u'ö', 0xF6}, {u'Ş', 0xDE}, {u'ş', 0xFE}, {u'Ü', 0xDC}, {u'ü', 0xFC}};
    QByteArray out;
    for (const QChar c : text) {
        char byte = '?';
        if (c.unicode() < 0x80) {
            byte = char(c.unicode());
        } else {
            for (const auto &t : turkish) {
                if (t.letter == c.unicode())
                    byte = char(t.byte);
            }
        }
        out += byte;
    }
    return out;
}

// Writes the table; each row holds one text per field ("N" fields right-aligned, the others
// left-aligned). Answers whether the whole file was written.
inline bool writeSpreadsheetDbf(const QString &path, const QList<SheetField> &fields, const QList<QStringList> &rows,
                                unsigned char codePage = 0x00)
{
    int recordLength = 1;
    for (const SheetField &f : fields)
        recordLength += f.width;
    const int headerLength = 32 + 32 * int(fields.size()) + 1;
    QByteArray bytes(32, '\0');
    bytes[0] = 0x03;
    bytes[1] = char(124); // 2024
    bytes[2] = 5;
    bytes[3] = 17;
    const auto putLe = [&bytes](int at, quint32 value, int size) {
        for (int i = 0; i < size; ++i)
            bytes[at + i] = char((value >> (8 * i)) & 0xFF);
    };
    putLe(4, quint32(rows.size()), 4);
    putLe(8, quint32(headerLength), 2);
    putLe(10, quint32(recordLength), 2);
    bytes[29] = char(codePage);
    for (const SheetField &f : fields) {
        QByteArray d(32, '\0');
        d.replace(0, int(qMin<qsizetype>(f.name.size(), 10)), f.name.left(10));
        d[11] = f.type;
        d[16] = char(f.width);
        d[17] = char(f.decimals);
        bytes += d;
    }
    bytes += '\x0D';
    for (const QStringList &row : rows) {
        bytes += ' ';
        for (qsizetype i = 0; i < fields.size(); ++i) {
            const SheetField &f = fields.at(i);
            const QByteArray text = windows1254(row.value(i)).left(f.width);
            bytes += f.type == 'N' ? text.rightJustified(f.width, ' ') : text.leftJustified(f.width, ' ');
        }
    }
    bytes += '\x1A';
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size()
        && file.flush();
}

// The leading fields of the reference matrix as a spreadsheet saves them, the nutrient columns after.
inline QList<SheetField> sheetMatrixFields(const QList<QByteArray> &nutrients)
{
    QList<SheetField> fields = {{"KOD", 'N', 5, 0}, {"YM_ADI", 'C', 25, 0}, {"FIATI", 'C', 11, 0},
                                {"GRUBU", 'C', 11, 0}};
    for (const QByteArray &n : nutrients)
        fields.append({n, 'C', 11, 0});
    return fields;
}

} // namespace vexo::test
