// Pictures: JPEG frame headers, PNG chunks, placement and the image objects.
#include "pdf_test_support.h"

#include "reports/pdf_font_widths.h"
#include "reports/pdf_jpeg_info.h"

#include <QBuffer>
#include <QDir>
#include <QImage>

using namespace vexo;
using namespace vexo::test;

namespace {

QByteArray be32(quint32 v)
{
    QByteArray b(4, '\0');
    b[0] = char(v >> 24);
    b[1] = char(v >> 16);
    b[2] = char(v >> 8);
    b[3] = char(v);
    return b;
}

QByteArray chunk(const QByteArray &type, const QByteArray &data)
{
    // The writer never checks the check bytes, so they are left zero.
    return be32(quint32(data.size())) + type + data + QByteArray(4, '\0');
}

struct PngShape
{
    int width = 2;
    int height = 2;
    int depth = 8;
    int colorType = 2;
    int compression = 0;
    int filter = 0;
    int interlace = 0;
    QByteArray palette;
    QByteArray trns;
    bool withPalette = true;
    bool withEnd = true;
};

template<typename Change>
PngShape shape(Change change)
{
    PngShape s;
    change(s);
    return s;
}

// A small valid PNG: rows of filter byte 0 and the pixels, compressed with zlib.
QByteArray makePng(const PngShape &s)
{
    const int channels = s.colorType == 2 ? 3 : 1;
    QByteArray raw;
    for (int y = 0; y < s.height; ++y) {
        raw += '\0';
        for (int x = 0; x < s.width * channels; ++x)
            raw += char(s.colorType == 3 ? (x + y) % 2 : 40 * (x + 1) + 100 * y);
    }
    QByteArray ihdr = be32(quint32(s.width)) + be32(quint32(s.height));
    ihdr += char(s.depth);
    ihdr += char(s.colorType);
    ihdr += char(s.compression);
    ihdr += char(s.filter);
    ihdr += char(s.interlace);
    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    png += chunk("IHDR", ihdr);
    png += chunk("tEXt", "Comment\0x");
    if (s.colorType == 3 && s.withPalette)
        png += chunk("PLTE", s.palette.isEmpty() ? QByteArray("\xff\x00\x00\x00\x00\xff", 6) : s.palette);
    if (!s.trns.isEmpty())
        png += chunk("tRNS", s.trns);
    const QByteArray z = qCompress(raw).mid(4); // without Qt's length prefix: a zlib stream
    png += chunk("IDAT", z.left(z.size() / 2));
    png += chunk("IDAT", z.mid(z.size() / 2));
    if (s.withEnd)
        png += chunk("IEND", QByteArray());
    return png;
}

QByteArray makeJpeg(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 90);
    return bytes;
}

// Marker bytes only: enough for the frame header reader, not a picture.
QByteArray jpegHeader(int width, int height, int channels, unsigned char sof = 0xC0)
{
    QByteArray b("\xFF\xD8", 2);
    b += QByteArray("\xFF\xE0\x00\x06JFIF", 8);
    b += QByteArray("\xFF\xFF", 2); // fill byte before the next marker
    b += char(0xC0 | (sof & 0x0F));
    b += QByteArray("\x00", 1) + char(8 + 3 * channels) + char(8);
    b += char(height >> 8);
    b += char(height & 0xFF);
    b += char(width >> 8);
    b += char(width & 0xFF);
    b += char(channels);
    for (int c = 0; c < channels; ++c)
        b += QByteArray("\x01\x11\x00", 3);
    b += QByteArray("\xFF\xD9", 2);
    return b;
}

class PdfImages : public PdfTest
{
protected:
    QTemporaryDir dir;
    QString path(const QString &name) const { return dir.filePath(name); }
    QString file(const QString &name, const QByteArray &bytes) const
    {
        EXPECT_TRUE(writeBytes(path(name), bytes));
        return path(name);
    }
    std::unique_ptr<ProbePdf> openPdf()
    {
        auto pdf = std::make_unique<ProbePdf>(std::nullopt, std::nullopt, pdfDataFolder(), dir.path() + u'/');
        pdf->OPEN();
        pdf->ADDPAGE();
        return pdf;
    }
    // The error text of placing the file, empty when it was placed.
    QString placeError(const QString &fileName, const QString &type = QString())
    {
        messages.clear();
        auto pdf = openPdf();
        try {
            pdf->IMAGE(fileName, 10, 10, 20, 0, type);
        } catch (const PdfError &e) {
            EXPECT_EQ(pdfErrorText(), QStringLiteral("MDPDF error: ") + e.message());
            EXPECT_TRUE(pdf->AIMAGES.isEmpty()); // a failed picture leaves no entry
            return e.message();
        }
        return {};
    }
};

} // namespace

TEST(PdfJpegInfo, FrameHeaderGivesSizeAndChannels)
{
    JpegInfo info;
    ASSERT_TRUE(readJpegInfo(jpegHeader(640, 480, 4), &info));
    EXPECT_EQ(info.width, 640);
    EXPECT_EQ(info.height, 480);
    EXPECT_EQ(info.channels, 4);
    ASSERT_TRUE(readJpegInfo(jpegHeader(3, 5, 1, 0xC2), &info)); // progressive
    EXPECT_EQ(info.channels, 1);

    QImage rgb(33, 17, QImage::Format_RGB32);
    rgb.fill(Qt::red);
    ASSERT_TRUE(readJpegInfo(makeJpeg(rgb), &info));
    EXPECT_EQ(info.width, 33);
    EXPECT_EQ(info.height, 17);
    EXPECT_EQ(info.channels, 3);

    const QByteArray bad[] = {
        QByteArray(),
        QByteArray("GIF89a......"),
        QByteArray("\xFF\xD8\xFF\xDA\x00\x04\x00\x00", 8), // image data before a frame header
        jpegHeader(10, 10, 3).left(12),                      // cut off
        QByteArray("\xFF\xD8\xFF\xE0\x00\x40JFIF", 10),      // segment runs past the end
    };
    for (const QByteArray &b : bad)
        EXPECT_FALSE(readJpegInfo(b, &info)) << b.toHex().constData();
    EXPECT_FALSE(MDGETJPEGINFO(QStringLiteral("/nonexistent/x.jpg"), &info));
}

TEST_F(PdfImages, JpegColourSpacesAndSizeLimit)
{
    struct Case
    {
        int channels;
        const char *space;
    };
    for (const Case &c : {Case{3, "DeviceRGB"}, Case{4, "DeviceCMYK"}, Case{1, "DeviceGray"}, Case{2, "DeviceGray"}}) {
        SCOPED_TRACE(c.space);
        auto pdf = openPdf();
        pdf->IMAGE(file(QStringLiteral("c.jpg"), jpegHeader(20, 10, c.channels)), 0, 0, 10);
        ASSERT_EQ(pdf->AIMAGES.size(), 1);
        EXPECT_EQ(pdf->AIMAGES.first().colorSpace, QString::fromLatin1(c.space));
        EXPECT_EQ(pdf->AIMAGES.first().bitsPerComponent, 8);
        EXPECT_EQ(pdf->AIMAGES.first().filter, QStringLiteral("DCTDecode"));
    }
    QByteArray exact = jpegHeader(20, 10, 3);
    exact += QByteArray(65000 - exact.size(), '\0');
    EXPECT_EQ(placeError(file(QStringLiteral("exact.jpeg"), exact)), QString());
    EXPECT_EQ(placeError(file(QStringLiteral("over.JPG"), exact + 'x')),
              QStringLiteral("Jpeg file is too large: ") + path(QStringLiteral("over.JPG")));
    EXPECT_EQ(placeError(file(QStringLiteral("text.jpg"), "not a picture")),
              QStringLiteral("Missing or incorrect image file: ") + path(QStringLiteral("text.jpg")));
    EXPECT_EQ(placeError(path(QStringLiteral("missing.jpg"))),
              QStringLiteral("Missing or incorrect image file: ") + path(QStringLiteral("missing.jpg")));
}

TEST_F(PdfImages, TypeComesFromTheFileNamesLastDot)
{
    const QByteArray png = makePng(PngShape());
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("v1.2")));
    // A dot in the folder does not make a type.
    EXPECT_EQ(placeError(file(QStringLiteral("v1.2/picture"), png)),
              QStringLiteral("Image file has no extension and no type was specified: ")
                  + path(QStringLiteral("v1.2/picture")));
    EXPECT_EQ(placeError(path(QStringLiteral("v1.2/picture")), QStringLiteral("PNG")), QString());
    EXPECT_EQ(placeError(file(QStringLiteral("v1.2/chart.2024.png"), png)), QString());
    EXPECT_EQ(placeError(file(QStringLiteral("logo.gif"), png)), QStringLiteral("Unsupported image file type: gif"));
    EXPECT_EQ(placeError(file(QStringLiteral("logo.png"), png), QStringLiteral("bmp")),
              QStringLiteral("Unsupported image file type: bmp"));
}

TEST_F(PdfImages, PlacementAndReuse)
{
    file(QStringLiteral("wide.png"), makePng(shape([](PngShape &s) { s.width = 200; s.height = 100; })));
    auto pdf = openPdf();
    const quint32 mark = pdf->mark();
    pdf->IMAGE(QStringLiteral("wide.png"), 10, 20, 50);                   // from the image folder
    pdf->IMAGE(path(QStringLiteral("wide.png")), 1.5f, 2, 30, 40, QStringLiteral("jpg")); // the same picture: type ignored
    pdf->IMAGE(QStringLiteral("wide.png"), 0, 0, 0, 0);
    EXPECT_EQ(pdf->linesSince(mark), (QList<QByteArray>{"q 50 0 0 25 10 -45 cm /I1 Do Q",
                                                        "q 30 0 0 40 1.5 -42 cm /I1 Do Q",
                                                        "q 0 0 0 0 0 -0 cm /I1 Do Q"}));
    EXPECT_EQ(pdf->AIMAGES.size(), 1);
    EXPECT_DOUBLE_EQ(pdf->GETX(), 10); // the position does not move
    pdf->CLOSE();
    const QByteArray doc = pdf->documentBytes();
    EXPECT_EQ(doc.count("/Subtype /Image"), 1);
    EXPECT_TRUE(doc.contains("/I1 5 0 R\n"));
}

TEST_F(PdfImages, PngDictionaries)
{
    struct Case
    {
        PngShape shape;
        const char *colorSpace;
        const char *parms;
        QByteArray mask;
    };
    const Case cases[] = {
        {shape([](PngShape &s) { s.colorType = 2; s.trns = QByteArray("\x00\x01\x00\x02\x01\x00", 6); }), "DeviceRGB",
         "/DecodeParms << /Predictor 15 /Colors 3 /BitsPerComponent 8 /Columns 2 >>", "1 1 2 2 256 256"},
        {shape([](PngShape &s) { s.colorType = 0; s.trns = QByteArray("\x00\xff", 2); }), "DeviceGray",
         "/DecodeParms << /Predictor 15 /Colors 1 /BitsPerComponent 8 /Columns 2 >>", "255 255 "},
        {shape([](PngShape &s) { s.depth = 8; s.colorType = 3; s.trns = QByteArray("\xff\x80\x00", 3); }), "Indexed",
         "/DecodeParms << /Predictor 15 /Colors 1 /BitsPerComponent 8 /Columns 2 >>", "2 2 "},
        {shape([](PngShape &s) { s.colorType = 3; s.trns = QByteArray("\xff\x80", 2); }), "Indexed",
         "/DecodeParms << /Predictor 15 /Colors 1 /BitsPerComponent 8 /Columns 2 >>", QByteArray()},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.colorSpace);
        auto pdf = openPdf();
        pdf->IMAGE(file(QStringLiteral("p.png"), makePng(c.shape)), 0, 0, 10);
        ASSERT_EQ(pdf->AIMAGES.size(), 1);
        const auto &image = pdf->AIMAGES.first();
        EXPECT_EQ(image.colorSpace, QString::fromLatin1(c.colorSpace));
        EXPECT_EQ(image.decodeParms, QByteArray(c.parms));
        EXPECT_EQ(image.transparency, c.mask);
        EXPECT_EQ(image.filter, QStringLiteral("FlateDecode"));
        // The two IDAT chunks joined: one zlib stream.
        ASSERT_GE(image.data.size(), 2);
        EXPECT_EQ(quint8(image.data.at(0)), 0x78);
    }
}

TEST_F(PdfImages, PngErrors)
{
    const auto png = [&](const char *name, const QByteArray &bytes) { return file(QString::fromLatin1(name), bytes); };
    QByteArray wrongFirst = makePng(PngShape());
    wrongFirst.replace(12, 4, "IHDX");
    struct Case
    {
        QString file;
        const char *message;
    };
    const Case cases[] = {
        {path(QStringLiteral("none.png")), "Can't Open Image file: "},
        {png("sig.png", "\x89PNX\r\n\x1a\n0000IHDR"), "Not a PNG file: "},
        {png("ihdr.png", wrongFirst), "Incorrect PNG file: "},
        {png("deep.png", makePng(shape([](PngShape &s) { s.depth = 16; }))), "16-bit depth not supported: "},
        {png("alpha.png", makePng(shape([](PngShape &s) { s.colorType = 6; }))), "Alpha channel not supported: "},
        {png("greyalpha.png", makePng(shape([](PngShape &s) { s.colorType = 4; }))), "Alpha channel not supported: "},
        {png("comp.png", makePng(shape([](PngShape &s) { s.compression = 1; }))), "Unknown compression method: "},
        {png("filter.png", makePng(shape([](PngShape &s) { s.filter = 1; }))), "Unknown filter method: "},
        {png("inter.png", makePng(shape([](PngShape &s) { s.interlace = 1; }))), "Interlacing not supported: "},
        {png("nopal.png", makePng(shape([](PngShape &s) { s.colorType = 3; s.withPalette = false; }))), "Missing palette in: "},
        {png("cut.png", makePng(shape([](PngShape &s) { s.withEnd = false; }))), "Incorrect PNG file: "},
        {png("short.png", makePng(PngShape()).left(40)), "Incorrect PNG file: "},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.message);
        EXPECT_EQ(placeError(c.file), QString::fromLatin1(c.message) + c.file);
    }
}

TEST_F(PdfImages, DocumentWithPicturesPassesQpdfAndRenders)
{
    QImage rgb(40, 20, QImage::Format_RGB32);
    rgb.fill(QColor(0, 0, 255));
    QImage grey(40, 20, QImage::Format_Grayscale8);
    grey.fill(200);
    auto pdf = openPdf();
    pdf->IMAGE(file(QStringLiteral("blue.jpg"), makeJpeg(rgb)), 10, 10, 80);
    pdf->IMAGE(file(QStringLiteral("grey.jpg"), makeJpeg(grey)), 100, 10, 80);
    pdf->IMAGE(file(QStringLiteral("pal.png"), makePng(shape([](PngShape &s) { s.width = 4; s.height = 4; s.colorType = 3; }))), 10, 60, 40);
    pdf->IMAGE(file(QStringLiteral("rgb.png"), makePng(shape([](PngShape &s) { s.width = 4; s.height = 4; s.colorType = 2; }))), 60, 60, 40);
    pdf->IMAGE(path(QStringLiteral("blue.jpg")), 110, 60, 40);
    pdf->OUTPUT(path(QStringLiteral("pictures.pdf")));
    const QByteArray doc = pdf->documentBytes();
    // The palette object follows its image; the resource names skip it.
    EXPECT_TRUE(doc.contains("/ColorSpace [/Indexed /DeviceRGB 1 8 0 R]"));
    EXPECT_TRUE(doc.contains("/I1 5 0 R\n/I2 6 0 R\n/I3 7 0 R\n/I4 9 0 R\n"));

    const ToolResult check = runTool(QStringLiteral("qpdf"), {QStringLiteral("--check"), path(QStringLiteral("pictures.pdf"))});
    if (!check.found)
        FAIL() << "qpdf is not installed (tools/deps.sh installs it)";
    EXPECT_EQ(check.exitCode, 0) << check.out.constData() << check.err.constData();
    const ToolResult render = runTool(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("36"),
                                                                   QStringLiteral("-png"), QStringLiteral("-singlefile"),
                                                                   path(QStringLiteral("pictures.pdf")),
                                                                   path(QStringLiteral("pictures"))});
    if (!render.found)
        FAIL() << "pdftoppm is not installed (tools/deps.sh installs it)";
    ASSERT_EQ(render.exitCode, 0) << render.err.constData();
    EXPECT_TRUE(render.err.isEmpty()) << render.err.constData();
    const QImage page(path(QStringLiteral("pictures.png")));
    ASSERT_FALSE(page.isNull());
    // At 36 dpi a millimetre is about 1.42 pixels: the blue JPEG covers (10..90, 10..30) mm.
    const QColor blue = page.pixelColor(int(50 * 36 / 25.4), int(20 * 36 / 25.4));
    EXPECT_LT(blue.red(), 40);
    EXPECT_GT(blue.blue(), 200);
    const QColor light = page.pixelColor(int(140 * 36 / 25.4), int(20 * 36 / 25.4));
    EXPECT_NEAR(light.red(), 200, 12);
    EXPECT_NEAR(light.green(), 200, 12);
    // The indexed PNG's palette holds red and blue.
    const QColor indexed = page.pixelColor(int(15 * 36 / 25.4), int(65 * 36 / 25.4));
    EXPECT_TRUE(indexed.red() > 200 || indexed.blue() > 200) << indexed.name().toStdString();
}

TEST_F(PdfImages, PictureDataLargerThanOnePieceFailsWhenTheDocumentCloses)
{
    // Noise does not compress, so the data stays above the 65520 bytes of one piece.
    QByteArray noise(80000, '\0');
    quint32 x = 12345;
    for (char &c : noise) {
        x = x * 1103515245u + 12345u;
        c = char(x >> 24);
    }
    QByteArray png = makePng(PngShape());
    const qsizetype idat = png.indexOf("IDAT") - 4;
    png = png.left(idat) + chunk("IDAT", noise) + chunk("IEND", QByteArray());
    auto pdf = openPdf();
    pdf->IMAGE(file(QStringLiteral("big.png"), png), 0, 0, 10);
    EXPECT_THROW(pdf->CLOSE(), PdfError);
    EXPECT_EQ(pdfErrorText(), QStringLiteral("MDPDF error: Buffer size too large"));
}

TEST(PdfJpegInfo, GarbageNeverReadsPastTheEnd)
{
    quint32 x = 7;
    const QByteArray start = jpegHeader(8, 8, 3);
    for (int round = 0; round < 2000; ++round) {
        QByteArray b = start.left(2 + round % 20);
        const int extra = round % 37;
        for (int i = 0; i < extra; ++i) {
            x = x * 1664525u + 1013904223u;
            b += char(x >> 24);
        }
        JpegInfo info;
        if (readJpegInfo(b, &info)) {
            EXPECT_GT(info.width, 0);
            EXPECT_GT(info.height, 0);
        }
        FontWidthTable t{};
        applyFontWidths(b, t, nullptr);
    }
}
