// Pictures of the PDF writer: JPEG and PNG files are not decoded; only what the image dictionary needs
// is read, and the compressed data is copied into the document.
#include "reports/pdf_document.h"

#include "reports/pdf_format.h"
#include "reports/pdf_jpeg_info.h"

#include <QFile>
#include <QFileInfo>

namespace vexo {

namespace {

constexpr qint64 kMaxJpegSize = 65000;

// The picture's identity in the document: the same file given with or without its folder is one image.
QString imageKey(const QString &fileName)
{
    const QFileInfo info(fileName);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

} // namespace

int MDPDF::FINDIMAGE_(const QString &key) const
{
    for (const ImageEntry &image : AIMAGES) {
        if (image.key == key)
            return image.number;
    }
    return 0;
}

void MDPDF::IMAGE(const QString &fileNameArg, float x, float y, float width, float height,
                  const QString &typeArg)
{
    QString fileName = fileNameArg;
    if (!fileName.contains(u'/') && !fileName.contains(u'\\'))
        fileName = CIMAGEPATH + fileName;
    const QString key = imageKey(fileName);
    int number = FINDIMAGE_(key);
    if (number == 0) {
        QString type = typeArg;
        if (type.isEmpty()) {
            // The type is the name's own extension; a dot in a folder name does not count.
            const QString base = QFileInfo(fileName).fileName();
            const qsizetype dot = base.lastIndexOf(u'.');
            if (dot < 0)
                ERROR(QStringLiteral("Image file has no extension and no type was specified: ") + fileName);
            type = base.mid(dot + 1);
        }
        ImageEntry entry;
        entry.key = key;
        AIMAGES.append(entry);
        number = static_cast<int>(AIMAGES.size());
        // A picture that could not be read leaves no half-filled entry behind: it would become a
        // broken image object when the document closes.
        try {
            const QString lower = type.toLower();
            if (lower == u"jpg" || lower == u"jpeg")
                PARSEJPG_(fileName, number);
            else if (lower == u"png")
                PARSEPNG_(fileName, number);
            else
                ERROR(QStringLiteral("Unsupported image file type: ") + type);
        } catch (const PdfError &) {
            AIMAGES.removeLast();
            throw;
        }
        AIMAGES[number - 1].number = number;
    }
    const ImageEntry &image = AIMAGES.at(number - 1);
    double h = height;
    if (h == 0 && image.width > 0)
        h = pdfRound(static_cast<double>(image.height) * width / image.width, 2);
    OUT_("q " + FMTREAL_(width, 5) + " 0 0 " + FMTREAL_(h, 5) + ' ' + FMTREAL_(x, 5) + " -"
         + FMTREAL_(y + h, 5) + " cm /I" + QByteArray::number(number) + " Do Q");
}

void MDPDF::PARSEJPG_(const QString &fileName, int image)
{
    JpegInfo info;
    if (!MDGETJPEGINFO(fileName, &info))
        ERROR(QStringLiteral("Missing or incorrect image file: ") + fileName);
    ImageEntry &entry = AIMAGES[image - 1];
    entry.colorSpace = info.channels == 3   ? QStringLiteral("DeviceRGB")
                       : info.channels == 4 ? QStringLiteral("DeviceCMYK")
                                            : QStringLiteral("DeviceGray");
    entry.bitsPerComponent = 8;

    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        ERROR(QStringLiteral("Error opening file: ") + fileName);
    if (file.size() > kMaxJpegSize)
        ERROR(QStringLiteral("Jpeg file is too large: ") + fileName);
    const QByteArray data = file.readAll();
    file.close();

    entry.width = info.width;
    entry.height = info.height;
    entry.filter = QStringLiteral("DCTDecode");
    entry.data = data;
    entry.decodeParms.clear();
    entry.palette.clear();
    entry.transparency.clear();
}

quint32 MDPDF::FREADINT_(QFile &file)
{
    const QByteArray b = file.read(4);
    if (b.size() != 4)
        ERROR(QStringLiteral("Incorrect PNG file: ") + file.fileName());
    return (quint32(quint8(b[0])) << 24) | (quint32(quint8(b[1])) << 16) | (quint32(quint8(b[2])) << 8)
           | quint32(quint8(b[3]));
}

void MDPDF::PARSEPNG_(const QString &fileName, int image)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        ERROR(QStringLiteral("Can't Open Image file: ") + fileName);
    const auto readExact = [&](qint64 n) {
        const QByteArray b = file.read(n);
        // The scan never runs past the file's end: a cut-off file is refused.
        if (b.size() != n)
            ERROR(QStringLiteral("Incorrect PNG file: ") + fileName);
        return b;
    };
    const auto readByte = [&] { return static_cast<int>(quint8(readExact(1).at(0))); };

    static const QByteArray signature("\x89PNG\r\n\x1a\n", 8);
    if (file.read(8) != signature)
        ERROR(QStringLiteral("Not a PNG file: ") + fileName);
    readExact(4);
    if (file.read(4) != "IHDR")
        ERROR(QStringLiteral("Incorrect PNG file: ") + fileName);
    const quint32 width = FREADINT_(file);
    const quint32 height = FREADINT_(file);
    const int depth = readByte();
    if (depth > 8)
        ERROR(QStringLiteral("16-bit depth not supported: ") + fileName);
    const int colorType = readByte();
    QString colorSpace;
    if (colorType == 0)
        colorSpace = QStringLiteral("DeviceGray");
    else if (colorType == 2)
        colorSpace = QStringLiteral("DeviceRGB");
    else if (colorType == 3)
        colorSpace = QStringLiteral("Indexed");
    else
        ERROR(QStringLiteral("Alpha channel not supported: ") + fileName);
    if (readByte() != 0)
        ERROR(QStringLiteral("Unknown compression method: ") + fileName);
    if (readByte() != 0)
        ERROR(QStringLiteral("Unknown filter method: ") + fileName);
    if (readByte() != 0)
        ERROR(QStringLiteral("Interlacing not supported: ") + fileName);
    readExact(4);

    const QByteArray parms = "/DecodeParms << /Predictor 15 /Colors " + QByteArray(colorType == 2 ? "3" : "1")
                             + " /BitsPerComponent " + QByteArray::number(depth) + " /Columns "
                             + QByteArray::number(width) + " >>";
    QByteArray palette;
    QByteArray transparency;
    QByteArray data;
    for (;;) {
        const quint32 n = FREADINT_(file);
        const QByteArray type = readExact(4);
        if (n > static_cast<quint64>(file.size() - file.pos()))
            ERROR(QStringLiteral("Incorrect PNG file: ") + fileName);
        if (type == "PLTE") {
            palette = readExact(n);
            readExact(4);
        } else if (type == "tRNS") {
            const QByteArray t = readExact(n);
            const auto be16 = [&](int at) {
                return at + 1 < t.size() ? (quint8(t[at]) << 8) | quint8(t[at + 1]) : 0;
            };
            if (colorType == 0) {
                const QByteArray g = QByteArray::number(be16(0));
                transparency = g + ' ' + g + ' ';
            } else if (colorType == 2) {
                const QByteArray r = QByteArray::number(be16(0));
                const QByteArray g = QByteArray::number(be16(2));
                const QByteArray b = QByteArray::number(be16(4));
                transparency = r + ' ' + r + ' ' + g + ' ' + g + ' ' + b + ' ' + b;
            } else {
                const qsizetype p = t.indexOf('\0');
                if (p >= 0)
                    transparency = QByteArray::number(p) + ' ' + QByteArray::number(p) + ' ';
            }
            readExact(4);
        } else if (type == "IDAT") {
            data += readExact(n);
            readExact(4);
        } else if (type == "IEND") {
            break;
        } else {
            readExact(static_cast<qint64>(n) + 4);
        }
        if (n == 0)
            break;
    }
    file.close();
    if (colorType == 3 && palette.isEmpty())
        ERROR(QStringLiteral("Missing palette in: ") + fileName);

    ImageEntry &entry = AIMAGES[image - 1];
    entry.width = static_cast<int>(width);
    entry.height = static_cast<int>(height);
    entry.colorSpace = colorSpace;
    entry.bitsPerComponent = depth;
    entry.filter = QStringLiteral("FlateDecode");
    entry.decodeParms = parms;
    entry.palette = palette;
    entry.transparency = transparency;
    entry.data = data;
}

} // namespace vexo
