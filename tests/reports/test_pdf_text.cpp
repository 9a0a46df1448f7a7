// Text cells, flowing text blocks and text at a position.
#include "pdf_test_support.h"

using namespace vexo;
using namespace vexo::test;

namespace {

// Points as the unit, margins of 10, a cell margin of 0 or 1 and every character 500 wide at 10 points
// (5 points), so that positions and line breaks can be counted by hand.
class PdfText : public PdfTest
{
protected:
    QTemporaryDir dir;
    std::unique_ptr<ProbePdf> pdf;

    void SetUp() override
    {
        ASSERT_TRUE(writeBytes(dir.path() + QStringLiteral("/helvetica.ftb"), "*=>500"));
        pdf = std::make_unique<ProbePdf>(QStringLiteral("P"), QStringLiteral("pt"), dir.path() + u'/');
        pdf->SETMARGINS(10, 10);
        pdf->OPEN();
        pdf->ADDPAGE();
        pdf->SETFONT(QStringLiteral("helvetica"), QString(), 10);
        pdf->NCMARGIN = 0;
    }
    QList<QByteArray> multi(double width, const QByteArray &text, int frame = 0,
                            const QString &align = QString(), int fill = 0)
    {
        const quint32 mark = pdf->mark();
        pdf->MULTICELL(width, 12, QString::fromLatin1(text), frame, align, fill);
        return pdf->linesSince(mark);
    }
    QList<QByteArray> cell(double width, const QString &text, int frame = 0, int ln = 0,
                           const QString &align = QString(), int fill = 0, double height = 10)
    {
        const quint32 mark = pdf->mark();
        pdf->CELL(width, height, text, frame, ln, align, fill);
        return pdf->linesSince(mark);
    }
};

} // namespace

TEST_F(PdfText, CellFramesFillsAndAlignments)
{
    pdf->NCMARGIN = 1;
    struct Case
    {
        int frame;
        int fill;
        const char *align;
        const char *text;
        const char *line;
    };
    const Case cases[] = {
        {1, 1, "", "ab", "10 -10 50 -10 re B BT 11 -18 Td (ab) Tj ET"},
        {0, 1, "L", "ab", "10 -10 50 -10 re f BT 11 -18 Td (ab) Tj ET"},
        {1, 0, "J", "ab", "10 -10 50 -10 re S BT 11 -18 Td (ab) Tj ET"},
        {2, 2, "R", "ab", "BT 49 -18 Td (ab) Tj ET"},
        {0, 0, "C", "ab", "BT 30 -18 Td (ab) Tj ET"},
        {0, 0, "", "a(b)", "BT 11 -18 Td (a\\(b\\)) Tj ET"},
        {1, 1, "", "", "10 -10 50 -10 re B "},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.line);
        pdf->SETXY(10, 10);
        EXPECT_EQ(cell(50, QString::fromLatin1(c.text), c.frame, 0, QString::fromLatin1(c.align), c.fill),
                  QList<QByteArray>{QByteArray(c.line)});
        EXPECT_DOUBLE_EQ(pdf->GETX(), 60);
        EXPECT_DOUBLE_EQ(pdf->GETY(), 10);
    }
    // An empty cell without frame and fill writes nothing but still moves on.
    EXPECT_TRUE(cell(30, QString()).isEmpty());
    EXPECT_DOUBLE_EQ(pdf->GETX(), 90);
    // A line break goes to the left margin below the cell, and LN repeats the last height.
    cell(0, QStringLiteral("x"), 0, 1, QString(), 0, 7);
    EXPECT_DOUBLE_EQ(pdf->GETX(), 10);
    EXPECT_DOUBLE_EQ(pdf->GETY(), 17);
    pdf->LN();
    EXPECT_DOUBLE_EQ(pdf->GETY(), 24);
}

TEST_F(PdfText, CellOfWidthZeroReachesTheRightMargin)
{
    ProbePdf mm(std::nullopt, std::nullopt, pdfDataFolder());
    mm.OPEN();
    mm.ADDPAGE();
    const quint32 mark = mm.mark();
    mm.CELL(0, 5, QString(), 1);
    EXPECT_EQ(mm.linesSince(mark), QList<QByteArray>{"10 -10 190.01 -5 re S "});
}

TEST_F(PdfText, TextColourWrapsOnlyWhenItDiffersFromTheFill)
{
    pdf->SETXY(10, 10);
    pdf->SETTEXTCOLOR(128, -1, -1);
    EXPECT_EQ(cell(50, QStringLiteral("ab")), QList<QByteArray>{"q 0.502 g BT 10 -18 Td (ab) Tj ET Q"});
    pdf->SETTEXTCOLOR(0, 0, 0);
    EXPECT_FALSE(pdf->LCOLORFLAG);
    EXPECT_EQ(cell(50, QStringLiteral("ab")), QList<QByteArray>{"BT 60 -18 Td (ab) Tj ET"});

    quint32 mark = pdf->mark();
    pdf->DRAWTEXT(5, 6, QStringLiteral("x)"));
    EXPECT_EQ(pdf->linesSince(mark), QList<QByteArray>{"BT 5 -6 Td (x\\)) Tj ET"});
    pdf->SETFILLCOLOR(255, 255, 255);
    mark = pdf->mark();
    pdf->DRAWTEXT(5, 6, QStringLiteral("x"));
    EXPECT_EQ(pdf->linesSince(mark), QList<QByteArray>{"q 0 g BT 5 -6 Td (x) Tj ET Q"});
    EXPECT_DOUBLE_EQ(pdf->GETX(), 110); // DRAWTEXT does not move the position
}

TEST_F(PdfText, CellStartsANewPageBelowTheTrigger)
{
    // Trigger 841.9 - 56.7 = 785.2; a cell of 10 at 780 would pass it.
    pdf->SETXY(40, 775);
    cell(20, QStringLiteral("a"));
    EXPECT_EQ(pdf->PAGENO(), 1);
    pdf->SETXY(40, 780);
    pdf->NWS = 1.5;
    const QList<QByteArray> lines = cell(20, QStringLiteral("a"));
    EXPECT_EQ(pdf->PAGENO(), 2);
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines.at(lines.size() - 2), QByteArray("1.5 Tw")); // spacing restored on the new stream
    EXPECT_EQ(lines.last(), QByteArray("BT 40 -18 Td (a) Tj ET")); // same x, top margin
    EXPECT_DOUBLE_EQ(pdf->GETY(), 10);

    // Inside the footer a cell never breaks the page.
    pdf->SETY(780);
    pdf->LINFOOTER = true;
    cell(20, QStringLiteral("a"));
    EXPECT_EQ(pdf->PAGENO(), 2);
    pdf->LINFOOTER = false;
    pdf->SETAUTOPAGEBREAK(false, 0);
    pdf->SETY(838);
    cell(20, QStringLiteral("a"));
    EXPECT_EQ(pdf->PAGENO(), 2);
}

// A writer with a page header and footer of two words each, which notes the word spacing they meet.
class PagedPdf : public ProbePdf
{
public:
    using ProbePdf::ProbePdf;
    QList<double> spacingInFooter;
    QList<double> spacingInHeader;

protected:
    void HEADER() override
    {
        spacingInHeader << NWS;
        if (PAGENO() > 1) // the first page has no font yet
            CELL(0, 10, QStringLiteral("Rapor Basligi"), 0, 1);
    }
    void FOOTER() override
    {
        spacingInFooter << NWS;
        SETY(800);
        CELL(0, 10, QStringLiteral("Sayfa ") + QString::number(PAGENO()), 0, 0, QStringLiteral("C"));
    }
};

// The word spacing in force for each text shown in the lines, as the content streams set it.
QList<QPair<QByteArray, QByteArray>> spacingOfTexts(const QList<QByteArray> &lines)
{
    QList<QPair<QByteArray, QByteArray>> out;
    QByteArray inForce = "0";
    for (const QByteArray &line : lines) {
        if (line == "stream")
            inForce = "0"; // every content stream starts without word spacing
        else if (line.endsWith(" Tw"))
            inForce = line.chopped(3);
        else if (line.contains(") Tj"))
            out << qMakePair(line.mid(line.indexOf('(') + 1, line.lastIndexOf(')') - line.indexOf('(') - 1), inForce);
    }
    return out;
}

TEST_F(PdfText, APageBreakInsideAJustifiedLineDrawsFooterAndHeaderWithoutItsSpacing)
{
    ASSERT_TRUE(writeBytes(dir.path() + QStringLiteral("/helvetica.ftb"), "*=>500"));
    PagedPdf paged(QStringLiteral("P"), QStringLiteral("pt"), dir.path() + u'/');
    paged.SETMARGINS(10, 10);
    paged.OPEN();
    paged.ADDPAGE();
    paged.SETFONT(QStringLiteral("helvetica"), QString(), 10);
    paged.NCMARGIN = 0;
    // The trigger is at 785.2: the block's second line (at 782) breaks the page, and both of its
    // first two lines are stretched.
    paged.SETXY(10, 770);
    const quint32 mark = paged.mark();
    paged.MULTICELL(50, 12, QStringLiteral("aaa bbb ccc ddd eee fff ggg"), 0, QStringLiteral("J"), 0);
    EXPECT_EQ(paged.PAGENO(), 2);
    EXPECT_DOUBLE_EQ(paged.NWS, 0);
    paged.CLOSE();
    EXPECT_EQ(paged.spacingInFooter, (QList<double>{0, 0}));
    EXPECT_EQ(paged.spacingInHeader, (QList<double>{0, 0}));
    using Shown = QList<QPair<QByteArray, QByteArray>>;
    EXPECT_EQ(spacingOfTexts(paged.linesSince(mark)),
              (Shown{{"aaa bbb", "15"},
                     {"Sayfa 1", "0"},      // the old page's footer
                     {"Rapor Basligi", "0"}, // the new page's header
                     {"ccc ddd", "15"},     // the line goes on with its own spacing
                     {"eee fff", "15"},
                     {"ggg", "0"},
                     {"Sayfa 2", "0"}}));
}

TEST_F(PdfText, JustifiedBlockSpreadsTheBrokenLinesOnly)
{
    pdf->SETXY(10, 10);
    // Column 50 holds 10 characters; "aaa bbb" is broken at the second blank with 1500 left over.
    EXPECT_EQ(multi(50, "aaa bbb ccc ddd", 0, QStringLiteral("J")),
              (QList<QByteArray>{"15 Tw", "BT 10 -19 Td (aaa bbb) Tj ET", "0 Tw", "BT 10 -31 Td (ccc ddd) Tj ET"}));
    EXPECT_DOUBLE_EQ(pdf->NWS, 0);
    EXPECT_DOUBLE_EQ(pdf->GETX(), 10);
    EXPECT_DOUBLE_EQ(pdf->GETY(), 34);

    // Broken at the only blank seen: no spacing.
    EXPECT_EQ(multi(50, "aaaaa bbbbbbbbbb", 0, QStringLiteral("J")),
              (QList<QByteArray>{"0 Tw", "BT 10 -43 Td (aaaaa) Tj ET", "0 Tw", "BT 10 -55 Td (bbbbbbbbbb) Tj ET"}));

    // Lines ended by a carriage return are never stretched.
    EXPECT_EQ(multi(50, "a b\r\nc d", 0, QStringLiteral("J")),
              (QList<QByteArray>{"0 Tw", "BT 10 -67 Td (a b) Tj ET", "0 Tw", "BT 10 -79 Td (c d) Tj ET"}));
}

TEST_F(PdfText, LineEndsAndLongWords)
{
    struct Case
    {
        const char *text;
        double width;
        QList<QByteArray> texts;
        int lines;
    };
    const Case cases[] = {
        {"ab\r\ncd", 50, {"(ab)", "(cd)"}, 2},
        {"ab\ncd", 50, {"(abcd)"}, 1},                         // line feeds alone are dropped
        {"ab\r\n", 50, {"(ab)"}, 1},                           // a last line end is ignored
        {"a\r\r\nb", 50, {"(a)", "(b)"}, 3},                   // an empty line moves down only
        {"abcdefghijklmnopqrstuvwxy", 50, {"(abcdefghij)", "(klmnopqrst)", "(uvwxy)"}, 3},
        {"ab", 3, {"(a)", "(b)"}, 3},                          // one character per line at least
        {"", 50, {}, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        pdf->SETXY(10, 100);
        const QList<QByteArray> lines = multi(c.width, c.text);
        QList<QByteArray> texts;
        for (const QByteArray &l : lines)
            texts << l.mid(l.indexOf('('), l.lastIndexOf(')') - l.indexOf('(') + 1);
        EXPECT_EQ(texts, c.texts);
        EXPECT_DOUBLE_EQ(pdf->GETY(), 100 + 12 * c.lines);
    }
}

TEST_F(PdfText, FilledBlockFillsEmptyLines)
{
    pdf->SETXY(10, 10);
    EXPECT_EQ(multi(50, "a\r\rb", 0, QString(), 1),
              (QList<QByteArray>{"10 -10 50 -12 re f BT 10 -19 Td (a) Tj ET", "10 -22 50 -12 re f ",
                                 "10 -34 50 -12 re f BT 10 -43 Td (b) Tj ET"}));
}

TEST_F(PdfText, BlockFrame)
{
    pdf->SETXY(10, 10);
    EXPECT_EQ(multi(50, "ab\r\ncd", 1),
              (QList<QByteArray>{"BT 10 -19 Td (ab) Tj ET", "10 -10 m 60 -10 l",
                                 "10 -10 m 10 -22 l 60 -10 m 60 -22 l S", "BT 10 -31 Td (cd) Tj ET",
                                 "10 -22 m 10 -34 l 60 -34 l 60 -22 l S"}));
    // A block of one line: top edge, then left side, bottom edge and right side.
    pdf->SETXY(10, 50);
    EXPECT_EQ(multi(50, "x", 1),
              (QList<QByteArray>{"BT 10 -59 Td (x) Tj ET", "10 -50 m 60 -50 l", "10 -50 m 10 -62 l 60 -62 l 60 -50 l S"}));
}

TEST_F(PdfText, BlockWithoutFontWritesNothing)
{
    ProbePdf bare;
    bare.OPEN();
    bare.ADDPAGE();
    const quint32 mark = bare.mark();
    bare.MULTICELL(0, 5, QStringLiteral("text"));
    EXPECT_TRUE(bare.linesSince(mark).isEmpty());
    EXPECT_DOUBLE_EQ(bare.GETY(), 10);
    // GETSTRINGWIDTH measures 0, so a centred cell places its text as if it had no width.
    bare.CELL(50, 10, QStringLiteral("t"), 0, 0, QStringLiteral("C"));
    EXPECT_EQ(bare.linesSince(mark), QList<QByteArray>{"BT 35 -15 Td (t) Tj ET"});
}
