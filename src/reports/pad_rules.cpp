#include "reports/pad_rules.h"

#include "problem/file_names.h"
#include "problem/number_text.h"
#include "reports/rich_text_units.h"

#include <cmath>

namespace vexo {

namespace {
const QString kUntitled = QStringLiteral("Adsız");
}

int insertableLength(int length, int selected, int incoming, int limit)
{
    const int room = limit - (length - selected);
    return qBound(0, room, qMax(0, incoming));
}

QString untitledName(int counter)
{
    return kUntitled + Str(counter, 2, 0).trimmed();
}

bool isUntitledName(const QString &name)
{
    return name.left(5) == kUntitled;
}

bool isPadDocumentName(const QString &path)
{
    if (path.size() <= 3)
        return false;
    const QString ext = path.right(4).toUpper();
    return ext == QStringLiteral(".RTF") || ext == QStringLiteral(".TXT");
}

bool isPadCaption(const QString &caption)
{
    return isUntitledName(caption) || isPadDocumentName(caption);
}

QStringList padSaveFilters()
{
    return {QStringLiteral("*.TXT"), QStringLiteral("*.RTF")};
}

QString completeSaveName(const QString &chosen, int filterIndex)
{
    if (!SFILEEXT(chosen).isEmpty())
        return chosen;
    const QStringList filters = padSaveFilters();
    const int index = qBound(1, filterIndex, int(filters.size()));
    return chosen + filters.at(index - 1).right(4);
}

QStringList padOpenFilters()
{
    return {QStringLiteral("Metin Dosyası(*.TXT) (*.TXT)"),
            QStringLiteral("Zengin Metin Dosyası(*.RTF) (*.RTF)"),
            QStringLiteral("Tüm Dosyalar(*.*) (*)")};
}

int marginFieldTwips(const QString &field)
{
    return int(std::lround(Val(field) * kTwipsPerInch));
}

PadIndents marginIndents(const QString &leftField, const QString &rightField)
{
    // Whole inches: a fraction typed in a field is dropped.
    const int left = int(std::trunc(Val(leftField)));
    const int right = int(std::trunc(Val(rightField)));
    return {left * kTwipsPerInch, (10 - right) * kTwipsPerInch};
}

int rulerPageEdge(int dotsPerInch)
{
    const double pixels = double(kPadPageTwips) * dotsPerInch / kTwipsPerInch;
    return int(std::lround(pixels * 1.181019332162));
}

int padLineWidth(int dotsPerInch)
{
    return kPadPageTwips * dotsPerInch / kTwipsPerInch;
}

} // namespace vexo
