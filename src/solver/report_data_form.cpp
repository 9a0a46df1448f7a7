#include "solver/report_data_form.h"

#include "problem/number_text.h"
#include "problem/open_problem.h"

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
}

void ReportDataForm::edit(Field f, const QString &text)
{
    m_text[f] = text;
    if (f == MIXCAPA)
        m_mixerChanged = true;
    openProblem().LPRMDEG = true;
}

void ReportDataForm::leave(Field f)
{
    if (f != MIXCAPA || !m_mixerChanged)
        return;
    m_text[MIXCAPA] = SDAYA(m_text[MIXCAPA], 2);
    m_mixerChanged = false;
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

void ReportDataForm::accept()
{
    // A capacity typed and confirmed without leaving the field is normalised as leaving would do.
    leave(MIXCAPA);
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
}

void ReportDataForm::cancel()
{
    openProblem().LPRMDEG = m_dirtyAtOpening;
}

} // namespace vexo
