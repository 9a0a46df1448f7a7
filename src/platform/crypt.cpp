#include "platform/crypt.h"

#include "platform/cp1254_codec.h"

#include <QHash>

namespace vexo {

namespace {

QString buildAlphabet()
{
    QString a;
    for (int b = 0x20; b <= 0xFF; ++b) {
        if (b >= 0x7F && b <= 0xA0)
            continue; // DEL, the C1 area with its undefined bytes, and the no-break space
        if (b == '[' || b == '=' || b == 0xAD)
            continue; // INI syntax, and the invisible soft hyphen
        a += Cp1254Codec::toUnicode(uchar(b));
    }
    return a;
}

} // namespace

const QString &cryptAlphabet()
{
    static const QString alphabet = buildAlphabet();
    return alphabet;
}

QString Crypt(const QString &text, const QString &key)
{
    const QString &alpha = cryptAlphabet();
    static const QHash<QChar, int> place = [] {
        QHash<QChar, int> h;
        for (int i = 0; i < cryptAlphabet().size(); ++i)
            h.insert(cryptAlphabet().at(i), i);
        return h;
    }();
    const int n = int(alpha.size());
    // Each position reflects the alphabet about a point that depends on the key and the position;
    // a reflection applied twice is the identity, which makes the scramble its own inverse.
    quint32 seed = 0x9E3779B9u;
    for (QChar c : key)
        seed = (seed ^ c.unicode()) * 16777619u;
    QString out = text;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const auto it = place.constFind(text.at(i));
        if (it == place.constEnd())
            continue;
        const QChar k = key.isEmpty() ? QChar(u'\0') : key.at(i % key.size());
        quint32 h = seed ^ (quint32(i) * 2654435761u) ^ (quint32(k.unicode()) << 8);
        h ^= h >> 15;
        h *= 2246822519u;
        h ^= h >> 13;
        const int pivot = int(h % quint32(n));
        out[i] = alpha.at(((pivot - *it) % n + n) % n);
    }
    return out;
}

} // namespace vexo
