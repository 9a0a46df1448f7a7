#pragma once

#include <QString>

namespace vexo {

// The rules of the report-data dialog without its window: the six texts, the report type and format
// with their radio rules, and what OK and Cancel do to the parameter list and its dirty flag.
class ReportDataForm
{
public:
    enum Field { MIXCAPA, PARABIRIM, AGIRBIRIM, SLE_SKADI, SLE_KYADI, SLE_HAZIR, FIELD_COUNT };
    // The name refusals give the mixer capacity.
    static QString mixerName();

    // POSTINIT: the texts of the parameter list, detailed report, text format; remembers the dirty
    // flag so that Cancel can put it back.
    ReportDataForm();

    const QString &text(Field f) const { return m_text[f]; }
    // The user typed: the text changes and the parameters count as changed.
    void edit(Field f, const QString &text);
    // The field was left after a change: the mixer capacity becomes a number text with 2 decimals.
    // A capacity that is empty, no number or negative is refused: the field gets its last value back
    // and the answer is the word that says why (empty when the capacity was taken).
    QString leave(Field f);
    bool pendingMixer() const { return m_mixerChanged; }

    // Radio buttons.
    void clickDetay();
    void clickOzet();
    void clickTekst();
    void clickPdf();
    bool ozet() const { return m_ozet; }
    bool pdf() const { return m_pdf; }
    bool formatEnabled() const { return m_formatEnabled; }

    // PBTAMAM: fills the exported fields and, when the parameters changed, the parameter list. Refused
    // (false, nothing filled or stored, *why says why) until the mixer capacity is a number of zero or
    // more, so no report is made with a capacity the user did not give; refused once, too, right after
    // a typed capacity was refused and nothing was typed since.
    bool accept(QString *why = nullptr);
    // PBIPTAL: nothing reaches the parameter list; its dirty flag is what it was at opening.
    void cancel();

    // Exported fields, filled by accept().
    QString CMCAPAX, CABIRIX, CPBIRIX, CSKADIX, CKYADIX, CHAZIRX;
    unsigned short NRTIPI = 0;
    unsigned short NFORMAT = 0;

private:
    QString m_text[FIELD_COUNT];
    bool m_ozet = false;
    bool m_pdf = false;
    bool m_formatEnabled = false;
    bool m_mixerChanged = false;
    QString m_mixerLast; // the capacity the field goes back to when a typed one is refused
    // The word of a capacity refused since the last typing: the OK that follows at once (a click on
    // OK leaves the field first) ends nothing, so the refusal is seen.
    QString m_mixerRefused;
    bool m_dirtyAtOpening = false;
};

} // namespace vexo
