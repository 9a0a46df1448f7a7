#include "solver/report_data_form.h"

#include "problem/number_text.h"
#include "problem/open_problem.h"
#include "problem/typed_number.h"

namespace vexo {

namespace {

// The parameter record of the problem file separates its values by commas, so no text may carry one.
QString recordSafe(const QString &text)
{
    QString t = text.trimmed();
    t.replace(u',', u' ');
    return t;
}

} // namespace

ReportDataForm::ReportDataForm()
{
    const OpenProblem &p = openProblem();
    for (int f = 0; f < FIELD_COUNT; ++f)
        m_text[f] = p.APARMLIST.value(PARM_CAPACITY + f);
    m_dirtyAtOpening = p.LPRMDEG;
    m_mixerLast = m_text[MIXCAPA];
}

QString ReportDataForm::mixerName()
{
    return QStringLiteral("Mikser kapasitesi");
}

void ReportDataForm::edit(Field f, const QString &text)
{
    m_text[f] = text;
    m_mixerRefused.clear();
    if (f == MIXCAPA)
        m_mixerChanged = true;
    openProblem().LPRMDEG = true;
}

QString ReportDataForm::leave(Field f)
{
    if (f != MIXCAPA || !m_mixerChanged)
        return QString();
    m_mixerChanged = false;
    const TypedNumberFault fault = typedNumberFault(m_text[MIXCAPA], false);
    bool fits = true;
    const QString number = fault == TypedNumberFault::None ? SDAYA(m_text[MIXCAPA], 2, &fits) : QString();
    if (fault != TypedNumberFault::None || !fits) {
        m_text[MIXCAPA] = m_mixerLast;
        m_mixerRefused = typedNumberRefusal(mixerName(), fits ? fault : TypedNumberFault::NotANumber);
        return m_mixerRefused;
    }
    m_text[MIXCAPA] = m_mixerLast = number;
    return QString();
}

void ReportDataForm::clickDetay()
{
    m_ozet = false;
    m_pdf = false;
    m_formatEnabled = false;
}

void ReportDataForm::clickOzet()
{
    m_ozet = true;
    m_formatEnabled = true;
}

void ReportDataForm::clickTekst()
{
    if (!m_formatEnabled)
        return;
    m_pdf = false;
    m_ozet = true;
}

void ReportDataForm::clickPdf()
{
    if (!m_formatEnabled)
        return;
    m_pdf = true;
    m_ozet = true;
}

bool ReportDataForm::accept(QString *why)
{
    // A capacity typed and confirmed without leaving the field is judged as leaving would do; the one
    // the field then holds (perhaps from the problem file) must be a number too.
    leave(MIXCAPA);
    QString refusal = m_mixerRefused;
    m_mixerRefused.clear();
    if (refusal.isEmpty())
        refusal = typedNumberRefusal(mixerName(), typedNumberFault(m_text[MIXCAPA], false));
    if (!refusal.isEmpty()) {
        if (why)
            *why = refusal;
        return false;
    }
    CMCAPAX = recordSafe(m_text[MIXCAPA]);
    CPBIRIX = recordSafe(m_text[PARABIRIM]);
    CABIRIX = recordSafe(m_text[AGIRBIRIM]);
    CSKADIX = recordSafe(m_text[SLE_SKADI]);
    CKYADIX = recordSafe(m_text[SLE_KYADI]);
    CHAZIRX = recordSafe(m_text[SLE_HAZIR]);
    NRTIPI = m_ozet ? 1 : 2;
    NFORMAT = NRTIPI == 1 && m_pdf ? 1 : 2;
    OpenProblem &p = openProblem();
    if (p.LPRMDEG) {
        while (p.APARMLIST.size() < PARM_COUNT)
            p.APARMLIST.append(QString());
        p.APARMLIST[PARM_CAPACITY] = CMCAPAX;
        p.APARMLIST[PARM_CURRENCY] = CPBIRIX;
        p.APARMLIST[PARM_WEIGHTUNIT] = CABIRIX;
        p.APARMLIST[PARM_COMPANY] = CSKADIX;
        p.APARMLIST[PARM_FEEDNAME] = CKYADIX;
        p.APARMLIST[PARM_PREPARER] = CHAZIRX;
    }
    return true;
}

void ReportDataForm::cancel()
{
    openProblem().LPRMDEG = m_dirtyAtOpening;
}

} // namespace vexo
