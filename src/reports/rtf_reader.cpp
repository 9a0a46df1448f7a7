#include "reports/rtf_reader.h"

#include "platform/cp1254_codec.h"
#include "reports/rich_text_units.h"

#include <QColor>
#include <QHash>
#include <QList>
#include <QSet>
#include <QTextCursor>
#include <QTextDocument>

namespace vexo {

namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QChar decodeByte(unsigned char byte, int codepage)
{
    if (codepage == 1252) {
        if (byte >= 0x80 && byte < 0xA0)
            return QChar(kCp1252High[byte - 0x80]);
        return QChar(byte);
    }
    // The program's own code page serves every other one: the ASCII half is shared by all.
    return Cp1254Codec::toUnicode(byte);
}

int codepageOfCharset(int charset, int documentCodepage)
{
    switch (charset) {
    case 0:
        return 1252;
    case 162:
        return 1254;
    default:
        return documentCodepage;
    }
}

// Groups whose content is never text of the document.
const QSet<QByteArray> &skippedDestinations()
{
    static const QSet<QByteArray> names = {
        "stylesheet", "info",     "pict",      "object",    "header",    "headerl",    "headerr",
        "headerf",    "footer",   "footerl",   "footerr",   "footerf",   "footnote",   "annotation",
        "fldinst",    "nonshppict", "shp",     "xe",        "tc",        "bkmkstart",  "bkmkend",
        "filetbl",    "revtbl",   "listtable", "listoverridetable",      "rsidtbl",    "generator",
        "themedata",  "colorschememapping",    "latentstyles",           "datastore",  "xmlnstbl",
        "userprops",  "docvar",   "template",  "pgdsctbl", "atnid",      "atnauthor",  "objdata",
        "ftnsep",     "ftnsepc",  "ftncn",     "aftnsep",  "aftnsepc",   "aftncn",     "private",
    };
    return names;
}

enum class Destination { Text, FontTable, ColourTable, Skip };

struct CharState
{
    int font = -1;
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int colour = 0;
    int unicodeSkip = 1;
};

struct ParaState
{
    Qt::Alignment alignment = Qt::AlignLeft;
    int left = 0;
    int right = 0;
    int first = 0;
};

struct GroupState
{
    CharState chars;
    ParaState para;
    Destination destination = Destination::Text;
};

struct FontEntry
{
    QString name;
    int charset = -1;
};

class RtfReader
{
public:
    RtfReader(const QByteArray &bytes, QTextDocument *document)
        : m_in(bytes)
        , m_cursor(document)
    {
    }

    void run();

private:
    void controlWord(const QByteArray &word, bool hasParam, int param);
    void controlSymbol(char symbol);
    void text(QChar ch);
    void byte(unsigned char b);
    void flush();
    void endParagraph();
    void resetChars();
    QTextCharFormat charFormat() const;
    QTextBlockFormat blockFormat() const;
    int codepage() const;

    GroupState &state() { return m_stack.last(); }
    const GroupState &state() const { return m_stack.last(); }

    const QByteArray &m_in;
    qsizetype m_pos = 0;
    QTextCursor m_cursor;
    QList<GroupState> m_stack;
    QString m_pending;
    CharState m_pendingChars;
    bool m_havePending = false;
    int m_toSkip = 0;
    bool m_ignorableNext = false;

    int m_documentCodepage = 1252;
    int m_defaultFont = 0;
    QHash<int, FontEntry> m_fonts;
    int m_fontNumber = 0;
    QList<QColor> m_colours;
    int m_red = 0, m_green = 0, m_blue = 0;
    bool m_colourSet = false;
};

void RtfReader::run()
{
    m_stack.append(GroupState{});
    constexpr int kMaxDepth = 4096;
    while (m_pos < m_in.size()) {
        const char c = m_in.at(m_pos++);
        if (c == '{') {
            if (m_stack.size() >= kMaxDepth)
                continue;
            m_stack.append(state());
            m_ignorableNext = false;
        } else if (c == '}') {
            if (state().destination == Destination::FontTable && !m_fonts.contains(m_fontNumber))
                m_fonts.insert(m_fontNumber, FontEntry{});
            if (m_stack.size() > 1)
                m_stack.removeLast();
        } else if (c == '\\') {
            if (m_pos >= m_in.size())
                break;
            const char next = m_in.at(m_pos);
            if ((next >= 'a' && next <= 'z') || (next >= 'A' && next <= 'Z')) {
                const qsizetype start = m_pos;
                while (m_pos < m_in.size() && ((m_in.at(m_pos) >= 'a' && m_in.at(m_pos) <= 'z')
                                               || (m_in.at(m_pos) >= 'A' && m_in.at(m_pos) <= 'Z')))
                    ++m_pos;
                const QByteArray word = m_in.mid(start, m_pos - start);
                bool hasParam = false;
                bool negative = false;
                qint64 param = 0;
                if (m_pos < m_in.size() && m_in.at(m_pos) == '-') {
                    negative = true;
                    ++m_pos;
                }
                while (m_pos < m_in.size() && m_in.at(m_pos) >= '0' && m_in.at(m_pos) <= '9') {
                    hasParam = true;
                    if (param < 100000000)
                        param = param * 10 + (m_in.at(m_pos) - '0');
                    ++m_pos;
                }
                if (m_pos < m_in.size() && m_in.at(m_pos) == ' ')
                    ++m_pos;
                controlWord(word, hasParam, int(negative ? -param : param));
            } else {
                ++m_pos;
                controlSymbol(next);
            }
        } else if (c == '\r' || c == '\n') {
            // Line ends in the file carry no meaning.
        } else {
            byte(static_cast<unsigned char>(c));
        }
    }
    flush();
    m_cursor.setBlockFormat(blockFormat());
}

void RtfReader::controlSymbol(char symbol)
{
    switch (symbol) {
    case '\'': {
        if (m_pos + 2 > m_in.size()) {
            m_pos = m_in.size();
            return;
        }
        bool ok = false;
        const int value = m_in.mid(m_pos, 2).toInt(&ok, 16);
        m_pos += 2;
        if (!ok)
            return;
        if (m_toSkip > 0) {
            --m_toSkip;
            return;
        }
        if (state().destination == Destination::Text)
            text(decodeByte(static_cast<unsigned char>(value), codepage()));
        else if (state().destination == Destination::FontTable)
            m_fonts[m_fontNumber].name += decodeByte(static_cast<unsigned char>(value), codepage());
        return;
    }
    case '*':
        m_ignorableNext = true;
        return;
    case '~':
        text(QChar::Nbsp);
        return;
    case '_':
        text(u'-');
        return;
    case '-':
        return;
    case '\\':
    case '{':
    case '}':
        byte(static_cast<unsigned char>(symbol));
        return;
    case '\r':
    case '\n':
        if (state().destination == Destination::Text)
            endParagraph();
        return;
    case '\t':
        text(u'\t');
        return;
    default:
        return;
    }
}

void RtfReader::controlWord(const QByteArray &word, bool hasParam, int param)
{
    const bool ignorable = m_ignorableNext;
    m_ignorableNext = false;
    GroupState &s = state();

    if (word == "bin") {
        // Binary data: its bytes are skipped whole.
        m_pos = qMin<qsizetype>(m_in.size(), m_pos + qMax(0, param));
        return;
    }
    if (word == "fonttbl") {
        s.destination = Destination::FontTable;
        return;
    }
    if (word == "colortbl") {
        s.destination = Destination::ColourTable;
        return;
    }
    if (skippedDestinations().contains(word)) {
        s.destination = Destination::Skip;
        return;
    }
    if (s.destination == Destination::Skip)
        return;

    if (s.destination == Destination::FontTable) {
        if (word == "f") {
            m_fontNumber = param;
            m_fonts.insert(param, FontEntry{});
        } else if (word == "fcharset") {
            m_fonts[m_fontNumber].charset = param;
        } else if (ignorable) {
            s.destination = Destination::Skip;
        }
        return;
    }
    if (s.destination == Destination::ColourTable) {
        if (word == "red")
            m_red = param, m_colourSet = true;
        else if (word == "green")
            m_green = param, m_colourSet = true;
        else if (word == "blue")
            m_blue = param, m_colourSet = true;
        return;
    }

    CharState &ch = s.chars;
    ParaState &para = s.para;
    const bool on = !hasParam || param != 0;
    if (word == "ansicpg") {
        m_documentCodepage = param;
    } else if (word == "ansi") {
        m_documentCodepage = 1252;
    } else if (word == "deff") {
        m_defaultFont = param;
        ch.font = param;
    } else if (word == "par" || word == "sect" || word == "row") {
        endParagraph();
    } else if (word == "line") {
        text(QChar::LineSeparator);
    } else if (word == "page") {
        text(u'\f');
    } else if (word == "tab" || word == "cell") {
        text(u'\t');
    } else if (word == "emdash") {
        text(QChar(0x2014));
    } else if (word == "endash") {
        text(QChar(0x2013));
    } else if (word == "bullet") {
        text(QChar(0x2022));
    } else if (word == "lquote") {
        text(QChar(0x2018));
    } else if (word == "rquote") {
        text(QChar(0x2019));
    } else if (word == "ldblquote") {
        text(QChar(0x201C));
    } else if (word == "rdblquote") {
        text(QChar(0x201D));
    } else if (word == "u") {
        text(QChar(char16_t(param < 0 ? param + 65536 : param)));
        m_toSkip = ch.unicodeSkip;
    } else if (word == "uc") {
        ch.unicodeSkip = qMax(0, param);
    } else if (word == "plain") {
        resetChars();
    } else if (word == "f") {
        ch.font = param;
    } else if (word == "fs") {
        ch.halfPoints = hasParam && param > 0 ? param : 24;
    } else if (word == "b") {
        ch.bold = on;
    } else if (word == "i") {
        ch.italic = on;
    } else if (word == "ul" || word == "uld" || word == "uldb" || word == "ulw" || word == "uldash"
               || word == "ulth") {
        ch.underline = on;
    } else if (word == "ulnone") {
        ch.underline = false;
    } else if (word == "cf") {
        ch.colour = param;
    } else if (word == "pard") {
        para = ParaState{};
    } else if (word == "ql") {
        para.alignment = Qt::AlignLeft;
    } else if (word == "qr") {
        para.alignment = Qt::AlignRight;
    } else if (word == "qc") {
        para.alignment = Qt::AlignHCenter;
    } else if (word == "qj") {
        para.alignment = Qt::AlignJustify;
    } else if (word == "li") {
        para.left = param;
    } else if (word == "ri") {
        para.right = param;
    } else if (word == "fi") {
        para.first = param;
    } else if (ignorable) {
        // An ignorable destination this reader does not know.
        s.destination = Destination::Skip;
    }
}

void RtfReader::byte(unsigned char b)
{
    GroupState &s = state();
    if (s.destination == Destination::Skip)
        return;
    if (s.destination == Destination::FontTable) {
        if (b == ';') {
            m_fonts[m_fontNumber].name = m_fonts[m_fontNumber].name.trimmed();
            return;
        }
        m_fonts[m_fontNumber].name += decodeByte(b, codepage());
        return;
    }
    if (s.destination == Destination::ColourTable) {
        if (b == ';') {
            m_colours.append(m_colourSet ? QColor(m_red, m_green, m_blue) : QColor());
            m_red = m_green = m_blue = 0;
            m_colourSet = false;
        }
        return;
    }
    if (m_toSkip > 0) {
        --m_toSkip;
        return;
    }
    text(decodeByte(b, codepage()));
}

void RtfReader::text(QChar ch)
{
    if (state().destination != Destination::Text)
        return;
    const CharState &now = state().chars;
    if (m_havePending
        && (now.font != m_pendingChars.font || now.halfPoints != m_pendingChars.halfPoints
            || now.bold != m_pendingChars.bold || now.italic != m_pendingChars.italic
            || now.underline != m_pendingChars.underline || now.colour != m_pendingChars.colour))
        flush();
    if (!m_havePending) {
        m_pendingChars = now;
        m_havePending = true;
    }
    m_pending += ch;
}

void RtfReader::flush()
{
    if (!m_havePending)
        return;
    const CharState saved = state().chars;
    state().chars = m_pendingChars;
    const QTextCharFormat format = charFormat();
    state().chars = saved;
    m_cursor.insertText(m_pending, format);
    m_pending.clear();
    m_havePending = false;
}

void RtfReader::endParagraph()
{
    flush();
    m_cursor.setBlockFormat(blockFormat());
    // The paragraph mark keeps the character format in force, so an empty line keeps its size.
    m_cursor.insertBlock(blockFormat(), charFormat());
}

void RtfReader::resetChars()
{
    CharState &ch = state().chars;
    const int skip = ch.unicodeSkip;
    ch = CharState{};
    ch.font = m_defaultFont;
    ch.unicodeSkip = skip;
}

int RtfReader::codepage() const
{
    const int font = state().chars.font < 0 ? m_defaultFont : state().chars.font;
    const auto it = m_fonts.constFind(font);
    if (it == m_fonts.constEnd())
        return m_documentCodepage;
    return codepageOfCharset(it->charset, m_documentCodepage);
}

QTextCharFormat RtfReader::charFormat() const
{
    const CharState &ch = state().chars;
    QTextCharFormat format;
    const int font = ch.font < 0 ? m_defaultFont : ch.font;
    const auto it = m_fonts.constFind(font);
    if (it != m_fonts.constEnd() && !it->name.isEmpty())
        format.setFontFamilies({it->name});
    format.setFontPointSize(ch.halfPoints / 2.0);
    format.setFontWeight(ch.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(ch.italic);
    format.setFontUnderline(ch.underline);
    if (ch.colour > 0 && ch.colour < m_colours.size() && m_colours.at(ch.colour).isValid())
        format.setForeground(m_colours.at(ch.colour));
    return format;
}

QTextBlockFormat RtfReader::blockFormat() const
{
    const ParaState &para = state().para;
    QTextBlockFormat format;
    format.setAlignment(para.alignment);
    format.setLeftMargin(twipsToPixels(para.left));
    format.setRightMargin(twipsToPixels(para.right));
    format.setTextIndent(twipsToPixels(para.first));
    return format;
}

} // namespace

bool isRtf(const QByteArray &bytes)
{
    qsizetype i = 0;
    while (i < bytes.size() && (bytes.at(i) == ' ' || bytes.at(i) == '\t' || bytes.at(i) == '\r'
                                || bytes.at(i) == '\n'))
        ++i;
    return bytes.mid(i, 5) == "{\\rtf";
}

bool readRtf(const QByteArray &bytes, QTextDocument *document)
{
    document->clear();
    if (!isRtf(bytes))
        return false;
    document->setUndoRedoEnabled(false);
    RtfReader(bytes, document).run();
    document->setUndoRedoEnabled(true);
    return true;
}

} // namespace vexo
