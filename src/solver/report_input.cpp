#include "solver/report_input.h"

#include "problem/number_text.h"
#include "problem/open_problem.h"
#include "solver/ky_optimizer.h"

#include <cmath>

namespace vexo {

ColumnSnapshot snapshotColumns(const SimplexTableau &t, unsigned ingredientColumns)
{
    ColumnSnapshot s;
    s.basic.assign(ingredientColumns, 0);
    for (int b : t.basis) {
        if (b >= 0 && unsigned(b) < ingredientColumns)
            s.basic[std::size_t(b)] = 1;
    }
    return s;
}

ReportInput reportInputFrom(const KY_OPTIMIZER &solver, const ColumnSnapshot *snapshot)
{
    ReportInput in;
    const OpenProblem &p = openProblem();
    in.optimum = solver.LOPTI_;
    in.cost = solver.costSum();
    in.mixer = solver.CMIKSER_;
    in.currency = solver.CPARABIRIMI_;
    in.weightUnit = solver.CAGIRLIKBIRIMI_;
    in.company = solver.CSIRKET_;
    in.feedName = solver.CKARMAYEM_;
    in.preparer = solver.CHAZIRLAYAN_;
    in.format = solver.NFORMAT_;
    in.fileName = PROBFILENAME();
    in.fileDir = PROBFILEDIR();

    const unsigned n = solver.NYMSAYISI();
    for (unsigned j = 0; j < n; ++j) {
        ReportInput::Column c;
        c.name = solver.AYMADI().value(qsizetype(j));
        c.price = j < solver.AMALIYET().size() ? solver.AMALIYET()[j] : 0.0;
        c.x = j < solver.shares().size() ? solver.shares()[j] : 0.0;
        const QStringList result = solver.AAUTOYM_.value(qsizetype(j));
        if (snapshot && j < snapshot->basic.size())
            c.basic = snapshot->basic[j] != 0;
        else
            c.basic = c.x != 0.0 || isBlank(result.value(1)); // a left-out column has an entry price
        c.entryPrice = j < solver.entryPrices().size() ? solver.entryPrices()[j] : 0.0;
        in.columns.push_back(c);
    }

    // The full row list in its four groups.
    const QStringList &names = solver.ASATIRADI();
    const std::size_t rows = std::size_t(names.size());
    const std::size_t nutrients = solver.NBMSAYISI();
    const std::size_t ratios = solver.ratioRowCount();
    // The group rows are the ones built after the ingredient limits: there are none when the
    // problem names groups but holds no membership rows.
    const std::size_t groupFirst = nutrients + ratios + solver.ingredientRowCount();
    for (std::size_t r = 0; r < rows; ++r) {
        ReportInput::LimitRow row;
        if (r < nutrients)
            row.group = ReportInput::RowGroup::Nutrient;
        else if (r < nutrients + ratios)
            row.group = ReportInput::RowGroup::Ratio;
        else if (r < groupFirst)
            row.group = ReportInput::RowGroup::Ingredient;
        else
            row.group = ReportInput::RowGroup::Group;
        const QString name = names.at(qsizetype(r)).trimmed();
        row.name = name;
        if (row.group == ReportInput::RowGroup::Nutrient) {
            const qsizetype b = p.ABMADLARI.indexOf(name);
            if (b >= 0)
                row.name = name + u',' + p.ABMBIRIMLERI.value(b).trimmed();
        }
        if (row.group == ReportInput::RowGroup::Ingredient && !solver.AYMADI().contains(name))
            continue; // not a column of this solve
        row.kind = solver.ASATIRTIPI().value(qsizetype(r));
        row.limit = solver.ACTSINVALUE(unsigned(r + 1));
        row.value = r < solver.rowValues().size() ? solver.rowValues()[r] : QString();
        row.mark = r < solver.rowMarks().size() ? solver.rowMarks()[r] : QString(7, u' ');
        if (!row.limit)
            row.mark = QString(7, u' ');
        row.shadow = r < solver.shadowPrices().size() ? solver.shadowPrices()[r] : std::nullopt;
        in.rows.push_back(row);
    }
    return in;
}

} // namespace vexo
