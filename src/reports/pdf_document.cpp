#include "reports/pdf_document.h"

#include "platform/cp1254_codec.h"
#include "platform/message_sink.h"
#include "reports/pdf_format.h"

namespace vexo {

namespace {

struct StandardFont
{
    const char *key;
    const char *baseName;
};

constexpr StandardFont kStandardFonts[] = {
    {"courier", "Courier"},
    {"courierB", "Courier-Bold"},
    {"courierI", "Courier-Oblique"},
    {"courierBI", "Courier-BoldOblique"},
    {"helvetica", "Helvetica"},
    {"helveticaB", "Helvetica-Bold"},
    {"helveticaI", "Helvetica-Oblique"},
    {"helveticaBI", "Helvetica-BoldOblique"},
    {"times", "Times-Roman"},
    {"timesB", "Times-Bold"},
    {"timesI", "Times-Italic"},
    {"timesBI", "Times-BoldItalic"},
    {"symbol", "Symbol"},
    {"zapfdingbats", "ZapfDingbats"},
};

QByteArray widthLine(double width)
{
    return FMTREAL_(width, 4) + " w";
}

} // namespace

MDPDF::MDPDF(const std::optional<QString> &orientation, const std::optional<QString> &unit,
             const QString &fontPath, const QString &imagePath)
    : AOFFSETS(kMaxObjects + 1, 0), CFONTPATH(fontPath), CIMAGEPATH(imagePath)
{
    for (const StandardFont &f : kStandardFonts)
        ADDFONT_(QString::fromLatin1(f.key), QString::fromLatin1(f.baseName));

    const QString o = orientation.value_or(QStringLiteral("P"));
    const QString lower = o.toLower();
    if (lower == u"p" || lower == u"portrait") {
        NWPT = 595.3;
        NHPT = 841.9;
    } else if (lower == u"l" || lower == u"landscape") {
        NWPT = 841.9;
        NHPT = 595.3;
    } else {
        ERROR(QStringLiteral("Incorrect orientation: ") + o);
    }

    const QString u = unit.value_or(QStringLiteral("mm"));
    if (u == u"pt")
        NK = 1;
    else if (u == u"mm")
        NK = 72 / 25.4;
    else if (u == u"cm")
        NK = 72 / 2.54;
    else if (u == u"in")
        NK = 72;
    else
        ERROR(QStringLiteral("Incorrect unit: ") + u);

    NW = pdfRound(NWPT / NK, 2);
    NH = pdfRound(NHPT / NK, 2);
    NLINEWIDTH = pdfRound(0.567 / NK, 3);
    const double margin = pdfRound(28.35 / NK, 2);
    SETMARGINS(margin, margin);
    NCMARGIN = margin / 10;
    SETAUTOPAGEBREAK(true, 2 * margin);
    SETDISPLAYMODE(QStringLiteral("fullwidth"), 100);
}

MDPDF::~MDPDF()
{
    CLEANUP_();
}

void MDPDF::DESTROY()
{
    CLEANUP_();
}

void MDPDF::ERROR(const QString &message)
{
    showMessage(nullptr, QStringLiteral("PDF Error"), QStringLiteral("MDPDF error: ") + message, MB_OK);
    throw PdfError(message);
}

QByteArray MDPDF::encode(const QString &text)
{
    return Cp1254Codec::encode(text);
}

void MDPDF::OPEN()
{
    BEGINDOC_();
    LOPEN = true;
}

void MDPDF::ADDPAGE()
{
    const QString family = CFONTFAMILY;
    const QString style = CFONTSTYLE;
    const double size = NFONTSIZEPT;
    const double lineWidth = NLINEWIDTH;
    const QByteArray drawColor = CDRAWCOLOR;
    const QByteArray fillColor = CFILLCOLOR;
    const QByteArray textColor = CTEXTCOLOR;
    const bool colorFlag = LCOLORFLAG;
    // A page can break inside a justified line: its word spacing belongs to that line only. The
    // footer and header are drawn without it; the caller writes it again on the new page.
    const double wordSpacing = NWS;
    NWS = 0;

    if (NPAGE > 0) {
        if (wordSpacing != 0)
            OUT_("0 Tw");
        LINFOOTER = true;
        FOOTER();
        LINFOOTER = false;
        ENDPAGE_();
    }
    BEGINPAGE_();
    OUT_("2 J");
    OUT_(widthLine(lineWidth));
    if (!family.isEmpty())
        SETFONT(family, style, size);
    if (drawColor != "0 G")
        OUT_(drawColor);
    if (fillColor != "0 g")
        OUT_(fillColor);
    CTEXTCOLOR = textColor;
    LCOLORFLAG = colorFlag;

    HEADER();

    // The header may change the drawing state; the page body goes on with the caller's settings.
    if (NLINEWIDTH != lineWidth) {
        NLINEWIDTH = lineWidth;
        OUT_(widthLine(lineWidth));
    }
    if (!family.isEmpty())
        SETFONT(family, style, size);
    if (CDRAWCOLOR != drawColor) {
        CDRAWCOLOR = drawColor;
        OUT_(drawColor);
    }
    if (CFILLCOLOR != fillColor) {
        CFILLCOLOR = fillColor;
        OUT_(fillColor);
    }
    CTEXTCOLOR = textColor;
    LCOLORFLAG = colorFlag;
    NWS = wordSpacing;
}

void MDPDF::CLOSE()
{
    if (NPAGE == 0)
        ERROR(QStringLiteral("Document contains no page"));
    LINFOOTER = true;
    FOOTER();
    LINFOOTER = false;
    ENDPAGE_();
    ENDDOC_();
    LOPEN = false;
}

void MDPDF::SETMARGINS(double left, double top)
{
    NLMARGIN = left;
    NTMARGIN = top;
}

MDPDF &MDPDF::SETAUTOPAGEBREAK(bool on, double margin)
{
    LAUTOPAGEBREAK = on;
    NPAGEBREAKTRIGGER = NH - margin;
    return *this;
}

double MDPDF::SETX(double x)
{
    NX = x >= 0 ? x : NW + x;
    return NX;
}

double MDPDF::SETY(double y)
{
    NX = NLMARGIN;
    NY = y >= 0 ? y : NH + y;
    return NY;
}

void MDPDF::SETXY(double x, double y)
{
    SETY(y);
    SETX(x);
}

void MDPDF::LN(std::optional<double> height)
{
    NX = NLMARGIN;
    NY += height.value_or(NLASTH);
}

void MDPDF::SETDISPLAYMODE(const QString &mode, int zoom)
{
    if (mode == u"fullpage" || mode == u"fullwidth" || mode == u"real" || mode == u"default")
        CZOOMMODE = mode;
    else if (mode == u"zoom")
        CZOOMMODE = QString::number(zoom);
    else
        ERROR(QStringLiteral("Incorrect display mode: ") + mode);
}

// --- colours, lines and rectangles ---

QByteArray MDPDF::colorOperator(int red, int green, int blue, bool stroke) const
{
    const bool grey = (red == 0 && green == 0 && blue == 0) || green == -1;
    if (grey)
        return FMTREAL_(red / 255.0, 3) + (stroke ? " G" : " g");
    return FMTREAL_(red / 255.0, 3) + ' ' + FMTREAL_(green / 255.0, 3) + ' '
           + FMTREAL_(blue / 255.0, 3) + (stroke ? " RG" : " rg");
}

void MDPDF::SETDRAWCOLOR(int red, int green, int blue)
{
    CDRAWCOLOR = colorOperator(red, green, blue, true);
    if (NPAGE > 0)
        OUT_(CDRAWCOLOR);
}

void MDPDF::SETFILLCOLOR(int red, int green, int blue)
{
    CFILLCOLOR = colorOperator(red, green, blue, false);
    LCOLORFLAG = CFILLCOLOR != CTEXTCOLOR;
    if (NPAGE > 0)
        OUT_(CFILLCOLOR);
}

void MDPDF::SETTEXTCOLOR(int red, int green, int blue)
{
    CTEXTCOLOR = colorOperator(red, green, blue, false);
    LCOLORFLAG = CFILLCOLOR != CTEXTCOLOR;
}

void MDPDF::SETLINEWIDTH(double width)
{
    NLINEWIDTH = width;
    if (NPAGE > 0)
        OUT_(widthLine(width));
}

void MDPDF::LINE(double x1, double y1, double x2, double y2)
{
    OUT_(FMTREAL_(x1, 4) + " -" + FMTREAL_(y1, 4) + " m " + FMTREAL_(x2, 4) + " -" + FMTREAL_(y2, 4)
         + " l S");
}

void MDPDF::RECT(double x, double y, double width, double height, const QString &style)
{
    QByteArray op = "S";
    if (style == u"F")
        op = "f";
    else if (style == u"FD" || style == u"DF")
        op = "B";
    OUT_(FMTREAL_(x, 4) + " -" + FMTREAL_(y, 4) + ' ' + FMTREAL_(width, 4) + " -"
         + FMTREAL_(height, 4) + " re " + op);
}

} // namespace vexo
