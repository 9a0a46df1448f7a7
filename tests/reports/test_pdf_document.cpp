// The writer as a whole: creation, page geometry, pages and their hooks, the finished file.
#include "pdf_test_support.h"

#include "reports/pdf_format.h"

#include <QDir>

using namespace vexo;
using namespace vexo::test;

namespace {

// The complete small document: portrait A4 millimetres, Helvetica 12, one cell "Hi", 1 January 2024.
const char kExampleDocument[] = "%PDF-1.3\n"
                                "2 0 obj\n"
                                "<< /Type /Page\n"
                                "/Parent 1 0 R\n"
                                "/Contents 3 0 R >>\n"
                                "endobj\n"
                                "3 0 obj\n"
                                "<< /Length 4 0 R >>\n"
                                "stream\n"
                                "2.834646 0 0 2.834646 0 841.9 cm\n"
                                "2 J\n"
                                "0.2 w\n"
                                "BT /F1 4.23 Tf ET\n"
                                "BT 11 -16.269 Td (Hi) Tj ET\n"
                                "endstream\n"
                                "endobj\n"
                                "4 0 obj\n"
                                "89\n"
                                "endobj\n"
                                "5 0 obj\n"
                                "<< /Type /Font\n"
                                "/Subtype /Type1\n"
                                "/BaseFont /Helvetica\n"
                                "/Encoding /WinAnsiEncoding\n"
                                " >>\n"
                                "endobj\n"
                                "1 0 obj\n"
                                "<< /Type /Pages\n"
                                "/Kids [2 0 R ]\n"
                                "/Count 1\n"
                                "/MediaBox [0 0 595.3 841.9]\n"
                                "/Resources << /ProcSet [/PDF /Text /ImageB /ImageC /ImageI]\n"
                                "/Font <<\n"
                                "/F1 5 0 R\n"
                                ">>\n"
                                "/XObject <<\n"
                                ">> >> >>\n"
                                "endobj\n"
                                "6 0 obj\n"
                                "<< /Producer (MDPDF 0.9)\n"
                                "/CreationDate (D:20240101120000) >>\n"
                                "endobj\n"
                                "7 0 obj\n"
                                "<< /Type /Catalog\n"
                                "/OpenAction [2 0 R /FitH null]\n"
                                "/Pages 1 0 R >>\n"
                                "endobj\n"
                                "xref\n"
                                "0 8\n"
                                "0000000000 65535 f \n"
                                "0000000329 00000 n \n"
                                "0000000009 00000 n \n"
                                "0000000072 00000 n \n"
                                "0000000213 00000 n \n"
                                "0000000231 00000 n \n"
                                "0000000515 00000 n \n"
                                "0000000591 00000 n \n"
                                "trailer\n"
                                "<< /Size 8\n"
                                "/Root 7 0 R\n"
                                "/Info 6 0 R >>\n"
                                "startxref\n"
                                "671\n"
                                "%%EOF\n";

class PdfDocument : public PdfTest
{
protected:
    QTemporaryDir dir;
    QString out(const QString &name = QStringLiteral("out.pdf")) const { return dir.filePath(name); }
    static QByteArray readAll(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

// A writer whose hooks record their calls and change the drawing state, as a report's header does.
class HookedPdf : public ProbePdf
{
public:
    using ProbePdf::ProbePdf;
    QStringList calls;
    void HEADER() override
    {
        calls << QStringLiteral("header %1").arg(PAGENO());
        SETFONT(QStringLiteral("times"), QStringLiteral("B"), 20);
        SETDRAWCOLOR(255, 0, 0);
        SETFILLCOLOR(0, 0, 255);
        SETTEXTCOLOR(10, -1);
        SETLINEWIDTH(2);
    }
    void FOOTER() override
    {
        calls << QStringLiteral("footer %1 in=%2").arg(PAGENO()).arg(int(LINFOOTER));
        SETY(-15);
        CELL(0, 10, QStringLiteral("f"), 0, 0, QStringLiteral("C"));
    }
};

} // namespace

TEST_F(PdfDocument, ExampleDocumentIsReproducedByteForByte)
{
    clock.setNow(QDateTime(QDate(2024, 1, 1), QTime(17, 45, 3)));
    ProbePdf pdf(std::nullopt, std::nullopt, pdfDataFolder());
    pdf.OPEN();
    pdf.ADDPAGE();
    pdf.SETFONT(QStringLiteral("helvetica"), QString(), 12);
    pdf.CELL(40, 10, QStringLiteral("Hi"), 0, 1, QString(), 0);
    pdf.OUTPUT(out());

    const QByteArray bytes = readAll(out());
    EXPECT_EQ(bytes.size(), 906);
    EXPECT_EQ(bytes, QByteArray(kExampleDocument));
    EXPECT_TRUE(messages.shown().isEmpty());

    // A second OUTPUT writes the same document again.
    pdf.OUTPUT(out(QStringLiteral("again.pdf")));
    EXPECT_EQ(readAll(out(QStringLiteral("again.pdf"))), bytes);
}

TEST_F(PdfDocument, DefaultsPerUnit)
{
    struct Case
    {
        const char *unit;
        double w, h, margin, lineWidth, trigger;
    };
    const Case cases[] = {
        {"pt", 595.3, 841.9, 28.35, 0.567, 841.9 - 56.7},
        {"mm", 210.01, 297, 10, 0.2, 277},
        {"cm", 21, 29.7, 1, 0.02, 27.7},
        {"in", 8.27, 11.69, 0.39, 0.008, 11.69 - 0.78},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.unit);
        ProbePdf pdf(std::nullopt, QString::fromLatin1(c.unit));
        EXPECT_DOUBLE_EQ(pdf.NW, c.w);
        EXPECT_DOUBLE_EQ(pdf.NH, c.h);
        EXPECT_DOUBLE_EQ(pdf.NLMARGIN, c.margin);
        EXPECT_DOUBLE_EQ(pdf.NTMARGIN, c.margin);
        EXPECT_DOUBLE_EQ(pdf.NCMARGIN, c.margin / 10);
        EXPECT_DOUBLE_EQ(pdf.NLINEWIDTH, c.lineWidth);
        EXPECT_NEAR(pdf.NPAGEBREAKTRIGGER, c.trigger, 1e-9);
        EXPECT_EQ(pdf.CZOOMMODE, QStringLiteral("fullwidth"));
    }
    // Landscape swaps the sides; the orientation is compared in small letters.
    ProbePdf landscape(QStringLiteral("Landscape"));
    EXPECT_DOUBLE_EQ(landscape.NW, 297);
    EXPECT_DOUBLE_EQ(landscape.NH, 210.01);
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_F(PdfDocument, CreationErrors)
{
    struct Case
    {
        std::optional<QString> orientation;
        std::optional<QString> unit;
        const char *message;
    };
    const Case cases[] = {
        {QStringLiteral("X"), std::nullopt, "Incorrect orientation: X"},
        {QString(), std::nullopt, "Incorrect orientation: "},
        {std::nullopt, QStringLiteral("MM"), "Incorrect unit: MM"},
        {QStringLiteral("l"), QStringLiteral("km"), "Incorrect unit: km"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.message);
        messages.clear();
        try {
            ProbePdf pdf(c.orientation, c.unit);
            ADD_FAILURE() << "no error";
        } catch (const PdfError &e) {
            EXPECT_EQ(e.message(), QString::fromLatin1(c.message));
        }
        ASSERT_EQ(messages.shown().size(), 1);
        const MessageRequest &box = messages.shown().first();
        EXPECT_EQ(box.caption, QStringLiteral("PDF Error"));
        EXPECT_EQ(box.text, QStringLiteral("MDPDF error: ") + QString::fromLatin1(c.message));
        EXPECT_EQ(box.buttons(), unsigned(MB_OK));
        EXPECT_TRUE(box.owner.isNull());
    }
}

TEST_F(PdfDocument, CloseWithoutPageAndUnknownDisplayModeFail)
{
    ProbePdf pdf;
    pdf.OPEN();
    EXPECT_THROW(pdf.CLOSE(), PdfError);
    EXPECT_EQ(pdfErrorText(), QStringLiteral("MDPDF error: Document contains no page"));

    messages.clear();
    EXPECT_THROW(pdf.SETDISPLAYMODE(QStringLiteral("FullPage")), PdfError);
    EXPECT_EQ(pdfErrorText(), QStringLiteral("MDPDF error: Incorrect display mode: FullPage"));
    EXPECT_EQ(pdf.CZOOMMODE, QStringLiteral("fullwidth"));

    // OUTPUT of a document without pages fails the same way and creates no file.
    messages.clear();
    EXPECT_THROW(pdf.OUTPUT(out()), PdfError);
    EXPECT_EQ(pdfErrorText(), QStringLiteral("MDPDF error: Document contains no page"));
    EXPECT_FALSE(QFile::exists(out()));
}

TEST_F(PdfDocument, DisplayModesBecomeOpenActions)
{
    struct Case
    {
        const char *mode;
        int zoom;
        const char *action;
    };
    const Case cases[] = {
        {"fullpage", 0, "/OpenAction [2 0 R /Fit]"},
        {"fullwidth", 0, "/OpenAction [2 0 R /FitH null]"},
        {"real", 0, "/OpenAction [2 0 R /XYZ null null 1]"},
        {"default", 0, "/OpenAction [2 0 R /XYZ null null 0]"},
        {"zoom", 150, "/OpenAction [2 0 R /XYZ null null 1.5]"},
        {"zoom", 75, "/OpenAction [2 0 R /XYZ null null 0.8]"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.mode);
        ProbePdf pdf;
        pdf.SETDISPLAYMODE(QString::fromLatin1(c.mode), c.zoom);
        pdf.OPEN();
        pdf.ADDPAGE();
        pdf.CLOSE();
        EXPECT_TRUE(pdf.documentBytes().contains(QByteArray(c.action) + '\n'));
    }
}

TEST_F(PdfDocument, PositionsMarginsAndLineFeeds)
{
    ProbePdf pdf;
    EXPECT_DOUBLE_EQ(pdf.SETX(-20), 190.01);
    pdf.NX = 50;
    EXPECT_DOUBLE_EQ(pdf.SETY(-15), 282);
    EXPECT_DOUBLE_EQ(pdf.GETX(), 10);
    pdf.SETXY(30, 40);
    EXPECT_DOUBLE_EQ(pdf.GETX(), 30);
    EXPECT_DOUBLE_EQ(pdf.GETY(), 40);

    pdf.OPEN();
    pdf.ADDPAGE();
    EXPECT_DOUBLE_EQ(pdf.GETX(), 10);
    EXPECT_DOUBLE_EQ(pdf.GETY(), 10);
    pdf.CELL(20, 5);
    EXPECT_DOUBLE_EQ(pdf.GETX(), 30);
    pdf.LN();
    EXPECT_DOUBLE_EQ(pdf.GETX(), 10);
    EXPECT_DOUBLE_EQ(pdf.GETY(), 15);
    pdf.NX = 60;
    pdf.LN(0);
    EXPECT_DOUBLE_EQ(pdf.GETX(), 10);
    EXPECT_DOUBLE_EQ(pdf.GETY(), 15);

    pdf.SETMARGINS(25, 30);
    pdf.SETAUTOPAGEBREAK(false, 50).SETAUTOPAGEBREAK(true, 40);
    EXPECT_DOUBLE_EQ(pdf.NPAGEBREAKTRIGGER, 257);
    pdf.ADDPAGE();
    EXPECT_DOUBLE_EQ(pdf.GETX(), 25);
    EXPECT_DOUBLE_EQ(pdf.GETY(), 30);
}

TEST_F(PdfDocument, SettingsBeforeFirstPageAreWrittenOnEveryPage)
{
    ProbePdf pdf(std::nullopt, std::nullopt, pdfDataFolder());
    pdf.SETFONT(QStringLiteral("courier"), QString(), 10);
    pdf.SETLINEWIDTH(0.5);
    pdf.SETDRAWCOLOR(255, 0, 0);
    pdf.SETFILLCOLOR(0, 128, 0);
    EXPECT_EQ(pdf.NBUFLEN, 0u); // nothing written before a page
    pdf.OPEN();
    for (int page = 1; page <= 2; ++page) {
        SCOPED_TRACE(page);
        const quint32 mark = pdf.mark();
        pdf.ADDPAGE();
        const QList<QByteArray> lines = pdf.linesSince(mark);
        ASSERT_GE(lines.size(), 5);
        const QList<QByteArray> tail = lines.mid(lines.size() - 5);
        EXPECT_EQ(tail, (QList<QByteArray>{"2 J", "0.5 w", "BT /F1 3.53 Tf ET", "1 0 0 RG", "0 0.502 0 rg"}));
    }
}

TEST_F(PdfDocument, HeaderChangesAreUndoneAndFooterRunsOnEveryPage)
{
    HookedPdf pdf(std::nullopt, std::nullopt, pdfDataFolder());
    pdf.OPEN();
    pdf.SETFONT(QStringLiteral("helvetica"), QString(), 12);
    const quint32 mark = pdf.mark();
    pdf.ADDPAGE();
    const QList<QByteArray> lines = pdf.linesSince(mark);
    // After the header: line width, font, stroke and fill colour of the caller written again.
    const QList<QByteArray> tail = lines.mid(lines.size() - 4);
    EXPECT_EQ(tail, (QList<QByteArray>{"0.2 w", "BT /F1 4.23 Tf ET", "0 G", "0 g"}));
    EXPECT_EQ(pdf.CFONTFAMILY, QStringLiteral("helvetica"));
    EXPECT_EQ(pdf.CFONTSTYLE, QString());
    EXPECT_DOUBLE_EQ(pdf.NFONTSIZEPT, 12);
    EXPECT_EQ(pdf.CDRAWCOLOR, QByteArray("0 G"));
    EXPECT_EQ(pdf.CFILLCOLOR, QByteArray("0 g"));
    EXPECT_EQ(pdf.CTEXTCOLOR, QByteArray("0 g"));
    EXPECT_FALSE(pdf.LCOLORFLAG);
    EXPECT_DOUBLE_EQ(pdf.NLINEWIDTH, 0.2);

    // A footer cell below the trigger starts no page; the last page gets its footer from CLOSE.
    pdf.ADDPAGE();
    pdf.CLOSE();
    EXPECT_EQ(pdf.calls, (QStringList{QStringLiteral("header 1"), QStringLiteral("footer 1 in=1"),
                                      QStringLiteral("header 2"), QStringLiteral("footer 2 in=1")}));
    EXPECT_EQ(pdf.PAGENO(), 2);
    EXPECT_FALSE(pdf.LINFOOTER);
}

TEST_F(PdfDocument, PagesOwnTheirObjectNumbers)
{
    ProbePdf pdf(std::nullopt, std::nullopt, pdfDataFolder());
    pdf.OPEN();
    for (int i = 0; i < 3; ++i)
        pdf.ADDPAGE();
    pdf.SETFONT(QStringLiteral("times"));
    pdf.SETTITLE(QStringLiteral("T(1)\\"));
    pdf.SETAUTHOR(QStringLiteral("A"));
    pdf.SETCREATOR(QStringLiteral("C"));
    pdf.CLOSE();
    const QByteArray doc = pdf.documentBytes();
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(doc.contains(QByteArray::number(2 + 3 * i) + " 0 obj\n<< /Type /Page\n"));
        EXPECT_TRUE(doc.contains("/Contents " + QByteArray::number(3 + 3 * i) + " 0 R >>"));
        EXPECT_TRUE(doc.contains("<< /Length " + QByteArray::number(4 + 3 * i) + " 0 R >>"));
    }
    EXPECT_TRUE(doc.contains("/Kids [2 0 R 5 0 R 8 0 R ]\n/Count 3\n"));
    EXPECT_TRUE(doc.contains("11 0 obj\n<< /Type /Font\n/Subtype /Type1\n/BaseFont /Times-Roman\n"));
    EXPECT_TRUE(doc.contains("/F1 11 0 R\n"));
    EXPECT_TRUE(doc.contains("<< /Producer (MDPDF 0.9)\n/Title (T\\(1\\)\\\\)\n/Author (A)\n/Creator (C)\n"
                             "/CreationDate (D:20260314120000) >>"));
    EXPECT_TRUE(doc.contains("<< /Size 14\n/Root 13 0 R\n/Info 12 0 R >>"));
    EXPECT_TRUE(doc.endsWith("%%EOF\n"));
}

TEST_F(PdfDocument, DocumentsPassQpdfCheck)
{
    ProbePdf pdf(QStringLiteral("L"), QStringLiteral("cm"), pdfDataFolder());
    pdf.OPEN();
    pdf.SETTITLE(QStringLiteral("Check"));
    pdf.ADDPAGE();
    pdf.SETFONT(QStringLiteral("timesBI"), QString(), 14);
    pdf.CELL(0, 1, QStringLiteral("Yatay sayfa (cm)"), 1, 1, QStringLiteral("C"));
    pdf.RECT(2, 3, 4, 2, QStringLiteral("DF"));
    pdf.LINE(2, 6, 20, 6);
    pdf.ADDPAGE();
    pdf.DRAWTEXT(2, 2, QStringLiteral("Ikinci"));
    pdf.OUTPUT(out());
    const ToolResult r = runTool(QStringLiteral("qpdf"), {QStringLiteral("--check"), out()});
    if (!r.found)
        FAIL() << "qpdf is not installed (tools/deps.sh installs it)";
    EXPECT_EQ(r.exitCode, 0) << r.out.constData() << r.err.constData();
    EXPECT_TRUE(r.out.contains("No syntax or stream encoding errors")) << r.out.constData();
}

TEST_F(PdfDocument, UnwritableOutputKeepsThePreviousFile)
{
    ASSERT_TRUE(writeBytes(out(), "old"));
    ProbePdf pdf(std::nullopt, std::nullopt, pdfDataFolder());
    pdf.OPEN();
    pdf.ADDPAGE();
    const QString missing = dir.filePath(QStringLiteral("no/such/folder/x.pdf"));
    EXPECT_THROW(pdf.OUTPUT(missing), PdfError);
    EXPECT_EQ(pdfErrorText(), QStringLiteral("MDPDF error: Unable to create output file: ") + missing);
    pdf.OUTPUT(out());
    EXPECT_TRUE(readAll(out()).startsWith("%PDF-1.3\n"));
}
