// Our rich-text reader and writer: round trips, what word processors write, and an independent reader.
#include "pdf_test_support.h"

#include "reports/pad_document.h"
#include "reports/rich_text_units.h"
#include "reports/rtf_reader.h"
#include "reports/rtf_writer.h"
#include "source_tree.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>

using namespace vexo;
using namespace vexo::test;

namespace {

const QString kTurkish = QStringLiteral("Çiğ ÖĞÜŞİ ışık üzüm çörek");

// One run of text: what the tests compare of a fragment.
struct Run
{
    QString text;
    QString family;
    double points = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    QColor colour;
    bool operator==(const Run &) const = default;
};

struct Paragraph
{
    Qt::Alignment alignment = Qt::AlignLeft;
    int leftTwips = 0;
    int rightTwips = 0;
    QList<Run> runs;
    bool operator==(const Paragraph &) const = default;
};

void PrintTo(const Paragraph &p, std::ostream *os)
{
    *os << "align " << int(p.alignment) << " li " << p.leftTwips << " ri " << p.rightTwips;
    for (const Run &r : p.runs)
        *os << " [" << r.text.toStdString() << "|" << r.family.toStdString() << "|" << r.points << "|"
            << r.bold << r.italic << r.underline << "|" << r.colour.name().toStdString() << "]";
}

QList<Paragraph> paragraphs(const QTextDocument &document)
{
    QList<Paragraph> out;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        Paragraph p;
        p.alignment = block.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
        p.leftTwips = pixelsToTwips(block.blockFormat().leftMargin());
        p.rightTwips = pixelsToTwips(block.blockFormat().rightMargin());
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            const QFont font = f.font().resolve(document.defaultFont());
            Run r{it.fragment().text(), font.family(),
                  font.pointSizeF() > 0 ? font.pointSizeF() : pixelsToPoints(font.pixelSize()),
                  font.bold(), font.italic(), font.underline(),
                  f.hasProperty(QTextFormat::ForegroundBrush) ? f.foreground().color() : QColor()};
            // Runs of one format read back as one run.
            if (!p.runs.isEmpty()) {
                Run &last = p.runs.last();
                Run joined = last;
                joined.text = r.text;
                if (joined == r) {
                    last.text += r.text;
                    continue;
                }
            }
            p.runs.append(r);
        }
        out.append(p);
    }
    return out;
}

QTextCharFormat runFormat(const QString &family, double points, bool bold = false, bool italic = false,
                          bool underline = false, const QColor &colour = QColor())
{
    QTextCharFormat f;
    f.setFontFamilies({family});
    f.setFontPointSize(points);
    f.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(italic);
    f.setFontUnderline(underline);
    if (colour.isValid())
        f.setForeground(colour);
    return f;
}

// A document with every property the pad keeps in rich text.
void buildRichDocument(QTextDocument &doc)
{
    QFont base(QStringLiteral("Courier New"));
    base.setPixelSize(14);
    doc.setDefaultFont(base);
    QTextCursor c(&doc);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    c.setBlockFormat(centred);
    c.insertText(QStringLiteral("Başlık: "), runFormat(QStringLiteral("Arial"), 14, true));
    c.insertText(kTurkish, runFormat(QStringLiteral("Arial"), 14, true, true));

    QTextBlockFormat right;
    right.setAlignment(Qt::AlignRight);
    right.setLeftMargin(twipsToPixels(1440));
    right.setRightMargin(twipsToPixels(4320));
    c.insertBlock(right);
    c.insertText(QStringLiteral("altı çizili {küme} \\ ters"), runFormat(QStringLiteral("Times New Roman"), 11, false, false, true));
    c.insertText(QStringLiteral(" kırmızı"), runFormat(QStringLiteral("Times New Roman"), 11, false, false, false, Qt::red));

    QTextBlockFormat left;
    left.setAlignment(Qt::AlignLeft);
    c.insertBlock(left);
    c.insertText(QStringLiteral("Sütun\tsütun\fyeni sayfa € ‰"));
    c.insertBlock(left);
    c.insertBlock(left);
    c.insertText(QStringLiteral("son satır"));
}

// The text of unrtf's HTML, its character references resolved, blanks collapsed.
QString htmlText(const QString &html)
{
    QTextDocument doc;
    doc.setHtml(html);
    return doc.toPlainText().simplified();
}

} // namespace

TEST(Rtf, RoundTripKeepsParagraphsRunsAndTurkishLetters)
{
    QTextDocument original;
    buildRichDocument(original);
    const QByteArray rtf = writeRtf(original);
    ASSERT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1254")) << rtf.constData();
    // Turkish letters travel as code-page bytes, characters outside it as Unicode escapes.
    EXPECT_TRUE(rtf.contains("\\'fe")) << "ş";
    EXPECT_TRUE(rtf.contains("\\'dd")) << "İ";
    EXPECT_TRUE(rtf.contains("\\page"));
    EXPECT_TRUE(rtf.contains("\\tab"));

    // The pad reads into a document whose default is the pad's font, as the original's.
    QTextDocument back;
    back.setDefaultFont(original.defaultFont());
    ASSERT_TRUE(readRtf(rtf, &back));
    const QList<Paragraph> expected = paragraphs(original);
    const QList<Paragraph> actual = paragraphs(back);
    ASSERT_EQ(actual.size(), expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i)
        EXPECT_EQ(actual.at(i), expected.at(i)) << "paragraph " << i;
    EXPECT_EQ(padPlainText(back), padPlainText(original));
    // A second round is byte-identical: nothing drifts.
    EXPECT_EQ(writeRtf(back).toStdString(), rtf.toStdString());
}

TEST(Rtf, IndependentReaderGetsOurTextBack)
{
    QTemporaryDir dir;
    QTextDocument doc;
    buildRichDocument(doc);
    const QString path = dir.filePath(QStringLiteral("round.rtf"));
    ASSERT_TRUE(writeBytes(path, writeRtf(doc)));
    // unrtf's plain-text output knows no Turkish code page; its HTML names every letter.
    const ToolResult r = runTool(QStringLiteral("unrtf"), {QStringLiteral("--html"), path});
    ASSERT_TRUE(r.found) << "unrtf is not installed (tools/deps.sh installs it)";
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    const QString text = htmlText(QString::fromUtf8(r.out));
    for (const QString &expected : {QStringLiteral("Başlık:"), kTurkish, QStringLiteral("altı çizili {küme} \\ ters"),
                                    QStringLiteral("kırmızı"), QStringLiteral("son satır")})
        EXPECT_TRUE(text.contains(expected)) << expected.toStdString() << "\n" << text.toStdString();
}

TEST(Rtf, WordProcessorDocumentsOpenWithTextAndFormatting)
{
    // A document in the form word processors write: generator, style sheet, theme and list tables,
    // fonts with character sets, \uN with fallbacks, fields and a picture.
    QTextDocument doc;
    ASSERT_TRUE(loadPadFile(sourceTree() + QStringLiteral("/tests/reports/fixtures/word_processor.rtf"), &doc));
    const QList<Paragraph> p = paragraphs(doc);
    ASSERT_GE(p.size(), 5);
    EXPECT_EQ(p[0].alignment, Qt::AlignHCenter);
    ASSERT_EQ(p[0].runs.size(), 1);
    EXPECT_EQ(p[0].runs[0].text, QStringLiteral("Yem Formülü Raporu"));
    EXPECT_TRUE(p[0].runs[0].bold);
    EXPECT_EQ(p[0].runs[0].points, 16);
    EXPECT_EQ(p[0].runs[0].family, QStringLiteral("Arial"));

    EXPECT_EQ(p[1].leftTwips, 720);
    ASSERT_EQ(p[1].runs.size(), 3);
    EXPECT_EQ(p[1].runs[0].text, QStringLiteral("Şeker pancarı küspesi "));
    EXPECT_EQ(p[1].runs[1].text, QStringLiteral("italik"));
    EXPECT_TRUE(p[1].runs[1].italic);
    EXPECT_EQ(p[1].runs[2].text, QStringLiteral(" ve altı çizili ğ"));
    EXPECT_TRUE(p[1].runs[2].underline);
    EXPECT_EQ(p[1].runs[2].colour, QColor(0, 0, 192));

    // Unicode escapes skip their fallback; a field shows its result; the picture is gone.
    EXPECT_EQ(p[2].runs.value(0).text, QStringLiteral("İşçi ücreti: 12 € — bağlantı"));
    EXPECT_EQ(p[3].alignment, Qt::AlignRight);
    EXPECT_EQ(p[3].runs.value(0).text, QStringLiteral("Sayfa sonu"));
    // A Western font's bytes are read in its own code page.
    EXPECT_EQ(p[4].runs.value(0).text, QStringLiteral("Ørsted œuvre þ"));
    EXPECT_FALSE(padPlainText(doc).contains(QStringLiteral("Normal")));
    EXPECT_FALSE(padPlainText(doc).contains(QStringLiteral("89504e47")));
}

TEST(Rtf, ControlsAndMalformedInput)
{
    struct Case
    {
        const char *name;
        QByteArray rtf;
        QString text;
    };
    const QList<Case> cases = {
        {"escaped braces and backslash", "{\\rtf1 a\\{b\\}c\\\\d}", QStringLiteral("a{b}c\\d")},
        {"hex in the document's code page", "{\\rtf1\\ansi\\ansicpg1254 \\'fe\\'dd\\'f0}", QStringLiteral("şİğ")},
        {"plain ansi is Western", "{\\rtf1\\ansi \\'fe\\'80}", QStringLiteral("þ€")},
        {"unknown ignorable group", "{\\rtf1 a{\\*\\unknownthing secret}b}", QStringLiteral("ab")},
        {"binary data", "{\\rtf1 a{\\*\\blob\\bin4 }}}}}b}", QStringLiteral("ab")},
        {"unicode with two fallbacks", "{\\rtf1\\uc2 \\u351ssb}", QStringLiteral("şb")},
        {"negative unicode", "{\\rtf1 \\u-3936?}", QString(QChar(0xF0A0))},
        {"line, tab, page, no-break space", "{\\rtf1 a\\line b\\tab c\\page d\\~e}",
         QStringLiteral("a\nb\tc\fd") + QChar::Nbsp + u'e'},
        {"table cells and rows", "{\\rtf1 \\trowd a\\cell b\\cell\\row c}", QStringLiteral("a\tb\t\nc")},
        {"unbalanced close", "{\\rtf1 a}}}b", QStringLiteral("ab")},
        {"unclosed groups", "{\\rtf1 a{\\b b{\\i c", QStringLiteral("abc")},
        {"cut inside an escape", "{\\rtf1 a\\'f", QStringLiteral("a")},
        {"line ends are not text", "{\\rtf1 a\r\nb\\par\r\nc}", QStringLiteral("ab\nc")},
    };
    for (const Case &c : cases) {
        QTextDocument doc;
        ASSERT_TRUE(readRtf(c.rtf, &doc)) << c.name;
        EXPECT_EQ(padPlainText(doc), c.text) << c.name;
    }
    // Deep nesting stays within bounds.
    QTextDocument deep;
    EXPECT_TRUE(readRtf("{\\rtf1 " + QByteArray(100000, '{') + "x", &deep));
    EXPECT_EQ(padPlainText(deep), QStringLiteral("x"));
}

TEST(Rtf, PlainTextNamedRtfOpensAsPlainText)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("DUZ.RTF"));
    const QByteArray bytes = "  {not rich} \\par \xfe\r\nikinci\r\n";
    ASSERT_TRUE(writeBytes(path, bytes));
    EXPECT_FALSE(isRtf(bytes));
    QTextDocument doc;
    QTextDocument probe;
    EXPECT_FALSE(readRtf(bytes, &probe));
    ASSERT_TRUE(loadPadFile(path, &doc));
    EXPECT_EQ(padPlainText(doc), QStringLiteral("  {not rich} \\par ş\nikinci\n"));
    EXPECT_TRUE(isRtf(" \r\n{\\rtf1}"));
}
