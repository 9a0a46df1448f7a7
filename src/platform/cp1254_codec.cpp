#include "platform/cp1254_codec.h"

#include <array>

namespace vexo {

namespace {

// 0x80..0x9F differ from Latin-1; undefined positions keep their own value.
constexpr std::array<char16_t, 32> kHigh80 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x008E, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x009E, 0x0178,
};

constexpr char16_t mapByte(unsigned char b)
{
    if (b >= 0x80 && b <= 0x9F)
        return kHigh80[b - 0x80];
    switch (b) {
    case 0xD0: return 0x011E; // Ğ
    case 0xDD: return 0x0130; // İ
    case 0xDE: return 0x015E; // Ş
    case 0xF0: return 0x011F; // ğ
    case 0xFD: return 0x0131; // ı
    case 0xFE: return 0x015F; // ş
    default: return b;
    }
}

struct Tables
{
    std::array<char16_t, 256> toUni{};
    Tables()
    {
        for (int b = 0; b < 256; ++b)
            toUni[b] = mapByte(static_cast<unsigned char>(b));
    }
};

const Tables &tables()
{
    static const Tables t;
    return t;
}

} // namespace

QChar Cp1254Codec::toUnicode(unsigned char byte)
{
    return QChar(tables().toUni[byte]);
}

int Cp1254Codec::fromUnicode(QChar ch)
{
    const char16_t u = ch.unicode();
    if (u < 0x80)
        return u;
    // The Latin-1 range maps to itself except where the Turkish letters took the place.
    if (u >= 0xA0 && u <= 0xFF && mapByte(static_cast<unsigned char>(u)) == u)
        return u;
    const auto &t = tables().toUni;
    for (int b = 0x80; b < 256; ++b) {
        if (t[b] == u)
            return b;
    }
    return -1;
}

QString Cp1254Codec::decode(const char *data, qsizetype size)
{
    QString out(size, Qt::Uninitialized);
    QChar *dst = out.data();
    const auto &t = tables().toUni;
    for (qsizetype i = 0; i < size; ++i)
        dst[i] = QChar(t[static_cast<unsigned char>(data[i])]);
    return out;
}

QString Cp1254Codec::decode(const QByteArray &bytes)
{
    return decode(bytes.constData(), bytes.size());
}

QByteArray Cp1254Codec::encode(const QString &text, int *unmappable)
{
    QByteArray out;
    out.reserve(text.size());
    int bad = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        // A surrogate pair is one character that the code page cannot hold: one "?".
        if (ch.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        const int b = fromUnicode(ch);
        if (b < 0 || ch.isSurrogate()) {
            out.append('?');
            ++bad;
        } else {
            out.append(static_cast<char>(b));
        }
    }
    if (unmappable)
        *unmappable += bad;
    return out;
}

bool Cp1254Codec::fits(const QString &text)
{
    for (QChar ch : text) {
        if (ch.isSurrogate() || fromUnicode(ch) < 0)
            return false;
    }
    return true;
}

} // namespace vexo
