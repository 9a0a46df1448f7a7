#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace vexo {

class KY_OPTIMIZER;
class SimplexTableau;

// Everything the summary and the detailed report print, taken from a finished solve. The report
// writers read only this, so their layout can be checked against a hand-made state as well.
struct ReportInput
{
    struct Column
    {
        QString name;
        double price = 0.0;
        double x = 0.0;            // share as a fraction
        bool basic = false;        // basic in the final tableau (possibly at level 0)
        // The price below which the column enters the formula (KY_OPTIMIZER::entryPrices);
        // meaningful when the column is left out (x == 0); -infinity when no price lets it in.
        double entryPrice = 0.0;
    };
    enum class RowGroup { Nutrient, Ratio, Ingredient, Group };
    struct LimitRow
    {
        RowGroup group = RowGroup::Nutrient;
        QString name;              // as printed (a nutrient carries ",unit")
        QString kind;              // "Sabit", "Alt", "Üst", "Yok"
        std::optional<double> limit;
        QString value;             // calculated value text (11 characters, no mark)
        QString mark;              // 7 characters: "      *" for a broken limit
        std::optional<double> shadow;
    };

    bool optimum = false;
    double cost = 0.0;
    std::vector<Column> columns;
    std::vector<LimitRow> rows;

    // Report data of the report-data dialog.
    QString mixer, currency, weightUnit, company, feedName, preparer;
    unsigned short format = 2; // 1 PDF, 2 text

    // The open problem file: name without folder and extension, and its folder.
    QString fileName, fileDir;
};

// What the final tableau knows about the ingredient columns beyond the solver's public results.
struct ColumnSnapshot
{
    std::vector<char> basic;
};
ColumnSnapshot snapshotColumns(const SimplexTableau &t, unsigned ingredientColumns);

// Reads a finished solve (results delivered) and the open problem's file, names and units. Without a
// snapshot a column counts as basic when it is in the formula or has no entry-price text.
ReportInput reportInputFrom(const KY_OPTIMIZER &solver, const ColumnSnapshot *snapshot = nullptr);

} // namespace vexo
