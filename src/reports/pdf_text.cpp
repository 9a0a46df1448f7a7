// Text of the PDF writer: single cells (where automatic page breaks happen), flowing text blocks and
// text at a position.
#include "reports/pdf_document.h"

#include "reports/pdf_format.h"

namespace vexo {

void MDPDF::CELL(double width, double height, const QString &text, int frame, int lineBreak,
                 const QString &align, int fill)
{
    cellBytes(width, height, encode(text), frame, lineBreak, align, fill);
}

void MDPDF::cellBytes(double width, double height, const QByteArray &text, int frame, int lineBreak,
                      const QString &align, int fill)
{
    if (NY + height > NPAGEBREAKTRIGGER && LAUTOPAGEBREAK && !LINFOOTER) {
        const double x = NX;
        ADDPAGE();
        NX = x;
        // A new content stream starts without the word spacing a justified block relies on.
        if (NWS > 0)
            OUT_(FMTREAL_(NWS, 4) + " Tw");
    }
    if (width == 0)
        width = NW - NLMARGIN - NX;

    QByteArray s;
    if (fill == 1 || frame == 1) {
        s = FMTREAL_(NX, 4) + " -" + FMTREAL_(NY, 4) + ' ' + FMTREAL_(width, 4) + " -"
            + FMTREAL_(height, 4) + " re ";
        if (fill == 1 && frame == 1)
            s += "B ";
        else if (fill == 1)
            s += "f ";
        else
            s += "S ";
    }
    if (!text.isEmpty()) {
        const double t = GETSTRINGWIDTH_(text, currentWidths());
        double d = NCMARGIN;
        if (align == u"R")
            d = width - NCMARGIN - t;
        else if (align == u"C")
            d = (width - t) / 2;
        if (LCOLORFLAG)
            s += "q " + CTEXTCOLOR + ' ';
        s += "BT " + FMTREAL_(NX + d, 5) + " -" + FMTREAL_(NY + 0.5 * height + 0.3 * NFONTSIZE, 5)
             + " Td (" + ESCAPE_(text) + ") Tj ET";
        if (LCOLORFLAG)
            s += " Q";
    }
    if (!s.isEmpty())
        OUT_(s);
    NLASTH = height;
    if (lineBreak == 1) {
        NX = NLMARGIN;
        NY += height;
    } else {
        NX += width;
    }
}

void MDPDF::MULTICELL(double width, double height, const QString &text, int frame,
                      const QString &align, int fill)
{
    const FontWidthTable *widths = currentWidths();
    if (!widths)
        return;
    MULTICELL_(width, height, encode(text), frame, align, fill, *widths);
}

void MDPDF::MULTICELL_(double width, double height, const QByteArray &textArg, int frame,
                       const QString &align, int fill, const FontWidthTable &cw)
{
    const double x0 = NX;
    if (width == 0)
        width = NW - NLMARGIN - x0;
    const double wmax = (width - 2 * NCMARGIN) * 1000 / NFONTSIZE;
    QByteArray text = textArg;
    text.replace('\n', QByteArray());
    if (text.endsWith('\r'))
        text.chop(1);
    const qsizetype n = text.size();
    const bool justify = align == u"J";

    enum class Piece { CarriageReturn, Broken };
    int k = 1;
    const auto frameFor = [&](Piece piece) {
        if (frame <= 0)
            return;
        const double yt = NY - height;
        const QByteArray left = FMTREAL_(x0, 5);
        const QByteArray right = FMTREAL_(x0 + width, 5);
        const QByteArray top = FMTREAL_(yt, 5);
        const QByteArray bottom = FMTREAL_(NY, 5);
        if (k == 1)
            OUT_(left + " -" + top + " m " + right + " -" + top + " l");
        if (piece == Piece::CarriageReturn)
            OUT_(left + " -" + top + " m " + left + " -" + bottom + " l " + right + " -" + top + " m "
                 + right + " -" + bottom + " l S");
        else
            OUT_(left + " -" + top + " m " + left + " -" + bottom + " l " + right + " -" + bottom
                 + " l " + right + " -" + top + " l S");
    };
    const auto noSpacing = [&] {
        if (justify) {
            NWS = 0;
            OUT_("0 Tw");
        }
    };
    const auto line = [&](qsizetype from, qsizetype to) {
        cellBytes(width, height, text.mid(from, to - from), 0, 1, align, fill);
    };

    qsizetype sep = -1;
    qsizetype i = 0;
    qsizetype j = 0;
    qint64 l = 0;
    qint64 ls = 0;
    int s = 0;
    while (i < n) {
        const char c = text.at(i);
        if (c == '\r') {
            noSpacing();
            line(j, i);
            ++i;
            NX = x0;
            sep = -1;
            j = i;
            l = 0;
            s = 0;
            frameFor(Piece::CarriageReturn);
            ++k;
            continue;
        }
        if (c == ' ') {
            sep = i;
            ls = l;
            ++s;
        }
        l += cw[static_cast<unsigned char>(c)];
        if (l > wmax) {
            if (sep == -1) {
                if (i == j)
                    ++i;
                noSpacing();
                line(j, i);
            } else {
                if (justify) {
                    NWS = s > 1 ? (wmax - ls) / 1000 * NFONTSIZE / (s - 1) : 0;
                    OUT_(FMTREAL_(NWS, 6) + " Tw");
                }
                line(j, sep);
                i = sep + 1;
            }
            NX = x0;
            sep = -1;
            j = i;
            l = 0;
            s = 0;
            frameFor(Piece::Broken);
            ++k;
        } else {
            ++i;
        }
    }
    noSpacing();
    line(j, i);
    frameFor(Piece::Broken);
}

void MDPDF::DRAWTEXT(double x, double y, const QString &text)
{
    QByteArray s = "BT " + FMTREAL_(x, 5) + " -" + FMTREAL_(y, 5) + " Td (" + ESCAPE_(encode(text))
                   + ") Tj ET";
    if (LCOLORFLAG)
        s = "q " + CTEXTCOLOR + ' ' + s + " Q";
    OUT_(s);
}

} // namespace vexo
