#include "reports/pdf_jpeg_info.h"

#include <QFile>

namespace vexo {

namespace {

int be16(const QByteArray &b, qsizetype at)
{
    return (static_cast<unsigned char>(b.at(at)) << 8) | static_cast<unsigned char>(b.at(at + 1));
}

// Start-of-frame markers: C0..CF except DHT (C4), JPG (C8) and DAC (CC).
bool isFrameMarker(unsigned char m)
{
    return m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC;
}

} // namespace

bool readJpegInfo(const QByteArray &bytes, JpegInfo *info)
{
    const qsizetype n = bytes.size();
    if (n < 4 || static_cast<unsigned char>(bytes.at(0)) != 0xFF
        || static_cast<unsigned char>(bytes.at(1)) != 0xD8)
        return false;
    qsizetype pos = 2;
    while (pos < n) {
        if (static_cast<unsigned char>(bytes.at(pos)) != 0xFF)
            return false;
        // Any number of fill bytes may precede a marker.
        while (pos < n && static_cast<unsigned char>(bytes.at(pos)) == 0xFF)
            ++pos;
        if (pos >= n)
            return false;
        const auto marker = static_cast<unsigned char>(bytes.at(pos++));
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7))
            continue; // markers without a segment
        if (marker == 0xD9 || marker == 0xDA)
            return false; // end of image or image data before any frame header
        if (pos + 2 > n)
            return false;
        const int length = be16(bytes, pos);
        if (length < 2 || pos + length > n)
            return false;
        if (isFrameMarker(marker)) {
            if (length < 8)
                return false;
            const int height = be16(bytes, pos + 3);
            const int width = be16(bytes, pos + 5);
            const int channels = static_cast<unsigned char>(bytes.at(pos + 7));
            if (width <= 0 || height <= 0 || channels <= 0)
                return false;
            if (info)
                *info = {width, height, channels};
            return true;
        }
        pos += length;
    }
    return false;
}

bool MDGETJPEGINFO(const QString &fileName, JpegInfo *info)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return readJpegInfo(file.readAll(), info);
}

} // namespace vexo
