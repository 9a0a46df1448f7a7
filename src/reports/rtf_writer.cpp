#include "reports/rtf_writer.h"

#include "platform/cp1254_codec.h"
#include "reports/rich_text_units.h"

#include <QColor>
#include <QFont>
#include <QStringList>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>

namespace vexo {

namespace {

struct RunFormat
{
    int font = 0;
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int colour = 0;
};

class RtfWriter
{
public:
    explicit RtfWriter(const QTextDocument &document)
        : m_document(document)
    {
    }

    QByteArray run();

private:
    RunFormat runFormat(const QTextCharFormat &format);
    void switchTo(const RunFormat &next);
    void paragraphStart(const QTextBlockFormat &format);
    void appendText(const QString &text);
    void word(const char *name, int value);
    void word(const char *name);

    const QTextDocument &m_document;
    QStringList m_fonts;
    QList<QColor> m_colours;
    QByteArray m_body;
    RunFormat m_current;
    bool m_needDelimiter = false;
};

int halfPointsOf(const QFont &font)
{
    const qreal points = font.pointSizeF() > 0 ? font.pointSizeF() : pixelsToPoints(font.pixelSize());
    return qMax(1, qRound(points * 2));
}

RunFormat RtfWriter::runFormat(const QTextCharFormat &format)
{
    const QFont font = format.font().resolve(m_document.defaultFont());
    RunFormat run;
    const QString family = font.family();
    run.font = int(m_fonts.indexOf(family));
    if (run.font < 0) {
        run.font = int(m_fonts.size());
        m_fonts.append(family);
    }
    run.halfPoints = halfPointsOf(font);
    run.bold = font.weight() >= QFont::DemiBold;
    run.italic = font.italic();
    run.underline = font.underline();
    if (format.hasProperty(QTextFormat::ForegroundBrush) && format.foreground().style() != Qt::NoBrush) {
        const QColor colour = format.foreground().color();
        qsizetype index = m_colours.indexOf(colour);
        if (index < 0) {
            index = m_colours.size();
            m_colours.append(colour);
        }
        run.colour = int(index) + 1;
    }
    return run;
}

void RtfWriter::word(const char *name, int value)
{
    m_body += '\\';
    m_body += name;
    m_body += QByteArray::number(value);
    m_needDelimiter = true;
}

void RtfWriter::word(const char *name)
{
    m_body += '\\';
    m_body += name;
    m_needDelimiter = true;
}

void RtfWriter::switchTo(const RunFormat &next)
{
    if (next.font != m_current.font)
        word("f", next.font);
    if (next.halfPoints != m_current.halfPoints)
        word("fs", next.halfPoints);
    if (next.bold != m_current.bold)
        next.bold ? word("b") : word("b", 0);
    if (next.italic != m_current.italic)
        next.italic ? word("i") : word("i", 0);
    if (next.underline != m_current.underline)
        next.underline ? word("ul") : word("ulnone");
    if (next.colour != m_current.colour)
        word("cf", next.colour);
    m_current = next;
}

void RtfWriter::paragraphStart(const QTextBlockFormat &format)
{
    word("pard");
    const Qt::Alignment alignment = format.alignment() & Qt::AlignHorizontal_Mask;
    if (alignment & Qt::AlignRight)
        word("qr");
    else if (alignment & Qt::AlignHCenter)
        word("qc");
    else if (alignment & Qt::AlignJustify)
        word("qj");
    else
        word("ql");
    const int left = pixelsToTwips(format.leftMargin());
    const int right = pixelsToTwips(format.rightMargin());
    const int first = pixelsToTwips(format.textIndent());
    if (left)
        word("li", left);
    if (right)
        word("ri", right);
    if (first)
        word("fi", first);
}

void RtfWriter::appendText(const QString &text)
{
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u == u'\t') {
            word("tab");
            continue;
        }
        if (u == u'\f') {
            word("page");
            continue;
        }
        if (u == QChar::LineSeparator || u == u'\n') {
            word("line");
            continue;
        }
        if (u == QChar::Nbsp) {
            m_body += "\\~";
            m_needDelimiter = false;
            continue;
        }
        if (u == QChar::ObjectReplacementCharacter || u == u'\r')
            continue;
        if (m_needDelimiter) {
            m_body += ' ';
            m_needDelimiter = false;
        }
        if (u == u'\\' || u == u'{' || u == u'}') {
            m_body += '\\';
            m_body += char(u);
        } else if (u >= 0x20 && u < 0x7F) {
            m_body += char(u);
        } else {
            const int byte = Cp1254Codec::fromUnicode(ch);
            if (byte >= 0) {
                m_body += "\\'";
                m_body += QByteArray::number(byte, 16).rightJustified(2, '0');
            } else {
                m_body += "\\u";
                m_body += QByteArray::number(qint16(u));
                m_body += '?';
            }
        }
    }
}

QByteArray RtfWriter::run()
{
    const RunFormat base = runFormat(QTextCharFormat());
    m_current = base;
    bool first = true;
    for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next()) {
        if (!first) {
            word("par");
            m_body += "\r\n";
            m_needDelimiter = true;
        }
        first = false;
        paragraphStart(block.blockFormat());
        if (block.length() <= 1)
            switchTo(runFormat(block.charFormat()));
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            switchTo(runFormat(fragment.charFormat()));
            appendText(fragment.text());
        }
    }

    QByteArray out = "{\\rtf1\\ansi\\ansicpg1254\\deff0\\deflang1055{\\fonttbl";
    for (qsizetype i = 0; i < m_fonts.size(); ++i) {
        out += "{\\f" + QByteArray::number(i) + "\\fnil\\fcharset162 ";
        const QByteArray name = Cp1254Codec::encode(m_fonts.at(i));
        for (const char c : name) {
            if (c == '\\' || c == '{' || c == '}' || c == ';')
                continue;
            out += c;
        }
        out += ";}";
    }
    out += "}\r\n";
    if (!m_colours.isEmpty()) {
        out += "{\\colortbl ;";
        for (const QColor &c : m_colours)
            out += "\\red" + QByteArray::number(c.red()) + "\\green" + QByteArray::number(c.green())
                + "\\blue" + QByteArray::number(c.blue()) + ';';
        out += "}\r\n";
    }
    out += "\\viewkind4\\uc1\\f0\\fs" + QByteArray::number(base.halfPoints);
    if (base.bold)
        out += "\\b";
    if (base.italic)
        out += "\\i";
    if (base.underline)
        out += "\\ul";
    if (base.colour)
        out += "\\cf" + QByteArray::number(base.colour);
    out += m_body;
    out += "}\r\n";
    return out;
}

} // namespace

QByteArray writeRtf(const QTextDocument &document)
{
    return RtfWriter(document).run();
}

} // namespace vexo
