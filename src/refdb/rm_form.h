#pragma once
// The form view of one reference-matrix ingredient, as the reference-matrix editor uses it. The
// editor hands the form a copy of one record; the form hands the edited texts back only when the user
// saved a change, and the editor writes them into its own rows.
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QWidget;

namespace vexo {

// One record of the reference matrix as the editor holds it.
struct RmFormInput
{
    QStringList fieldNames; // every field of the matrix in table order: KOD, YM_ADI, FIATI, GRUBU, nutrients
    QStringList record;     // the record's texts, parallel to fieldNames (KOD as its number's text)
    QStringList groups;     // the group names for the group combo: trimmed, non-empty, each once, in row order
};

// One nutrient row of the form: the definition and the ingredient's value for it.
struct RmFormValueRow
{
    int KOD = 0; // the definition's NUM
    QString NAME;
    QString ABRRE;
    QString UNIT;
    QString AVALUE; // eleven characters, or empty
};

// What "Kaydet" hands back: the name, price and group texts without trailing blanks, and the rows.
struct RmFormHandBack
{
    QString CYYADI;
    QString CYYFIATI;
    QString CYYGRUBU;
    QList<RmFormValueRow> AYYDEGERLER;
};

// Shows the form modally over the record; answers the hand-back when the user saved a change, nothing
// when the form was left without one (or cancelled).
std::optional<RmFormHandBack> YM_YAZ_WIND(QWidget *owner, const RmFormInput &input);

// The form as the editor reaches it; tests replace it with a scripted one. Set back to YM_YAZ_WIND by
// passing an empty function.
using ReferenceFormFunction = std::function<std::optional<RmFormHandBack>(QWidget *, const RmFormInput &)>;
ReferenceFormFunction referenceForm();
void setReferenceForm(ReferenceFormFunction form);

// Writes a hand-back into the record: YM_ADI, FIATI and GRUBU, and each row's value into the nutrient
// field whose name is the row's trimmed ABRRE (the first field of that name; a row without such a field
// is dropped, and of several rows of one name only the first writes, as the form showed only the first
// with a value). Nothing is written when AYYDEGERLER is empty. Answers whether the record was written.
bool applyFormHandBack(const QStringList &fieldNames, QStringList &record, const RmFormHandBack &handBack);

} // namespace vexo
