#include "refdb/rm_form.h"

namespace vexo {

namespace {
ReferenceFormFunction &formSlot()
{
    static ReferenceFormFunction slot;
    return slot;
}
} // namespace

// Placeholder until the form window lands: it hands nothing back.
std::optional<RmFormHandBack> YM_YAZ_WIND(QWidget *, const RmFormInput &)
{
    return std::nullopt;
}

ReferenceFormFunction referenceForm()
{
    if (formSlot())
        return formSlot();
    return &YM_YAZ_WIND;
}

void setReferenceForm(ReferenceFormFunction form)
{
    formSlot() = std::move(form);
}

bool applyFormHandBack(const QStringList &fieldNames, QStringList &record, const RmFormHandBack &handBack)
{
    if (handBack.AYYDEGERLER.isEmpty())
        return false;
    const auto put = [&](const QString &name, const QString &value) {
        const int i = fieldNames.indexOf(name);
        if (i >= 0 && i < record.size())
            record[i] = value;
    };
    put(QStringLiteral("YM_ADI"), handBack.CYYADI);
    put(QStringLiteral("FIATI"), handBack.CYYFIATI);
    put(QStringLiteral("GRUBU"), handBack.CYYGRUBU);
    for (const RmFormValueRow &row : handBack.AYYDEGERLER) {
        const QString name = row.ABRRE.trimmed();
        const int i = fieldNames.indexOf(name, 4);
        if (!name.isEmpty() && i >= 4 && i < record.size())
            record[i] = row.AVALUE;
    }
    return true;
}

} // namespace vexo
