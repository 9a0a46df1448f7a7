#pragma once

#include <QByteArray>
#include <QString>

namespace vexo {

// Every file the program reads or writes holds Windows-1254 (Turkish) bytes; inside the program texts
// are QStrings. The seven bytes the code page leaves undefined map to the C1 controls of the same
// value, so that every byte survives a round trip.
class Cp1254Codec
{
public:
    static QChar toUnicode(unsigned char byte);
    // The byte of a character, or -1 when the code page has none.
    static int fromUnicode(QChar ch);

    static QString decode(const QByteArray &bytes);
    static QString decode(const char *data, qsizetype size);
    // Characters without a byte become "?"; their number is added to *unmappable when given.
    static QByteArray encode(const QString &text, int *unmappable = nullptr);
    static bool fits(const QString &text);
};

} // namespace vexo
