// Fonts of the PDF writer: the 14 standard fonts, the fonts a document uses, their width files and
// text measurement.
#include "reports/pdf_document.h"

#include "platform/cp1254_codec.h"
#include "reports/pdf_format.h"

#include <QFile>

namespace vexo {

namespace {

constexpr qint64 kMaxWidthFileSize = 32000;

bool hasStyles(const QString &family)
{
    return family == u"courier" || family == u"helvetica" || family == u"times";
}

} // namespace

void MDPDF::ADDFONT_(const QString &key, const QString &baseName)
{
    const QString upper = key.toUpper();
    for (KnownFont &font : AKNOWNFONTS) {
        if (font.key == upper) {
            font.baseName = baseName;
            return;
        }
    }
    AKNOWNFONTS.append({upper, baseName});
}

int MDPDF::FINDFONT_(const QString &key) const
{
    const QString upper = key.toUpper();
    for (qsizetype i = 0; i < AKNOWNFONTS.size(); ++i) {
        if (AKNOWNFONTS.at(i).key == upper)
            return static_cast<int>(i) + 1;
    }
    return 0;
}

int MDPDF::FONTINDEX_(const QString &baseName, bool *isNew)
{
    for (const UsedFont &font : AUSEDFONTS) {
        if (font.baseName.compare(baseName, Qt::CaseInsensitive) == 0) {
            *isNew = false;
            return font.number;
        }
    }
    const int number = static_cast<int>(AUSEDFONTS.size()) + 1;
    AUSEDFONTS.push_back({baseName, number, nullptr});
    *isNew = true;
    return number;
}

void MDPDF::LOADFONTTABLE_(int usedFont, const QString &family, const QString &style)
{
    const QString lowerFamily = family.toLower();
    QString name = lowerFamily;
    if (hasStyles(lowerFamily))
        name += style.toLower();
    name += QStringLiteral(".ftb");
    if (!CFONTPATH.isEmpty())
        name = CFONTPATH + name;

    if (!QFile::exists(name))
        ERROR(QStringLiteral("File not found: ") + name);
    UsedFont &entry = AUSEDFONTS[static_cast<size_t>(usedFont - 1)];
    entry.widths = std::make_unique<FontWidthTable>();
    entry.widths->fill(0);

    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        ERROR(QStringLiteral("Error opening file: ") + name);
    const qint64 size = file.size();
    if (size > kMaxWidthFileSize)
        ERROR(QStringLiteral("File too big: ") + name);
    const QByteArray bytes = file.read(size);
    if (bytes.size() != size)
        ERROR(QStringLiteral("Error reading file: ") + name);
    file.close();

    QByteArray badEntry;
    if (!applyFontWidths(bytes, *entry.widths, &badEntry))
        ERROR(QStringLiteral("Error in font width table: ") + Cp1254Codec::decode(badEntry));
}

void MDPDF::writeFontSelection(int usedFont)
{
    OUT_("BT /F" + QByteArray::number(usedFont) + ' ' + FMTREAL_(NFONTSIZE, 2) + " Tf ET");
}

bool MDPDF::SETFONT_(const QString &familyArg, const QString &styleArg, double size)
{
    QString family = familyArg.toLower();
    if (family.isEmpty())
        family = CFONTFAMILY;
    if (family == u"arial")
        family = QStringLiteral("helvetica");
    QString style;
    if (family != u"symbol" && family != u"zapfdingbats") {
        style = styleArg.toUpper();
        if (style == u"IB")
            style = QStringLiteral("BI");
    }
    if (size == 0)
        size = NFONTSIZEPT;
    if (family == CFONTFAMILY && style == CFONTSTYLE && size == NFONTSIZEPT)
        return true;

    const int known = FINDFONT_(family + style);
    if (known == 0)
        return false;
    bool isNew = false;
    const int used = FONTINDEX_(AKNOWNFONTS.at(known - 1).baseName, &isNew);
    if (isNew && !AUSEDFONTS[static_cast<size_t>(used - 1)].widths)
        LOADFONTTABLE_(used, family, style);

    CFONTFAMILY = family;
    CFONTSTYLE = style;
    NFONTSIZEPT = size;
    NFONTSIZE = pdfRound(size / NK, 2);
    if (NPAGE > 0)
        writeFontSelection(used);
    return true;
}

void MDPDF::SETFONT(const QString &family, const QString &style, double size)
{
    if (!SETFONT_(family, style, size))
        ERROR(QStringLiteral("Incorrect font family or style : ") + family + u' ' + style);
}

void MDPDF::SETFONTSIZE_(double size)
{
    if (size == NFONTSIZEPT)
        return;
    const int known = FINDFONT_(CFONTFAMILY + CFONTSTYLE);
    if (known == 0)
        return;
    bool isNew = false;
    const int used = FONTINDEX_(AKNOWNFONTS.at(known - 1).baseName, &isNew);
    NFONTSIZEPT = size;
    NFONTSIZE = pdfRound(size / NK, 2);
    if (NPAGE > 0)
        writeFontSelection(used);
}

void MDPDF::SETFONTSIZE(double size)
{
    SETFONTSIZE_(size);
}

const FontWidthTable *MDPDF::currentWidths() const
{
    const int known = FINDFONT_(CFONTFAMILY + CFONTSTYLE);
    if (known == 0)
        return nullptr;
    const QString &baseName = AKNOWNFONTS.at(known - 1).baseName;
    for (const UsedFont &font : AUSEDFONTS) {
        if (font.baseName.compare(baseName, Qt::CaseInsensitive) == 0)
            return font.widths.get();
    }
    return nullptr;
}

double MDPDF::GETSTRINGWIDTH_(const QByteArray &text, const FontWidthTable *widths) const
{
    if (!widths || text.isEmpty())
        return 0;
    qint64 sum = 0;
    for (const char c : text)
        sum += (*widths)[static_cast<unsigned char>(c)];
    return static_cast<double>(sum) * NFONTSIZE / 1000;
}

double MDPDF::GETSTRINGWIDTH(const QString &text)
{
    return GETSTRINGWIDTH_(encode(text), currentWidths());
}

} // namespace vexo
