// The report pad's rules that need no window: names, save names, margins, limits, the page edge.
#include "reports/pad_document.h"
#include "reports/pad_font.h"
#include "reports/pad_rules.h"

#include <QFontInfo>
#include <QFontMetricsF>

#include <gtest/gtest.h>

using namespace vexo;

TEST(PadRules, TypingStopsAtTheLimitAndNeverCutsWhatIsThere)
{
    struct Case
    {
        int length, selected, incoming, limit, expected;
    };
    const Case cases[] = {
        {0, 0, 5, 10, 5},       // room enough
        {8, 0, 5, 10, 2},       // cut to the room left
        {10, 0, 1, 10, 0},      // full
        {10, 3, 5, 10, 3},      // a selection being replaced makes room
        {70000, 0, 1, 65536, 0}, // an opened document above the limit takes nothing more
        {70000, 3000, 10, 65536, 0},
        {70000, 5000, 10, 65536, 10}, // replacing enough of it makes room
        {65535, 0, 1, 65536, 1},
        {0, 0, 0, 10, 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(insertableLength(c.length, c.selected, c.incoming, c.limit), c.expected)
            << c.length << " " << c.selected << " " << c.incoming;
    EXPECT_EQ(kPadTextLimit, 65536);
}

TEST(PadRules, DocumentNames)
{
    EXPECT_EQ(untitledName(1), QStringLiteral("Adsız1"));
    EXPECT_EQ(untitledName(10), QStringLiteral("Adsız10"));
    EXPECT_EQ(untitledName(100), QStringLiteral("Adsız100"));
    EXPECT_TRUE(isUntitledName(QStringLiteral("Adsız7")));
    EXPECT_FALSE(isUntitledName(QStringLiteral("Adsiz7")));

    struct Case
    {
        const char *path;
        bool document;
    };
    const Case cases[] = {
        {"/d/RAPOR.TXT", true}, {"/d/rapor.txt", true}, {"x.Rtf", true}, {"/d/RAPOR.PDF", false},
        {"/d/RAPORTXT", false}, {".TXT", true},         {"TXT", false},  {"", false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(isPadDocumentName(QString::fromUtf8(c.path)), c.document) << c.path;
    EXPECT_TRUE(isPadCaption(QStringLiteral("Adsız3")));
    EXPECT_TRUE(isPadCaption(QStringLiteral("a.rtf")));
    EXPECT_FALSE(isPadCaption(QStringLiteral("DataWindow Caption")));
    EXPECT_TRUE(isRichName(QStringLiteral("/d/a.rtf")));
    EXPECT_FALSE(isRichName(QStringLiteral("/d/a.txt")));
}

TEST(PadRules, SaveNamesTakeTheChosenFilterWhenTheyHaveNoExtension)
{
    EXPECT_EQ(padSaveFilters(), QStringList({QStringLiteral("*.TXT"), QStringLiteral("*.RTF")}));
    struct Case
    {
        const char *chosen;
        int filter;
        const char *expected;
    };
    const Case cases[] = {
        {"/d/rapor", 1, "/d/rapor.TXT"},   {"/d/rapor", 2, "/d/rapor.RTF"},
        {"/d/rapor.rtf", 1, "/d/rapor.rtf"}, {"/d/rapor.txt", 2, "/d/rapor.txt"},
        {"/d/rapor.md", 2, "/d/rapor.md.RTF"}, {"/d/rapor", 0, "/d/rapor.TXT"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(completeSaveName(QString::fromUtf8(c.chosen), c.filter), QString::fromUtf8(c.expected)) << c.chosen;
}

TEST(PadRules, MarginsInTwips)
{
    // The dialog stores each field in twips; the indents take whole inches, the right field counting
    // from the left edge of the 10-inch page.
    struct Case
    {
        const char *left, *right;
        int storedLeft, storedRight, indentLeft, indentRight;
    };
    const Case cases[] = {
        {"0", "7", 0, 10080, 0, 4320},      {"1", "7", 1440, 10080, 1440, 4320},
        {"2", "6", 2880, 8640, 2880, 5760}, {"1.5", "8.9", 2160, 12816, 1440, 2880},
        {"abc", "", 0, 0, 0, 14400},        {" 3 cm", "10", 4320, 14400, 4320, 0},
    };
    for (const Case &c : cases) {
        const QString left = QString::fromUtf8(c.left);
        const QString right = QString::fromUtf8(c.right);
        EXPECT_EQ(marginFieldTwips(left), c.storedLeft) << c.left;
        EXPECT_EQ(marginFieldTwips(right), c.storedRight) << c.right;
        const PadIndents indents = marginIndents(left, right);
        EXPECT_EQ(indents.left, c.indentLeft) << c.left;
        EXPECT_EQ(indents.right, c.indentRight) << c.right;
    }
}

TEST(PadRules, PageEdgeAndLineWidthFollowTheScreenNotTheWindow)
{
    EXPECT_EQ(padLineWidth(96), 960);
    EXPECT_EQ(rulerPageEdge(96), 1134);
    EXPECT_EQ(padLineWidth(120), 1200);
    EXPECT_EQ(rulerPageEdge(120), 1417);
}

TEST(PadFont, CreateFontIsCourierNewInAFourteenPixelCell)
{
    const MYFONT font = CREATEFONT(14, 14);
    EXPECT_EQ(font.height(), -14);
    EXPECT_EQ(font.width(), 14);
    EXPECT_EQ(font.weight(), 400);
    EXPECT_EQ(font.charset(), 162);
    EXPECT_EQ(font.pitchAndFamily(), 0x31);
    EXPECT_EQ(font.escapement(), 0);
    EXPECT_EQ(font.orientation(), 0);
    EXPECT_EQ(font.faceName(), QStringLiteral("Courier New"));

    // The face is Courier New or its metric twin, installed by tools/deps.sh.
    const QFont cell = font.font();
    const QString family = QFontInfo(cell).family();
    EXPECT_TRUE(family == QStringLiteral("Courier New") || family == QStringLiteral("Liberation Mono")) << family.toStdString();
    EXPECT_EQ(cell.pixelSize(), 14);
    EXPECT_NEAR(QFontMetricsF(cell).averageCharWidth(), 14.0, 0.75);
    EXPECT_EQ(cell.weight(), QFont::Normal);
    // The control keeps the face's own width: 100 report columns stay inside the 10-inch line.
    const QFont control = font.controlFont();
    EXPECT_EQ(control.pixelSize(), 14);
    EXPECT_LT(QFontMetricsF(control).horizontalAdvance(QString(100, u'M')), 960.0);
}
