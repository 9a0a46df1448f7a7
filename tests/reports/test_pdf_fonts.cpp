// Fonts: the width file format, font selection, sizes and measurement.
#include "pdf_test_support.h"

#include "reports/pdf_font_widths.h"

using namespace vexo;
using namespace vexo::test;

namespace {

class PdfFonts : public PdfTest
{
protected:
    QTemporaryDir dir;
    QString folder() const { return dir.path() + u'/'; }
    void write(const char *name, const QByteArray &bytes) const
    {
        ASSERT_TRUE(writeBytes(folder() + QString::fromLatin1(name), bytes));
    }
};

FontWidthTable parsed(const QByteArray &bytes, bool *ok = nullptr, QByteArray *bad = nullptr)
{
    FontWidthTable t{};
    const bool r = applyFontWidths(bytes, t, bad);
    if (ok)
        *ok = r;
    return t;
}

} // namespace

TEST(PdfFontWidths, EntryForms)
{
    // Default first, then exceptions; quoted characters with escapes; chr( in any case; blanks and
    // empty entries ignored; trailing text after the number ignored.
    bool ok = false;
    const FontWidthTable t = parsed("*=>600\r\n\r\n'a'=>500,'\\''=>191, '\\\\' => 278 ,\t','=>250,' '=>277,"
                                    "CHR(200)=>123)\nchr( 10 )=>7,'=='=>9,unknown=>1,'q'=>,",
                                    &ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(t['b'], 600);
    EXPECT_EQ(t['a'], 500);
    EXPECT_EQ(t['\''], 191);
    EXPECT_EQ(t['\\'], 278);
    EXPECT_EQ(t[','], 250);
    EXPECT_EQ(t[' '], 277);
    EXPECT_EQ(t[200], 123);
    EXPECT_EQ(t[10], 7);
    EXPECT_EQ(t['='], 9);
    EXPECT_EQ(t['q'], 0); // no number after "=>" reads as 0
    EXPECT_EQ(t[0], 600);

    // A later entry overrides an earlier one, "*" included.
    const FontWidthTable later = parsed("'x'=>1\n*=>2\n'y'=>3");
    EXPECT_EQ(later['x'], 2);
    EXPECT_EQ(later['y'], 3);
    EXPECT_EQ(later['z'], 2);
}

TEST(PdfFontWidths, MalformedEntriesStopTheReading)
{
    struct Case
    {
        const char *bytes;
        const char *entry;
    };
    const Case cases[] = {
        {"'a'=>1\n'b'600\n'c'=>3", "'b'600"},
        {"chr(300)=>5", "chr(300)=>5"},
        {"'a'=>-4", "'a'=>-4"},
        {"'a'=>40000", "'a'=>40000"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.bytes);
        bool ok = true;
        QByteArray bad;
        const FontWidthTable t = parsed(c.bytes, &ok, &bad);
        EXPECT_FALSE(ok);
        EXPECT_EQ(bad, QByteArray(c.entry));
        EXPECT_EQ(t['c'], 0); // nothing after the bad entry is applied
    }
    bool ok = true;
    const FontWidthTable partial = parsed("'a'=>1\n'b'600\n", &ok);
    EXPECT_EQ(partial['a'], 1); // the widths before it stay
}

TEST(PdfFontWidths, ShippedFilesHoldStandardWidths)
{
    struct Case
    {
        const char *file;
        unsigned char code;
        int width;
    };
    const Case cases[] = {
        {"courier.ftb", 'M', 600},   {"courierb.ftb", ' ', 600},    {"helvetica.ftb", 'W', 944},
        {"helvetica.ftb", ' ', 278}, {"helveticab.ftb", 'a', 556}, {"helveticai.ftb", 'i', 222},
        {"times.ftb", 'a', 444},     {"timesb.ftb", 'W', 1000},    {"timesbi.ftb", 'z', 389},
        {"helvetica.ftb", 0xE9, 556}, {"helvetica.ftb", 0x80, 556}, {"symbol.ftb", 'a', 631},
        {"zapfdingbats.ftb", 0x21, 974}, {"helvetica.ftb", 0x81, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.file);
        QFile f(pdfDataFolder() + QString::fromLatin1(c.file));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        EXPECT_LE(bytes.size(), 32000);
        bool ok = false;
        const FontWidthTable t = parsed(bytes, &ok);
        EXPECT_TRUE(ok);
        EXPECT_EQ(t[c.code], c.width) << int(c.code);
    }
}

TEST_F(PdfFonts, SelectionFindsTheStandardFonts)
{
    struct Case
    {
        const char *family;
        const char *style;
        const char *baseName;
        const char *family2;
        const char *style2;
    };
    const Case cases[] = {
        {"Arial", "B", "Helvetica-Bold", "helvetica", "B"},
        {"courier", "", "Courier", "courier", ""},
        {"symbol", "B", "Symbol", "symbol", ""},
        {"Times", "ib", "Times-BoldItalic", "times", "BI"},
        {"courierB", "", "Courier-Bold", "courierb", ""},
        {"ZapfDingbats", "I", "ZapfDingbats", "zapfdingbats", ""},
        {"helvetica", "i", "Helvetica-Oblique", "helvetica", "I"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.family);
        ProbePdf pdf(std::nullopt, std::nullopt, pdfDataFolder());
        pdf.SETFONT(QString::fromLatin1(c.family), QString::fromLatin1(c.style), 8);
        ASSERT_EQ(pdf.AUSEDFONTS.size(), 1u);
        EXPECT_EQ(pdf.AUSEDFONTS.front().baseName, QString::fromLatin1(c.baseName));
        EXPECT_TRUE(pdf.AUSEDFONTS.front().widths != nullptr);
        EXPECT_EQ(pdf.CFONTFAMILY, QString::fromLatin1(c.family2));
        EXPECT_EQ(pdf.CFONTSTYLE, QString::fromLatin1(c.style2));
    }
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_F(PdfFonts, WidthFileNamesFollowFamilyAndStyle)
{
    // Each width file holds a different width for "x", so the measurement tells which file was read.
    const char *files[] = {"helveticab.ftb", "symbol.ftb", "courierbi.ftb", "courierb.ftb"};
    for (int i = 0; i < 4; ++i)
        write(files[i], "*=>" + QByteArray::number(100 * (i + 1)));
    struct Case
    {
        const char *family;
        const char *style;
        double width;
    };
    const Case cases[] = {{"Arial", "B", 100}, {"symbol", "B", 200}, {"courier", "IB", 300}, {"courierB", "", 400}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.family);
        ProbePdf pdf(QStringLiteral("P"), QStringLiteral("pt"), folder());
        pdf.SETFONT(QString::fromLatin1(c.family), QString::fromLatin1(c.style), 10);
        EXPECT_DOUBLE_EQ(pdf.GETSTRINGWIDTH(QStringLiteral("x")), c.width * 10 / 1000);
    }
}

TEST_F(PdfFonts, MeasuringUsesTheSizeInTheUserUnit)
{
    write("helvetica.ftb", "*=>600");
    ProbePdf pdf(std::nullopt, std::nullopt, folder());
    EXPECT_DOUBLE_EQ(pdf.GETSTRINGWIDTH(QStringLiteral("abc")), 0); // no font yet
    pdf.SETFONT(QStringLiteral("helvetica"), QString(), 10);
    EXPECT_DOUBLE_EQ(pdf.NFONTSIZE, 3.53);
    EXPECT_DOUBLE_EQ(pdf.GETSTRINGWIDTH(QStringLiteral("abc")), 3 * 600 * 3.53 / 1000);
    EXPECT_DOUBLE_EQ(pdf.GETSTRINGWIDTH(QStringLiteral("xyz")), 3 * 600 * 3.53 / 1000);
    EXPECT_DOUBLE_EQ(pdf.GETSTRINGWIDTH(QString()), 0);
}

TEST_F(PdfFonts, SelectionLinesOnlyOnAnOpenPageAndOnlyOnChange)
{
    ProbePdf pdf(std::nullopt, std::nullopt, pdfDataFolder());
    pdf.SETFONT(QStringLiteral("times"), QString(), 12);
    EXPECT_EQ(pdf.NBUFLEN, 0u);
    pdf.OPEN();
    pdf.ADDPAGE();
    quint32 mark = pdf.mark();
    pdf.SETFONT(QStringLiteral("helvetica"), QString(), 12);
    EXPECT_EQ(pdf.linesSince(mark), (QList<QByteArray>{"BT /F2 4.23 Tf ET"}));
    mark = pdf.mark();
    pdf.SETFONT(QStringLiteral("Helvetica"), QString(), 12);
    pdf.SETFONT(QString(), QString(), 0); // current family and size
    EXPECT_TRUE(pdf.linesSince(mark).isEmpty());
    pdf.SETFONTSIZE(12);
    EXPECT_TRUE(pdf.linesSince(mark).isEmpty());
    pdf.SETFONTSIZE(20);
    EXPECT_EQ(pdf.linesSince(mark), (QList<QByteArray>{"BT /F2 7.06 Tf ET"}));
    mark = pdf.mark();
    pdf.SETFONT(QStringLiteral("times"), QString(), 20);
    EXPECT_EQ(pdf.linesSince(mark), (QList<QByteArray>{"BT /F1 7.06 Tf ET"}));
    EXPECT_EQ(pdf.AUSEDFONTS.size(), 2u); // one entry per font, whatever the size

    // Without a selected font the size change does nothing.
    ProbePdf bare;
    bare.SETFONTSIZE(30);
    EXPECT_DOUBLE_EQ(bare.NFONTSIZEPT, 12);
}

TEST_F(PdfFonts, FontErrors)
{
    write("helvetica.ftb", "'a'=>500\n'b'=>\n'c'600\n");
    write("courier.ftb", QByteArray(32001, ','));
    write("courieri.ftb", QByteArray(32000, ',')); // exactly the limit: read, all entries empty
    struct Case
    {
        const char *family;
        const char *style;
        QString message;
    };
    const Case cases[] = {
        {"helvetica", "", QStringLiteral("Error in font width table: 'c'600")},
        {"courier", "", QStringLiteral("File too big: ") + folder() + QStringLiteral("courier.ftb")},
        {"times", "B", QStringLiteral("File not found: ") + folder() + QStringLiteral("timesb.ftb")},
        {"Verdana", "B", QStringLiteral("Incorrect font family or style : Verdana B")},
        {"courier", "X", QStringLiteral("Incorrect font family or style : courier X")},
        {"courier", "I", QString()},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.family);
        messages.clear();
        ProbePdf pdf(std::nullopt, std::nullopt, folder());
        if (c.message.isEmpty()) {
            EXPECT_NO_THROW(pdf.SETFONT(QString::fromLatin1(c.family), QString::fromLatin1(c.style), 8));
            EXPECT_TRUE(messages.shown().isEmpty());
            continue;
        }
        try {
            pdf.SETFONT(QString::fromLatin1(c.family), QString::fromLatin1(c.style), 8);
            ADD_FAILURE() << "no error";
        } catch (const PdfError &e) {
            EXPECT_EQ(e.message(), c.message);
        }
        EXPECT_EQ(pdfErrorText(), QStringLiteral("MDPDF error: ") + c.message);
    }

    // The widths read before the bad entry stay attached to the font.
    ProbePdf pdf(std::nullopt, std::nullopt, folder());
    EXPECT_THROW(pdf.SETFONT(QStringLiteral("helvetica")), PdfError);
    ASSERT_EQ(pdf.AUSEDFONTS.size(), 1u);
    ASSERT_TRUE(pdf.AUSEDFONTS.front().widths != nullptr);
    EXPECT_EQ((*pdf.AUSEDFONTS.front().widths)['a'], 500);
}

TEST_F(PdfFonts, MissingFolderGivesFileNotFound)
{
    ProbePdf pdf(std::nullopt, std::nullopt, folder() + QStringLiteral("nowhere/"));
    EXPECT_THROW(pdf.SETFONT(QStringLiteral("Arial"), QStringLiteral("B"), 8), PdfError);
    EXPECT_EQ(pdfErrorText(), QStringLiteral("MDPDF error: File not found: ") + folder()
                                  + QStringLiteral("nowhere/helveticab.ftb"));
}
