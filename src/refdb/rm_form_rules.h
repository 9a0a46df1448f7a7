#pragma once
// The rules of the ingredient form that need no window: which nutrient rows it shows and where each
// value comes from and goes back to, and how typed numbers are normalised.
#include "refdb/rm_form.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace vexo {

// One record of the nutrient-definition table as the form reads it.
struct FormDefinition
{
    int NUM = 0;
    QString NAME;
    QString ABRRE;
    QString UNIT;
    int DECIM = 4;
};

// One nutrient row of the form with what the window needs besides the shown texts.
struct FormNutrientRow
{
    RmFormValueRow row;
    int decimals = 4; // the definition's DECIM
    int field = -1;   // index of the matrix field the value belongs to; -1: no column, read-only
};

// Reads every definition with a non-blank abbreviation, in record order, through BMDATAFOPEN and
// closes the table again. Without the table (the opener told the user) the answer is empty and
// *opened false.
QList<FormDefinition> readFormDefinitions(bool *opened = nullptr);

// The form's rows for one record: one per definition with a non-blank abbreviation. A row's value is
// the nutrient field named like its trimmed abbreviation (the fields after KOD, YM_ADI, FIATI and
// GRUBU; the first field of that name). Of several definitions with one abbreviation only the first
// owns the field; the others, like definitions without a field, show an empty read-only value.
QList<FormNutrientRow> formNutrientRows(const QStringList &fieldNames, const QStringList &record,
                                        const QList<FormDefinition> &definitions);

// The code field's text: the record's KOD as a number three characters wide.
QString formCodeText(const QString &kod);

// A price typed into the form, normalised when its field is left: blank stays empty, anything else
// becomes three decimals in eleven characters (further digits cut off). Nothing when the text is no
// number ("1-2", ".") or the number does not fit eleven characters.
std::optional<QString> formPriceText(const QString &typed);

// A nutrient value at the end of a cell edit: blank stays empty, anything else is cut to the
// nutrient's decimals, rounded and written with four decimals in eleven characters. Nothing when the
// text is no number or the number does not fit.
std::optional<QString> formValueText(const QString &typed, int decimals);

// The group names for the combo's list, as the list sorts them (Turkish upper case).
QStringList sortedFormGroups(const QStringList &groups);

// What "Kaydet" hands back: the three texts without trailing blanks and a copy of the rows.
RmFormHandBack formHandBack(const QString &name, const QString &price, const QString &group,
                            const QList<FormNutrientRow> &rows);

} // namespace vexo
