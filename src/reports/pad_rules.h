#pragma once

#include <QString>
#include <QStringList>

namespace vexo {

// The rules of the report pad and its list that need no window.

// A pad holds at most this many characters typed or pasted; an opened document is never cut.
constexpr int kPadTextLimit = 65536;
// The main window keeps at most this many pads open.
constexpr int kMaxPads = 10;
// The page the pad's lines wrap at: 10 inches.
constexpr int kPadPageTwips = 14400;

// How many of `incoming` characters may go into a text of `length` characters when `selected` of them
// are replaced; never negative, so a document opened above the limit takes no more.
int insertableLength(int length, int selected, int incoming, int limit = kPadTextLimit);

// "Adsız" and the counter (1, 2, ...): the name of a new document.
QString untitledName(int counter);
// A name of a new document: its first five characters are "Adsız".
bool isUntitledName(const QString &name);
// A path longer than three characters whose last four are ".RTF" or ".TXT" in any case.
bool isPadDocumentName(const QString &path);
// A pad's caption names a document of its own: a new one, or one ending in ".TXT" or ".RTF".
bool isPadCaption(const QString &caption);

// The save dialog's filters, in order: plain text first, then rich text.
QStringList padSaveFilters();
// The name chosen in the save dialog, completed with the extension of the chosen filter (counted from
// 1) when it has no three-letter extension of its own.
QString completeSaveName(const QString &chosen, int filterIndex);
// The open dialog's filters: plain text, rich text, every file.
QStringList padOpenFilters();

// Margins as the margin dialog keeps them: each field's number of inches in twips.
int marginFieldTwips(const QString &field);
// The paragraph indents the pad applies from the two fields: the left field's whole inches, and the
// right edge's distance from the 10-inch line end (the right field counts from the left edge).
struct PadIndents
{
    int left = 0;  // twips
    int right = 0; // twips
};
PadIndents marginIndents(const QString &leftField, const QString &rightField);

// The ruler's page edge in pixels for a screen of `dotsPerInch`: the 10-inch page widened by the
// screen factor of the ruler.
int rulerPageEdge(int dotsPerInch);
// The width the pad's lines wrap at, in pixels of a screen of `dotsPerInch`.
int padLineWidth(int dotsPerInch);

} // namespace vexo
