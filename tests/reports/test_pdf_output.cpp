// The file layer: number texts, string escaping, the block buffer and object numbering.
#include "pdf_test_support.h"

#include "reports/pdf_format.h"

using namespace vexo;
using namespace vexo::test;

namespace {
class PdfOutput : public PdfTest
{
};
} // namespace

TEST(PdfFormat, NumberTexts)
{
    struct Case
    {
        double value;
        unsigned places;
        const char *text;
    };
    const Case cases[] = {
        {12.5, 2, "12.5"},   {100, 2, "100"},    {0, 4, "0"},         {0, 1, "0"},
        {2.834646, 6, "2.834646"}, {0.5, 3, "0.5"}, {1, 3, "1"},     {-2.26, 1, "-2.3"},
        {841.9, 4, "841.9"}, {16.269, 5, "16.269"}, {-0.00001, 3, "0"}, {190.01, 4, "190.01"},
        {4.2333, 2, "4.23"}, {0.78431, 3, "0.784"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(FMTREAL_(c.value, c.places), QByteArray(c.text)) << c.value << " " << c.places;
}

TEST(PdfFormat, EscapingDoesNotEscapeTwice)
{
    EXPECT_EQ(pdfEscape("a(b)"), QByteArray("a\\(b\\)"));
    EXPECT_EQ(pdfEscape("x\\)"), QByteArray("x\\\\\\)"));
    EXPECT_EQ(pdfEscape("plain"), QByteArray("plain"));
}

TEST_F(PdfOutput, FirstObjectFollowsTheHeader)
{
    ProbePdf pdf;
    pdf.OPEN();
    EXPECT_EQ(pdf.NBUFLEN, 9u);
    pdf.ADDPAGE();
    EXPECT_TRUE(pdf.documentBytes().startsWith("%PDF-1.3\n2 0 obj\n"));
    EXPECT_FALSE(pdf.documentBytes().contains('\r'));
}

TEST_F(PdfOutput, PieceSizesAndBlockLimit)
{
    ProbePdf pdf;
    pdf.BUFOUT_(QByteArray());
    EXPECT_EQ(pdf.NBUFLEN, 0u);
    pdf.BUFOUT_(QByteArray(65520, 'a'));
    EXPECT_EQ(pdf.NBUFLEN, 65520u);
    EXPECT_THROW(pdf.BUFOUT_(QByteArray(65521, 'b')), PdfError);
    EXPECT_EQ(pdfErrorText(), QStringLiteral("MDPDF error: Buffer size too large"));
    EXPECT_EQ(pdf.NBUFLEN, 65520u);

    // A piece that does not fit the rest of a block starts the next one; the bytes stay contiguous.
    pdf.BUFOUT_("xy");
    EXPECT_EQ(pdf.documentBytes().size(), 65522);
    EXPECT_TRUE(pdf.documentBytes().endsWith("axy"));

    // 1024 blocks at most: the piece that would open the 1025th is refused. Two blocks are in use.
    for (int i = 2; i < 1024; ++i)
        pdf.BUFOUT_(QByteArray(65520, 'c'));
    const quint32 full = pdf.NBUFLEN;
    messages.clear();
    EXPECT_THROW(pdf.BUFOUT_("z"), PdfError);
    EXPECT_EQ(pdfErrorText(), QStringLiteral("MDPDF error: PDF file is too large"));
    EXPECT_EQ(pdf.NBUFLEN, full);
}

TEST_F(PdfOutput, ObjectLimit)
{
    ProbePdf pdf;
    while (pdf.NOBJECT < 8192)
        pdf.NEWOBJ_();
    EXPECT_TRUE(pdf.documentBytes().endsWith("8192 0 obj\n"));
    EXPECT_THROW(pdf.NEWOBJ_(), PdfError);
    EXPECT_EQ(pdfErrorText(), QStringLiteral("MDPDF error: Too many objects"));
    EXPECT_EQ(pdf.NOBJECT, 8192);
}

TEST_F(PdfOutput, CrossReferenceEntriesPointAtTheirObjects)
{
    ProbePdf pdf(std::nullopt, std::nullopt, pdfDataFolder());
    pdf.OPEN();
    pdf.ADDPAGE();
    pdf.SETFONT(QStringLiteral("courier"));
    pdf.ADDPAGE();
    pdf.SETFONT(QStringLiteral("helvetica"), QStringLiteral("I"));
    pdf.CLOSE();
    const QByteArray doc = pdf.documentBytes();
    const qsizetype xref = doc.lastIndexOf("\nxref\n") + 1;
    const QByteArray startxref = doc.mid(doc.lastIndexOf("startxref\n") + 10);
    EXPECT_EQ(startxref.left(startxref.indexOf('\n')).toLongLong(), xref);
    const QList<QByteArray> lines = doc.mid(xref).split('\n');
    ASSERT_EQ(lines.at(1), QByteArray("0 ") + QByteArray::number(pdf.NOBJECT + 1));
    EXPECT_EQ(lines.at(2), QByteArray("0000000000 65535 f "));
    for (int i = 1; i <= pdf.NOBJECT; ++i) {
        const QByteArray entry = lines.at(2 + i);
        ASSERT_EQ(entry.size(), 19);
        EXPECT_TRUE(entry.endsWith(" 00000 n "));
        EXPECT_TRUE(doc.mid(entry.left(10).toLongLong()).startsWith(QByteArray::number(i) + " 0 obj\n"));
    }
    // The content stream length counts the bytes between "stream\n" and "endstream".
    const qsizetype streamStart = doc.indexOf("stream\n") + 7;
    const qsizetype streamEnd = doc.indexOf("endstream\n");
    EXPECT_TRUE(doc.contains("4 0 obj\n" + QByteArray::number(streamEnd - streamStart) + "\nendobj\n"));
}
