// File assembly of the PDF writer: the in-memory buffer, object numbering, the objects that close a
// document, the cross-reference table and the output file.
#include "reports/pdf_document.h"

#include "platform/atomic_file.h"
#include "platform/clock.h"
#include "reports/pdf_format.h"


namespace vexo {

QByteArray MDPDF::ESCAPE_(const QByteArray &text)
{
    return pdfEscape(text);
}

void MDPDF::BUFOUT_(const QByteArray &text)
{
    if (text.isEmpty())
        return;
    if (text.size() > kChunkSize)
        ERROR(QStringLiteral("Buffer size too large"));
    // A piece never straddles two blocks: the rest of a full block stays unused.
    if (ACHUNKS.empty() || ACHUNKS.back().size() + text.size() > kChunkSize) {
        if (static_cast<int>(ACHUNKS.size()) >= kMaxChunks)
            ERROR(QStringLiteral("PDF file is too large"));
        QByteArray chunk;
        chunk.reserve(kChunkSize);
        ACHUNKS.push_back(std::move(chunk));
    }
    ACHUNKS.back().append(text);
    NBUFLEN += static_cast<quint32>(text.size());
}

void MDPDF::OUT_(const QByteArray &text)
{
    BUFOUT_(text);
    BUFOUT_(QByteArrayLiteral("\n"));
}

void MDPDF::NEWOBJ_()
{
    if (NOBJECT >= kMaxObjects)
        ERROR(QStringLiteral("Too many objects"));
    ++NOBJECT;
    AOFFSETS[NOBJECT] = NBUFLEN;
    OUT_(QByteArray::number(NOBJECT) + " 0 obj");
}

QByteArray MDPDF::documentBytes() const
{
    QByteArray all;
    all.reserve(NBUFLEN);
    for (const QByteArray &chunk : ACHUNKS)
        all.append(chunk);
    return all;
}

void MDPDF::BEGINDOC_()
{
    OUT_("%PDF-1.3");
}

void MDPDF::BEGINPAGE_()
{
    ++NPAGE;
    NX = NLMARGIN;
    NY = NTMARGIN;
    NLASTH = 0;
    CFONTFAMILY.clear();

    NEWOBJ_();
    OUT_("<< /Type /Page");
    OUT_("/Parent 1 0 R");
    OUT_("/Contents " + QByteArray::number(NOBJECT + 1) + " 0 R >>");
    OUT_("endobj");
    NEWOBJ_();
    OUT_("<< /Length " + QByteArray::number(NOBJECT + 1) + " 0 R >>");
    OUT_("stream");
    NSTREAMSTART = NBUFLEN;
    OUT_(FMTREAL_(NK, 6) + " 0 0 " + FMTREAL_(NK, 6) + " 0 " + FMTREAL_(NHPT, 4) + " cm");
}

void MDPDF::ENDPAGE_()
{
    const quint32 length = NBUFLEN - NSTREAMSTART;
    OUT_("endstream");
    OUT_("endobj");
    NEWOBJ_();
    OUT_(QByteArray::number(length));
    OUT_("endobj");
}

void MDPDF::ENDDOC_()
{
    const int firstFont = NOBJECT;
    for (const UsedFont &font : AUSEDFONTS) {
        NEWOBJ_();
        OUT_("<< /Type /Font");
        OUT_("/Subtype /Type1");
        OUT_("/BaseFont /" + font.baseName.toLatin1());
        if (font.baseName != u"Symbol" && font.baseName != u"ZapfDingbats")
            OUT_("/Encoding /WinAnsiEncoding");
        OUT_(" >>");
        OUT_("endobj");
    }

    const int firstImage = NOBJECT;
    for (const ImageEntry &image : AIMAGES) {
        const bool indexed = image.colorSpace == u"Indexed";
        NEWOBJ_();
        OUT_("<< /Type /XObject");
        OUT_("/Subtype /Image");
        OUT_("/Width " + QByteArray::number(image.width));
        OUT_("/Height " + QByteArray::number(image.height));
        if (indexed)
            OUT_("/ColorSpace [/Indexed /DeviceRGB " + QByteArray::number(image.palette.size() / 3 - 1)
                 + ' ' + QByteArray::number(NOBJECT + 1) + " 0 R]");
        else
            OUT_("/ColorSpace /" + image.colorSpace.toLatin1());
        OUT_("/BitsPerComponent " + QByteArray::number(image.bitsPerComponent));
        OUT_("/Filter /" + image.filter.toLatin1());
        if (!image.decodeParms.isEmpty())
            OUT_(image.decodeParms);
        if (!image.transparency.isEmpty())
            OUT_("/Mask [" + image.transparency + ']');
        OUT_("/Length " + QByteArray::number(image.data.size()) + " >>");
        OUT_("stream");
        OUT_(image.data);
        OUT_("endstream");
        OUT_("endobj");
        if (indexed) {
            NEWOBJ_();
            OUT_("<< /Length " + QByteArray::number(image.palette.size()) + " >>");
            OUT_("stream");
            OUT_(image.palette);
            OUT_("endstream");
            OUT_("endobj");
        }
    }

    AOFFSETS[1] = NBUFLEN;
    OUT_("1 0 obj");
    OUT_("<< /Type /Pages");
    QByteArray kids = "/Kids [";
    for (int i = 0; i < NPAGE; ++i)
        kids += QByteArray::number(2 + 3 * i) + " 0 R ";
    OUT_(kids + ']');
    OUT_("/Count " + QByteArray::number(NPAGE));
    OUT_("/MediaBox [0 0 " + FMTREAL_(NWPT, 4) + ' ' + FMTREAL_(NHPT, 4) + ']');
    OUT_("/Resources << /ProcSet [/PDF /Text /ImageB /ImageC /ImageI]");
    OUT_("/Font <<");
    for (const UsedFont &font : AUSEDFONTS)
        OUT_("/F" + QByteArray::number(font.number) + ' ' + QByteArray::number(firstFont + font.number)
             + " 0 R");
    OUT_(">>");
    OUT_("/XObject <<");
    int indexedBefore = 0;
    for (const ImageEntry &image : AIMAGES) {
        OUT_("/I" + QByteArray::number(image.number) + ' '
             + QByteArray::number(firstImage + image.number + indexedBefore) + " 0 R");
        if (image.colorSpace == u"Indexed")
            ++indexedBefore;
    }
    OUT_(">> >> >>");
    OUT_("endobj");

    NEWOBJ_();
    OUT_("<< /Producer (MDPDF 0.9)");
    const QPair<const char *, const QString *> entries[] = {
        {"/Title (", &CTITLE},       {"/Subject (", &CSUBJECT}, {"/Author (", &CAUTHOR},
        {"/Keywords (", &CKEYWORDS}, {"/Creator (", &CCREATOR},
    };
    for (const auto &entry : entries) {
        if (!entry.second->isEmpty())
            OUT_(entry.first + ESCAPE_(encode(*entry.second)) + ')');
    }
    OUT_("/CreationDate (D:" + clock().now().date().toString(QStringLiteral("yyyyMMdd")).toLatin1()
         + "120000) >>");
    OUT_("endobj");

    NEWOBJ_();
    OUT_("<< /Type /Catalog");
    if (CZOOMMODE == u"fullpage")
        OUT_("/OpenAction [2 0 R /Fit]");
    else if (CZOOMMODE == u"fullwidth")
        OUT_("/OpenAction [2 0 R /FitH null]");
    else if (CZOOMMODE == u"real")
        OUT_("/OpenAction [2 0 R /XYZ null null 1]");
    else
        OUT_("/OpenAction [2 0 R /XYZ null null " + FMTREAL_(CZOOMMODE.toDouble() / 100, 1) + ']');
    OUT_("/Pages 1 0 R >>");
    OUT_("endobj");

    const quint32 xref = NBUFLEN;
    OUT_("xref");
    OUT_("0 " + QByteArray::number(NOBJECT + 1));
    OUT_("0000000000 65535 f ");
    for (int i = 1; i <= NOBJECT; ++i)
        OUT_(QByteArray::number(AOFFSETS[i]).rightJustified(10, '0') + " 00000 n ");
    OUT_("trailer");
    OUT_("<< /Size " + QByteArray::number(NOBJECT + 1));
    OUT_("/Root " + QByteArray::number(NOBJECT) + " 0 R");
    OUT_("/Info " + QByteArray::number(NOBJECT - 1) + " 0 R >>");
    OUT_("startxref");
    OUT_(QByteArray::number(xref));
    OUT_("%%EOF");
}

void MDPDF::OUTPUT(const QString &fileName)
{
    if (LOPEN)
        CLOSE();
    // Written under a temporary name and renamed, so that a failure keeps the previous file whole.
    bool opened = false;
    if (!writeFileAtomically(fileName, QList<QByteArray>(ACHUNKS.cbegin(), ACHUNKS.cend()), nullptr, &opened))
        ERROR(opened ? QStringLiteral("Error writing output file") : QStringLiteral("Unable to create output file: ") + fileName);
}

void MDPDF::CLEANUP_()
{
    ACHUNKS.clear();
    ACHUNKS.shrink_to_fit();
    NBUFLEN = 0;
    for (UsedFont &font : AUSEDFONTS)
        font.widths.reset();
}

} // namespace vexo
