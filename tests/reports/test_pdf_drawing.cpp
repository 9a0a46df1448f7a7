// Colours, line width, lines and rectangles.
#include "pdf_test_support.h"

using namespace vexo;
using namespace vexo::test;

namespace {
class PdfDrawing : public PdfTest
{
};
} // namespace

TEST_F(PdfDrawing, ColourOperators)
{
    struct Case
    {
        int r, g, b;
        const char *fill;
        const char *stroke;
    };
    const Case cases[] = {
        {0, 0, 0, "0 g", "0 G"},
        {255, 255, 255, "1 1 1 rg", "1 1 1 RG"},
        {128, -1, 0, "0.502 g", "0.502 G"},
        {200, 0, 0, "0.784 0 0 rg", "0.784 0 0 RG"},
        {200, 220, 255, "0.784 0.863 1 rg", "0.784 0.863 1 RG"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.fill);
        ProbePdf pdf;
        pdf.SETFILLCOLOR(c.r, c.g, c.b);
        pdf.SETDRAWCOLOR(c.r, c.g, c.b);
        EXPECT_EQ(pdf.CFILLCOLOR, QByteArray(c.fill));
        EXPECT_EQ(pdf.CDRAWCOLOR, QByteArray(c.stroke));
        pdf.SETTEXTCOLOR(c.r, c.g, c.b);
        EXPECT_EQ(pdf.CTEXTCOLOR, QByteArray(c.fill));
        EXPECT_FALSE(pdf.LCOLORFLAG);
        EXPECT_EQ(pdf.NBUFLEN, 0u); // nothing is written before a page
    }
    ProbePdf pdf;
    pdf.SETFILLCOLOR(200); // green and blue missing: a colour, not a grey
    EXPECT_EQ(pdf.CFILLCOLOR, QByteArray("0.784 0 0 rg"));
    EXPECT_TRUE(pdf.LCOLORFLAG);
}

TEST_F(PdfDrawing, OperatorsOnAnOpenPage)
{
    ProbePdf pdf;
    pdf.SETLINEWIDTH(0.35);
    pdf.OPEN();
    quint32 mark = pdf.mark();
    pdf.ADDPAGE();
    EXPECT_EQ(pdf.linesSince(mark).last(), QByteArray("0.35 w"));

    mark = pdf.mark();
    pdf.SETDRAWCOLOR(255, 0, 0);
    pdf.SETFILLCOLOR(0, 0, 255);
    pdf.SETTEXTCOLOR(0, 255, 0);
    pdf.SETLINEWIDTH(1.23456);
    pdf.LINE(10, 20, 100, 20);
    pdf.RECT(1, 2, 3, 4, QStringLiteral("F"));
    pdf.RECT(1, 2, 3, 4, QStringLiteral("FD"));
    pdf.RECT(1, 2, 3, 4, QStringLiteral("DF"));
    pdf.RECT(1, 2, 3, 4, QStringLiteral("D"));
    pdf.RECT(1, 2, 3, 4, QStringLiteral("f"));
    pdf.RECT(1.23456, 2, 3, 4);
    EXPECT_EQ(pdf.linesSince(mark),
              (QList<QByteArray>{"1 0 0 RG", "0 0 1 rg", "1.2346 w", "10 -20 m 100 -20 l S", "1 -2 3 -4 re f",
                                 "1 -2 3 -4 re B", "1 -2 3 -4 re B", "1 -2 3 -4 re S", "1 -2 3 -4 re S",
                                 "1.2346 -2 3 -4 re S"}));
    EXPECT_TRUE(pdf.LCOLORFLAG);
}
