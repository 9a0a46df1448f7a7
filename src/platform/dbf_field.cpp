#include "platform/dbf_field.h"

#include "platform/cp1254_codec.h"

#include <QDate>
#include <QSet>

#include <cmath>
#include <cstring>

namespace vexo::dbf {

namespace {

bool isNumericType(QChar t)
{
    return t == u'N' || t == u'F';
}

QString fieldText(const DbfField &field, const char *bytes)
{
    QByteArray raw(bytes, field.width);
    // Some writers pad with NUL instead of blanks; to the program both are blanks.
    raw.replace('\0', ' ');
    return Cp1254Codec::decode(raw);
}

} // namespace

QVariant decodeValue(const DbfField &field, const char *bytes)
{
    const QChar t = field.type;
    if (t == u'C')
        return fieldText(field, bytes);
    if (isNumericType(t)) {
        QByteArray raw = QByteArray(bytes, field.width).trimmed();
        raw.replace('\0', ' ');
        raw = raw.trimmed();
        if (raw.isEmpty())
            return 0.0;
        bool ok = false;
        double v = raw.toDouble(&ok);
        if (!ok) {
            raw.replace(',', '.');
            v = raw.toDouble(&ok);
        }
        return ok && std::isfinite(v) ? v : 0.0;
    }
    if (t == u'L') {
        const char c = bytes[0];
        return c == 'T' || c == 't' || c == 'Y' || c == 'y';
    }
    if (t == u'D' && field.width == 8) {
        const QDate d = QDate::fromString(QString::fromLatin1(bytes, 8), QStringLiteral("yyyyMMdd"));
        return d.isValid() ? QVariant(d) : QVariant(QDate());
    }
    return fieldText(field, bytes);
}

PutResult encodeValue(const DbfField &field, const QVariant &value, char *bytes)
{
    const QChar t = field.type;
    const int w = field.width;
    const bool blank = !value.isValid() || value.isNull();
    if (isNumericType(t)) {
        if (blank || (value.typeId() == QMetaType::QString && value.toString().trimmed().isEmpty())) {
            std::memset(bytes, ' ', size_t(w));
            return PutResult::Ok;
        }
        bool ok = false;
        double v = value.typeId() == QMetaType::QString ? value.toString().trimmed().toDouble(&ok)
                                                        : value.toDouble(&ok);
        if (!ok || !std::isfinite(v))
            return PutResult::BadType;
        QByteArray text = QByteArray::number(v, 'f', field.decimals);
        if (text.startsWith('-') && text.toDouble() == 0.0)
            text.remove(0, 1);
        if (text.size() > w)
            return PutResult::TooWide;
        std::memset(bytes, ' ', size_t(w - text.size()));
        std::memcpy(bytes + (w - text.size()), text.constData(), size_t(text.size()));
        return PutResult::Ok;
    }
    if (t == u'L') {
        if (blank) {
            bytes[0] = ' ';
            return PutResult::Ok;
        }
        if (value.typeId() == QMetaType::QString) {
            const QString s = value.toString().trimmed().toUpper();
            bytes[0] = (s == u"T" || s == u"Y" || s == u".T.") ? 'T' : 'F';
        } else {
            bytes[0] = value.toBool() ? 'T' : 'F';
        }
        std::memset(bytes + 1, ' ', size_t(w - 1));
        return PutResult::Ok;
    }
    if (t == u'D' && w == 8) {
        QDate d;
        if (!blank) {
            if (value.typeId() == QMetaType::QDate || value.typeId() == QMetaType::QDateTime)
                d = value.toDate();
            else if (value.typeId() == QMetaType::QString && !value.toString().trimmed().isEmpty())
                d = QDate::fromString(value.toString().trimmed(), QStringLiteral("yyyyMMdd"));
            else if (value.typeId() != QMetaType::QString)
                return PutResult::BadType;
            if (!blank && !d.isValid() && !value.toString().trimmed().isEmpty())
                return PutResult::BadType;
        }
        if (!d.isValid() || d.year() < 1 || d.year() > 9999) {
            std::memset(bytes, ' ', 8);
        } else {
            const QByteArray text = d.toString(QStringLiteral("yyyyMMdd")).toLatin1();
            std::memcpy(bytes, text.constData(), 8);
        }
        return PutResult::Ok;
    }
    // Character fields, and any other type, take the value's text cut to the width.
    const QString s = blank ? QString() : value.toString();
    const QByteArray enc = Cp1254Codec::encode(s.left(w));
    const qsizetype n = std::min<qsizetype>(enc.size(), w);
    std::memcpy(bytes, enc.constData(), size_t(n));
    std::memset(bytes + n, ' ', size_t(w - n));
    return PutResult::Ok;
}

QString structureProblem(const DbfStructure &fields)
{
    if (fields.isEmpty())
        return QStringLiteral("alan listesi boş");
    if (fields.size() > 2046)
        return QStringLiteral("alan sayısı çok fazla");
    QSet<QString> names;
    qint64 recordLength = 1;
    for (const DbfField &f : fields) {
        const QString name = f.name.trimmed().toUpper();
        if (name.isEmpty() || name.size() > 10 || !Cp1254Codec::fits(name) || name.contains(QChar(0)))
            return QStringLiteral("geçersiz alan adı: %1").arg(f.name);
        if (names.contains(name))
            return QStringLiteral("alan adı iki kez var: %1").arg(f.name);
        names.insert(name);
        const QChar t = f.type.toUpper();
        bool ok = false;
        if (t == u'C')
            ok = f.width >= 1 && f.width <= 65535 && f.decimals == 0;
        else if (isNumericType(t))
            ok = f.width >= 1 && f.width <= 20 && f.decimals >= 0 && f.decimals <= 15
                 && (f.decimals == 0 || f.decimals <= f.width - 2);
        else if (t == u'L')
            ok = f.width == 1 && f.decimals == 0;
        else if (t == u'D')
            ok = f.width == 8 && f.decimals == 0;
        if (!ok)
            return QStringLiteral("geçersiz alan tanımı: %1 %2 %3 %4").arg(f.name, QString(f.type)).arg(f.width).arg(f.decimals);
        recordLength += f.width;
    }
    if (recordLength > 65535)
        return QStringLiteral("kayıt uzunluğu 65535 baytı aşıyor");
    return {};
}

} // namespace vexo::dbf
