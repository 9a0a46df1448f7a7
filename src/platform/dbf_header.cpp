#include "platform/dbf_header.h"

#include "platform/cp1254_codec.h"

#include <QtEndian>

namespace vexo {

namespace {

bool knownVersion(quint8 v)
{
    // dBASE III/IV and Clipper (low bits 3, memo and SQL flags above), FoxBASE, FoxPro and Visual FoxPro.
    if ((v & 0x07) == 0x03)
        return true;
    switch (v) {
    case 0x02: case 0x30: case 0x31: case 0x32: case 0xF5: case 0xFB:
        return true;
    default:
        return false;
    }
}

std::optional<DbfHeader> fail(QString *why, const QString &text)
{
    if (why)
        *why = text;
    return std::nullopt;
}

} // namespace

std::optional<DbfHeader> DbfHeader::parse(const QByteArray &head, qint64 fileSize, QString *why)
{
    const auto *p = reinterpret_cast<const uchar *>(head.constData());
    const qsizetype have = head.size();
    if (have < kPrefix || fileSize < kPrefix)
        return fail(why, QStringLiteral("tablo başlığı eksik"));
    DbfHeader h;
    h.version = p[0];
    if (!knownVersion(h.version))
        return fail(why, QStringLiteral("tanınmayan tablo sürümü (0x%1)").arg(h.version, 2, 16, QChar(u'0')));
    int year = p[1];
    year += year < 80 ? 2000 : 1900; // two-digit years from writers that stored them so
    if (p[1] >= 100)
        year = 1900 + p[1];
    h.lastUpdate = QDate(year, p[2], p[3]);
    h.recordCount = qFromLittleEndian<quint32>(p + 4);
    h.headerLength = qFromLittleEndian<quint16>(p + 8);
    h.recordLength = qFromLittleEndian<quint16>(p + 10);
    h.codePage = p[29];
    if (h.headerLength < kPrefix + 1 || h.headerLength > fileSize || h.headerLength > have)
        return fail(why, QStringLiteral("başlık uzunluğu dosya boyutuna uymuyor"));
    if (h.recordLength < 2)
        return fail(why, QStringLiteral("kayıt uzunluğu geçersiz"));

    int pos = kPrefix;
    bool terminated = false;
    qint64 offset = 1;
    while (pos < h.headerLength) {
        if (p[pos] == 0x0D) {
            terminated = true;
            break;
        }
        if (pos + kDescriptor > h.headerLength)
            break;
        const uchar *d = p + pos;
        int nameLen = 0;
        while (nameLen < 11 && d[nameLen] != 0)
            ++nameLen;
        const QString name = Cp1254Codec::decode(reinterpret_cast<const char *>(d), nameLen).trimmed();
        if (name.isEmpty())
            return fail(why, QStringLiteral("alan adı boş"));
        DbfField f;
        f.name = name;
        f.type = QChar(QLatin1Char(char(d[11]))).toUpper();
        const int len = d[16];
        const int dec = d[17];
        if (f.type == u'C') {
            f.width = len | (dec << 8);
            f.decimals = 0;
        } else {
            f.width = len;
            f.decimals = dec;
        }
        if (f.width == 0)
            return fail(why, QStringLiteral("%1 alanının genişliği 0").arg(name));
        h.fields.append(f);
        h.offsets.append(int(offset));
        offset += f.width;
        if (offset > h.recordLength)
            return fail(why, QStringLiteral("alanlar kayıt uzunluğunu aşıyor"));
        pos += kDescriptor;
    }
    if (!terminated)
        return fail(why, QStringLiteral("alan tanımlarının sonu yok"));
    if (h.fields.isEmpty())
        return fail(why, QStringLiteral("tabloda alan yok"));
    if (offset != h.recordLength)
        return fail(why, QStringLiteral("kayıt uzunluğu alanların toplamına uymuyor"));
    // The records the header counts must fit the file. Bytes after them (the end byte, or records a
    // writer appended without updating the count before it stopped) are not part of the table, as
    // other dBASE programs read it.
    if (fileSize < h.dataEnd())
        return fail(why, QStringLiteral("dosya kayıt sayısına göre kısa"));
    return h;
}

DbfHeader DbfHeader::forStructure(const DbfStructure &fields)
{
    DbfHeader h;
    h.lastUpdate = QDate::currentDate();
    h.headerLength = kPrefix + kDescriptor * int(fields.size()) + 1;
    int offset = 1;
    for (const DbfField &f : fields) {
        DbfField g = f;
        g.name = f.name.trimmed().toUpper();
        g.type = f.type.toUpper();
        h.fields.append(g);
        h.offsets.append(offset);
        offset += f.width;
    }
    h.recordLength = offset;
    return h;
}

QByteArray DbfHeader::countAndDate() const
{
    QByteArray b(11, '\0');
    auto *p = reinterpret_cast<uchar *>(b.data());
    const QDate d = lastUpdate.isValid() ? lastUpdate : QDate::currentDate();
    p[0] = uchar(qBound(0, d.year() - 1900, 255));
    p[1] = uchar(d.month());
    p[2] = uchar(d.day());
    qToLittleEndian<quint32>(recordCount, p + 3);
    qToLittleEndian<quint16>(quint16(headerLength), p + 7);
    qToLittleEndian<quint16>(quint16(recordLength), p + 9);
    return b;
}

QByteArray DbfHeader::bytes() const
{
    QByteArray b(headerLength, '\0');
    auto *p = reinterpret_cast<uchar *>(b.data());
    p[0] = version;
    const QByteArray cd = countAndDate();
    std::copy(cd.begin(), cd.end(), b.begin() + 1);
    p[29] = codePage;
    int pos = kPrefix;
    for (const DbfField &f : fields) {
        const QByteArray name = Cp1254Codec::encode(f.name).left(10);
        std::copy(name.begin(), name.end(), b.begin() + pos);
        p[pos + 11] = uchar(f.type.toLatin1());
        if (f.type == u'C') {
            // Wide character fields keep the high byte of the width in the decimal-count byte.
            p[pos + 16] = uchar(f.width & 0xFF);
            p[pos + 17] = uchar((f.width >> 8) & 0xFF);
        } else {
            p[pos + 16] = uchar(f.width);
            p[pos + 17] = uchar(f.decimals);
        }
        pos += kDescriptor;
    }
    p[pos] = 0x0D;
    return b;
}

} // namespace vexo
