#pragma once

#include "reports/pdf_error.h"
#include "reports/pdf_font_widths.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

class QFile;

namespace vexo {

// The program's own PDF writer. One object builds one PDF 1.3 document in memory, page by page, with
// the 14 standard fonts and JPEG/PNG pictures, and copies it into a file at the end. Positions are in
// the unit chosen at creation, measured from the top left corner of the page.
//
// Every failure goes through ERROR: it shows "MDPDF error: ..." and throws PdfError, which leaves the
// operation; the object keeps the state it had at that moment. Texts are Windows-1254 byte strings in
// the file; callers replace the Turkish letters first (the fonts use WinAnsi).
class MDPDF
{
public:
    // Orientation "P"/"portrait"/"L"/"landscape" (any case) and unit "pt", "mm", "cm" or "in"; a
    // missing one means portrait millimetres. The folders are plain prefixes of the width files and of
    // the pictures. Throws PdfError on an unknown orientation or unit.
    explicit MDPDF(const std::optional<QString> &orientation = std::nullopt,
                   const std::optional<QString> &unit = std::nullopt, const QString &fontPath = {},
                   const QString &imagePath = {});
    virtual ~MDPDF();
    MDPDF(const MDPDF &) = delete;
    MDPDF &operator=(const MDPDF &) = delete;

    // Document and pages.
    void OPEN();
    void ADDPAGE();
    void CLOSE();
    void OUTPUT(const QString &fileName);
    void DESTROY();
    virtual void HEADER() {}
    virtual void FOOTER() {}
    int PAGENO() const { return NPAGE; }

    // Geometry.
    void SETMARGINS(double left, double top);
    MDPDF &SETAUTOPAGEBREAK(bool on, double margin);
    double GETX() const { return NX; }
    double GETY() const { return NY; }
    double SETX(double x);
    double SETY(double y);
    void SETXY(double x, double y);
    // Without a height the position moves down by the last cell's height.
    void LN(std::optional<double> height = std::nullopt);
    void SETDISPLAYMODE(const QString &mode, int zoom = 0);

    // Information entries.
    void SETTITLE(const QString &text) { CTITLE = text; }
    void SETSUBJECT(const QString &text) { CSUBJECT = text; }
    void SETAUTHOR(const QString &text) { CAUTHOR = text; }
    void SETKEYWORDS(const QString &text) { CKEYWORDS = text; }
    void SETCREATOR(const QString &text) { CCREATOR = text; }

    [[noreturn]] void ERROR(const QString &message);

    // Fonts.
    void SETFONT(const QString &family, const QString &style = {}, double size = 0);
    void SETFONTSIZE(double size);
    double GETSTRINGWIDTH(const QString &text);

    // Text.
    void CELL(double width, double height = 0, const QString &text = {}, int frame = 0,
              int lineBreak = 0, const QString &align = {}, int fill = 0);
    void MULTICELL(double width, double height, const QString &text, int frame = 0,
                   const QString &align = {}, int fill = 0);
    void DRAWTEXT(double x, double y, const QString &text);

    // Lines, rectangles and colours; a grey is (level, -1) or (0, 0, 0).
    void SETDRAWCOLOR(int red, int green = 0, int blue = 0);
    void SETFILLCOLOR(int red, int green = 0, int blue = 0);
    void SETTEXTCOLOR(int red, int green = 0, int blue = 0);
    void SETLINEWIDTH(double width);
    void LINE(double x1, double y1, double x2, double y2);
    void RECT(double x, double y, double width, double height, const QString &style = {});

    // Pictures: JPEG or PNG, the type taken from the file name when not given.
    void IMAGE(const QString &fileName, float x, float y, float width, float height = 0,
               const QString &type = {});

    // The document bytes written so far (the whole file once it is closed).
    QByteArray documentBytes() const;

protected:
    struct KnownFont
    {
        QString key; // capitals
        QString baseName;
    };
    struct UsedFont
    {
        QString baseName;
        int number = 0;
        std::unique_ptr<FontWidthTable> widths;
    };
    struct ImageEntry
    {
        QString key;
        int width = 0;
        int height = 0;
        QString colorSpace;
        int bitsPerComponent = 0;
        QString filter;
        QByteArray data;
        int number = 0;
        QByteArray decodeParms;
        QByteArray palette;
        QByteArray transparency;
    };

    // File assembly.
    void OUT_(const QByteArray &text);
    void BUFOUT_(const QByteArray &text);
    void NEWOBJ_();
    void BEGINDOC_();
    void ENDDOC_();
    void BEGINPAGE_();
    void ENDPAGE_();
    void CLEANUP_();
    static QByteArray ESCAPE_(const QByteArray &text);

    // Fonts.
    void ADDFONT_(const QString &key, const QString &baseName);
    int FINDFONT_(const QString &key) const;
    int FONTINDEX_(const QString &baseName, bool *isNew);
    void LOADFONTTABLE_(int usedFont, const QString &family, const QString &style);
    bool SETFONT_(const QString &family, const QString &style, double size);
    void SETFONTSIZE_(double size);
    double GETSTRINGWIDTH_(const QByteArray &text, const FontWidthTable *widths) const;
    const FontWidthTable *currentWidths() const;
    void writeFontSelection(int usedFont);

    // Text.
    void cellBytes(double width, double height, const QByteArray &text, int frame, int lineBreak,
                   const QString &align, int fill);
    void MULTICELL_(double width, double height, const QByteArray &text, int frame,
                    const QString &align, int fill, const FontWidthTable &widths);

    // Pictures.
    int FINDIMAGE_(const QString &key) const;
    void PARSEJPG_(const QString &fileName, int image);
    void PARSEPNG_(const QString &fileName, int image);
    quint32 FREADINT_(QFile &file);

    QByteArray colorOperator(int red, int green, int blue, bool stroke) const;
    static QByteArray encode(const QString &text);

    // Document state; the names are those of the writer's format description.
    int NPAGE = 0;
    int NOBJECT = 1;
    quint32 NSTREAMSTART = 0;
    std::vector<quint32> AOFFSETS;
    std::vector<QByteArray> ACHUNKS;
    quint32 NBUFLEN = 0;
    QString CFONTPATH;
    QString CIMAGEPATH;
    double NWPT = 595.3;
    double NHPT = 841.9;
    double NW = 0;
    double NH = 0;
    double NLMARGIN = 0;
    double NTMARGIN = 0;
    double NCMARGIN = 0;
    double NX = 0;
    double NY = 0;
    double NLASTH = 0;
    double NK = 1;
    double NLINEWIDTH = 0;
    QList<KnownFont> AKNOWNFONTS;
    std::vector<UsedFont> AUSEDFONTS;
    QList<ImageEntry> AIMAGES;
    QString CFONTFAMILY;
    QString CFONTSTYLE;
    double NFONTSIZEPT = 12;
    double NFONTSIZE = 0;
    QByteArray CDRAWCOLOR = "0 G";
    QByteArray CFILLCOLOR = "0 g";
    QByteArray CTEXTCOLOR = "0 g";
    bool LCOLORFLAG = false;
    double NWS = 0;
    bool LAUTOPAGEBREAK = true;
    double NPAGEBREAKTRIGGER = 0;
    bool LINFOOTER = false;
    bool LOPEN = false;
    QString CZOOMMODE;
    QString CTITLE;
    QString CSUBJECT;
    QString CAUTHOR;
    QString CKEYWORDS;
    QString CCREATOR;

    static constexpr qsizetype kChunkSize = 65520;
    static constexpr int kMaxChunks = 1024;
    static constexpr int kMaxObjects = 8192;
};

} // namespace vexo
